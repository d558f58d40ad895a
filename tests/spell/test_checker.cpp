// The spell checker over the real engine: interactive steps through a scripted dialog, the
// blocking pass, background workers and Close while they run.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include <gmock/gmock.h>

#include "CheckerFakes.h"
#include "SpellTestUtil.h"
#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "spell/Langs.h"

namespace vorlect::spell::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Change {
  std::int32_t pos, len;
  std::string word;
  bool operator==(const Change&) const = default;
};
struct Report {
  unsigned src;
  std::int32_t pos, len;
  bool operator==(const Report&) const = default;
};
void PrintTo(const Change& c, std::ostream* os) { *os << "(" << c.pos << ", " << c.len << ", \"" << c.word << "\")"; }
void PrintTo(const Report& r, std::ostream* os) { *os << "(" << r.src << ", " << r.pos << ", " << r.len << ")"; }

class SpellCheckerTest : public SpellTest {
protected:
  void SetUp() override {
    SpellTest::SetUp();
    if (!RegisterSystem("en_US")) GTEST_SKIP() << "en_US dictionary is not installed";
    checker_.SetLanguage(1033);
    checker_.DialogView = &view_;
    checker_.OnChangeText = [this](TSpellChecker&, std::int32_t pos, std::int32_t len, const std::string& w) {
      changes_.push_back({pos, len, w});
    };
    checker_.OnMisspelling = [this](TSpellChecker&, TSpellReturnCode src, std::int32_t pos, std::int32_t len) {
      reports_.push_back({src, pos, len});
    };
    checker_.Open();
    ASSERT_TRUE(checker_.IsOpen());
  }
  void TearDown() override {
    checker_.Close();
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (TSpellChecker::LiveWorkers() > 0 && std::chrono::steady_clock::now() < limit)
      if (ports_.ProcessSynchronizeQueue() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    EXPECT_EQ(TSpellChecker::LiveWorkers(), 0u);
    SpellTest::TearDown();
  }
  // The interactive check of `text` with the scripted clicks queued on view_.
  void Interactive(const std::string& text) { checker_.CheckText(text); }
  std::string Text() const { return checker_.WorkingText(); }

  ports::ScriptedPorts ports_;
  ports::ScopedPorts scope_{ports_};
  ScriptedView view_;
  TSpellChecker checker_;
  std::vector<Change> changes_;
  std::vector<Report> reports_;
};

// --- interactive --------------------------------------------------------------------------------

TEST_F(SpellCheckerTest, ChangeShiftsLaterPositionsAndSkipMovesOn) {
  std::vector<std::string> firstSuggestions;
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(d.InfoMsg, "Unknown word");
    EXPECT_EQ(checker_.FlaggedText(), "Helo");
    firstSuggestions = d.Variants;
    d.SelectVariant(static_cast<int>(std::find(d.Variants.begin(), d.Variants.end(), "Hello") - d.Variants.begin()));
    d.ChangeButtonClick();
  });
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(checker_.FlaggedText(), "wrld");
    EXPECT_EQ(checker_.FlaggedPos(), 6u);  // in the edited text
    d.SkipButtonClick();
  });
  Interactive("Helo wrld");
  EXPECT_THAT(firstSuggestions, Contains("Hello"));
  EXPECT_EQ(Text(), "Hello wrld");
  EXPECT_THAT(changes_, ElementsAre(Change{0, 4, "Hello"}));
  EXPECT_FALSE(checker_.Aborted);
  EXPECT_FALSE(view_.ranOut);
  EXPECT_EQ(view_.shows, 1);
  ASSERT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(ports_.messages()[0].text, "Spelling check complete");
  EXPECT_EQ(ports_.messages()[0].type, ports::mtInformation);
  EXPECT_FALSE(checker_.InCheck());  // result buffers freed
}

