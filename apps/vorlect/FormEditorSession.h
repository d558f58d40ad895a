// A form loaded as the designer holds it, with the translation editor opened on one of its
// translation components without a window; the form subcommands that change a table and
// `project update` work through it and save through the shared component rewrite.
#pragma once

#include <memory>
#include <string>

#include "host/framework/Classes.h"
#include "runtime/VLBase.h"
#include "vle/editor/VLEditor.h"
#include "vle/project/DFM_TXT.h"

namespace CLI {
class App;
}

namespace vorlect::cli {

class Failure;

// --component NAME of the form subcommands that work on one translation component.
void AddComponentOption(CLI::App& command, std::string& componentName);

// The failure of a form without the translation component asked for (empty name: without any):
// "Main.dfm: the form holds no translation component named X".
Failure NoTranslationComponent(const std::string& form, const std::string& componentName);

struct FormEditorSession {
  std::unique_ptr<host::TComponent> root;
  runtime::TBaseVorlect* vorlect = nullptr;
  std::unique_ptr<vle::TFEditVorlect> editor;
  // The component as the editor opened on it (the form's font already recorded in CharSets).
  vle::TComponentProperties opened;
};

// Opens the editor on the translation component `componentName` (empty: the form's first one).
// Throws Failure naming the form when it cannot be loaded, holds no such component or the editor
// cannot open on it. `utf8` sets the editor's CSV files to UTF-8. A file read as UTF-8 (with it,
// with a byte-order mark, or as the user answered) has each language column converted to the code
// page of its configured language.
FormEditorSession OpenFormEditor(const std::string& form, bool utf8 = false, const std::string& componentName = {});

// Writes what the editor wrote into the component (languages, active language, table, DoNot,
// Positions, CharSets) into the form file; the form keeps its format, a text form every other
// line's bytes. A component the command left as it opened is not written, so that a run that
// changes nothing leaves the file alone. Throws on failure, the form file then unchanged. True
// when the file was written.
bool SaveFormTable(const std::string& form, const FormEditorSession& session);

}  // namespace vorlect::cli
