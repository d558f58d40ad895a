// The CSV layout translators exchange tables in: field writing and reading, the expert-wide
// separator, and the per-form export, import and add of the translation editor's table.
#pragma once

#include <cstdint>
#include <functional>
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

// How backslashes are written and read.
//  Classic: the 8-bit layout every existing file uses. CR LF is written as \n; a backslash is
//    written unchanged and \\ is read back as two characters; '#39' reads as an apostrophe. So a
//    text holding an odd run of backslashes right before an n, or the five characters '#39', does
//    not survive a round trip; that is the layout's own limit and is kept for existing files.
//  Exact: the UTF-8 layout, which has no older files to stay compatible with: \\ stands for one
//    backslash, \n for CR LF, \r for a lone CR, \l for a lone LF; '#39' stays as it is.
// Both write every line break inside a text escaped, so a field never breaks its line: the
// classic writer turns a lone CR or LF into \n (CR LF), which is how Windows shows it anyway.
enum class TCsvEscape { Classic, Exact };

// One field as written (without the separator before it).
std::string CsvWriteField(std::string_view text, char separator, TCsvEscape escape = TCsvEscape::Classic);
// A whole line: fields joined by the separator, ending in CR LF.
std::string CsvWriteLine(const std::vector<std::string>& fields, char separator,
                         TCsvEscape escape = TCsvEscape::Classic);
// Takes one field off the front of `rest`. `unescape` turns \n into CR LF (and '#39' into an
// apostrophe); Add CSV reads without it.
std::string CsvReadField(std::string& rest, char separator, bool unescape = true,
                         TCsvEscape escape = TCsvEscape::Classic);
// Every field of a line, read until nothing is left.
std::vector<std::string> CsvReadLine(std::string_view line, char separator, bool unescape = true,
                                     TCsvEscape escape = TCsvEscape::Classic);

// Splits file contents into lines (CR LF, LF or CR end a line; no empty last line for a final
// break). Our writer never puts a raw line break into a field (it writes CR LF as \n); a
// spreadsheet does, inside quotes: read rows with CsvSplitRows.
std::vector<std::string> CsvSplitLines(std::string_view contents);

// Undoes the escaping of one field read without it (CsvReadField with `unescape` false).
std::string CsvUnescape(const std::string& field, TCsvEscape escape = TCsvEscape::Classic);

// ---- Files as spreadsheets save them ------------------------------------------------------------
//
// A spreadsheet that saved one of our files may have quoted every field, padded every row with
// empty fields up to the widest row, ended lines in LF, kept a cell's line break raw inside
// quotes and put a line "sep=;" first. The readers below take all of that as our writer meant it.

// One row's fields as CsvReadLine reads them, counted as a spreadsheet counts them: a separator
// that ends the line is followed by one more, empty, field.
struct TCsvRow {
  std::vector<std::string> fields;
  std::vector<bool> quoted;  // per field: written in double quotes
  // The fields up to the last one that holds text or was written in quotes ("" is how we write
  // an empty text); the empty fields after it are a spreadsheet's padding.
  std::size_t Width() const;
};
TCsvRow CsvReadRow(std::string_view line, char separator, bool unescape = true,
                   TCsvEscape escape = TCsvEscape::Classic);

// Whether a header may name `c` as its separator: no blank, control character, letter or digit,
// and none of the characters a key starts with ("%Form%", "$Id", "\".Hint", "@Str1"...).
bool IsCsvSeparatorChar(char c);

// A form's header line: "%" or "$" (one of `marks`) directly followed by the separator and the
// form field, as our writer puts it; or the same mark in quotes followed by the separator, a form
// field that is not empty and nothing but empty fields, as a spreadsheet saves it. A key "%" or
// "$" of its own would read the same: the exports refuse such keys.
struct TCsvHeader {
  char mark = '%';
  char separator = ';';
  std::string formFile;  // the field as written, not unescaped
};
std::optional<TCsvHeader> CsvHeaderOf(std::string_view line, std::string_view marks = "%$");

// The separator named by a first line "sep=;" (some spreadsheets write one; a spreadsheet that
// saves it again may quote it and pad it), or nothing.
std::optional<char> CsvSeparatorLine(std::string_view line);

