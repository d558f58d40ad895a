// Placeholder until the subcommands land.
#include "Commands.h"

namespace vorlect::cli {

void AddSpellCommands(CLI::App& app, Action& action) {}

}  // namespace vorlect::cli
