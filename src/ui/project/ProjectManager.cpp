#include "ui/project/ProjectManager.h"

#include <QApplication>

#include <filesystem>

#include "host/ports/Ports.h"
#include "ui/SpellDialogs.h"
#include "ui/TextEditor.h"
#include "ui/project/FConfig.h"
#include "ui/project/FDllMaker.h"
#include "ui/project/FSearchDlg.h"
#include "ui/project/PrjListWindow.h"
#include "vle/settings/TranslatableSettings.h"
#include "vle/VLSettings.h"
#include "vle/dllmaker/FDllMaker.h"
#include "vle/spellcheck/SpellTranslations.h"

namespace vorlect::ui {

bool TDesktopHost::HostOpenFile(const std::string& unitPath) {
  std::string error;
  if (OpenInTextEditor(unitPath, &error)) return true;
  ports::MessageDlg(error, ports::mtError, {ports::mbOK});
  return false;
}

namespace {

// What the tool windows keep while the project manager is open: the process runner of the
// string-module build, and the project spell check with its speller and setup windows.
struct TProjectTools {
  explicit TProjectTools(TFPrjListWindow& window)
      : speller(new TSpellerWindow(&window)), setup(&window) {
    spelling.SpellChecker2.DialogView = speller;
    spelling.SetupView = &setup;
    spelling.OnBusy = [](bool busy) {
      if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
      else QApplication::restoreOverrideCursor();
    };
  }
  vle::TToolRunner runner;
  vle::TProjectSpelling spelling;
  TSpellerWindow* speller;  // owned by the window
  TSpellSetupWindow setup;
};

}  // namespace

void InstallProjectTools(TFPrjListWindow& window) {
  auto tools = std::make_shared<TProjectTools>(window);
  TFPrjListWindow::TTools t;
  // Replacements and corrections are written into the forms: under the project's lock.
  t.findReplace = [](TFPrjListWindow& w) {
    if (const auto lock = w.LockProject()) OpenProjectSearch(w);
  };
  t.compileDlls = [tools](TFPrjListWindow& w) { CompileStringDlls(w, tools->runner); };
  t.configuration = [](TFPrjListWindow& w) { ExecToolConfiguration(&w); };
  t.spellCheck = [tools](TFPrjListWindow& w) {
    const auto lock = w.LockProject();
    if (!lock) return;
    tools->spelling.BtnSpellClick(w.Catalogue());
    w.RefreshRows();
  };
  t.spellSetup = [tools](TFPrjListWindow&) { tools->spelling.SpellChecker1Click(); };
  window.InstallTools(std::move(t));
}

int ShowProjectManager(QWidget* parent, const std::function<void(TFPrjListWindow&)>& onWindow) {
  try {
    vle::LoadExpertSettings();
    // The project's own settings: more translatable properties, and those never translated.
    if (toolservices::HostServices* host = toolservices::GetHostServices(); host && !host->HostProjectFile().empty())
      vle::UseProjectSettings(host->HostProjectFile());
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The settings could not be read:\r") + e.what(), ports::mtError, {ports::mbOK});
    return 1;
  }
  {
    TFPrjListWindow window(parent);
    InstallProjectTools(window);
    if (onWindow) onWindow(window);
    window.RunModal();
  }
  try {
    vle::SaveExpertSettings();
  } catch (const std::exception&) {
    // The notices and the CSV choice are only remembered; the forms are what counts.
  }
  return 0;
}

int RunProjectManager(const std::string& projectFile, const std::function<void(TFPrjListWindow&)>& onWindow) {
  std::unique_ptr<TDesktopHost> host;
  try {
    host = std::make_unique<TDesktopHost>(std::filesystem::absolute(projectFile).string());
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The project could not be opened:\r") + e.what(), ports::mtError, {ports::mbOK});
    return 1;
  }
  toolservices::HostServices* previous = toolservices::SetHostServices(host.get());
  struct TRestore {
    toolservices::HostServices* previous;
    ~TRestore() { toolservices::SetHostServices(previous); }
  } restore{previous};
  return ShowProjectManager(nullptr, onWindow);
}

}  // namespace vorlect::ui
