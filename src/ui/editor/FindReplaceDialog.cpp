#include "ui/editor/FindReplaceDialog.h"

#include <QWidget>

#include "ui/MyDialogs.h"

namespace vorlect::ui {

using namespace dialogs;

TFindReplaceDialog::TFindReplaceDialog(vle::TFEditVorlect& editor, QWidget* window)
    : QObject(window),
      editor_(editor),
      window_(window),
      find_(std::make_unique<TVLFindDialog>(nullptr)),
      replace_(std::make_unique<TVLReplaceDialog>(nullptr)) {
  const auto makeWindow = [this](TVLFindDialog& d) -> TDialogWindow* { return new TVLFindWindow(d, window_); };

  find_->Template = kColumnRangeTemplate;
  find_->Options = TFindOptions{frDown, frDisableWholeWord};
  find_->CreateWindow = makeWindow;
  find_->OnShow = [this](host::TObject*) {
    find_->CheckDlgButton(idRadioAll, true);
    editor_.FindDialogShown();
    // Checking the button is no click; without this a range left at "Current" when the dialog
    // last closed would go on searching one column under an "&All" the user sees selected.
    editor_.FindColumnRangeClick(true);
  };
  find_->OnClickEvent = [this](host::TObject*, std::uint16_t id) {
    if (id == idRadioAll || id == idRadioCurrent) editor_.FindColumnRangeClick(id == idRadioAll);
  };
  find_->OnClose = [this](host::TObject*) { editor_.FindDialogClosed(find_->IsDlgButtonChecked(idRadioAll)); };
  find_->OnFind = [this](host::TObject*) {
    const vle::TFindOptions o = SearchOptions(*find_);
    Step(tr("Find"), o, [this, o] { editor_.FindNext(o); });
  };

  replace_->Options = TFindOptions{frDown, frDisableWholeWord};
  replace_->CreateWindow = makeWindow;
  replace_->OnFind = [this](host::TObject*) {
    const vle::TFindOptions o = SearchOptions(*replace_);
    Step(tr("Replace"), o, [this, o] { editor_.FindNext(o); });
  };
  replace_->OnReplace = [this](host::TObject*) {
    const vle::TFindOptions o = SearchOptions(*replace_);
    const std::string with = replace_->ReplaceText();
    if (replace_->Options.Contains(frReplaceAll))
      Step(tr("Replace All"), o, [this, o, with] { editor_.ReplaceAll(o, with); });
    else
      Step(tr("Replace"), o, [this, o, with] { editor_.Replace(o, with); });
  };
}

// The windows belong to the editor's window and may outlive this object by an event.
TFindReplaceDialog::~TFindReplaceDialog() = default;

void TFindReplaceDialog::ShowFind() { find_->ShowDialog(); }

void TFindReplaceDialog::ShowReplace() { replace_->ShowDialog(); }

void TFindReplaceDialog::hide() {
  for (TVLFindWindow* w : {FindWindow(), ReplaceWindow()})
    if (w) w->close();
}

TVLFindWindow* TFindReplaceDialog::FindWindow() const { return dynamic_cast<TVLFindWindow*>(find_->Handle()); }

TVLFindWindow* TFindReplaceDialog::ReplaceWindow() const {
  return dynamic_cast<TVLFindWindow*>(replace_->Handle());
}

vle::TFindOptions TFindReplaceDialog::SearchOptions(const TVLFindDialog& dialog) {
  vle::TFindOptions o;
  o.text = dialog.FindText();
  o.down = dialog.Options.Contains(frDown);
  o.matchCase = dialog.Options.Contains(frMatchCase);
  return o;
}

void TFindReplaceDialog::Step(const QString& label, const vle::TFindOptions& options,
                              const std::function<void()>& step) {
  // An empty text matches everywhere: Replace All would never end.
  if (options.text.empty()) return;
  if (RunStep) RunStep(label, step);
  else step();
}

}  // namespace vorlect::ui
