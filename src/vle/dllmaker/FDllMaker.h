// The string-module builder: one resource script per language (B1.rc, B2.rc ...) becomes B1.res
// through the resource compiler, a generated library source B1.dpr, and B1.dll through the
// library compiler. TFrmDLLProgress is its progress dialog without the window.
#pragma once

#include "process/wexeclib.h"
#include "vle/dllmaker/FConfig.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorlect::vle {

// Collects a tool's captured output into lines. A line ends at a carriage return, or at a line
// feed that does not follow one (the tools here end their lines with a line feed alone); the
// line feed of a CR LF pair is dropped. Finish keeps a last line that has no line break.
class TOutputCollector {
public:
  void Clear();
  void Add(char ch);
  void Finish();
  const std::vector<std::string>& Lines() const { return lines_; }
  // Sees every line as soon as it is complete (a window shows a tool's output while it runs).
  std::function<void(const std::string&)> OnLine;

private:
  void EndLine();

  std::vector<std::string> lines_;
  std::string partial_;
  bool afterCr_ = false;
};

// The process runner with its output bound to a collector: the project manager owns one.
class TToolRunner {
public:
  TToolRunner();
  TToolRunner(const TToolRunner&) = delete;
  TToolRunner& operator=(const TToolRunner&) = delete;

  // Runs `command` to its end with output capture. The output list is emptied first; errors of
  // the run (a tool not found, not startable) are ignored: the caller looks for the output file.
  void Run(const std::string& command);

  process::TRunProcess Process;
  TOutputCollector Output;
};

// The progress lines.
inline constexpr const char* kMsgCannotDelete = "Cannot delete existing file ";
inline constexpr const char* kMsgCouldNotCompileScript = "Could not compile resource script ";
inline constexpr const char* kMsgCompiledScript = "Compiled script ";
inline constexpr const char* kMsgGenerateSource = "Generate DLL source file ";
inline constexpr const char* kMsgCouldNotGenerate = "Could not generate file ";
inline constexpr const char* kMsgCouldNotCompileDll = "Could not compile DLL ";
inline constexpr const char* kMsgCompiledDll = "Compiled DLL ";

// The library source generated for the file base F (B followed by the language number).
std::string GeneratedLibrarySource(const std::string& fileBase);

// Quotes one command-line argument so that the runner's argument splitting gives it back
// unchanged (blanks, tabs and double quotes are the special characters).
std::string QuoteArgument(const std::string& arg);

struct TDllBuildSettings {
  std::string Folder;    // holds the scripts; empty for the current folder
  std::string BaseName;  // B
  TToolPaths Tools;
  // Windows language identifier of language `index` (the script B<index+1>.rc); 0 when none.
  // A known identifier makes the resource compiler read the script in that language's code
  // page and give its string table that resource language.
  std::function<std::uint16_t(int index)> LanguageId;
};

struct TDllBuildResult {
  bool Completed = false;  // every script built (also when there was none)
  int Built = 0;           // DLLs built
};

// The build for i = 1, 2, ... while B<i>.rc exists; every progress line goes to `addLine`.
// `stopRequested` is asked before and after each tool run; true ends the build silently.
TDllBuildResult BuildStringDlls(const TDllBuildSettings& settings, TToolRunner& runner,
                                const std::function<void(const std::string&)>& addLine,
                                const std::function<bool()>& stopRequested = {});

// TFrmDLLProgress without its window.
class TFrmDLLProgress {
public:
  static const std::vector<std::string>& Explanation();

  // `onBuilt` runs after a build that reached its end: it enables "Empty StringLists" in the
  // project manager.
  TFrmDLLProgress(TToolRunner& runner, TDllBuildSettings settings, std::function<void()> onBuilt);

  // "Create B*.dll"
  std::string Caption() const;

  std::vector<std::string> Progress;
  bool GoEnabled = true;
  bool OkEnabled = false;
  bool OkInFront = false;
  bool StopRequested = false;
  // Called with every progress line as it is added (the window repaints, the command line prints).
  std::function<void(const std::string&)> OnProgress;
  // Called with every line a tool writes, while it runs (the progress list gets a failed tool's
  // lines only after its failure line).
  std::function<void(const std::string&)> OnToolOutput;
  // When set, called every 100 ms while a tool runs (the window processes its messages there, so
  // Cancel can be pressed); a stop request then ends the tool and the build.
  std::function<void()> OnWait;

  // Opening: empty progress list, "&Go!" enabled, OK behind the other buttons and disabled.
  void FormShow();
  // "&Go!": returns whether the build reached its end.
  bool BtnGoClick();
  // Cancel while building records a stop request; returns true when the dialog closes.
  bool BtnCancelClick();

private:
  TToolRunner& runner_;
  TDllBuildSettings settings_;
  std::function<void()> onBuilt_;
  bool building_ = false;
};

}  // namespace vorlect::vle