TEST_F(SpellCheckerTest, DeleteRepeatedWordTakesTheSpaceBeforeIt) {
  checker_.SetOptions(checker_.Options() | OptionBit(spoFindRepeatWord));
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(d.InfoMsg, "Repeated word");
    EXPECT_EQ(checker_.FlaggedPos(), 4u);
    EXPECT_TRUE(d.DelButton.visible);
    EXPECT_FALSE(d.ChangeButton.visible);
    d.DelButtonClick();
  });
  Interactive("the the cat");
  EXPECT_EQ(Text(), "the cat");
  EXPECT_THAT(changes_, ElementsAre(Change{3, 4, ""}));
  EXPECT_FALSE(view_.ranOut);
}

TEST_F(SpellCheckerTest, ChangeAllReplacesLaterOccurrencesSilently) {
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_TRUE(d.ChangeAllButton.enabled);
    d.SelectVariant(static_cast<int>(std::find(d.Variants.begin(), d.Variants.end(), "the") - d.Variants.begin()));
    d.ChangeAllButtonClick();
  });
  Interactive("teh cat and teh dog");
  EXPECT_EQ(Text(), "the cat and the dog");
  EXPECT_THAT(changes_, ElementsAre(Change{0, 3, "the"}, Change{12, 3, "the"}));
  EXPECT_EQ(view_.shows, 1);
  EXPECT_FALSE(view_.ranOut);
}

TEST_F(SpellCheckerTest, CancelSetsAbortedAndTheEndDoesNot) {
  view_.Then([](TSpellerDialog& d) { d.CancelButtonClick(); });
  Interactive("Helo wrld");
  EXPECT_TRUE(checker_.Aborted);
  EXPECT_EQ(view_.hides, 1);

  view_.Then([](TSpellerDialog& d) { d.SkipButtonClick(); });
  Interactive("Helo world");
  EXPECT_FALSE(checker_.Aborted);
}

TEST_F(SpellCheckerTest, TextWithoutProblemsNeverShowsTheDialog) {
  Interactive("Hello world");
  EXPECT_EQ(view_.shows, 0);
  ASSERT_EQ(ports_.messages().size(), 1u);
  checker_.ShowFinishMessage = false;
  Interactive("Hello world");
  EXPECT_EQ(ports_.messages().size(), 1u);
}

TEST_F(SpellCheckerTest, AddedWordIsAcceptedAndKeptInTheCustomDictionary) {
  view_.Then([](TSpellerDialog& d) {
    EXPECT_TRUE(d.AddButton.enabled);
    d.AddButtonClick();
  });
  Interactive("Vorlectish text");
  EXPECT_FALSE(view_.ranOut);
  std::ifstream in(checker_.Engine().CustomDictionaryPath());
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_THAT(contents, ::testing::HasSubstr("Vorlectish"));

  // A new opening reads the file again.
  checker_.Close();
  checker_.Open();
  checker_.SpellMode = smBackground;
  checker_.CheckText("Vorlectish text");
  EXPECT_THAT(reports_, IsEmpty());
}

TEST_F(SpellCheckerTest, SkipAllIgnoresLaterOccurrences) {
  view_.Then([](TSpellerDialog& d) { d.SkipAllButtonClick(); });
  Interactive("zorbl and zorbl");
  EXPECT_EQ(view_.shows, 1);
  EXPECT_FALSE(view_.ranOut);
}

TEST_F(SpellCheckerTest, RichEditCaretInAWordStartsAtThatWord) {
  FakeControl rich("Helo wrld tset", true);
  rich.Caret(7);  // inside "wrld"
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(checker_.FlaggedText(), "wrld");
    EXPECT_EQ(rich.SelStart(), 5);  // the control's selection follows the problem
    EXPECT_EQ(rich.selLength(), 4);
    d.SelectVariant(static_cast<int>(std::find(d.Variants.begin(), d.Variants.end(), "world") - d.Variants.begin()));
    d.ChangeButtonClick();
  });
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(checker_.FlaggedText(), "tset");
    d.CancelButtonClick();
  });
  checker_.CheckControl(rich);
  EXPECT_EQ(rich.Text(), "Helo world tset");
  EXPECT_EQ(checker_.Control, &rich);

  FakeControl memo("Helo wrld", false);
  memo.Caret(7);
  view_.Then([&](TSpellerDialog& d) {
    EXPECT_EQ(checker_.FlaggedText(), "Helo");
    d.CancelButtonClick();
  });
  checker_.CheckControl(memo);
}

