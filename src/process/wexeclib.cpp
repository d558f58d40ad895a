#include "process/wexeclib.h"

#include "process/DosLib2.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vorlect::process {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSlice = std::chrono::milliseconds(100);
constexpr std::size_t kChunk = 1024;

class UniqueFd {
public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

private:
  int fd_ = -1;
};

// A child left running is waited for by a thread of its own, so it never stays a zombie.
void ReapInBackground(pid_t pid) {
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // No thread to be had: the child stays a zombie until the caller ends; nothing else breaks.
  }
}

// Owns a started child until it is reaped, also when an event handler throws.
class Child {
public:
  Child(pid_t pid, bool killOnAbort) : pid_(pid), killOnAbort_(killOnAbort) {}
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Abandon(killOnAbort_); }

  pid_t pid() const { return pid_; }

  // True once the child has ended and was reaped; `status` is its wait status.
  bool TryReap(int& status) {
    if (pid_ <= 0) return true;
    pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno == ECHILD)) {
      pid_ = -1;
      return true;
    }
    return false;
  }

  // Stops owning the child: kills it (its whole process group) and reaps it, or leaves it
  // running with a reaper.
  void Abandon(bool kill) {
    if (pid_ <= 0) return;
    if (kill) {
      ::kill(-pid_, SIGKILL);
      ::kill(pid_, SIGKILL);
      int status = 0;
      while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    } else {
      ReapInBackground(pid_);
    }
    pid_ = -1;
  }

private:
  pid_t pid_;
  bool killOnAbort_;
};

int PidfdOpen(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));  // close-on-exec by itself
#else
  (void)pid;
  return -1;
#endif
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::string CommandInterpreter() {
  for (const char* name : {"COMSPEC", "SHELL"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return "/bin/sh";
}

// posix_spawn's attribute and file-action objects, released on every path.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  bool haveActions = false, haveAttr = false;
  ~SpawnSetup() {
    if (haveActions) posix_spawn_file_actions_destroy(&actions);
    if (haveAttr) posix_spawnattr_destroy(&attr);
  }
};

// Prepares the child's standard handles, descriptors and signals. Returns 0 or an errno value.
int PrepareSpawn(SpawnSetup& s, int captureFd, bool hidden) {
  int rc = posix_spawn_file_actions_init(&s.actions);
  if (rc) return rc;
  s.haveActions = true;
  rc = posix_spawnattr_init(&s.attr);
  if (rc) return rc;
  s.haveAttr = true;

  // Standard input is never the caller's: a program that asks for input must not block on it.
  rc = posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0);
  if (!rc && captureFd >= 0) {
    rc = posix_spawn_file_actions_adddup2(&s.actions, captureFd, 1);
    if (!rc) rc = posix_spawn_file_actions_adddup2(&s.actions, captureFd, 2);
  } else if (!rc && hidden) {
    rc = posix_spawn_file_actions_addopen(&s.actions, 1, "/dev/null", O_WRONLY, 0);
    if (!rc) rc = posix_spawn_file_actions_adddup2(&s.actions, 1, 2);
  }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors others opened without close-on-exec must not leak into the program either.
  if (!rc) rc = posix_spawn_file_actions_addclosefrom_np(&s.actions, 3);
#endif
  if (rc) return rc;

  // Its own process group (like its own console: the caller's terminal signals do not reach it,
  // and stopping it reaches its children), default signal handling and an empty signal mask
  // (a caller that ignores SIGPIPE must not pass that on).
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGCHLD, SIGALRM, SIGUSR1, SIGUSR2,
                  SIGTSTP, SIGTTIN, SIGTTOU, SIGXFSZ})
    sigaddset(&defaults, sig);
  sigset_t mask;
  sigemptyset(&mask);
  rc = posix_spawnattr_setpgroup(&s.attr, 0);
  if (!rc) rc = posix_spawnattr_setsigdefault(&s.attr, &defaults);
  if (!rc) rc = posix_spawnattr_setsigmask(&s.attr, &mask);
  if (!rc)
    rc = posix_spawnattr_setflags(
        &s.attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  return rc;
}

}  // namespace

