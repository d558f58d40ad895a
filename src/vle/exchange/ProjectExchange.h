// Project-wide export and import of translation tables (CSV and resource scripts) and project
// search and replace, over the project manager's catalogue.
//
// Texts travel in form-file notation, exactly as the form file holds them, so an export read back
// by import leaves every form file as it was. Two rules keep that true:
// - a table key that starts with "%" or "$" (as "%Form%") is always written in double quotes, and
//   only "%" or "$" followed by a separator starts a form's block (in quotes too, as a spreadsheet
//   saves it, when a form field and nothing else follows); files written before (with such keys
//   unquoted) still read, since a key is never followed by a separator right after its first
//   character; a key that is only "%" or "$" cannot be told from a header and is refused;
// - fields of a notation block are read without the per-form unescaping (no \n, no '#39'), and a
//   field that cannot stand in a form file (say, a bare apostrophe a translator typed) is taken
//   as a plain text and quoted again.
// With the UTF-8 option the files hold real characters instead, each language column converted
// with its language's code page, with the exact escaping of the per-form UTF-8 layout.
#pragma once

#include "vle/project/VLEMain.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle {

struct TExportOptions {
  bool perLanguage = false;  // CSV: also one file per language (NAME1.csv, NAME2.csv ...)
  bool utf8 = false;         // real characters in UTF-8 with a byte-order mark
  // Resource scripts: their names are this base followed by the language number, and it becomes
  // the DLL base name. Empty takes the base from the file name, dropping one or two final digits
  // of a name longer than two characters (the exchange page's rule, for a name typed there).
  std::string scriptBase;
};

// The exchange page's "&Export" for `fileName` (.csv or .rc) over the selected rows; returns the
// number of forms exported, -1 when nothing was written (bad name, cancelled, file error).
// `askPerLanguage` false takes `options.perLanguage` instead of asking. A name without an
// extension gets ".csv". Every file is written whole or not at all.
int ExportProject(TFPrjList& catalogue, const std::string& fileName, TExportOptions options, bool askPerLanguage = true);

// What an import did with the blocks of its file.
struct TImportReport {
  int blocks = 0;    // form blocks in the file
  int imported = 0;  // forms rewritten
  int notFound = 0;  // blocks naming no form of the project
  int skipped = 0;   // blocks of forms that are not selected
  int failed = 0;    // rewrites that failed
  std::vector<std::string> failedForms;    // the form files whose rewrite failed, in file order
  std::vector<std::string> notFoundForms;  // the forms blocks named that the project lacks
};

// The exchange page's "&Import" of a CSV file; returns the number of forms imported, -1 when the
// file could not be read (bad name, not a CSV file, cannot be opened). A file that starts with a
// UTF-8 byte-order mark is read as UTF-8 even without `utf8`.
int ImportProject(TFPrjList& catalogue, const std::string& fileName, bool utf8 = false, TImportReport* report = nullptr);

// Resource escaping of one table line (form-file notation in, resource string body out): every
// character code and doubled apostrophe becomes its character, '#13#10' one "\n", and what a
// resource string cannot hold as it stands an octal escape. Unicode lines are encoded in
// `codePage` (the ANSI code page without it).
std::string ResourceEscape(std::string_view line);
std::string ResourceEscape(std::string_view line, int codePage);

// The code page of a table column: keys (0) in the ANSI code page, language b (from 1) in the
// code page of the b-th configured language identifier when there is one.
int ColumnCodePage(int column);

// ---- The project CSV file without the files (import reads through it; fuzzed) ----------------

enum class TBlockKind {
  Notation,  // "%" block: form-file notation
  Text,      // "$" block of the per-form layout: real texts in the ANSI code page
  Utf8,      // any block of a UTF-8 file: real characters
};

struct TCsvBlock {
  std::string formFile;
  char separator = ';';
  TBlockKind kind = TBlockKind::Notation;
  bool perForm = false;  // a "$" header
  std::vector<std::vector<std::string>> rows;  // fields as read, unescaped for the kind
  std::vector<std::size_t> rowLines;            // the line of the file each row starts on
  std::vector<std::size_t> rowWidths;           // each row's fields up to its last text (TCsvRow::Width)
  // The widest row's fields up to its last text - 1; -1 without rows.
  int Languages() const { return Languages(-1); }
  // The same for a form that has `current` languages: a row's empty fields up to that many are
  // its languages' empty texts, and only the empty fields beyond are a spreadsheet's padding.
  int Languages(int current) const;
};

std::vector<TCsvBlock> ReadProjectCsv(std::string_view contents, bool utf8);
// The same, handing over each block as soon as it is complete (import keeps one at a time).
void ForEachProjectCsvBlock(std::string_view contents, bool utf8, const std::function<void(TCsvBlock&)>& onBlock);
// The same over a file read a block at a time (import); throws platform::FileError.
void ForEachProjectCsvFileBlock(const std::string& path, bool utf8, const std::function<void(TCsvBlock&)>& onBlock);

// Whether a line of a project CSV file starts a form's block (see CsvHeaderOf).
bool IsCsvHeaderLine(std::string_view line);

// The table lines of a block in form-file notation: short rows padded with empty texts, fields
// converted for their column. `current` (the form's lines now, may be null) keeps the notation of
// every text a UTF-8 file left unchanged.
std::vector<std::string> BlockLines(const TCsvBlock& block, int languages, const host::TStrings* current);

}  // namespace vorlect::vle
