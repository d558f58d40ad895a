#include "vle/spellcheck/SpellTranslations.h"

#include <algorithm>
#include <charconv>

#include "grid/VLStGrid.h"
#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "spell/Langs.h"
#include "vle/VLSettings.h"
#include "vle/editor/VLEditor.h"
#include "vle/project/Notation.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/VLEMain.h"
#include "vle/spellcheck/SpellSetup.h"

namespace vorlect::vle {

namespace {

// The wait cursor for the length of a run.
class TBusy {
public:
  explicit TBusy(const std::function<void(bool)>& onBusy) : onBusy_(onBusy) {
    if (onBusy_) onBusy_(true);
  }
  ~TBusy() { Release(); }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;
  void Release() {
    if (on_ && onBusy_) onBusy_(false);
    on_ = false;
  }

private:
  const std::function<void(bool)>& onBusy_;
  bool on_ = true;
};

// The memo of one run. The checker keeps its Control after a check, so it must forget the memo
// before the memo goes.
class TRunMemo {
public:
  explicit TRunMemo(spell::TSpellChecker& checker) : checker_(checker) {}
  ~TRunMemo() {
    if (checker_.Control == &memo) checker_.Control = nullptr;
  }
  TRunMemo(const TRunMemo&) = delete;
  TRunMemo& operator=(const TRunMemo&) = delete;
  TSpellMemo memo;

private:
  spell::TSpellChecker& checker_;
};

// After an engine error the checker must not stay open: the next run would take it for a check
// still going on and check nothing.
void CloseAfterError(spell::TSpellChecker& checker) {
  for (int attempt = 0; attempt < 2 && checker.IsOpen(); ++attempt) {
    try {
      checker.Close();
    } catch (const spell::ESpellError&) {
    }
  }
}

void ShowError(const std::string& text) { ports::MessageDlg(text, ports::mtError, ports::ButtonSet{ports::mbOK}); }

std::string FormatCounts(const char* format, int checked, int updated) {
  std::string text = format;
  for (const int value : {checked, updated}) {
    const size_t at = text.find("%d");
    if (at == std::string::npos) break;
    text.replace(at, 2, std::to_string(value));
  }
  return text;
}

// One table line in form-file notation, checked as the text it stands for and written back in
// the line's own style. Lines that cannot be checked without loss are left alone: an invalid line
// (it could not be saved anyway) and a Unicode line with characters the language's code page
// lacks.
std::optional<std::string> CheckNotationLine(spell::TSpellChecker& checker, TSpellMemo& memo, const std::string& line,
                                             int codePage) {
  const notation::TDecoded decoded = notation::Decode(line);
  if (!decoded.valid) return std::nullopt;
  std::string bytes;
  if (decoded.unicode) {
    bool lossy = false;
    bytes = platform::EncodeCodePage(decoded.units, codePage, &lossy);
    if (lossy || platform::DecodeCodePage(bytes, codePage) != decoded.units) return std::nullopt;
  } else {
    bytes = decoded.bytes;
  }
  const std::optional<std::string> corrected = SpellCheckText(checker, memo, bytes);
  if (!corrected) return std::nullopt;
  std::string result = decoded.unicode
                           ? notation::OfUtf16(platform::DecodeCodePage(*corrected, codePage), codePage, true)
                           : notation::OfBytes(*corrected);
  if (result == line) return std::nullopt;
  return result;
}

}  // namespace

// ---- Accelerator markers --------------------------------------------------------------------------

int AcceleratorMarker(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (i + 1 >= text.size()) return -1;  // a trailing "&" marks nothing
    if (text[i + 1] == '&') {
      ++i;  // a literal ampersand
      continue;
    }
    return static_cast<int>(i) + 1;
  }
  return -1;
}

std::string StripAccelerator(std::string_view text, int& marker) {
  marker = AcceleratorMarker(text);
  std::string stripped(text);
  if (marker > 0) stripped.erase(static_cast<size_t>(marker) - 1, 1);
  return stripped;
}