// One row of a file and the number of the line it starts on (from 1).
struct TCsvLine {
  std::string text;
  std::size_t line = 0;
};

// Puts the lines of a file together into rows: a line that ends inside a quoted field goes on
// in the next line, joined by CR LF (a line break typed into a cell). A quoted field that is not
// closed properly (still open at the end of the file, or closed by a quote that neither ends its
// line nor stands before a separator) joins nothing: its line is a row of its own, read as it
// always was. Lines `standalone` accepts (form headers) are never joined to others.
class TCsvRowJoiner {
public:
  using TOnRow = std::function<void(std::string_view row, std::size_t line)>;
  explicit TCsvRowJoiner(char separator, std::function<bool(std::string_view)> standalone = {},
                         std::size_t firstLine = 1);
  // The separator of the rows to come (a header names a new one).
  void SetSeparator(char separator) { separator_ = separator; }
  void Line(std::string_view line, const TOnRow& onRow);
  // Counts a line that is no row (a "sep=" line).
  void SkipLine() { ++next_; }
  // The end of the file: what is still open becomes rows of single lines.
  void Finish(const TOnRow& onRow);

  struct TScan {
    bool inQuotes = false;
    bool fieldStart = true;
    bool skipNext = false;  // the reader drops the character after a closing quote
    bool malformed = false;  // a closing quote followed by neither separator nor line end
  };

private:
  void Feed(std::string_view line, std::size_t number, const TOnRow& onRow);
  void Reject(const TOnRow& onRow);

  char separator_;
  std::function<bool(std::string_view)> standalone_;
  std::size_t next_;
  std::vector<TCsvLine> group_;  // the lines of a row still open
  std::size_t groupBytes_ = 0;
  TScan scan_;
};

// The rows of `contents`: TCsvRowJoiner over its lines as CsvSplitLines splits them.
std::vector<TCsvLine> CsvSplitRows(std::string_view contents, char separator,
                                   const std::function<bool(std::string_view)>& standalone = {},
                                   std::size_t firstLine = 1);

// ---- Encodings ----------------------------------------------------------------------------------

