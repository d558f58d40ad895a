// Input, output and error reporting shared by the subcommands.
#pragma once

#include "platform/Files.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::cli {

// A failure to report on standard error; the tool exits with status 1.
class Failure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A mistake in the command line found once it runs (a --forms name no form has): status 2.
class UsageError : public Failure {
public:
  using Failure::Failure;
};

// Reads a whole file, or standard input for "-".
std::string ReadInput(const std::string& path);

// Reads a form file (standard input for "-"): a file of another kind is refused after its first
// bytes, never read whole.
std::string ReadFormInput(const std::string& path);

// Writes a whole file atomically, or to standard output for "-".
void WriteOutput(const std::string& path, std::string_view data);

// Held by a project command that writes the project's files, from before it reads the forms to
// its end: a second such command on the same project waits for it (saying so on standard error),
// so that their changes never mix. A lock file beside the project (PROJECT.dpr.lock) that goes
// with the run, also when the run is killed.
std::unique_ptr<platform::FileLock> LockProject(const std::string& project);

// The name to use in messages for a path ("<stdin>" for "-").
std::string DisplayName(const std::string& path);

// A text of `codePage` (the ANSI code page's texts, a language column's) in UTF-8 for output.
std::string Utf8Of(std::string_view bytes, int codePage);

// A whole decimal number ("3"), or 0 for anything else ("3x", "", "-1", too large).
int WholeNumber(const std::string& text);

// The settings a command reads are checked whole before it reads them: a damaged hive throws a
// Failure naming its file, line and what is wrong (the windows keep their defaults instead; a run
// of the command line must not go on with the wrong code pages or tools).
void CheckSettings();
// The expert's settings read for a run (separator, language names and identifiers), checked first.
void LoadSettings();

// A progress line per form ("12/40 path/Form.dfm") on standard error when it is a terminal;
// nothing otherwise (logs of scripted runs stay short).
std::function<void(int done, int total, const std::string& formFile)> TerminalProgress();

}  // namespace vorlect::cli

namespace CLI {
class App;
}

namespace vorlect::ports {
class CliPorts;
class Ports;
}
namespace vorlect::vle {
class TFPrjList;
}

namespace vorlect::cli {

// --yes / --no of a subcommand: how the questions of a run are answered.
struct QuestionOptions {
  bool yes = false;
  bool no = false;
};
void AddQuestionOptions(CLI::App& command, QuestionOptions& options);

// --forms of a project subcommand, and the selection it makes: the forms it names (all without
// it). Each name that matches no form is printed, and the selection is then refused (false).
void AddFormsOption(CLI::App& command, std::string& forms);
bool SelectNamedForms(vle::TFPrjList& catalogue, const std::string& forms);

// Names each selected form whose file could not be read, with the reason, on standard error;
// returns how many there were (the command then exits 1).
int ReportUnreadableForms(const vle::TFPrjList& catalogue);

// The ports of one run, current while this lives. --yes answers Yes (or OK), --no answers No
// (or Cancel); with neither, a question is asked on the terminal when standard input is one, and
// otherwise takes No. An input box is answered OK with its value by --yes, read from the terminal
// when there is one, and cancelled otherwise (a command may change that through KeepInputValue). Every message is printed to standard error with its type.
class RunPorts {
public:
  explicit RunPorts(const QuestionOptions& options);
  ~RunPorts();
  RunPorts(const RunPorts&) = delete;
  RunPorts& operator=(const RunPorts&) = delete;
  ports::CliPorts& Ports() { return *ports_; }

private:
  std::unique_ptr<ports::CliPorts> ports_;
  ports::Ports* previous_ = nullptr;
};

}  // namespace vorlect::cli
