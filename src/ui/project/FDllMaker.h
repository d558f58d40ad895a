// TFrmDLLProgress' window: builds one string module per resource script. The explanation, the
// progress list, the tools' own output as they write it, and "&Go!", OK, Cancel and Help; the
// window stays alive while a tool runs, and Cancel stops the build (and a tool that never ends).
#pragma once

#include <QDialog>

#include <memory>

#include "vle/dllmaker/FDllMaker.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vorlect::ui {

class TFPrjListWindow;

class TFrmDLLProgressWindow : public QDialog {
  Q_OBJECT
public:
  TFrmDLLProgressWindow(vle::TToolRunner& runner, vle::TDllBuildSettings settings, std::function<void()> onBuilt,
                        QWidget* parent = nullptr);

  vle::TFrmDLLProgress& Model() { return model_; }
  QPlainTextEdit* Explanation() const { return explanation_; }
  QListWidget* ProgressList() const { return progress_; }
  QPlainTextEdit* ToolOutput() const { return output_; }
  QPushButton* GoBtn() const { return goBtn_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

  void reject() override;  // Cancel, Esc and the close box: a stop while building

protected:
  void showEvent(QShowEvent* event) override;

private:
  void Go();
  void ShowState();

  vle::TFrmDLLProgress model_;
  QPlainTextEdit* explanation_;
  QListWidget* progress_;
  QPlainTextEdit* output_;
  QPushButton *goBtn_, *okBtn_, *cancelBtn_, *helpBtn_;
  bool building_ = false;
};

// "Compile DLLs": the build of the window's DLL base name in the folder its scripts were written
// to, with the library's tool paths and the configured languages' identifiers.
void CompileStringDlls(TFPrjListWindow& window, vle::TToolRunner& runner);

}  // namespace vorlect::ui
