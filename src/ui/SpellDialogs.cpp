#include "ui/SpellDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "host/ports/Ports.h"
#include "ui/QtText.h"

namespace vorlect::ui {

namespace {

QPushButton* NewButton(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

void Apply(QWidget* w, const spell::TControlState& state) {
  w->setVisible(state.visible);
  w->setEnabled(state.enabled);
}

}  // namespace

TSpellerWindow::TSpellerWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("SpellerDialog");
  setWindowFlag(Qt::WindowStaysOnTopHint);
  infoMsg_ = new QLabel(this);
  infoMsg_->setObjectName("InfoMsg");
  misspelling_ = new QTextEdit(this);
  misspelling_->setObjectName("Misspelling");
  misspelling_->setAcceptRichText(false);
  misspelling_->setMinimumHeight(70);
  label2_ = new QLabel(this);
  variants_ = new QListWidget(this);
  variants_->setObjectName("Variants");
  label2_->setBuddy(variants_);
  change_ = NewButton("ChangeButton", this);
  changeAll_ = NewButton("ChangeAllButton", this);
  skip_ = NewButton("SkipButton", this);
  skipAll_ = NewButton("SkipAllButton", this);
  add_ = NewButton("AddButton", this);
  cancel_ = NewButton("CancelButton", this);
  cancelEdit_ = NewButton("CancelEdit", this);
  del_ = NewButton("DelButton", this);
  start_ = NewButton("StartButton", this);
  change_->setDefault(true);

  auto* buttons = new QVBoxLayout;
  // Change, Delete and Start share one place: at most one of them is shown.
  for (QPushButton* b : {change_, del_, start_, changeAll_, skip_, skipAll_}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(add_);
  auto* lower = new QHBoxLayout;
  lower->addWidget(cancel_);
  lower->addWidget(cancelEdit_);
  lower->addStretch();
  auto* left = new QVBoxLayout;
  left->addWidget(label2_);
  left->addWidget(variants_, 1);
  left->addLayout(lower);
  auto* middle = new QHBoxLayout;
  middle->addLayout(left, 1);
  middle->addLayout(buttons);
  auto* main = new QVBoxLayout(this);
  main->addWidget(infoMsg_);
  main->addWidget(misspelling_);
  main->addLayout(middle, 1);
  resize(380, 330);

  auto act = [this](void (spell::TSpellerDialog::*op)()) {
    return [this, op] {
      if (dialog_) (dialog_->*op)();
    };
  };
  connect(change_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::ChangeButtonClick));
  connect(changeAll_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::ChangeAllButtonClick));
  connect(skip_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::SkipButtonClick));
  connect(skipAll_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::SkipAllButtonClick));
  connect(add_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::AddButtonClick));
  connect(cancel_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::CancelButtonClick));
  connect(cancelEdit_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::CancelEditClick));
  connect(del_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::DelButtonClick));
  connect(start_, &QPushButton::clicked, this, act(&spell::TSpellerDialog::StartButtonClick));
  connect(variants_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (dialog_ && !refreshing_ && row >= 0) dialog_->SelectVariant(row);
  });
  connect(variants_, &QListWidget::itemDoubleClicked, this, [this] {
    if (dialog_) dialog_->ChangeButtonClick();
  });
  connect(misspelling_, &QTextEdit::textChanged, this, [this] { ContextEdited(); });
}

QPushButton* TSpellerWindow::Button(const QString& name) const { return findChild<QPushButton*>(name); }

void TSpellerWindow::Show(spell::TSpellerDialog& dialog, bool modal) {
  dialog_ = &dialog;
  Refresh();
  if (modal) {
    exec();
  } else {
    show();
    raise();
  }
}

void TSpellerWindow::Hide(spell::TSpellerDialog& dialog) {
  if (&dialog != dialog_) return;
  dialog_ = nullptr;
  if (isModal() || result() == 0) done(QDialog::Rejected);
  hide();
}

void TSpellerWindow::Changed(spell::TSpellerDialog& dialog) {
  if (&dialog == dialog_) Refresh();
}

void TSpellerWindow::reject() {
  // As the Cancel button; the model hides the window when it is done.
  if (dialog_) dialog_->CancelButtonClick();
  else QDialog::reject();
}

