#include "ui/project/ProjectManager.h"

#include <filesystem>

#include "host/ports/Ports.h"
#include "ui/TextEditor.h"
#include "ui/project/PrjListWindow.h"
#include "vle/VLSettings.h"

namespace vorlect::ui {

bool TDesktopHost::HostOpenFile(const std::string& unitPath) {
  std::string error;
  if (OpenInTextEditor(unitPath, &error)) return true;
  ports::MessageDlg(error, ports::mtError, {ports::mbOK});
  return false;
}

void InstallProjectTools(TFPrjListWindow&) {}

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
  try {
    vle::LoadExpertSettings();
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The settings could not be read:\r") + e.what(), ports::mtError, {ports::mbOK});
    return 1;
  }
  {
    TFPrjListWindow window;
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

}  // namespace vorlect::ui
