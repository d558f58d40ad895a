#include "ui/project/FDllMaker.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Help.h"
#include "ui/QtText.h"
#include "ui/project/PrjListWindow.h"
#include "vle/VLSettings.h"
#include "vle/dllmaker/FConfig.h"

namespace vorlect::ui {

namespace {
constexpr const char* kHelpKeyword = "project manager";
}

TFrmDLLProgressWindow::TFrmDLLProgressWindow(vle::TToolRunner& runner, vle::TDllBuildSettings settings,
                                             std::function<void()> onBuilt, QWidget* parent)
    : QDialog(parent), model_(runner, std::move(settings), std::move(onBuilt)) {
  setObjectName("FrmDLLProgress");
  setWindowTitle(FromAnsi(model_.Caption()));
  explanation_ = new QPlainTextEdit(this);
  explanation_->setObjectName("Memo1");
  explanation_->setReadOnly(true);
  QStringList lines;
  for (const std::string& l : vle::TFrmDLLProgress::Explanation()) lines << FromAnsi(l);
  explanation_->setPlainText(lines.join('\n'));
  explanation_->setMaximumHeight(explanation_->fontMetrics().lineSpacing() * 7);
  progress_ = new QListWidget(this);
  progress_->setObjectName("ListBox1");
  output_ = new QPlainTextEdit(this);
  output_->setObjectName("ToolOutput");
  output_->setReadOnly(true);
  output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  output_->setPlaceholderText(tr("What the tools write appears here while they run."));
  goBtn_ = new QPushButton(QStringLiteral("&Go!"), this);
  goBtn_->setObjectName("BtnGo");
  okBtn_ = new QPushButton(QStringLiteral("OK"), this);
  okBtn_->setObjectName("BtnOK");
  cancelBtn_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelBtn_->setObjectName("BtnCancel");
  helpBtn_ = new QPushButton(QStringLiteral("&Help"), this);
  helpBtn_->setObjectName("BtnHelp");
  helpBtn_->setEnabled(HelpAvailable());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {goBtn_, okBtn_, cancelBtn_, helpBtn_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation_);
  layout->addWidget(new QLabel(tr("Progress:"), this));
  layout->addWidget(progress_, 2);
  layout->addWidget(new QLabel(tr("Output of the tools:"), this));
  layout->addWidget(output_, 1);
  layout->addLayout(buttons);
  resize(560, 460);

  model_.OnProgress = [this](const std::string& line) {
    progress_->addItem(FromAnsi(line));
    progress_->scrollToBottom();
  };
  model_.OnToolOutput = [this](const std::string& line) { output_->appendPlainText(FromAnsi(line)); };
  // Between the tool's output the window repaints and takes clicks (Cancel among them).
  model_.OnWait = [] { QApplication::processEvents(QEventLoop::AllEvents, 50); };
  connect(goBtn_, &QPushButton::clicked, this, &TFrmDLLProgressWindow::Go);
  connect(okBtn_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelBtn_, &QPushButton::clicked, this, &TFrmDLLProgressWindow::reject);
  connect(helpBtn_, &QPushButton::clicked, this, [] { OpenHelp(kHelpKeyword); });
}

void TFrmDLLProgressWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  model_.FormShow();
  progress_->clear();
  output_->clear();
  ShowState();
}

void TFrmDLLProgressWindow::ShowState() {
  goBtn_->setEnabled(model_.GoEnabled && !building_);
  okBtn_->setEnabled(model_.OkEnabled);
  okBtn_->setDefault(model_.OkInFront);
  goBtn_->setDefault(!model_.OkInFront);
  if (model_.OkInFront) okBtn_->raise();
  else okBtn_->lower();
}

void TFrmDLLProgressWindow::Go() {
  if (building_) return;
  building_ = true;
  ShowState();
  QApplication::setOverrideCursor(Qt::BusyCursor);
  struct TDone {
    TFrmDLLProgressWindow* w;
    ~TDone() {
      w->building_ = false;
      QApplication::restoreOverrideCursor();
      w->ShowState();
    }
  } done{this};
  model_.BtnGoClick();
  if (model_.OkInFront) okBtn_->setFocus();
}

void TFrmDLLProgressWindow::reject() {
  if (!model_.BtnCancelClick()) return;  // building: the stop is recorded, the build ends soon
  QDialog::reject();
}

void CompileStringDlls(TFPrjListWindow& window, vle::TToolRunner& runner) {
  vle::TDllBuildSettings settings;
  settings.Folder = QFile::encodeName(window.ScriptFolder).toStdString();
  settings.BaseName = window.Catalogue().DllBaseName;
  settings.Tools = vle::ToolPaths();
  settings.LanguageId = [](int index) -> std::uint16_t {
    const host::TStringList& ids = vle::LanguageIds();
    return index < ids.Count() ? static_cast<std::uint16_t>(vle::LanguageIdOf(ids.Strings(index))) : 0;
  };
  TFrmDLLProgressWindow dialog(runner, std::move(settings), [&window] {
    window.Catalogue().EmptyStringListsEnabled = true;
    window.UpdateEnabled();
  }, &window);
  dialog.exec();
}

}  // namespace vorlect::ui