std::string RestoreAccelerator(std::string corrected, int marker) {
  // Nothing is left to carry the marker; a lone "&" would only turn an empty text into a filled one.
  if (marker <= 0 || corrected.empty()) return corrected;
  const int n = static_cast<int>(corrected.size());
  if (marker >= n) marker = n - 1;
  corrected.insert(marker < 1 ? 0 : static_cast<size_t>(marker) - 1, 1, '&');
  return corrected;
}

// ---- The hidden memo ---------------------------------------------------------------------------------

void TSpellMemo::SetText(std::string text) {
  text_ = std::move(text);
  selStart_ = selLength_ = 0;
}

void TSpellMemo::SetSelStart(int start) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = 0;
}

void TSpellMemo::SetSelLength(int length) {
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
}

void TSpellMemo::SetSelText(const std::string& text) {
  text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), text);
  selStart_ += static_cast<int>(text.size());
  selLength_ = 0;
}

std::optional<std::string> SpellCheckText(spell::TSpellChecker& checker, TSpellMemo& memo, const std::string& text) {
  int marker = -1;
  const std::string stripped = StripAccelerator(text, marker);
  memo.SetText(stripped);
  checker.CheckControl(memo);
  std::string checked = memo.Text();
  if (checked == stripped) return std::nullopt;
  return RestoreAccelerator(std::move(checked), marker);
}

void ApplyStoredSpellSettings(spell::TSpellChecker& checker) {
  using spell::OptionBit;
  checker.SetOptions(
      static_cast<std::uint16_t>(OptionBit(spell::spoSuggestFromUserDict) | OptionBit(spell::spoIgnoreAllCaps) |
                                 OptionBit(spell::spoIgnoreMixedDigits) | OptionBit(spell::spoIgnoreRomanNumerals)));
  checker.SetLanguage(1033);
  checker.FinishMessage = "Spelling check complete";
  checker.ShowFinishMessage = false;
  checker.Caption = "Spelling - %s";
  checker.MisspellFont.color = 255;  // red
  checker.MisspellFont.name = "MS Sans Serif";
  checker.MisspellFont.height = -11;
  checker.MisspellFont.misspellOptions = spell::MisspellBit(spell::mfoColor);
  checker.ModalDialog = true;
  checker.SpellMode = spell::smInteractive;
  checker.HTMLSupport = false;
}

spell::TLanguage SpellerLanguageOf(int language) {
  const host::TStringList& ids = LanguageIds();
  if (language < 1 || language > ids.Count()) return kNoSpeller;
  const std::string& entry = ids.Strings(language - 1);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
  if (ec != std::errc() || end != entry.data() + entry.size() || entry.empty() || value > 0xFFFF) return kNoSpeller;
  return static_cast<spell::TLanguage>(value);
}

// ---- The editor ------------------------------------------------------------------------------------

TEditorSpelling::TEditorSpelling() { ApplyStoredSpellSettings(SpellChecker3); }

