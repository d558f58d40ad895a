// Temporary folders and small scripts for the process tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace vorlect::process::test {

class TempDir {
public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "vlproc.XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
  std::string path_;
};

inline void WriteFile(const std::string& path, std::string_view content, bool executable) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
  }
  ::chmod(path.c_str(), executable ? 0755 : 0644);
}

// A shell script (with its #! line) that can be run directly.
inline void WriteScript(const std::string& path, std::string_view body) {
  WriteFile(path, "#!/bin/sh\n" + std::string(body) + "\n", true);
}

// Sets an environment variable for the scope of a test and restores it afterwards.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (hadOld_) ::setenv(name_.c_str(), old_.c_str(), 1);
    else ::unsetenv(name_.c_str());
  }

private:
  std::string name_, old_;
  bool hadOld_ = false;
};

// Changes the current folder for the scope of a test.
class ScopedCwd {
public:
  explicit ScopedCwd(const std::string& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~ScopedCwd() {
    std::error_code ec;
    std::filesystem::current_path(old_, ec);
  }

private:
  std::filesystem::path old_;
};

}  // namespace vorlect::process::test