void TSpellerWindow::Refresh() {
  if (!dialog_) return;
  const spell::TSpellerDialog& d = *dialog_;
  refreshing_ = true;
  const auto charset = static_cast<std::uint8_t>(d.VariantsCharset);
  setWindowTitle(FromAnsi(d.Caption));
  infoMsg_->setText(FromAnsi(d.InfoMsg));
  label2_->setText(FromAnsi(d.Label2Caption));
  change_->setText(FromAnsi(d.ChangeCaption));
  changeAll_->setText(FromAnsi(d.ChangeAllCaption));
  skip_->setText(FromAnsi(d.SkipCaption));
  skipAll_->setText(FromAnsi(d.SkipAllCaption));
  add_->setText(FromAnsi(d.AddCaption));
  cancel_->setText(FromAnsi(d.CancelCaption));
  cancelEdit_->setText(FromAnsi(d.CancelEditCaption));
  del_->setText(FromAnsi(d.DelCaption));
  start_->setText(FromAnsi(d.StartCaption));
  Apply(infoMsg_, d.InfoMsgState);
  Apply(misspelling_, d.MisspellingState);
  Apply(label2_, d.Label2State);
  Apply(variants_, d.VariantsState);
  Apply(change_, d.ChangeButton);
  Apply(changeAll_, d.ChangeAllButton);
  Apply(skip_, d.SkipButton);
  Apply(skipAll_, d.SkipAllButton);
  Apply(add_, d.AddButton);
  Apply(cancel_, d.CancelButton);
  Apply(cancelEdit_, d.CancelEdit);
  Apply(del_, d.DelButton);
  Apply(start_, d.StartButton);

  // The line around the problem, the problem in red; decoded piece by piece, since the red run
  // is given in bytes of the language's code page.
  const std::string& line = d.Misspelling;
  const size_t start = std::min(d.RedStart, line.size());
  const size_t length = std::min(d.RedLength, line.size() - start);
  const QString before = FromCharset(std::string_view(line).substr(0, start), charset);
  const QString red = FromCharset(std::string_view(line).substr(start, length), charset);
  const QString after = FromCharset(std::string_view(line).substr(start + length), charset);
  misspelling_->setHtml(before.toHtmlEscaped() + "<span style=\"color:#d00000\">" + red.toHtmlEscaped() + "</span>" +
                        after.toHtmlEscaped());

  variants_->clear();
  for (const std::string& v : d.Variants) variants_->addItem(FromCharset(v, charset));
  if (d.Selected >= 0 && d.Selected < variants_->count()) variants_->setCurrentRow(d.Selected);
  refreshing_ = false;
}

void TSpellerWindow::ContextEdited() {
  if (!dialog_ || refreshing_ || dialog_->Updating()) return;
  dialog_->MisspellingChange(ToCharset(misspelling_->toPlainText(), static_cast<std::uint8_t>(dialog_->VariantsCharset)));
}

int TSpellSetupWindow::ShowModal(vle::TFrmSpellSetup& dialog) {
  QDialog window(parent_);
  window.setObjectName("SpellSetup");
  window.setWindowTitle(FromAnsi(dialog.Caption));
  auto* group = new QGroupBox(FromAnsi(dialog.GroupCaption));
  auto* grid = new QGridLayout(group);
  dialog.FormShow();
  std::vector<QCheckBox*> boxes;
  for (size_t i = 0; i < dialog.Boxes.size(); ++i) {
    auto* box = new QCheckBox(FromAnsi(dialog.Boxes[i].caption));
    box->setObjectName(dialog.Boxes[i].name);
    box->setChecked(dialog.Boxes[i].checked);
    grid->addWidget(box, static_cast<int>(i % 6), static_cast<int>(i / 6));
    boxes.push_back(box);
  }
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(FromAnsi(dialog.OkCaption), QDialogButtonBox::AcceptRole);
  buttons->addButton(FromAnsi(dialog.CancelCaption), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(group);
  layout->addWidget(buttons);
  if (window.exec() == QDialog::Accepted) {
    for (size_t i = 0; i < boxes.size(); ++i) dialog.Boxes[i].checked = boxes[i]->isChecked();
    dialog.BtnOkClick();
  } else {
    dialog.BtnCancelClick();
  }
  return dialog.ModalResult;
}

}  // namespace vorlect::ui
