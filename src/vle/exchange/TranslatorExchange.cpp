#include "vle/exchange/TranslatorExchange.h"

#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/exchange/PoFile.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/exchange/XliffFile.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/Notation.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace vorlect::vle {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The ICU locale of a language's configured identifier ("de_DE"); empty without one.
std::string LocaleOf(int language) {
  if (language < 0 || language >= LanguageIds().Count()) return {};
  const unsigned id = LanguageIdOf(LanguageIds().Strings(language));
  if (id == 0) return {};
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getLocaleForLCID(id, locale, sizeof locale - 1, &status);
  if (U_FAILURE(status) || n <= 0) return {};
  return locale;
}

// A language for attributes that must name one: its tag, or "und" (undetermined).
std::string TagOrUnd(int language) {
  const std::string tag = LanguageTag(language);
  return tag.empty() ? "und" : tag;
}

std::string LanguageLabel(int language) {
  const std::string tag = LanguageTag(language);
  return "language " + std::to_string(language) + (tag.empty() ? "" : " (" + tag + ")");
}

// The real text of a table line in UTF-8.
std::string TextOf(const std::string& line, int column) {
  return platform::Utf16ToUtf8(notation::ToUtf16(line, ColumnCodePage(column)));
}

bool EndsWithBreak(std::string_view s) { return !s.empty() && s.back() == '\n'; }
bool StartsWithBreak(std::string_view s) { return !s.empty() && s.front() == '\n'; }

// A translation the gettext checks would refuse beside its source: other format arguments, or a
// line break at the start or end where the source has none (or the other way round).
bool Mismatch(const std::string& source, const std::string& target, bool format) {
  if (target.empty()) return false;
  if (StartsWithBreak(source) != StartsWithBreak(target) || EndsWithBreak(source) != EndsWithBreak(target)) return true;
  if (!format) return false;
  std::vector<std::pair<int, char>> a, b;
  PascalFormatArgs(source, a);
  if (!PascalFormatArgs(target, b)) return true;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  a.erase(std::unique(a.begin(), a.end()), a.end());
  b.erase(std::unique(b.begin(), b.end()), b.end());
  return a != b;
}

bool IsFormat(const std::string& source) {
  std::vector<std::pair<int, char>> args;
  return PascalFormatArgs(source, args) && !args.empty();
}

// The property a text of a component's block belongs to, by the class's order of texts.
std::string PropertyOf(const std::string& cls, int index, bool hint) {
  if (hint) return "Hint";
  const std::string i = std::to_string(index);
  static const std::map<std::string, std::string> lists = {
      {"TListBox", "Items"},  {"TDBListBox", "Items"},     {"TDBComboBox", "Items"}, {"TComboBox", "Items"},
      {"TMemo", "Lines"},     {"THeader", "Sections"},     {"TTabSet", "Tabs"},      {"TTabbedNotebook", "Pages"},
      {"TNotebook", "Pages"}, {"TTabControl", "Tabs"},     {"TDBNavigator", "Hints"}};
  if (const auto it = lists.find(cls); it != lists.end()) return it->second + "[" + i + "]";
  if (cls == "TRadioGroup" || cls == "TDBRadioGroup")
    return index == 0 ? "Caption" : "Items[" + std::to_string(index - 1) + "]";
  if (cls == "TDBGrid") return "Columns[" + i + "].Title.Caption";
  if (cls == "THeaderControl") return "Sections[" + i + "].Text";
  if (cls == "TTreeView") return "Items[" + i + "].Text";
  if (cls == "TListView") return "column or item text " + i;
  if (cls == "TStatusBar") return index == 0 ? "SimpleText" : "Panels[" + std::to_string(index - 1) + "].Text";
  if (cls == "TFilterComboBox") return "Filter";
  if (cls == "TOpenDialog" || cls == "TSaveDialog" || cls == "TOpenPictureDialog" || cls == "TSavePictureDialog")
    return index == 0 ? "Title" : "Filter";
  if (cls.size() > 6 && cls.ends_with("Field")) return "DisplayLabel";
  if (cls == "TEdit" || cls == "TDBEdit") return "Text";
  if (index == 0) return "Caption";
  if (index == 1) return "Text";
  return "text " + i;
}

std::string Timestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M+0000", &tm);
  return buf;
}

