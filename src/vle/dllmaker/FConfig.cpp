#include "vle/dllmaker/FConfig.h"

#include "platform/Registry.h"

#include <filesystem>
#include <system_error>

namespace vorlect::vle {

namespace fs = std::filesystem;

std::string ToolBelowRoot(const std::string& rootDir, const char* file) {
  std::string root = rootDir;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root + "/bin/" + file;
}

bool ToolFileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

bool ReadRegisteredToolPaths(TToolPaths& paths) {
  paths = {};
  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  for (const char* version : kToolVersions) {
    try {
      if (!reg.OpenKeyReadOnly(std::string("\\") + kToolsKeyPrefix + version)) continue;
      if (reg.ValueExists(kRootDirValue)) {
        const std::string root = reg.ReadString(kRootDirValue);
        paths.Compiler = ToolBelowRoot(root, kCompilerFile);
        paths.ResourceCompiler = ToolBelowRoot(root, kResourceCompilerFile);
        if (ToolFileExists(paths.Compiler) && ToolFileExists(paths.ResourceCompiler)) return true;
      }
    } catch (const platform::RegistryError&) {
      // A damaged hive or a RootDir that is not a string counts as no key: the next version
      // or the tools beside the program serve.
    }
    reg.CloseKey();
  }
  return false;
}

std::optional<TToolPaths> ToolsBeside(const std::string& exeFolder) {
  if (exeFolder.empty()) return std::nullopt;
  const fs::path here(exeFolder);
  const std::pair<fs::path, fs::path> layouts[] = {
      {here / kCompilerFile, here / kResourceCompilerFile},
      {here.parent_path() / "vldcc" / kCompilerFile, here.parent_path() / "vlrc" / kResourceCompilerFile},
  };
  for (const auto& [compiler, resourceCompiler] : layouts) {
    if (ToolFileExists(compiler.string()) && ToolFileExists(resourceCompiler.string()))
      return TToolPaths{compiler.lexically_normal().string(), resourceCompiler.lexically_normal().string()};
  }
  return std::nullopt;
}

std::string RunningProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

TToolPaths DetectToolPaths(const std::string& exeFolder) {
  TToolPaths paths;
  if (ReadRegisteredToolPaths(paths)) return paths;
  if (auto beside = ToolsBeside(exeFolder)) return *beside;
  return paths;
}

TToolPaths& ToolPaths() {
  static TToolPaths paths = DetectToolPaths(RunningProgramFolder());
  return paths;
}

void RegisterToolRoot(const std::string& rootDir) {
  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  if (!reg.OpenKey(std::string("\\") + kToolsKeyPrefix + kToolVersions[0], true))
    throw platform::RegistryError(std::string("cannot create the key ") + kToolsKeyPrefix + kToolVersions[0]);
  reg.WriteString(kRootDirValue, rootDir);
}

TFrmConfigTools::TFrmConfigTools(TToolPaths& paths)
    : EdResourceCompiler(paths.ResourceCompiler), EdCompiler(paths.Compiler), paths_(paths) {
  CheckFiles();
}

void TFrmConfigTools::CheckFiles() {
  ResourceCompilerFound = ToolFileExists(EdResourceCompiler);
  CompilerFound = ToolFileExists(EdCompiler);
  OkEnabled = ResourceCompilerFound && CompilerFound;
}

bool TFrmConfigTools::BtnOkClick() {
  CheckFiles();
  if (!OkEnabled) return false;
  paths_.Compiler = EdCompiler;
  paths_.ResourceCompiler = EdResourceCompiler;
  return true;
}

}  // namespace vorlect::vle
