// TSearchDlg without its window: search the tables of the selected forms for a text, list every
// hit, optionally replace the first occurrence in every hit and save the changed tables.
//
// The search compares real texts, not their form-file notation, so "it's" finds it''s and a
// replacement holding an apostrophe or a character outside the code page is written back in
// valid notation. The dialog's text fields and the "Text found" column are UTF-8 (the window's
// edge); each language's lines are read in that language's code page.
#pragma once

#include "vle/project/VLEMain.h"

#include <functional>
#include <string>
#include <vector>

namespace vorlect::vle {

class TSearchDlg {
public:
  static constexpr const char* kCaption = "Search/ replace in selected forms";
  static constexpr const char* kFindCaption = "&Find";
  static constexpr const char* kStopCaption = "St&op";
  static constexpr const char* kResultsCaption = "&Search Results:";
  static constexpr const char* kHelpFile = "VLCore.hlp";
  static constexpr const char* kHelpKeyword = "Project Search";
  static constexpr const char* kSaveQuestion = "The changed texts have not been saved, do you want to save them now?";

  // Fills the language list with the configured language names (and "language N" for further
  // languages the catalogue's forms have).
  explicit TSearchDlg(TFPrjList& catalogue);

  // Controls.
  std::string SearchText;   // "&Text to search:"
  std::string ReplaceText;  // "&Replace with"
  bool AllLanguages = true; // "&all languages" / "&selected languages"
  bool IgnoreCase = true;   // "&ignore case"
  // Replace changes the texts in memory only and neither asks nor saves (command line).
  bool DryRun = false;
  const std::vector<std::string>& LanguageItems() const { return languageItems_; }
  bool LanguageSelected(int item) const;
  void SetLanguageSelected(int item, bool selected);

  // Control states.
  bool FindEnabled() const;     // "&Find" and "Replace"
  bool LanguageListEnabled() const { return !AllLanguages && !running_; }
  bool ControlsEnabled() const { return !running_; }  // everything but the find/stop button
  const std::string& FindCaption() const { return findCaption_; }
  const std::string& GroupCaption() const { return groupCaption_; }
  bool Running() const { return running_; }

  struct TResultRow {
    std::string Form;       // the entry's FormClassName
    std::string Component;  // the current component name
    std::string TextFound;  // before any replacement, UTF-8
    TEntry* Entry = nullptr;
    int Line = 0;           // index in the entry's Lines
  };
  const std::vector<TResultRow>& Results() const { return results_; }

  // Buttons. Both search at once; clicked while a search runs, either asks it to stop.
  void FindClick();
  // Replaces, then asks to save when there are results; false when some save failed.
  bool ReplaceClick();
  // Opens the form file of result row `row` unless it is open already; nothing without a row.
  void ResultDblClick(int row);

  // Where the search lets pending window messages be processed (a click on "St&op" arrives
  // here); the command line polls its interrupt flag.
  std::function<void()> ProcessMessages;
  // Called when a search has ended (done or stopped), before Replace asks to save: the window
  // shows the rows the question is about.
  std::function<void()> SearchEnded;
  // Forms saved and failed by the last Replace.
  int SavedCount() const { return saved_; }
  int FailedCount() const { return failed_; }
  // The form files whose rewrite failed in the last Replace, in the order they were written.
  const std::vector<std::string>& FailedForms() const { return failedForms_; }

private:
  void Search(bool replace);
  bool SearchEntry(TEntry& entry, bool replace);
  bool StopRequested() const { return findCaption_ == kFindCaption; }

  TFPrjList& catalogue_;
  std::vector<std::string> languageItems_;
  std::vector<bool> languageSelected_;
  std::string findCaption_ = kFindCaption;
  std::string groupCaption_ = kResultsCaption;
  bool running_ = false;
  std::vector<TResultRow> results_;
  int saved_ = 0, failed_ = 0;
  std::vector<std::string> failedForms_;
};

}  // namespace vorlect::vle
