// vorlect form dump|text FORM: a form as a finished application sees it in one language.
#include "CliSupport.h"
#include "Commands.h"
#include "FormEditorSession.h"

#include "host/formfile/FormFile.h"
#include "host/framework/Streaming.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/LanguageCodePages.h"
#include "platform/pe/StringModule.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/FormComponent.h"
#include "vle/project/ProjectForms.h"
#include "vle/settings/TranslatableSettings.h"

#include <cstdio>
#include <memory>

namespace vorlect::cli {

namespace {

struct FormArgs {
  std::string form, id, dll, component, style = "ansi";
  int language = 0;
  bool raw = false;  // text: the table's bytes as they are
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
  const std::string data = ReadFormInput(a.form);
  host::ReadOptions options;
  options.fileName = DisplayName(a.form);
  return host::LoadForm(data, options);
}

// The object of the tree named `name`, depth first.
const formfile::Object* FindObject(const formfile::Object& root, const std::string& name) {
  for (const formfile::Object& child : root.children) {
    if (vle::SameFormName(child.name, name)) return &child;
    if (const formfile::Object* found = FindObject(child, name)) return found;
  }
  return nullptr;
}

runtime::TBaseVorlect& TranslationComponent(host::TComponent& form, const FormArgs& a) {
  runtime::TBaseVorlect* vorlect = vle::FindTranslationComponent(form, a.component);
  if (!vorlect) throw NoTranslationComponent(a.form, a.component);
  return *vorlect;
}

// The text notation of `tree`; a value it cannot carry is reported with the form's name.
std::string TextOf(const formfile::Object& tree, const formfile::TextOptions& text, const std::string& form) {
  try {
    return formfile::WriteText(tree, text);
  } catch (const formfile::FormFileError& e) {
    throw formfile::FormFileError(DisplayName(form), e.where(), e.detail());
  }
}

// Whether the translation components of the form (the one --component names, else all) have the
// language asked for; one that has not showed its message as it loaded and kept its own language.
bool HasLanguage(host::TComponent& form, const FormArgs& a) {
  if (!a.component.empty()) return a.language < TranslationComponent(form, a).Languages();
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* vorlect = dynamic_cast<runtime::TBaseVorlect*>(form.Components(i)))
      if (a.language >= vorlect->Languages()) return false;
  return true;
}

// The code page of the texts of table language `language`: its configured identifier's, as the
// UTF-8 exports take it; a string module's texts are in the code page of the module's language.
int LanguageCodePage(const FormArgs& a) {
  LoadSettings();
  if (!a.dll.empty()) {
    const int codePage = platform::AnsiCodePageOfLangId(platform::StringModule::Load(a.dll)->LanguageOf(1000));
    return codePage != 0 && platform::IsSupportedCodePage(codePage) ? codePage : platform::AnsiCodePage();
  }
  return vle::ColumnCodePage(a.language + 1);
}

// The whole form, or with --component that translation component alone, with the properties it
// then holds.
int RunDump(const FormArgs& a) {
  auto form = LoadTranslatedForm(a);
  if (!HasLanguage(*form, a)) return 1;
  formfile::TextOptions text;  // the 8-bit style: bytes as they are, never through a code page
  if (a.style == "unicode") {
    text.style = formfile::StringStyle::Unicode;
    text.codePage = LanguageCodePage(a);
  }
  const formfile::Object tree = host::WriteComponentTree(*form);
  if (a.component.empty()) {
    WriteOutput("-", TextOf(tree, text, a.form));
    return 0;
  }
  const formfile::Object* object = FindObject(tree, TranslationComponent(*form, a).Name());
  if (!object) throw NoTranslationComponent(a.form, a.component);
  WriteOutput("-", TextOf(*object, text, a.form));
  return 0;
}

int RunText(const FormArgs& a) {
  auto form = LoadTranslatedForm(a);
  runtime::TBaseVorlect& vorlect = TranslationComponent(*form, a);
  if (!HasLanguage(*form, a)) return 1;
  std::string res;
  vorlect.GetTextEx(a.id, static_cast<std::uint8_t>(a.language), res);
  if (!a.raw) res = Utf8Of(res, LanguageCodePage(a));
  res += '\n';
  WriteOutput("-", res);
  return 0;
}

void AddFormOptions(CLI::App* cmd, FormArgs& a) {
  AddQuestionOptions(*cmd, a.questions);
  cmd->add_option("--language", a.language,
                  "Table language the form takes, numbered from 0 as in the table (0-254, default 0)")
      ->check(CLI::Range(0, 254));
  cmd->add_option("--dll", a.dll, "String module (a Windows string DLL) the form reads its texts from");
  AddComponentOption(*cmd, a.component);
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
  d->add_option("--style", dump->style,
                "'ansi' writes 8-bit texts as their bytes (default), 'unicode' writes characters above 127 as #nnn "
                "code points, decoded with the code page of the language's configured identifier")
      ->check(CLI::IsMember({"ansi", "unicode"}));
  d->footer("Messages the form would show are printed to standard error with their type; a language the form's "
            "translation component lacks is an error (exit 1). With --component, only that translation component is "
            "printed.");
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
  t->add_flag("--raw", text->raw, "Print the table's bytes as they are, not UTF-8");
  t->footer("The text is printed in UTF-8, decoded with the code page of the language's configured identifier "
            "(vorlect languages set; the ANSI code page without one). A language the component lacks is an error "
            "(exit 1).");
  t->callback([text, &action] {
    action = [text] {
      RunPorts ports(text->questions);
      return RunText(*text);
    };
  });

  AddFormCsvCommands(*form, action);
  AddFormUpdateCommand(*form, action);
  AddFormCheckCommand(*form, action);

  // Every form subcommand takes the project's settings file, registered before its action runs.
  auto settings = std::make_shared<std::string>();
  for (CLI::App* sub : form->get_subcommands([](CLI::App*) { return true; }))
    sub->add_option("--settings", *settings,
                    "Project settings file (PROJECT.vorlect.json): more translatable properties per class, and "
                    "properties never translated");
  form->callback([settings, &action] {
    if (settings->empty() || !action) return;
    action = [settings, inner = std::move(action)] {
      vle::UseSettingsFile(*settings);
      return inner();
    };
  });
}

}  // namespace vorlect::cli
