// The editor's find and replace dialog: the standard dialogs' controls (whole-word matching is not
// offered) plus the find dialog's "Column range" group. Modeless, like the standard dialogs; every
// button calls the editor's search step.
#pragma once

#include <QDialog>

#include "vle/editor/VLEditor.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorlect::ui {

class TFindReplaceDialog : public QDialog {
  Q_OBJECT
public:
  TFindReplaceDialog(vle::TFEditVorlect& editor, QWidget* parent);

  // Shows the dialog as the find dialog or the replace dialog.
  void ShowFind();
  void ShowReplace();
  bool IsReplace() const { return replace_; }

  QLineEdit* FindText() const { return findText_; }
  QLineEdit* ReplaceText() const { return replaceText_; }
  QCheckBox* MatchCase() const { return matchCase_; }
  QRadioButton* Up() const { return up_; }
  QRadioButton* Down() const { return down_; }
  QRadioButton* AllColumns() const { return all_; }
  QRadioButton* CurrentColumn() const { return current_; }
  QPushButton* FindNextButton() const { return findNext_; }
  QPushButton* ReplaceButton() const { return replaceButton_; }
  QPushButton* ReplaceAllButton() const { return replaceAll_; }

  // Runs before and after each search step (the window records it for undo and repaints).
  std::function<void(const QString& label, const std::function<void()>& step)> RunStep;

protected:
  void hideEvent(QHideEvent* event) override;

private:
  void Layout(bool replace);
  vle::TFindOptions Options() const;
  void Step(const QString& label, const std::function<void()>& step);

  vle::TFEditVorlect& editor_;
  bool replace_ = false;
  QLineEdit *findText_, *replaceText_;
  QCheckBox *wholeWord_, *matchCase_;
  QGroupBox *direction_, *columns_;
  QRadioButton *up_, *down_, *all_, *current_;
  QPushButton *findNext_, *replaceButton_, *replaceAll_, *cancel_;
  QLabel* replaceLabel_;
};

}  // namespace vorlect::ui
