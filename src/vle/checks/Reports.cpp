#include "vle/checks/Reports.h"

#include "platform/CodePages.h"
#include "vle/checks/TextRules.h"

#include <filesystem>

namespace vorlect::vle::checks {

namespace {

namespace fs = std::filesystem;

std::string Ansi(const std::string& bytes) { return ToUtf8(bytes, platform::AnsiCodePage()); }

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// SARIF levels: "note" is its word for information.
const char* SarifLevel(Level level) {
  switch (level) {
    case Level::Error: return "error";
    case Level::Warning: return "warning";
    case Level::Information: return "note";
  }
  return "error";
}

// A relative URI reference: the path's parts with everything but unreserved characters and "/"
// percent-encoded.
std::string UriOf(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace

Accepted::Entry Accepted::Normalised(const std::string& form, const std::string& key, int language,
                                     const std::string& check) {
  return {LowerAscii(form), LowerAscii(key), language, check};
}

Accepted Accepted::FromSection(const nlohmann::ordered_json& section, std::vector<std::string>* notes) {
  Accepted a;
  if (section.is_null()) return a;
  if (!section.is_array()) {
    if (notes) notes->push_back("the section is not a list of entries; nothing in it is accepted");
    return a;
  }
  int n = 0;
  for (const auto& item : section) {
    ++n;
    const bool valid = item.is_object() && item.contains("form") && item["form"].is_string() &&
                       item.contains("key") && item["key"].is_string() && item.contains("check") &&
                       item["check"].is_string() && item.contains("language") &&
                       item["language"].is_number_integer();
    if (!valid) {
      if (notes) notes->push_back("entry " + std::to_string(n) + " needs a form, key and check (texts) and a language (a number)");
      continue;
    }
    Entry e{item["form"].get<std::string>(), item["key"].get<std::string>(), item["language"].get<int>(),
            item["check"].get<std::string>()};
    if (a.index_.insert(Normalised(std::get<0>(e), std::get<1>(e), std::get<2>(e), std::get<3>(e))).second)
      a.entries_.push_back(std::move(e));
  }
  return a;
}

nlohmann::ordered_json Accepted::ToSection() const {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Entry& e : entries_) {
    nlohmann::ordered_json item;
    item["form"] = std::get<0>(e);
    item["key"] = std::get<1>(e);
    item["language"] = std::get<2>(e);
    item["check"] = std::get<3>(e);
    list.push_back(std::move(item));
  }
  return list;
}

bool Accepted::Covers(const Problem& p) const {
  if (index_.empty()) return false;
  return index_.count(Normalised(Ansi(p.form), Ansi(p.key), p.language, Info(p.check).name)) > 0;
}

bool Accepted::Add(const Problem& p) {
  const std::string form = Ansi(p.form), key = Ansi(p.key);
  if (!index_.insert(Normalised(form, key, p.language, Info(p.check).name)).second) return false;
  entries_.emplace_back(form, key, p.language, Info(p.check).name);
  return true;
}

std::string TextReport(const std::vector<Reported>& problems) {
  std::string out;
  for (const Reported& r : problems) {
    const Problem& p = r.problem;
    out += r.file + ": " + Ansi(p.form) + "." + Ansi(p.key) + " row " + std::to_string(p.row) + ", language " +
           std::to_string(p.language) + ": " + LevelName(p.level) + ": " + p.message + " [" + Info(p.check).name + "]\n";
  }
  return out;
}

std::string JsonReport(const std::vector<Reported>& problems) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Reported& r : problems) {
    const Problem& p = r.problem;
    nlohmann::ordered_json item;
    item["form"] = Ansi(p.form);
    item["key"] = Ansi(p.key);
    item["row"] = p.row;
    item["language"] = p.language;
    item["check"] = Info(p.check).name;
    item["level"] = LevelName(p.level);
    item["message"] = p.message;
    list.push_back(std::move(item));
  }
  return list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string SarifReport(const std::vector<Reported>& problems, const std::string& baseFolder) {
  nlohmann::ordered_json rules = nlohmann::ordered_json::array();
  for (const CheckInfo& c : AllChecks()) {
    nlohmann::ordered_json rule;
    rule["id"] = c.name;
    rule["shortDescription"]["text"] = c.description;
    rule["defaultConfiguration"]["level"] = SarifLevel(c.level);
    rules.push_back(std::move(rule));
  }
  nlohmann::ordered_json results = nlohmann::ordered_json::array();
  const fs::path base = (baseFolder.empty() ? fs::current_path() : fs::absolute(baseFolder)).lexically_normal();
  for (const Reported& r : problems) {
    const Problem& p = r.problem;
    std::error_code ec;
    fs::path file = fs::absolute(r.file, ec).lexically_normal();
    fs::path relative = file.lexically_relative(base);
    const bool inside = !relative.empty() && *relative.begin() != "..";
    nlohmann::ordered_json result;
    result["ruleId"] = Info(p.check).name;
    result["ruleIndex"] = static_cast<int>(p.check);
    result["level"] = SarifLevel(p.level);
    result["message"]["text"] = p.message;
    nlohmann::ordered_json location;
    auto& artifact = location["physicalLocation"]["artifactLocation"];
    if (inside) {
      artifact["uri"] = UriOf(relative.generic_string());
      artifact["uriBaseId"] = "PROJECTROOT";
    } else {
      artifact["uri"] = "file://" + UriOf(file.generic_string());
    }
    nlohmann::ordered_json logical;
    logical["fullyQualifiedName"] = Ansi(p.form) + "." + Ansi(p.key) + "[" + std::to_string(p.row) + "]";
    logical["kind"] = "resource";
    location["logicalLocations"] = nlohmann::ordered_json::array({logical});
    result["locations"] = nlohmann::ordered_json::array({location});
    result["properties"]["form"] = Ansi(p.form);
    result["properties"]["key"] = Ansi(p.key);
    result["properties"]["row"] = p.row;
    result["properties"]["language"] = p.language;
    results.push_back(std::move(result));
  }
  nlohmann::ordered_json driver;
  driver["name"] = "vorlect";
  driver["version"] = "0.1.0";
  driver["rules"] = std::move(rules);
  nlohmann::ordered_json run;
  run["tool"]["driver"] = std::move(driver);
  std::string baseUri = "file://" + UriOf(base.generic_string());
  if (baseUri.back() != '/') baseUri += '/';
  run["originalUriBaseIds"]["PROJECTROOT"]["uri"] = baseUri;
  run["results"] = std::move(results);
  nlohmann::ordered_json doc;
  doc["$schema"] = "https://json.schemastore.org/sarif-2.1.0.json";
  doc["version"] = "2.1.0";
  doc["runs"] = nlohmann::ordered_json::array({run});
  return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace vorlect::vle::checks
