// vorlect project check PROJECT.dpr / vorlect form check FORM.dfm: the translations of forms
// checked for mistakes, reported as text, JSON or SARIF. Exit status 0 when no error was found,
// 1 when one was, 3 when something could not be checked.
#include "CliSupport.h"
#include "Commands.h"

#include "host/framework/Streaming.h"
#include "host/ports/FreeTypeText.h"
#include "runtime/VLCore.h"
#include "vle/checks/Checks.h"
#include "vle/checks/FormModels.h"
#include "vle/checks/Reports.h"
#include "vle/project/ProjectForms.h"
#include "vle/settings/ProjectSettings.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

namespace vorlect::cli {

namespace {

namespace fs = std::filesystem;
using namespace vle::checks;

constexpr int kCouldNotCheck = 3;
constexpr int kUsage = 2;

struct CheckArgs {
  std::string target;  // the project or the form file
  std::string forms, languages, disable;
  std::string format = "text";
  bool acceptAll = false;
  QuestionOptions questions;
};

// A path as messages show it: relative to the current folder when it lies inside it.
std::string Shown(const std::string& path) {
  std::error_code ec;
  const fs::path rel = fs::absolute(path, ec).lexically_normal().lexically_relative(fs::current_path(ec));
  if (ec || rel.empty() || *rel.begin() == "..") return path;
  return rel.string();
}

// --languages 1,2 and --disable a,b into the check options; a message and false for a mistake.
bool ParseOptions(const CheckArgs& a, CheckOptions& options) {
  for (const std::string& part : vle::SplitFormNames(a.languages)) {
    const bool digits = part.size() <= 3 && part.find_first_not_of("0123456789") == std::string::npos;
    if (!digits || std::stoi(part) > 254) {
      std::cerr << "vorlect: --languages: \"" << part << "\" is not a language number (0 to 254)\n";
      return false;
    }
    options.languages.push_back(std::stoi(part));
  }
  for (const std::string& name : vle::SplitFormNames(a.disable)) {
    const auto id = CheckByName(name);
    if (!id) {
      std::string known;
      for (const CheckInfo& c : AllChecks()) known += std::string(known.empty() ? "" : ", ") + c.name;
      std::cerr << "vorlect: --disable: there is no check \"" << name << "\"; the checks are " << known << "\n";
      return false;
    }
    options.Disable(*id);
  }
  return true;
}

// The measuring port of the widths check; without fonts the check is left out, saying so.
std::unique_ptr<ports::FreeTypeTextMeasure> OpenMeasure(const CheckOptions& options) {
  if (!options.Enabled(CheckId::TooWide)) return nullptr;
  try {
    return std::make_unique<ports::FreeTypeTextMeasure>();
  } catch (const std::exception& e) {
    std::cerr << "vorlect: " << e.what() << "; text widths are not checked\n";
    return nullptr;
  }
}

// One run: the forms checked so far and what could not be checked.
struct Run {
  Checker checker;
  std::vector<std::string> files;  // per checked model
  bool incomplete = false;

  explicit Run(ports::TextMeasurePort* measure, CheckOptions options) : checker(measure, std::move(options)) {}

  // Loads and checks one form file; a form without a translation component is passed over.
  void CheckForm(const std::string& file, const std::string& fallbackName) {
    std::unique_ptr<host::TComponent> root;
    try {
      host::ReadOptions options;
      options.fileName = Shown(file);
      options.designing = true;
      root = host::LoadFormFile(file, options);
    } catch (const std::exception& e) {
      std::cerr << "vorlect: " << Shown(file) << ": not checked: " << e.what() << "\n";
      incomplete = true;
      return;
    }
    const std::string name = root->Name().empty() ? fallbackName : root->Name();
    std::vector<FormModel> models = FormModelsOf(*root, name);
    if (models.empty()) {
      std::cerr << "vorlect: " << Shown(file) << ": the form holds no translation component; skipped\n";
      return;
    }
    for (FormModel& m : models) {
      checker.AddForm(std::move(m));
      files.push_back(Shown(file));
    }
  }