TEST_F(SpellCheckerTest, MarkupIsSkippedInHtmlMode) {
  checker_.HTMLSupport = true;
  std::vector<std::string> flagged;
  for (int i = 0; i < 3; ++i)
    view_.Then([&](TSpellerDialog& d) {
      flagged.push_back(checker_.FlaggedText() + "@" + std::to_string(checker_.FlaggedPos()));
      d.SkipButtonClick();
    });
  Interactive("<p>Hello <b>wrld</b><!-- nott a wrd --> <% cde %>\r\n<i>tset</i> <b unterminated wrdd");
  EXPECT_THAT(flagged, ElementsAre("wrld@12", "tset@54"));
}

TEST_F(SpellCheckerTest, NextHtmlRunLimitsTheWindowToOneRun) {
  checker_.HTMLSupport = true;
  checker_.ShowFinishMessage = false;
  checker_.ModalDialog = false;  // leave the check open to drive the steps by hand
  view_.Then([](TSpellerDialog&) {});
  checker_.CheckText("<p>Hello <b>wrld</b>");
  ASSERT_TRUE(checker_.InCheck());
  // The dialog stopped at "wrld"; skipping leaves the window at the end of that run.
  checker_.SkipWord();
  EXPECT_EQ(checker_.WindowStart(), 16u);
  EXPECT_EQ(checker_.WindowLength(), 0);
  EXPECT_EQ(checker_.NextHtmlRun(), 0);  // "</b>" then the end
  EXPECT_EQ(checker_.WindowStart(), 20u);
}

TEST_F(SpellCheckerTest, SuggestionsAreUniqueIgnoringCase) {
  std::vector<std::string> list;
  checker_.Suggest("teh", list);
  ASSERT_FALSE(list.empty());
  for (size_t i = 0; i < list.size(); ++i)
    for (size_t j = i + 1; j < list.size(); ++j) EXPECT_FALSE(SameTextIgnoreCase(list[i], list[j], 1252)) << list[i];
  EXPECT_TRUE(SameTextIgnoreCase("\xC4rger", "\xE4RGER", 1252));  // Ärger
}

TEST_F(SpellCheckerTest, LanguageChangesOnlyWhileClosedAndToInstalledLocales) {
  checker_.SetLanguage(1031);
  EXPECT_EQ(checker_.Language(), 1033);  // open
  checker_.Close();
  checker_.SetLanguage(0x0C7F);  // no locale
  EXPECT_EQ(checker_.Language(), 1033);
  checker_.SetLanguage(1031);
  EXPECT_EQ(checker_.Language(), 1031);
}

TEST_F(SpellCheckerTest, ClosedCheckerDoesNothing) {
  checker_.Close();
  Interactive("Helo wrld");
  EXPECT_EQ(view_.shows, 0);
  EXPECT_THAT(ports_.messages(), IsEmpty());
}

// --- blocking pass ------------------------------------------------------------------------------

TEST_F(SpellCheckerTest, BlockingPassReportsWholeTextPositionsAndMarksRichEdits) {
  checker_.SpellMode = smBackground;
  checker_.MisspellFont.misspellOptions = MisspellBit(mfoColor) | MisspellBit(mfoStyle);
  checker_.MisspellFont.style = fsBold;
  FakeControl rich("Helo there, my wrld.", true);
  checker_.CheckControl(rich);
  EXPECT_THAT(reports_, ElementsAre(Report{1, 0, 4}, Report{1, 15, 4}));
  using M = FakeControl::Mark;
  EXPECT_THAT(rich.marks, ElementsAre(M{mfoColor, 0, 4}, M{mfoStyle, 0, 4}, M{mfoColor, 15, 4}, M{mfoStyle, 15, 4}));
  EXPECT_EQ(rich.Text(), "Helo there, my wrld.");  // the text is never changed

  reports_.clear();
  FakeControl memo("Helo there", false);
  checker_.CheckControl(memo);
  EXPECT_THAT(reports_, ElementsAre(Report{1, 0, 4}));
  EXPECT_THAT(memo.marks, IsEmpty());

  reports_.clear();
  checker_.CheckText("Nothing wrong here.");
  EXPECT_THAT(reports_, IsEmpty());
}

