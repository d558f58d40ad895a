#include "vle/VLCsv.h"

#include "grid/VLStGrid.h"
#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "vle/VLSettings.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace vorlect::vle {

char CsvSeparator = ';';

// ---- The separator ------------------------------------------------------------------------------

// Windows derives a locale's default list separator from its decimal separator: where numbers
// are written 3,5 the comma is taken, so lists use the semicolon (German, French, Russian...);
// where numbers are written 3.5 lists use the comma (English, Chinese, Japanese...). We follow
// that rule on the user's locale as the C library names it (LC_ALL, then LC_NUMERIC, then LANG),
// with the decimal separator from ICU's locale data. A locale that tells nothing (unset, "C",
// "POSIX", unknown to ICU) or another decimal sign gives the semicolon.
char RegionalListSeparator() {
  std::string name;
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) {
      name = value;
      break;
    }
  }
  name = name.substr(0, name.find_first_of(".@"));  // de_DE.UTF-8@euro -> de_DE
  if (name.empty() || name == "C" || name == "POSIX") return ';';

  const icu::Locale locale(name.c_str());
  if (locale.isBogus() || std::string(locale.getLanguage()).empty()) return ';';
  UErrorCode status = U_ZERO_ERROR;
  const icu::DecimalFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return ';';
  // ICU falls back to its default locale for a language it does not know.
  const icu::Locale actual = symbols.getLocale(ULOC_ACTUAL_LOCALE, status);
  if (U_FAILURE(status) || std::string_view(actual.getLanguage()) != locale.getLanguage()) return ';';
  const icu::UnicodeString& decimal = symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
  if (decimal == icu::UnicodeString(u".")) return ',';
  return ';';
}

char CsvSeparatorFor(int csvType) {
  switch (csvType) {
    case 0: return ';';
    case 1: return ',';
    default: return RegionalListSeparator();
  }
}

void RecomputeCsvSeparator() { CsvSeparator = CsvSeparatorFor(CSVType); }

// ---- Fields -------------------------------------------------------------------------------------

std::string CsvWriteField(std::string_view text, char separator, TCsvEscape escape) {
  std::string out;
  out.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\\n";
      ++i;
    } else if (c == '\r' || c == '\n') {
      // A raw break would end the line in the middle of the row.
      if (escape == TCsvEscape::Classic) out += "\\n";
      else out += c == '\r' ? "\\r" : "\\l";
    } else if (c == '\\' && escape == TCsvEscape::Exact) {
      out += "\\\\";
    } else {
      out += c;
    }
  }
  if (out.empty() || out.find('"') != std::string::npos || out.find(separator) != std::string::npos)
    return '"' + out + '"';
  return out;
}

std::string CsvWriteLine(const std::vector<std::string>& fields, char separator, TCsvEscape escape) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += separator;
    line += CsvWriteField(fields[i], separator, escape);
  }
  line += "\r\n";
  return line;
}

std::string CsvUnescape(const std::string& field, TCsvEscape escape) {
  std::string out;
  out.reserve(field.size());
  size_t i = 0;
  for (; i + 1 < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    const char next = field[i + 1];
    if (next == 'n') {
      out += "\r\n";
      ++i;
    } else if (next == '\\') {
      out += escape == TCsvEscape::Exact ? "\\" : "\\\\";
      ++i;
    } else if (escape == TCsvEscape::Exact && (next == 'r' || next == 'l')) {
      out += next == 'r' ? '\r' : '\n';
      ++i;
    } else {
      out += '\\';
    }
  }
  if (i < field.size()) out += field[i];
  if (escape == TCsvEscape::Exact) return out;

  // Texts once pasted from Pascal source carry '#39' for an apostrophe.
  std::string result;
  result.reserve(out.size());
  for (size_t p = 0; p < out.size();) {
    if (out.compare(p, 5, "'#39'") == 0) {
      result += '\'';
      p += 5;
    } else {
      result += out[p++];
    }
  }
  return result;
}

