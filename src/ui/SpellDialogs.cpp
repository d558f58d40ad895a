#include "ui/SpellDialogs.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/QtText.h"

namespace vorlect::ui {

namespace {

// The context box. Return is the dialog's (Change), not a line break: the box holds one line.
class TContextBox final : public QTextEdit {
public:
  using QTextEdit::QTextEdit;

protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      event->ignore();
      return;
    }
    QTextEdit::keyPressEvent(event);
  }
};

QPushButton* NewButton(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

// Keeps a button's room in the layout while it is hidden, so the dialog does not change size.
void KeepRoom(QWidget* w) {
  QSizePolicy policy = w->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  w->setSizePolicy(policy);
}

void Apply(QWidget* w, const spell::TControlState& state) {
  w->setVisible(state.visible);
  w->setEnabled(state.enabled);
}

bool HasLineBreak(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
  });
}

}  // namespace

TSpellerWindow::TSpellerWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("SpellerDialog");
  // A dialog border with only the system menu, above every other window.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  infoMsg_ = new QLabel(this);
  infoMsg_->setObjectName("InfoMsg");
  misspelling_ = new TContextBox(this);
  misspelling_->setObjectName("Misspelling");
  misspelling_->setAcceptRichText(false);
  misspelling_->setTabChangesFocus(true);
  misspelling_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // "Undo Edit" is the box's undo; the document's own would undo the dialog's colouring too.
  misspelling_->setUndoRedoEnabled(false);
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
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
  for (QPushButton* b : {change_, del_, start_, cancelEdit_}) KeepRoom(b);
  cancelEdit_->hide();
  del_->hide();
  start_->hide();

  // The layout of the original at this machine's font: the context box over the suggestions,
  // the buttons in a column on the right, Cancel and Undo Edit under the list beside Add.
  const QFontMetrics metrics(font());
  const int line = metrics.lineSpacing();
  misspelling_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  misspelling_->setFixedHeight(4 * line + 2 * misspelling_->frameWidth() +
                               2 * static_cast<int>(misspelling_->document()->documentMargin()));
  variants_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  variants_->setMinimumSize(metrics.averageCharWidth() * 30, 6 * line);

  // Change, Delete and Start share one place: at most one of them is shown.
  auto* place = new QGridLayout;
  place->setContentsMargins(0, 0, 0, 0);
  for (QPushButton* b : {change_, del_, start_}) place->addWidget(b, 0, 0);
  auto* buttons = new QVBoxLayout;
  buttons->addLayout(place);
  buttons->addWidget(changeAll_);
  buttons->addSpacing(line / 2);
  buttons->addWidget(skip_);
  buttons->addWidget(skipAll_);
  buttons->addStretch();
  auto* lower = new QHBoxLayout;
  lower->addWidget(cancel_);
  lower->addWidget(cancelEdit_);
  lower->addStretch();

  auto* grid = new QGridLayout(this);
  grid->addWidget(infoMsg_, 0, 0, 1, 2);
  grid->addWidget(misspelling_, 1, 0, 1, 2);
  grid->addItem(new QSpacerItem(0, line / 2, QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 0);
  grid->addWidget(label2_, 3, 0);
  grid->addWidget(variants_, 4, 0);
  grid->addLayout(buttons, 4, 1);
  grid->addLayout(lower, 5, 0);
  grid->addWidget(add_, 5, 1);
  grid->setColumnStretch(0, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);

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
  if (!placed_) {
    // Centred on the screen, not on the editor.
    placed_ = true;
    adjustSize();
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
  }
  if (modal) {
    exec();
    return;
  }
  show();
  raise();
  activateWindow();
}

void TSpellerWindow::Hide(spell::TSpellerDialog& dialog) {
  if (&dialog != dialog_) return;
  dialog_ = nullptr;
  done(QDialog::Rejected);  // hides the window and ends a modal loop
}

void TSpellerWindow::Changed(spell::TSpellerDialog& dialog) {
  if (&dialog == dialog_) Refresh();
}

void TSpellerWindow::reject() {
  // As the Cancel button; the model hides the window when it is done.
  if (dialog_) dialog_->CancelButtonClick();
  else QDialog::reject();
}

bool TSpellerWindow::event(QEvent* event) {
  // The user went elsewhere (perhaps to edit the text): the check waits for Start.
  if (event->type() == QEvent::WindowDeactivate && dialog_ && dialog_->Visible() && isVisible())
    dialog_->FormDeactivate();
  return QDialog::event(event);
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
  // While the user edits, the box is ahead of the model (which knows the line, not where the
  // edited run ends): keep it as it is.
  if (!(d.CancelEdit.visible && d.Misspelling == boxBytes_)) RenderContext(d, charset);
  ShowVariants(d, charset);
  refreshing_ = false;
}

void TSpellerWindow::ShowVariants(const spell::TSpellerDialog& d, std::uint8_t charset) {
  QStringList items;
  for (const std::string& v : d.Variants) items << FromCharset(v, charset);
  bool same = variants_->count() == items.size();
  for (int i = 0; same && i < items.size(); ++i) same = variants_->item(i)->text() == items[i];
  if (!same) {
    variants_->clear();
    variants_->addItems(items);
  }
  variants_->setCurrentRow(d.Selected >= 0 && d.Selected < variants_->count() ? d.Selected : -1);
}