TEST_F(SpellCheckerTest, TextsLongerThanOneWindowAreCheckedToTheEnd) {
  checker_.SpellMode = smBackground;
  std::string text;
  while (text.size() < 70000) text += "good words here ";
  const size_t at = text.size();
  text += "wrld";
  checker_.CheckText(text);
  EXPECT_THAT(reports_, ElementsAre(Report{1, static_cast<std::int32_t>(at), 4}));

  // Interactively as well.
  std::vector<size_t> flagged;
  view_.Then([&](TSpellerDialog& d) {
    flagged.push_back(checker_.FlaggedPos());
    d.SkipButtonClick();
  });
  checker_.SpellMode = smInteractive;
  Interactive(text);
  EXPECT_THAT(flagged, ElementsAre(at));
  EXPECT_FALSE(view_.ranOut);
}

TEST(CheckWindowLengthTest, StopsAtABlankWhenTheTextDoesNotFit) {
  std::string text(70000, 'a');
  text[60000] = ' ';
  bool clamped = false;
  EXPECT_EQ(CheckWindowLength(text, 0, &clamped), 60001);
  EXPECT_TRUE(clamped);
  EXPECT_EQ(CheckWindowLength(text, 60001, &clamped), 9999);
  EXPECT_FALSE(clamped);
  EXPECT_EQ(CheckWindowLength(std::string(70000, 'b'), 0), 65535);  // one endless word
  EXPECT_EQ(CheckWindowLength("abc", 5), 0);
}

// --- background workers -------------------------------------------------------------------------

// Runs queued main-thread calls until `done` or a time limit.
template <class F>
bool PumpUntil(ports::ScriptedPorts& ports, F done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    if (ports.ProcessSynchronizeQueue() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

TEST_F(SpellCheckerTest, WorkerReportsAsTheBlockingPassDoes) {
  const std::string text = "Helo there, my wrld. Nothing else is wrnog.";
  checker_.SpellMode = smBackground;
  checker_.CheckText(text);
  const std::vector<Report> expected = reports_;
  ASSERT_EQ(expected.size(), 3u);
  reports_.clear();

  checker_.SpellMode = smParallel;
  FakeControl rich(text, true);
  checker_.CheckControl(rich);
  EXPECT_EQ(checker_.ThreadCount(), 1u);
  ASSERT_TRUE(PumpUntil(ports_, [&] { return checker_.ThreadCount() == 0; }));
  EXPECT_EQ(reports_, expected);
  EXPECT_EQ(rich.marks.size(), 3u);
}

TEST_F(SpellCheckerTest, NoEngineCallAfterCloseWithTwentyWorkers) {
  std::mutex lock;
  std::vector<std::string> calls;
  bool mainThreadOnly = true;
  const auto mainThread = std::this_thread::get_id();
  checker_.Engine().OnEngineCall = [&](const char* entry) {
    std::lock_guard guard(lock);
    calls.emplace_back(entry);
    mainThreadOnly = mainThreadOnly && std::this_thread::get_id() == mainThread;
  };
  std::string text;
  for (int i = 0; i < 300; ++i) text += "Some wrds with erors in them. ";
  checker_.SpellMode = smParallel;
  for (int i = 0; i < 20; ++i) checker_.CheckText(text);
  EXPECT_EQ(checker_.ThreadCount(), 20u);
  // Let some of them run a few steps first.
  for (int i = 0; i < 30; ++i) ports_.ProcessSynchronizeQueue();
  checker_.Close();
  const size_t reportsAtClose = reports_.size();
  ASSERT_TRUE(PumpUntil(ports_, [&] { return checker_.ThreadCount() == 0; }));

  std::lock_guard guard(lock);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "SpellTerminate");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), std::string("SpellTerminate")), 1);
  EXPECT_TRUE(mainThreadOnly);
  EXPECT_EQ(reports_.size(), reportsAtClose);  // no report after Close either
}

