#include "process/wexeclib.h"

#include "ProcessTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorlect::process {
namespace {

using test::ScopedEnv;
using test::TempDir;
using test::WriteFile;
using test::WriteScript;

// Records every event of a runner.
struct Recorder {
  std::vector<std::string> debug, errors;
  std::string output;
  int taskSwitches = 0, completes = 0;
  std::function<bool()> abortIf;  // OnTaskSwitch answers false once this holds

  explicit Recorder(TRunProcess& p) {
    p.OnDebug = [this](TObject*, const std::string& m) { debug.push_back(m); };
    p.OnError = [this](TObject*, const std::string& m) { errors.push_back(m); };
    p.OnRedirectChar = [this](TObject*, char c) { output += c; };
    p.OnTaskSwitch = [this](TObject*, bool& goOn) {
      ++taskSwitches;
      if (abortIf && abortIf()) goOn = false;
    };
    p.OnComplete = [this](TObject*, bool&) { ++completes; };
  }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;
  void Reset() {
    debug.clear();
    errors.clear();
    output.clear();
    taskSwitches = completes = 0;
    abortIf = nullptr;
  }
  // The trace without the flush lines, whose number depends on timing.
  std::vector<std::string> Trace() const {
    std::vector<std::string> t;
    for (const std::string& m : debug)
      if (m.rfind(kMsgFlush, 0) != 0) t.push_back(m);
    return t;
  }
  std::size_t FlushedBytes() const {
    std::size_t total = 0;
    for (const std::string& m : debug)
      if (m.rfind(kMsgFlush, 0) == 0) total += std::stoul(m.substr(std::string(kMsgFlush).size()));
    return total;
  }
};

int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// Without reaping anything.
bool NoChildrenLeft() {
  siginfo_t info{};
  return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

// Waits (up to 10 s) until a process is gone for good (reaped: kill(pid, 0) fails).
bool GoneWithin10s(pid_t pid) {
  for (int i = 0; i < 1000; ++i) {
    if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

pid_t ReadPid(const std::string& path) {
  for (int i = 0; i < 1000; ++i) {
    std::ifstream in(path);
    pid_t pid = 0;
    if (in >> pid && pid > 0) return pid;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

class RunProcess : public ::testing::Test {
protected:
  TempDir dir;
  TRunProcess proc{nullptr};
  Recorder rec{proc};
};

TEST(TRunProcessClass, DefaultsAndRegistration) {
  TRunProcess p(nullptr);
  EXPECT_EQ(p.UseShow(), kCaptureOutput);
  EXPECT_TRUE(host::GetPropInfo(p, "LastError")->IsReadOnly());
  RegisterProcessClasses();
  RegisterProcessClasses();
  std::unique_ptr<host::TComponent> made(host::FindClass("trunprocess").CreateComponent(nullptr));
  EXPECT_NE(dynamic_cast<TRunProcess*>(made.get()), nullptr);
}

TEST(TRunProcessClass, UseShowZeroSurvivesAFormFile) {
  RegisterProcessClasses();
  host::TDataModule dm(nullptr);
  dm.SetName("DM");
  auto* zero = new TRunProcess(&dm);
  zero->SetName("Zero");
  zero->SetUseShow(0);
  zero->SetCommand("rc x.rc");
  auto* capture = new TRunProcess(&dm);
  capture->SetName("Capture");
  std::string text = host::SaveForm(dm, formfile::FileFormat::Text);
  EXPECT_EQ(text.find("LastError"), std::string::npos);

  std::unique_ptr<host::TComponent> back = host::LoadForm(text);
  auto* zeroBack = dynamic_cast<TRunProcess*>(back->FindComponent("Zero"));
  auto* captureBack = dynamic_cast<TRunProcess*>(back->FindComponent("Capture"));
  ASSERT_NE(zeroBack, nullptr);
  ASSERT_NE(captureBack, nullptr);
  EXPECT_EQ(zeroBack->UseShow(), 0);
  EXPECT_EQ(zeroBack->Command(), "rc x.rc");
  EXPECT_EQ(captureBack->UseShow(), kCaptureOutput);
}

TEST_F(RunProcess, EmptyCommandAndProgramNotFound) {
  EXPECT_FALSE(proc.Execute());
  EXPECT_EQ(proc.LastError(), kErrorInvalidParameter);
  EXPECT_EQ(rec.errors, std::vector<std::string>{"Process Command Empty"});

  rec.errors.clear();
  proc.SetCommand("no_such_program_vl x.rc");
  EXPECT_FALSE(proc.Execute());
  EXPECT_EQ(proc.LastError(), kErrorFileNotFound);
  EXPECT_EQ(rec.errors, std::vector<std::string>{"Process not found: \"no_such_program_vl x.rc\""});
  EXPECT_TRUE(rec.debug.empty());
  EXPECT_EQ(rec.completes, 0);
  EXPECT_EQ(proc.UseShow(), kCaptureOutput);  // nothing was started
}

TEST_F(RunProcess, CapturedRunTracesExactlyAndKeepsOutputOrder) {
  std::string tool = dir / "tool";
  WriteScript(tool, "echo out1; echo err1 >&2; printf 'no break'; exit 3");
  proc.SetCommand(tool + " a");
  EXPECT_TRUE(proc.Execute());
  EXPECT_EQ(proc.LastError(), 0);
  EXPECT_EQ(proc.ExitCode(), 3);
  EXPECT_EQ(rec.output, "out1\nerr1\nno break");
  EXPECT_EQ(rec.FlushedBytes(), rec.output.size());
  EXPECT_TRUE(rec.errors.empty());
  EXPECT_EQ(rec.completes, 1);
  EXPECT_EQ(rec.Trace(), (std::vector<std::string>{
      "Process Full File Name: " + tool, "Creating Redirection Handles",
      "Creating Process: [" + tool + " a]", "Begin Wait Process Completion", "Begin Redirection",
      "End Redirection", "End Wait Process Completion", "Closing Process/Thread handles",
      "Closing Redirection Handles"}));
  EXPECT_TRUE(NoChildrenLeft());

  // The captured run left UseShow at 0: the next run is hidden and captures nothing.
  EXPECT_EQ(proc.UseShow(), 0);
  rec.Reset();
  EXPECT_TRUE(proc.Execute());
  EXPECT_EQ(rec.output, "");
  EXPECT_EQ(rec.Trace(), (std::vector<std::string>{
      "Process Full File Name: " + tool, "Creating Process: [" + tool + " a]",
      "Begin Wait Process Completion", "End Wait Process Completion", "Closing Process/Thread handles"}));
  EXPECT_EQ(proc.ExitCode(), 3);
}

TEST_F(RunProcess, BinaryOutputIsByteIdenticalAndArgumentsArriveSplit) {
  std::string expected;
  for (int i = 0; i < 256; ++i) expected += static_cast<char>(i);
  std::string bin = dir / "all.bin";
  WriteFile(bin, expected, false);
  std::string tool = dir / "tool";
  WriteScript(tool, "cat \"$1\"; shift; for a in \"$@\"; do printf '[%s]' \"$a\"; done");
  proc.SetCommand(tool + " " + bin + " \"two words\" x\\\"y  last");
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.output, expected + "[two words][x\"y][last]");
}

TEST_F(RunProcess, QuotedProgramPathWithBlanks) {
  std::string tool = dir / "my tools/rc";
  WriteScript(tool, "printf '%s|' \"$0\" \"$@\"");
  proc.SetCommand("\"" + tool + "\" x.rc -v");
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.output, tool + "|x.rc|-v|");
  EXPECT_EQ(rec.Trace().at(2), "Creating Process: [\"" + tool + "\" x.rc -v]");

  // Unquoted, the path is cut at its blank.
  rec.Reset();
  proc.SetUseShow(kCaptureOutput);
  proc.SetCommand(tool + " x.rc");
  EXPECT_FALSE(proc.Execute());
  EXPECT_EQ(rec.errors, std::vector<std::string>{"Process not found: \"" + tool + " x.rc\""});
}

TEST_F(RunProcess, CommandInterpreter) {
  ScopedEnv comspec("COMSPEC", "/bin/sh");
  proc.SetUseComSpec(true);
  proc.SetCommand("echo hi | tr a-z A-Z; exit 4");
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.output, "HI\n");
  EXPECT_EQ(proc.ExitCode(), 4);
  EXPECT_EQ(rec.Trace().at(0), "Using COMSPEC=/bin/sh");
  EXPECT_EQ(rec.Trace().at(2), "Creating Process: [/bin/sh -c echo hi | tr a-z A-Z; exit 4]");

  // Without COMSPEC the user's shell, then /bin/sh.
  ScopedEnv noComspec("COMSPEC", nullptr);
  ScopedEnv shell("SHELL", nullptr);
  rec.Reset();
  proc.SetUseShow(kCaptureOutput);
  proc.SetCommand("echo via sh");
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.Trace().at(0), "Using COMSPEC=/bin/sh");
  EXPECT_EQ(rec.output, "via sh\n");
}

TEST_F(RunProcess, ProgramThatCannotBeStarted) {
  std::string tool = dir / "noshebang";
  WriteFile(tool, "\x7f" "ELF garbage", true);
  proc.SetCommand(tool + " x");
  int fds = OpenDescriptors();
  EXPECT_FALSE(proc.Execute());
  EXPECT_EQ(proc.LastError(), ENOEXEC);
  EXPECT_EQ(rec.errors, std::vector<std::string>{"CreateProcess Error (" + std::to_string(ENOEXEC) + ") " +
                                                 tool + " x"});
  EXPECT_EQ(rec.Trace().back(), "Closing Redirection Handles");
  EXPECT_EQ(rec.completes, 0);
  EXPECT_EQ(OpenDescriptors(), fds);
  EXPECT_TRUE(NoChildrenLeft());
}

TEST_F(RunProcess, FloodOfOutputIsDrainedWithoutDeadlock) {
  constexpr std::size_t kSize = 10 * 1024 * 1024;
  std::string tool = dir / "flood";
  // Both streams at once, so that neither may block the other.
  WriteScript(tool, "head -c " + std::to_string(kSize) + " /dev/zero | tr '\\0' x; "
                    "head -c 100000 /dev/zero | tr '\\0' y >&2");
  std::size_t xs = 0, ys = 0, other = 0;
  proc.OnRedirectChar = [&](TObject*, char c) { (c == 'x' ? xs : c == 'y' ? ys : other)++; };
  proc.SetCommand(tool);
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(xs, kSize);
  EXPECT_EQ(ys, 100000u);
  EXPECT_EQ(other, 0u);
  EXPECT_EQ(proc.ExitCode(), 0);
}

TEST_F(RunProcess, TaskSwitchIsAskedWhileWaiting) {
  std::string tool = dir / "nap";
  WriteScript(tool, "sleep 0.35; echo done");
  proc.SetCommand(tool);
  ASSERT_TRUE(proc.Execute());
  EXPECT_GE(rec.taskSwitches, 2);
  EXPECT_EQ(rec.output, "done\n");

  // Without waiting nobody is asked, the output is not read, and the child is still reaped.
  std::string pidFile = dir / "pid";
  WriteScript(tool, "echo $$ > '" + pidFile + "'; echo lost");
  rec.Reset();
  proc.SetUseShow(kCaptureOutput);
  proc.SetUseWait(false);
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.taskSwitches, 0);
  EXPECT_EQ(rec.output, "");
  EXPECT_EQ(rec.completes, 1);
  EXPECT_EQ(proc.ExitCode(), -1);
  EXPECT_EQ(rec.Trace(), (std::vector<std::string>{
      "Process Full File Name: " + tool, "Creating Redirection Handles", "Creating Process: [" + tool + "]",
      "Closing Process/Thread handles", "Closing Redirection Handles"}));
  pid_t pid = ReadPid(pidFile);
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(GoneWithin10s(pid));
}

TEST_F(RunProcess, EndlessChildStoppedThroughTaskSwitch) {
  std::string pidFile = dir / "pid";
  std::string tool = dir / "endless";
  WriteScript(tool, "echo $$ > '" + pidFile + "'; echo started; exec sleep 60");
  proc.SetCommand(tool);
  rec.abortIf = [&] { return rec.taskSwitches >= 3 && rec.output == "started\n"; };
  int fds = OpenDescriptors();
  ASSERT_TRUE(proc.Execute());
  EXPECT_GE(rec.taskSwitches, 3);
  EXPECT_EQ(rec.errors, std::vector<std::string>{"Force Exit: Process Wait Completion Aborted"});
  EXPECT_EQ(rec.completes, 1);
  EXPECT_EQ(proc.LastError(), 0);
  EXPECT_EQ(rec.output, "started\n");
  std::vector<std::string> trace = rec.Trace();
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(trace.end() - 2, trace.end()),
            (std::vector<std::string>{"Closing Process/Thread handles", "Closing Redirection Handles"}));
  EXPECT_EQ(OpenDescriptors(), fds);

