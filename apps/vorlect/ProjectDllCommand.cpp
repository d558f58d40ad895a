// vorlect project build-dlls PROJECT.dpr BASE: exports the project's tables to one resource script
// per language (BASE1.rc, BASE2.rc ...) and builds one string module per language from them.
// vorlect project register-tools [ROOT]: records where the two compilers are installed.
#include "CliSupport.h"
#include "Commands.h"

#include "vle/VLSettings.h"
#include "vle/dllmaker/FConfig.h"
#include "vle/dllmaker/FDllMaker.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/ProjectForms.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

namespace vorlect::cli {

namespace fs = std::filesystem;

// Builds BASE1.dll, BASE2.dll ... from the scripts in `folder`, printing every progress line;
// the languages' code pages come from the configured language list. Returns the exit status.
int BuildDllsInFolder(const std::string& baseName, const std::string& folder,
                      const vle::TToolPaths& tools = vle::ToolPaths()) {
  LoadSettings();
  std::vector<std::uint16_t> ids;
  for (int i = 0; i < vle::LanguageIds().Count(); ++i)
    ids.push_back(static_cast<std::uint16_t>(vle::LanguageIdOf(vle::LanguageIds().Strings(i))));

  vle::TDllBuildSettings settings;
  settings.Folder = folder;
  settings.BaseName = baseName;
  settings.Tools = tools;
  settings.LanguageId = [ids](int index) -> std::uint16_t {
    return index >= 0 && index < static_cast<int>(ids.size()) ? ids[static_cast<std::size_t>(index)] : 0;
  };
  if (!fs::exists(fs::path(folder.empty() ? "." : folder) / (baseName + "1.rc"))) {
    std::fprintf(stderr, "vorlect: no resource script %s1.rc in %s: nothing to build\n", baseName.c_str(),
                 folder.empty() ? "." : folder.c_str());
    return 1;
  }

  vle::TToolRunner runner;
  vle::TFrmDLLProgress dialog(runner, settings, {});
  dialog.OnProgress = [](const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  };
  dialog.FormShow();
  return dialog.BtnGoClick() ? 0 : 1;
}

namespace {

struct BuildArgs {
  std::string project, base, compiler, resourceCompiler, forms;
  bool noExport = false;
  QuestionOptions questions;
};

// Writes BASE1.rc, BASE2.rc ... (one script per language) beside the project from the chosen
// forms, as the project manager's resource export does. `unreadable` counts the forms that could
// not be read (each named on standard error).
bool ExportScripts(const BuildArgs& a, const std::string& folder, int& unreadable) {
  vle::ProjectSession session(a.project, TerminalProgress());
  const auto unknown = vle::SelectForms(session.Catalogue(), vle::SplitFormNames(a.forms));
  if (!unknown.empty()) throw UsageError("no form \"" + unknown.front() + "\" in " + a.project);
  const std::string script = (fs::path(folder.empty() ? "." : folder) / (a.base + "1.rc")).string();
  vle::TExportOptions options;
  options.scriptBase = a.base;  // BASE1.rc ... whatever BASE ends in
  const bool exported = vle::ExportProject(session.Catalogue(), script, options, false) > 0;
  unreadable = ReportUnreadableForms(session.Catalogue());
  return exported;
}

int RunBuildDlls(const BuildArgs& a) {
  if (a.base.empty() || a.base.find('/') != std::string::npos)
    throw Failure("the base name must be a file name without folder: \"" + a.base + "\"");
  // Scripts, library sources and modules beside the project: one build at a time.
  const auto lock = LockProject(a.project);
  vle::TToolPaths tools = vle::ToolPaths();
  if (!a.compiler.empty()) tools.Compiler = a.compiler;
  if (!a.resourceCompiler.empty()) tools.ResourceCompiler = a.resourceCompiler;
  const std::string folder = fs::path(a.project).parent_path().string();
  RunPorts ports(a.questions);
  LoadSettings();
  int unreadable = 0;
  if (!a.noExport && !ExportScripts(a, folder, unreadable)) {
    std::fprintf(stderr, "vorlect: no translation table was exported to %s1.rc\n", a.base.c_str());
    return 1;
  }
  const int status = BuildDllsInFolder(a.base, folder, tools);
  return unreadable == 0 ? status : 1;
}

int RunRegisterTools(std::string root) {
  if (root.empty()) {
    // An installation keeps vorlect and the tools in ROOT/bin.
    root = fs::path(vle::RunningProgramFolder()).parent_path().string();
  }
  root = fs::absolute(root).lexically_normal().string();
  if (root.size() > 1 && root.back() == '/') root.pop_back();
  const std::string compiler = vle::ToolBelowRoot(root, vle::kCompilerFile);
  const std::string resourceCompiler = vle::ToolBelowRoot(root, vle::kResourceCompilerFile);
  for (const std::string& tool : {resourceCompiler, compiler})
    if (!vle::ToolFileExists(tool)) throw Failure("tool not found: " + tool);
  vle::RegisterToolRoot(root);
  std::cout << "resource compiler: " << resourceCompiler << "\nlibrary compiler:  " << compiler << "\n";
  return 0;
}

}  // namespace

void AddProjectDllCommands(CLI::App& project, Action& action) {
  auto args = std::make_shared<BuildArgs>();
  CLI::App* build = project.add_subcommand(
      "build-dlls",
      "Export the project's tables to BASE1.rc, BASE2.rc ... (one per language) beside the project, then build "
      "BASE1.dll, BASE2.dll ... from them");
  build->add_option("PROJECT", args->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  build->add_option("BASE", args->base, "DLL base name, e.g. Strings for Strings1.rc")->required();
  build->add_option("--compiler", args->compiler, "Library compiler to use instead of the configured one");
  build->add_option("--resource-compiler", args->resourceCompiler,
                    "Resource compiler to use instead of the configured one");
  build->add_option("--forms", args->forms, "Export only these forms (names in braces, class or file names)");
  build->add_flag("--no-export", args->noExport, "Build from the scripts already there, without exporting first");
  AddQuestionOptions(*build, args->questions);
  build->footer("Prints every progress line; exits with 1 when a step fails.");
  build->callback([args, &action] { action = [args] { return RunBuildDlls(*args); }; });

  auto root = std::make_shared<std::string>();
  auto questions = std::make_shared<QuestionOptions>();
  CLI::App* reg = project.add_subcommand(
      "register-tools", "Record ROOT (default: the folder above this program's) as the tools' root folder");
  reg->add_option("ROOT", *root, "Folder whose bin folder holds vlrc and vldcc");
  AddQuestionOptions(*reg, *questions);
  reg->callback([root, questions, &action] {
    action = [root, questions] {
      RunPorts ports(*questions);
      return RunRegisterTools(*root);
    };
  });
}

}  // namespace vorlect::cli
