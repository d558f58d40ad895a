// A generated project for the benchmarks: copies of the corpus's text forms, each with a
// translation component holding 20 texts in 6 languages, listed in one project file.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "host/formfile/FormFile.h"
#include "platform/Files.h"

namespace vorlect::bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kLanguages = 6;
constexpr int kTexts = 20;

inline double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Text forms of the corpus that start with an object and end with its "end" line.
inline std::vector<std::string> Templates(const fs::path& corpus) {
  std::vector<fs::path> files;
  for (const auto& f : fs::directory_iterator(corpus / "dfm" / "text"))
    if (f.path().extension() == ".dfm") files.push_back(f.path());
  std::sort(files.begin(), files.end());
  std::vector<std::string> out;
  for (const auto& f : files) {
    std::string text = platform::ReadFile(f.string());
    if (!text.starts_with("object ")) continue;
    if (text.find("vorlect") != std::string::npos || text.find("Vorlect") != std::string::npos) continue;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (!text.ends_with("\nend")) continue;
    out.push_back(std::move(text));
    if (out.size() == 20) break;
  }
  return out;
}

// The text of a form's table: form number, text number (0 the form's own) and language (1...).
using TextMaker = std::function<std::string(int form, int text, int language)>;

inline std::string DefaultText(int form, int t, int b) {
  return "Text " + std::to_string(t) + " of form " + std::to_string(form) + " in language " + std::to_string(b) +
         (t % 5 == 0 ? " isn''t'#13#10'split" : "");
}

// A template with a translation component as the form's last child.
inline std::string WithComponent(const std::string& text, int form, const TextMaker& maker = DefaultText) {
  const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::string block = "  object Vorlect1: TVorlect" + eol + "    Languages = " + std::to_string(kLanguages) + eol +
                      "    ActiveLanguage = 0" + eol + "    Words.Strings = (";
  for (int t = 0; t < kTexts; ++t) {
    block += eol + "      '" + (t == 0 ? std::string("%Form%") : "Label" + std::to_string(t)) + "'";
    for (int b = 1; b <= kLanguages; ++b)
      block += eol + "      '" + maker(form, t, b) + "'";
  }
  block += ")" + eol + "  end" + eol;
  const size_t last = text.rfind("\nend") + 1;
  return text.substr(0, last) + block + "end" + eol;
}

// `binaryHalf` stores every second form as a binary form file (with the resource header).
inline std::string Generate(const fs::path& folder, int forms, const std::vector<std::string>& templates,
                            bool binaryHalf = false, const TextMaker& maker = DefaultText) {
  fs::create_directories(folder);
  std::string dpr = "program Bench;\r\n\r\nuses\r\n  Forms";
  for (int i = 0; i < forms; ++i) {
    const std::string name = "Form" + std::to_string(i);
    std::string form = WithComponent(templates[i % templates.size()], i, maker);
    if (binaryHalf && i % 2 == 1) form = formfile::WriteBinary(formfile::ReadText(form), true);
    platform::WriteFileAtomic((folder / (name + ".dfm")).string(), form);
    platform::WriteFileAtomic((folder / (name + ".pas")).string(), "unit " + name + ";\r\n");
    dpr += ",\r\n  " + name + " in '" + name + ".pas' {" + name + "}";
  }
  dpr += ";\r\n\r\nbegin\r\nend.\r\n";
  const std::string project = (folder / "Bench.dpr").string();
  platform::WriteFileAtomic(project, dpr);
  return project;
}

}  // namespace vorlect::bench