// One Execute: the pipe, the child and the wait.
class TRunProcess::Run {
public:
  explicit Run(TRunProcess& owner) : p_(owner) {}

  enum class WaitEnd { Exited, Aborted };

  // Reads one chunk of the pipe; false at its end (or on an error that ends reading).
  bool ReadChunk() {
    char buf[kChunk];
    ssize_t n = ::read(readEnd.get(), buf, sizeof buf);
    if (n > 0) {
      Deliver(buf, static_cast<std::size_t>(n));
      return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
    return false;
  }

  // After the program ended: what it wrote is all in the pipe now. Only that much is read, so a
  // background process still writing into the inherited pipe cannot keep us here.
  void FinalFlush() {
    if (!readEnd.valid()) return;
    int avail = 0;
    if (::ioctl(readEnd.get(), FIONREAD, &avail) != 0) return;
    char buf[kChunk];
    while (avail > 0) {
      ssize_t n = ::read(readEnd.get(), buf, std::min<std::size_t>(kChunk, static_cast<std::size_t>(avail)));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      Deliver(buf, static_cast<std::size_t>(n));
      avail -= static_cast<int>(n);
    }
  }

  // Waits for the child, draining the pipe as data comes and asking OnTaskSwitch after every
  // 100 ms slice the child did not end in.
  WaitEnd Wait(Child& child, int& status) {
    UniqueFd pidfd(PidfdOpen(child.pid()));
    bool pipeOpen = readEnd.valid();
    auto sliceEnd = Clock::now() + kSlice;
    for (;;) {
      if (child.TryReap(status)) return WaitEnd::Exited;
      auto now = Clock::now();
      if (now >= sliceEnd) {
        if (!p_.DoTaskSwitch()) return WaitEnd::Aborted;
        sliceEnd = Clock::now() + kSlice;
        continue;
      }
      auto left = std::chrono::ceil<std::chrono::milliseconds>(sliceEnd - now).count();
      // Without a process descriptor the end of the child is noticed by looking often.
      int timeout = static_cast<int>(pidfd.valid() ? left : std::min<long long>(left, 10));
      pollfd fds[2];
      nfds_t count = 0;
      int pipeIndex = -1;
      if (pipeOpen) {
        pipeIndex = static_cast<int>(count);
        fds[count++] = {readEnd.get(), POLLIN, 0};
      }
      if (pidfd.valid()) fds[count++] = {pidfd.get(), POLLIN, 0};
      int n = ::poll(fds, count, timeout);
      if (n < 0) {
        if (errno != EINTR) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      if (pipeIndex >= 0 && fds[pipeIndex].revents != 0) {
        if (!ReadChunk()) pipeOpen = false;
      }
    }
  }

  void Deliver(const char* data, std::size_t n) {
    p_.DoDebug(kMsgFlush + std::to_string(n) + ")");
    for (std::size_t i = 0; i < n; ++i) p_.DoRedirectChar(data[i]);
  }

  TRunProcess& p_;
  UniqueFd readEnd, writeEnd;
};

TRunProcess::TRunProcess(TComponent* owner) : TComponent(owner) {}

TRunProcess::~TRunProcess() = default;

bool TRunProcess::Execute() {
  exitCode_ = -1;
  if (command_.empty()) {
    lastError_ = kErrorInvalidParameter;
    DoError(kMsgCommandEmpty);
    return false;
  }

  std::string commandLine;
  std::vector<std::string> args;
  bool searchPath = false;
  if (useComSpec_) {
    std::string interpreter = CommandInterpreter();
    DoDebug(kMsgUsingComSpec + interpreter);
    commandLine = interpreter + " -c " + command_;
    searchPath = interpreter.find('/') == std::string::npos;
    args = {interpreter, "-c", command_};
  } else {
    std::string full = FindProgram(command_, true);
    if (full.empty()) {
      lastError_ = kErrorFileNotFound;
      DoError(kMsgNotFound + ('"' + command_ + '"'));
      return false;
    }
    DoDebug(kMsgFullFileName + full);
    ProgramAndRest split = SplitProgram(command_);
    commandLine = QuoteProgram(full) + std::string(split.rest);
    args.push_back(full);
    for (std::string& a : SplitArguments(split.rest)) args.push_back(std::move(a));
  }

  Run run(*this);
  const bool capture = useShow_ == kCaptureOutput;
  if (capture) {
    DoDebug(kMsgCreatingRedirection);
    useShow_ = 0;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
      int err = errno;
      lastError_ = err;
      DoError(kMsgCreatePipeError + std::to_string(err));
      return false;
    }
    run.readEnd.reset(fds[0]);
    run.writeEnd.reset(fds[1]);
    // Reads never block: the wait decides when to read.
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  }

  DoDebug(kMsgCreatingProcess + commandLine + "]");
  pid_t pid = -1;
  int rc = 0;
  {
    SpawnSetup setup;
    rc = PrepareSpawn(setup, capture ? run.writeEnd.get() : -1, !capture && useShow_ == 0);
    if (rc == 0) {
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      rc = searchPath ? ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ)
                      : ::posix_spawn(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ);
    }
  }

