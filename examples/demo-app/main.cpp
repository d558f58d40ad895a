// vorlect-demo: a program that localises itself. It loads a project's forms from their form
// files, shows the main form, and switches languages through its translation component.
//
//   vorlect-demo [PROJECT.dpr] [--language N] [--dll FILE] [--screenshot FILE] [--print-texts]
//
// Without a project it shows the bundled sample. --screenshot writes a PNG of the main form and
// exits; --print-texts prints every text the main form's widgets show, one a line in UTF-8, and
// exits. Exit status: 0, 1 when the project or the string module cannot be read, 2 for a usage
// error.
#include "DemoProject.h"
#include "DemoWindow.h"

#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "runtime/VLBase.h"
#include "ui/QtPorts.h"

#include <QApplication>
#include <QPixmap>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

namespace {

// The sample beside the program (copied there by the build), else in the source tree.
std::string DefaultProject(const char* argv0) {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", error);
  const std::filesystem::path beside =
      (error ? std::filesystem::path(argv0).parent_path() : exe.parent_path()) / "sample-project" / "Sample.dpr";
  if (std::filesystem::exists(beside)) return beside.string();
  return VORLECT_DEMO_SAMPLE;
}

int Fail(const std::string& message) {
  std::cerr << "vorlect-demo: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App cli{"A program that localises itself: a project's forms shown live, switching languages."};
  cli.allow_extras();  // Qt's own options (-platform ...)
  std::string project, dll, screenshot;
  int language = 0;
  bool printTexts = false;
  cli.add_option("PROJECT", project, "The project file (.dpr); default: the bundled sample");
  cli.add_option("--language", language, "The language the forms take (0-255)")->check(CLI::Range(0, 255));
  cli.add_option("--dll", dll, "A string module the forms read their texts from");
  cli.add_option("--screenshot", screenshot, "Write a PNG picture of the main form to FILE and exit");
  cli.add_flag("--print-texts", printTexts, "Print every text the main form shows, one a line (UTF-8), and exit");
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e) == 0 ? 0 : 2;
  }
  if (project.empty()) project = DefaultProject(argv[0]);
  if (!dll.empty() && !vorlect::platform::FileExists(dll)) return Fail("Cannot load string DLL \"" + dll + "\".");

  QApplication app(argc, argv);
  QApplication::setApplicationName("vorlect-demo");
  // A scripted run answers no question and prints what the forms say on standard error.
  const bool scripted = printTexts || !screenshot.empty();
  vorlect::ports::CliPorts cliPorts(vorlect::ports::mrCancel, std::cerr);
  vorlect::ui::QtPorts qtPorts;
  vorlect::ports::ScopedPorts scope(scripted ? static_cast<vorlect::ports::Ports&>(cliPorts)
                                             : static_cast<vorlect::ports::Ports&>(qtPorts));

  // Forms take the application's language, and read the string module, as they load.
  vorlect::runtime::GlobalLang = static_cast<std::uint8_t>(language);
  vorlect::runtime::LanguageDLL = dll;
  std::vector<vorlect::demo::LoadedForm> forms;
  std::unique_ptr<vorlect::demo::DemoWindow> window;
  try {
    forms = vorlect::demo::LoadProjectForms(project);
    window = std::make_unique<vorlect::demo::DemoWindow>(forms);
    if (!dll.empty()) window->TakeStringModuleCharset(dll);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }

  if (printTexts) {
    for (const QString& text : window->ShownTexts()) std::cout << text.toStdString() << "\n";
    return std::cout.flush() ? 0 : 1;
  }
  window->show();
  if (!screenshot.empty()) {
    QApplication::processEvents();
    if (!window->grab().save(QString::fromStdString(screenshot), "PNG")) return Fail("cannot write " + screenshot);
    return 0;
  }
  return app.exec();
}
