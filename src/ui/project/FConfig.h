// TFrmConfigTools' window: where the resource compiler and the library compiler are, each field
// with a green mark when its file exists and a red one when not; OK only when both exist.
#pragma once

#include <QDialog>

#include "vle/dllmaker/FConfig.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlect::ui {

class TFrmConfigToolsWindow : public QDialog {
  Q_OBJECT
public:
  explicit TFrmConfigToolsWindow(vle::TToolPaths& paths, QWidget* parent = nullptr);

  const vle::TFrmConfigTools& Model() const { return model_; }
  QLineEdit* ResourceCompilerEdit() const { return edResourceCompiler_; }
  QLineEdit* CompilerEdit() const { return edCompiler_; }
  // The marks: their object names end in "Found" or "Missing" as they show green or red.
  QLabel* ResourceCompilerMark() const { return resourceMark_; }
  QLabel* CompilerMark() const { return compilerMark_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

  void accept() override;  // OK: both fields become the tool paths

private:
  // The fields into the model, checked, and the marks and OK shown.
  void Check();
  void Browse(QLineEdit* field, const QString& title);

  vle::TFrmConfigTools model_;
  QLineEdit *edResourceCompiler_, *edCompiler_;
  QLabel *resourceMark_, *compilerMark_;
  QPushButton *okBtn_, *cancelBtn_;
};

// "Configuration...": the dialog on the library's tool paths; true when OK stored them.
bool ExecToolConfiguration(QWidget* parent);

}  // namespace vorlect::ui
