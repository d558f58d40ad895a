// The translation checks: the text rules, the checker on hand-made and on loaded forms (Latin,
// Cyrillic, Greek and Japanese texts), rechecking single cells, and the reports.
#include "host/framework/Streaming.h"
#include "host/ports/FreeTypeText.h"
#include "runtime/VLCore.h"
#include "support/FormText.h"
#include "vle/checks/Checks.h"
#include "vle/checks/FormModels.h"
#include "vle/checks/Reports.h"
#include "vle/checks/TextRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorlect::vle::checks {
namespace {

// Japanese (code page 932), Cyrillic (1251) and Greek (1253) texts as their code pages hold them.
const std::string kJaFile = "\x83t\x83@\x83" "C\x83\x8B(&F)";      // ファイル(&F)
const std::string kJaEdit = "\x95\xD2\x8F" "W(&E)";                // 編集(&E)
const std::string kJaView = "\x95\\\x8E\xA6(&E)";                  // 表示(&E)
const std::string kJaSaveQ = "\x95\xDB\x91\xB6\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81" "H";  // 保存しますか？
const std::string kJaDone = "\x8A\xAE\x97\xB9\x81" "B";            // 完了。
const std::string kRuFile = "&\xD4\xE0\xE9\xEB";                   // &Файл
const std::string kRuFiles = "&\xF4\xE0\xE9\xEB\xFB";              // &файлы
const std::string kRuSaveQ = "\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC?";  // Сохранить?
const std::string kElFile = "&\xC1\xF1\xF7\xE5\xDF\xEF";           // &Αρχείο
const std::string kElSave = "&\xE1\xF0\xEF\xE8\xDE\xEA\xE5\xF5\xF3\xE7";  // &αποθήκευση
const std::string kElSaveQ = "\xC1\xF0\xEF\xE8\xDE\xEA\xE5\xF5\xF3\xE7;";  // Αποθήκευση; (a Greek question)

std::vector<CheckId> Ids(const std::vector<Finding>& findings) {
  std::vector<CheckId> ids;
  for (const Finding& f : findings) ids.push_back(f.check);
  return ids;
}

// Fixed metrics: six pixels a byte at a character height of 11 pixels.
class FixedMeasure : public ports::TextMeasurePort {
public:
  ports::TextExtent MeasureText(std::string_view text, const ports::FontSpec& font) override {
    ++calls;
    return ports::FixedTextExtent(text, font);
  }
  int calls = 0;
};

ports::FontSpec Font(std::uint8_t charset) {
  ports::FontSpec f;
  f.name = "MS Sans Serif";
  f.height = -11;
  f.charset = charset;
  return f;
}

// Languages: 0 English, 1 German, 2 Russian, 3 Greek, 4 Japanese.
FormModel Model() {
  FormModel m;
  m.name = "MainForm";
  m.languages = 5;
  m.fonts = {Font(0), Font(0), Font(204), Font(161), Font(128)};
  return m;
}

Row MakeRow(std::string key, int row, std::vector<std::string> texts, int group = -1) {
  Row r;
  r.key = std::move(key);
  r.row = row;
  r.texts = std::move(texts);
  r.clashGroup = group;
  return r;
}

// ---- Text rules -------------------------------------------------------------------------------------

TEST(TextRules, FormatArgumentsAndLiterals) {
  auto p = Placeholders("%d of %5.2f%% done by %-8s, %0:s and %1 (50 % off, %*d)");
  ASSERT_EQ(p.size(), 6u);
  EXPECT_EQ(p[0].spelling, "%d");
  EXPECT_EQ(p[1].spelling, "%5.2f");
  EXPECT_EQ(p[1].kind, 'f');
  EXPECT_EQ(p[2].spelling, "%-8s");
  EXPECT_EQ(p[3].index, 0);
  EXPECT_EQ(p[3].kind, 's');
  EXPECT_EQ(p[4].index, 1);
  EXPECT_EQ(p[4].kind, '#');
  EXPECT_EQ(p[5].spelling, "%*d");
  EXPECT_TRUE(Placeholders("100%% sure, 100%").empty());
}

TEST(TextRules, IndexedArgumentsMayMovePlainOnesMayNot) {
  EXPECT_EQ(ComparePlaceholders(Placeholders("%0:s copied to %1:s"), Placeholders("nach %1:s kopiert: %0:s")), "");
  EXPECT_EQ(ComparePlaceholders(Placeholders("%1 of %2"), Placeholders("%2 / %1")), "");
  EXPECT_NE(ComparePlaceholders(Placeholders("%s: %d"), Placeholders("%d: %s")), "");
  EXPECT_NE(ComparePlaceholders(Placeholders("%d files"), Placeholders("Dateien")), "");
  EXPECT_NE(ComparePlaceholders(Placeholders("%d files"), Placeholders("%s Dateien")), "");
  EXPECT_NE(ComparePlaceholders(Placeholders("%0:s"), Placeholders("%0:d")), "");
  // A literal percent sign is no argument on either side.
  EXPECT_EQ(ComparePlaceholders(Placeholders("%d%% done"), Placeholders("%d %% fertig")), "");
  EXPECT_NE(ComparePlaceholders(Placeholders("%d%% done"), Placeholders("%d%d fertig")), "");
}

TEST(TextRules, AcceleratorMarkersFollowTheSpellCheckerRule) {
  EXPECT_EQ(AcceleratorMarkers("&File"), std::vector<int>{1});
  EXPECT_TRUE(AcceleratorMarkers("Fish && Chips").empty());
  EXPECT_TRUE(AcceleratorMarkers("Trailing&").empty());
  EXPECT_EQ(AcceleratorMarkers("&Save && E&xit"), (std::vector<int>{1, 11}));
  EXPECT_EQ(WithoutAccelerator("&Save && Exit"), "Save & Exit");
  // The marked letter without regard to case, in the language's code page.
  EXPECT_EQ(MarkedCharacter("E&xit", 2, 1252), U'x');
  EXPECT_EQ(MarkedCharacter(kRuFile, 1, 1251), MarkedCharacter(kRuFiles, 1, 1251));
  EXPECT_EQ(MarkedCharacter(kRuFile, 1, 1251), U'ф');
  EXPECT_EQ(MarkedCharacter(kElFile, 1, 1253), U'α');
  EXPECT_EQ(MarkedCharacter(kElSave, 1, 1253), U'α');
}

TEST(TextRules, EndingPunctuationAcrossScripts) {
  EXPECT_EQ(EndingOf("Save.", 1252), Ending::FullStop);
  EXPECT_EQ(EndingOf("Open... ", 1252), Ending::Ellipsis);
  EXPECT_EQ(EndingOf("\xD6" "ffnen\x85", 1252), Ending::Ellipsis);  // the ellipsis character
  EXPECT_EQ(EndingOf("Name:", 1252), Ending::Colon);
  EXPECT_EQ(EndingOf(kRuSaveQ, 1251), Ending::Question);
  EXPECT_EQ(EndingOf(kElSaveQ, 1253), Ending::Question);
  EXPECT_EQ(EndingOf("a;", 1252), Ending::None);
  EXPECT_EQ(EndingOf(kJaSaveQ, 932), Ending::Question);  // full-width question mark
  EXPECT_EQ(EndingOf(kJaDone, 932), Ending::FullStop);   // ideographic full stop
  EXPECT_EQ(EndingOf(kJaFile, 932), Ending::None);
}

TEST(TextRules, BlanksAndLetters) {
  EXPECT_EQ(BlanksOf("  two\r\nlines\n "), (Blanks{2, 1, 2}));
  EXPECT_EQ(BlanksOf("   "), (Blanks{3, 0, 0}));
  EXPECT_TRUE(HasLetter(kJaDone, 932));
  EXPECT_TRUE(HasLetter(kRuSaveQ, 1251));
  EXPECT_FALSE(HasLetter("1.0 - 2.0 %", 1252));
  EXPECT_FALSE(HasLetter("\x85", 1252));
  EXPECT_FALSE(HasLetter("\x81" "B\x81" "H", 932));  // "。？": the second bytes are no Latin letters
}

// ---- The checker ------------------------------------------------------------------------------------

TEST(Checker, EachCheckOnItsCell) {
  FormModel m = Model();
  m.rows.push_back(MakeRow("LblCount", 0, {"%d files copied.", "%d Dateien kopiert", "%s \xD4\xE0\xE9\xEB\xEE\xE2.", "", "%d"}));
  m.rows.push_back(MakeRow("BtnSave", 0, {"&Save", "Speichern", "&Save", "&&" + kElSave + " &x", kJaFile}));
  m.rows.push_back(MakeRow("LblName", 0, {"Name:", " Name:", "\xC8\xEC\xFF:\r\n", "OK", "OK"}));
  m.rows.push_back(MakeRow("Version", 0, {"1.0", "1.0", "", "", ""}));
  Checker c;
  c.AddForm(m);
  // German: the full stop is missing; Russian: %s for %d; Greek: empty; Japanese: no full stop.
  EXPECT_EQ(Ids(c.Findings(0, 0, 1)), std::vector<CheckId>{CheckId::Punctuation});
  EXPECT_EQ(Ids(c.Findings(0, 0, 2)), std::vector<CheckId>{CheckId::Placeholder});
  EXPECT_EQ(Ids(c.Findings(0, 0, 3)), std::vector<CheckId>{CheckId::Empty});
  EXPECT_EQ(Ids(c.Findings(0, 0, 4)), std::vector<CheckId>{CheckId::Punctuation});
  // Accelerators: missing, same as source, two markers, Japanese "(&F)" is a marker.
  EXPECT_EQ(Ids(c.Findings(0, 1, 1)), std::vector<CheckId>{CheckId::AcceleratorMissing});
  EXPECT_EQ(Ids(c.Findings(0, 1, 2)), std::vector<CheckId>{CheckId::SameAsSource});
  EXPECT_EQ(Ids(c.Findings(0, 1, 3)), std::vector<CheckId>{CheckId::AcceleratorDouble});
  EXPECT_TRUE(c.Findings(0, 1, 4).empty());
  // Blanks and line breaks; a text without a marker and without punctuation.
  EXPECT_EQ(Ids(c.Findings(0, 2, 1)), std::vector<CheckId>{CheckId::Whitespace});
  EXPECT_EQ(Ids(c.Findings(0, 2, 2)), std::vector<CheckId>{CheckId::Whitespace});
  EXPECT_EQ(Ids(c.Findings(0, 2, 3)), std::vector<CheckId>{CheckId::Punctuation});
  // A text without letters may stay as it is.
  EXPECT_TRUE(c.Findings(0, 3, 1).empty());
  EXPECT_EQ(Ids(c.Findings(0, 3, 2)), std::vector<CheckId>{CheckId::Empty});
  EXPECT_NE(c.Findings(0, 0, 2)[0].message.find("%s where language 0 has %d"), std::string::npos);
}

TEST(Checker, EveryProblemOfACellIsKept) {
  FormModel m = Model();
  m.rows.push_back(MakeRow("MnuOpen", 0, {"&Open %s...", "%d \xD6" "ffnen ", "", "", ""}));
  Checker c;
  c.AddForm(m);
  EXPECT_EQ(Ids(c.Findings(0, 0, 1)), (std::vector<CheckId>{CheckId::Placeholder, CheckId::AcceleratorMissing,
                                                             CheckId::Punctuation, CheckId::Whitespace}));
}

TEST(Checker, AcceleratorClashesWithinOneMenuInEachLanguage) {
  FormModel m = Model();
  // Group 0: the items of the File menu; group 1: another menu with the same letters.
  m.rows.push_back(MakeRow("MnuFile", 0, {"&File", "&Datei", kRuFile, kElFile, kJaFile}, 0));
  m.rows.push_back(MakeRow("MnuFind", 0, {"F&ind", "&Drucken", kRuFiles, kElSave, kJaEdit}, 0));
  m.rows.push_back(MakeRow("MnuEdit", 0, {"&Edit", "&Bearbeiten", "\xCF&\xF0\xE0\xE2\xEA\xE0", "&Edit", kJaView}, 0));
  m.rows.push_back(MakeRow("MnuDraw", 0, {"&Draw", "&Dessin", "", "", ""}, 1));
  Checker c;
  c.AddForm(m);
  EXPECT_TRUE(c.Findings(0, 0, 0).empty());
  // German: D twice in one menu, not with the other menu's D.
  EXPECT_EQ(Ids(c.Findings(0, 0, 1)), std::vector<CheckId>{CheckId::AcceleratorClash});
  EXPECT_EQ(Ids(c.Findings(0, 1, 1)), std::vector<CheckId>{CheckId::AcceleratorClash});
  EXPECT_NE(c.Findings(0, 0, 1)[0].message.find("MnuFind"), std::string::npos);
  EXPECT_TRUE(c.Findings(0, 3, 1).empty());
  // Cyrillic and Greek: upper and lower case are one key.
  EXPECT_EQ(Ids(c.Findings(0, 1, 2)), std::vector<CheckId>{CheckId::AcceleratorClash});
  EXPECT_EQ(Ids(c.Findings(0, 1, 3)), std::vector<CheckId>{CheckId::AcceleratorClash});
  EXPECT_NE(c.Findings(0, 0, 2)[0].message.find("\"\xD0\xA4\""), std::string::npos);  // "Ф" in UTF-8
  // Japanese: "(&E)" twice.
  EXPECT_EQ(Ids(c.Findings(0, 2, 4)), std::vector<CheckId>{CheckId::AcceleratorClash});
  EXPECT_TRUE(c.Findings(0, 0, 4).empty());
}

TEST(Checker, RecheckTouchesTheCellAndItsClashGroupOnly) {
  FormModel m = Model();
  m.rows.push_back(MakeRow("MnuFile", 0, {"&File", "&Datei", "", "", ""}, 0));
  m.rows.push_back(MakeRow("MnuPrint", 0, {"&Print", "&Drucken", "", "", ""}, 0));
  m.rows.push_back(MakeRow("LblCount", 0, {"%d files", "%s Dateien", "", "", ""}));
  Checker c;
  c.AddForm(m);
  ASSERT_EQ(Ids(c.Findings(0, 1, 1)), std::vector<CheckId>{CheckId::AcceleratorClash});
  const int row = c.FindRow(0, "mnuprint", 0);
  ASSERT_EQ(row, 1);
  c.SetText(0, row, 1, "Dr&ucken");
  EXPECT_TRUE(c.Findings(0, 0, 1).empty());  // the other item's clash is gone too
  EXPECT_TRUE(c.Findings(0, 1, 1).empty());
  EXPECT_EQ(Ids(c.Findings(0, 2, 1)), std::vector<CheckId>{CheckId::Placeholder});
  c.SetText(0, 2, 1, "%d Dateien");
  EXPECT_TRUE(c.Findings(0, 2, 1).empty());
  // Changing language 0 rechecks the row's translations against it.
  c.SetText(0, 2, 0, "%s files");
  EXPECT_EQ(Ids(c.Findings(0, 2, 1)), std::vector<CheckId>{CheckId::Placeholder});
  EXPECT_EQ(c.FindRow(0, "LblCount", 1), -1);
  EXPECT_EQ(c.FindRow(0, "Nothing", 0), -1);
}

TEST(Checker, DisabledChecksAndChosenLanguages) {
  FormModel m = Model();
  m.rows.push_back(MakeRow("BtnOk", 0, {"&OK.", "OK", "", "&OK.", "&OK."}));
  CheckOptions options;
  options.Disable(CheckId::Empty);
  options.Disable(CheckId::Punctuation);
  options.languages = {1, 2};
  Checker c(nullptr, options);
  c.AddForm(m);
  EXPECT_EQ(Ids(c.Findings(0, 0, 1)), std::vector<CheckId>{CheckId::AcceleratorMissing});
  EXPECT_TRUE(c.Findings(0, 0, 2).empty());
  EXPECT_TRUE(c.Findings(0, 0, 3).empty());  // not among the languages asked for
  EXPECT_EQ(c.Count(), 1);
}

// ---- Loaded forms -----------------------------------------------------------------------------------

// A form with a panel of two buttons and a button beside it, a menu, a label of fixed size, a
// tab control and a list view; the table in three languages (English, German, Russian).
std::string SampleForm(const std::string& switchPositions, const std::vector<std::string>& positions) {
  std::string words;
  auto entry = [&](std::vector<std::string> lines) {
    for (const auto& l : lines) words += "\n      " + test::Quoted(l);
  };
  entry({"%Form%", "Orders", "Bestellungen", "\xC7\xE0\xEA\xE0\xE7\xFB"});
  entry({"BtnFind", "&Find", "&Finden", "&\xCD\xE0\xE9\xF2\xE8"});
  entry({"\".Hint", "Find orders", "Bestellungen finden", "\xCD\xE0\xE9\xF2\xE8"});
  entry({"BtnFilter", "F&ilter", "&Filtern", "&\xD4\xE8\xEB\xFC\xF2\xF0"});
  entry({"BtnClose", "&Close", "&Fertig", "&\xC7\xE0\xEA\xF0\xFB\xF2\xFC"});
  entry({"LblName", "Name:", "Kundenname:", "\xC8\xEC\xFF:"});
  entry({"Tabs", "All", "Alle", "\xC2\xF1\xE5"});
  entry({"\"", "Open", "Offene Bestellungen", "\xCE\xF2\xEA\xF0\xFB\xF2\xFB\xE5"});
  entry({"List", "Order", "Bestellnummer des Kunden", "\xC7\xE0\xEA\xE0\xE7"});
  entry({"MnuFile", "&File", "&Datei", "&\xD4\xE0\xE9\xEB"});
  entry({"MnuPrint", "&Print", "&Drucken", "&\xCF\xE5\xF7\xE0\xF2\xFC"});
  entry({"MnuOld", "&Gone", "&Weg", "&\xD3\xF8\xE5\xEB"});
  entry({"@Greeting", "Hello", "Hallo", "\xCF\xF0\xE8\xE2\xE5\xF2"});
  std::string pos;
  for (const auto& p : positions) pos += "\n      " + test::Quoted(p);
  return "object MainForm: TForm\n"
         "  Width = 400\n  Height = 300\n  Caption = 'Orders'\n"
         "  Font.Charset = DEFAULT_CHARSET\n  Font.Height = -11\n  Font.Name = 'MS Sans Serif'\n"
         "  object Panel1: TPanel\n    Width = 300\n    Height = 40\n"
         "    object BtnFind: TButton\n      Width = 75\n      Height = 25\n      Caption = '&Find'\n"
         "      Hint = 'Find orders'\n    end\n"
         "    object BtnFilter: TButton\n      Width = 75\n      Height = 25\n      Caption = 'F&ilter'\n    end\n"
         "  end\n"
         "  object BtnClose: TButton\n    Width = 75\n    Height = 25\n    Caption = '&Close'\n  end\n"
         "  object LblName: TLabel\n    Width = 60\n    Height = 13\n    AutoSize = False\n    Caption = 'Name:'\n  end\n"
         "  object Tabs: TTabControl\n    Width = 100\n    Height = 50\n" +
         test::StringsProp("Tabs", {"All", "Open"}) +
         "  end\n"
         "  object List: TListView\n    Width = 200\n    Height = 100\n    Columns = <\n      item\n"
         "        Caption = 'Order'\n        Width = 80\n      end>\n    ViewStyle = vsReport\n  end\n"
         "  object MainMenu1: TMainMenu\n    object MnuFile: TMenuItem\n      Caption = '&File'\n"
         "      object MnuPrint: TMenuItem\n        Caption = '&Print'\n      end\n    end\n  end\n"
         "  object Vorlect1: TVorlect\n    Languages = 3\n"
         "    SwitchPositions = " + switchPositions + "\n" +
         "    Words.Strings = (" + words + ")\n" +
         (positions.empty() ? std::string() : "    Positions.Strings = (" + pos + ")\n") +
         "    CharSets.Strings = (\n      'MS Sans Serif,0'\n      'MS Sans Serif,0'\n      'MS Sans Serif,204')\n"
         "  end\n"
         "end\n";
}

std::unique_ptr<host::TComponent> Load(const std::string& text) {
  runtime::RegisterClasses();
  host::ReadOptions options;
  options.fileName = "Main.dfm";
  options.designing = true;
  return host::LoadForm(text, options);
}

TEST(FormModels, RowsControlsAndGroupsOfALoadedForm) {
  auto form = Load(SampleForm("spNone", {}));
  const auto models = FormModelsOf(*form);
  ASSERT_EQ(models.size(), 1u);
  const FormModel& m = models[0];
  EXPECT_EQ(m.name, "MainForm");
  EXPECT_EQ(m.languages, 3);
  EXPECT_EQ(m.CodePage(2), 1251);
  ASSERT_EQ(m.rows.size(), 13u);
  auto at = [&](const std::string& key, int row) -> const Row& {
    auto it = std::find_if(m.rows.begin(), m.rows.end(), [&](const Row& r) { return r.key == key && r.row == row; });
    EXPECT_NE(it, m.rows.end()) << key << " " << row;
    return *it;
  };
  EXPECT_TRUE(at("BtnFind", 1).hint);
  EXPECT_EQ(at("BtnFind", 1).fit, Fit::None);
  EXPECT_EQ(at("BtnFind", 0).fit, Fit::Line);
  EXPECT_EQ(at("BtnFind", 0).clashGroup, at("BtnFilter", 0).clashGroup);    // one panel
  EXPECT_NE(at("BtnFind", 0).clashGroup, at("BtnClose", 0).clashGroup);     // the form
  EXPECT_NE(at("MnuFile", 0).clashGroup, at("MnuPrint", 0).clashGroup);     // menu bar, File menu
  EXPECT_EQ(at("LblName", 0).boxes[0].width, 60);
  EXPECT_EQ(at("Tabs", 1).boxes[0].width, 100);
  EXPECT_EQ(at("List", 0).boxes[0].width, 80);
  EXPECT_TRUE(at("MnuOld", 0).unknownKey);
  EXPECT_FALSE(at("@Greeting", 0).unknownKey);
  EXPECT_FALSE(at("%Form%", 0).unknownKey);
}

TEST(FormModels, ALabelFitsInEnglishAndIsTooWideInGermanAtItsRecordedWidth) {
  // German keeps a narrower label (50 pixels) than the 60 the form stores.
  auto form = Load(SampleForm("spControlsOnly", {"lblname,8.8.60.13,8.8.50.13,8.8.60.13"}));
  FixedMeasure measure;
  Checker c(&measure);
  c.AddForm(FormModelsOf(*form)[0]);
  const int label = c.FindRow(0, "LblName", 0);
  EXPECT_TRUE(c.Findings(0, label, 0).empty());  // "Name:" 30 pixels in 60
  ASSERT_EQ(Ids(c.Findings(0, label, 1)), std::vector<CheckId>{CheckId::TooWide});  // 66 in 50
  EXPECT_NE(c.Findings(0, label, 1)[0].message.find("66 pixels"), std::string::npos);
  EXPECT_TRUE(c.Findings(0, label, 2).empty());
  // The same German text at the stored width, positions not switched: 66 in 60.
  auto plain = Load(SampleForm("spNone", {"lblname,8.8.60.13,8.8.200.13,8.8.60.13"}));
  Checker d(&measure);
  d.AddForm(FormModelsOf(*plain)[0]);
  EXPECT_EQ(Ids(d.Findings(0, label, 1)), std::vector<CheckId>{CheckId::TooWide});
  // Tab titles against the control, column titles against their column; the accelerator
  // marker takes no room.
  EXPECT_EQ(Ids(d.Findings(0, d.FindRow(0, "Tabs", 1), 1)), std::vector<CheckId>{CheckId::TooWide});
  EXPECT_EQ(Ids(d.Findings(0, d.FindRow(0, "List", 0), 1)), std::vector<CheckId>{CheckId::TooWide});
  for (const char* button : {"BtnFind", "BtnFilter", "BtnClose"})
    for (const Finding& f : d.Findings(0, d.FindRow(0, button, 0), 1)) EXPECT_NE(f.check, CheckId::TooWide) << button;
}

TEST(FormModels, ClashesFollowTheFormsParentsAndMenus) {
  auto form = Load(SampleForm("spNone", {}));
  Checker c;
  c.AddForm(FormModelsOf(*form)[0]);
  const auto problems = c.Problems();
  std::vector<std::string> clashes, unknown;
  for (const Problem& p : problems) {
    if (p.check == CheckId::AcceleratorClash) clashes.push_back(p.key + "/" + std::to_string(p.language));
    if (p.check == CheckId::UnknownKey) unknown.push_back(p.key);
  }
  // German "&Finden" and "&Filtern" share a panel; "&Fertig" sits on the form beside it; the
  // menu bar's "&Datei" and the File menu's "&Drucken" are different menus.
  EXPECT_EQ(clashes, (std::vector<std::string>{"BtnFind/1", "BtnFilter/1"}));
  EXPECT_EQ(unknown, std::vector<std::string>{"MnuOld"});

  // Keys the editor hides are not checked.
  auto vorlect = dynamic_cast<runtime::TBaseVorlect*>(form->FindComponent("Vorlect1"));
  ASSERT_NE(vorlect, nullptr);
  vorlect->DoNot()->Add("btnfind");
  vorlect->DoNot()->Add("MnuOld");
  const FormModel hidden = FormModelsOf(*form)[0];
  EXPECT_EQ(hidden.rows.size(), 10u);
  EXPECT_TRUE(std::none_of(hidden.rows.begin(), hidden.rows.end(),
                           [](const Row& r) { return r.key == "BtnFind" || r.key == "MnuOld"; }));
}

// ---- Reports and accepted problems --------------------------------------------------------------------

TEST(Reports, FormatsAndAcceptedEntries) {
  const Problem p{"MainForm", "BtnFind", 0, 1, CheckId::Placeholder, Level::Error, "format arguments %s", 0};
  const std::vector<Reported> list = {{p, "Main.dfm"}};
  EXPECT_EQ(TextReport(list),
            "Main.dfm: MainForm.BtnFind row 0, language 1: error: format arguments %s [placeholder]\n");
  const auto json = nlohmann::json::parse(JsonReport(list));
  ASSERT_EQ(json.size(), 1u);
  EXPECT_EQ(json[0]["check"], "placeholder");
  EXPECT_EQ(json[0]["level"], "error");
  EXPECT_EQ(json[0]["row"], 0);
  EXPECT_EQ(json[0]["language"], 1);
  const auto sarif = nlohmann::json::parse(SarifReport(list, "."));
  EXPECT_EQ(sarif["version"], "2.1.0");
  EXPECT_EQ(sarif["runs"][0]["tool"]["driver"]["rules"].size(), static_cast<size_t>(kCheckCount));
  EXPECT_EQ(sarif["runs"][0]["results"][0]["ruleId"], "placeholder");
  EXPECT_EQ(sarif["runs"][0]["results"][0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "Main.dfm");

  std::vector<std::string> notes;
  auto section = nlohmann::ordered_json::parse(
      R"([{"form":"mainform","key":"BTNFIND","language":1,"check":"placeholder"},{"form":1},"x"])");
  const Accepted accepted = Accepted::FromSection(section, &notes);
  EXPECT_EQ(accepted.Size(), 1u);
  EXPECT_EQ(notes.size(), 2u);
  EXPECT_TRUE(accepted.Covers(p));
  Problem other = p;
  other.language = 2;
  EXPECT_FALSE(accepted.Covers(other));
  Accepted more = accepted;
  EXPECT_FALSE(more.Add(p));
  EXPECT_TRUE(more.Add(other));
  EXPECT_EQ(more.ToSection().size(), 2u);
}

// ---- Measuring in installed fonts ---------------------------------------------------------------------

TEST(FreeTypeTextMeasure, WidthsFollowTheGlyphsAndScripts) {
  ports::FreeTypeTextMeasure measure;
  ports::FontSpec font = Font(0);
  if (measure.FaceName(font).empty()) GTEST_SKIP() << "no font is installed";
  const auto narrow = measure.MeasureText("iiii", font), wide = measure.MeasureText("WWWW", font);
  EXPECT_GT(wide.width, narrow.width);
  EXPECT_GT(narrow.width, 0);
  EXPECT_EQ(measure.MeasureText("W\r\nW", font).height, 2 * measure.MeasureText("W", font).height);
  font.height = -22;
  EXPECT_GT(measure.MeasureText("WWWW", font).width, wide.width * 3 / 2);
  // Cyrillic in its code page; Japanese is measured also where no installed face has it.
  EXPECT_GT(measure.MeasureText("\xC3\xEE\xF2\xEE\xE2\xEE", Font(204)).width, 20);
  EXPECT_GE(measure.MeasureText(kJaDone, Font(128)).width, 3 * 11 - 6);
}

}  // namespace
}  // namespace vorlect::vle::checks