  bool started = rc == 0;
  if (!started) {
    lastError_ = rc;
    DoError(kMsgCreateProcessError + std::to_string(rc) + ") " + command_);
  } else {
    lastError_ = 0;
    Child child(pid, killOnAbort_);
    if (useWait_) {
      DoDebug(kMsgBeginWait);
      if (capture) {
        run.writeEnd.reset();
        DoDebug(kMsgBeginRedirection);
      }
      int status = 0;
      if (run.Wait(child, status) == Run::WaitEnd::Aborted) {
        DoError(kMsgForceExit);
        child.Abandon(killOnAbort_);
        DoDebug(kMsgClosingProcess);
        if (capture) {
          run.readEnd.reset();
          DoDebug(kMsgClosingRedirection);
        }
        DoComplete();
        return true;
      }
      exitCode_ = ExitCodeOf(status);
      if (capture) {
        run.FinalFlush();
        DoDebug(kMsgEndRedirection);
      }
      DoDebug(kMsgEndWait);
    } else {
      child.Abandon(false);
    }
    DoDebug(kMsgClosingProcess);
  }

  if (capture) {
    run.readEnd.reset();
    run.writeEnd.reset();
    DoDebug(kMsgClosingRedirection);
  }
  if (started) DoComplete();
  return started;
}

void TRunProcess::DoError(const std::string& msg) { OnError(this, msg); }

void TRunProcess::DoDebug(const std::string& msg) { OnDebug(this, msg); }

bool TRunProcess::DoTaskSwitch() {
  bool goOn = true;
  OnTaskSwitch(this, goOn);
  return goOn;
}

void TRunProcess::DoRedirectChar(char ch) { OnRedirectChar(this, ch); }

void TRunProcess::DoComplete() {
  bool unused = true;
  OnComplete(this, unused);
}

const host::ClassInfo& TRunProcess::StaticClass() {
  static const host::ClassInfo info =
      host::ClassBuilder<TRunProcess>("TRunProcess")
          .Integer("LastError", &TRunProcess::LastError)
          .NotStored()
          .String("Command", &TRunProcess::Command, &TRunProcess::SetCommand)
          .Boolean("UseWait", &TRunProcess::UseWait, &TRunProcess::SetUseWait)
          .Default(1)
          .Boolean("UseComSpec", &TRunProcess::UseComSpec, &TRunProcess::SetUseComSpec)
          .Default(0)
          // The default is what construction gives, so that a 0 set at design time is stored
          // and survives loading.
          .Integer("UseShow", &TRunProcess::UseShow, &TRunProcess::SetUseShow)
          .Default(kCaptureOutput)
          .Event("OnError", &TRunProcess::OnError)
          .Event("OnDebug", &TRunProcess::OnDebug)
          .Event("OnTaskSwitch", &TRunProcess::OnTaskSwitch)
          .Event("OnRedirectChar", &TRunProcess::OnRedirectChar)
          .Event("OnComplete", &TRunProcess::OnComplete)
          .Build();
  return info;
}

void RegisterProcessClasses() { host::RegisterClass(TRunProcess::StaticClass()); }

}  // namespace vorlect::process
