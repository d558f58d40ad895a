// The two compiler tools the string-module builder runs, and the dialog that configures them.
//
// Where the tools are comes from the registry's IDE keys (HKEY_LOCAL_MACHINE
// "SOFTWARE\Borland\Delphi\<version>", value "RootDir", tools in RootDir's "bin" folder; versions
// 4.0, 3.0 and 2.0 in that order). `vorlect project register-tools` writes that key for an
// installation. When no key names both tools, the tools installed beside the running program are
// used: in the same folder, or, in a build tree, in their own folders next to it.
#pragma once

#include <optional>
#include <string>

namespace vorlect::vle {

// Held for the whole life of the library and never stored.
struct TToolPaths {
  std::string Compiler;          // library compiler: F.dpr -> F.dll
  std::string ResourceCompiler;  // resource compiler: F.rc -> F.res
  bool operator==(const TToolPaths&) const = default;
};

inline constexpr const char* kToolsKeyPrefix = "SOFTWARE\\Borland\\Delphi\\";
inline constexpr const char* kToolVersions[] = {"4.0", "3.0", "2.0"};
inline constexpr const char* kRootDirValue = "RootDir";
#ifdef _WIN32
inline constexpr const char* kCompilerFile = "vldcc.exe";
inline constexpr const char* kResourceCompilerFile = "vlrc.exe";
#else
inline constexpr const char* kCompilerFile = "vldcc";
inline constexpr const char* kResourceCompilerFile = "vlrc";
#endif

// RootDir's bin folder joined with a tool's file name.
std::string ToolBelowRoot(const std::string& rootDir, const char* file);

// The registry tries, in version order, starting from empty paths. A key with "RootDir" sets
// both paths; the try succeeds when both files exist. Returns whether one succeeded (the paths
// may name missing files when none did).
bool ReadRegisteredToolPaths(TToolPaths& paths);

// The tools beside a program in `exeFolder` (same folder, else ../vlrc/vlrc and ../vldcc/vldcc),
// when both exist.
std::optional<TToolPaths> ToolsBeside(const std::string& exeFolder);

// The folder of the running program; empty when unknown.
std::string RunningProgramFolder();

// Registry first; when it names no existing pair, the tools beside `exeFolder` when present;
// else what the registry left.
TToolPaths DetectToolPaths(const std::string& exeFolder);

// The library's tool paths, detected on first use.
TToolPaths& ToolPaths();

// Writes RootDir under the newest version's key. Throws platform::RegistryError.
void RegisterToolRoot(const std::string& rootDir);

// Whether a tool field names an existing file (the green mark).
bool ToolFileExists(const std::string& path);

// TFrmConfigTools without its window.
class TFrmConfigTools {
public:
  static constexpr const char* kCaption = "Configure Borland Tools";
  static constexpr const char* kResourceCompilerLabel = "&Resource Compiler";
  static constexpr const char* kCompilerLabel = "&Delphi Command Line Compiler";

  // Opening: the fields take the tool paths and are checked.
  explicit TFrmConfigTools(TToolPaths& paths);

  std::string EdResourceCompiler;
  std::string EdCompiler;
  bool ResourceCompilerFound = false;  // green mark, else red
  bool CompilerFound = false;
  bool OkEnabled = false;

  // Runs when the dialog opens and when either field loses the focus.
  void CheckFiles();
  void FieldExit() { CheckFiles(); }
  // OK stores both fields into the tool paths (only while OK is enabled); Cancel stores nothing.
  bool BtnOkClick();

private:
  TToolPaths& paths_;
};

}  // namespace vorlect::vle
