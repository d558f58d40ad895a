#include "vle/settings/TranslatableSettings.h"

#include "platform/Files.h"
#include "runtime/VLTranslatable.h"
#include "vle/settings/ProjectSettings.h"

#include <optional>
#include <string_view>
#include <variant>

namespace vorlect::vle {

namespace {

using Json = nlohmann::ordered_json;
using PathStep = std::variant<std::string, size_t>;  // member name or array index

// Where a value of an already parsed file starts, to name its line and column. The text is known
// to be valid JSON; every step is still bounds-checked.
class Locator {
public:
  explicit Locator(std::string_view text) : s_(text) {}

  std::optional<size_t> Find(const std::vector<PathStep>& path) const {
    size_t i = Ws(0);
    for (const PathStep& step : path) {
      if (i >= s_.size()) return std::nullopt;
      std::optional<size_t> next = std::holds_alternative<std::string>(step) ? Member(i, std::get<std::string>(step))
                                                                            : Element(i, std::get<size_t>(step));
      if (!next) return std::nullopt;
      i = *next;
    }
    return i;
  }

private:
  size_t Ws(size_t i) const {
    while (i < s_.size() && (s_[i] == ' ' || s_[i] == '\t' || s_[i] == '\r' || s_[i] == '\n')) ++i;
    return i;
  }
  size_t SkipString(size_t i) const {  // at the opening quote; returns past the closing one
    for (++i; i < s_.size(); ++i) {
      if (s_[i] == '\\') ++i;
      else if (s_[i] == '"') return i + 1;
    }
    return s_.size();
  }
  size_t SkipValue(size_t i) const {
    if (i >= s_.size()) return i;
    if (s_[i] == '"') return SkipString(i);
    if (s_[i] == '{' || s_[i] == '[') {
      int depth = 0;
      while (i < s_.size()) {
        const char c = s_[i];
        if (c == '"') {
          i = SkipString(i);
          continue;
        }
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']')
          if (--depth == 0) return i + 1;
        ++i;
      }
      return i;
    }
    while (i < s_.size() && s_[i] != ',' && s_[i] != '}' && s_[i] != ']' && s_[i] != ' ' && s_[i] != '\n' &&
           s_[i] != '\r' && s_[i] != '\t')
      ++i;
    return i;
  }
  std::optional<size_t> Member(size_t i, const std::string& key) const {
    if (s_[i] != '{') return std::nullopt;
    i = Ws(i + 1);
    while (i < s_.size() && s_[i] == '"') {
      const size_t end = SkipString(i);
      std::string name;
      try {
        name = Json::parse(s_.substr(i, end - i)).get<std::string>();
      } catch (const std::exception&) {
        return std::nullopt;
      }
      i = Ws(end);
      if (i >= s_.size() || s_[i] != ':') return std::nullopt;
      i = Ws(i + 1);
      if (name == key) return i;
      i = Ws(SkipValue(i));
      if (i < s_.size() && s_[i] == ',') i = Ws(i + 1);
    }
    return std::nullopt;
  }
  std::optional<size_t> Element(size_t i, size_t n) const {
    if (s_[i] != '[') return std::nullopt;
    i = Ws(i + 1);
    for (size_t k = 0; i < s_.size() && s_[i] != ']'; ++k) {
      if (k == n) return i;
      i = Ws(SkipValue(i));
      if (i < s_.size() && s_[i] == ',') i = Ws(i + 1);
    }
    return std::nullopt;
  }

  std::string_view s_;
};


class SectionReader {
public:
  explicit SectionReader(const ProjectSettings& settings) : settings_(settings) {}

  void Read(const char* section, std::vector<std::pair<std::string, std::string>>& out) {
    const Json& value = settings_.Section(section);
    if (value.is_null()) return;
    if (!value.is_object())
      Fail({section}, std::string("the section \"") + section +
                          "\" must be an object naming, per class, a list of property paths");
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string& cls = it.key();
      if (cls != "*" && !IsIdentifier(cls)) Fail({section, cls}, "\"" + cls + "\" is not a class name (or \"*\")");
      const Json& paths = it.value();
      if (!paths.is_array()) Fail({section, cls}, "the property paths of \"" + cls + "\" must be a list of strings");
      for (size_t k = 0; k < paths.size(); ++k) {
        if (!paths[k].is_string()) Fail({section, cls, k}, "a property path must be a string");
        const std::string path = paths[k].get<std::string>();
        if (!IsPath(path))
          Fail({section, cls, k}, "\"" + path + "\" is not a property path (names joined by full stops)");
        out.emplace_back(cls, path);
      }
    }
  }

private:
  static bool IsIdentifier(std::string_view s) {
    if (s.empty() || s.size() > 255) return false;
    for (size_t i = 0; i < s.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      const bool letter = ((c | 32) >= 'a' && (c | 32) <= 'z') || c == '_';
      if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
  }
  static bool IsPath(std::string_view s) {
    for (size_t from = 0;;) {
      const size_t dot = s.find('.', from);
      if (!IsIdentifier(s.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from)))
        return false;
      if (dot == std::string_view::npos) return true;
      from = dot + 1;
    }
  }

  [[noreturn]] void Fail(const std::vector<PathStep>& where, const std::string& reason) const {
    std::string place = "1:1";
    try {
      const std::string text = platform::ReadFile(settings_.Path());
      if (const auto at = Locator(text).Find(where)) place = SettingsPlace(text, *at);
    } catch (const std::exception&) {
      // The place is a courtesy; the reason still names the value.
    }
    throw ProjectSettingsError(settings_.Path() + ":" + place + ": " + reason);
  }

  const ProjectSettings& settings_;
};

}  // namespace

TranslatableProperties ReadTranslatableProperties(const ProjectSettings& settings) {
  TranslatableProperties p;
  SectionReader reader(settings);
  reader.Read("translate", p.translate);
  reader.Read("never", p.never);
  return p;
}

void RegisterTranslatableProperties(const TranslatableProperties& properties) {
  runtime::ClearRegisteredProperties();
  for (const auto& [cls, path] : properties.translate) runtime::RegisterTranslatableProperty(cls, path);
  for (const auto& [cls, path] : properties.never) runtime::RegisterUntranslatedProperty(cls, path);
}

void UseSettingsFile(const std::string& path) {
  // Read whole before anything is registered: a damaged file changes nothing.
  RegisterTranslatableProperties(ReadTranslatableProperties(ProjectSettings::Load(path)));
}

void UseProjectSettings(const std::string& projectFile) { UseSettingsFile(ProjectSettingsPath(projectFile)); }

}  // namespace vorlect::vle