std::vector<int> TEditorSpelling::SpellChecker1Click(grid::TVLStrGrid& grid) {
  std::vector<int> rows;
  // An open checker means a check is still going on: only the closing message.
  if (!SpellChecker3.IsOpen()) {
    TBusy busy(OnBusy);
    std::optional<std::string> error;
    {
      TRunMemo run(SpellChecker3);
      try {
        for (int col = 1; col < grid.ColCount(); ++col) {
          const spell::TLanguage language = SpellerLanguageOf(col);
          SpellChecker3.SetLanguage(language);
          if (SpellChecker3.Language() != language) continue;
          SpellChecker3.Open();
          // Cancel in the dialog ends the current cell only.
          for (int row = 2; row < grid.RowCount(); ++row) {
            if (auto corrected = SpellCheckText(SpellChecker3, run.memo, grid.Cells(col, row))) {
              grid.SetCells(col, row, *corrected);
              rows.push_back(row);
            }
          }
          SpellChecker3.Close();
        }
      } catch (const spell::ESpellError& e) {
        CloseAfterError(SpellChecker3);
        error = e.what();
      }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    busy.Release();
    // Cells written before the error stay written.
    if (error) {
      ShowError(*error);
      return rows;
    }
  }
  ports::MessageDlg(kMsgSpellEditorDone, ports::mtInformation, ports::ButtonSet{ports::mbOK});
  return rows;
}

void TEditorSpelling::SpellChecker1Click(TFEditVorlect& editor) {
  const std::vector<int> rows = SpellChecker1Click(editor.Grid());
  if (rows.empty()) return;
  for (const int row : rows) CalcRowHeight(editor.Grid(), row);
  editor.Recount();
}

int TEditorSpelling::SpellChecker2Click() { return ShowSpellSetup(SpellChecker3, SetupView); }

// ---- The project manager -------------------------------------------------------------------------------

TProjectSpelling::TProjectSpelling() { ApplyStoredSpellSettings(SpellChecker2); }

bool TProjectSpelling::FormCheck(host::TStrings& lines, int languages, std::optional<std::string>* engineError) {
  if (languages < 1) throw ESpellPrecondition("the language count is " + std::to_string(languages));
  bool changed = false;
  const int texts = lines.Count() / (languages + 1);
  if (SpellChecker2.IsOpen()) return false;
  TRunMemo run(SpellChecker2);
  try {
    for (int k = 1; k <= languages; ++k) {
      const spell::TLanguage language = SpellerLanguageOf(k);
      SpellChecker2.SetLanguage(language);
      if (SpellChecker2.Language() != language) continue;
      SpellChecker2.Open();
      const int codePage = spell::LanguageCodePage(language);
      for (int j = 0; j < texts; ++j) {
        const int index = k + j * (languages + 1);
        if (auto line = CheckNotationLine(SpellChecker2, run.memo, lines.Strings(index), codePage)) {
          lines.Put(index, *line);
          changed = true;
        }
        if (SpellChecker2.Aborted) {  // Cancel in the dialog
          Aborted = true;
          break;
        }
      }
      SpellChecker2.Close();
      if (Aborted) break;
    }
  } catch (const spell::ESpellError& e) {
    CloseAfterError(SpellChecker2);
    if (!engineError) throw;
    *engineError = e.what();
  }
  return changed;
}

void TProjectSpelling::BtnSpellClick(TFPrjList& catalogue) {
  TBusy busy(OnBusy);
  int checked = 0, updated = 0;
  Aborted = false;
  for (int i = 0; i < catalogue.Count() && !Aborted; ++i) {
    if (!catalogue.Selected(i)) continue;
    TRowLines use(catalogue, i);
    TEntry& entry = use.Entry();
    ++checked;
    std::optional<std::string> engineError;
    bool changed = false;
    try {
      changed = FormCheck(entry.Lines, entry.LanguageCount, &engineError);
    } catch (const ESpellPrecondition& e) {
      busy.Release();
      ShowError("Spell checking aborted: the form " + entry.FormFile + "\rhas no translation component (" + e.what() +
                ").");
      return;
    }
    if (changed) {
      ++updated;
      // The catalogue finds a form by its file name alone; a second form of that name elsewhere
      // would receive these lines, so such a form is rewritten by its full path.
      TFPrjList* list = catalogue.FindByFileName(entry.FormFile) == i ? &catalogue : nullptr;
      if (!RewriteTables(entry.FormFile, entry.LanguageCount, list, entry.Lines)) {
        ports::MessageDlg(kMsgSpellNotSavedHead + entry.FormFile + kMsgSpellNotSavedTail, ports::mtError,
                          ports::ButtonSet{ports::mbAbort});
        Aborted = true;
      }
    }
    // What was corrected before an engine error is saved above; the error then ends the run.
    if (engineError) {
      busy.Release();
      ShowError(*engineError);
      return;
    }
  }
  busy.Release();
  if (Aborted)
    ports::MessageDlg(FormatCounts(kMsgSpellAborted, checked, updated), ports::mtWarning,
                      ports::ButtonSet{ports::mbOK});
  else
    ports::MessageDlg(FormatCounts(kMsgSpellCompleted, checked, updated), ports::mtInformation,
                      ports::ButtonSet{ports::mbOK});
}

int TProjectSpelling::SpellChecker1Click() { return ShowSpellSetup(SpellChecker2, SetupView); }

}  // namespace vorlect::vle
