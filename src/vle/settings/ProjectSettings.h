// The per-project settings file, PROJECT.vorlect.json beside the project's .dpr.
//
// One JSON object whose members are sections ("translate", "never", "accepted", ...). Each
// feature reads and replaces its own section and leaves every other one as it found it, so tools
// of different versions can share one file.
#pragma once

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::vle {

class ProjectSettingsError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// "line:column" (both from 1) of a byte offset in a settings file's text, for messages.
std::string SettingsPlace(std::string_view text, size_t offset);

// "X/Game.dpr" -> "X/Game.vorlect.json".
std::string ProjectSettingsPath(const std::string& projectFile);

class ProjectSettings {
public:
  ProjectSettings() = default;

  // Reads the file; a missing file is an empty settings object. A file that is not a JSON object
  // throws ProjectSettingsError "<file>:<line>:<column>: <reason>".
  static ProjectSettings Load(const std::string& path);
  // Load(ProjectSettingsPath(projectFile)).
  static ProjectSettings LoadForProject(const std::string& projectFile);

  const std::string& Path() const { return path_; }
  bool Has(const std::string& section) const;
  // The section, or a null value when absent.
  const nlohmann::ordered_json& Section(const std::string& section) const;
  void SetSection(const std::string& section, nlohmann::ordered_json value);
  void RemoveSection(const std::string& section);

  // Writes the whole object (two-space indent, members in their order) through an atomic
  // replace. Throws platform::FileError.
  void Save() const;
  void SaveAs(const std::string& path);

  const nlohmann::ordered_json& Document() const { return doc_; }

private:
  std::string path_;
  nlohmann::ordered_json doc_ = nlohmann::ordered_json::object();
};

}  // namespace vorlect::vle
