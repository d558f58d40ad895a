// The CSV layout translators exchange tables in: field writing and reading, the expert-wide
// separator, and the per-form export, import and add of the translation editor's table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::grid {
class TVLStrGrid;
}

namespace vorlect::vle {

// ---- The separator ------------------------------------------------------------------------------

// The expert-wide field separator.
extern char CsvSeparator;
// The separator for a CSVType value: 0 ';', 1 ',', 2 the regional list separator.
char CsvSeparatorFor(int csvType);
// The user's regional list separator (see the rule in VLCsv.cpp); ';' when it cannot be told.
char RegionalListSeparator();
// CsvSeparator := CsvSeparatorFor(CSVType).
void RecomputeCsvSeparator();

// ---- Fields -------------------------------------------------------------------------------------

// One field as written (without the separator before it).
std::string CsvWriteField(std::string_view text, char separator);
// A whole line: fields joined by the separator, ending in CR LF.
std::string CsvWriteLine(const std::vector<std::string>& fields, char separator);
// Takes one field off the front of `rest`. `unescape` turns \n into CR LF (and '#39' into an
// apostrophe); Add CSV reads without it.
std::string CsvReadField(std::string& rest, char separator, bool unescape = true);
// Every field of a line, read until nothing is left.
std::vector<std::string> CsvReadLine(std::string_view line, char separator, bool unescape = true);

// Splits file contents into lines (CR LF, LF or CR end a line; no empty last line for a final
// break). Fields never hold a raw line break: the writer turns CR LF into \n.
std::vector<std::string> CsvSplitLines(std::string_view contents);

// ---- Encodings ----------------------------------------------------------------------------------

// The original layout is 8-bit text in one code page. The UTF-8 mode writes a byte-order mark
// and converts every language column from its own code page (one per column, 0 = keep bytes).
struct TCsvEncoding {
  bool utf8 = false;
  // Code page of column k (k = 0 keys, k >= 1 languages); missing entries use the ANSI code page.
  std::vector<unsigned> columnCodePages;
  unsigned CodePageOf(std::size_t column) const;
};

// ---- Per-form exchange on the editor's table ------------------------------------------------------

struct TCsvContext {
  // The form field written into the header and compared on import: the current form file, or
  // "(undefined)" without the IDE's tool services.
  std::string formFile = "(undefined)";
  bool haveToolServices = false;
  // Titles of added columns.
  std::vector<std::string> languageNames;
  TCsvEncoding encoding;
};

// Writes the header and one line per data row with a non-blank key. Returns the file's bytes;
// the caller writes them (atomically).
std::string ExportTableCsv(const grid::TVLStrGrid& table, const TCsvContext& context);
// Replaces the table's data rows by the file's rows (asks through the dialog port: the
// other-form and more-languages questions). Returns false when the user declined the import.
bool ImportTableCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context);
// Appends the file's languages as new columns; false (with the message shown) on a mismatch.
bool AddCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context);

// ---- The CSV format dialog ----------------------------------------------------------------------

class TFrmCSVSetup {
public:
  TFrmCSVSetup();  // selects CSVType's item and recomputes the separator
  static constexpr const char* kCaption = "CSV-Export Format";
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index) { itemIndex_ = index; }
  std::string RegionalSettingsLabel() const;  // "Your regional settings are: " + separator
  void OK();                                  // CSVType := index; recompute
  void Cancel() {}

private:
  int itemIndex_;
};

}  // namespace vorlect::vle
