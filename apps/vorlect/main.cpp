// vorlect: the command line of the Vorlect localisation toolkit.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormTree.h"
#include "platform/Files.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <string_view>
#include <utility>

int main(int argc, char** argv) {
  // A run stopped by Ctrl+C or kill leaves every file it was writing as it was or complete.
  vorlect::platform::InstallSignalCleanup();
  CLI::App app{"Vorlect: localise the forms of desktop applications (form files, translations, string modules)."};
  app.name("vorlect");
  app.require_subcommand(1);
  app.set_version_flag("--version", "vorlect 0.1.0");

  vorlect::cli::Action action;
  // Scripts run one command per process (a form at a time): only the command named is set up.
  // Anything else (help, the version, a mistyped name) gets them all, so that help lists them and
  // a mistake is answered as before.
  using AddCommand = void (*)(CLI::App&, vorlect::cli::Action&);
  static constexpr std::pair<std::string_view, AddCommand> kCommands[] = {
      {"convert", vorlect::cli::AddConvertCommand},     {"project", vorlect::cli::AddProjectCommands},
      {"form", vorlect::cli::AddFormCommands},          {"spellers", vorlect::cli::AddSpellersCommands},
      {"dll", vorlect::cli::AddDllCommands},            {"languages", vorlect::cli::AddLanguagesCommands},
      {"spell", vorlect::cli::AddSpellCommands},
  };
  const std::string_view named = argc > 1 ? argv[1] : "";
  const auto only = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const auto& c) { return c.first == named; });
  if (only != std::end(kCommands)) {
    only->second(app, action);
  } else {
    for (const auto& command : kCommands) command.second(app, action);
  }

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
