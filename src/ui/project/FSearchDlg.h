// TSearchDlg's window: search the tables of the project manager's selected forms for a text, list
// every hit, and replace the first occurrence in each with the question whether to save. The
// search and the replacement are vle::TSearchDlg's; the window shows its state, hands it the
// user's clicks and lets events through while a search runs, so that "St&op" can be clicked.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include "vle/exchange/FSearchDlg.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace vorlect::ui {

class TFPrjListWindow;

class TSearchDlgWindow : public QDialog {
  Q_OBJECT

public:
  // Over the selected rows of `catalogue`; replacements change its entries' lines.
  explicit TSearchDlgWindow(vle::TFPrjList& catalogue, QWidget* parent = nullptr);

  vle::TSearchDlg& Model() { return model_; }
  QLineEdit* SearchEdit() const { return searchEdit_; }
  QLineEdit* ReplaceEdit() const { return replaceEdit_; }
  QRadioButton* AllLanguagesBtn() const { return allBtn_; }
  QRadioButton* SelectedLanguagesBtn() const { return selectedBtn_; }
  QListWidget* Languages() const { return languages_; }
  QCheckBox* IgnoreCaseBox() const { return ignoreCaseBox_; }
  QGroupBox* ResultsGroup() const { return resultsGroup_; }
  // One row per hit: "Form", "Component", "Text found"; the row's index in Model().Results() as
  // its data.
  QTreeWidget* ResultList() const { return resultList_; }
  QPushButton* FindBtn() const { return findBtn_; }
  QPushButton* ReplaceBtn() const { return replaceBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

  // Column widths of the result list.
  static constexpr int kFormWidth = 70, kComponentWidth = 80, kTextWidth = 199;

  // While a search runs, Escape and the window's close box ask it to stop; the dialog stays.
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void Run(bool replace);
  // The window as the model stands: captions, enabled states, rows not listed yet.
  void ShowModel();
  void PollEvents();

  vle::TSearchDlg model_;
  QLineEdit *searchEdit_, *replaceEdit_;
  QRadioButton *allBtn_, *selectedBtn_;
  QListWidget* languages_;
  QCheckBox* ignoreCaseBox_;
  QGroupBox* resultsGroup_;
  QTreeWidget* resultList_;
  QPushButton *findBtn_, *replaceBtn_, *cancelBtn_, *helpBtn_;
  QElapsedTimer lastRound_;
  bool placed_ = false;
};

// "&Find && Replace" of the project manager: the dialog, modal, on the window's catalogue; the
// rows are shown again afterwards, since replacements change the forms' tables.
void OpenProjectSearch(TFPrjListWindow& window);

}  // namespace vorlect::ui