namespace {

// How a field read off a line ended.
enum class TFieldEnd {
  Separator,  // at a separator, which went with it
  LineEnd,    // at the end of the line (a quoted field: with its closing quote)
  Stray,      // a closing quote followed by another character, which went with it
  Unclosed,   // a quoted field the line ended in before its closing quote
};

// CsvReadField without the unescaping, telling how the field ended.
std::string TakeField(std::string& rest, char separator, bool& quoted, TFieldEnd& end) {
  std::string field;
  quoted = rest.size() >= 2 && rest[0] == '"';
  if (quoted) {
    // A quoted field. Without its opening quote the rest is walked at positions i = 1, 2, ...
    // while i is less than its (shrinking) length: "" leaves one quote and goes on after it, a
    // single quote is deleted and ends the walk. The field is the first i - 1 characters; they
    // and the i-th (the separator after a closing quote, or at the end of the line the last
    // character) leave the rest. `j` is the index in `s` of position i.
    const std::string_view s = std::string_view(rest).substr(1);
    size_t i = 1, j = 0, length = s.size();
    bool closed = false;
    field.reserve(s.size());
    while (i < length) {
      if (s[j] == '"' && s[j + 1] == '"') {
        field += '"';
        j += 2;
        --length;
        ++i;
      } else if (s[j] == '"') {
        closed = true;
        break;
      } else {
        field += s[j++];
        ++i;
      }
    }
    // The walk stops only before the last character, so j + 1 is inside `s` when it closed.
    if (closed) {
      end = s[j + 1] == separator ? TFieldEnd::Separator : TFieldEnd::Stray;
      rest = std::string(s.substr(j + 2));
    } else {
      end = j + 1 == s.size() && s[j] == '"' ? TFieldEnd::LineEnd : TFieldEnd::Unclosed;
      rest.clear();
    }
    return field;
  }
  const size_t sep = rest.find(separator);
  if (sep == std::string::npos) {
    field = std::move(rest);
    rest.clear();
    end = TFieldEnd::LineEnd;
  } else {
    field = rest.substr(0, sep);
    rest.erase(0, sep + 1);
    end = TFieldEnd::Separator;
  }
  return field;
}

}  // namespace

std::string CsvReadField(std::string& rest, char separator, bool unescape, TCsvEscape escape) {
  bool quoted = false;
  TFieldEnd end{};
  std::string field = TakeField(rest, separator, quoted, end);
  return unescape ? CsvUnescape(field, escape) : field;
}

std::vector<std::string> CsvReadLine(std::string_view line, char separator, bool unescape, TCsvEscape escape) {
  std::vector<std::string> fields;
  std::string rest(line);
  while (!rest.empty()) fields.push_back(CsvReadField(rest, separator, unescape, escape));
  return fields;
}

std::vector<std::string> CsvSplitLines(std::string_view contents) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < contents.size(); ++i) {
    if (contents[i] != '\r' && contents[i] != '\n') continue;
    lines.emplace_back(contents.substr(start, i - start));
    if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < contents.size()) lines.emplace_back(contents.substr(start));
  return lines;
}

// ---- Files as spreadsheets save them ------------------------------------------------------------

std::size_t TCsvRow::Width() const {
  std::size_t width = fields.size();
  while (width > 0 && fields[width - 1].empty() && !quoted[width - 1]) --width;
  return width;
}

TCsvRow CsvReadRow(std::string_view line, char separator, bool unescape, TCsvEscape escape) {
  TCsvRow row;
  std::string rest(line);
  TFieldEnd end = TFieldEnd::LineEnd;
  while (!rest.empty()) {
    bool quoted = false;
    std::string field = TakeField(rest, separator, quoted, end);
    row.fields.push_back(unescape ? CsvUnescape(field, escape) : std::move(field));
    row.quoted.push_back(quoted);
  }
  // "a;b;" is three fields to a spreadsheet, as an empty cell at the end of a row.
  if (end == TFieldEnd::Separator) {
    row.fields.emplace_back();
    row.quoted.push_back(false);
  }
  return row;
}

bool IsCsvSeparatorChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c <= ' ' || c == 127 || std::isalnum(c)) return false;
  return std::string_view("%$\"'#._-").find(ch) == std::string_view::npos;
}

