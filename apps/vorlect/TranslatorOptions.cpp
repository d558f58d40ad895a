#include "TranslatorOptions.h"

#include "CliSupport.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace vorlect::cli {

void AddTranslatorOptions(CLI::App& command, TranslatorArgs& args, bool withRc) {
  command
      .add_option("--format", args.format,
                  withRc ? "csv, rc, po or xliff (without it: CSV or resource scripts, as FILE's extension says)"
                         : "csv (the default), po or xliff")
      ->check(withRc ? CLI::IsMember({"csv", "rc", "po", "xliff"}) : CLI::IsMember({"csv", "po", "xliff"}));
  command.add_option("--languages", args.languages,
                     "PO and XLIFF: only these languages, numbered from 0 (e.g. 1,2); default every language but 0");
  command.add_option("--xliff-version", args.xliffVersion, "XLIFF: 1.2 (the default) or 2.0")
      ->check(CLI::IsMember({"1.2", "2.0"}));
}

std::optional<vle::TTranslatorOptions> TranslatorOptionsOf(const TranslatorArgs& args, const std::string& file) {
  const bool translator = args.format == "po" || args.format == "xliff";
  if (!translator) {
    if (!args.languages.empty() || !args.xliffVersion.empty())
      throw Failure("--languages and --xliff-version belong to --format po or xliff");
    if (args.format == "rc" && !file.ends_with(".rc") && !file.ends_with(".RC"))
      throw Failure("--format rc needs a file name ending in .rc: " + file);
    return std::nullopt;
  }
  if (args.format == "po" && !args.xliffVersion.empty()) throw Failure("--xliff-version belongs to --format xliff");
  vle::TTranslatorOptions o;
  o.format = args.format == "po"               ? vle::TTranslatorFormat::Po
             : args.xliffVersion == "2.0"      ? vle::TTranslatorFormat::Xliff20
                                               : vle::TTranslatorFormat::Xliff12;
  std::string rest = args.languages;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    std::string item = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    while (!item.empty() && item.front() == ' ') item.erase(item.begin());
    while (!item.empty() && item.back() == ' ') item.pop_back();
    if (item.empty()) continue;
    if (item.size() > 3 || item.find_first_not_of("0123456789") != std::string::npos)
      throw Failure("--languages: \"" + item + "\" is no language number");
    o.languages.push_back(std::stoi(item));
  }
  if (!args.languages.empty() && o.languages.empty()) throw Failure("--languages names no language");
  return o;
}

void PrintTranslatorReport(const vle::TTranslatorReport& report) {
  for (const std::string& line : report.problems) std::fprintf(stderr, "vorlect: %s\n", line.c_str());
  for (const std::string& file : report.files) std::fprintf(stderr, "vorlect: wrote %s\n", file.c_str());
}

}  // namespace vorlect::cli
