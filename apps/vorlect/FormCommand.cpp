// vorlect form dump|text FORM: a form as a finished application sees it in one language.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormFile.h"
#include "host/framework/Streaming.h"
#include "platform/Files.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"

#include <cstdio>
#include <memory>

namespace vorlect::cli {

namespace {

struct FormArgs {
  std::string form, id, dll;
  int language = 0;
  QuestionOptions questions;
};

// Loads the form as an application would (not designing): the language every form takes when it
// finishes loading is `language`, and the string module, when named, is read as the form loads.
std::unique_ptr<host::TComponent> LoadTranslatedForm(const FormArgs& a) {
  runtime::RegisterClasses();
  // A form whose string module is missing quietly keeps its own table; asked for by name on the
  // command line, a missing module is an error.
  if (!a.dll.empty() && !platform::FileExists(a.dll))
    throw Failure("Cannot load string DLL \"" + a.dll + "\".");
  runtime::GlobalLang = static_cast<std::uint8_t>(a.language);
  runtime::LanguageDLL = a.dll;
  const std::string data = ReadInput(a.form);
  host::ReadOptions options;
  options.fileName = DisplayName(a.form);
  return host::LoadForm(data, options);
}

runtime::TBaseVorlect* FindTranslationComponent(host::TComponent& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* v = dynamic_cast<runtime::TBaseVorlect*>(form.Components(i))) return v;
  return nullptr;
}

int RunDump(const FormArgs& a) {
  auto form = LoadTranslatedForm(a);
  formfile::TextOptions text;  // the 8-bit style: bytes as they are, never through a code page
  WriteOutput("-", formfile::WriteText(host::WriteComponentTree(*form), text));
  return 0;
}

int RunText(const FormArgs& a) {
  auto form = LoadTranslatedForm(a);
  runtime::TBaseVorlect* vorlect = FindTranslationComponent(*form);
  if (!vorlect) throw Failure(DisplayName(a.form) + ": the form holds no translation component");
  std::string res;
  vorlect->GetTextEx(a.id, static_cast<std::uint8_t>(a.language), res);
  res += '\n';
  WriteOutput("-", res);
  return 0;
}

void AddFormOptions(CLI::App* cmd, FormArgs& a) {
  AddQuestionOptions(*cmd, a.questions);
  cmd->add_option("--language", a.language, "Language the form takes (0-255, default 0)")->check(CLI::Range(0, 255));
  cmd->add_option("--dll", a.dll, "String module (a Windows string DLL) the form reads its texts from");
}

}  // namespace

void AddFormCommands(CLI::App& app, Action& action) {
  CLI::App* form = app.add_subcommand("form", "One form as a finished application shows it");
  form->require_subcommand(1);

  auto dump = std::make_shared<FormArgs>();
  CLI::App* d = form->add_subcommand(
      "dump", "Load the form in a language and print it in text notation as it then stands");
  d->add_option("FORM", dump->form, "Form file (binary or text; - for standard input)")->required();
  AddFormOptions(d, *dump);
  d->footer("Messages the form would show are printed to standard error with their type.");
  d->callback([dump, &action] {
    action = [dump] {
      RunPorts ports(dump->questions);
      return RunDump(*dump);
    };
  });

  auto text = std::make_shared<FormArgs>();
  CLI::App* t = form->add_subcommand("text", "Print the text of a numbered string (an identifier of the table)");
  t->add_option("FORM", text->form, "Form file holding a translation component")->required();
  t->add_option("ID", text->id, "Identifier of the string")->required();
  AddFormOptions(t, *text);
  t->callback([text, &action] {
    action = [text] {
      RunPorts ports(text->questions);
      return RunText(*text);
    };
  });

  AddFormCsvCommands(*form, action);
  AddFormUpdateCommand(*form, action);
}

}  // namespace vorlect::cli