std::optional<TCsvHeader> CsvHeaderOf(std::string_view line, std::string_view marks) {
  if (line.empty()) return std::nullopt;
  TCsvHeader h;
  if (marks.find(line[0]) != std::string_view::npos && line[0] != '"') {
    // As our writers put it: the mark, the separator, the form field (the rest is not read).
    if (line.size() < 2 || !IsCsvSeparatorChar(line[1])) return std::nullopt;
    h.mark = line[0];
    h.separator = line[1];
    std::string rest(line.substr(2));
    if (!rest.empty()) h.formFile = CsvReadField(rest, h.separator, false);
    return h;
  }
  // As a spreadsheet saves it: every field quoted, the row padded with empty fields.
  if (line.size() < 4 || line[0] != '"' || line[2] != '"' || marks.find(line[1]) == std::string_view::npos ||
      !IsCsvSeparatorChar(line[3]))
    return std::nullopt;
  h.mark = line[1];
  h.separator = line[3];
  const TCsvRow row = CsvReadRow(line.substr(4), h.separator, false);
  if (row.fields.empty() || row.fields[0].empty() || row.Width() > 1) return std::nullopt;
  h.formFile = row.fields[0];
  return h;
}

std::optional<char> CsvSeparatorLine(std::string_view line) {
  if (line.size() == 5 && line.substr(0, 4) == "sep=") return line[4];
  if (line.size() < 7 || line.substr(0, 5) != "\"sep=" || line[6] != '"') return std::nullopt;
  const char sep = line[5];
  const TCsvRow row = CsvReadRow(line, sep, false);
  if (row.Width() != 1 || row.fields[0] != std::string("sep=") + sep) return std::nullopt;
  return sep;
}

namespace {

// A row longer than this is not a spreadsheet's doing: its opening quote joins nothing.
constexpr std::size_t kMaxRowLines = 10000;
constexpr std::size_t kMaxRowBytes = 1 << 20;

// Follows the field reader over one line, from the state the previous line of a row left.
void Scan(TCsvRowJoiner::TScan& st, std::string_view text, char sep) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (st.skipNext) {
      st.skipNext = false;
      st.fieldStart = true;
      if (c != sep) st.malformed = true;
    } else if (st.inQuotes) {
      if (c != '"') continue;
      if (i + 1 < text.size() && text[i + 1] == '"') {
        ++i;
        continue;
      }
      st.inQuotes = false;
      st.fieldStart = false;
      st.skipNext = i + 1 < text.size();
    } else if (st.fieldStart && c == '"') {
      st.inQuotes = true;
      st.fieldStart = false;
    } else {
      st.fieldStart = c == sep;
    }
  }
}

}  // namespace

TCsvRowJoiner::TCsvRowJoiner(char separator, std::function<bool(std::string_view)> standalone, std::size_t firstLine)
    : separator_(separator), standalone_(std::move(standalone)), next_(firstLine) {}

void TCsvRowJoiner::Line(std::string_view line, const TOnRow& onRow) { Feed(line, next_++, onRow); }

void TCsvRowJoiner::Feed(std::string_view line, std::size_t number, const TOnRow& onRow) {
  if (group_.empty()) {
    if (standalone_ && standalone_(line)) return onRow(line, number);
    TScan st;
    Scan(st, line, separator_);
    if (!st.inQuotes) return onRow(line, number);
    st.malformed = false;  // what the first line holds is read as it always was
    scan_ = st;
    group_.push_back({std::string(line), number});
    groupBytes_ = line.size();
    return;
  }
  TScan st = scan_;
  Scan(st, line, separator_);
  if (st.malformed || (standalone_ && standalone_(line)) || group_.size() >= kMaxRowLines ||
      groupBytes_ + line.size() > kMaxRowBytes) {
    Reject(onRow);
    return Feed(line, number, onRow);
  }
  group_.push_back({std::string(line), number});
  groupBytes_ += line.size();
  scan_ = st;
  if (st.inQuotes) return;
  std::string row;
  row.reserve(groupBytes_ + 2 * group_.size());
  for (std::size_t k = 0; k < group_.size(); ++k) {
    if (k > 0) row += "\r\n";
    row += group_[k].text;
  }
  const std::size_t first = group_.front().line;
  group_.clear();
  onRow(row, first);
}

