// Spell checking of translations: accelerator markers, the setup dialog, and both commands run
// with the installed dictionaries and a dialog window that answers per flagged word.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "SpellTestUtil.h"
#include "grid/VLStGrid.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "project/ProjectTestUtil.h"
#include "spell/SpellerDialog.h"
#include "vle/VLSettings.h"
#include "vle/project/Notation.h"
#include "vle/project/VLEMain.h"
#include "vle/spellcheck/SpellSetup.h"
#include "vle/spellcheck/SpellTranslations.h"

namespace vorlect::vle::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(Accelerator, StripFindsTheMarkerAndRestorePutsItBackInsideTheCorrectedText) {
  int m = 0;
  EXPECT_EQ(StripAccelerator("Clos&ee", m), "Closee");
  EXPECT_EQ(m, 5);
  EXPECT_EQ(RestoreAccelerator("Cls", m), "C&ls");  // too short for the old place
  EXPECT_EQ(StripAccelerator("&Fiel", m), "Fiel");
  EXPECT_EQ(RestoreAccelerator("File", m), "&File");
  EXPECT_EQ(RestoreAccelerator("", m), "");  // an emptied text does not become "&"
  EXPECT_EQ(RestoreAccelerator("X", 3), "&X");
  for (const char* none : {"Save && Exit", "Exit&", ""}) EXPECT_EQ(AcceleratorMarker(none), -1) << none;
  EXPECT_EQ(AcceleratorMarker("a&&b&c&d"), 5);
}

class ScriptedSetup : public TSpellSetupView {
public:
  std::function<void(TFrmSpellSetup&)> user;
  int ShowModal(TFrmSpellSetup& d) override {
    d.FormShow();
    user(d);
    return d.ModalResult;
  }
};

TEST(SpellSetup, BoxesShowTheStoredOptionsAndOnlyOkChangesThem) {
  TEditorSpelling editor;
  const spell::TSpellChecker& c = editor.SpellChecker3;
  EXPECT_EQ(c.Caption, "Spelling - %s");
  EXPECT_FALSE(c.ShowFinishMessage);
  EXPECT_EQ(editor.SpellChecker2Click(), ports::mrCancel);  // no window: nothing happens

  ScriptedSetup view;
  editor.SetupView = &view;
  for (const bool ok : {false, true}) {
    view.user = [&](TFrmSpellSetup& d) {
      EXPECT_EQ(d.CheckedOptions(), 15);
      EXPECT_STREQ(d.Boxes[4].caption, "Find uncapped Sentences");
      d.Boxes[0].checked = false;
      d.Boxes[6].checked = d.Boxes[11].checked = true;
      ok ? d.BtnOkClick() : d.BtnCancelClick();
    };
    EXPECT_EQ(editor.SpellChecker2Click(), ok ? ports::mrOk : ports::mrCancel);
    EXPECT_EQ(c.Options(), ok ? 0b1000'0100'1110 : 15);
  }
}

TEST(SpellSetup, SpellerOfALanguageComesFromItsIdentifier) {
  LanguageIds().Clear();
  for (const char* id : {"1031", "0", "", "German", "70000", "1049x"}) LanguageIds().Add(id);
  EXPECT_EQ(SpellerLanguageOf(1), 1031);
  EXPECT_EQ(SpellerLanguageOf(2), 0);
  for (int k : {3, 4, 5, 6, 7, 0}) EXPECT_EQ(SpellerLanguageOf(k), kNoSpeller) << k;
  LanguageIds().Clear();
}

// ---- Runs with the installed dictionaries ------------------------------------------------------------------

// The speller dialog's window: answers each problem by its flagged word, typing a replacement,
// cancelling, or skipping it.
struct AnswerView : spell::TSpellerDialogView {
  std::map<std::string, std::string> replace;
  std::set<std::string> cancelOn;
  std::vector<std::string> flagged;
  void Show(spell::TSpellerDialog& d, bool) override {
    for (int steps = 0; d.Visible(); ++steps) {
      const std::string word = d.Misspelling.substr(d.RedStart, d.RedLength);
      flagged.push_back(word);
      auto it = replace.find(word);
      if (steps > 50 || cancelOn.count(word)) {
        d.CancelButtonClick();
      } else if (it == replace.end()) {
        d.SkipButtonClick();
      } else {
        d.MisspellingChange(d.Misspelling.substr(0, d.RedStart) + it->second +
                            d.Misspelling.substr(d.RedStart + d.RedLength));
        d.ChangeButtonClick();
      }
    }
  }
  void Hide(spell::TSpellerDialog&) override {}
};

