// TRunProcess: starts a console program, optionally waits for it and optionally captures its
// standard output and standard error, handing every captured byte to OnRedirectChar.
//
// How it maps to this platform:
// - The program is found with FindProgram (DosLib2); its arguments (the rest of Command) are split
//   the way a Windows program would split its command line. A program path with blanks may be
//   written in double quotes.
// - UseComSpec runs Command through the command interpreter: $COMSPEC when set, else $SHELL, else
//   /bin/sh, as `interpreter -c Command`.
// - UseShow: -2 captures standard output and standard error through one pipe (and then becomes 0);
//   0 runs the program hidden (its output is discarded, as nobody sees a hidden console); any
//   other value lets it write to the caller's standard output and error. Standard input is never
//   shared: the program reads /dev/null. The program runs in its own process group, like a
//   program in its own console.
// - While waiting, the pipe is drained continuously (a program that floods its output never
//   blocks) and OnTaskSwitch is asked every 100 ms; answering false stops the wait. The program
//   then runs on (unless KillOnAbort), but every child is reaped in the background, so none is
//   left as a zombie. Only what the program had written when it ended is read: a background
//   process that inherited the output cannot keep the caller waiting.
// - LastError holds errno values for failing system calls (2 also for a program not found, 87
//   for an empty command).
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <string>

namespace vorlect::process {

using host::TComponent;
using host::TObject;

// Events. Results travel through the reference argument, preset to true.
using TOnRedirectChar = host::TEvent<TObject*, char>;
using TOnTaskSwitch = host::TEvent<TObject*, bool&>;
using TOnComplete = host::TEvent<TObject*, bool&>;
using TOnError = host::TEvent<TObject*, const std::string&>;
using TOnDebug = host::TEvent<TObject*, const std::string&>;

// The system's own texts.
inline constexpr const char* kMsgCommandEmpty = "Process Command Empty";
inline constexpr const char* kMsgUsingComSpec = "Using COMSPEC=";
inline constexpr const char* kMsgNotFound = "Process not found: ";
inline constexpr const char* kMsgFullFileName = "Process Full File Name: ";
inline constexpr const char* kMsgCreatingRedirection = "Creating Redirection Handles";
inline constexpr const char* kMsgCreatePipeError = "Error CreatePipe : ";
inline constexpr const char* kMsgCreatingProcess = "Creating Process: [";
inline constexpr const char* kMsgCreateProcessError = "CreateProcess Error (";
inline constexpr const char* kMsgBeginWait = "Begin Wait Process Completion";
inline constexpr const char* kMsgBeginRedirection = "Begin Redirection";
inline constexpr const char* kMsgForceExit = "Force Exit: Process Wait Completion Aborted";
inline constexpr const char* kMsgClosingProcess = "Closing Process/Thread handles";
inline constexpr const char* kMsgClosingRedirection = "Closing Redirection Handles";
inline constexpr const char* kMsgEndRedirection = "End Redirection";
inline constexpr const char* kMsgEndWait = "End Wait Process Completion";
inline constexpr const char* kMsgFlush = "Flush Redirection (bytes: ";

inline constexpr int kErrorInvalidParameter = 87;
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kCaptureOutput = -2;

class TRunProcess : public host::TComponent {
  VORLECT_CLASS(TRunProcess, host::TComponent)
public:
  explicit TRunProcess(TComponent* owner);
  ~TRunProcess() override;

  // True when the program was started.
  bool Execute();

  int LastError() const { return lastError_; }
  const std::string& Command() const { return command_; }
  void SetCommand(const std::string& command) { command_ = command; }
  bool UseWait() const { return useWait_; }
  void SetUseWait(bool value) { useWait_ = value; }
  bool UseComSpec() const { return useComSpec_; }
  void SetUseComSpec(bool value) { useComSpec_ = value; }
  int UseShow() const { return useShow_; }
  void SetUseShow(int value) { useShow_ = value; }

  // Not published. The exit status of the last program that was waited for to its end (the
  // signal number + 128 when a signal ended it); -1 when unknown (not waited, aborted, not run).
  int ExitCode() const { return exitCode_; }
  // Not published. Whether a wait stopped through OnTaskSwitch also kills the program (and its
  // process group). Off by default: the program runs on, as it always did.
  bool KillOnAbort() const { return killOnAbort_; }
  void SetKillOnAbort(bool value) { killOnAbort_ = value; }

  TOnError OnError;
  TOnDebug OnDebug;
  TOnTaskSwitch OnTaskSwitch;
  TOnRedirectChar OnRedirectChar;
  TOnComplete OnComplete;

protected:
  virtual void DoError(const std::string& msg);
  virtual void DoDebug(const std::string& msg);
  virtual bool DoTaskSwitch();
  virtual void DoRedirectChar(char ch);
  virtual void DoComplete();

private:
  class Run;

  int lastError_ = 0;
  std::string command_;
  bool useWait_ = true;
  bool useComSpec_ = false;
  int useShow_ = kCaptureOutput;
  int exitCode_ = -1;
  bool killOnAbort_ = false;
};

// Registers TRunProcess for form loading. Idempotent.
void RegisterProcessClasses();

}  // namespace vorlect::process
