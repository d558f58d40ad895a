// The options of the translators' formats (PO, XLIFF) shared by the project and form commands.
#pragma once

#include "vle/exchange/TranslatorExchange.h"

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace vorlect::cli {

struct TranslatorArgs {
  std::string format;        // csv, rc, po, xliff; empty: as the file name says (CSV or resource scripts)
  std::string languages;     // "1,2", numbered from 0
  std::string xliffVersion;  // 1.2 or 2.0
};

// --format, --languages and --xliff-version.
void AddTranslatorOptions(CLI::App& command, TranslatorArgs& args, bool withRc = true);

// The options of a PO or XLIFF run; nothing for CSV and resource scripts. Throws Failure for
// options that do not fit together.
std::optional<vle::TTranslatorOptions> TranslatorOptionsOf(const TranslatorArgs& args, const std::string& file);

// Every problem of a run on standard error, one line each.
void PrintTranslatorReport(const vle::TTranslatorReport& report);

}  // namespace vorlect::cli
