// The run of a `vorlect` command line: the commands it knows are set up, the line is parsed and
// the command named is run, its failures reported on standard error with the exit status.
#pragma once

#include "Commands.h"

#include <span>
#include <string_view>

namespace vorlect::cli {

struct Command {
  std::string_view name;
  void (*add)(CLI::App& app, Action& action);
};

// Exit status: 0 success, 1 failure, 2 a mistake in the command line.
int RunCommandLine(int argc, char** argv, std::span<const Command> commands);

}  // namespace vorlect::cli
