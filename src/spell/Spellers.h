// TSpellChecker: checks the spelling of a text with the speller engine of one language, either
// interactively through the speller dialog, in one blocking pass, or in worker threads.
//
// Texts are byte strings in the language's ANSI code page; every position is a 0-based byte
// position in the whole checked text. The checked control is reached through TSpellTextControl,
// which the user interface implements for its edit, memo and rich edit widgets.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "spell/CSAPI.h"
#include "spell/Speller.h"

namespace vorlect::host {
class TStrings;
}
namespace vorlect::ports {
class SyncPort;
}

namespace vorlect::spell {

class TSpellChecker;
class TSpellerDialog;
class TSpellerDialogView;

enum TSpellMode { smInteractive = 0, smBackground = 1, smParallel = 2 };

// Attributes of the misspelling font, in the order they are copied to marked text.
enum TMisspellFontOption { mfoName, mfoSize, mfoHeight, mfoColor, mfoPitch, mfoStyle };
constexpr unsigned MisspellBit(TMisspellFontOption o) { return 1u << o; }

enum TFontStyleBit : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TMisspellFont {
  std::string name = "MS Sans Serif";
  int size = 8;
  int height = -11;
  std::uint32_t color = 255;  // pure red (0x00BBGGRR)
  int pitch = 0;              // default, variable, fixed
  std::uint8_t style = 0;     // TFontStyleBit
  unsigned misspellOptions = MisspellBit(mfoColor);
};

// What the checker needs of an edit, memo or rich edit. Text and selection are in bytes of the
// text's code page.
class TSpellTextControl {
public:
  virtual ~TSpellTextControl() = default;
  virtual std::string Text() const = 0;
  virtual int SelStart() const = 0;
  // Setting the start collapses the selection, as the framework's controls do.
  virtual void SetSelStart(int start) = 0;
  virtual void SetSelLength(int length) = 0;
  // Replaces the selected text.
  virtual void SetSelText(const std::string& text) = 0;
  // Start of the word holding `pos`; controls without word-break support answer 0.
  virtual int WordBreakLeft(int /*pos*/) const { return 0; }
  // Only rich edits take character attributes.
  virtual bool IsRichEdit() const { return false; }
  // Copies one attribute of `font` to the selected text.
  virtual void SetSelAttribute(TMisspellFontOption /*which*/, const TMisspellFont& /*font*/) {}
  // When this control sits on an MDI child form: the memo of the same name on the active MDI
  // child of that form's owner, if there is one. The speller dialog's Start uses it.
  virtual TSpellTextControl* ActiveMdiCounterpart() { return nullptr; }
};

// One background worker's tie to its checker. `terminated` is set by Close; `checker` is touched
// only on the main thread and cleared when the checker goes away.
struct TSpellThreadLink {
  std::atomic<bool> terminated{false};
  TSpellChecker* checker = nullptr;
};

class TSpellChecker {
public:
  using TNotifyEvent = std::function<void(TSpellChecker& sender)>;
  using TMisspellEvent =
      std::function<void(TSpellChecker& sender, TSpellReturnCode src, std::int32_t bufPos, std::int32_t len)>;
  using TChangeTextEvent =
      std::function<void(TSpellChecker& sender, std::int32_t bufPos, std::int32_t len, const std::string& newWord)>;

  TSpellChecker();
  ~TSpellChecker();
  TSpellChecker(const TSpellChecker&) = delete;
  TSpellChecker& operator=(const TSpellChecker&) = delete;

  // --- properties ---
  std::uint16_t Options() const { return options_; }
  // Sent to the engine at once while open (ESpellError on failure).
  void SetOptions(std::uint16_t options);
  TLanguage Language() const { return language_; }
  // Ignored while open and for identifiers no installed locale answers to; read it back.
  void SetLanguage(TLanguage language);

  std::string FinishMessage;
  bool ShowFinishMessage = true;
  TSpellMode SpellMode = smInteractive;
  std::string Caption;  // format of the dialog caption; %s = LanguageName(Language)
  TMisspellFont MisspellFont;
  bool ModalDialog = true;
  bool HTMLSupport = false;
  bool Designing = false;  // the component is being designed: Open and Close do nothing to threads

  TMisspellEvent OnMisspelling;
  TChangeTextEvent OnChangeText;
  TNotifyEvent OnOpen;
  TNotifyEvent OnClose;

  // The control of the last CheckControl; an interactive check edits it along with its own copy.
  TSpellTextControl* Control = nullptr;
  // Set by the dialog's Cancel; cleared by Open, Close, Check and CheckControl.
  bool Aborted = false;

