// The sections "translate" and "never" of the per-project settings file: more translatable
// properties per class, and properties never to translate. They feed the runtime's registry
// (runtime/VLTranslatable.h), the same one a finished application fills with its own calls.
//
//   "translate": { "TKingLabel": ["Caption", "Hint"], "TKingGrid": ["Columns.Title.Caption"] },
//   "never":     { "TKingDBLabel": ["Caption"], "*": ["SQL"] }
//
// Only these two sections are read; the file's other sections are left to their features.
#pragma once

#include "vle/settings/ProjectSettings.h"

#include <string>
#include <utility>
#include <vector>

namespace vorlect::vle {

struct TranslatableProperties {
  // (class name, property path) in file order.
  std::vector<std::pair<std::string, std::string>> translate, never;
};

// The two sections of `settings`. A section of the wrong shape throws ProjectSettingsError
// "<file>:<line>:<column>: <reason>" pointing at the offending value.
TranslatableProperties ReadTranslatableProperties(const ProjectSettings& settings);

// Replaces every registered pair with `properties`.
void RegisterTranslatableProperties(const TranslatableProperties& properties);

// Loads the settings file `path` (a missing file holds nothing) and registers its pairs. Throws
// ProjectSettingsError for a damaged file, platform::FileError for an unreadable one.
void UseSettingsFile(const std::string& path);

// UseSettingsFile on the settings file beside the project file (.dpr).
void UseProjectSettings(const std::string& projectFile);

}  // namespace vorlect::vle
