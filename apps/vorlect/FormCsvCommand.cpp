// Placeholder until the subcommands land.
#include "Commands.h"

namespace vorlect::cli {

void AddFormCsvCommands(CLI::App& form, Action& action) {}

}  // namespace vorlect::cli