void TCsvRowJoiner::Reject(const TOnRow& onRow) {
  const std::vector<TCsvLine> lines = std::move(group_);
  group_.clear();
  onRow(lines.front().text, lines.front().line);
  // The lines after it are read again, each from its own start.
  for (std::size_t k = 1; k < lines.size(); ++k) Feed(lines[k].text, lines[k].line, onRow);
}

void TCsvRowJoiner::Finish(const TOnRow& onRow) {
  while (!group_.empty()) Reject(onRow);
}

std::vector<TCsvLine> CsvSplitRows(std::string_view contents, char separator,
                                   const std::function<bool(std::string_view)>& standalone, std::size_t firstLine) {
  std::vector<TCsvLine> rows;
  TCsvRowJoiner joiner(separator, standalone, firstLine);
  const auto onRow = [&](std::string_view row, std::size_t line) { rows.push_back({std::string(row), line}); };
  std::size_t p = 0;
  while (p < contents.size()) {
    std::size_t e = contents.find_first_of("\r\n", p);
    if (e == std::string_view::npos) e = contents.size();
    joiner.Line(contents.substr(p, e - p), onRow);
    p = e;
    if (p < contents.size() && contents[p++] == '\r' && p < contents.size() && contents[p] == '\n') ++p;
  }
  joiner.Finish(onRow);
  return rows;
}

// ---- Encodings ----------------------------------------------------------------------------------

unsigned TCsvEncoding::CodePageOf(std::size_t column) const {
  if (column < columnCodePages.size()) return columnCodePages[column];
  return static_cast<unsigned>(platform::AnsiCodePage());
}

TCsvEncoding CsvEncodingOf(const grid::TVLStrGrid& table, bool utf8) {
  TCsvEncoding encoding;
  encoding.utf8 = utf8;
  encoding.columnCodePages.push_back(static_cast<unsigned>(platform::AnsiCodePage()));
  for (int k = 1; k < table.ColCount(); ++k)
    encoding.columnCodePages.push_back(static_cast<unsigned>(platform::CodePageOfCharset(table.CharsetCode(k))));
  return encoding;
}

std::string_view TCsvUtf8Check::Line(std::string_view line) {
  std::size_t skipped = 0;
  if (++lines_ == 1 && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    line.remove_prefix(kUtf8Bom.size());
    skipped = kUtf8Bom.size();
    utf8_ = true;
  }
  if (utf8_) {
    if (invalidLine_ == 0)
      if (const std::size_t at = platform::FirstInvalidUtf8(line); at != std::string_view::npos) {
        invalidLine_ = lines_;
        invalidColumn_ = skipped + at + 1;  // the column as an editor counts it, the mark included
      }
    return line;
  }
  if (allUtf8_ && std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    nonAscii_ = true;
    allUtf8_ = platform::FirstInvalidUtf8(line) == std::string_view::npos;
  }
  return line;
}

std::optional<bool> TCsvUtf8Check::Decide(const std::string& fileName) const {
  const std::string file = "File " + fileName + "\r";
  if (invalidLine_ > 0) {
    ports::MessageDlg(file + "line " + std::to_string(invalidLine_) + ", column " + std::to_string(invalidColumn_) +
                          ": not UTF-8. Nothing was imported.",
                      ports::mtError, {ports::mbAbort});
    return std::nullopt;
  }
  if (utf8_ || !nonAscii_ || !allUtf8_) return utf8_;
  switch (ports::MessageDlg(file + "looks like UTF-8 - read it as UTF-8?", ports::mtConfirmation,
                            {ports::mbYes, ports::mbNo, ports::mbCancel})) {
    case ports::mrYes: return true;
    case ports::mrNo: return false;
    default: return std::nullopt;
  }
}

std::optional<bool> CsvReadAsUtf8(const std::string& fileName, std::string_view contents, bool utf8) {
  TCsvUtf8Check check(utf8);
  // Lines end as the line reader ends them (CR LF, LF or CR), so that both imports count alike.
  std::size_t p = 0;
  while (p < contents.size()) {
    const std::size_t e = std::min(contents.find_first_of("\r\n", p), contents.size());
    check.Line(contents.substr(p, e - p));
    p = e;
    if (p < contents.size() && contents[p++] == '\r' && p < contents.size() && contents[p] == '\n') ++p;
  }
  return check.Decide(fileName);
}

