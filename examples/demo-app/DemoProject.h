// The forms of a project, loaded from their form files as the finished application creates them:
// the main form (the first form of the uses clause) and the others, each with its translation
// component switched to the application-wide language as it loads.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/Controls.h"
#include "runtime/VLBase.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::demo {

class DemoError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct LoadedForm {
  std::string file;
  std::unique_ptr<host::TComponent> form;
};

// Reads the project's uses clause and loads every form it names (units with a `{Form}` comment
// and a form file beside the unit). Throws DemoError naming the file when the project cannot be
// read, holds no form, or a form file is damaged.
std::vector<LoadedForm> LoadProjectForms(const std::string& projectFile);

// The first translation component of a form, or null.
runtime::TBaseVorlect* TranslationComponent(host::TComponent& form);

// The font character set that suits a string module's texts: the one of the language its first
// block is in (DEFAULT_CHARSET when the module names none). Throws DemoError when the module
// cannot be read.
int StringModuleCharset(const std::string& dllFile);

// The string identifiers of a table (entries whose key names no component and is not the form's
// caption or a continuation), in table order.
std::vector<std::string> StringIdentifiers(runtime::TBaseVorlect& vorlect);

// A numbered string as the application shows it: its Format directives ("%s", "%0:s", "%-10s")
// filled with `argument`, "%%" a percent sign. Directives of other types and a "%" that starts
// none stay as they stand.
std::string FormatMessage(std::string_view format, const std::string& argument);

}  // namespace vorlect::demo
