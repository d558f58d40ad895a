// vorlect project export|import|replace PROJECT.dpr: the translations of all (or some) forms of a
// project at once, as the project manager's exchange page and its search and replace do them.
#include "CliSupport.h"
#include "Commands.h"
#include "TranslatorOptions.h"

#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/exchange/FSearchDlg.h"
#include "vle/project/Notation.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/exchange/TranslatorExchange.h"
#include "vle/project/ProjectForms.h"
#include "vle/project/VLEMain.h"

#include <stdlib.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <filesystem>
#include <memory>

namespace vorlect::cli {

namespace {

namespace fs = std::filesystem;

struct CommonArgs {
  std::string project;
  std::string forms;  // A,B: names in braces, class names or file base names
  QuestionOptions questions;
};

// The project opened headless for one run, with the forms the command line chose selected and
// the expert's settings (separator, language identifiers) read.
class Session {
public:
  explicit Session(const CommonArgs& a) {
    LoadSettings();
    session_ = std::make_unique<vle::ProjectSession>(a.project, TerminalProgress());
    const auto unknown = vle::SelectForms(Catalogue(), vle::SplitFormNames(a.forms));
    if (!unknown.empty()) throw UsageError("no form \"" + unknown.front() + "\" in " + a.project);
  }
  vle::TFPrjList& Catalogue() { return session_->Catalogue(); }

private:
  std::unique_ptr<vle::ProjectSession> session_;
};

// ---- export ---------------------------------------------------------------------------------

struct ExportArgs : CommonArgs {
  std::string file;
  bool perLanguage = false, utf8 = false;
  TranslatorArgs translator;
};

// PO and XLIFF: one file per language in a folder.
int RunTranslatorExport(const ExportArgs& a, const vle::TTranslatorOptions& options) {
  if (a.file == "-") throw Failure("--format " + a.translator.format + " needs a folder, not standard output");
  if (a.perLanguage || a.utf8) throw Failure("--per-language and --utf8 belong to --format csv");
  RunPorts ports(a.questions);
  Session s(a);
  vle::TTranslatorReport report;
  const auto forms = vle::ProjectForms(s.Catalogue(), fs::absolute(a.project).parent_path().string());
  vle::ExportTranslations(*forms, a.file, options, report);
  PrintTranslatorReport(report);
  std::fprintf(stderr, "vorlect: %d form(s) exported into %zu file(s)\n", report.forms, report.files.size());
  return 0;
}

int RunExport(const ExportArgs& a) {
  if (const auto options = TranslatorOptionsOf(a.translator, a.file)) return RunTranslatorExport(a, *options);
  RunPorts ports(a.questions);
  Session s(a);
  vle::TExportOptions options;
  options.perLanguage = a.perLanguage;
  options.utf8 = a.utf8;
  if (a.file == "-") {
    // Standard output: the project file is written in a folder of its own and copied out whole.
    if (a.perLanguage) throw Failure("--per-language needs a file name, not standard output");
    std::string folder = (fs::path(platform::TempFolder()) / "vorlect-export-XXXXXX").string();
    if (!::mkdtemp(folder.data())) throw Failure("no temporary folder for the export");
    struct TRemove {
      std::string folder;
      ~TRemove() {
        std::error_code ec;
        fs::remove_all(folder, ec);
      }
    } remove{folder};
    const std::string file = (fs::path(folder) / "stdout.csv").string();
    if (vle::ExportProject(s.Catalogue(), file, options, false) < 0) return 1;
    WriteOutput("-", platform::ReadFile(file));
    return ReportUnreadableForms(s.Catalogue()) == 0 ? 0 : 1;
  }
  const int count = vle::ExportProject(s.Catalogue(), a.file, options, false);
  if (count < 0) return 1;
  if (!s.Catalogue().DllBaseName.empty())
    std::fprintf(stderr, "vorlect: string module base name %s\n", s.Catalogue().DllBaseName.c_str());
  return ReportUnreadableForms(s.Catalogue()) == 0 ? 0 : 1;
}

// ---- import ---------------------------------------------------------------------------------

struct ImportArgs : CommonArgs {
  std::string file;
  bool utf8 = false;
  TranslatorArgs translator;
};

int RunTranslatorImport(const ImportArgs& a, const vle::TTranslatorOptions& options) {
  if (a.utf8) throw Failure("--utf8 belongs to --format csv");
  const auto lock = LockProject(a.project);
  RunPorts ports(a.questions);
  Session s(a);
  vle::TTranslatorReport report;
  const auto forms = vle::ProjectForms(s.Catalogue(), fs::absolute(a.project).parent_path().string());
  vle::ImportTranslations(*forms, a.file, options, report);
  PrintTranslatorReport(report);
  std::fprintf(stderr,
               "vorlect: %d form(s) written (%d text(s)), %d unchanged, %d not written; %d fuzzy, %d missing, %d "
               "with a changed source, %d unknown\n",
               report.forms, report.taken, report.unchanged, report.failed, report.fuzzy, report.missing, report.stale,
               report.unknown);
  return report.failed == 0 ? 0 : 1;
}

int RunImport(const ImportArgs& a) {
  if (const auto options = TranslatorOptionsOf(a.translator, a.file)) return RunTranslatorImport(a, *options);
  const auto lock = LockProject(a.project);
  RunPorts ports(a.questions);
  Session s(a);
  vle::TImportReport report;
  if (vle::ImportProject(s.Catalogue(), a.file, a.utf8, &report) < 0) return 1;
  std::fprintf(stderr, "vorlect: %d of %d form block(s) imported, %d skipped, %d not in the project, %d failed\n",
               report.imported, report.blocks, report.skipped, report.notFound, report.failed);
  for (const std::string& form : report.notFoundForms) std::fprintf(stderr, "vorlect: not in the project: %s\n", form.c_str());
  for (const std::string& form : report.failedForms) std::fprintf(stderr, "vorlect: not imported: %s\n", form.c_str());
  return report.failed == 0 && report.notFound == 0 ? 0 : 1;
}

// ---- replace --------------------------------------------------------------------------------

struct ReplaceArgs : CommonArgs {
  std::string find, replace, languages;
  bool ignoreCase = false, dryRun = false;
};

volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }

int RunReplace(const ReplaceArgs& a) {
  const auto lock = a.dryRun ? nullptr : LockProject(a.project);
  RunPorts ports(a.questions);
  Session s(a);
  vle::TSearchDlg dlg(s.Catalogue());
  dlg.SearchText = a.find;
  dlg.ReplaceText = a.replace;
  dlg.IgnoreCase = a.ignoreCase;
  dlg.DryRun = a.dryRun;
  if (!a.languages.empty()) {
    dlg.AllLanguages = false;
    for (const std::string& item : vle::SplitFormNames(a.languages)) {
      // Table languages count from 0, as the component and the table do.
      const int language = item == "0" ? 0 : WholeNumber(item);
      if ((language == 0 && item != "0") || language >= static_cast<int>(dlg.LanguageItems().size()))
        throw Failure("no language " + item + " (the forms have " + std::to_string(dlg.LanguageItems().size()) +
                      " language(s), numbered from 0)");
      dlg.SetLanguageSelected(language, true);
    }
  }
  if (!dlg.FindEnabled()) throw Failure("nothing to search for");

  // Ctrl+C stops the search as "St&op" does; what was found so far is still offered for saving.
  interrupted = 0;
  auto previous = std::signal(SIGINT, OnInterrupt);
  dlg.ProcessMessages = [&dlg] {
    if (interrupted && dlg.Running() && dlg.FindCaption() != vle::TSearchDlg::kFindCaption) dlg.FindClick();
  };
  const bool ok = dlg.ReplaceClick();
  std::signal(SIGINT, previous);

  for (const auto& row : dlg.Results()) {
    const std::string now = platform::Utf16ToUtf8(vle::notation::ToUtf16(
        row.Entry->Lines.Strings(row.Line), vle::ColumnCodePage(row.Line % (row.Entry->LanguageCount + 1))));
    std::printf("%s\t%s\t%s\t%s\n", row.Form.c_str(), row.Component.c_str(), row.TextFound.c_str(), now.c_str());
  }
  std::fprintf(stderr, "vorlect: %zu text(s) found%s, %d form file(s) saved, %d failed\n", dlg.Results().size(),
               a.dryRun ? " (dry run, nothing saved)" : "", dlg.SavedCount(), dlg.FailedCount());
  for (const std::string& form : dlg.FailedForms()) std::fprintf(stderr, "vorlect: not saved: %s\n", form.c_str());
  const int unreadable = ReportUnreadableForms(s.Catalogue());
  return ok && unreadable == 0 ? 0 : 1;
}

void AddCommon(CLI::App* cmd, CommonArgs& a) {
  cmd->add_option("PROJECT", a.project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  cmd->add_option("--forms", a.forms,
                  "Only these forms (comma-separated: name in the project's braces, class name or file base name)");
  AddQuestionOptions(*cmd, a.questions);
}

}  // namespace

void AddProjectExchangeCommands(CLI::App& project, Action& action) {
  auto ex = std::make_shared<ExportArgs>();
  CLI::App* e = project.add_subcommand(
      "export", "Write the tables of the forms into FILE.csv (form-file notation) or NAME1.rc, NAME2.rc ... (one "
                "resource script per language)");
  AddCommon(e, *ex);
  e->add_option("FILE", ex->file, "FILE.csv, NAME1.rc, - for standard output (CSV), or a folder (PO, XLIFF)")->required();
  e->add_flag("--per-language", ex->perLanguage, "CSV: also one file per language (FILE1.csv, FILE2.csv ...)");
  e->add_flag("--utf8", ex->utf8, "CSV: real characters in UTF-8 with a byte-order mark");
  AddTranslatorOptions(*e, ex->translator);
  e->footer("With --format po or xliff, FILE is a folder (created when missing) that receives one file per language "
            "(de-DE.po, language-3.xlf ...; PO also messages.pot of language 0).");
  e->callback([ex, &action] { action = [ex] { return RunExport(*ex); }; });

  auto im = std::make_shared<ImportArgs>();
  CLI::App* i = project.add_subcommand("import", "Read a project CSV file back into the form files");
  AddCommon(i, *im);
  i->add_option("FILE", im->file, "FILE.csv, or the folder of a PO or XLIFF export")->required();
  i->add_flag("--utf8", im->utf8, "The file holds real characters in UTF-8 (implied by a byte-order mark)");
  AddTranslatorOptions(*i, im->translator);
  i->footer("With --format po or xliff, FILE is the folder of an export: messages are matched by their context, fuzzy "
            "and missing ones leave their cells as they are, and only forms whose tables change are written.");
  i->callback([im, &action] { action = [im] { return RunImport(*im); }; });

  auto re = std::make_shared<ReplaceArgs>();
  CLI::App* r = project.add_subcommand(
      "replace", "Find a text in the forms' tables and replace its first occurrence in every text found");
  AddCommon(r, *re);
  r->add_option("--find", re->find, "Text to search (UTF-8)")->required();
  r->add_option("--replace", re->replace, "Replacement (UTF-8)")->required();
  r->add_option("--languages", re->languages, "Only these table languages, numbered from 0 as in the table (e.g. 0,2)");
  r->add_flag("--ignore-case", re->ignoreCase, "Compare without regard to case");
  r->add_flag("--dry-run", re->dryRun, "List the texts that would change; save nothing");
  r->footer("The question whether to save is answered by --yes or --no (on a terminal it is asked).");
  r->callback([re, &action] { action = [re] { return RunReplace(*re); }; });
}

}  // namespace vorlect::cli
