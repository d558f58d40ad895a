#include "ui/MyDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <string>
#include <utility>

#include "ui/Help.h"
#include "ui/QtText.h"

namespace vorlect::ui {

using namespace dialogs;

namespace {
// The options a window's controls show; the rest of the record's flags stay as the component set them.
constexpr std::uint32_t kControlFlags = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;
constexpr std::uint32_t kActionFlags = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;
}  // namespace

template <class W>
W* TVLFindWindow::Add(std::uint16_t id, W* widget) {
  controls_[id] = widget;
  if constexpr (std::is_base_of_v<QAbstractButton, W>) {
    // Connected before the button's own action, so that the click is reported first.
    connect(widget, &QAbstractButton::clicked, this, [this, id] {
      if (dialog_) dialog_->Clicked(id);
    });
  }
  return widget;
}

TVLFindWindow::TVLFindWindow(TVLFindDialog& dialog, QWidget* parent) : QDialog(parent), dialog_(&dialog) {
  setModal(false);
  const bool replace = dynamic_cast<TVLReplaceDialog*>(&dialog) != nullptr;
  const TFindOptions o = dialog.Options;
  setWindowTitle(replace ? tr("Replace") : tr("Find"));

  auto* findLabel = Add(idFindWhat, new QLabel(tr("Fi&nd what:")));
  findEdit_ = new QLineEdit(FromAnsi(dialog.FindText()));
  findEdit_->setMaxLength(static_cast<int>(TVLFindDialog::kMaxText));
  findLabel->setBuddy(findEdit_);
  controls_[idFindText] = findEdit_;
  auto* fields = new QGridLayout;
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(findEdit_, 0, 1);
  if (auto* r = dynamic_cast<TVLReplaceDialog*>(&dialog)) {
    auto* replaceLabel = Add(idReplaceWith, new QLabel(tr("Re&place with:")));
    replaceEdit_ = new QLineEdit(FromAnsi(r->ReplaceText()));
    replaceEdit_->setMaxLength(static_cast<int>(TVLFindDialog::kMaxText));
    replaceLabel->setBuddy(replaceEdit_);
    controls_[idReplaceText] = replaceEdit_;
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceEdit_, 1, 1);
  }

  auto* wholeWord = Add(idWholeWord, new QCheckBox(tr("Match &whole word only")));
  wholeWord->setChecked(o.Contains(frWholeWord));
  wholeWord->setEnabled(!o.Contains(frDisableWholeWord));
  wholeWord->setVisible(!o.Contains(frHideWholeWord));
  auto* matchCase = Add(idMatchCase, new QCheckBox(tr("Match &case")));
  matchCase->setChecked(o.Contains(frMatchCase));
  matchCase->setEnabled(!o.Contains(frDisableMatchCase));
  matchCase->setVisible(!o.Contains(frHideMatchCase));
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWord);
  checks->addWidget(matchCase);
  checks->addStretch();

  // The replace dialog has no direction: it searches as Options say.
  auto* direction = Add(idDirection, new QGroupBox(tr("Direction")));
  auto* up = Add(idUp, new QRadioButton(tr("&Up")));
  auto* down = Add(idDown, new QRadioButton(tr("&Down")));
  (o.Contains(frDown) ? down : up)->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(up);
  dirLayout->addWidget(down);
  direction->setEnabled(!o.Contains(frDisableUpDown));
  direction->setVisible(!replace && !o.Contains(frHideUpDown));
  auto* options = new QHBoxLayout;
  options->addLayout(checks);
  options->addWidget(direction);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  if (const TDialogTemplate* t = FindDialogTemplate(dialog.Template)) {
    for (const TTemplateGroup& g : t->groups) {
      auto* box = Add(g.id, new QGroupBox(FromAnsi(g.caption)));
      auto* layout = new QHBoxLayout(box);
      for (const TTemplateControl& c : g.controls) {
        QAbstractButton* b = nullptr;
        switch (c.kind) {
          case TControlKind::RadioButton: b = Add(c.id, new QRadioButton(FromAnsi(c.caption))); break;
          case TControlKind::CheckBox: b = Add(c.id, new QCheckBox(FromAnsi(c.caption))); break;
          case TControlKind::PushButton: b = Add(c.id, new QPushButton(FromAnsi(c.caption))); break;
        }
        layout->addWidget(b);
      }
      layout->addStretch();
      left->addWidget(box);
    }
  }
  left->addStretch();

  auto* buttons = new QVBoxLayout;
  auto* findNext = Add(idOk, new QPushButton(tr("&Find Next")));
  findNext->setDefault(true);
  buttons->addWidget(findNext);
  connect(findNext, &QPushButton::clicked, this, [this] { Report(FR_FINDNEXT); });
  if (replace) {
    auto* replaceOne = Add(idReplace, new QPushButton(tr("&Replace")));
    auto* replaceAll = Add(idReplaceAll, new QPushButton(tr("Replace &All")));
    buttons->addWidget(replaceOne);
    buttons->addWidget(replaceAll);
    connect(replaceOne, &QPushButton::clicked, this, [this] { Report(FR_REPLACE); });
    connect(replaceAll, &QPushButton::clicked, this, [this] { Report(FR_REPLACEALL); });
  }
  auto* cancel = Add(idCancel, new QPushButton(tr("Cancel")));
  buttons->addWidget(cancel);
  connect(cancel, &QPushButton::clicked, this, &QDialog::close);
  auto* help = Add(idHelp, new QPushButton(tr("&Help")));
  help->setVisible(o.Contains(frShowHelp));
  help->setEnabled(HelpAvailable());
  buttons->addWidget(help);
  connect(help, &QPushButton::clicked, this, [this] {
    if (dialog_) dialog_->HelpRequested();
  });
  buttons->addStretch();

  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 1);
  main->addLayout(buttons);

  connect(findEdit_, &QLineEdit::textChanged, this, &TVLFindWindow::EnableActions);
  EnableActions();
  adjustSize();
}

