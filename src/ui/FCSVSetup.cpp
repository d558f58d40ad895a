#include "ui/FCSVSetup.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

#include "ui/Help.h"
#include "ui/OkCancl2.h"
#include "ui/QtText.h"

namespace vorlect::ui {

using Model = vle::TFrmCSVSetup;

TFrmCSVSetup::TFrmCSVSetup(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("FrmCSVSetup"));
  setWindowTitle(FromAnsi(Model::kCaption));

  // The explanation is read-only text in two lines, as the captions give them.
  auto* explanation = new QLabel(FromAnsi(Model::kExplanation[0]) + QLatin1Char('\n') + FromAnsi(Model::kExplanation[1]));
  explanation->setTextInteractionFlags(Qt::TextSelectableByMouse);
  explanation->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  explanation->setMargin(4);

  regional_ = new QLabel(FromAnsi(model_.RegionalSettingsLabel()));

  auto* group = new QGroupBox(FromAnsi(Model::kGroupCaption));
  auto* groupLayout = new QVBoxLayout(group);
  items_ = new QButtonGroup(this);
  for (int i = 0; i < static_cast<int>(std::size(Model::kItems)); ++i) {
    auto* item = new QRadioButton(FromAnsi(Model::kItems[i]), group);
    items_->addButton(item, i);
    groupLayout->addWidget(item);
  }
  // A CSVType from the settings is one of the three; anything else leaves no item checked.
  if (QAbstractButton* current = items_->button(model_.ItemIndex())) current->setChecked(true);
  connect(items_, &QButtonGroup::idClicked, this, [this](int index) { model_.SetItemIndex(index); });

  okBtn_ = new QPushButton(FromAnsi(Model::kOkCaption));
  okBtn_->setDefault(true);
  cancelBtn_ = new QPushButton(FromAnsi(Model::kCancelCaption));
  helpBtn_ = new QPushButton(FromAnsi(Model::kHelpCaption));
  helpBtn_->setToolTip(FromAnsi(Model::kHelpHint));
  helpBtn_->setEnabled(HelpAvailable());
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(helpBtn_, &QPushButton::clicked, this, [] { OpenHelp(Model::kHelpKeyword); });

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okBtn_);
  buttons->addWidget(cancelBtn_);
  buttons->addWidget(helpBtn_);
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(explanation);
  left->addWidget(group);
  left->addWidget(regional_);
  left->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QRadioButton* TFrmCSVSetup::Item(int index) const { return qobject_cast<QRadioButton*>(items_->button(index)); }

void TFrmCSVSetup::accept() {
  model_.OK();
  QDialog::accept();
}

void TFrmCSVSetup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  CentreOnScreen(this);
}

bool ExecCsvSetup(QWidget* parent) {
  TFrmCSVSetup dialog(parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace vorlect::ui