// The languages an exchange works on, checked against the forms' language counts.
std::vector<int> LanguagesOf(TFormSet& forms, const TTranslatorOptions& options) {
  int most = 0;
  for (int i = 0; i < forms.Count(); ++i) most = std::max(most, forms.Languages(i));
  if (options.languages.empty()) {
    std::vector<int> all;
    for (int b = 1; b < most; ++b) all.push_back(b);
    return all;
  }
  std::vector<int> chosen;
  for (const int b : options.languages) {
    if (b < 0 || b >= std::max(most, 1))
      throw std::runtime_error("no language " + std::to_string(b) + " (the forms have " + std::to_string(most) +
                               " language(s), numbered from 0)");
    if (std::find(chosen.begin(), chosen.end(), b) == chosen.end()) chosen.push_back(b);
  }
  return chosen;
}

// ---- Writers ------------------------------------------------------------------------------------

class TWriter {
public:
  TWriter(const std::string& path, int language) : file_(path), language_(language) {}
  virtual ~TWriter() = default;
  virtual void Begin(const std::string& project) = 0;
  virtual void Form(const std::string& name, const TEntry& entry, const std::vector<TFormMessage>& messages) = 0;
  virtual void End() = 0;
  // Whether the file holds what its format needs to be valid (XLIFF needs a form with texts).
  virtual bool Valid() const { return true; }
  void Commit() { file_.Commit(); }
  const std::string& Path() const { return file_.Path(); }

protected:
  std::string Source(const TEntry& e, const TFormMessage& m) const {
    return TextOf(e.Lines.Strings(m.entry * (e.LanguageCount + 1) + 1), 1);
  }
  std::string Target(const TEntry& e, const TFormMessage& m) const {
    return TextOf(e.Lines.Strings(m.entry * (e.LanguageCount + 1) + 1 + language_), language_ + 1);
  }
  platform::AtomicFile file_;
  int language_;
  std::string piece_;
};

class TPoWriter : public TWriter {
public:
  TPoWriter(const std::string& path, int language, bool pot) : TWriter(path, language), pot_(pot) {}
  void Begin(const std::string& project) override {
    const std::string now = Timestamp();
    std::string header = "Project-Id-Version: " + project + "\n";
    header += "POT-Creation-Date: " + now + "\n";
    header += "PO-Revision-Date: " + now + "\n";
    header += "Last-Translator: \n";
    header += "Language-Team: \n";
    header += "Language: " + (pot_ ? std::string() : LocaleOf(language_)) + "\n";
    header += "MIME-Version: 1.0\n";
    header += "Content-Type: text/plain; charset=UTF-8\n";
    header += "Content-Transfer-Encoding: 8bit\n";
    header += "X-Generator: vorlect\n";
    std::string out = "# " + std::string(pot_ ? "Texts" : "Translations") + " of the forms of " + project + ", " +
                      LanguageLabel(language_) + ".\n";
    out += po::PoLine("msgid", "");
    out += po::PoLine("msgstr", header);
    file_.Write(out);
  }
  void Form(const std::string& name, const TEntry& e, const std::vector<TFormMessage>& messages) override {
    piece_.clear();
    for (const TFormMessage& m : messages) {
      const std::string source = Source(e, m);
      const std::string target = pot_ ? std::string() : Target(e, m);
      const bool format = IsFormat(source);
      piece_ += "\n#. " + m.note + "\n";
      piece_ += "#: " + name + ":" + m.component + "\n";
      const bool fuzzy = Mismatch(source, target, format);
      if (fuzzy || format) {
        piece_ += "#,";
        if (fuzzy) piece_ += " fuzzy";
        if (fuzzy && format) piece_ += ",";
        if (format) piece_ += " object-pascal-format";
        piece_ += "\n";
      }
      piece_ += po::PoLine("msgctxt", m.context);
      piece_ += po::PoLine("msgid", source);
      piece_ += po::PoLine("msgstr", target);
    }
    file_.Write(piece_);
  }
  void End() override {}

private:
  bool pot_;
};

