#include "vle/settings/ProjectSettings.h"

#include "platform/Files.h"

#include <filesystem>
#include <sstream>
#include <system_error>

namespace vorlect::vle {

namespace fs = std::filesystem;

std::string ProjectSettingsPath(const std::string& projectFile) {
  fs::path p(projectFile);
  p.replace_extension(".vorlect.json");
  return p.string();
}

std::string SettingsPlace(std::string_view text, size_t offset) {
  size_t line = 1, column = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

ProjectSettings ProjectSettings::Load(const std::string& path) {
  ProjectSettings s;
  s.path_ = path;
  std::error_code ec;
  if (!fs::exists(path, ec)) return s;
  const std::string text = platform::ReadFile(path);
  try {
    s.doc_ = nlohmann::ordered_json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    // e.byte is one past the offending byte.
    std::string reason = e.what();
    if (auto at = reason.find("syntax error"); at != std::string::npos) reason = reason.substr(at);
    throw ProjectSettingsError(path + ":" + SettingsPlace(text, e.byte ? e.byte - 1 : 0) + ": " + reason);
  }
  if (!s.doc_.is_object()) throw ProjectSettingsError(path + ":1:1: the settings file must hold one JSON object");
  return s;
}

ProjectSettings ProjectSettings::LoadForProject(const std::string& projectFile) {
  return Load(ProjectSettingsPath(projectFile));
}

bool ProjectSettings::Has(const std::string& section) const { return doc_.contains(section); }

const nlohmann::ordered_json& ProjectSettings::Section(const std::string& section) const {
  static const nlohmann::ordered_json none;
  auto it = doc_.find(section);
  return it == doc_.end() ? none : *it;
}

void ProjectSettings::SetSection(const std::string& section, nlohmann::ordered_json value) {
  doc_[section] = std::move(value);
}

void ProjectSettings::RemoveSection(const std::string& section) { doc_.erase(section); }

void ProjectSettings::Save() const { platform::WriteFileAtomic(path_, doc_.dump(2) + "\n", platform::NewFile::kDurable); }

void ProjectSettings::SaveAs(const std::string& path) {
  path_ = path;
  Save();
}

}  // namespace vorlect::vle
