// TFrmPressKey: the notice with its "&Don't show this again" box, over vle::TFrmPressKey.
#pragma once

#include <QDialog>

#include <string>

#include "vle/VLSettings.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vorlect::ui {

class TFrmPressKey : public QDialog {
  Q_OBJECT

public:
  static constexpr int kWidth = 227, kHeight = 96;

  // `notice` is ANSI text; `flag` (InfoEsc, InfoSel) follows every click on the check box.
  TFrmPressKey(const std::string& notice, bool& flag, QWidget* parent = nullptr);

  // Shows the notice modally while `flag` is true; returns whether it was shown.
  static bool ShowNotice(const std::string& notice, bool& flag, QWidget* parent = nullptr);

  QLabel* NoticeText() const { return text_; }
  QCheckBox* CheckBox() const { return checkBox_; }
  QPushButton* OKBtn() const { return okBtn_; }

protected:
  void showEvent(QShowEvent* event) override;

private:
  vle::TFrmPressKey model_;
  QLabel* text_;
  QCheckBox* checkBox_;
  QPushButton* okBtn_;
};

// Notices the logic shows (vle::ShowNotice) come in this dialog, over the active window.
void InstallNoticeDialog();

}  // namespace vorlect::ui
