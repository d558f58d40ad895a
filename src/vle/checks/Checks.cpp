#include "vle/checks/Checks.h"

#include "platform/CodePages.h"
#include "vle/checks/TextRules.h"
#include "vle/spellcheck/SpellTranslations.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace vorlect::vle::checks {

namespace {

const std::vector<CheckInfo> kChecks = {
    {CheckId::Placeholder, "placeholder", Level::Error,
     "Format arguments differ from language 0 in count or kind, or plain ones changed their order."},
    {CheckId::AcceleratorMissing, "accelerator-missing", Level::Warning,
     "Language 0 marks an accelerator key and the translation does not."},
    {CheckId::AcceleratorExtra, "accelerator-extra", Level::Warning,
     "The translation marks an accelerator key and language 0 does not."},
    {CheckId::AcceleratorDouble, "accelerator-double", Level::Warning, "A text marks two accelerator keys."},
    {CheckId::AcceleratorClash, "accelerator-clash", Level::Warning,
     "Another control of the same menu or parent marks the same accelerator key."},
    {CheckId::Punctuation, "punctuation", Level::Warning, "The text ends in other punctuation than language 0."},
    {CheckId::Whitespace, "whitespace", Level::Warning,
     "Leading or trailing blanks, or the number of line breaks, differ from language 0."},
    {CheckId::Empty, "empty", Level::Warning, "The translation is empty where language 0 has a text."},
    {CheckId::SameAsSource, "same-as-source", Level::Information, "The translation is the text of language 0."},
    {CheckId::TooWide, "too-wide", Level::Warning, "The text does not fit its control in the language's font."},
    {CheckId::UnknownKey, "unknown-key", Level::Information,
     "The key names no component of the form and is not a numbered string (\"@\", \"%\", a double quote)."},
};

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

std::string Plural(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string DescribeBlanks(const Blanks& b) {
  return Plural(b.leading, "leading blank", "leading blanks") + ", " +
         Plural(b.trailing, "trailing blank", "trailing blanks") + ", " +
         Plural(b.lineBreaks, "line break", "line breaks");
}

// Lead bytes of the double-byte code pages.
bool IsLeadByte(unsigned char c, int codePage) {
  if (codePage == 932) return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  if (IsEastAsianCodePage(codePage)) return c >= 0x81 && c <= 0xFE;
  return false;
}

// Pieces a line may wrap between: words separated by blanks and, in the East Asian code pages,
// every double-byte character.
struct Piece {
  std::string_view text;
  bool blankBefore = false;
};
std::vector<Piece> WrapPieces(std::string_view line, int codePage) {
  std::vector<Piece> pieces;
  bool blank = false;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      blank = true;
      ++i;
      continue;
    }
    size_t j = i;
    if (IsLeadByte(static_cast<unsigned char>(line[i]), codePage)) {
      j = std::min(line.size(), i + 2);
    } else {
      while (j < line.size() && line[j] != ' ' && line[j] != '\t' &&
             !IsLeadByte(static_cast<unsigned char>(line[j]), codePage))
        ++j;
    }
    pieces.push_back({line.substr(i, j - i), blank && !pieces.empty()});
    blank = false;
    i = j;
  }
  return pieces;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

}  // namespace

const char* LevelName(Level level) {
  switch (level) {
    case Level::Error: return "error";
    case Level::Warning: return "warning";
    case Level::Information: return "information";
  }
  return "error";
}

const CheckInfo& Info(CheckId id) { return kChecks[static_cast<size_t>(id)]; }
const std::vector<CheckInfo>& AllChecks() { return kChecks; }

std::optional<CheckId> CheckByName(std::string_view name) {
  for (const CheckInfo& c : kChecks)
    if (name == c.name) return c.id;
  return std::nullopt;
}

int FormModel::CodePage(int language) const {
  if (fonts.empty()) return platform::AnsiCodePage();
  const size_t k = std::min(static_cast<size_t>(language), fonts.size() - 1);
  return platform::CodePageOfCharset(fonts[k].charset);
}