// The original layout is 8-bit text in one code page. The UTF-8 mode writes a byte-order mark
// and converts every language column from its own code page (one per column, 0 = keep bytes),
// and uses the exact escaping. Import reads a file with a byte-order mark as UTF-8 whatever the
// mode says. A character a column's code page cannot hold becomes '?', and the import says so in
// one warning naming the columns.
struct TCsvEncoding {
  bool utf8 = false;
  // Code page of column k (k = 0 keys, k >= 1 languages); missing entries use the ANSI code page.
  std::vector<unsigned> columnCodePages;
  unsigned CodePageOf(std::size_t column) const;
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The encoding for a table: each column's code page from the grid's character-set codes.
TCsvEncoding CsvEncodingOf(const grid::TVLStrGrid& table, bool utf8);

// How a CSV file about to be imported is to be read, learnt from its lines as they go by (the
// project import reads a file a line at a time, the editor's import holds it whole). A file read
// as UTF-8 (asked for, or with a byte-order mark) must be UTF-8 throughout: a stray byte would
// become a wrong character in a table. A file read as 8-bit text whose every non-ASCII byte
// belongs to a valid UTF-8 sequence is almost surely UTF-8 saved without a byte-order mark:
// read as 8-bit text it would put mangled characters into the tables, so the user is asked.
class TCsvUtf8Check {
public:
  explicit TCsvUtf8Check(bool utf8) : utf8_(utf8) {}
  // Takes the file's next line (without its break); returns it without a leading byte-order mark.
  std::string_view Line(std::string_view line);
  // Lines taken so far.
  long LineCount() const { return lines_; }
  // Says what the lines showed through the message port, naming `fileName`: the place of the
  // first byte that is not UTF-8 in a file read as UTF-8 (an error; nothing is to be imported),
  // or the question "looks like UTF-8 - read it as UTF-8?" (Yes/No/Cancel). Returns whether to
  // read the file as UTF-8, or nothing when nothing is to be imported.
  std::optional<bool> Decide(const std::string& fileName) const;

private:
  bool utf8_;
  long lines_ = 0;
  long invalidLine_ = 0;  // line and column (from 1) of the first stray byte; 0 for none
  std::size_t invalidColumn_ = 0;
  bool nonAscii_ = false, allUtf8_ = true;
};

// TCsvUtf8Check over the lines of a whole file's contents.
std::optional<bool> CsvReadAsUtf8(const std::string& fileName, std::string_view contents, bool utf8);

// ---- Per-form exchange on the editor's table ------------------------------------------------------

// The form field for the file in the IDE's active editor page: its extension replaced by "dfm"
// (D:\App\Main.pas -> D:\App\Main.dfm; a name without one gets it appended).
std::string CsvFormFileOf(std::string_view currentFile);

// The file dialogs of the three commands.
inline constexpr const char* kCsvDefaultExt = "csv";
inline constexpr const char* kCsvExportFilter = "Export files (*.csv)|*.csv|All files (*.*)|*.*";
inline constexpr const char* kCsvImportFilter = "Import files (*.csv)|*.csv|All files (*.*)|*.*";
inline constexpr const char* kCsvImportTitle = "Import a translation";
inline constexpr const char* kCsvAddTitle = "Add translations";

struct TCsvContext {
  // The form field written into the header and compared on import: the current form file, or
  // "(undefined)" without the IDE's tool services.
  std::string formFile = "(undefined)";
  bool haveToolServices = false;
  // Titles of added columns.
  std::vector<std::string> languageNames;
  TCsvEncoding encoding;
  // The file being imported, as messages name it.
  std::string csvFile;
};

// The table has the editor's layout: row 0 titles, row 1 font cells, data rows from row 2, keys
// in column 0. A table has at most kMaxCsvColumns columns (keys and 255 languages); fields past
// that are dropped on import.
inline constexpr int kMaxCsvColumns = 256;
// The font cell and character-set code of a column added by Import or Add CSV.
inline constexpr const char* kDefaultFontCell = "MS Sans Serif, DEFAULT_CHARSET";
inline constexpr std::uint8_t kDefaultCharsetCode = 1;

// Export recomputes CsvSeparator first. Writes the header and one line per data row with a
// non-blank key. Returns the file's bytes; the caller writes them (atomically). A key that is
// only "$" or "%" would read as a header: the export is refused with a message naming it.
std::optional<std::string> ExportTableCsv(const grid::TVLStrGrid& table, const TCsvContext& context);
// Replaces the table's data rows by the file's rows (asks through the dialog port: the
// other-form and more-languages questions, and CsvReadAsUtf8's) and recomputes the row heights;
// the caller recounts the empty fields. Returns false when the user declined the import or the
// file is not the UTF-8 it claims to be (the table is unchanged).
// Empty fields after a row's last text never ask for languages; texts that found no column are
// reported with their lines.
bool ImportTableCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context);
// Appends the file's languages as new columns, titled and with the default font cell; false
// (with the message shown, the added columns removed) when a key does not match its row.
bool AddCsv(grid::TVLStrGrid& table, std::string_view contents, const TCsvContext& context);

// ---- The CSV format dialog ----------------------------------------------------------------------

class TFrmCSVSetup {
public:
  TFrmCSVSetup();  // selects CSVType's item and recomputes the separator
  static constexpr const char* kCaption = "CSV-Export Format";
  static constexpr const char* kExplanation[2] = {
      "Depending on your regional settings, entries in CSV files are ",
      "separated either by a semicolon or a colon."};
  static constexpr const char* kGroupCaption = "Option for export:";
  static constexpr const char* kItems[3] = {";  semicolon", ",  colon", "as set in control panel"};
  static constexpr const char* kOkCaption = "&OK";
  static constexpr const char* kCancelCaption = "Cancel";
  static constexpr const char* kHelpCaption = "&Help";
  static constexpr const char* kHelpHint = "Explain about these separators!";
  static constexpr const char* kHelpFile = "VLCore.Hlp";
  static constexpr const char* kHelpKeyword = "CSV Format";
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index) { itemIndex_ = index; }
  std::string RegionalSettingsLabel() const;  // "Your regional settings are: " + separator
  void OK();                                  // CSVType := index; recompute
  void Cancel() {}

private:
  int itemIndex_;
};

}  // namespace vorlect::vle
