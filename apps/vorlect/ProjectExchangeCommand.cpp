// Placeholder until the subcommands land.
#include "Commands.h"

namespace vorlect::cli {

void AddProjectExchangeCommands(CLI::App& project, Action& action) {}

}  // namespace vorlect::cli
