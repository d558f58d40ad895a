// TOKRightDlg: the base of the expert's small dialogs. A fixed dialog centred on the screen: a
// framed bevel that the dialog fills, and the buttons "OK" (default) and "Cancel" on its right.
#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class QVBoxLayout;

namespace vorlect::ui {

class TOKRightDlg : public QDialog {
  Q_OBJECT

public:
  explicit TOKRightDlg(QWidget* parent = nullptr);

  // The framed area for the dialog's own controls; it has no layout yet.
  QFrame* Bevel() const { return bevel_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  // A further button in the column, below those already there.
  void AddButton(QPushButton* button);

protected:
  void showEvent(QShowEvent* event) override;

private:
  QFrame* bevel_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  QVBoxLayout* buttons_;
  bool placed_ = false;
};

// Moves a top-level window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

}  // namespace vorlect::ui