  // The program runs on by default; once it ends it is reaped in the background.
  pid_t pid = ReadPid(pidFile);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(::kill(pid, 0), 0);
  ::kill(pid, SIGTERM);
  EXPECT_TRUE(GoneWithin10s(pid));

  // KillOnAbort stops it (and reaps it) at once.
  std::filesystem::remove(pidFile);
  rec.Reset();
  rec.abortIf = [&] { return rec.output == "started\n"; };
  proc.SetUseShow(kCaptureOutput);
  proc.SetKillOnAbort(true);
  ASSERT_TRUE(proc.Execute());
  pid = ReadPid(pidFile);
  ASSERT_GT(pid, 0);
  EXPECT_NE(::kill(pid, 0), 0);
  EXPECT_TRUE(NoChildrenLeft());
}

TEST_F(RunProcess, BackgroundProcessHoldingTheOutputDoesNotKeepTheCallerWaiting) {
  std::string tool = dir / "bg";
  WriteScript(tool, "(sleep 3; echo late) & echo early");
  proc.SetCommand(tool);
  ASSERT_TRUE(proc.Execute());
  EXPECT_EQ(rec.output, "early\n");
  EXPECT_LT(rec.taskSwitches, 10);
}

TEST_F(RunProcess, ChildGetsNoStrayDescriptorsNoInputAndDefaultSignals) {
  int leaked = ::open("/dev/null", O_RDONLY);  // deliberately without close-on-exec
  ASSERT_GE(leaked, 0);
  auto oldPipe = std::signal(SIGPIPE, SIG_IGN);
  std::string tool = dir / "probe";
  WriteScript(tool, "test -e /proc/self/fd/" + std::to_string(leaked) +
                        " && echo leaked || echo closed; read line; echo \"in:$line\"; yes | head -c 4");
  proc.SetCommand(tool);
  ASSERT_TRUE(proc.Execute());
  std::signal(SIGPIPE, oldPipe);
  ::close(leaked);
  // `yes` dies of SIGPIPE quietly instead of reporting a broken pipe.
  EXPECT_EQ(rec.output, "closed\nin:\ny\ny\n");
}

TEST_F(RunProcess, HandlerExceptionLeavesNothingBehind) {
  std::string tool = dir / "talk";
  WriteScript(tool, "echo hello; sleep 0.2");
  proc.SetCommand(tool);
  proc.OnRedirectChar = [](TObject*, char) { throw std::runtime_error("handler failed"); };
  int fds = OpenDescriptors();
  EXPECT_THROW(proc.Execute(), std::runtime_error);
  EXPECT_EQ(OpenDescriptors(), fds);
  // The child is reaped in the background once it ends.
  for (int i = 0; i < 500 && !NoChildrenLeft(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(NoChildrenLeft());
}

}  // namespace
}  // namespace vorlect::process
