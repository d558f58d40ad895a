// Helpers around the project catalogue shared by the command-line subcommands: opening a project
// without a window, choosing forms by name, a line-based progress report, files beside a form.
#pragma once

#include "host/toolservices/ToolServices.h"
#include "vle/project/VLEMain.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::vle {

// ASCII letters compared without regard to case.
bool SameFormName(std::string_view a, std::string_view b);

// `path` with its extension replaced by `ext` (".pas", ".dfm"); when that file is missing, a file
// in the same folder whose name differs only in case, as on the original platform.
std::string ResolveSiblingFile(const std::string& path, std::string_view ext);

// The same for many files: each folder is listed once, when a file of it is first missing, so
// that resolving every form of a project does not read its folder once per form.
class TSiblingFiles {
public:
  std::string Resolve(const std::string& path, std::string_view ext);

private:
  // Folder -> lower-case name -> the name as the folder holds it (the first of its case variants).
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> folders_;
};

// "A,B , C" -> {"A", "B", "C"}; empty parts are dropped.
std::vector<std::string> SplitFormNames(std::string_view list);

// Does `name` name this row: the form's name in the project's braces, its class name or its
// form file's base name, ignoring case.
bool FormMatches(const TEntry& entry, std::string_view name);

// Selects the rows `names` name (all rows when `names` is empty) and deselects the others.
// Returns the names that matched no row.
std::vector<std::string> SelectForms(TFPrjList& catalogue, const std::vector<std::string>& names);

// "12/40 path/Form.dfm" lines for long runs; prints only every percent of a large run.
TProgress LineProgress(std::FILE* out);

// A project opened for the command line: the headless host is the current host while this lives,
// and the catalogue was read without the language-names question, keeping counts only between
// steps so that memory stays flat in the number of forms.
class ProjectSession {
public:
  // Registers the translatable properties of the project's settings file first (throws
  // ProjectSettingsError for a damaged one). Throws toolservices::ProjectFileError or
  // platform::FileError for an unreadable project.
  explicit ProjectSession(const std::string& projectFile, TProgress progress = {});
  ~ProjectSession();
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  toolservices::HeadlessHost& Host() { return *host_; }
  TFPrjList& Catalogue() { return *catalogue_; }

private:
  std::unique_ptr<toolservices::HeadlessHost> host_;
  toolservices::HostServices* previous_ = nullptr;
  std::unique_ptr<TFPrjList> catalogue_;
};

}  // namespace vorlect::vle
