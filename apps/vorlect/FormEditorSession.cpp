#include "FormEditorSession.h"

#include "CliSupport.h"

#include <algorithm>
#include <filesystem>

#include <CLI/CLI.hpp>

#include "host/framework/Streaming.h"
#include "platform/CodePages.h"
#include "runtime/VLCore.h"
#include "spell/Langs.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/project/FormComponent.h"

namespace vorlect::cli {

void AddComponentOption(CLI::App& command, std::string& componentName) {
  command.add_option("--component", componentName,
                     "Name of the translation component to work on (default: the form's first one)");
}

Failure NoTranslationComponent(const std::string& form, const std::string& componentName) {
  return Failure(DisplayName(form) + ": the form holds no translation component" +
                 (componentName.empty() ? std::string() : " named " + componentName));
}

FormEditorSession OpenFormEditor(const std::string& form, bool utf8, const std::string& componentName) {
  runtime::RegisterClasses();
  LoadSettings();
  FormEditorSession f;
  host::ReadOptions options;
  options.fileName = DisplayName(form);
  options.designing = true;
  f.root = host::LoadFormFile(form, options);
  f.vorlect = vle::FindTranslationComponent(*f.root, componentName);
  if (!f.vorlect) throw NoTranslationComponent(form, componentName);
  try {
    f.editor = std::make_unique<vle::TFEditVorlect>(*f.vorlect);
  } catch (const vle::EEditorError& e) {
    std::string text = e.what();
    std::replace(text.begin(), text.end(), '\r', ' ');
    throw Failure(DisplayName(form) + ": " + text);
  }
  // The editor's window layout belongs to the user's own sessions.
  f.editor->WriteSettingsOnClose = false;
  f.opened = vle::ComponentPropertiesOf(*f.vorlect);
  f.editor->CsvFormFile = std::filesystem::absolute(form).string();
  // Keys in the ANSI code page; language column k in that of the k-th configured language. An
  // import needs them without --utf8 too: a file with a byte-order mark, or one the user says
  // is UTF-8, is read as UTF-8 all the same.
  vle::TCsvEncoding& e = f.editor->CsvEncoding;
  e.utf8 = utf8;
  const unsigned ansi = static_cast<unsigned>(platform::AnsiCodePage());
  e.columnCodePages.assign(1, ansi);
  const host::TStringList& ids = vle::LanguageIds();
  for (int k = 1; k < f.editor->Grid().ColCount() || k <= ids.Count(); ++k) {
    const unsigned id = k <= ids.Count() ? vle::LanguageIdOf(ids.Strings(k - 1)) : 0;
    e.columnCodePages.push_back(id ? static_cast<unsigned>(spell::LanguageCodePage(static_cast<spell::TLanguage>(id))) : ansi);
  }
  return f;
}

bool SaveFormTable(const std::string& form, const FormEditorSession& session) {
  if (vle::ComponentPropertiesOf(*session.vorlect) == session.opened) return false;
  return vle::SaveComponent(form, *session.vorlect);
}

}  // namespace vorlect::cli