class TXliffWriter : public TWriter {
public:
  TXliffWriter(const std::string& path, int language, xliff::TVersion version)
      : TWriter(path, language), version_(version) {}
  void Begin(const std::string&) override {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    if (version_ == xliff::TVersion::V12)
      out += std::string("<xliff version=\"1.2\" xmlns=\"") + xliff::kNamespace12 + "\">\n";
    else
      out += std::string("<xliff version=\"2.0\" xmlns=\"") + xliff::kNamespace20 + "\" srcLang=\"" + TagOrUnd(0) +
             "\" trgLang=\"" + TagOrUnd(language_) + "\">\n";
    file_.Write(out);
  }
  void Form(const std::string& name, const TEntry& e, const std::vector<TFormMessage>& messages) override {
    if (messages.empty()) return;
    ++files_;
    piece_.clear();
    const std::string original = xliff::Attribute(name);
    if (version_ == xliff::TVersion::V12) {
      piece_ += " <file original=\"" + original + "\" source-language=\"" + TagOrUnd(0) + "\" target-language=\"" +
                TagOrUnd(language_) + "\" datatype=\"plaintext\">\n  <body>\n";
    } else {
      piece_ += " <file id=\"" + xliff::IdOf(name) + "\" original=\"" + original + "\" canResegment=\"no\">\n";
    }
    for (const TFormMessage& m : messages) {
      const std::string source = Source(e, m);
      const std::string target = Target(e, m);
      const bool review = Mismatch(source, target, IsFormat(source));
      int placeholders = 0;
      const std::string src = xliff::Content(source, version_, &placeholders);
      const std::string trg = xliff::Content(target, version_, &placeholders);
      const std::string note = xliff::Content(m.note, version_, nullptr);
      if (version_ == xliff::TVersion::V12) {
        const char* state = target.empty() ? "needs-translation" : review ? "needs-review-translation" : "translated";
        piece_ += "   <trans-unit id=\"" + m.unitId + "\" resname=\"" + xliff::Attribute(m.context) +
                  "\" xml:space=\"preserve\">\n    <source>" + src + "</source>\n    <target state=\"" + state +
                  "\">" + trg + "</target>\n    <note>" + note + "</note>\n   </trans-unit>\n";
      } else {
        const char* state = target.empty() || review ? "initial" : "translated";
        piece_ += "  <unit id=\"" + m.unitId + "\" name=\"" + xliff::Attribute(m.context) + "\">\n   <notes><note>" +
                  note + "</note></notes>\n   <segment state=\"" + state + "\">\n    <source xml:space=\"preserve\">" +
                  src + "</source>\n";
        if (!target.empty()) piece_ += "    <target xml:space=\"preserve\">" + trg + "</target>\n";
        piece_ += "   </segment>\n  </unit>\n";
      }
    }
    piece_ += version_ == xliff::TVersion::V12 ? "  </body>\n </file>\n" : " </file>\n";
    file_.Write(piece_);
  }
  void End() override { file_.Write("</xliff>\n"); }
  bool Valid() const override { return files_ > 0; }

private:
  xliff::TVersion version_;
  int files_ = 0;
};

// ---- Reading the files back ---------------------------------------------------------------------

struct TTranslation {
  std::string source, target;
  bool review = false;   // fuzzy, or a state that asks for review
  std::string form;      // the form the message names
  std::string where;     // the message as a report names it
  bool used = false;
};

using TTranslations = std::unordered_map<std::string, TTranslation>;

std::string FormOfContext(const std::string& context) {
  // The form file's name ends before the key: the last three or four fields are key, index, block.
  const size_t bar = context.find('|');
  return bar == std::string::npos ? context : context.substr(0, bar);
}

TTranslations ReadPoTranslations(const std::string& path, TTranslatorReport& report, const std::string& label) {
  std::vector<po::TPoEntry> entries;
  try {
    entries = po::ReadPo(platform::ReadFile(path));
  } catch (const po::TPoError& e) {
    throw std::runtime_error(path + ", " + e.what());
  }
  TTranslations out;
  for (po::TPoEntry& e : entries) {
    if (e.IsHeader()) continue;
    if (!e.hasContext) {
      ++report.unknown;
      report.problems.push_back(path + ", line " + std::to_string(e.line) + ": a message without msgctxt, ignored");
      continue;
    }
    if (e.plural) {
      ++report.plural;
      report.problems.push_back(e.context + ", " + label + ": plural forms are not used by form tables, ignored");
      continue;
    }
    TTranslation t;
    t.source = std::move(e.msgid);
    t.target = e.Translation();
    t.review = e.Fuzzy();
    t.form = FormOfContext(e.context);
    t.where = e.context;
    if (!out.emplace(e.context, std::move(t)).second)
      throw std::runtime_error(path + ", line " + std::to_string(e.line) + ": a second message for " + e.context);
  }
  return out;
}

