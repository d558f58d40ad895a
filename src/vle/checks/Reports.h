// What a check run reports: problems accepted in the project's settings file, and the three
// output formats (one line per problem, a JSON array, SARIF 2.1.0 for code-review tools).
#pragma once

#include "vle/checks/Checks.h"

#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace vorlect::vle::checks {

// The section "accepted" of the per-project settings file: (form, key, language, check) entries
// that are no longer reported, whatever the row. Forms and keys are kept in UTF-8 and compared
// without regard to ASCII case, as the table's keys are.
class Accepted {
public:
  inline static const char* kSection = "accepted";

  // Entries that are not objects with a string form, key and check and a language number are
  // passed over, each with a note in `notes` ("entry 3: ...").
  static Accepted FromSection(const nlohmann::ordered_json& section, std::vector<std::string>* notes = nullptr);
  // The entries in the order they were added, as the section stores them.
  nlohmann::ordered_json ToSection() const;

  bool Covers(const Problem& p) const;
  // False when it was accepted already.
  bool Add(const Problem& p);
  size_t Size() const { return entries_.size(); }

private:
  using Entry = std::tuple<std::string, std::string, int, std::string>;  // form, key, language, check
  static Entry Normalised(const std::string& form, const std::string& key, int language, const std::string& check);
  std::vector<Entry> entries_;     // as written
  std::set<Entry> index_;          // normalised
};

// A problem with the form file it was found in (a path as the user named it, for messages).
struct Reported {
  Problem problem;
  std::string file;
};

// "Main.dfm: MainForm.BtnFind row 0, language 1: warning: <message> [accelerator-missing]" lines.
std::string TextReport(const std::vector<Reported>& problems);
// [{"form", "key", "row", "language", "check", "level", "message"}, ...]
std::string JsonReport(const std::vector<Reported>& problems);
// One run of the tool "vorlect" with a rule per check; files relative to `baseFolder` when inside it.
std::string SarifReport(const std::vector<Reported>& problems, const std::string& baseFolder);

}  // namespace vorlect::vle::checks
