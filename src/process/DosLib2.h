// Finding program files along the search path, and splitting a command into its program and
// arguments.
//
// A program is looked for in the current folder, then in the folder of the running executable,
// then in each folder of PATH. Where the platform has program extensions (Windows), a name
// without one is tried with .EXE, .COM and .BAT (or .COM first); elsewhere a name is searched
// unchanged and only executable regular files count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlect::process {

// The program part of a command and the rest. The program is everything before the first blank,
// or, when the command starts with a double quote, what the quotes enclose (tools live in folders
// with blanks); `rest` starts right after it (with its blank, if any).
struct ProgramAndRest {
  std::string program;
  std::string_view rest;
  bool quoted = false;
};
ProgramAndRest SplitProgram(std::string_view command);

// The full file name of the command's program, or empty when it is not found.
std::string FindProgram(std::string_view name, bool preferExe);

// The search itself, with the folders and the extension rule given (for the platform-neutral
// parts and for tests). An absolute name is checked on its own. `tryExtensions` enables the
// .EXE/.COM/.BAT order for names without extension.
std::string SearchProgram(std::string_view program, bool preferExe,
                          const std::vector<std::string>& folders, bool tryExtensions);

// The folders FindProgram searches, in order: current folder, the executable's folder, PATH.
std::vector<std::string> ProgramSearchFolders();

// Whether the platform tries program extensions (compile-time).
#ifdef _WIN32
inline constexpr bool kProgramExtensions = true;
#else
inline constexpr bool kProgramExtensions = false;
#endif

// Splits command-line arguments the way a Windows program's C runtime does: blanks and tabs
// separate, double quotes group (and "" inside quotes is one quote), 2n backslashes before a
// quote give n and the quote groups, 2n+1 give n and a literal quote, other backslashes stay.
std::vector<std::string> SplitArguments(std::string_view text);

// Writes a program path for a command line: in double quotes when it holds a blank or a tab.
std::string QuoteProgram(std::string_view path);

}  // namespace vorlect::process
