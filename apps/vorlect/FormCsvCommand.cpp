// vorlect form csv-export|csv-import FORM FILE: the translation editor's Export CSV and Import CSV
// on a form's translation component, without a window. Import saves the form through one table
// rewrite, so a text form keeps the bytes of every other line.
#include "CliSupport.h"
#include "Commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "host/framework/Streaming.h"
#include "platform/CodePages.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "spell/Langs.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/editor/VLEditor.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/Notation.h"

namespace vorlect::cli {

namespace {

struct CsvArgs {
  std::string form, csv;
  bool utf8 = false;
  QuestionOptions questions;
};

struct OpenForm {
  std::unique_ptr<host::TComponent> root;
  runtime::TBaseVorlect* vorlect = nullptr;
  std::unique_ptr<vle::TFEditVorlect> editor;
};

// The form as the designer holds it, and an editor on its first translation component.
OpenForm Open(const CsvArgs& a) {
  runtime::RegisterClasses();
  vle::LoadExpertSettings();
  OpenForm f;
  host::ReadOptions options;
  options.fileName = DisplayName(a.form);
  options.designing = true;
  f.root = host::LoadFormFile(a.form, options);
  for (int i = 0; i < f.root->ComponentCount() && !f.vorlect; ++i)
    f.vorlect = dynamic_cast<runtime::TBaseVorlect*>(f.root->Components(i));
  if (!f.vorlect) throw Failure(DisplayName(a.form) + ": the form holds no translation component");
  try {
    f.editor = std::make_unique<vle::TFEditVorlect>(*f.vorlect);
  } catch (const vle::EEditorError& e) {
    std::string text = e.what();
    std::replace(text.begin(), text.end(), '\r', ' ');
    throw Failure(DisplayName(a.form) + ": " + text);
  }
  // The editor's window layout belongs to the user's own sessions.
  f.editor->WriteSettingsOnClose = false;
  f.editor->CsvFormFile = std::filesystem::absolute(a.form).string();
  if (a.utf8) {
    // Keys in the ANSI code page; language column k in that of the k-th configured language.
    vle::TCsvEncoding& e = f.editor->CsvEncoding;
    e.utf8 = true;
    const unsigned ansi = static_cast<unsigned>(platform::AnsiCodePage());
    e.columnCodePages.assign(1, ansi);
    const host::TStringList& ids = vle::LanguageIds();
    for (int k = 1; k < f.editor->Grid().ColCount() || k <= ids.Count(); ++k) {
      const unsigned id = k <= ids.Count() ? vle::LanguageIdOf(ids.Strings(k - 1)) : 0;
      e.columnCodePages.push_back(id ? static_cast<unsigned>(spell::LanguageCodePage(static_cast<spell::TLanguage>(id))) : ansi);
    }
  }
  return f;
}

int RunExport(const CsvArgs& a) {
  RunPorts ports(a.questions);
  OpenForm f = Open(a);
  if (a.csv == "-") {
    vle::RecomputeCsvSeparator();
    WriteOutput("-", vle::ExportTableCsv(f.editor->Grid(), f.editor->CsvContext()));
    return 0;
  }
  return f.editor->ExportCsvTo(a.csv) ? 0 : 1;
}

int RunImport(const CsvArgs& a) {
  RunPorts ports(a.questions);
  OpenForm f = Open(a);
  if (!f.editor->ImportCsvFrom(a.csv)) throw Failure("nothing imported; " + DisplayName(a.form) + " is unchanged");
  if (!f.editor->Accept()) throw Failure("the table was not written; " + DisplayName(a.form) + " is unchanged");
  host::TStringList lines;
  const host::TStringList& words = *f.vorlect->Words();
  for (int i = 0; i < words.Count(); ++i) lines.Add(vle::notation::OfBytes(words.Strings(i)));
  vle::RewriteComponentTable(a.form, f.vorlect->Name(), f.vorlect->Languages(), lines);
  return 0;
}

void AddCsvOptions(CLI::App* cmd, CsvArgs& a, const char* fileHelp) {
  cmd->add_option("FORM", a.form, "Form file (binary or text) holding a translation component")->required();
  cmd->add_option("FILE", a.csv, fileHelp)->required();
  cmd->add_flag("--utf8", a.utf8,
                "UTF-8 with a byte-order mark instead of 8-bit text: language column k is converted from the code "
                "page of the k-th configured language (vorlect languages list), or from the ANSI code page where "
                "none is configured; keys use the ANSI code page");
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
