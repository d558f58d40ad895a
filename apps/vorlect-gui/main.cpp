// vorlect-gui: Vorlect's windows. `vorlect-gui edit FORM.dfm [--component NAME]` opens the
// translation editor on a form's translation component (--settings FILE: the translatable
// properties of a project settings file); the exit status is 0 when the user
// accepted (and the form was saved), 1 otherwise. `vorlect-gui languages` opens the language
// setup: 0 when the list was saved with OK, 1 otherwise. `vorlect-gui project PROJECT.dpr` opens
// the project manager on a project: 0 when it was closed, 1 when the project could not be read.
#include <QApplication>

#include <CLI/CLI.hpp>

#include <iostream>

#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "ui/FPressKey.h"
#include "ui/FSetLang.h"
#include "ui/MyDialogs.h"
#include "ui/QtPorts.h"
#include "ui/editor/EditForm.h"
#include "ui/project/ProjectManager.h"

int main(int argc, char** argv) {
  // A window closed by a signal leaves every file it was writing as it was or complete.
  vorlect::platform::InstallSignalCleanup();
  // Options first, so that --help and usage errors need no display; Qt's own options
  // (-platform, -style ...) are left for the application.
  CLI::App cli{"Vorlect's windows: the translation editor, the project manager and the language setup."};
  cli.allow_extras();
  cli.require_subcommand(1);
  std::string form, component;
  CLI::App* edit = cli.add_subcommand("edit", "Edit the translations of a form's translation component");
  edit->allow_extras();
  edit->add_option("FORM", form, "The form file (.dfm, binary or text)")->required();
  edit->add_option("--component", component, "The translation component's name (default: the first one)");
  std::string settings;
  edit->add_option("--settings", settings,
                   "A project settings file (PROJECT.vorlect.json) naming more translatable properties per class");
  std::string project;
  CLI::App* manager = cli.add_subcommand("project", "Open the project manager on a project: its forms, CSV and resource-script exchange");
  manager->allow_extras();
  manager->add_option("PROJECT", project, "The project file (.dpr)")->required();
  CLI::App* languages = cli.add_subcommand("languages", "Set up the configured languages (editor column titles, speller languages)");
  languages->allow_extras();
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help is 0; a usage error is 2, as for `vorlect`.
    return cli.exit(e) == 0 ? 0 : 2;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("Vorlect");
  QApplication::setApplicationVersion(VORLECT_VERSION);
  vorlect::ui::QtPorts ports;
  vorlect::ports::ScopedPorts scope(ports);
  // Find and replace dialogs that do not bring a window of their own get a Qt one.
  vorlect::ui::InstallFindWindows();
  vorlect::ui::InstallNoticeDialog();
  if (manager->parsed()) return vorlect::ui::RunProjectManager(project);
  if (languages->parsed()) return vorlect::ui::EditLanguageSettings() ? 0 : 1;
  const vorlect::ui::TEditFormResult result = vorlect::ui::EditFormFile(form, component, {}, settings);
  if (!result.error.empty()) std::cerr << "vorlect-gui: " << result.error << "\n";
  return result.exitStatus;
}