class SpellRun : public spell::test::SpellTest {
protected:
  void SetUp() override {
    SpellTest::SetUp();
    if (!RegisterSystem("en_US")) GTEST_SKIP() << "the en_US dictionary is not installed";
    LanguageIds().Clear();
    view_.replace = {{"Fiel", "File"}, {"Closee", "Cls"}, {"Secnd", "Second"}, {"Teh", "The"},
                     {"tme", "time"},  {"Helo", "Hello"}, {"wrld", "world"}};
    view_.cancelOn = {"Wrold"};
  }
  void TearDown() override {
    LanguageIds().Clear();
    EXPECT_EQ(ports_.pendingAnswers(), 0u);
    SpellTest::TearDown();
  }
  void Ids(std::initializer_list<const char*> ids) {
    for (const char* id : ids) LanguageIds().Add(id);
  }
  // The text of the only message shown, which must be of `type` with an OK button.
  std::string Only(ports::MsgDlgType type) {
    EXPECT_EQ(ports_.messages().size(), 1u);
    if (ports_.messages().empty()) return {};
    EXPECT_EQ(ports_.messages().back().type, type);
    EXPECT_EQ(ports_.messages().back().buttons, ports::ButtonSet{ports::mbOK});
    return ports_.messages().back().text;
  }
  // A registered speller for `lcid` whose main dictionary cannot be opened.
  static void BreakSpeller(unsigned lcid) {
    platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
    reg.OpenKeyReadOnly(spell::SpellerKeyOf(1033));
    const std::string engine = reg.ReadString("Engine");
    reg.OpenKey(spell::SpellerKeyOf(lcid), true);
    reg.WriteString("Engine", engine);
    reg.WriteString("Dictionary", "/nonexistent/broken.dic");
  }

  ports::ScriptedPorts ports_;
  ports::ScopedPorts scope_{ports_};
  AnswerView view_;
};

class EditorSpellRun : public SpellRun {
protected:
  void SetUp() override {
    SpellRun::SetUp();
    if (IsSkipped()) return;
    spelling_.SpellChecker3.DialogView = &view_;
  }
  void Table(const std::vector<std::vector<std::string>>& rows) {
    grid_.SetColCount(static_cast<int>(rows.front().size()) + 1);
    grid_.SetRowCount(static_cast<int>(rows.size()) + 2);
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].size(); ++c)
        grid_.SetCells(static_cast<int>(c) + 1, static_cast<int>(r) + 2, rows[r][c]);
  }
  grid::TVLStrGrid grid_{nullptr};
  TEditorSpelling spelling_;
};

TEST_F(EditorSpellRun, CorrectedCellsKeepMarkersAndLineBreaksCancelEndsOnlyTheCell) {
  Ids({"1033", "0"});
  Table({{"&Fiel", "Fiel"},
         {"Save && Exit", ""},
         {"Clos&ee", ""},
         {"First line\r\nSecnd line", ""},
         {"Wrold one", ""},
         {"Teh end&", ""}});
  EXPECT_THAT(spelling_.SpellChecker1Click(grid_), ElementsAre(2, 4, 5, 7));
  EXPECT_EQ(grid_.Cells(1, 2), "&File");
  EXPECT_EQ(grid_.Cells(1, 3), "Save && Exit");
  EXPECT_EQ(grid_.Cells(1, 4), "C&ls");
  EXPECT_EQ(grid_.Cells(1, 5), "First line\r\nSecond line");
  EXPECT_EQ(grid_.Cells(1, 6), "Wrold one");
  EXPECT_EQ(grid_.Cells(1, 7), "The end&");
  EXPECT_EQ(grid_.Cells(2, 2), "Fiel");                    // no speller for that language
  EXPECT_THAT(view_.flagged, ::testing::Contains("Teh"));  // checked after the cancelled cell
  EXPECT_EQ(Only(ports::mtInformation), "Spell checking completed.");
  EXPECT_FALSE(spelling_.SpellChecker3.IsOpen());
  EXPECT_EQ(spelling_.SpellChecker3.Control, nullptr);  // the memo is gone
}