TEST_F(SpellCheckerTest, WorkersOfAnEarlierOpeningStayStoppedAfterReopening) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "Some wrds. ";
  checker_.SpellMode = smParallel;
  checker_.CheckText(text);
  checker_.Close();
  checker_.Open();
  ASSERT_TRUE(PumpUntil(ports_, [&] { return checker_.ThreadCount() == 0; }));
  EXPECT_THAT(reports_, IsEmpty());
}

TEST_F(SpellCheckerTest, DestroyedCheckerLeavesItsWorkersHarmless) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "Some wrds. ";
  std::atomic<bool> alive{true};
  {
    TSpellChecker other;
    other.SetLanguage(1033);
    other.Open();
    ASSERT_TRUE(other.IsOpen());
    other.SpellMode = smParallel;
    other.OnMisspelling = [&](TSpellChecker&, TSpellReturnCode, std::int32_t, std::int32_t) {
      EXPECT_TRUE(alive.load());
    };
    other.CheckText(text);
  }
  alive = false;
  // The worker finds its checker gone and ends.
  ASSERT_TRUE(PumpUntil(ports_, [] { return TSpellChecker::LiveWorkers() == 0; }));
}

// --- code pages ---------------------------------------------------------------------------------

TEST_F(SpellCheckerTest, GermanText1252AndRussianText1251) {
  checker_.Close();
  if (HasDictionary("de_DE")) {
    checker_.SetLanguage(1031);
    checker_.Open();
    checker_.SpellMode = smBackground;
    const std::string text = ToCp("Grüße aus München, die Übersetzng fehlt.", 1252);
    checker_.CheckText(text);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(FromCp(text.substr(reports_[0].pos, reports_[0].len), 1252), "Übersetzng");
    std::vector<std::string> list;
    checker_.Suggest(text.substr(reports_[0].pos, reports_[0].len), list);
    EXPECT_THAT(list, Contains(ToCp("Übersetzung", 1252)));
    checker_.Close();
  }
  reports_.clear();
  if (HasDictionary("ru_RU")) {
    checker_.SetLanguage(1049);
    checker_.Open();
    ASSERT_TRUE(checker_.IsOpen());
    checker_.SpellMode = smBackground;
    const std::string text = ToCp("Привет, мир! Превет.", 1251);
    checker_.CheckText(text);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(FromCp(text.substr(reports_[0].pos, reports_[0].len), 1251), "Превет");
  }
}


// Suggestions prepared on helper threads leave the checker's own lists in charge of its answers.
TEST_F(SpellCheckerTest, PreparedSuggestionsAreTheCheckersOwn) {
  checker_.Engine().AddChangeUdr(kUdrChangeAlways, "mistaks", "mistakes!");
  checker_.Engine().AddUdr(checker_.Engine().UserDictionary(), "Sentensy");
  const std::vector<std::string> words = {"sentense", "mistaks", "recieve", "sentense", "wierd", "untill", "Zzq"};
  PrepareSuggestions(checker_, words, 3);
  std::vector<std::string> list;
  checker_.Suggest("mistaks", list);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "mistakes!");
  checker_.Suggest("sentense", list);
  EXPECT_THAT(list, Contains("sentence"));
  EXPECT_THAT(list, Contains("Sentensy"));
  checker_.Suggest("recieve", list);
  EXPECT_THAT(list, Contains("receive"));

  // Closed, it does nothing.
  checker_.Close();
  PrepareSuggestions(checker_, words);
  checker_.Suggest("wierd", list);
  EXPECT_THAT(list, IsEmpty());
}

}  // namespace
}  // namespace vorlect::spell::test
