// TFrmCSVSetup: the CSV format dialog over vle::TFrmCSVSetup. It chooses CSVType, and with it the
// separator that CSV export writes.
#pragma once

#include <QDialog>

#include "vle/VLCsv.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlect::ui {

class TFrmCSVSetup : public QDialog {
  Q_OBJECT

public:
  explicit TFrmCSVSetup(QWidget* parent = nullptr);

  const vle::TFrmCSVSetup& Model() const { return model_; }
  // The three items, in the order of their CSVType values.
  QRadioButton* Item(int index) const;
  QLabel* RegionalLabel() const { return regional_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

  void accept() override;  // "&OK": the chosen item becomes CSVType

protected:
  void showEvent(QShowEvent* event) override;

private:
  vle::TFrmCSVSetup model_;
  QButtonGroup* items_;
  QLabel* regional_;
  QPushButton *okBtn_, *cancelBtn_, *helpBtn_;
  bool placed_ = false;
};

// Shows the dialog modally; true when it was closed with OK (CSVType and CsvSeparator then
// follow the choice).
bool ExecCsvSetup(QWidget* parent);

}  // namespace vorlect::ui
