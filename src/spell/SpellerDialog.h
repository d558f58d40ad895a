// The speller dialog's logic: which problem is shown and how, the suggestions, the state of every
// button, and what each button does. A window only shows this model and forwards the user's
// actions to it; tests drive it directly.
#pragma once

#include <string>
#include <vector>

#include "spell/CSAPI.h"

namespace vorlect::spell {

class TSpellChecker;
class TSpellerDialog;

// The window that shows the dialog (the user interface implements it; tests script it).
class TSpellerDialogView {
public:
  virtual ~TSpellerDialogView() = default;
  // Shows the dialog. A modal one runs its loop here and returns once the dialog is hidden.
  virtual void Show(TSpellerDialog& dialog, bool modal) = 0;
  // The dialog is finished: hide the window (ending a modal loop).
  virtual void Hide(TSpellerDialog& dialog) = 0;
  // Some state changed; redraw.
  virtual void Changed(TSpellerDialog& /*dialog*/) {}
};

struct TControlState {
  bool visible = true;
  bool enabled = true;
  bool operator==(const TControlState&) const = default;
};

class TSpellerDialog {
public:
  explicit TSpellerDialog(TSpellChecker& checker);
  ~TSpellerDialog();
  TSpellerDialog(const TSpellerDialog&) = delete;
  TSpellerDialog& operator=(const TSpellerDialog&) = delete;

  // Fixed layout (client size 310 x 262, font Arial height -10); the window takes it from here.
  static constexpr int kClientWidth = 310, kClientHeight = 262;

  // --- what the window shows ---
  std::string Caption;
  std::string InfoMsg = "Unknown Word";
  std::string Label2Caption, ChangeCaption, ChangeAllCaption, SkipCaption, SkipAllCaption, AddCaption = "&Add",
      CancelCaption, CancelEditCaption, DelCaption, StartCaption;
  int VariantsCharset = 0;  // font character set of the suggestion list and the context box
  // The context box: one line of the text; the flagged part [RedStart, RedStart + RedLength) is
  // red and the only part the user can edit, the rest is protected.
  std::string Misspelling;
  size_t RedStart = 0, RedLength = 0;
  std::vector<std::string> Variants;
  int Selected = -1;
  TControlState InfoMsgState, MisspellingState, Label2State, VariantsState, ChangeButton, ChangeAllButton,
      SkipButton, SkipAllButton, AddButton, CancelButton, CancelEdit{false, true}, DelButton{false, true},
      StartButton{false, true};

  bool Visible() const { return visible_; }
  TSpellReturnCode LastStatus() const { return lastStatus_; }
  // While set, changes of the context box come from the dialog itself.
  bool Updating() const { return updating_; }
  // The text of the red run as the user left it.
  std::string EditedText() const;

  // --- actions ---
  // Finds the next problem and presents it, or finishes at the end of the text.
  void NextStep();
  void SelectVariant(int index);  // the user picked a suggestion
  void ChangeButtonClick();       // also a double click in the suggestions
  void ChangeAllButtonClick();
  void SkipButtonClick();
  void SkipAllButtonClick();
  void AddButtonClick();
  void DelButtonClick();
  void CancelEditClick();
  void CancelButtonClick();
  void StartButtonClick();
  // The context box's text after the user edited it.
  void MisspellingChange(const std::string& boxText);
  // Whether a change of protected text may happen now.
  bool MisspellingProtectChange() const { return updating_; }
  void FormDeactivate();

  // The checker's language changed: caption and character set follow.
  void LanguageChanged();
  // The checker is going away.
  void Detach() { checker_ = nullptr; }

private:
  enum class Presentation { Word, Format, Repeated };
  void Present(Presentation kind, int messageId, const std::vector<std::string>* suggestions,
               const std::string* changeOnce = nullptr);
  void ContextDisplay();
  void WordButtons(TSpellReturnCode status);
  void FormatButtons();
  void RepeatedButtons();
  void SelectionButtons(TSpellReturnCode status);
  void ShowDialog();
  void Finish(bool cancelled);
  // Runs one button's operation and the next step; an engine error is shown and ends it.
  template <class F>
  void Step(F&& operation);
  void Notify();

  TSpellChecker* checker_;
  TSpellReturnCode lastStatus_ = 0;
  bool visible_ = false;
  bool updating_ = false;
  std::string flagged_;     // the flagged text of the current problem
  size_t suffixLength_ = 0;  // protected text after the red run
};

// How an extra-spaces problem shows: "word   x" -> "word x", the run of spaces before the last two
// characters goes.
std::string WithoutExtraSpaces(const std::string& flagged);

}  // namespace vorlect::spell
