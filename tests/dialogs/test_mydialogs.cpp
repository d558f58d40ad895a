#include "dialogs/MyDialogs.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/formfile/FormFile.h"
#include "host/framework/Streaming.h"

namespace vorlect::dialogs {
namespace {

// A window as a test drives it: control texts and check marks in maps, a position the test moves.
class ScriptedWindow : public TDialogWindow {
public:
  explicit ScriptedWindow(TVLFindDialog& dialog, std::vector<std::string>* log = nullptr)
      : dialog_(&dialog), log_(log) {}
  ~ScriptedWindow() override {
    if (dialog_) dialog_->WindowDestroyed();
  }
  void SetControlText(std::uint16_t id, const std::string& text) override {
    texts[id] = text;
    if (log_) log_->push_back("text " + std::to_string(id));
  }
  bool IsChecked(std::uint16_t id) const override { return checked.count(id) && checked.at(id); }
  void SetChecked(std::uint16_t id, bool on) override { checked[id] = on; }
  TSize ScreenSize() const override { return {1280, 800}; }
  TSize FrameSize() const override { return {400, 200}; }
  TPoint Position() const override { return position; }
  void MoveTo(TPoint p) override { position = p; }
  void ShowModeless() override { shown = true; }
  void BringToTop() override { ++raised; }
  void Destroy() override {
    dialog_ = nullptr;
    destroyed = true;
  }
  // The user closes the window: the dialog-term report, then the window goes.
  void Close() {
    dialog_->Notify(FlagsOf(dialog_->Options) | FR_DIALOGTERM, dialog_->FindText());
    dialog_ = nullptr;
  }