ports::FontSpec FormModel::FontOf(const Row& row, int language) const {
  ports::FontSpec base;
  if (!fonts.empty()) base = fonts[std::min(static_cast<size_t>(language), fonts.size() - 1)];
  if (!row.font) return base;
  ports::FontSpec own = *row.font;
  own.charset = base.charset;
  return own;
}

bool CheckOptions::Reports(int language) const {
  return languages.empty() || std::find(languages.begin(), languages.end(), language) != languages.end();
}

Checker::Checker(ports::TextMeasurePort* measure, CheckOptions options)
    : measure_(measure), options_(std::move(options)) {}

int Checker::AddForm(FormModel form) {
  FormState f;
  f.model = std::move(form);
  FormModel& m = f.model;
  if (m.languages < 1) m.languages = 1;
  for (Row& r : m.rows) r.texts.resize(static_cast<size_t>(m.languages));
  f.cells.resize(m.rows.size() * static_cast<size_t>(m.languages));
  for (int i = 0; i < static_cast<int>(m.rows.size()); ++i) {
    const Row& r = m.rows[static_cast<size_t>(i)];
    if (r.row == 0) f.keys.emplace(LowerAscii(r.key), i);
    if (r.clashGroup < 0) continue;
    if (static_cast<size_t>(r.clashGroup) >= f.groups.size()) f.groups.resize(static_cast<size_t>(r.clashGroup) + 1);
    f.groups[static_cast<size_t>(r.clashGroup)].push_back(i);
  }
  forms_.push_back(std::move(f));
  FormState& added = forms_.back();
  for (int i = 0; i < static_cast<int>(added.model.rows.size()); ++i)
    for (int l = 0; l < added.model.languages; ++l) CheckCell(added, i, l);
  for (int g = 0; g < static_cast<int>(added.groups.size()); ++g)
    for (int l = 0; l < added.model.languages; ++l) CheckGroup(added, g, l);
  return static_cast<int>(forms_.size()) - 1;
}

int Checker::FindRow(int form, std::string_view key, int row) const {
  if (form < 0 || form >= FormCount() || row < 0) return -1;
  const FormState& f = forms_[static_cast<size_t>(form)];
  auto it = f.keys.find(LowerAscii(key));
  if (it == f.keys.end()) return -1;
  const size_t at = static_cast<size_t>(it->second) + static_cast<size_t>(row);
  if (at >= f.model.rows.size()) return -1;
  const Row& r = f.model.rows[at];
  return r.row == row && LowerAscii(r.key) == it->first ? static_cast<int>(at) : -1;
}

void Checker::SetText(int form, int row, int language, std::string text) {
  FormState& f = forms_.at(static_cast<size_t>(form));
  Row& r = f.model.rows.at(static_cast<size_t>(row));
  r.texts.at(static_cast<size_t>(language)) = std::move(text);
  if (language == 0) {
    for (int l = 0; l < f.model.languages; ++l) CheckCell(f, row, l);
  } else {
    CheckCell(f, row, language);
  }
  if (r.clashGroup >= 0) CheckGroup(f, r.clashGroup, language);
}

const std::vector<Finding>& Checker::Findings(int form, int row, int language) const {
  const FormState& f = forms_.at(static_cast<size_t>(form));
  return f.cells.at(static_cast<size_t>(row) * static_cast<size_t>(f.model.languages) + static_cast<size_t>(language));
}

std::vector<Problem> Checker::Problems() const {
  std::vector<Problem> out;
  for (size_t fi = 0; fi < forms_.size(); ++fi) {
    const FormState& f = forms_[fi];
    const int n = f.model.languages;
    for (size_t i = 0; i < f.model.rows.size(); ++i) {
      const Row& r = f.model.rows[i];
      for (int l = 0; l < n; ++l)
        for (const Finding& finding : f.cells[i * static_cast<size_t>(n) + static_cast<size_t>(l)])
          out.push_back({f.model.name, r.key, r.row, l, finding.check, Info(finding.check).level, finding.message,
                         static_cast<int>(fi)});
    }
  }
  return out;
}