TTranslations ReadXliffTranslations(const std::string& path) {
  xliff::TDocument doc;
  try {
    doc = xliff::ReadXliff(platform::ReadFile(path));
  } catch (const xliff::TXliffError& e) {
    throw std::runtime_error(path + ", " + e.what());
  }
  TTranslations out;
  for (xliff::TUnit& u : doc.units) {
    TTranslation t;
    t.source = std::move(u.source);
    t.target = u.hasTarget ? std::move(u.target) : std::string();
    if (doc.version == xliff::TVersion::V12) {
      // A target still waiting for work or for a review is taken as gettext takes a fuzzy one.
      t.review = u.hasTarget && !t.target.empty() && u.state.starts_with("needs-");
    } else {
      t.review = u.hasTarget && !t.target.empty() && u.state == "initial";
    }
    t.form = u.file;
    t.where = u.file + " " + u.id;
    const std::string key = u.file + '\n' + u.id;
    if (!out.emplace(key, std::move(t)).second)
      throw std::runtime_error(path + ", line " + std::to_string(u.line) + ": a second unit " + u.id + " in " + u.file);
  }
  return out;
}

// The first character of `text` that code page `cp` cannot hold, as a report shows it.
std::string FirstForeign(const std::u16string& text, int cp) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t n = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    const std::u16string one = text.substr(i, n);
    bool lossy = false;
    const std::string bytes = platform::EncodeCodePage(one, cp, &lossy);
    if (lossy || platform::DecodeCodePage(bytes, cp) != one) {
      char code[16];
      std::uint32_t v = one[0];
      if (n == 2) v = 0x10000 + ((v - 0xD800) << 10) + (one[1] - 0xDC00);
      std::snprintf(code, sizeof code, "U+%04X", v);
      return "\"" + platform::Utf16ToUtf8(one) + "\" (" + code + ")";
    }
    i += n - 1;
  }
  return "a character";
}

// ---- The form sets ------------------------------------------------------------------------------

class TProjectForms : public TFormSet {
public:
  TProjectForms(TFPrjList& catalogue, std::string folder) : catalogue_(catalogue), folder_(std::move(folder)) {
    for (int r = 0; r < catalogue.Count(); ++r)
      if (catalogue.Selected(r) && catalogue.Entry(r).InstanceCount > 0) rows_.push_back(r);
  }
  int Count() const override { return static_cast<int>(rows_.size()); }
  int Languages(int i) const override { return catalogue_.Entry(rows_[i]).LanguageCount; }
  bool Visit(int i, const std::function<void(TEntry&)>& fn) override {
    TRowLines use(catalogue_, rows_[i]);
    if (use.Entry().InstanceCount <= 0) return false;  // the form changed since the catalogue was read
    if (catalogue_.Progress) catalogue_.Progress(i + 1, Count(), use.Entry().FormFile);
    fn(use.Entry());
    return true;
  }
  std::string Name(int i) const override {
    const fs::path file(catalogue_.Entry(rows_[i]).FormFile);
    if (folder_.empty()) return file.filename().generic_string();
    const fs::path rel = file.lexically_relative(fs::path(folder_));
    return rel.empty() ? file.generic_string() : rel.generic_string();
  }
  std::string Title() const override {
    const std::string caption = fs::path(catalogue_.Caption()).stem().string();
    return caption.empty() ? fs::path(folder_).filename().string() : caption;
  }
  bool Write(int i, TEntry& entry, const host::TStrings& lines) override {
    if (!RewriteTables(entry.FormFile, entry.LanguageCount, &catalogue_, lines)) return false;
    if (auto* host = toolservices::GetHostServices()) {
      const std::string unit = fs::path(catalogue_.Entry(rows_[i]).FormFile).replace_extension(".pas").string();
      if (host->HostIsFileOpen(unit)) host->HostReloadFile(unit);
    }
    return true;
  }

private:
  TFPrjList& catalogue_;
  std::string folder_;
  std::vector<int> rows_;
};

