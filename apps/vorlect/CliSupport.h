// Input, output and error reporting shared by the subcommands.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::cli {

// A failure to report on standard error; the tool exits with status 1.
class Failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Reads a whole file, or standard input for "-".
std::string ReadInput(const std::string& path);

// Writes a whole file atomically, or to standard output for "-".
void WriteOutput(const std::string& path, std::string_view data);

// The name to use in messages for a path ("<stdin>" for "-").
std::string DisplayName(const std::string& path);

}  // namespace vorlect::cli