  // Shows the speller dialog; without one an interactive check ends as cancelled.
  TSpellerDialogView* DialogView = nullptr;

  // --- engine ---
  void Open();
  void Close();
  bool IsOpen() const { return speller_.IsOpen(); }
  TSpeller& Engine() { return speller_; }

  // --- checks ---
  // The lines of `list` joined by CR LF; does nothing while closed.
  void Check(const host::TStrings& list);
  // One text as it stands (one table cell, one line of a file): positions are positions in it.
  void CheckText(const std::string& text);
  void CheckControl(TSpellTextControl& control);

  // --- steps of an interactive check (the speller dialog's buttons) ---
  TSpellReturnCode CheckNext();
  int NextHtmlRun();
  void Suggest(const std::string& word, std::vector<std::string>& list);
  void ChangeOnce(const std::string& newWord);
  void ChangeAlways(const std::string& newWord);
  void ReplaceWord(const std::string& newWord);
  void DeleteWord();
  void AddWord();
  void SkipWord();
  void IgnoreAll();

  // State of the interactive check.
  bool InCheck() const { return !strings_.empty(); }
  const std::string& WorkingText() const { return work_; }
  size_t WindowStart() const { return start_; }
  std::uint16_t WindowLength() const { return length_; }
  void MoveWindow(size_t distance);  // the dialog skips a markup run without problems
  size_t FlaggedPos() const { return start_ + result_.errorOffset; }
  size_t FlaggedLength() const { return result_.errorLength; }
  std::string FlaggedText() const;
  // First string of the result's string buffer (a change-always or change-once replacement).
  std::string ReturnedString() const;
  // Ends an interactive check: frees the result buffers.
  void FreeResultBuffers();
  TSpellerDialog* Dialog() { return dialog_.get(); }
  const host::TStrings* PendingList() const { return pending_.get(); }

  // Background workers of this checker still listed (each removes itself when done).
  size_t ThreadCount() const { return threads_.size(); }
  // Worker threads of all checkers that have not yet returned from their last main-thread step.
  // Whoever tears down the synchronize port waits for 0, running queued calls meanwhile.
  static size_t LiveWorkers();

private:
  friend class TSpellerDialog;
  friend struct TSpellWorker;

  void CheckCore(const std::string& text, const host::TStrings* list);
  void StartInteractive(const std::string& text, size_t start);
  void BlockingPass(const std::string& text, TSpellTextControl* control);
  void StartThread(std::string text, TSpellTextControl* control);
  void RemoveThread(const TSpellThreadLink* link);
  // One verify from `pos` in `text` (any length: windows beyond the 16-bit field follow on).
  // Returns the status; `where` and `length` locate the problem in `text`.
  std::uint16_t VerifyFrom(const std::string& text, size_t pos, std::uint16_t state, TSpellReturnRecord& out,
                           size_t& where, size_t& length);
  void MarkAndReport(TSpellTextControl* control, std::uint16_t status, size_t pos, size_t length);
  void ReplaceFlagged(const std::string& newWord, size_t newStart);
  void SetWindow(size_t start);

  TSpeller speller_;
  std::uint16_t options_;
  TLanguage language_;

  // Interactive check: working copy, window and result record with its buffers.
  std::unique_ptr<host::TStrings> pending_;
  std::string work_;
  size_t start_ = 0;
  std::uint16_t length_ = 0;
  bool clamped_ = false;  // the window stops short of the text's end only because of its 16-bit length
  TSpellReturnRecord result_{};
  std::vector<char> strings_;
  std::vector<std::uint8_t> ratings_;

  std::unique_ptr<TSpellerDialog> dialog_;
  std::vector<std::shared_ptr<TSpellThreadLink>> threads_;
};

// Suggests each of `words` (in `checker`'s code page) once, on `workers` threads (0: one per
// core), each with an engine speller of its own opened for `checker`'s language and options, so
// that what `checker` suggests for them afterwards comes from the loaded dictionaries' memory of
// their suggestions. Only the time changes: `checker` still makes its own suggestions, with its
// own custom dictionary and lists. Does nothing while `checker` is closed. Engine errors of a
// helper only end that helper's share.
void PrepareSuggestions(TSpellChecker& checker, const std::vector<std::string>& words, unsigned workers = 0);

// Length of a check window from `start`: the rest of the text, or when that does not fit the
// 16-bit length field, up to the last blank or line break within 65535 bytes, so no word is cut.
std::uint16_t CheckWindowLength(const std::string& text, size_t start, bool* clamped = nullptr);

}  // namespace vorlect::spell
