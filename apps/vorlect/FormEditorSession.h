// A form loaded as the designer holds it, with the translation editor opened on its first
// translation component without a window; the form subcommands that change a table and
// `project update` work through it and save through the shared table rewrite.
#pragma once

#include <memory>
#include <string>

#include "host/framework/Classes.h"
#include "runtime/VLBase.h"
#include "vle/editor/VLEditor.h"

namespace vorlect::cli {

struct FormEditorSession {
  std::unique_ptr<host::TComponent> root;
  runtime::TBaseVorlect* vorlect = nullptr;
  std::unique_ptr<vle::TFEditVorlect> editor;
};

// Throws Failure naming the form when it cannot be loaded, holds no translation component or the
// editor cannot open on it. `utf8` sets the editor's CSV files to UTF-8, each language column in
// the code page of its configured language.
FormEditorSession OpenFormEditor(const std::string& form, bool utf8 = false);

// Writes the component's table into the form file; the form keeps its format, a text form every
// other line's bytes. Throws on failure, the form file then unchanged.
void SaveFormTable(const std::string& form, const FormEditorSession& session);

}  // namespace vorlect::cli