TVLFindWindow::~TVLFindWindow() {
  // Gone without the user closing it (its owner went): the component is told, the controls still exist.
  if (TVLFindDialog* d = std::exchange(dialog_, nullptr)) d->WindowDestroyed();
}

QWidget* TVLFindWindow::Control(std::uint16_t id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QAbstractButton* TVLFindWindow::Button(std::uint16_t id) const { return qobject_cast<QAbstractButton*>(Control(id)); }
QCheckBox* TVLFindWindow::WholeWord() const { return qobject_cast<QCheckBox*>(Control(idWholeWord)); }
QCheckBox* TVLFindWindow::MatchCase() const { return qobject_cast<QCheckBox*>(Control(idMatchCase)); }
QRadioButton* TVLFindWindow::Up() const { return qobject_cast<QRadioButton*>(Control(idUp)); }
QRadioButton* TVLFindWindow::Down() const { return qobject_cast<QRadioButton*>(Control(idDown)); }
QPushButton* TVLFindWindow::FindNextButton() const { return qobject_cast<QPushButton*>(Control(idOk)); }
QPushButton* TVLFindWindow::ReplaceButton() const { return qobject_cast<QPushButton*>(Control(idReplace)); }
QPushButton* TVLFindWindow::ReplaceAllButton() const { return qobject_cast<QPushButton*>(Control(idReplaceAll)); }
QPushButton* TVLFindWindow::CancelButton() const { return qobject_cast<QPushButton*>(Control(idCancel)); }

// Like the platform's dialog: nothing to search for, nothing to press.
void TVLFindWindow::EnableActions() {
  const bool any = !findEdit_->text().isEmpty();
  for (std::uint16_t id : {idOk, idReplace, idReplaceAll})
    if (QWidget* w = Control(id)) w->setEnabled(any);
}

void TVLFindWindow::Report(std::uint32_t action) {
  if (!dialog_) return;
  std::uint32_t flags = (FlagsOf(dialog_->Options) & ~(kControlFlags | kActionFlags)) | action;
  if (Down()->isChecked()) flags |= FR_DOWN;
  if (MatchCase()->isChecked()) flags |= FR_MATCHCASE;
  if (WholeWord()->isChecked()) flags |= FR_WHOLEWORD;
  const std::string find = ToAnsi(findEdit_->text());
  const std::string with = replaceEdit_ ? ToAnsi(replaceEdit_->text()) : std::string();
  dialog_->Notify(flags, find, with);
}

void TVLFindWindow::closeEvent(QCloseEvent* event) {
  if (dialog_) {
    Report(FR_DIALOGTERM);
    dialog_ = nullptr;
  }
  event->accept();
  deleteLater();
}

void TVLFindWindow::reject() { close(); }

void TVLFindWindow::SetControlText(std::uint16_t id, const std::string& text) {
  QWidget* w = Control(id);
  const QString s = FromAnsi(text);
  if (auto* label = qobject_cast<QLabel*>(w)) label->setText(s);
  else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(s);
  else if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(s);
  else if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(s);
}

bool TVLFindWindow::IsChecked(std::uint16_t id) const {
  const QAbstractButton* b = Button(id);
  return b && b->isChecked();
}

void TVLFindWindow::SetChecked(std::uint16_t id, bool checked) {
  if (QAbstractButton* b = Button(id)) b->setChecked(checked);
}

TSize TVLFindWindow::ScreenSize() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  const QRect r = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  return {r.width(), r.height()};
}

TSize TVLFindWindow::FrameSize() const { return {frameGeometry().width(), frameGeometry().height()}; }

TPoint TVLFindWindow::Position() const { return {pos().x(), pos().y()}; }

void TVLFindWindow::MoveTo(TPoint p) {
  QPoint at(p.x, p.y);
  // A position remembered on a screen that is no longer there would hide the dialog.
  if (!QGuiApplication::screenAt(at + QPoint(8, 8)) && !QGuiApplication::screens().isEmpty()) {
    const TSize screen = ScreenSize(), frame = FrameSize();
    at = QPoint((screen.width - frame.width) / 2, (screen.height - frame.height) / 3);
  }
  move(at);
}

void TVLFindWindow::ShowModeless() {
  show();
  BringToTop();
}

void TVLFindWindow::BringToTop() {
  raise();
  activateWindow();
  findEdit_->setFocus();
  findEdit_->selectAll();
}

void TVLFindWindow::Destroy() {
  dialog_ = nullptr;
  hide();
  deleteLater();
}

void InstallFindWindows() {
  TVLFindDialog::DefaultWindowFactory() = [](TVLFindDialog& dialog) -> TDialogWindow* {
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    return new TVLFindWindow(dialog, owner);
  };
  TVLCommonDialog::ShowHelpTopic() = [](int context) { OpenHelp(std::to_string(context)); };
}

}  // namespace vorlect::ui
