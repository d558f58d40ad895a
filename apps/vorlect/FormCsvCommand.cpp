// vorlect form export|import FORM OUT --format csv|po|xliff, and csv-export|csv-import FORM FILE (the
// same as --format csv): the translation editor's Export CSV and Import CSV on a form's translation
// component, without a window, and the translators' formats for one form. Import saves the
// component through one rewrite, so a text form keeps the bytes of every other line.
#include "CliSupport.h"
#include "Commands.h"
#include "FormEditorSession.h"
#include "TranslatorOptions.h"

#include <memory>
#include <string>

#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/exchange/TranslatorExchange.h"

#include <cstdio>

namespace vorlect::cli {

namespace {

struct CsvArgs {
  std::string form, csv, component;
  bool utf8 = false;
  QuestionOptions questions;
};

int RunExport(const CsvArgs& a) {
  RunPorts ports(a.questions);
  FormEditorSession f = OpenFormEditor(a.form, a.utf8, a.component);
  if (a.csv == "-") {
    vle::RecomputeCsvSeparator();
    const auto contents = vle::ExportTableCsv(f.editor->Grid(), f.editor->CsvContext());
    if (!contents) return 1;
    WriteOutput("-", *contents);
    return 0;
  }
  return f.editor->ExportCsvTo(a.csv) ? 0 : 1;
}

int RunImport(const CsvArgs& a) {
  RunPorts ports(a.questions);
  FormEditorSession f = OpenFormEditor(a.form, a.utf8, a.component);
  if (!f.editor->ImportCsvFrom(a.csv)) throw Failure("nothing imported; " + DisplayName(a.form) + " is unchanged");
  if (!f.editor->Accept()) throw Failure("the table was not written; " + DisplayName(a.form) + " is unchanged");
  SaveFormTable(a.form, f);
  return 0;
}

void AddCsvOptions(CLI::App* cmd, CsvArgs& a, const char* fileHelp) {
  cmd->add_option("FORM", a.form, "Form file (binary or text) holding a translation component")->required();
  cmd->add_option("FILE", a.csv, fileHelp)->required();
  cmd->add_flag("--utf8", a.utf8,
                "UTF-8 with a byte-order mark instead of 8-bit text: language column k is converted from the code "
                "page of the k-th configured language (vorlect languages list), or from the ANSI code page where "
                "none is configured; keys use the ANSI code page");
  AddComponentOption(*cmd, a.component);
  AddQuestionOptions(*cmd, a.questions);
}

struct ExchangeArgs : CsvArgs {
  TranslatorArgs translator;
};

// The form's translators' files: checks the options and that the form holds a table.
std::unique_ptr<vle::TFormSet> TranslatorForm(const ExchangeArgs& a) {
  if (!a.component.empty()) throw Failure("--component belongs to --format csv");
  if (a.utf8) throw Failure("--utf8 belongs to --format csv");
  vle::LoadExpertSettings();  // the languages' identifiers and code pages
  auto forms = vle::SingleForm(a.form);
  if (forms->Languages(0) <= 0) throw Failure(DisplayName(a.form) + " holds no translation component");
  return forms;
}

int RunExchangeExport(const ExchangeArgs& a) {
  const auto options = TranslatorOptionsOf(a.translator, a.csv);
  if (!options) return RunExport(a);
  if (a.csv == "-") throw Failure("--format " + a.translator.format + " needs a folder, not standard output");
  RunPorts ports(a.questions);
  const auto forms = TranslatorForm(a);
  vle::TTranslatorReport report;
  vle::ExportTranslations(*forms, a.csv, *options, report);
  PrintTranslatorReport(report);
  return 0;
}

int RunExchangeImport(const ExchangeArgs& a) {
  const auto options = TranslatorOptionsOf(a.translator, a.csv);
  if (!options) return RunImport(a);
  RunPorts ports(a.questions);
  const auto forms = TranslatorForm(a);
  vle::TTranslatorReport report;
  vle::ImportTranslations(*forms, a.csv, *options, report);
  PrintTranslatorReport(report);
  std::fprintf(stderr, "vorlect: %s %s (%d text(s)); %d fuzzy, %d missing, %d with a changed source, %d unknown\n",
               DisplayName(a.form).c_str(), report.forms ? "written" : report.failed ? "not written" : "unchanged",
               report.taken, report.fuzzy, report.missing, report.stale, report.unknown);
  return report.failed == 0 ? 0 : 1;
}

}  // namespace

void AddFormCsvCommands(CLI::App& form, Action& action) {
  auto ex = std::make_shared<ExchangeArgs>();
  CLI::App* x = form.add_subcommand("export", "Export the form's translation table as CSV, PO or XLIFF");
  AddCsvOptions(x, *ex, "CSV file to write (- for standard output), or the folder for PO and XLIFF files");
  AddTranslatorOptions(*x, ex->translator, false);
  x->footer("PO and XLIFF: one file per language in the folder (created when missing), as the project export "
            "writes them for this form.");
  x->callback([ex, &action] { action = [ex] { return RunExchangeExport(*ex); }; });

  auto im = std::make_shared<ExchangeArgs>();
  CLI::App* m = form.add_subcommand("import", "Read the form's translations back from CSV, PO or XLIFF and save the form");
  AddCsvOptions(m, *im, "CSV file to read, or the folder of a PO or XLIFF export");
  AddTranslatorOptions(*m, im->translator, false);
  m->footer("CSV: questions are answered as csv-import answers them. PO and XLIFF: fuzzy and missing messages leave their cells as they are; the form is written only when its "
            "table changes, and not at all when a text does not fit its language's code page.");
  m->callback([im, &action] { action = [im] { return RunExchangeImport(*im); }; });

  auto exp = std::make_shared<CsvArgs>();
  CLI::App* e = form.add_subcommand("csv-export", "Export the form's translation table as the editor's CSV file");
  AddCsvOptions(e, *exp, "CSV file to write (- for standard output)");
  e->footer("The separator follows the CSV format setting (CSVType). The file is replaced only once complete.");
  e->callback([exp, &action] { action = [exp] { return RunExport(*exp); }; });

  auto imp = std::make_shared<CsvArgs>();
  CLI::App* i = form.add_subcommand("csv-import",
                                    "Replace the form's translation table by a CSV file's rows and save the form");
  AddCsvOptions(i, *imp, "CSV file to read");
  i->footer("Questions (a file with more languages than the table; a file without byte-order mark that looks like "
            "UTF-8: Yes reads it as UTF-8, No as 8-bit text) are answered by --yes/--no, else on the terminal, else "
            "No. The form keeps its format; a text form keeps every other line as it was.");
  i->callback([imp, &action] { action = [imp] { return RunImport(*imp); }; });
}

}  // namespace vorlect::cli