namespace {

bool KeepsBytes(unsigned codePage) { return codePage == 0 || codePage == 65001; }

std::string ToUtf8(const std::string& bytes, unsigned codePage) {
  if (KeepsBytes(codePage)) return bytes;
  return platform::Utf16ToUtf8(platform::DecodeCodePage(bytes, static_cast<int>(codePage)));
}

std::string FromUtf8(const std::string& utf8, unsigned codePage, bool& lossy) {
  if (KeepsBytes(codePage)) return utf8;
  bool lost = false;
  std::string out = platform::EncodeCodePage(platform::Utf8ToUtf16(utf8), static_cast<int>(codePage), &lost);
  lossy = lossy || lost;
  return out;
}

// A file being read: its lines, the escaping its encoding implies, and per-column conversion.
// The first line of `text` and what follows it.
std::pair<std::string_view, std::string_view> SplitFirstLine(std::string_view text) {
  const size_t e = std::min(text.find_first_of("\r\n"), text.size());
  size_t next = e;
  if (next < text.size() && text[next++] == '\r' && next < text.size() && text[next] == '\n') ++next;
  return {text.substr(0, e), text.substr(next)};
}

// A file being read: its text after a byte-order mark and a "sep=" line, the escaping its
// encoding implies, and per-column conversion.
struct TCsvSource {
  std::string_view body;
  std::size_t bodyLine = 1;  // the number of the body's first line in the file
  std::optional<char> namedSeparator;
  bool utf8 = false;
  const TCsvEncoding* encoding = nullptr;
  std::set<int> lossyColumns;

  TCsvSource(std::string_view contents, const TCsvEncoding& enc) : encoding(&enc) {
    if (contents.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
      contents.remove_prefix(kUtf8Bom.size());
      utf8 = true;
    } else {
      utf8 = enc.utf8;
    }
    body = contents;
    const auto [first, rest] = SplitFirstLine(contents);
    namedSeparator = CsvSeparatorLine(first);
    if (namedSeparator) {
      body = rest;
      bodyLine = 2;
    }
  }
  TCsvEscape Escape() const { return utf8 ? TCsvEscape::Exact : TCsvEscape::Classic; }
  // A field read for column `col`, in that column's code page.
  std::string Convert(std::string field, int col) {
    if (!utf8) return field;
    bool lossy = false;
    std::string out = FromUtf8(field, encoding->CodePageOf(static_cast<size_t>(col)), lossy);
    if (lossy) lossyColumns.insert(col);
    return out;
  }
  // One warning for every character that had to become '?'.
  void ReportLoss() const {
    if (lossyColumns.empty()) return;
    std::string cols;
    for (int c : lossyColumns) cols += (cols.empty() ? "" : ", ") + std::to_string(c);
    ports::MessageDlg("Some characters of this CSV file do not exist in the character set of column(s) " + cols +
                          ";\rthey were replaced by question marks.",
                      ports::mtWarning, {ports::mbOK});
  }
};

// A per-form header, as our writer or a spreadsheet writes it.
bool IsPerFormHeader(std::string_view line) { return CsvHeaderOf(line, "$").has_value(); }

// "3, 5 and 9": the numbers of lines, the first ten of them.
std::string LineList(const std::vector<std::size_t>& lines) {
  std::string out;
  const std::size_t shown = std::min<std::size_t>(lines.size(), 10);
  for (std::size_t k = 0; k < shown; ++k) {
    if (k > 0) out += k + 1 == lines.size() ? " and " : ", ";
    out += std::to_string(lines[k]);
  }
  if (shown < lines.size()) out += " and " + std::to_string(lines.size() - shown) + " more";
  return out;
}

// A key is blank when nothing but control characters and blanks remain (the framework's Trim).
bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Appends a language column with the default font cell; false at the column limit.
bool AppendColumn(grid::TVLStrGrid& table) {
  if (table.ColCount() >= kMaxCsvColumns) return false;
  table.SetColCount(table.ColCount() + 1);
  const int col = table.ColCount() - 1;
  if (table.RowCount() > 1) table.SetCells(col, 1, kDefaultFontCell);
  table.SetCharsetCode(col, kDefaultCharsetCode);
  return true;
}

}  // namespace