class TSingleForm : public TFormSet {
public:
  explicit TSingleForm(const std::string& formFile) { ScanFormFile(formFile, entry_); }
  int Count() const override { return 1; }
  int Languages(int) const override { return entry_.LanguageCount; }
  bool Visit(int, const std::function<void(TEntry&)>& fn) override {
    if (entry_.InstanceCount <= 0) return false;
    fn(entry_);
    return true;
  }
  std::string Name(int) const override { return fs::path(entry_.FormFile).filename().generic_string(); }
  std::string Title() const override { return Name(0); }
  bool Write(int, TEntry& entry, const host::TStrings& lines) override {
    return RewriteTables(entry.FormFile, entry.LanguageCount, nullptr, lines);
  }

private:
  TEntry entry_;
};

}  // namespace

// ---- Languages ----------------------------------------------------------------------------------

std::string LanguageTag(int language) {
  const std::string locale = LocaleOf(language);
  if (locale.empty()) return {};
  char tag[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_toLanguageTag(locale.c_str(), tag, sizeof tag - 1, true, &status);
  if (U_FAILURE(status) || n <= 0) return {};
  return tag;
}

std::string TranslatorFileName(int language, TTranslatorFormat format) {
  std::string tag = LanguageTag(language);
  if (tag.empty()) tag = "language-" + std::to_string(language);
  return tag + (format == TTranslatorFormat::Po ? ".po" : ".xlf");
}

// ---- Messages -----------------------------------------------------------------------------------

bool PascalFormatArgs(std::string_view s, std::vector<std::pair<int, char>>& args) {
  args.clear();
  int number = 0;
  auto digit = [&](std::size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; };
  for (std::size_t i = 0; i < s.size();) {
    if (s[i++] != '%') continue;
    if (i < s.size() && s[i] == '%') {
      ++i;
      continue;
    }
    // [index ":"] ["-"] [width] ["." precision] type; width and precision may be "*".
    if (digit(i)) {
      std::size_t j = i;
      long value = 0;
      while (digit(j) && value < 100000) value = value * 10 + (s[j++] - '0');
      if (j < s.size() && s[j] == ':') {
        number = static_cast<int>(value);
        i = j + 1;
      }
    } else if (i + 1 < s.size() && s[i] == '*' && s[i + 1] == ':') {
      args.emplace_back(number++, 'd');
      i += 2;
    }
    if (i < s.size() && s[i] == '-') ++i;
    if (digit(i)) {
      while (digit(i)) ++i;
    } else if (i < s.size() && s[i] == '*') {
      args.emplace_back(number++, 'd');
      ++i;
    }
    if (i < s.size() && s[i] == '.') {
      ++i;
      if (digit(i)) {
        while (digit(i)) ++i;
      } else if (i < s.size() && s[i] == '*') {
        args.emplace_back(number++, 'd');
        ++i;
      }
    }
    if (i >= s.size()) return false;
    char type = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])));
    switch (type) {
      case 'd': case 'u': case 'x': type = 'd'; break;
      case 'e': case 'f': case 'g': case 'n': case 'm': type = 'f'; break;
      case 's': case 'p': break;
      default: return false;
    }
    args.emplace_back(number++, type);
  }
  // One argument read as two types is no valid format either.
  std::map<int, char> seen;
  for (const auto& [n, t] : args)
    if (!seen.emplace(n, t).second && seen[n] != t) return false;
  return true;
}

