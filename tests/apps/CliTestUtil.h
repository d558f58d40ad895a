// Running the vorlect tool from tests: no shell, standard streams captured.
#pragma once

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vorlect::testing {

struct Result {
  int status = -1;
  int signal = 0;  // the signal that ended the run
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

// A run of a program started and not yet waited for; its standard streams go to files.
class ProgramRun {
public:
  // Starts `program` with the arguments, feeding `input` to its standard input; as the user `uid`
  // (group `gid`, no other groups) when one is given (the tests must then run as root).
  ProgramRun(const std::string& program, const std::vector<std::string>& args, const std::string& input = {},
             uid_t uid = uid_t(-1), gid_t gid = gid_t(-1)) {
    if (uid != uid_t(-1)) std::filesystem::permissions(dir_.Path(""), std::filesystem::perms::all);
    const std::string in = dir_.Path("stdin"), out = dir_.Path("stdout"), err = dir_.Path("stderr");
    { std::ofstream(in, std::ios::binary) << input; }
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      if (uid != uid_t(-1) && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) _exit(125);
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
  }
  ~ProgramRun() {
    if (pid_ > 0) Wait();
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  pid_t Pid() const { return pid_; }
  // Whether it is still running (it is not waited for).
  bool Running() const {
    siginfo_t info{};
    return pid_ > 0 && waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
  }
  // Waits for the end: the exit status, or -1 and the signal in `signal` when a signal ended it.
  Result Wait() {
    int wstatus = 0;
    waitpid(pid_, &wstatus, 0);
    pid_ = -1;
    Result r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.signal = WIFSIGNALED(wstatus) ? WTERMSIG(wstatus) : 0;
    r.out = platform::ReadFile(dir_.Path("stdout"));
    r.err = platform::ReadFile(dir_.Path("stderr"));
    return r;
  }
  std::string ErrSoFar() const { return platform::ReadFile(dir_.Path("stderr")); }

private:
  TempFolder dir_;
  pid_t pid_ = -1;
};

// The same for vorlect.
class VorlectRun : public ProgramRun {
public:
  explicit VorlectRun(const std::vector<std::string>& args, const std::string& input = {}, uid_t uid = uid_t(-1),
                      gid_t gid = gid_t(-1))
      : ProgramRun(VORLECT_EXE, args, input, uid, gid) {}
};

// Runs a program with the arguments, feeding `input` to its standard input.
inline Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {}) {
  return ProgramRun(program, args, input).Wait();
}

// Runs vorlect with the arguments, feeding `input` to its standard input.
inline Result RunVorlect(const std::vector<std::string>& args, const std::string& input = {}) {
  return RunProgram(VORLECT_EXE, args, input);
}

// A test with a folder of its own whose "registry" subfolder holds the settings the runs read
// and write; the variable that names it is restored afterwards.
class WithOwnRegistry : public ::testing::Test {
protected:
  void SetUp() override {
    const char* old = std::getenv("VORLECT_REGISTRY_DIR");
    hadRegistry_ = old != nullptr;
    if (old) oldRegistry_ = old;
    setenv("VORLECT_REGISTRY_DIR", dir_.Path("registry").c_str(), 1);
  }
  void TearDown() override {
    if (hadRegistry_) setenv("VORLECT_REGISTRY_DIR", oldRegistry_.c_str(), 1);
    else unsetenv("VORLECT_REGISTRY_DIR");
  }

  TempFolder dir_;

private:
  std::string oldRegistry_;
  bool hadRegistry_ = false;
};

}  // namespace vorlect::testing
