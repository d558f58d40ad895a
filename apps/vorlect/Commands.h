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

}  // namespace vorlect::cli