std::vector<TFormMessage> FormMessages(const TEntry& entry, std::string_view name) {
  std::vector<TFormMessage> out;
  const int languages = entry.LanguageCount;
  if (languages <= 0) return out;
  const int width = languages + 1;
  const int entries = entry.Lines.Count() / width;
  std::unordered_map<std::string, std::string> classes;  // lower-case name -> class
  for (std::size_t i = 0; i < entry.Components.size(); ++i) {
    const std::string key = i == 0 ? std::string("%form%") : Lower(entry.Components[i].first);
    classes.emplace(key, i == 0 && !entry.FormClassName.empty() ? entry.FormClassName : entry.Components[i].second);
  }
  if (classes.find("%form%") == classes.end()) classes.emplace("%form%", entry.FormClassName);
  std::unordered_map<std::string, int> blocks;  // key -> blocks it started so far
  std::unordered_set<std::string> contexts;
  std::string key, cls;
  int block = 1, index = 0, mainIndex = 0;
  out.reserve(static_cast<std::size_t>(entries));
  for (int k = 0; k < entries; ++k) {
    const std::string text = TextOf(entry.Lines.Strings(k * width), 0);
    const bool continuation = text == "\"";
    const bool hint = Lower(text) == "\".hint";
    if (k == 0 || (!continuation && !hint)) {
      key = text;
      block = ++blocks[key];
      index = mainIndex = 0;
      const auto it = classes.find(Lower(key));
      cls = it == classes.end() ? std::string() : it->second;
    } else {
      ++index;
      if (!hint) ++mainIndex;
    }
    TFormMessage m;
    m.entry = k;
    m.component = key;
    const std::string suffix = std::to_string(index) + (block > 1 ? "|" + std::to_string(block) : "");
    m.context = std::string(name) + "|" + key + "|" + suffix;
    m.unitId = xliff::IdOf(key) + ":" + std::to_string(index) + (block > 1 ? ":" + std::to_string(block) : "");
    // A key holding "|" could make two contexts read alike: the later one gets a further field.
    for (int extra = 2; !contexts.insert(m.context).second; ++extra) {
      m.context += "|" + std::to_string(extra);
      m.unitId += ":" + std::to_string(extra);
    }
    if (cls.empty())
      m.note = "Numbered string " + key;
    else
      m.note = cls + "." + PropertyOf(cls, hint ? 0 : mainIndex, hint);
    out.push_back(std::move(m));
  }
  return out;
}

std::unique_ptr<TFormSet> ProjectForms(TFPrjList& catalogue, const std::string& projectFolder) {
  return std::make_unique<TProjectForms>(catalogue, projectFolder);
}

std::unique_ptr<TFormSet> SingleForm(const std::string& formFile) { return std::make_unique<TSingleForm>(formFile); }

// ---- Export -------------------------------------------------------------------------------------

void ExportTranslations(TFormSet& forms, const std::string& folder, const TTranslatorOptions& options,
                        TTranslatorReport& report) {
  const std::vector<int> languages = LanguagesOf(forms, options);
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder)) throw platform::FileError(folder, "cannot create the folder");

  std::vector<std::unique_ptr<TWriter>> writers;
  auto path = [&](const std::string& file) { return (fs::path(folder) / file).string(); };
  for (const int b : languages) {
    const std::string file = path(TranslatorFileName(b, options.format));
    switch (options.format) {
      case TTranslatorFormat::Po: writers.push_back(std::make_unique<TPoWriter>(file, b, false)); break;
      case TTranslatorFormat::Xliff12:
        writers.push_back(std::make_unique<TXliffWriter>(file, b, xliff::TVersion::V12));
        break;
      case TTranslatorFormat::Xliff20:
        writers.push_back(std::make_unique<TXliffWriter>(file, b, xliff::TVersion::V20));
        break;
    }
  }
  if (options.format == TTranslatorFormat::Po) writers.push_back(std::make_unique<TPoWriter>(path("messages.pot"), 0, true));
  for (auto& w : writers) w->Begin(forms.Title());
  report.forms = 0;
  for (int i = 0; i < forms.Count(); ++i) {
    const std::string name = forms.Name(i);
    const bool visited = forms.Visit(i, [&](TEntry& e) {
      const std::vector<TFormMessage> messages = FormMessages(e, name);
      for (std::size_t w = 0; w < writers.size(); ++w) {
        const int b = w < languages.size() ? languages[w] : 0;
        writers[w]->Form(name, e, b < e.LanguageCount ? messages : std::vector<TFormMessage>());
      }
    });
    report.forms += visited;
  }
  for (auto& w : writers) w->End();
  for (std::size_t w = 0; w < writers.size(); ++w) {
    if (!writers[w]->Valid()) {
      report.problems.push_back(LanguageLabel(w < languages.size() ? languages[w] : 0) + ": no texts, so no file");
      continue;
    }
    writers[w]->Commit();
    report.files.push_back(writers[w]->Path());
  }
}

// ---- Import -------------------------------------------------------------------------------------

