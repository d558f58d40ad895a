// Reading and writing the files named on the command line (standard input and output for "-").
// Kept apart from the rest of the command-line support: the launcher that converts forms
// itself links this and nothing of the project manager.
#include "CliSupport.h"

#include "host/formfile/FormFile.h"
#include "platform/Files.h"

#include <cstdio>
#include <iostream>
#include <iterator>

namespace vorlect::cli {

std::string ReadInput(const std::string& path) {
  if (path != "-") return platform::ReadFile(path);
  std::string data{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
  if (std::cin.bad()) throw Failure("<stdin>: read error");
  return data;
}

std::string ReadFormInput(const std::string& path) {
  return path == "-" ? ReadInput(path) : formfile::ReadFormFile(path);
}

void WriteOutput(const std::string& path, std::string_view data) {
  if (path != "-") {
    platform::WriteFileAtomic(path, data);
    return;
  }
  if (std::fwrite(data.data(), 1, data.size(), stdout) != data.size() || std::fflush(stdout) != 0)
    throw Failure("<stdout>: write error");
}

std::string DisplayName(const std::string& path) { return path == "-" ? "<stdin>" : path; }

}  // namespace vorlect::cli
