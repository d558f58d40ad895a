#include "FormEditorSession.h"

#include "CliSupport.h"

#include <algorithm>
#include <filesystem>

#include "host/framework/Streaming.h"
#include "platform/CodePages.h"
#include "runtime/VLCore.h"
#include "spell/Langs.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/Notation.h"

namespace vorlect::cli {

FormEditorSession OpenFormEditor(const std::string& form, bool utf8) {
  runtime::RegisterClasses();
  vle::LoadExpertSettings();
  FormEditorSession f;
  host::ReadOptions options;
  options.fileName = DisplayName(form);
  options.designing = true;
  f.root = host::LoadFormFile(form, options);
  for (int i = 0; i < f.root->ComponentCount() && !f.vorlect; ++i)
    f.vorlect = dynamic_cast<runtime::TBaseVorlect*>(f.root->Components(i));
  if (!f.vorlect) throw Failure(DisplayName(form) + ": the form holds no translation component");
  try {
    f.editor = std::make_unique<vle::TFEditVorlect>(*f.vorlect);
  } catch (const vle::EEditorError& e) {
    std::string text = e.what();
    std::replace(text.begin(), text.end(), '\r', ' ');
    throw Failure(DisplayName(form) + ": " + text);
  }
  // The editor's window layout belongs to the user's own sessions.
  f.editor->WriteSettingsOnClose = false;
  f.editor->CsvFormFile = std::filesystem::absolute(form).string();
  if (utf8) {
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

void SaveFormTable(const std::string& form, const FormEditorSession& session) {
  host::TStringList lines;
  const host::TStringList& words = *session.vorlect->Words();
  for (int i = 0; i < words.Count(); ++i) lines.Add(vle::notation::OfBytes(words.Strings(i)));
  vle::RewriteComponentTable(form, session.vorlect->Name(), session.vorlect->Languages(), lines);
}

}  // namespace vorlect::cli