  std::vector<Reported> Problems(const Accepted* accepted, int* acceptedCount) const {
    std::vector<Reported> out;
    for (const Problem& p : checker.Problems()) {
      if (accepted && accepted->Covers(p)) {
        if (acceptedCount) ++*acceptedCount;
        continue;
      }
      out.push_back({p, files[static_cast<size_t>(p.formIndex)]});
    }
    return out;
  }
};

int Report(const CheckArgs& a, const std::vector<Reported>& problems, const std::string& base, int accepted) {
  if (a.format == "json") std::fputs(JsonReport(problems).c_str(), stdout);
  else if (a.format == "sarif") std::fputs(SarifReport(problems, base).c_str(), stdout);
  else std::fputs(TextReport(problems).c_str(), stdout);
  int counts[3] = {0, 0, 0};
  for (const Reported& r : problems) ++counts[static_cast<int>(r.problem.level)];
  std::cerr << counts[0] << " error(s), " << counts[1] << " warning(s), " << counts[2] << " information";
  if (accepted > 0) std::cerr << "; " << accepted << " accepted problem(s) not shown";
  std::cerr << "\n";
  return counts[0] > 0 ? 1 : 0;
}

void PrintNotes(const std::string& settingsFile, const std::vector<std::string>& notes) {
  for (const std::string& n : notes) std::cerr << "vorlect: " << settingsFile << ": accepted: " << n << "\n";
}

int CheckProject(const CheckArgs& a) {
  CheckOptions options;
  if (!ParseOptions(a, options)) return kUsage;
  // Accepting writes the settings file: one such run on a project at a time.
  std::unique_ptr<platform::FileLock> lock;
  if (a.acceptAll) lock = LockProject(a.target);
  RunPorts ports(a.questions);
  runtime::RegisterClasses();
  vle::ProjectSettings settings = vle::ProjectSettings::LoadForProject(a.target);
  std::vector<std::string> notes;
  const Accepted accepted = Accepted::FromSection(settings.Section(Accepted::kSection), &notes);
  PrintNotes(Shown(settings.Path()), notes);

  const auto measure = OpenMeasure(options);
  Run run(measure.get(), options);
  vle::ProjectSession session(a.target, TerminalProgress());
  vle::TFPrjList& catalogue = session.Catalogue();
  if (!SelectNamedForms(catalogue, a.forms)) return kCouldNotCheck;
  for (int i = 0; i < catalogue.Count(); ++i) {
    if (!catalogue.Selected(i)) continue;
    const vle::TEntry& e = catalogue.Entry(i);
    // The form reader decides, not the catalogue's scan: a damaged file is not checked, whatever
    // the scan made of it.
    run.CheckForm(e.FormFile, e.FormName.empty() ? fs::path(e.FormFile).stem().string() : e.FormName);
  }

  if (a.acceptAll) {
    Accepted all = accepted;
    int added = 0;
    for (const Reported& r : run.Problems(nullptr, nullptr)) added += all.Add(r.problem) ? 1 : 0;
    // Read again under the lock, so that only this section changes whatever else the file holds.
    vle::ProjectSettings fresh = vle::ProjectSettings::LoadForProject(a.target);
    fresh.SetSection(Accepted::kSection, all.ToSection());
    fresh.Save();
    std::cout << added << " problem(s) accepted in " << Shown(fresh.Path()) << " (" << all.Size()
              << " accepted in all)\n";
    return run.incomplete ? kCouldNotCheck : 0;
  }
  int acceptedCount = 0;
  const auto problems = run.Problems(&accepted, &acceptedCount);
  const int status = Report(a, problems, fs::absolute(a.target).parent_path().string(), acceptedCount);
  return run.incomplete ? kCouldNotCheck : status;
}

int CheckFormFile(const CheckArgs& a) {
  CheckOptions options;
  if (!ParseOptions(a, options)) return kUsage;
  RunPorts ports(a.questions);
  runtime::RegisterClasses();
  const auto measure = OpenMeasure(options);
  Run run(measure.get(), options);
  run.CheckForm(a.target, fs::path(a.target).stem().string());
  const auto problems = run.Problems(nullptr, nullptr);
  const int status = Report(a, problems, fs::absolute(a.target).parent_path().string(), 0);
  return run.incomplete ? kCouldNotCheck : status;
}

// Whatever stops a check before it is done means it could not check, never that it found errors.
int Guarded(int (*check)(const CheckArgs&), const CheckArgs& a) {
  try {
    return check(a);
  } catch (const std::exception& e) {
    std::cerr << "vorlect: " << e.what() << "\n";
    return kCouldNotCheck;
  }
}

void AddCheckOptions(CLI::App& cmd, CheckArgs& a) {
  cmd.add_option("--languages", a.languages,
                 "Only these languages (comma-separated, numbered from 0 as the table numbers them)");
  cmd.add_option("--format", a.format, "Output: text (one problem a line), json or sarif (SARIF 2.1.0)")
      ->check(CLI::IsMember({"text", "json", "sarif"}));
  cmd.add_option("--disable", a.disable, "Checks to leave out (comma-separated identifiers)");
  AddQuestionOptions(cmd, a.questions);
  std::string checks = "Checks:";
  for (const CheckInfo& c : AllChecks()) checks += std::string("\n  ") + c.name + " (" + LevelName(c.level) + ")";
  cmd.footer(checks + "\nExit status: 0 no error found (warnings and information alone), 1 an error found, 3 "
                      "something could not be checked, 2 a mistake on the command line.");
}

}  // namespace

void AddProjectCheckCommand(CLI::App& project, Action& action) {
  auto a = std::make_shared<CheckArgs>();
  CLI::App* cmd = project.add_subcommand("check", "Check the translations of the project's forms");
  cmd->add_option("PROJECT", a->target, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  AddFormsOption(*cmd, a->forms);
  AddCheckOptions(*cmd, *a);
  cmd->add_flag("--accept-all", a->acceptAll,
                "Accept every problem found now: write them into the section \"accepted\" of PROJECT.vorlect.json, "
                "so that they are no longer reported");
  cmd->callback([a, &action] { action = [a] { return Guarded(CheckProject, *a); }; });
}

void AddFormCheckCommand(CLI::App& form, Action& action) {
  auto a = std::make_shared<CheckArgs>();
  CLI::App* cmd = form.add_subcommand("check", "Check the translations of one form");
  cmd->add_option("FORM", a->target, "Form file (binary or text)")->required()->check(CLI::ExistingFile);
  AddCheckOptions(*cmd, *a);
  cmd->callback([a, &action] { action = [a] { return Guarded(CheckFormFile, *a); }; });
}

}  // namespace vorlect::cli
