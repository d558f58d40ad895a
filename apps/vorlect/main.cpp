// vorlect: the command line of the Vorlect localisation toolkit.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormTree.h"
#include "platform/Files.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
  // A run stopped by Ctrl+C or kill leaves every file it was writing as it was or complete.
  vorlect::platform::InstallSignalCleanup();
  CLI::App app{"Vorlect: localise the forms of desktop applications (form files, translations, string modules)."};
  app.name("vorlect");
  app.require_subcommand(1);
  app.set_version_flag("--version", "vorlect 0.1.0");

  vorlect::cli::Action action;
  vorlect::cli::AddConvertCommand(app, action);
  vorlect::cli::AddProjectCommands(app, action);
  vorlect::cli::AddFormCommands(app, action);
  vorlect::cli::AddSpellersCommands(app, action);
  vorlect::cli::AddDllCommands(app, action);
  vorlect::cli::AddLanguagesCommands(app, action);
  vorlect::cli::AddSpellCommands(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }

  try {
    return action ? action() : 0;
  } catch (const vorlect::cli::UsageError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
    return 2;
  } catch (const vorlect::formfile::FormFileError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  } catch (const vorlect::platform::FileError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  }
  return 1;
}
