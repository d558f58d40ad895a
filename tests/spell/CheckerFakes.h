// A text control and a speller-dialog window for tests: the control keeps its text and selection
// and records attribute changes; the window runs scripted clicks inside its modal loop.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "spell/SpellerDialog.h"
#include "spell/Spellers.h"

namespace vorlect::spell::test {

class FakeControl : public TSpellTextControl {
public:
  explicit FakeControl(std::string text, bool rich = false) : text_(std::move(text)), rich_(rich) {}

  std::string Text() const override { return text_; }
  int SelStart() const override { return selStart_; }
  void SetSelStart(int start) override {
    selStart_ = start;
    selLength_ = 0;
  }
  void SetSelLength(int length) override { selLength_ = length; }
  void SetSelText(const std::string& text) override {
    text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), text);
    selStart_ += static_cast<int>(text.size());
    selLength_ = 0;
  }
  int WordBreakLeft(int pos) const override {
    if (!rich_) return 0;
    while (pos > 0 && text_[static_cast<size_t>(pos) - 1] != ' ') --pos;
    return pos;
  }
  bool IsRichEdit() const override { return rich_; }
  void SetSelAttribute(TMisspellFontOption which, const TMisspellFont&) override {
    marks.push_back({which, selStart_, selLength_});
  }
  TSpellTextControl* ActiveMdiCounterpart() override { return counterpart; }

  struct Mark {
    TMisspellFontOption which;
    int start, length;
    bool operator==(const Mark&) const = default;
  };
  std::vector<Mark> marks;
  TSpellTextControl* counterpart = nullptr;
  int selLength() const { return selLength_; }
  void SetText(std::string text) { text_ = std::move(text); }
  void Caret(int pos) { selStart_ = pos, selLength_ = 0; }

private:
  std::string text_;
  bool rich_;
  int selStart_ = 0, selLength_ = 0;
};

class ScriptedView : public TSpellerDialogView {
public:
  using Action = std::function<void(TSpellerDialog&)>;
  // Clicks run in order inside the modal loop; each sees the dialog's state after the previous.
  void Then(Action a) { script.push_back(std::move(a)); }

  void Show(TSpellerDialog& dialog, bool modal) override {
    ++shows;
    if (!modal) return;
    while (dialog.Visible()) {
      if (script.empty()) {
        ranOut = true;
        dialog.CancelButtonClick();
        break;
      }
      Action a = std::move(script.front());
      script.pop_front();
      a(dialog);
    }
  }
  void Hide(TSpellerDialog&) override { ++hides; }

  std::deque<Action> script;
  int shows = 0, hides = 0;
  bool ranOut = false;
};

}  // namespace vorlect::spell::test
