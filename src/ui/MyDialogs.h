// The window of a find or replace dialog component (dialogs::TVLFindDialog, TVLReplaceDialog): the
// standard dialog's controls under their identifiers, the groups of the dialog's template, modeless.
// Every button reports to the component; closing reports the end and deletes the window.
#pragma once

#include <QDialog>

#include <cstdint>
#include <map>

#include "dialogs/MyDialogs.h"

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorlect::ui {

class TVLFindWindow : public QDialog, public dialogs::TDialogWindow {
  Q_OBJECT
public:
  TVLFindWindow(dialogs::TVLFindDialog& dialog, QWidget* parent);
  ~TVLFindWindow() override;

  // The component, while the window still reports to it.
  dialogs::TVLFindDialog* Dialog() const { return dialog_; }
  bool IsReplace() const { return replaceEdit_ != nullptr; }
  // A control by its identifier (the standard ones, the template's); nullptr when there is none.
  QWidget* Control(std::uint16_t id) const;
  QAbstractButton* Button(std::uint16_t id) const;
  QLineEdit* FindEdit() const { return findEdit_; }
  QLineEdit* ReplaceEdit() const { return replaceEdit_; }  // nullptr in the find dialog
  QCheckBox* WholeWord() const;
  QCheckBox* MatchCase() const;
  QRadioButton* Up() const;
  QRadioButton* Down() const;
  QPushButton* FindNextButton() const;
  QPushButton* ReplaceButton() const;     // nullptr in the find dialog
  QPushButton* ReplaceAllButton() const;  // nullptr in the find dialog
  QPushButton* CancelButton() const;

  // dialogs::TDialogWindow
  void SetControlText(std::uint16_t id, const std::string& text) override;
  bool IsChecked(std::uint16_t id) const override;
  void SetChecked(std::uint16_t id, bool checked) override;
  dialogs::TSize ScreenSize() const override;
  dialogs::TSize FrameSize() const override;
  dialogs::TPoint Position() const override;
  void MoveTo(dialogs::TPoint position) override;
  void ShowModeless() override;
  void BringToTop() override;
  void Destroy() override;

protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape closes, as Cancel does

private:
  template <class W>
  W* Add(std::uint16_t id, W* widget);
  void Report(std::uint32_t action);
  void EnableActions();

  dialogs::TVLFindDialog* dialog_;
  std::map<std::uint16_t, QWidget*> controls_;
  QLineEdit* findEdit_ = nullptr;
  QLineEdit* replaceEdit_ = nullptr;
};

// Windows for dialogs that do not make their own: owned by the active modal window, else the
// active window. Help buttons open the help page at the dialog's help context.
void InstallFindWindows();

}  // namespace vorlect::ui
