#include "vle/VLCsv.h"

#include "grid/VLStGrid.h"
#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "vle/VLSettings.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <algorithm>
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

namespace {

std::string Unescape(const std::string& field, TCsvEscape escape) {
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

}  // namespace

std::string CsvReadField(std::string& rest, char separator, bool unescape, TCsvEscape escape) {
  std::string field;
  if (rest.size() >= 2 && rest[0] == '"') {
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
    rest = closed ? std::string(s.substr(j + 2)) : std::string();
  } else {
    const size_t sep = rest.find(separator);
    if (sep == std::string::npos) {
      field = std::move(rest);
      rest.clear();
    } else {
      field = rest.substr(0, sep);
      rest.erase(0, sep + 1);
    }
  }
  return unescape ? Unescape(field, escape) : field;
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
struct TCsvSource {
  std::vector<std::string> lines;
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
    lines = CsvSplitLines(contents);
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

bool StartsWithDollar(const std::string& line) { return !line.empty() && line[0] == '$'; }

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

std::string ExportTableCsv(const grid::TVLStrGrid& table, const TCsvContext& context) {
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
  TCsvSource source(contents, context.encoding);
  const TCsvEscape escape = source.Escape();
  size_t next = 0;

  if (!source.lines.empty() && StartsWithDollar(source.lines[0])) {
    const std::string& header = source.lines[0];
    if (header.size() >= 2) CsvSeparator = header[1];
    std::string rest = header;
    CsvReadField(rest, CsvSeparator, true, escape);  // "$"
    const std::string formField = source.Convert(CsvReadField(rest, CsvSeparator, true, escape), 0);
    if (context.haveToolServices && !host::SameText(formField, context.formFile)) {
      const std::string question = "This CSV file was created from form\r" + formField +
                                   ",\r    but you are currently editing\r" + context.formFile +
                                   ".\rDo you still want to import?";
      if (ports::MessageDlg(question, ports::mtInformation, {ports::mbYes, ports::mbNo}) != ports::mrYes)
        return false;
    }
    next = 1;
  }
  const char sep = CsvSeparator;

  // The fixed rows stay; the data rows go. The one row left is emptied so that nothing of the
  // old table survives a file without data lines.
  table.SetRowCount(3);
  for (int k = 0; k < table.ColCount(); ++k) table.SetCells(k, 2, std::string());
  bool offerMoreLanguages = true;

  for (size_t i = next; i < source.lines.size(); ++i) {
    const std::string& line = source.lines[i];
    if (StartsWithDollar(line)) break;
    if (line.empty()) continue;
    const int row = table.RowCount() - 1;
    std::string rest = line;
    for (int k = 0; k < table.ColCount(); ++k)
      table.SetCells(k, row, source.Convert(CsvReadField(rest, sep, true, escape), k));
    if (!rest.empty() && offerMoreLanguages) {
      const int answer = ports::MessageDlg(
          "This CSV file has more languages than your current setting is.\r\rDo you want to adjust your settings?",
          ports::mtInformation, {ports::mbYes, ports::mbNo});
      if (answer == ports::mrYes) {
        while (!rest.empty()) {
          std::string value = CsvReadField(rest, sep, true, escape);
          if (!AppendColumn(table)) break;  // a component holds 255 languages at most
          const int col = table.ColCount() - 1;
          table.SetCells(col, row, source.Convert(std::move(value), col));
        }
      } else {
        offerMoreLanguages = false;
      }
    }
    table.SetRowCount(table.RowCount() + 1);
  }

  if (table.RowCount() > 3) table.SetRowCount(table.RowCount() - 1);
  table.CalcAllRowHeights();
  source.ReportLoss();
  return true;
}

bool AddCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context) {
  TCsvSource source(contents, context.encoding);
  const TCsvEscape escape = source.Escape();
  const int n = table.ColCount();
  int row = 2;
  bool ok = true;

  for (const std::string& line : source.lines) {
    if (row > table.RowCount() - 1) {
      ports::MessageDlg(
          "The imported translation has more entries than the\rexisting table.\r\rThese entries are not imported.",
          ports::mtError, {ports::mbAbort});
      break;
    }
    std::string rest = line;
    const std::string key = source.Convert(CsvReadField(rest, ';', false, escape), 0);
    if (key != table.Cells(0, row)) {
      table.SetColCount(n);
      ports::MessageDlg(
          "The existing table and the CSV file differ\rin the structure of elements.\r\rThe CSV file cannot be added.",
          ports::mtError, {ports::mbAbort});
      ok = false;
      break;
    }
    for (int col = n; !rest.empty(); ++col) {
      std::string value = CsvReadField(rest, ';', false, escape);
      if (col >= table.ColCount()) {
        if (col >= kMaxCsvColumns) break;
        table.SetColCount(col + 1);
      }
      table.SetCells(col, row, source.Convert(std::move(value), col));
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
