// vorlect-ide: a form designer that hosts the package and the expert. Opens a project, shows its
// forms in designers, and loads the modules so that the translation tools are one menu away.
//
//   vorlect-ide [PROJECT.dpr] [--modules DIR]
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/ports/Ports.h"
#include "ui/FPressKey.h"
#include "ui/QtPorts.h"
#include "ui/ide/IdeServices.h"
#include "ui/ide/IdeWindow.h"

namespace fs = std::filesystem;

namespace {

// Where the modules are: --modules, then $VORLECT_MODULES, then beside the program's build.
std::string ModulesFolder(const std::string& given) {
  if (!given.empty()) return given;
  if (const char* env = std::getenv("VORLECT_MODULES"); env && *env) return env;
  const fs::path beside = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "../../modules";
  if (fs::exists(beside / "libvorlect-package.so")) return fs::weakly_canonical(beside).string();
  return VORLECT_BUILD_MODULES_DIR;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vorlect IDE");
  vorlect::ui::QtPorts ports;
  vorlect::ports::ScopedPorts scope(ports);
  vorlect::ui::InstallNoticeDialog();

  std::string project, modules;
  const QStringList args = QCoreApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--modules" && i + 1 < args.size()) modules = args[++i].toStdString();
    else if (args[i] == "--help" || args[i] == "-h") {
      std::fputs("usage: vorlect-ide [PROJECT.dpr] [--modules DIR]\n", stdout);
      return 0;
    } else project = args[i].toStdString();
  }

  vorlect::ui::TIdeWindow window;
  window.show();
  window.LoadModules(ModulesFolder(modules));
  if (!project.empty() && !window.OpenProject(project)) return 1;
  // The project's main form (its first) opens at once.
  if (!project.empty() && window.Services()->HostFormCount() > 0) window.OpenForm(window.Services()->HostFormFile(0));
  return app.exec();
}
