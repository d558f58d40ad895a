// vorlect form csv-export|csv-import FORM FILE: the translation editor's Export CSV and Import CSV
// on a form's translation component, without a window. Import saves the component through one
// rewrite, so a text form keeps the bytes of every other line.
#include "CliSupport.h"
#include "Commands.h"
#include "FormEditorSession.h"

#include <memory>
#include <string>

#include "vle/VLCsv.h"

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

}  // namespace

void AddFormCsvCommands(CLI::App& form, Action& action) {
  auto exp = std::make_shared<CsvArgs>();
  CLI::App* e = form.add_subcommand("csv-export", "Export the form's translation table as the editor's CSV file");
  AddCsvOptions(e, *exp, "CSV file to write (- for standard output)");
  e->footer("The separator follows the CSV format setting (CSVType). The file is replaced only once complete.");
  e->callback([exp, &action] { action = [exp] { return RunExport(*exp); }; });

  auto imp = std::make_shared<CsvArgs>();
  CLI::App* i = form.add_subcommand("csv-import",
                                    "Replace the form's translation table by a CSV file's rows and save the form");
  AddCsvOptions(i, *imp, "CSV file to read");
  i->footer("Questions (a file with more languages than the table) are answered by --yes/--no. The form keeps its "
            "format; a text form keeps every other line as it was.");
  i->callback([imp, &action] { action = [imp] { return RunImport(*imp); }; });
}

}  // namespace vorlect::cli
