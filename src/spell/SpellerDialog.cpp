#include "spell/SpellerDialog.h"

#include <algorithm>

#include "host/ports/Ports.h"
#include "spell/Langs.h"
#include "spell/SpellRes.h"
#include "spell/Spellers.h"

namespace vorlect::spell {

namespace {

std::string FormatCaption(const std::string& format, const std::string& name) {
  std::string text = format;
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
  return text;
}

}  // namespace

std::string WithoutExtraSpaces(const std::string& flagged) {
  if (flagged.size() < 2) return flagged;
  const size_t keep = flagged.size() - 2;
  size_t from = keep;
  while (from > 0 && flagged[from - 1] == ' ') --from;
  return flagged.substr(0, from) + flagged.substr(keep);
}

TSpellerDialog::TSpellerDialog(TSpellChecker& checker) : checker_(&checker) {
  Label2Caption = SpellResString(SpellVariants);
  ChangeCaption = SpellResString(SpellChange);
  ChangeAllCaption = SpellResString(SpellChangeAll);
  SkipCaption = SpellResString(SpellSkip);
  SkipAllCaption = SpellResString(SpellSkipAll);
  DelCaption = SpellResString(SpellDelete);
  CancelCaption = SpellResString(SpellCancel);
  CancelEditCaption = SpellResString(SpellUndoEdit);
  StartCaption = SpellResString(SpellStart);
  LanguageChanged();
}

TSpellerDialog::~TSpellerDialog() = default;

void TSpellerDialog::LanguageChanged() {
  if (!checker_) return;
  Caption = FormatCaption(checker_->Caption, LanguageName(checker_->Language()));
  VariantsCharset = LanguageCharset(checker_->Language());
  Notify();
}

void TSpellerDialog::Notify() {
  if (checker_ && checker_->DialogView) checker_->DialogView->Changed(*this);
}

// --- next step and presentations -----------------------------------------------------------------

void TSpellerDialog::NextStep() {
  if (!checker_) return;
  TSpellChecker& c = *checker_;
  while (true) {
    TSpellReturnCode status = kStatusNoErrors;
    if (c.HTMLSupport) {
      int n = 0;
      do {
        n = c.NextHtmlRun();
        status = n >= 1 ? c.CheckNext() : TSpellReturnCode{kStatusNoErrors};
        if (status == kStatusNoErrors) c.MoveWindow(static_cast<size_t>(n));
      } while (n != 0 && status == kStatusNoErrors);
    } else {
      status = c.CheckNext();
    }
    lastStatus_ = status;
    std::vector<std::string> suggestions;
    switch (status) {
      case kStatusNoErrors:
        Finish(false);
        return;
      case kStatusReturningChangeAlways: {
        // Replaced silently. The replacement is the user's own choice and is not checked again:
        // a chain of change-always entries leading back to a word would never end.
        const std::string replacement = c.ReturnedString();
        const bool empty = c.FlaggedLength() == 0 && replacement.empty();
        c.ReplaceWord(replacement);
        c.MoveWindow(empty ? 1 : replacement.size());  // never the same place twice
        continue;
      }
      case kStatusUnknownInputWord:
      case kStatusInvalidHyphenation:
      case kStatusErrorCapitalization:
        c.Suggest(c.FlaggedText(), suggestions);
        Present(Presentation::Word,
                status == kStatusUnknownInputWord     ? SpellUnknownWord
                : status == kStatusInvalidHyphenation ? SpellIllegalHyphenations
                                                      : SpellCapitalizationError,
                &suggestions);
        return;
      case kStatusReturningChangeOnce: {
        const std::string changeOnce = c.ReturnedString();
        c.Suggest(c.FlaggedText(), suggestions);
        Present(Presentation::Word, SpellUnknownWord, &suggestions, &changeOnce);
        return;
      }
      case kStatusWordConsideredAbbreviation:
        Present(Presentation::Word, SpellPossibleAbbreviation, &suggestions);
        return;
      case kStatusNoSentenceStartCap:
        suggestions.push_back(UpperFirst(c.FlaggedText(), c.Language()));
        Present(Presentation::Word, SpellSentenceCapitalization, &suggestions);
        return;
      case kStatusRepeatWord:
        Present(Presentation::Repeated, SpellRepeatedWord, nullptr);
        return;
      case kStatusExtraSpaces:
        suggestions.push_back(WithoutExtraSpaces(c.FlaggedText()));
        Present(Presentation::Word, SpellExtraSpaces, &suggestions);
        return;
      case kStatusMissingSpace:
        Present(Presentation::Format, SpellMissingSpace, nullptr);
        return;
      case kStatusInitialNumeral:
        Present(Presentation::Format, SpellNumeralsInStart, nullptr);
        return;
      default:
        return;  // a status the dialog does not know: it keeps its state, Cancel still works
    }
  }
}

void TSpellerDialog::Present(Presentation kind, int messageId, const std::vector<std::string>* suggestions,
                             const std::string* changeOnce) {
  ContextDisplay();
  InfoMsg = SpellResString(messageId);
  Variants.clear();
  Selected = -1;
  switch (kind) {
    case Presentation::Word:
      WordButtons(lastStatus_);
      if (suggestions) Variants = *suggestions;
      Selected = Variants.empty() ? -1 : 0;
      SelectionButtons(lastStatus_);
      // The change-once replacement goes on top, before the dialog is shown: a modal dialog
      // returns only when the check is over.
      if (changeOnce && !changeOnce->empty()) {
        const int codePage = LanguageCodePage(checker_->Language());
        const bool listed = std::any_of(Variants.begin(), Variants.end(), [&](const std::string& v) {
          return SameTextIgnoreCase(v, *changeOnce, codePage);
        });
        if (!listed) {
          Variants.insert(Variants.begin(), *changeOnce);
          if (Selected >= 0) ++Selected;  // the same suggestion stays selected
        }
      }
      break;
    case Presentation::Format:
      FormatButtons();
      break;
    case Presentation::Repeated:
      RepeatedButtons();
      break;
  }
  Notify();
  ShowDialog();
}

void TSpellerDialog::ContextDisplay() {
  MisspellingState.enabled = true;
  InfoMsgState.enabled = true;
  updating_ = true;
  const std::string& text = checker_->WorkingText();
  const size_t a = std::min(checker_->FlaggedPos(), text.size());
  const size_t len = std::min(checker_->FlaggedLength(), text.size() - a);
  const size_t lineStart = a == 0 ? 0 : [&] {
    const size_t at = text.find_last_of("\r\n", a - 1);
    return at == std::string::npos ? 0 : at + 1;
  }();
  size_t lineEnd = text.find_first_of("\r\n", a + len);
  if (lineEnd == std::string::npos) lineEnd = text.size();
  Misspelling = text.substr(lineStart, lineEnd - lineStart);
  RedStart = a - lineStart;
  RedLength = len;
  flagged_ = text.substr(a, len);
  suffixLength_ = Misspelling.size() - RedStart - RedLength;
  updating_ = false;
}

void TSpellerDialog::WordButtons(TSpellReturnCode status) {
  CancelEdit.visible = false;
  DelButton.visible = false;
  StartButton.visible = false;
  ChangeButton.visible = true;
  SkipButton.visible = SkipButton.enabled = true;
  SkipAllButton.enabled = AddButton.enabled = status == kStatusUnknownInputWord;
}

void TSpellerDialog::SelectionButtons(TSpellReturnCode status) {
  const bool selected = Selected >= 0 && Selected < static_cast<int>(Variants.size());
  ChangeButton.enabled = VariantsState.enabled = Label2State.enabled = selected;
  ChangeAllButton.enabled = selected && status == kStatusUnknownInputWord;
}

void TSpellerDialog::FormatButtons() {
  CancelEdit.visible = false;
  DelButton.visible = false;
  StartButton.visible = false;
  ChangeButton.visible = true;
  SkipButton.visible = SkipButton.enabled = true;
  SkipAllButton.enabled = AddButton.enabled = false;
  ChangeButton.enabled = ChangeAllButton.enabled = VariantsState.enabled = false;
}

void TSpellerDialog::RepeatedButtons() {
  CancelEdit.visible = false;
  StartButton.visible = false;
  // Enabled as well as shown: a deactivated dialog disabled them before Start was pressed.
  DelButton.visible = DelButton.enabled = true;
  ChangeButton.visible = false;
  ChangeAllButton.enabled = false;
  SkipButton.visible = SkipButton.enabled = true;
  SkipAllButton.enabled = AddButton.enabled = false;
  VariantsState.enabled = false;
}

void TSpellerDialog::ShowDialog() {
  if (visible_) return;
  visible_ = true;
  TSpellerDialogView* view = checker_->DialogView;
  if (!view) {
    Finish(true);  // nobody can answer: the check ends as cancelled
    return;
  }
  view->Show(*this, checker_->ModalDialog);
}

void TSpellerDialog::Finish(bool cancelled) {
  if (!checker_) return;
  TSpellChecker& c = *checker_;
  if (cancelled) c.Aborted = true;
  if (visible_) {
    visible_ = false;
    if (c.DialogView) c.DialogView->Hide(*this);
  }
  c.FreeResultBuffers();
  if (c.ShowFinishMessage && !c.FinishMessage.empty())
    ports::MessageDlg(c.FinishMessage, ports::mtInformation, ports::ButtonSet{ports::mbOK});
}

// --- the user's actions --------------------------------------------------------------------------

template <class F>
void TSpellerDialog::Step(F&& operation) {
  if (!checker_ || !checker_->InCheck()) return;
  try {
    operation();
    NextStep();
  } catch (const ESpellError& e) {
    // The handler ends; the dialog keeps its state.
    ports::MessageDlg(e.what(), ports::mtError, ports::ButtonSet{ports::mbOK});
  }
  Notify();
}

void TSpellerDialog::SelectVariant(int index) {
  if (CancelEdit.visible || index < -1 || index >= static_cast<int>(Variants.size())) return;
  Selected = index;
  if (lastStatus_ != kStatusRepeatWord && lastStatus_ != kStatusMissingSpace && lastStatus_ != kStatusInitialNumeral &&
      lastStatus_ != kStatusWordConsideredAbbreviation)
    SelectionButtons(lastStatus_);
  Notify();
}

std::string TSpellerDialog::EditedText() const {
  const size_t start = std::min(RedStart, Misspelling.size());
  size_t end;
  if (suffixLength_ > 0 && Misspelling.size() >= start + suffixLength_) {
    end = Misspelling.size() - suffixLength_;
  } else {
    end = Misspelling.find_first_of("\r\n", start);
    if (end == std::string::npos) end = Misspelling.size();
  }
  return Misspelling.substr(start, end - start);
}

void TSpellerDialog::MisspellingChange(const std::string& boxText) {
  if (updating_) return;
  Misspelling = boxText;
  CancelEdit.visible = true;
  ChangeButton.visible = ChangeButton.enabled = true;
  ChangeAllButton.enabled = SkipAllButton.enabled = AddButton.enabled = false;
  DelButton.visible = false;
  VariantsState.enabled = false;
  Notify();
}

void TSpellerDialog::ChangeButtonClick() {
  if (!ChangeButton.visible || !ChangeButton.enabled) return;
  if (CancelEdit.visible) {
    const std::string edited = EditedText();
    Step([&] { checker_->ReplaceWord(edited); });
    return;
  }
  if (Selected < 0 || Selected >= static_cast<int>(Variants.size())) return;
  const std::string word = Variants[static_cast<size_t>(Selected)];
  if (lastStatus_ == kStatusUnknownInputWord)
    Step([&] { checker_->ChangeOnce(word); });
  else
    Step([&] { checker_->ReplaceWord(word); });
}

void TSpellerDialog::ChangeAllButtonClick() {
  if (!ChangeAllButton.enabled || Selected < 0 || Selected >= static_cast<int>(Variants.size())) return;
  const std::string word = Variants[static_cast<size_t>(Selected)];
  Step([&] { checker_->ChangeAlways(word); });
}

void TSpellerDialog::SkipButtonClick() {
  if (SkipButton.enabled) Step([&] { checker_->SkipWord(); });
}
void TSpellerDialog::SkipAllButtonClick() {
  if (SkipAllButton.enabled) Step([&] { checker_->IgnoreAll(); });
}
void TSpellerDialog::AddButtonClick() {
  if (AddButton.enabled) Step([&] { checker_->AddWord(); });
}
void TSpellerDialog::DelButtonClick() {
  if (DelButton.visible && DelButton.enabled) Step([&] { checker_->DeleteWord(); });
}

void TSpellerDialog::CancelEditClick() {
  if (!CancelEdit.visible) return;
  updating_ = true;
  const size_t start = std::min(RedStart, Misspelling.size());
  const std::string edited = EditedText();
  Misspelling.replace(start, edited.size(), flagged_);
  RedLength = flagged_.size();
  updating_ = false;
  switch (lastStatus_) {
    case kStatusRepeatWord:
      RepeatedButtons();
      break;
    case kStatusWordConsideredAbbreviation:
    case kStatusMissingSpace:
    case kStatusInitialNumeral:
      FormatButtons();
      break;
    default:
      WordButtons(lastStatus_);
      SelectionButtons(lastStatus_);
      break;
  }
  CancelEdit.visible = false;
  Notify();
}

void TSpellerDialog::CancelButtonClick() {
  Finish(true);
  Notify();
}

void TSpellerDialog::FormDeactivate() {
  if (!visible_) return;
  StartButton.visible = StartButton.enabled = true;
  // Start takes the place Change and Delete share.
  ChangeButton.visible = DelButton.visible = false;
  for (TControlState* s : {&DelButton, &ChangeButton, &ChangeAllButton, &SkipButton, &SkipAllButton, &AddButton,
                           &MisspellingState, &VariantsState, &InfoMsgState, &Label2State})
    s->enabled = false;
  Variants.clear();
  Selected = -1;
  updating_ = true;
  Misspelling.clear();
  RedStart = RedLength = suffixLength_ = 0;
  updating_ = false;
  Notify();
}

void TSpellerDialog::StartButtonClick() {
  if (!checker_ || !StartButton.visible) return;
  TSpellChecker& c = *checker_;
  StartButton.visible = false;
  try {
    if (!c.IsOpen()) c.Open();
    if (c.Control) {
      if (TSpellTextControl* other = c.Control->ActiveMdiCounterpart()) c.Control = other;
      c.CheckControl(*c.Control);  // reads the text again: the user's edits count
    } else {
      // A list check has no control to read again: go on where it stopped.
      NextStep();
    }
  } catch (const ESpellError& e) {
    ports::MessageDlg(e.what(), ports::mtError, ports::ButtonSet{ports::mbOK});
  }
  Notify();
}

}  // namespace vorlect::spell
