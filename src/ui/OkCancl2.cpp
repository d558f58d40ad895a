#include "ui/OkCancl2.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vorlect::ui {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

TOKRightDlg::TOKRightDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  bevel_ = new QFrame(this);
  bevel_->setFrameStyle(QFrame::Box | QFrame::Sunken);

  okBtn_ = new QPushButton(QStringLiteral("OK"), this);
  okBtn_->setDefault(true);
  cancelBtn_ = new QPushButton(QStringLiteral("Cancel"), this);
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);

  buttons_ = new QVBoxLayout;
  buttons_->addWidget(okBtn_);
  buttons_->addWidget(cancelBtn_);
  buttons_->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(bevel_, 1);
  layout->addLayout(buttons_);
  // Fixed: the dialog keeps the size its contents ask for.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TOKRightDlg::AddButton(QPushButton* button) {
  button->setParent(this);
  buttons_->insertWidget(buttons_->count() - 1, button);
}

void TOKRightDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  CentreOnScreen(this);
}

}  // namespace vorlect::ui
