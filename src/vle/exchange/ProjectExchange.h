// Project-wide export and import of translation tables (CSV and resource scripts) and project
// search and replace, over the project manager's catalogue.
#pragma once

#include "vle/project/VLEMain.h"

#include <string>
#include <vector>

namespace vorlect::vle {

struct TExportOptions {
  bool perLanguage = false;  // CSV: also one file per language (NAME1.csv, NAME2.csv ...)
  bool utf8 = false;         // real characters in UTF-8 with a byte-order mark
};

// The exchange page's "&Export" for `fileName` (.csv or .rc) over the selected rows; returns the
// number of forms exported, -1 when nothing was written (bad name, cancelled, file error).
// `askPerLanguage` false takes `options.perLanguage` instead of asking.
int ExportProject(TFPrjList& catalogue, const std::string& fileName, TExportOptions options, bool askPerLanguage = true);

// The exchange page's "&Import" of a CSV file; returns the number of forms imported.
int ImportProject(TFPrjList& catalogue, const std::string& fileName, bool utf8 = false);

// Resource escaping of one table line (form-file notation in, resource string body out).
std::string ResourceEscape(std::string_view line);

}  // namespace vorlect::vle
