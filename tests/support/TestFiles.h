// Whole files as bytes, for tests that compare what a command left on disk.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vorlect::test {

inline std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

}  // namespace vorlect::test
