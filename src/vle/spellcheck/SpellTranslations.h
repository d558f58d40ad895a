// Spell checking of translations, language by language: the editor's command over its grid
// (SpellChecker3) and the project manager's command over the selected forms (SpellChecker2).
//
// Every text goes through one interactive check in its column's language: the accelerator marker
// is taken out, the text is put into a hidden memo, the checker's modal dialog runs over the memo,
// and a corrected text gets its marker back. Texts nobody changed are left exactly as they were.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "spell/Spellers.h"

namespace vorlect::host {
class TStrings;
}
namespace vorlect::grid {
class TVLStrGrid;
}

namespace vorlect::vle {

class TFEditVorlect;
class TFPrjList;
class TSpellSetupView;

inline constexpr const char* kMsgSpellEditorDone = "Spell checking completed.";
inline constexpr const char* kMsgSpellNotSavedHead = "The spell-checked document ";
inline constexpr const char* kMsgSpellNotSavedTail = " could not be saved.\rAborting spell check.";
inline constexpr const char* kMsgSpellAborted = "Spell checking aborted, %d forms checked, %d forms updated.";
inline constexpr const char* kMsgSpellCompleted = "Spell checking completed, %d forms checked, %d forms updated.";

// The speller a language uses when LanguageIds has none for it; no locale answers to it.
inline constexpr spell::TLanguage kNoSpeller = 65535;

// ---- Accelerator markers --------------------------------------------------------------------------

// 1-based position of the accelerator marker: the first "&" that is neither half of a "&&" pair
// nor the last character. -1 when there is none.
int AcceleratorMarker(std::string_view text);
// The text without its marker; `marker` receives AcceleratorMarker.
std::string StripAccelerator(std::string_view text, int& marker);
// Puts the marker back into a corrected text: it becomes character `marker`, moved before the
// second-to-last character when the text got too short for it. An emptied text stays empty.
std::string RestoreAccelerator(std::string corrected, int marker);

// ---- The hidden memo ---------------------------------------------------------------------------------

// The memo the checker edits during a run: a plain memo (no word breaks, no attributes) that holds
// the whole text, line breaks included.
class TSpellMemo final : public spell::TSpellTextControl {
public:
  std::string Text() const override { return text_; }
  void SetText(std::string text);
  int SelStart() const override { return selStart_; }
  void SetSelStart(int start) override;
  void SetSelLength(int length) override;
  void SetSelText(const std::string& text) override;
  int SelLength() const { return selLength_; }

private:
  std::string text_;
  int selStart_ = 0, selLength_ = 0;
};

// Checks one text with `checker` (open in the text's language) through `memo`. Returns the
// corrected text with its marker restored, or nullopt when the text is to be left as it is.
std::optional<std::string> SpellCheckText(spell::TSpellChecker& checker, TSpellMemo& memo, const std::string& text);

// The settings both forms store for their checkers.
void ApplyStoredSpellSettings(spell::TSpellChecker& checker);

// The speller of language `language` (from 1): its LanguageIds entry as a number, kNoSpeller when
// the entry is missing or not a number.
spell::TLanguage SpellerLanguageOf(int language);

// A form without a translation component among the selected forms.
class ESpellPrecondition : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// ---- The editor ------------------------------------------------------------------------------------

class TEditorSpelling {
public:
  TEditorSpelling();

  spell::TSpellChecker SpellChecker3;
  // The wait cursor on (true) and off.
  std::function<void(bool busy)> OnBusy;
  // Shows the setup dialog; without it the setup does nothing.
  TSpellSetupView* SetupView = nullptr;

  // File "Spell-Checker" (F7): every language column, rows 2 and following. Returns the rows
  // whose cells were corrected, ascending.
  std::vector<int> SpellChecker1Click(grid::TVLStrGrid& grid);
  // The same over the editor's grid; corrected rows are re-measured and empty fields recounted.
  void SpellChecker1Click(TFEditVorlect& editor);
  // Options "Spell-Checker": the setup dialog for SpellChecker3; returns its modal result.
  int SpellChecker2Click();
};

// ---- The project manager -------------------------------------------------------------------------------

class TProjectSpelling {
public:
  TProjectSpelling();

  spell::TSpellChecker SpellChecker2;
  std::function<void(bool busy)> OnBusy;
  TSpellSetupView* SetupView = nullptr;
  // The run was aborted (Cancel in the speller dialog, or a form that could not be saved).
  bool Aborted = false;

  // "Spell-Check": every selected form in list order, each rewritten when a text changed.
  void BtnSpellClick(TFPrjList& catalogue);
  // Checks the table lines of one form (form-file notation, `languages` + 1 lines per text) and
  // stores corrected lines. True when a line changed. Throws ESpellPrecondition when `languages`
  // is below 1. An engine error is kept in `engineError` (the checker is closed) so that the
  // caller can save what was corrected before it.
  bool FormCheck(host::TStrings& lines, int languages, std::optional<std::string>* engineError = nullptr);
  // Options "&Spell Checker": the setup dialog for SpellChecker2.
  int SpellChecker1Click();
};

}  // namespace vorlect::vle
