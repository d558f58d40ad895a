#include "CliSupport.h"

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
