// Window tests of the project manager: a project in a folder of its own (a copy of the sample, or
// written by the test), its settings in a registry folder of its own, the scripted message port,
// the project as the IDE's project, and the project manager's window on it.
#pragma once

#include <QTest>
#include <QStringList>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "EditorFixture.h"
#include "host/toolservices/ToolServices.h"
#include "support/TestFiles.h"
#include "ui/project/PrjListWindow.h"
#include "ui/project/ProjectManager.h"
#include "vle/VLSettings.h"

namespace vorlect::ui::test {

struct ProjectFolder {
  // An empty folder `name`_<pid> in the temporary folder.
  explicit ProjectFolder(const std::string& name)
      : dir(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(dir);
  }
  ~ProjectFolder() {
    window.reset();
    toolservices::SetHostServices(previous);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  ProjectFolder(const ProjectFolder&) = delete;
  ProjectFolder& operator=(const ProjectFolder&) = delete;

  void CopySample() {
    std::filesystem::copy(std::filesystem::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project", dir,
                          std::filesystem::copy_options::recursive);
  }
  // The sample's three languages, so that the opening asks nothing.
  static void ConfigureLanguages() {
    for (const char* name : {"English", "Deutsch", "Russian"}) vle::LanguageNames().Add(name);
    for (const char* id : {"1033", "1031", "1049"}) vle::LanguageIds().Add(id);
  }
  // Remembers the folder's files as they are now, for Changed.
  void TakeSnapshot() {
    for (const auto& f : std::filesystem::directory_iterator(dir))
      if (f.is_regular_file()) before[f.path().filename().string()] = vorlect::test::ReadAll(f.path());
  }
  // The files that changed since the snapshot.
  QStringList Changed() const {
    QStringList out;
    for (const auto& [name, bytes] : before)
      if (vorlect::test::ReadAll(dir / name) != bytes) out << QString::fromStdString(name);
    return out;
  }
  std::string Path(const char* name) const { return (dir / name).string(); }
  // Makes the project file `projectFile` of the folder the IDE's project.
  void UseProject(const char* projectFile) {
    host = std::make_unique<TDesktopHost>(Path(projectFile));
    previous = toolservices::SetHostServices(host.get());
  }
  // The project manager's window, `prepare`d and shown.
  TFPrjListWindow& ShowWindow(const std::function<void(TFPrjListWindow&)>& prepare = {}) {
    window = std::make_unique<TFPrjListWindow>();
    if (prepare) prepare(*window);
    window->resize(760, 420);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) throw std::runtime_error("the window was not shown");
    return *window;
  }

  EditorFixture fixture;  // registry folder and scripted ports
  std::filesystem::path dir;
  std::map<std::string, std::string> before;
  std::unique_ptr<TDesktopHost> host;
  toolservices::HostServices* previous = nullptr;
  std::unique_ptr<TFPrjListWindow> window;
};

}  // namespace vorlect::ui::test