TEST_F(EditorSpellRun, EngineErrorEndsTheRunWithoutLeavingTheCheckerOpen) {
  BreakSpeller(1036);
  Ids({"1033", "1036"});
  Table({{"Fiel", "Fiel"}});
  spelling_.SpellChecker1Click(grid_);
  EXPECT_EQ(grid_.Cells(1, 2), "File");  // written before the error
  Only(ports::mtError);
  EXPECT_FALSE(spelling_.SpellChecker3.IsOpen());

  // The next run checks again; a checker really open (a check running) makes it check nothing.
  ports_.clear();
  LanguageIds().Clear();
  Ids({"1033"});
  Table({{"Teh"}});
  spelling_.SpellChecker1Click(grid_);
  EXPECT_EQ(grid_.Cells(1, 2), "The");
  Table({{"Fiel"}});
  spelling_.SpellChecker3.Open();
  spelling_.SpellChecker1Click(grid_);
  EXPECT_EQ(grid_.Cells(1, 2), "Fiel");
  EXPECT_EQ(ports_.messages().back().text, "Spell checking completed.");
}

TEST_F(EditorSpellRun, TextsAreCheckedInTheirLanguagesCodePage) {
  if (!RegisterSystem("de_DE")) GTEST_SKIP() << "the de_DE dictionary is not installed";
  using spell::test::ToCp;
  Ids({"1031"});
  view_.replace = {{ToCp("Schlüsel", 1252), ToCp("Schlüssel", 1252)}};
  Table({{ToCp("&Größe und Schlüsel", 1252)}, {ToCp("Größe", 1252)}});
  EXPECT_THAT(spelling_.SpellChecker1Click(grid_), ElementsAre(2));
  EXPECT_EQ(grid_.Cells(1, 2), ToCp("&Größe und Schlüssel", 1252));
  EXPECT_THAT(view_.flagged, ElementsAre(ToCp("Schlüsel", 1252)));
}

// ---- The project manager ------------------------------------------------------------------------------------

class ProjectSpellRun : public SpellRun {
protected:
  void SetUp() override {
    SpellRun::SetUp();
    if (IsSkipped()) return;
    spelling_.SpellChecker2.DialogView = &view_;
    Ids({"1033", "0"});
  }
  // A form with a two-language table of quoted items: key, language 1, language 2 per text.
  std::string Form(const std::string& name, const std::vector<std::string>& items) {
    const std::string path = dir_ + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    platform::WriteFileAtomic(path, FormText(items.empty() ? "" : VorlectBlock("Vorlect1", 2, items)));
    return path;
  }
  void Catalogue(const std::vector<std::string>& paths, const std::vector<bool>& selected) {
    for (size_t i = 0; i < paths.size(); ++i) {
      auto e = std::make_unique<TEntry>();
      ScanFormFile(paths[i], *e);
      list_.AddRow(std::move(e), selected[i]);
    }
  }
  // The table of a form file as the texts it stands for, in UTF-8.
  static std::vector<std::string> Decoded(const std::string& path) {
    TEntry e;
    ScanFormFile(path, e);
    std::vector<std::string> texts;
    for (int i = 0; i < e.Lines.Count(); ++i)
      texts.push_back(platform::Utf16ToUtf8(notation::ToUtf16(e.Lines.Strings(i), 1252)));
    return texts;
  }
  TFPrjList list_{"Project1.dpr", {}};
  TProjectSpelling spelling_;
};

TEST_F(ProjectSpellRun, ChangedFormsAreRewrittenInFormFileNotationOthersStayUntouched) {
  const std::string a = Form("one/Main.dfm", {"'KeyA'", "'&Fiel'", "'Fiel'",           //
                                              "'Label1'", "'it''s tme'", "''",         //
                                              "'Label2'", "'Helo'#13#10'wrld'", "''",  //
                                              "'Label3'", "'Fiel '#8364", "''",        //
                                              "'Label4'", "#1055#1088' Fiel'", "''"});
  // Same file name in another folder: it must get its own table, not the first one's.
  const std::string b = Form("two/Main.dfm", {"'KeyB'", "'Teh'", "''"});
  const std::string c = Form("c.dfm", {"'Button1'", "'Close'", "'Fiel'"});
  const std::string d = Form("d.dfm", {"'Button1'", "'Fiel'", "''"});
  const std::string cBefore = platform::ReadFile(c), dBefore = platform::ReadFile(d);
  Catalogue({a, b, c, d}, {true, true, true, false});

  spelling_.BtnSpellClick(list_);
  // Characters the language's code page lacks: left alone rather than checked with losses.
  EXPECT_THAT(Decoded(a), ElementsAre("KeyA", "&File", "Fiel", "Label1", "it's time", "", "Label2", "Hello\r\nworld", "",
                                      "Label3", "File \u20AC", "", "Label4", "\u041F\u0440 Fiel", ""));
  EXPECT_EQ(list_.Entry(0).Lines.Strings(1), "&File");
  EXPECT_THAT(platform::ReadFile(b), HasSubstr("'KeyB'"));
  EXPECT_THAT(platform::ReadFile(b), HasSubstr("'The'"));
  EXPECT_EQ(platform::ReadFile(c), cBefore);
  EXPECT_EQ(platform::ReadFile(d), dBefore);
  EXPECT_EQ(Only(ports::mtInformation), "Spell checking completed, 3 forms checked, 2 forms updated.");
}

