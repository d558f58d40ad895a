// Placeholder until the subcommands land.
#include "Commands.h"

namespace vorlect::cli {

void AddLanguagesCommands(CLI::App& app, Action& action) {}

}  // namespace vorlect::cli
