#include "DemoProject.h"

#include "host/framework/Streaming.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "platform/pe/LanguageCodePages.h"
#include "platform/pe/StringModule.h"
#include "runtime/VLCore.h"

#include <cctype>
#include <filesystem>
#include <utility>

namespace vorlect::demo {

namespace fs = std::filesystem;

std::vector<LoadedForm> LoadProjectForms(const std::string& projectFile) {
  std::string text;
  try {
    text = platform::ReadFile(projectFile);
  } catch (const std::exception& e) {
    throw DemoError(e.what());
  }
  std::vector<toolservices::ProjectUnit> units;
  try {
    units = toolservices::ParseProjectUses(text, projectFile);
  } catch (const std::exception& e) {
    throw DemoError(e.what());
  }
  runtime::RegisterClasses();
  const std::string folder = fs::path(projectFile).parent_path().string();
  std::vector<LoadedForm> forms;
  for (const toolservices::ProjectUnit& unit : units) {
    if (unit.formName.empty() || unit.path.empty()) continue;
    std::string written = unit.path;
    const std::size_t dot = written.find_last_of('.');
    const std::size_t slash = written.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) written.resize(dot);
    const std::string file = toolservices::ResolveProjectPath(folder.empty() ? "." : folder, written + ".dfm");
    if (!platform::FileExists(file)) continue;
    try {
      forms.push_back({file, host::LoadFormFile(file)});
    } catch (const std::exception& e) {
      throw DemoError(e.what());
    }
  }
  if (forms.empty()) throw DemoError(projectFile + ": the project names no form with a form file");
  return forms;
}

runtime::TBaseVorlect* TranslationComponent(host::TComponent& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* vorlect = dynamic_cast<runtime::TBaseVorlect*>(form.Components(i))) return vorlect;
  return nullptr;
}

int StringModuleCharset(const std::string& dllFile) {
  std::unique_ptr<platform::StringModule> module;
  try {
    module = platform::StringModule::Load(dllFile);
  } catch (const std::exception& e) {
    throw DemoError(e.what());
  }
  static const std::pair<int, int> kCharsets[] = {
      {1252, 0},   {1250, 238}, {1251, 204}, {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178},
      {1257, 186}, {1258, 163}, {874, 222},  {932, 128},  {936, 134},  {949, 129},  {950, 136}};
  const int codePage = platform::AnsiCodePageOfLangId(module->LanguageOf(1000));
  for (auto [page, charset] : kCharsets)
    if (page == codePage) return charset;
  return 1;  // DEFAULT_CHARSET
}

std::vector<std::string> StringIdentifiers(runtime::TBaseVorlect& vorlect) {
  std::vector<std::string> ids;
  const host::TStrings& words = *vorlect.Words();
  host::TComponent* form = vorlect.Owner();
  const int stride = vorlect.Languages() + 1;
  for (int i = 0; i + stride <= words.Count(); i += stride) {
    const std::string& key = words.Strings(i);
    if (key.empty() || key == runtime::kFormKey || key[0] == '"') continue;
    if (form && form->FindComponent(key)) continue;
    ids.push_back(key);
  }
  return ids;
}

std::string FormatMessage(std::string_view format, const std::string& argument) {
  std::string out;
  std::size_t p = 0;
  while (p < format.size()) {
    const std::size_t percent = format.find('%', p);
    if (percent == std::string_view::npos) break;
    out.append(format.substr(p, percent - p));
    if (percent + 1 < format.size() && format[percent + 1] == '%') {
      out += '%';
      p = percent + 2;
      continue;
    }
    // % [index :] [-] [width] [. precision] type
    std::size_t q = percent + 1;
    const auto digits = [&] {
      while (q < format.size() && std::isdigit(static_cast<unsigned char>(format[q]))) ++q;
    };
    digits();
    if (q < format.size() && format[q] == ':') {
      ++q;
    } else {
      q = percent + 1;
    }
    if (q < format.size() && format[q] == '-') ++q;
    digits();
    if (q < format.size() && format[q] == '.') {
      ++q;
      digits();
    }
    if (q < format.size() && (format[q] == 's' || format[q] == 'S')) {
      out += argument;
      p = q + 1;
      continue;
    }
    out += '%';
    p = percent + 1;
  }
  if (p < format.size()) out.append(format.substr(p));
  return out;
}

}  // namespace vorlect::demo