void TSpellerWindow::RenderContext(const spell::TSpellerDialog& d, std::uint8_t charset) {
  // The red run is given in bytes of the language's code page; each part is decoded on its own
  // and the protected parts keep their bytes, so edits never shift or re-encode them.
  const std::string& line = d.Misspelling;
  const size_t start = std::min(d.RedStart, line.size());
  const size_t length = std::min(d.RedLength, line.size() - start);
  prefixBytes_ = line.substr(0, start);
  suffixBytes_ = line.substr(start + length);
  boxBytes_ = line;
  prefix_ = FromCharset(prefixBytes_, charset);
  red_ = FromCharset(std::string_view(line).substr(start, length), charset);
  suffix_ = FromCharset(suffixBytes_, charset);
  painting_ = true;
  misspelling_->setPlainText(prefix_ + red_ + suffix_);
  painting_ = false;
  Paint(static_cast<int>(prefix_.size()));
}

void TSpellerWindow::Paint(int caret) {
  painting_ = true;
  QTextDocument* doc = misspelling_->document();
  QTextCursor all(doc);
  all.select(QTextCursor::Document);
  QTextCharFormat plain;
  plain.setForeground(palette().color(QPalette::Text));
  all.mergeCharFormat(plain);
  const int redStart = static_cast<int>(prefix_.size());
  QTextCursor run(doc);
  run.setPosition(redStart);
  run.setPosition(redStart + static_cast<int>(red_.size()), QTextCursor::KeepAnchor);
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  run.mergeCharFormat(red);
  if (caret >= 0) {
    QTextCursor cursor = misspelling_->textCursor();
    cursor.setPosition(std::min(caret, doc->characterCount() - 1));
    misspelling_->setTextCursor(cursor);
  }
  // What the user types at the run's start takes its colour.
  if (caret == redStart) misspelling_->setCurrentCharFormat(red);
  painting_ = false;
}

void TSpellerWindow::ContextEdited() {
  if (!dialog_ || refreshing_ || painting_ || dialog_->Updating()) return;
  // Only the red run may change: the protected text around it must stay exactly as it was, the
  // run must stay on one line and in the language's code page (a character it lacks would be
  // written into the text as "?"). Anything else is refused and the box is put back.
  const QString text = misspelling_->toPlainText();
  const auto fixed = prefix_.size() + suffix_.size();
  QString red;
  bool ok = text.size() >= fixed && text.startsWith(prefix_) && text.endsWith(suffix_);
  if (ok) {
    red = text.mid(prefix_.size(), text.size() - fixed);
    ok = !HasLineBreak(red);
  }
  std::string bytes;
  if (ok) {
    bool lossy = false;
    bytes = ToCharset(red, static_cast<std::uint8_t>(dialog_->VariantsCharset), &lossy);
    ok = !lossy;
  }
  if (!ok) {
    QApplication::beep();
    painting_ = true;
    misspelling_->setPlainText(prefix_ + red_ + suffix_);
    painting_ = false;
    Paint(static_cast<int>(prefix_.size() + red_.size()));
    return;
  }
  red_ = red;
  Paint(-1);
  boxBytes_ = prefixBytes_ + bytes + suffixBytes_;
  dialog_->MisspellingChange(boxBytes_);
}

int TSpellSetupWindow::ShowModal(vle::TFrmSpellSetup& dialog) {
  QDialog window(parent_, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
  window.setObjectName("FrmSpellSetup");
  window.setWindowTitle(FromAnsi(dialog.Caption));
  dialog.FormShow();
  auto* group = new QGroupBox(FromAnsi(dialog.GroupCaption), &window);
  group->setObjectName("GroupBox1");
  auto* column = new QVBoxLayout(group);
  for (auto& box : dialog.Boxes) {
    auto* check = new QCheckBox(FromAnsi(box.caption), group);
    check->setObjectName(box.name);
    check->setChecked(box.checked);
    QObject::connect(check, &QCheckBox::toggled, &window, [&box](bool on) { box.checked = on; });
    column->addWidget(check);
  }
  auto* ok = new QPushButton(FromAnsi(dialog.OkCaption), &window);
  ok->setObjectName("BtnOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(FromAnsi(dialog.CancelCaption), &window);
  cancel->setObjectName("BtnCancel");
  cancel->setAutoDefault(false);
  QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(&window);
  layout->addWidget(group, 1);
  layout->addLayout(buttons);
  // The original's client size, or what this machine's font needs.
  window.setFixedSize(window.sizeHint().expandedTo(QSize(vle::TFrmSpellSetup::kClientWidth,
                                                         vle::TFrmSpellSetup::kClientHeight)));
  // Escape and the close box answer as Cancel.
  if (window.exec() == QDialog::Accepted) dialog.BtnOkClick();
  else dialog.BtnCancelClick();
  return dialog.ModalResult;
}

}  // namespace vorlect::ui