// ---- Per-form exchange --------------------------------------------------------------------------

std::string CsvFormFileOf(std::string_view currentFile) {
  const size_t dir = currentFile.find_last_of("\\/:");
  const size_t dot = currentFile.rfind('.');
  const bool hasExt = dot != std::string_view::npos && (dir == std::string_view::npos || dot > dir);
  return std::string(currentFile.substr(0, hasExt ? dot : currentFile.size())) + ".dfm";
}

std::optional<std::string> ExportTableCsv(const grid::TVLStrGrid& table, const TCsvContext& context) {
  for (int r = 2; r < table.RowCount(); ++r) {
    const std::string& key = table.Cells(0, r);
    if (key == "$" || key == "%") {
      ports::MessageDlg("The key \"" + key + "\" of form " + context.formFile +
                            " cannot be exported:\ra key that is only \"$\" or \"%\" would be read as a form's "
                            "header.\rPlease rename it first.",
                        ports::mtError, {ports::mbOK});
      return std::nullopt;
    }
  }
  RecomputeCsvSeparator();
  const char sep = CsvSeparator;
  const TCsvEncoding& enc = context.encoding;
  const TCsvEscape escape = enc.utf8 ? TCsvEscape::Exact : TCsvEscape::Classic;
  auto field = [&](const std::string& text, int col) {
    return CsvWriteField(enc.utf8 ? ToUtf8(text, enc.CodePageOf(static_cast<size_t>(col))) : text, sep, escape);
  };

  std::string out;
  if (enc.utf8) out += kUtf8Bom;
  out += "$";
  out += sep;
  out += field(context.formFile, 0);
  out += "\r\n";
  const int cols = table.ColCount();
  for (int r = 2; r < table.RowCount(); ++r) {
    const std::string& key = table.Cells(0, r);
    if (IsBlank(key)) continue;
    out += field(key, 0);
    for (int k = 1; k < cols; ++k) {
      out += sep;
      out += field(table.Cells(k, r), k);
    }
    out += "\r\n";
  }
  return out;
}

bool ImportTableCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context) {
  // Refused or cancelled before anything changes.
  const std::optional<bool> utf8 = CsvReadAsUtf8(context.csvFile, contents, context.encoding.utf8);
  if (!utf8) return false;
  TCsvEncoding encoding = context.encoding;
  encoding.utf8 = *utf8;
  TCsvSource source(contents, encoding);
  const TCsvEscape escape = source.Escape();
  std::string_view body = source.body;
  std::size_t bodyLine = source.bodyLine;
  char sep = source.namedSeparator.value_or(CsvSeparator);

  const auto [first, afterFirst] = SplitFirstLine(body);
  if (const auto header = CsvHeaderOf(first, "$")) {
    CsvSeparator = sep = header->separator;
    const std::string formField = source.Convert(CsvUnescape(header->formFile, escape), 0);
    if (context.haveToolServices && !host::SameText(formField, context.formFile)) {
      const std::string question = "This CSV file was created from form\r" + formField +
                                   ",\r    but you are currently editing\r" + context.formFile +
                                   ".\rDo you still want to import?";
      if (ports::MessageDlg(question, ports::mtInformation, {ports::mbYes, ports::mbNo}) != ports::mrYes)
        return false;
    }
    body = afterFirst;
    ++bodyLine;
  }

  // The fixed rows stay; the data rows go. The one row left is emptied so that nothing of the
  // old table survives a file without data lines.
  table.SetRowCount(3);
  for (int k = 0; k < table.ColCount(); ++k) table.SetCells(k, 2, std::string());
  bool offerMoreLanguages = true;
  std::vector<std::size_t> droppedLines;  // lines whose texts found no column

  for (const TCsvLine& line : CsvSplitRows(body, sep, IsPerFormHeader, bodyLine)) {
    if (IsPerFormHeader(line.text)) break;
    if (line.text.empty()) continue;
    const int row = table.RowCount() - 1;
    TCsvRow fields = CsvReadRow(line.text, sep, true, escape);
    const int cols = table.ColCount();
    for (int k = 0; k < cols; ++k) {
      const auto at = static_cast<std::size_t>(k);
      table.SetCells(k, row, at < fields.fields.size() ? source.Convert(std::move(fields.fields[at]), k) : std::string());
    }
    // Empty fields after the last text are a spreadsheet's padding, not languages.
    const std::size_t width = fields.Width();
    if (width > static_cast<std::size_t>(cols)) {
      bool taken = false;
      if (offerMoreLanguages) {
        const int answer = ports::MessageDlg(
            "This CSV file has more languages than your current setting is.\r\rDo you want to adjust your settings?",
            ports::mtInformation, {ports::mbYes, ports::mbNo});
        if (answer == ports::mrYes) {
          taken = true;
          for (std::size_t at = static_cast<std::size_t>(cols); at < width; ++at) {
            if (!AppendColumn(table)) {  // a component holds 255 languages at most
              taken = false;
              break;
            }
            const int col = table.ColCount() - 1;
            table.SetCells(col, row, source.Convert(std::move(fields.fields[at]), col));
          }
        } else {
          offerMoreLanguages = false;
        }
      }
      if (!taken) droppedLines.push_back(line.line);
    }
    table.SetRowCount(table.RowCount() + 1);
  }

  if (table.RowCount() > 3) table.SetRowCount(table.RowCount() - 1);
  table.CalcAllRowHeights();
  source.ReportLoss();
  if (!droppedLines.empty())
    ports::MessageDlg("Texts beyond the table's last language were not imported:\rline " + LineList(droppedLines) +
                          " of the CSV file.",
                      ports::mtWarning, {ports::mbOK});
  return true;
}

