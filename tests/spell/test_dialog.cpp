// The speller dialog's model driven like a window would: presentations, button states, the edited
// word, Undo Edit, deactivation and Start.
#include <algorithm>

#include <gmock/gmock.h>

#include "CheckerFakes.h"
#include "SpellTestUtil.h"
#include "host/ports/Ports.h"
#include "spell/SpellRes.h"

namespace vorlect::spell::test {
namespace {

using ::testing::ElementsAre;

class SpellerDialogTest : public SpellTest {
protected:
  void SetUp() override {
    SpellTest::SetUp();
    if (!RegisterSystem("en_US")) GTEST_SKIP() << "en_US dictionary is not installed";
    checker_.SetLanguage(1033);
    checker_.DialogView = &view_;
    checker_.ModalDialog = false;  // the test is the user: it clicks after Check returns
    checker_.ShowFinishMessage = false;
    checker_.Open();
    ASSERT_TRUE(checker_.IsOpen());
  }
  TSpellerDialog& Start(const std::string& text) {
    checker_.CheckText(text);
    EXPECT_NE(checker_.Dialog(), nullptr);
    return *checker_.Dialog();
  }
  static bool Active(const TControlState& s) { return s.visible && s.enabled; }

  ports::ScriptedPorts ports_;
  ports::ScopedPorts scope_{ports_};
  ScriptedView view_;
  TSpellChecker checker_;
};

TEST_F(SpellerDialogTest, CreatedWithItsCaptionsAndTheLanguageInTheTitle) {
  TSpellerDialog& d = Start("Helo");
  EXPECT_EQ(d.Caption, "Spelling \u2014 English (United States)");
  EXPECT_EQ(d.ChangeAllCaption, "Change A&ll");
  EXPECT_EQ(d.CancelEditCaption, "&Undo Edit");
  EXPECT_EQ(d.StartCaption, "Start");
  EXPECT_EQ(d.VariantsCharset, 0);
  EXPECT_EQ(view_.shows, 1);
  EXPECT_TRUE(d.Visible());

  // A language change while closed reaches the open dialog.
  checker_.Close();
  checker_.SetLanguage(1049);
  EXPECT_EQ(d.VariantsCharset, 204);
  EXPECT_THAT(d.Caption, ::testing::HasSubstr("Russian"));
}

TEST_F(SpellerDialogTest, UnknownWordShowsItsLineInRedWithSuggestions) {
  TSpellerDialog& d = Start("First line\r\nSecond wrld here\r\nThird");
  EXPECT_EQ(d.InfoMsg, "Unknown word");
  EXPECT_EQ(d.Misspelling, "Second wrld here");
  EXPECT_EQ(d.RedStart, 7u);
  EXPECT_EQ(d.RedLength, 4u);
  ASSERT_FALSE(d.Variants.empty());
  EXPECT_EQ(d.Selected, 0);
  EXPECT_TRUE(Active(d.ChangeButton));
  EXPECT_TRUE(Active(d.ChangeAllButton));
  EXPECT_TRUE(Active(d.SkipAllButton));
  EXPECT_TRUE(Active(d.AddButton));
  EXPECT_FALSE(d.DelButton.visible);
  EXPECT_FALSE(d.CancelEdit.visible);
  EXPECT_FALSE(d.StartButton.visible);
}

TEST_F(SpellerDialogTest, UnknownWordWithoutSuggestionsLeavesOnlySkipAddAndCancel) {
  TSpellerDialog& d = Start("xqzvkjwpq");
  ASSERT_TRUE(d.Variants.empty()) << d.Variants[0];
  EXPECT_EQ(d.Selected, -1);
  EXPECT_FALSE(d.ChangeButton.enabled);
  EXPECT_FALSE(d.ChangeAllButton.enabled);
  EXPECT_FALSE(d.VariantsState.enabled);
  EXPECT_TRUE(Active(d.SkipButton));
  EXPECT_TRUE(Active(d.SkipAllButton));
  EXPECT_TRUE(Active(d.AddButton));
  EXPECT_TRUE(Active(d.CancelButton));
  d.ChangeButtonClick();  // disabled: nothing happens
  EXPECT_EQ(checker_.WorkingText(), "xqzvkjwpq");
  EXPECT_TRUE(d.Visible());
}

TEST_F(SpellerDialogTest, EditedWordReplacesTheFlaggedTextAndUndoEditRestoresIt) {
  std::vector<std::string> changes;
  checker_.OnChangeText = [&](TSpellChecker&, std::int32_t, std::int32_t, const std::string& w) { changes.push_back(w); };
  TSpellerDialog& d = Start("say helo there\r\nnext");
  // The user types in the red part; the protected rest stays.
  d.MisspellingChange("say hallo there");
  EXPECT_EQ(d.EditedText(), "hallo");
  EXPECT_TRUE(d.CancelEdit.visible);
  EXPECT_TRUE(Active(d.ChangeButton));
  EXPECT_FALSE(d.ChangeAllButton.enabled);
  EXPECT_FALSE(d.SkipAllButton.enabled);
  EXPECT_FALSE(d.AddButton.enabled);
  EXPECT_FALSE(d.VariantsState.enabled);

  d.CancelEditClick();
  EXPECT_EQ(d.Misspelling, "say helo there");
  EXPECT_FALSE(d.CancelEdit.visible);
  EXPECT_TRUE(Active(d.ChangeAllButton));  // status 1 with a suggestion
  EXPECT_TRUE(Active(d.SkipAllButton));
  EXPECT_TRUE(Active(d.AddButton));

  d.MisspellingChange("say hullo there");
  d.ChangeButtonClick();
  EXPECT_EQ(checker_.WorkingText(), "say hullo there\r\nnext");
  EXPECT_THAT(changes, ElementsAre("hullo"));
}

TEST_F(SpellerDialogTest, EditedRunAtTheEndOfTheLineReachesTheLineEnd) {
  TSpellerDialog& d = Start("say helo");
  d.MisspellingChange("say hello you");
  EXPECT_EQ(d.EditedText(), "hello you");
  d.MisspellingChange("say hello\r\nyou");
  EXPECT_EQ(d.EditedText(), "hello");
}

TEST_F(SpellerDialogTest, RepeatedWordButtonsComeBackAfterUndoEdit) {
  checker_.SetOptions(checker_.Options() | OptionBit(spoFindRepeatWord));
  TSpellerDialog& d = Start("is is");
  EXPECT_EQ(d.LastStatus(), kStatusRepeatWord);
  EXPECT_TRUE(Active(d.DelButton));
  EXPECT_FALSE(d.ChangeButton.visible);
  EXPECT_FALSE(d.ChangeAllButton.enabled);
  EXPECT_TRUE(Active(d.SkipButton));
  EXPECT_FALSE(d.SkipAllButton.enabled);
  d.MisspellingChange("is it");
  EXPECT_FALSE(d.DelButton.visible);
  EXPECT_TRUE(Active(d.ChangeButton));
  d.CancelEditClick();
  EXPECT_TRUE(Active(d.DelButton));
  EXPECT_FALSE(d.ChangeButton.visible);
}

TEST_F(SpellerDialogTest, SentenceCapitalAndExtraSpacesOfferOneSuggestion) {
  checker_.SetOptions(checker_.Options() | OptionBit(spoFindUncappedSentences) | OptionBit(spoFindExtraSpaces));
  // An interactive check gives no spell state, so the text's start is not known as a sentence start.
  TSpellerDialog& d = Start("Fine. hello there.");
  EXPECT_EQ(d.InfoMsg, "Sentence capitalization error");
  EXPECT_THAT(d.Variants, ElementsAre("Hello"));
  EXPECT_FALSE(d.ChangeAllButton.enabled);  // only for unknown words
  EXPECT_FALSE(d.AddButton.enabled);
  d.ChangeButtonClick();
  EXPECT_EQ(checker_.WorkingText(), "Fine. Hello there.");

  TSpellerDialog& e = Start("One word   x.");
  EXPECT_EQ(e.InfoMsg, "Extra spaces");
  ASSERT_EQ(e.Variants.size(), 1u);
  const std::string flagged = checker_.FlaggedText();
  EXPECT_EQ(flagged.find_first_not_of(' '), flagged.size() - 1) << flagged;  // the spaces and "x"
  EXPECT_EQ(e.Variants[0], " x");
  e.ChangeButtonClick();
  EXPECT_EQ(checker_.WorkingText(), "One word x.");
}

TEST_F(SpellerDialogTest, FormatProblemsOfferNothingToChange) {
  checker_.SetOptions(checker_.Options() | OptionBit(spoFindMissingSpaces) | OptionBit(spoFindInitialNumerals));
  TSpellerDialog& d = Start("Hello,world and 2nd");
  EXPECT_EQ(d.InfoMsg, "Missing space");
  EXPECT_TRUE(d.Variants.empty());
  EXPECT_TRUE(d.ChangeButton.visible);
  EXPECT_FALSE(d.ChangeButton.enabled);
  EXPECT_FALSE(d.ChangeAllButton.enabled);
  EXPECT_FALSE(d.SkipAllButton.enabled);
  EXPECT_FALSE(d.AddButton.enabled);
  EXPECT_TRUE(Active(d.SkipButton));
  d.SkipButtonClick();
  EXPECT_EQ(d.InfoMsg, "Numerals in start of word");
  EXPECT_EQ(checker_.FlaggedText(), "2nd");
}

TEST_F(SpellerDialogTest, ChangeOnceReplacementGoesOnTopWithoutMovingTheSelection) {
  TSpellerDialog& d = Start("Helo and Helo");
  checker_.ChangeOnce("Zebra");  // a replacement of the user's own
  const bool changeWasEnabled = d.ChangeButton.enabled;
  d.NextStep();
  EXPECT_EQ(d.LastStatus(), kStatusReturningChangeOnce);
  EXPECT_EQ(checker_.FlaggedText(), "Helo");
  std::vector<std::string> plain;
  checker_.Suggest("Helo", plain);
  ASSERT_FALSE(plain.empty());
  ASSERT_GE(d.Variants.size(), 2u);
  EXPECT_EQ(d.Variants[0], "Zebra");
  EXPECT_EQ(std::count(d.Variants.begin(), d.Variants.end(), "Zebra"), 1);
  EXPECT_EQ(d.Variants[static_cast<size_t>(d.Selected)], plain[0]);  // the selection did not move
  EXPECT_EQ(d.ChangeButton.enabled, changeWasEnabled);
  EXPECT_FALSE(d.ChangeAllButton.enabled);  // status 3
  EXPECT_EQ(d.InfoMsg, "Unknown word");
}

TEST_F(SpellerDialogTest, DeactivationWaitsForStartWhichReadsTheControlAgain) {
  FakeControl memo("Helo wrld");
  FakeControl other("Fine text, one wrng");
  checker_.CheckControl(memo);
  TSpellerDialog& d = *checker_.Dialog();
  EXPECT_EQ(checker_.FlaggedText(), "Helo");

  d.FormDeactivate();
  EXPECT_TRUE(Active(d.StartButton));
  EXPECT_FALSE(d.ChangeButton.visible);
  EXPECT_FALSE(d.SkipButton.enabled);
  EXPECT_FALSE(d.InfoMsgState.enabled);
  EXPECT_TRUE(d.Variants.empty());
  EXPECT_EQ(d.Misspelling, "");

  memo.SetText("Hello wrld");  // the user fixed the first word meanwhile
  d.StartButtonClick();
  EXPECT_FALSE(d.StartButton.visible);
  EXPECT_EQ(checker_.FlaggedText(), "wrld");
  EXPECT_TRUE(Active(d.SkipButton));
  EXPECT_TRUE(d.InfoMsgState.enabled);

  // On an MDI child the memo of the same name on the active child is checked instead.
  memo.counterpart = &other;
  d.FormDeactivate();
  d.StartButtonClick();
  EXPECT_EQ(checker_.Control, &other);
  EXPECT_EQ(checker_.FlaggedText(), "wrng");
  EXPECT_EQ(view_.shows, 1);  // the same dialog all along
}

TEST_F(SpellerDialogTest, WithoutAWindowTheCheckEndsAsCancelled) {
  checker_.DialogView = nullptr;
  checker_.ModalDialog = true;
  checker_.CheckText("Helo");
  EXPECT_TRUE(checker_.Aborted);
  EXPECT_FALSE(checker_.InCheck());
}

TEST_F(SpellerDialogTest, HiddenDialogIsReplacedByTheNextCheck) {
  TSpellerDialog* first = &Start("Helo");
  first->CancelButtonClick();
  EXPECT_FALSE(first->Visible());
  TSpellerDialog* second = &Start("Helo");
  EXPECT_TRUE(second->Visible());
  EXPECT_EQ(view_.shows, 2);
}

}  // namespace
}  // namespace vorlect::spell::test
