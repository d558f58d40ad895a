// The project manager without its window: the catalogue of a project's forms (one TEntry per
// form, read from the form files without loading them), selection, and the exchange page's logic.
#pragma once

#include "host/framework/Classes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vorlect::vle {

// One form of the project.
struct TEntry {
  int InstanceCount = 0;         // translation components found in the form file
  int LanguageCount = 0;         // languages of the last component found; 0 when none
  std::string FormClassName;     // from the form file's first line
  std::string FormFile;          // full path of the form file (.dfm)
  host::TStringList Lines;       // the table lines of all components, in form-file notation
  std::string FormName;          // the form's name in the project's braces (empty without one)
  // Name and class of every object the form file declares, in file order (the form itself first);
  // held and released with Lines. The translators' exports note a text's class from it.
  std::vector<std::pair<std::string, std::string>> Components;
  std::string ReadError;         // why the form file could not be read (the file and the reason); empty when read

  // "#L" and "Done" cells of the list.
  std::string LanguagesCell() const;
  std::string DoneCell() const;  // non-empty share as "73%", "-" without lines
  // The figures behind "Done": table lines, and those that are not empty (also when released).
  int LineCount() const;
  int FilledLineCount() const;
  // Lines of which some are empty: a text still to translate.
  bool Incomplete() const { return FilledLineCount() < LineCount(); }

  // The lines hold changes the form file does not have yet (replacements not saved): they are
  // kept until saved or until the catalogue closes, never released.
  bool LinesChanged = false;

  // A catalogue of thousands of forms need not hold every table: ReleaseLines drops the lines and
  // keeps what the list shows (not while LinesChanged); LoadLines reads them from the form file
  // again when released.
  void ReleaseLines();
  void LoadLines();
  bool LinesReleased() const { return released_; }
  // Whoever fills Lines anew says so (the scan and every rewrite do).
  void LinesLoaded() { released_ = false; }

private:
  bool released_ = false;
  int releasedLines_ = 0, releasedFilled_ = 0;
};

// Reads one form file into `entry` (scan of the text notation); returns InstanceCount.
// A file that cannot be read (missing, no form file, damaged, a text form cut short) gives 0
// instances, an empty class name and the reason in ReadError.
int ScanFormFile(const std::string& formFile, TEntry& entry);
// The same scan over a form's text notation already in memory (fuzzed).
int ScanFormText(std::string_view text, TEntry& entry);

// Progress of a long run: forms done of total; the command line prints a line, the window a bar.
using TProgress = std::function<void(int done, int total, const std::string& formFile)>;

// The catalogue of TFPrjList: rows in project order, each with its selection state.
class TFPrjList {
public:
  struct Row {
    std::unique_ptr<TEntry> entry;
    bool selected = false;
  };

  // Opening: the caption is the host's project file; every form of the host's project is saved
  // when open and scanned. Messages (no project, different language counts, the language-names
  // question unless `askLanguageNames` is false) go through the dialog port.
  // `keepLines` false keeps only each form's counts between steps (see TRowLines): memory then
  // stays flat in the number of forms.
  explicit TFPrjList(bool askLanguageNames = true, TProgress progress = {}, bool keepLines = true);
  bool KeepLines() const { return keepLines_; }

  const std::string& Caption() const { return caption_; }
  int Count() const { return static_cast<int>(rows_.size()); }
  TEntry& Entry(int index) { return *rows_.at(index).entry; }
  const TEntry& Entry(int index) const { return *rows_.at(index).entry; }
  bool Selected(int index) const { return rows_.at(index).selected; }
  void SetSelected(int index, bool selected);
  void SelectAll();  // "Select &All": deselects all when all are selected, else selects all
  int SelectedCount() const;
  // Row whose FormFile has the same file name (no folder, ignoring case); -1 when none. The first
  // such row when several have it. Looked up in an index of the rows' file names, built on first
  // use and extended as rows are added; a row found whose FormFile no longer has the name makes
  // the index be built again.
  int FindByFileName(const std::string& formFile) const;

  // The DLL base name (set by an .rc export) and the String-DLL menu states.
  std::string DllBaseName;
  bool CompileDllsEnabled = false;
  bool EmptyStringListsEnabled = false;

  TProgress Progress;
  // Opens the language setup dialog (the window sets it); without it there is none to open.
  std::function<void()> OpenLanguageSetup;
  // The opening's language-names question was answered Yes while no dialog could be opened yet.
  bool LanguageSetupRequested = false;

  // Adds a row without scanning (tests, tools); returns its index.
  int AddRow(std::unique_ptr<TEntry> entry, bool selected = false);
  // A catalogue built from rows alone, without a host.
  TFPrjList(std::string caption, std::vector<std::unique_ptr<TEntry>> entries);
  // Without it a literal caption would pick the opening constructor (const char* -> bool).
  TFPrjList(const char* caption, std::vector<std::unique_ptr<TEntry>> entries)
      : TFPrjList(std::string(caption), std::move(entries)) {}

private:
  std::string caption_;
  std::vector<Row> rows_;
  bool keepLines_ = true;
  // FindByFileName's index: lower-case file name -> first row; covers rows [0, indexed_).
  mutable std::unordered_map<std::string, int> byFileName_;
  mutable std::size_t indexed_ = 0;
};

// A row's table lines for the time of one step: read again from the form file when the catalogue
// keeps counts only, and released again at the end of the step unless Keep() was called (search
// results that point into the lines, unsaved replacements).
class TRowLines {
public:
  TRowLines(TFPrjList& catalogue, int row);
  ~TRowLines();
  TRowLines(const TRowLines&) = delete;
  TRowLines& operator=(const TRowLines&) = delete;
  TEntry& Entry() { return entry_; }
  void Keep() { release_ = false; }

private:
  TEntry& entry_;
  bool release_;
};

// The exchange page's file-name check: false for masks, empty names, names ending in ":", "\" or
// ".\", and names starting with "." once trimmed.
bool IsValidExchangeFileName(const std::string& name);
// Form names listed for a .csv or .rc exchange file's contents; nullopt for other extensions.
std::optional<std::vector<std::string>> ListExchangeFileForms(const std::string& fileName, std::string_view contents);

}  // namespace vorlect::vle
