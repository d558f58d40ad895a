// Running the vorlect tool from tests: no shell, standard streams captured.
#pragma once

#include "platform/Files.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vorlect::testing {

struct Result {
  int status = -1;
  std::string out, err;
};

// A fresh folder removed with the object.
class TempFolder {
public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("vorlect-cli-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

// Runs a program with the arguments, feeding `input` to its standard input.
inline Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}) {
  TempFolder dir;
  const std::string in = dir.Path("stdin"), out = dir.Path("stdout"), err = dir.Path("stderr");
  { std::ofstream(in, std::ios::binary) << input; }
  pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(in.c_str(), "rb", stdin) || !freopen(out.c_str(), "wb", stdout) ||
        !freopen(err.c_str(), "wb", stderr))
      _exit(126);
    std::string exe = program;
    std::vector<std::string> copy = args;
    std::vector<char*> argv{exe.data()};
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  Result r;
  r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  r.out = platform::ReadFile(out);
  r.err = platform::ReadFile(err);
  return r;
}

// Runs vorlect with the arguments, feeding `input` to its standard input.
inline Result RunVorlect(const std::vector<std::string>& args, const std::string& input = {}) {
  return RunProgram(VORLECT_EXE, args, input);
}

}  // namespace vorlect::testing
