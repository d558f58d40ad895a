// vorlect project list|add-component|empty|convert PROJECT.dpr: the forms of a whole project.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormFile.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/ProjectForms.h"
#include "vle/project/VLEMain.h"


#include <filesystem>
#include <iostream>
#include <memory>

namespace vorlect::cli {

namespace {

namespace fs = std::filesystem;

// The form file beside a unit: the unit's name with the extension ".dfm", found without regard
// to case as on the original platform.
std::string FormFileOfUnit(const std::string& unitPath) {
  const fs::path unit(unitPath);
  const std::string written = (unit.parent_path().filename() / unit.stem()).string() + ".dfm";
  return toolservices::ResolveProjectPath(unit.parent_path().parent_path().string(), written);
}

const char* FormatName(formfile::FileFormat f) {
  switch (f) {
    case formfile::FileFormat::Text: return "text";
    case formfile::FileFormat::Binary: return "binary";
    case formfile::FileFormat::BinaryWithHeader: return "binary";
    default: return "unknown";
  }
}

struct CatalogueArgs {
  std::string project;
  std::string forms;  // --forms A,B
  int languages = 0;
  QuestionOptions questions;
};


// One line per form: "#L", "Done", form class, form file, tab-separated; status 1 when a form
// file could not be read.
int RunList(const CatalogueArgs& a) {
  RunPorts ports(a.questions);
  vle::ProjectSession session(a.project, TerminalProgress());
  vle::TFPrjList& catalogue = session.Catalogue();
  if (!SelectNamedForms(catalogue, a.forms)) return 2;
  for (int i = 0; i < catalogue.Count(); ++i) {
    const vle::TEntry& e = catalogue.Entry(i);
    // A form that could not be read is named on standard error, not listed as one without a table.
    if (!catalogue.Selected(i) || !e.ReadError.empty()) continue;
    std::printf("%s\t%s\t%s\t%s\n", e.LanguagesCell().c_str(), e.DoneCell().c_str(), e.FormClassName.c_str(),
                e.FormFile.c_str());
  }
  std::fflush(stdout);
  return ReportUnreadableForms(catalogue) == 0 ? 0 : 1;
}

int RunAddComponent(const CatalogueArgs& a) {
  const auto lock = LockProject(a.project);
  LoadSettings();
  RunPorts ports(a.questions);
  vle::ProjectSession session(a.project, TerminalProgress());
  vle::TFPrjList& catalogue = session.Catalogue();
  catalogue.Progress = TerminalProgress();
  if (!SelectNamedForms(catalogue, a.forms)) return 2;
  std::vector<bool> hadOne;
  for (int i = 0; i < catalogue.Count(); ++i) hadOne.push_back(catalogue.Entry(i).InstanceCount > 0);
  if (vle::AddVorlectToAllForms(catalogue, a.languages, true) < 0) {
    ReportUnreadableForms(catalogue);
    return 1;
  }
  int failed = ReportUnreadableForms(catalogue);
  for (int i = 0; i < catalogue.Count(); ++i) {
    const vle::TEntry& e = catalogue.Entry(i);
    if (!catalogue.Selected(i) || !e.ReadError.empty()) continue;
    if (hadOne[static_cast<size_t>(i)]) {
      std::printf("already present\t%s\n", e.FormFile.c_str());
      continue;
    }
    const bool added = e.InstanceCount > 0;
    if (!added) ++failed;
    std::printf("%s\t%s\n", added ? "added" : "FAILED", e.FormFile.c_str());
  }
  return failed == 0 ? 0 : 1;
}

int RunEmpty(const CatalogueArgs& a) {
  const auto lock = LockProject(a.project);
  RunPorts ports(a.questions);
  vle::ProjectSession session(a.project, TerminalProgress());
  vle::TFPrjList& catalogue = session.Catalogue();
  catalogue.Progress = TerminalProgress();
  if (!SelectNamedForms(catalogue, a.forms)) return 2;
  const bool emptied = vle::EmptyAllTables(catalogue, true);
  return ReportUnreadableForms(catalogue) == 0 && emptied ? 0 : 1;
}

// Converts every form to the other format in `outDir` and back again, and says whether the round
// trip gave the original bytes.
// The file a form converts to: text forms become binary "<stem>.dfm", binary ones "<stem>.txt".
std::string ConvertedPath(const std::string& dfm, formfile::FileFormat format, const std::string& outDir) {
  const std::string stem = fs::path(dfm).stem().string();
  return (fs::path(outDir) / (stem + (format == formfile::FileFormat::Text ? ".dfm" : ".txt"))).string();
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec) && !ec;
}

int RunConvert(const std::string& project, const std::string& outDir) {
  toolservices::HeadlessHost host(project);
  // An output that is one of the project's own forms (--out the project's folder) would replace
  // that source by its conversion: refused before anything is written.
  std::vector<std::string> sources;
  for (int i = 0; i < host.HostFormCount(); ++i) sources.push_back(FormFileOfUnit(host.HostFormFile(i)));
  for (const std::string& dfm : sources) {
    std::string data;
    try {
      data = platform::ReadFile(dfm);
    } catch (const std::exception&) {
      continue;  // reported below
    }
    const std::string target = ConvertedPath(dfm, formfile::DetectFormat(data), outDir);
    for (const std::string& source : sources)
      if (SameFile(target, source))
        throw Failure(target + " is a form file of the project; choose another --out folder (nothing was converted)");
  }
  fs::create_directories(outDir);
  int failures = 0;
  for (const std::string& dfm : sources) {
    try {
      const std::string data = platform::ReadFile(dfm);
      formfile::FileFormat format = formfile::FileFormat::Unknown;
      const formfile::Object root = formfile::ReadForm(data, dfm, &format);
      std::string other, back;
      std::string otherPath;
      if (format == formfile::FileFormat::Text) {
        formfile::TextInfo info;
        formfile::ReadText(data, dfm, &info);
        other = formfile::WriteBinary(root, true);
        otherPath = ConvertedPath(dfm, format, outDir);
        formfile::TextOptions options;
        options.lineEnd = info.lineEnd;
        options.byteOrderMark = info.byteOrderMark;
        back = formfile::WriteText(formfile::ReadBinary(other, otherPath), options);
      } else {
        try {
          other = formfile::WriteText(root);
        } catch (const formfile::FormFileError& e) {
          throw formfile::FormFileError(dfm, e.where(), e.detail());
        }
        otherPath = ConvertedPath(dfm, format, outDir);
        back = formfile::WriteBinary(formfile::ReadText(other, otherPath),
                                     format == formfile::FileFormat::BinaryWithHeader);
      }
      platform::WriteFileAtomic(otherPath, other);
      const bool same = back == data;
      if (!same) ++failures;
      std::printf("%-28s %-6s -> %-6s %-32s and back: %s\n", fs::path(dfm).filename().c_str(),
                  FormatName(format), format == formfile::FileFormat::Text ? "binary" : "text",
                  otherPath.c_str(), same ? "identical" : "DIFFERENT");
    } catch (const std::exception& e) {
      ++failures;
      std::cerr << "vorlect: " << e.what() << "\n";
    }
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

void AddProjectCommands(CLI::App& app, Action& action) {
  CLI::App* project = app.add_subcommand("project", "Work on all forms of a project (.dpr)");
  project->require_subcommand(1);

  auto addCatalogueCommand = [&](const char* name, const char* help, int (*run)(const CatalogueArgs&)) {
    auto args = std::make_shared<CatalogueArgs>();
    CLI::App* cmd = project->add_subcommand(name, help);
    cmd->add_option("PROJECT", args->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
    AddFormsOption(*cmd, args->forms);
    AddQuestionOptions(*cmd, args->questions);
    cmd->callback([args, run, &action] { action = [args, run] { return run(*args); }; });
    return std::make_pair(cmd, args);
  };
  addCatalogueCommand("list", "List the project's forms: #L, Done, form class, form file (tab-separated)", RunList);
  auto [add, addArgs] = addCatalogueCommand(
      "add-component", "Add a translation component to every form without one and declare it in the form's unit",
      RunAddComponent);
  add->add_option("--languages", addArgs->languages,
                  "Number of languages (default: the configured language names)")
      ->check(CLI::Range(1, 255));
  addCatalogueCommand("empty", "Clear the tables of every translation component (asks first; --yes to confirm)",
                      RunEmpty);

  struct ConvertArgs {
    std::string project, out;
    QuestionOptions questions;
  };
  auto conv = std::make_shared<ConvertArgs>();
  CLI::App* convert = project->add_subcommand(
      "convert", "Convert every form to the other format into a folder, and check the way back");
  convert->add_option("PROJECT", conv->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  convert->add_option("--out", conv->out, "Folder for the converted forms")->required();
  AddQuestionOptions(*convert, conv->questions);
  convert->callback([conv, &action] {
    action = [conv] {
      RunPorts ports(conv->questions);
      return RunConvert(conv->project, conv->out);
    };
  });

  AddProjectExchangeCommands(*project, action);
  AddProjectDllCommands(*project, action);
  AddProjectUpdateCommand(*project, action);
  AddProjectSpellCommand(*project, action);
  AddProjectCheckCommand(*project, action);
}

}  // namespace vorlect::cli