  std::map<std::uint16_t, std::string> texts;
  std::map<std::uint16_t, bool> checked;
  TPoint position{-100, -100};
  bool shown = false, destroyed = false;
  int raised = 0;

private:
  TVLFindDialog* dialog_;
  std::vector<std::string>* log_;
};

// Windows made for a dialog, kept by the test as the window layer would keep them.
struct Windows {
  std::vector<std::unique_ptr<ScriptedWindow>> made;
  std::vector<std::string> log;
  void Attach(TVLFindDialog& d) {
    d.CreateWindow = [this](TVLFindDialog& dialog) {
      made.push_back(std::make_unique<ScriptedWindow>(dialog, &log));
      return made.back().get();
    };
  }
  ScriptedWindow& Last() { return *made.back(); }
};

TEST(FindDialog, CaptionsRetitleOnlyTheControlsTheyName) {
  TVLReplaceDialog d(nullptr);
  Windows windows;  // after the dialog: windows go first, as their layer closes before the logic
  windows.Attach(d);
  d.cFindWhat = "Suchen &nach:";
  d.cOpen = "&Weitersuchen";
  d.cUp = "&Aufw\xe4rts";
  d.cReplaceAll = "&Alle ersetzen";
  d.OnShow = [&](host::TObject*) { windows.log.push_back("OnShow"); };
  ASSERT_TRUE(d.ShowDialog());
  ScriptedWindow& w = windows.Last();
  EXPECT_TRUE(w.shown);
  EXPECT_EQ(w.texts, (std::map<std::uint16_t, std::string>{{idOk, "&Weitersuchen"},
                                                            {idFindWhat, "Suchen &nach:"},
                                                            {idUp, "&Aufw\xe4rts"},
                                                            {idReplaceAll, "&Alle ersetzen"}}));
  // The common captions come before OnShow, the find dialog's after it.
  EXPECT_EQ(windows.log, (std::vector<std::string>{"text 1", "OnShow", "text 65535", "text 1056", "text 1025"}));
}

TEST(FindDialog, ReopensWhereTheUserLeftIt) {
  TVLFindDialog d(nullptr);
  Windows windows;
  windows.Attach(d);
  ASSERT_TRUE(d.ShowDialog());
  // Centred across, a third of the way down.
  EXPECT_EQ(windows.Last().position, (TPoint{440, 200}));
  // Shown again while open: raised, no second window.
  ASSERT_TRUE(d.ShowDialog());
  EXPECT_EQ(windows.made.size(), 1u);
  EXPECT_EQ(windows.Last().raised, 1);

  windows.Last().MoveTo({17, 33});
  windows.Last().Close();
  EXPECT_EQ(d.Handle(), nullptr);
  EXPECT_EQ(d.Left, 17);
  EXPECT_EQ(d.Top, 33);
  ASSERT_TRUE(d.ShowDialog());
  EXPECT_EQ(windows.made.size(), 2u);
  EXPECT_EQ(windows.Last().position, (TPoint{17, 33}));
}

TEST(FindDialog, ReportsRebuildOptionsAndFireTheirEvents) {
  TVLReplaceDialog d(nullptr);
  Windows windows;
  windows.Attach(d);
  d.Options = TFindOptions{frDown, frDisableWholeWord};
  std::vector<std::string> events;
  d.OnFind = [&](host::TObject* s) { events.push_back(s == &d ? "find" : "find from another"); };
  d.OnReplace = [&](host::TObject*) {
    events.push_back(d.Options.Contains(frReplaceAll) ? "replace all " + d.ReplaceText() : "replace " + d.ReplaceText());
  };
  d.OnClose = [&](host::TObject*) {
    // The controls can still be read while the dialog closes.
    events.push_back(d.IsDlgButtonChecked(idMatchCase) ? "close, match case" : "close");
  };
  ASSERT_TRUE(d.ShowDialog());
  const std::uint32_t up = FR_NOWHOLEWORD | FR_MATCHCASE;
  d.Notify(up | FR_FINDNEXT, "abc");
  EXPECT_EQ(d.Options, (TFindOptions{frDisableWholeWord, frMatchCase, frFindNext}));
  EXPECT_EQ(d.FindText(), "abc");
  d.Notify(up | FR_REPLACE, "abc", "x");
  d.Notify(up | FR_REPLACEALL, "abc", "y");
  windows.Last().SetChecked(idMatchCase, true);
  d.Notify(up | FR_DIALOGTERM, "abc", "y");
  EXPECT_EQ(events, (std::vector<std::string>{"find", "replace x", "replace all y", "close, match case"}));
  EXPECT_EQ(d.Handle(), nullptr);
  // Closed: the controls are gone.
  EXPECT_FALSE(d.IsDlgButtonChecked(idMatchCase));
}

TEST(FindDialog, ClicksGoToTheDialogTheyHappenedIn) {
  TVLFindDialog first(nullptr), second(nullptr);
  Windows windows;
  first.Template = kColumnRangeTemplate;
  windows.Attach(first);
  windows.Attach(second);
  std::vector<std::string> clicks;
  first.OnClickEvent = [&](host::TObject* s, std::uint16_t id) {
    clicks.push_back((s == &first ? "first " : "other ") + std::to_string(id));
  };
  second.OnClickEvent = [&](host::TObject*, std::uint16_t id) { clicks.push_back("second " + std::to_string(id)); };
  ASSERT_TRUE(first.ShowDialog());
  ASSERT_TRUE(second.ShowDialog());
  // The second window was initialised last; a click in the first still belongs to the first.
  first.Clicked(idRadioCurrent);
  second.Clicked(idOk);
  EXPECT_EQ(clicks, (std::vector<std::string>{"first 1067", "second 1"}));
}

TEST(FindDialog, TextsKeepAtMost255Characters) {
  TVLReplaceDialog d(nullptr);
  d.SetFindText(std::string(300, 'f'));
  EXPECT_EQ(d.FindText(), std::string(255, 'f'));
  d.Notify(FR_DOWN, std::string(256, 'g'), std::string(400, 'r'));
  EXPECT_EQ(d.FindText(), std::string(255, 'g'));
  EXPECT_EQ(d.ReplaceText(), std::string(255, 'r'));
}

TEST(FindDialog, ShowFailsWithoutAWindowOrTemplate) {
  TVLFindDialog d(nullptr);
  TVLFindDialog::TWindowFactory saved = std::exchange(TVLFindDialog::DefaultWindowFactory(), nullptr);
  EXPECT_FALSE(d.ShowDialog());
  TVLFindDialog::DefaultWindowFactory() = std::move(saved);

  Windows windows;
  windows.Attach(d);
  d.Template = 4711;
  EXPECT_FALSE(d.ShowDialog());
  EXPECT_TRUE(windows.made.empty());
  d.Template = kColumnRangeTemplate;
  EXPECT_TRUE(d.ShowDialog());
  const TDialogTemplate* t = FindDialogTemplate(kColumnRangeTemplate);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->groups.size(), 1u);
  EXPECT_EQ(t->groups[0].caption, "Column range");
  ASSERT_EQ(t->groups[0].controls.size(), 2u);
  EXPECT_EQ(t->groups[0].controls[0].id, idRadioAll);
  EXPECT_EQ(t->groups[0].controls[1].id, idRadioCurrent);
}

TEST(FindDialog, GoingWhileShownClosesTheWindowWithoutEvents) {
  Windows windows;
  int closes = 0;
  {
    TVLFindDialog d(nullptr);
    windows.Attach(d);
    d.OnClose = [&](host::TObject*) { ++closes; };
    ASSERT_TRUE(d.ShowDialog());
  }
  EXPECT_TRUE(windows.Last().destroyed);
  EXPECT_EQ(closes, 0);
  // The window going first (its owner closed) is a close without a remembered position.
  TVLFindDialog d(nullptr);
  windows.Attach(d);
  d.OnClose = [&](host::TObject*) { ++closes; };
  ASSERT_TRUE(d.ShowDialog());
  windows.made.pop_back();
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(d.Handle(), nullptr);
  EXPECT_EQ(d.Left, -1);
}

TEST(FindDialog, OptionsMapToTheRecordFlags) {
  EXPECT_EQ(FlagsOf(TFindOptions{frDown, frMatchCase, frDisableWholeWord}), FR_DOWN | FR_MATCHCASE | FR_NOWHOLEWORD);
  // Every option has a flag of its own, and flags the options do not cover are dropped.
  for (int o = frDown; o <= frShowHelp; ++o) {
    const TFindOptions one{static_cast<TFindOption>(o)};
    EXPECT_EQ(OptionsOf(FlagsOf(one)), one) << o;
  }
  EXPECT_EQ(OptionsOf(FR_DIALOGTERM | FR_ENABLEHOOK | FR_ENABLETEMPLATE | FR_WHOLEWORD), TFindOptions{frWholeWord});
}

TEST(FindDialog, ReadFromAFormWithItsCaptionsAndOptions) {
  RegisterMyDialogs();
  host::ReadOptions options;
  options.designing = true;
  auto form = host::LoadForm(
      "object Form1: TForm1\n"
      "  object FindDialog1: TVLFindDialog\n"
      "    HelpContext = 12\n"
      "    cCancel = 'Abbrechen'\n"
      "    FindText = 'Name'\n"
      "    Options = [frDown, frMatchCase, frDisableWholeWord]\n"
      "    cFindWhat = 'Suchen nach:'\n"
      "  end\n"
      "  object ReplaceDialog1: TVLReplaceDialog\n"
      "    cReplaceAll = 'Alle ersetzen'\n"
      "  end\n"
      "end\n",
      options);
  auto* find = dynamic_cast<TVLFindDialog*>(form->FindComponent("FindDialog1"));
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->HelpContext, 12);
  EXPECT_EQ(find->cCancel, "Abbrechen");
  EXPECT_EQ(find->FindText(), "Name");
  EXPECT_EQ(find->Options, (TFindOptions{frDown, frMatchCase, frDisableWholeWord}));
  EXPECT_EQ(find->cFindWhat, "Suchen nach:");
  auto* replace = dynamic_cast<TVLReplaceDialog*>(form->FindComponent("ReplaceDialog1"));
  ASSERT_NE(replace, nullptr);
  EXPECT_EQ(replace->cReplaceAll, "Alle ersetzen");
  EXPECT_EQ(replace->Options, TFindOptions{frDown});
  // Written back, the default options are not stored.
  const std::string text = formfile::WriteText(host::WriteComponentTree(*form));
  EXPECT_NE(text.find("Options = [frDown, frMatchCase, frDisableWholeWord]"), std::string::npos) << text;
  EXPECT_EQ(text.find("Options", text.find("ReplaceDialog1")), std::string::npos) << text;
}

}  // namespace
}  // namespace vorlect::dialogs
