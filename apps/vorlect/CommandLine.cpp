#include "CommandLine.h"

#include "CliSupport.h"

#include "host/formfile/FormTree.h"
#include "platform/Files.h"

#include <algorithm>
#include <iostream>

namespace vorlect::cli {

int RunCommandLine(int argc, char** argv, std::span<const Command> commands) {
  // A run stopped by Ctrl+C or kill leaves every file it was writing as it was or complete.
  platform::InstallSignalCleanup();
  CLI::App app{"Vorlect: localise the forms of desktop applications (form files, translations, string modules)."};
  app.name("vorlect");
  app.require_subcommand(1);
  app.set_version_flag("--version", "vorlect 0.1.0");

  Action action;
  // Scripts run one command per process (a form at a time): only the command named is set up.
  // Anything else (help, the version, a mistyped name) gets them all, so that help lists them and
  // a mistake is answered as before.
  const std::string_view named = argc > 1 ? argv[1] : "";
  const auto only = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return c.name == named; });
  if (only != commands.end()) {
    only->add(app, action);
  } else {
    for (const Command& command : commands) command.add(app, action);
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
  } catch (const UsageError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
    return 2;
  } catch (const formfile::FormFileError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  } catch (const platform::FileError& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
  }
  return 1;
}

}  // namespace vorlect::cli