void ImportTranslations(TFormSet& forms, const std::string& folder, const TTranslatorOptions& options,
                        TTranslatorReport& report) {
  const std::vector<int> languages = LanguagesOf(forms, options);
  const bool po = options.format == TTranslatorFormat::Po;
  // Every file is read before any form is written: a file that cannot be read changes nothing.
  std::vector<std::optional<TTranslations>> files(languages.size());
  for (std::size_t l = 0; l < languages.size(); ++l) {
    const std::string file = (fs::path(folder) / TranslatorFileName(languages[l], options.format)).string();
    if (!fs::exists(file)) {
      report.problems.push_back(LanguageLabel(languages[l]) + ": no file " + file + ", left as it was");
      continue;
    }
    files[l] = po ? ReadPoTranslations(file, report, LanguageLabel(languages[l])) : ReadXliffTranslations(file);
  }

  std::set<std::string> visitedForms;
  for (int i = 0; i < forms.Count(); ++i) {
    const std::string name = forms.Name(i);
    visitedForms.insert(name);
    forms.Visit(i, [&](TEntry& e) {
      const int width = e.LanguageCount + 1;
      host::TStringList lines;
      lines.AddStrings(e.Lines);
      bool foreign = false, changed = false;
      int taken = 0;
      std::vector<int> unicodeColumn(static_cast<std::size_t>(width), -1);  // -1 not yet looked at
      const std::vector<TFormMessage> messages = FormMessages(e, name);
      for (std::size_t l = 0; l < languages.size(); ++l) {
        const int b = languages[l];
        if (!files[l] || b >= e.LanguageCount) continue;
        TTranslations& file = *files[l];
        const std::string label = LanguageLabel(b);
        for (const TFormMessage& m : messages) {
          const auto it = file.find(po ? m.context : name + '\n' + m.unitId);
          if (it == file.end()) {
            ++report.missing;
            report.problems.push_back(m.context + ", " + label + ": not in the file, left as it was");
            continue;
          }
          TTranslation& t = it->second;
          t.used = true;
          if (t.review) {
            ++report.fuzzy;
            report.problems.push_back(m.context + ", " + label +
                                      ": marked for review (fuzzy, or not translated yet), left as it was");
            continue;
          }
          if (t.target.empty()) continue;  // not translated: an empty translation never clears a cell
          const int line = m.entry * width + 1 + b;
          if (t.source != TextOf(e.Lines.Strings(m.entry * width + 1), 1)) {
            ++report.stale;
            report.problems.push_back(m.context + ", " + label +
                                      ": its source text changed since the export, left as it was");
            continue;
          }
          const int cp = ColumnCodePage(b + 1);
          const std::string& now = e.Lines.Strings(line);
          const std::u16string text = platform::Utf8ToUtf16(t.target);
          if (notation::ToUtf16(now, cp) == text) continue;
          int& unicode = unicodeColumn[static_cast<std::size_t>(b + 1)];
          if (unicode < 0) {
            unicode = 0;
            for (int k = b + 1; k < e.Lines.Count() && !unicode; k += width) unicode = notation::Decode(e.Lines.Strings(k)).unicode;
          }
          // A cell written in Unicode codes (or a column holding such cells) takes any character;
          // an 8-bit cell only what its language's code page holds.
          const bool codes = unicode || notation::Decode(now).unicode;
          if (!codes) {
            bool lossy = false;
            const std::string bytes = platform::EncodeCodePage(text, cp, &lossy);
            if (lossy || platform::DecodeCodePage(bytes, cp) != text) {
              foreign = true;
              report.problems.push_back(e.FormFile + ": " + m.context + ", " + label + ": " + FirstForeign(text, cp) +
                                        " has no place in code page " + std::to_string(cp) + "; the form is not written");
              continue;
            }
          }
          lines.Put(line, notation::OfUtf16(text, cp, codes));
          changed = true;
          ++taken;
        }
      }
      if (foreign) {
        ++report.failed;
        return;
      }
      if (!changed) {
        ++report.unchanged;
        return;
      }
      if (forms.Write(i, e, lines)) {
        ++report.forms;
        report.taken += taken;
      } else {
        ++report.failed;
        report.problems.push_back(e.FormFile + ": could not be written");
      }
    });
  }
  // Messages naming a form of the run that has no such text (any more).
  for (std::size_t l = 0; l < languages.size(); ++l) {
    if (!files[l]) continue;
    std::vector<std::string> unknown;
    for (const auto& [key, t] : *files[l])
      if (!t.used && visitedForms.count(t.form) != 0) unknown.push_back(t.where);
    std::sort(unknown.begin(), unknown.end());
    report.unknown += static_cast<int>(unknown.size());
    for (const std::string& where : unknown)
      report.problems.push_back(where + ", " + LanguageLabel(languages[l]) + ": no such text in the form, ignored");
  }
}

}  // namespace vorlect::vle
