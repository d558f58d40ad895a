#include "ui/FPressKey.h"

#include <QApplication>

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/OkCancl2.h"
#include "ui/QtText.h"

namespace vorlect::ui {

TFrmPressKey::TFrmPressKey(const std::string& notice, bool& flag, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), model_(notice, flag) {
  // No title bar: the thin border is the frame that holds everything.
  auto* border = new QFrame(this);
  border->setFrameStyle(QFrame::Box | QFrame::Plain);
  border->setLineWidth(1);

  auto* panel = new QFrame(border);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  text_ = new QLabel(FromAnsi(model_.Notice()), panel);
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(6, 4, 6, 4);
  panelLayout->addWidget(text_);

  checkBox_ = new QCheckBox(QString::fromLatin1(vle::TFrmPressKey::kCheckBoxCaption), border);
  checkBox_->setChecked(model_.CheckBoxChecked());
  // The flag changes with the click, not when the notice closes.
  connect(checkBox_, &QCheckBox::clicked, this, [this] {
    model_.CheckBoxClick();
    checkBox_->setChecked(model_.CheckBoxChecked());
  });

  okBtn_ = new QPushButton(QString::fromLatin1(vle::TFrmPressKey::kButtonCaption), border);
  okBtn_->setDefault(true);
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(checkBox_);
  row->addStretch();
  row->addWidget(okBtn_);
  auto* inner = new QVBoxLayout(border);
  inner->setContentsMargins(6, 6, 6, 6);
  inner->setSpacing(6);
  inner->addWidget(panel, 1);
  inner->addLayout(row);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(border);

  // The notice's size, unless the text or the font needs more.
  const QSize hint = sizeHint();
  setFixedSize(std::max(kWidth, hint.width()), std::max(kHeight, hint.height()));
  okBtn_->setFocus();
}

void TFrmPressKey::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

bool TFrmPressKey::ShowNotice(const std::string& notice, bool& flag, QWidget* parent) {
  if (!flag) return false;
  TFrmPressKey dialog(notice, flag, parent);
  dialog.exec();
  return true;
}

void InstallNoticeDialog() {
  vle::SetNoticeHandler([](const std::string& notice, bool& flag) {
    TFrmPressKey::ShowNotice(notice, flag, QApplication::activeWindow());
  });
}

}  // namespace vorlect::ui
