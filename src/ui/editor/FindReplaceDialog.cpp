#include "ui/editor/FindReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/QtText.h"

namespace vorlect::ui {

TFindReplaceDialog::TFindReplaceDialog(vle::TFEditVorlect& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setModal(false);
  auto* findLabel = new QLabel(tr("Fi&nd what:"));
  findText_ = new QLineEdit;
  findLabel->setBuddy(findText_);
  replaceLabel_ = new QLabel(tr("Re&place with:"));
  replaceText_ = new QLineEdit;
  replaceLabel_->setBuddy(replaceText_);
  wholeWord_ = new QCheckBox(tr("Match &whole word only"));
  wholeWord_->setEnabled(false);
  matchCase_ = new QCheckBox(tr("Match &case"));

  direction_ = new QGroupBox(tr("Direction"));
  up_ = new QRadioButton(tr("&Up"));
  down_ = new QRadioButton(tr("&Down"));
  down_->setChecked(true);
  auto* dirLayout = new QHBoxLayout(direction_);
  dirLayout->addWidget(up_);
  dirLayout->addWidget(down_);

  columns_ = new QGroupBox(tr("Column range"));
  all_ = new QRadioButton(tr("&All"));
  all_->setObjectName("RadioAll");
  current_ = new QRadioButton(tr("Cu&rrent"));
  current_->setObjectName("RadioCurrent");
  auto* colLayout = new QHBoxLayout(columns_);
  colLayout->addWidget(all_);
  colLayout->addWidget(current_);
  connect(all_, &QRadioButton::clicked, this, [this] { editor_.FindColumnRangeClick(true); });
  connect(current_, &QRadioButton::clicked, this, [this] { editor_.FindColumnRangeClick(false); });

  findNext_ = new QPushButton(tr("&Find Next"));
  findNext_->setDefault(true);
  replaceButton_ = new QPushButton(tr("&Replace"));
  replaceAll_ = new QPushButton(tr("Replace &All"));
  cancel_ = new QPushButton(tr("Cancel"));

  auto* fields = new QGridLayout;
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(findText_, 0, 1);
  fields->addWidget(replaceLabel_, 1, 0);
  fields->addWidget(replaceText_, 1, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addWidget(wholeWord_);
  left->addWidget(matchCase_);
  left->addWidget(direction_);
  left->addWidget(columns_);
  left->addStretch();
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {findNext_, replaceButton_, replaceAll_, cancel_}) buttons->addWidget(b);
  buttons->addStretch();
  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 1);
  main->addLayout(buttons);

  connect(findNext_, &QPushButton::clicked, this, [this] {
    const vle::TFindOptions o = Options();
    if (replace_) Step(tr("Replace"), [this, o] { editor_.FindNext(o); });
    else Step(tr("Find"), [this, o] { editor_.FindNext(o); });
  });
  connect(replaceButton_, &QPushButton::clicked, this, [this] {
    const vle::TFindOptions o = Options();
    const std::string with = ToAnsi(replaceText_->text());
    Step(tr("Replace"), [this, o, with] { editor_.Replace(o, with); });
  });
  connect(replaceAll_, &QPushButton::clicked, this, [this] {
    const vle::TFindOptions o = Options();
    const std::string with = ToAnsi(replaceText_->text());
    Step(tr("Replace All"), [this, o, with] { editor_.ReplaceAll(o, with); });
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
}

void TFindReplaceDialog::Layout(bool replace) {
  replace_ = replace;
  setWindowTitle(replace ? tr("Replace") : tr("Find"));
  replaceLabel_->setVisible(replace);
  replaceText_->setVisible(replace);
  replaceButton_->setVisible(replace);
  replaceAll_->setVisible(replace);
  // The standard replace dialog searches down and over the whole table.
  direction_->setVisible(!replace);
  columns_->setVisible(!replace);
}

void TFindReplaceDialog::ShowFind() {
  Layout(false);
  all_->setChecked(true);
  editor_.FindDialogShown();
  show();
  raise();
  activateWindow();
  findText_->setFocus();
  findText_->selectAll();
}

void TFindReplaceDialog::ShowReplace() {
  Layout(true);
  show();
  raise();
  activateWindow();
  findText_->setFocus();
  findText_->selectAll();
}

void TFindReplaceDialog::hideEvent(QHideEvent* event) {
  if (!replace_) editor_.FindDialogClosed(all_->isChecked());
  QDialog::hideEvent(event);
}

vle::TFindOptions TFindReplaceDialog::Options() const {
  vle::TFindOptions o;
  o.text = ToAnsi(findText_->text());
  o.down = replace_ || down_->isChecked();
  o.matchCase = matchCase_->isChecked();
  return o;
}

void TFindReplaceDialog::Step(const QString& label, const std::function<void()>& step) {
  if (findText_->text().isEmpty()) return;
  if (RunStep) RunStep(label, step);
  else step();
}

}  // namespace vorlect::ui