bool AddCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context) {
  TCsvSource source(contents, context.encoding);
  const TCsvEscape escape = source.Escape();
  const int n = table.ColCount();
  int row = 2;
  bool ok = true;

  for (const TCsvLine& line : CsvSplitRows(source.body, ';', {}, source.bodyLine)) {
    if (row > table.RowCount() - 1) {
      ports::MessageDlg(
          "The imported translation has more entries than the\rexisting table.\r\rThese entries are not imported.",
          ports::mtError, {ports::mbAbort});
      break;
    }
    TCsvRow fields = CsvReadRow(line.text, ';', false, escape);
    const std::string key = source.Convert(fields.fields.empty() ? std::string() : fields.fields[0], 0);
    if (key != table.Cells(0, row)) {
      table.SetColCount(n);
      ports::MessageDlg(
          "The existing table and the CSV file differ\rin the structure of elements.\r\rThe CSV file cannot be added.",
          ports::mtError, {ports::mbAbort});
      ok = false;
      break;
    }
    // Empty fields after the last text are a spreadsheet's padding: they add no column.
    const std::size_t width = fields.Width();
    for (std::size_t at = 1; at < width; ++at) {
      const int col = n + static_cast<int>(at) - 1;
      if (col >= table.ColCount()) {
        if (col >= kMaxCsvColumns) break;
        table.SetColCount(col + 1);
      }
      table.SetCells(col, row, source.Convert(std::move(fields.fields[at]), col));
    }
    ++row;
  }

  if (ok) {
    for (int m = n; m < table.ColCount(); ++m) {
      table.SetCells(m, 0, LanguageColumnTitle(m, context.languageNames));
      if (table.RowCount() > 1) table.SetCells(m, 1, kDefaultFontCell);
      table.SetCharsetCode(m, kDefaultCharsetCode);
    }
    table.CalcAllRowHeights();
  }
  source.ReportLoss();
  return ok;
}

// ---- The CSV format dialog ----------------------------------------------------------------------

TFrmCSVSetup::TFrmCSVSetup() : itemIndex_(CSVType) { RecomputeCsvSeparator(); }

std::string TFrmCSVSetup::RegionalSettingsLabel() const {
  return std::string("Your regional settings are: ") + RegionalListSeparator();
}

void TFrmCSVSetup::OK() {
  CSVType = itemIndex_;
  RecomputeCsvSeparator();
}

}  // namespace vorlect::vle
