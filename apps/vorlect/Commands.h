// The subcommands of the `vorlect` command-line tool. Each registers its options on the app and
// sets the action to run after parsing.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace vorlect::cli {

using Action = std::function<int()>;

void AddConvertCommand(CLI::App& app, Action& action);
void AddProjectCommands(CLI::App& app, Action& action);
void AddFormCommands(CLI::App& app, Action& action);
void AddSpellersCommands(CLI::App& app, Action& action);
void AddDllCommands(CLI::App& app, Action& action);
void AddLanguagesCommands(CLI::App& app, Action& action);
void AddSpellCommands(CLI::App& app, Action& action);

// Further subcommands of `project` and `form`, each in its own file.
void AddProjectExchangeCommands(CLI::App& project, Action& action);  // export, import, replace
void AddProjectDllCommands(CLI::App& project, Action& action);       // build-dlls
void AddFormCsvCommands(CLI::App& form, Action& action);             // csv-export, csv-import
void AddFormUpdateCommand(CLI::App& form, Action& action);           // update
void AddProjectUpdateCommand(CLI::App& project, Action& action);     // update
void AddProjectSpellCommand(CLI::App& project, Action& action);      // spell
void AddProjectCheckCommand(CLI::App& project, Action& action);      // check
void AddFormCheckCommand(CLI::App& form, Action& action);            // check

}  // namespace vorlect::cli