int Checker::Count() const {
  size_t n = 0;
  for (const FormState& f : forms_)
    for (const auto& cell : f.cells) n += cell.size();
  return static_cast<int>(n);
}

void Checker::Add(std::vector<Finding>& cell, CheckId id, std::string message) {
  if (options_.Enabled(id)) cell.push_back({id, std::move(message)});
}

void Checker::CheckCell(FormState& f, int row, int language) {
  std::vector<Finding>& cell = Cell(f, row, language);
  // Clashes belong to the group's recheck; everything else is found again here.
  std::erase_if(cell, [](const Finding& x) { return x.check != CheckId::AcceleratorClash; });
  if (!options_.Reports(language)) return;
  const FormModel& m = f.model;
  const Row& r = m.rows[static_cast<size_t>(row)];
  const std::string& source = r.texts[0];
  const std::string& text = r.texts[static_cast<size_t>(language)];
  const int codePage = m.CodePage(language);

  if (language == 0 && r.unknownKey)
    Add(cell, CheckId::UnknownKey, "the key names no component of the form");

  if (language > 0 && text.empty()) {
    if (!source.empty()) Add(cell, CheckId::Empty, "the translation is empty");
  } else if (language > 0) {
    const int sourcePage = m.CodePage(0);
    if (text == source && HasLetter(text, codePage)) Add(cell, CheckId::SameAsSource, "the text is that of language 0");
    if (source.find('%') != std::string::npos || text.find('%') != std::string::npos) {
      std::string differ = ComparePlaceholders(Placeholders(source), Placeholders(text));
      if (!differ.empty()) Add(cell, CheckId::Placeholder, std::move(differ));
    }
    if (!r.hint) {
      const bool marked = AcceleratorMarker(source) > 0, markedHere = AcceleratorMarker(text) > 0;
      if (marked && !markedHere) Add(cell, CheckId::AcceleratorMissing, "language 0 marks an accelerator key, the translation none");
      if (!marked && markedHere) Add(cell, CheckId::AcceleratorExtra, "the translation marks an accelerator key, language 0 none");
    }
    const Ending want = EndingOf(source, sourcePage), have = EndingOf(text, codePage);
    if (want != have)
      Add(cell, CheckId::Punctuation,
          std::string("ends in ") + EndingName(have) + " where language 0 ends in " + EndingName(want));
    const Blanks wantBlanks = BlanksOf(source), haveBlanks = BlanksOf(text);
    if (wantBlanks != haveBlanks)
      Add(cell, CheckId::Whitespace, DescribeBlanks(haveBlanks) + " where language 0 has " + DescribeBlanks(wantBlanks));
  }
  if (!r.hint && std::memchr(text.data(), '&', text.size()) && AcceleratorMarkers(text).size() > 1)
    Add(cell, CheckId::AcceleratorDouble, "the text marks " + std::to_string(AcceleratorMarkers(text).size()) + " accelerator keys");
  if (options_.Enabled(CheckId::TooWide))
    if (auto wide = TooWide(m, r, language)) Add(cell, CheckId::TooWide, std::move(*wide));
  std::stable_sort(cell.begin(), cell.end(),
                   [](const Finding& a, const Finding& b) { return a.check < b.check; });
}