TEST_F(ProjectSpellRun, CancelSavesTheCurrentFormAndStopsWithTheAbortedSummary) {
  const std::string a = Form("a.dfm", {"'B1'", "'Fiel'", "''", "'B2'", "'Wrold'", "''", "'B3'", "'Teh'", "''"});
  const std::string b = Form("b.dfm", {"'B1'", "'Fiel'", "''"});
  const std::string bBefore = platform::ReadFile(b);
  Catalogue({a, b}, {true, true});

  spelling_.BtnSpellClick(list_);
  EXPECT_THAT(platform::ReadFile(a), HasSubstr("'File'"));
  EXPECT_THAT(platform::ReadFile(a), HasSubstr("'Teh'"));
  EXPECT_EQ(platform::ReadFile(b), bBefore);
  EXPECT_EQ(Only(ports::mtWarning), "Spell checking aborted, 1 forms checked, 1 forms updated.");
  EXPECT_FALSE(spelling_.SpellChecker2.IsOpen());
}

TEST_F(ProjectSpellRun, FormThatCannotBeSavedAbortsTheRun) {
  const std::string a = Form("a.dfm", {"'B1'", "'Fiel'", "''"});
  const std::string b = Form("b.dfm", {"'B1'", "'Teh'", "''"});
  Catalogue({a, b}, {true, true});
  platform::WriteFileAtomic(a, "damaged");
  ports_.queueAnswer(ports::mrAbort);  // the rewrite's own report
  ports_.queueAnswer(ports::mrAbort);

  spelling_.BtnSpellClick(list_);
  const auto& m = ports_.messages();
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[1].text, "The spell-checked document " + a + " could not be saved.\rAborting spell check.");
  EXPECT_TRUE(m[1].type == ports::mtError && m[1].buttons == ports::ButtonSet{ports::mbAbort});
  EXPECT_EQ(m[2].text, "Spell checking aborted, 1 forms checked, 1 forms updated.");
  EXPECT_THAT(platform::ReadFile(b), HasSubstr("'Teh'"));
}

// A form without a component, or an engine error: the run ends with the error, no summary, and
// what was corrected before stays saved.
TEST_F(ProjectSpellRun, FailedPreconditionOrEngineErrorEndsTheRun) {
  const std::string a = Form("a.dfm", {"'B1'", "'Fiel'", "'Fiel'"});
  const std::string none = Form("none.dfm", {});
  const std::string b = Form("b.dfm", {"'B1'", "'Teh'", "''"});
  Catalogue({a, none, b}, {true, true, true});
  spelling_.BtnSpellClick(list_);
  EXPECT_THAT(platform::ReadFile(a), HasSubstr("'File'"));
  EXPECT_THAT(platform::ReadFile(b), HasSubstr("'Teh'"));
  EXPECT_THAT(Only(ports::mtError), HasSubstr(none));

  ports_.clear();
  BreakSpeller(1036);
  LanguageIds().Clear();
  Ids({"1033", "1036"});
  list_.SetSelected(0, false);
  list_.SetSelected(1, false);
  spelling_.BtnSpellClick(list_);  // b's first language is corrected before the second fails
  EXPECT_THAT(platform::ReadFile(b), HasSubstr("'The'"));
  Only(ports::mtError);
  EXPECT_FALSE(spelling_.SpellChecker2.IsOpen());
}

}  // namespace
}  // namespace vorlect::vle::test