void Checker::CheckGroup(FormState& f, int group, int language) {
  const std::vector<int>& members = f.groups[static_cast<size_t>(group)];
  for (int row : members) {
    std::vector<Finding>& cell = Cell(f, row, language);
    std::erase_if(cell, [](const Finding& x) { return x.check == CheckId::AcceleratorClash; });
  }
  if (!options_.Enabled(CheckId::AcceleratorClash) || !options_.Reports(language)) return;
  const int codePage = f.model.CodePage(language);
  std::map<char32_t, std::vector<int>> byCharacter;
  for (int row : members) {
    const std::string& text = f.model.rows[static_cast<size_t>(row)].texts[static_cast<size_t>(language)];
    if (text.find('&') == std::string::npos) continue;
    const char32_t c = MarkedCharacter(text, AcceleratorMarker(text), codePage);
    if (c != 0) byCharacter[c].push_back(row);
  }
  for (const auto& [c, rows] : byCharacter) {
    if (rows.size() < 2) continue;
    for (int row : rows) {
      std::string others;
      for (int other : rows) {
        if (other == row) continue;
        const Row& o = f.model.rows[static_cast<size_t>(other)];
        if (!others.empty()) others += ", ";
        others += ToUtf8(o.key, platform::AnsiCodePage());
        if (o.row > 0) others += " row " + std::to_string(o.row);
      }
      const std::string& text = f.model.rows[static_cast<size_t>(row)].texts[static_cast<size_t>(language)];
      const int marker = AcceleratorMarker(text);
      size_t end = static_cast<size_t>(marker) + 1;
      while (end < text.size() && IsLeadByte(static_cast<unsigned char>(text[marker]), codePage) &&
             end < static_cast<size_t>(marker) + 2)
        ++end;
      const std::string letter = ToUtf8(std::string_view(text).substr(static_cast<size_t>(marker), end - static_cast<size_t>(marker)), codePage);
      std::vector<Finding>& cell = Cell(f, row, language);
      cell.push_back({CheckId::AcceleratorClash, "the accelerator key \"" + letter + "\" is also marked by " + others});
      std::stable_sort(cell.begin(), cell.end(),
                       [](const Finding& a, const Finding& b) { return a.check < b.check; });
    }
  }
}

std::optional<std::string> Checker::TooWide(const FormModel& m, const Row& r, int language) {
  if (!measure_ || r.fit == Fit::None || r.boxes.empty()) return std::nullopt;
  const std::string& text = r.texts[static_cast<size_t>(language)];
  if (text.empty()) return std::nullopt;
  const Box& box = r.boxes.size() == 1 ? r.boxes[0]
                                         : r.boxes[std::min(static_cast<size_t>(language), r.boxes.size() - 1)];
  const int available = box.width - r.padding;
  if (box.width <= 0) return std::nullopt;
  const ports::FontSpec font = m.FontOf(r, language);
  const std::string drawn = WithoutAccelerator(text);
  if (r.fit == Fit::Line) {
    const int width = measure_->MeasureText(drawn, font).width;
    if (width <= available) return std::nullopt;
    return "the text needs " + std::to_string(width) + " pixels, the control leaves " + std::to_string(available) +
           " (" + std::to_string(box.width) + " wide)";
  }
  // Wrapped: the lines the control breaks the text into, then their height.
  const int codePage = m.CodePage(language);
  int lines = 0;
  for (std::string_view paragraph : SplitLines(drawn)) {
    std::string line;
    bool any = false;
    for (const Piece& piece : WrapPieces(paragraph, codePage)) {
      std::string candidate = line;
      if (any && piece.blankBefore) candidate += ' ';
      candidate.append(piece.text);
      if (!any || measure_->MeasureText(candidate, font).width <= available) {
        line = std::move(candidate);
        any = true;
        continue;
      }
      ++lines;
      line = std::string(piece.text);
    }
    if (any) {
      const int width = measure_->MeasureText(line, font).width;
      if (width > available && line.find(' ') == std::string::npos)
        return "the word \"" + ToUtf8(line, codePage) + "\" needs " + std::to_string(width) +
               " pixels, the control leaves " + std::to_string(available);
    }
    ++lines;
  }
  const int lineHeight = measure_->MeasureText("Ag", font).height;
  const int height = lines * lineHeight;
  if (box.height <= 0 || height <= box.height) return std::nullopt;
  return "the text needs " + std::to_string(lines) + " lines of " + std::to_string(lineHeight) + " pixels (" +
         std::to_string(height) + "), the control is " + std::to_string(box.height) + " high";
}

}  // namespace vorlect::vle::checks
