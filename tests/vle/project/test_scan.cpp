#include "ProjectTestUtil.h"

#include "host/formfile/FormFile.h"
#include "platform/CodePages.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/FormLines.h"
#include "vle/project/Notation.h"
#include "vle/project/ProjectForms.h"
#include "vle/project/VLEMain.h"

namespace vorlect::vle::test {
namespace {

std::vector<std::string> Items(const host::TStrings& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
  return v;
}

std::vector<std::string> ScanLines(const std::string& text, TEntry& e) {
  ScanFormText(text, e);
  return Items(e.Lines);
}

// The value a quoted item reads as, through the form-file parser itself.
std::string ValueOf(const std::string& quotedItem) {
  const std::string text = "object F: TF\r\n  S = " + quotedItem + "\r\nend\r\n";
  const formfile::Object root = formfile::ReadText(text);
  const formfile::Value& v = root.properties.at(0).value;
  return v.isWideString() ? platform::Utf16ToUtf8(v.unicodeText()) : v.bytes;
}

TEST(Scan, FormWithoutComponentShowsItsClassAndNoFigures) {
  TEntry e;
  EXPECT_EQ(ScanFormText(FormText("  object Button1: TButton\r\n  end\r\n"), e), 0);
  EXPECT_EQ(e.FormClassName, "TForm1");
  EXPECT_EQ(e.LanguagesCell(), "0");
  EXPECT_EQ(e.DoneCell(), "-");
  EXPECT_EQ(ScanFormText("inherited Dlg2: TDlg2 [3]\nend\n", e), 0);
  EXPECT_EQ(e.FormClassName, "TDlg2");
}

TEST(Scan, ItemsKeepTheirWholeValueAndReadBackTheSame) {
  const std::vector<std::string> items = {"'%Form%'", "#13'abc'", "'abc'#13#10", "#1055#1088", "''",
                                          "'it''s (fine)'", "'a'#39'b'", "'x'''"};
  TEntry e;
  const auto lines = ScanLines(FormText(VorlectBlock("Vorlect1", 1, items)), e);
  ASSERT_EQ(lines.size(), items.size());
  EXPECT_EQ(lines[0], "%Form%");
  EXPECT_EQ(lines[1], "'#13'abc");
  EXPECT_EQ(lines[2], "abc'#13#10'");
  EXPECT_EQ(lines[5], "it''s (fine)");  // a ")" inside a text does not end the list
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(ValueOf("'" + lines[i] + "'"), ValueOf(items[i])) << items[i];
  EXPECT_EQ(e.DoneCell(), "87%");  // 7 of 8 lines hold text
}

TEST(Scan, SplitItemBecomesOneLine) {
  const std::string block = "  object V: TVorlect\n    Languages = 1\n    Words.Strings = (\n      'key'\n"
                            "      'first part ' +\n      #13#10 +\n      'last part')\n  end\n";
  TEntry e;
  EXPECT_EQ(ScanLines(FormText(block, "\n"), e), (std::vector<std::string>{"key", "first part '#13#10'last part"}));
  EXPECT_EQ(ValueOf("'" + e.Lines.Strings(1) + "'"), "first part \r\nlast part");
}

TEST(Scan, SecondComponentIsFoundAfterAnEmptyTable) {
  TEntry e;
  const std::string text = FormText(VorlectBlock("Empty", 3, {}) + "  object Label1: TLabel\r\n  end\r\n" +
                                    VorlectBlock("Small", 1, {"'K'", "'T'"}, "\r\n"));
  EXPECT_EQ(ScanFormText(text, e), 2);
  EXPECT_EQ(e.LanguageCount, 1);
  EXPECT_EQ(Items(e.Lines), (std::vector<std::string>{"K", "T"}));
}

// The editor's other lists are found where they are, and never taken for the table.
TEST(Scan, OtherListsAreFoundApartFromTheTable) {
  const std::string block =
      "  object V: TVorlect\r\n    CharSets.Strings = (\r\n      'Arial,0')\r\n    Languages = 1\r\n"
      "    Words.Strings = (\r\n      'k'\r\n      't')\r\n    DoNot.Strings = ('k')\r\n    ActiveLanguage = x\r\n"
      "    Positions.Strings = ()\r\n  end\r\n";
  const std::string text = FormText(block);
  TEntry e;
  EXPECT_EQ(ScanLines(text, e), (std::vector<std::string>{"k", "t"}));
  const auto lines = formlines::SplitLines(text);
  const formlines::FormScan scan = formlines::ScanLines(text, lines);
  ASSERT_EQ(scan.blocks.size(), 1u);
  const formlines::VorlectBlock& b = scan.blocks[0];
  using P = formlines::VorlectProperty;
  EXPECT_EQ(b.Line(P::CharSets), 4);
  EXPECT_EQ(b.LastLine(P::CharSets), 5);
  EXPECT_EQ(b.charSets.items.at(0).notation, "Arial,0");
  EXPECT_EQ(b.LastLine(P::Words), 9);
  EXPECT_TRUE(b.doNot.unusualLayout);
  EXPECT_EQ(b.doNot.items.at(0).notation, "k");
  EXPECT_EQ(b.activeLanguage, -1) << "not a number";
  EXPECT_EQ(b.Line(P::Positions), 12);
  EXPECT_EQ(b.LastLine(P::Positions), 12);
  EXPECT_TRUE(b.positions.items.empty());
  EXPECT_EQ(b.Line(P::SwitchPositions), -1);
  EXPECT_EQ(b.end, 13);
}

TEST(Scan, LanguageCountDefaultsAndOddValues) {
  TEntry e;
  ScanFormText(FormText("  object V: TSmallVorlect\r\n    Words.Strings = (\r\n      'k'\r\n      'a'\r\n      'b')\r\n  end\r\n"), e);
  EXPECT_EQ(e.LanguageCount, 2);  // not stored: the component's default
  ScanFormText(FormText("  object V: TVorlect\r\n    Languages = many\r\n  end\r\n"), e);
  EXPECT_EQ(e.InstanceCount, 1);
  EXPECT_EQ(e.LanguageCount, 0);
}

TEST(Scan, DamagedTextNeverCrashes) {
  TEntry e;
  for (const char* text : {"", "object", "\xEF\xBB\xBFobject F: TF\n  object V: TVorlect\n    Words.Strings = (\n      'a' +",
                           "object F: TF\n  object V: TVorlect\n    Words.Strings = ('a'\n", "x\n)\n+\n'"})
    ScanFormText(text, e);
  SUCCEED();
}

TEST(Notation, TheScanReadsWhatTheNotationWrites) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(ValueOf("'" + notation::OfBytes(all) + "'"), all);
}

TEST(ExchangePage, FileNameCheck) {
  EXPECT_TRUE(IsValidExchangeFileName("strings.csv"));
  for (const char* bad : {"", "*.csv", "a?.rc", "C:", "dir\\", "dir.\\", "  .hidden", "."})
    EXPECT_FALSE(IsValidExchangeFileName(bad)) << bad;
}

TEST(ExchangePage, ListsFormsOfCsvAndRcFiles) {
  const std::string csv = "%;C:\\proj\\Main.dfm\r\n%Form%;Main window\r\n\"%Form%\";x\r\n$,About.dfm\r\n"
                          // as a spreadsheet saves headers: quoted and padded
                          "\"%\";\"/p/Options.dfm\";;\r\n\"$\",\"/p/My \"\"Tools\"\".dfm\",,\n";
  EXPECT_EQ(*ListExchangeFileForms("X.CSV", csv),
            (std::vector<std::string>{"Main.dfm", "About.dfm", "Options.dfm", "My \"Tools\".dfm"}));
  const std::string rc = "STRINGTABLE\r\nBEGIN\r\n    1000, \"%TMainForm\"\r\n    1001, \"%Form%\"\r\n"
                         "    1100, \"$dir\\\\TAbout\"\r\nEND\r\n";
  EXPECT_EQ(*ListExchangeFileForms("s1.rc", rc), (std::vector<std::string>{"TMainForm", "TAbout"}));
  EXPECT_FALSE(ListExchangeFileForms("s.txt", "").has_value());
}

TEST(Selection, ByBraceNameClassOrFileBaseName) {
  TFPrjList list("p.dpr", {});
  for (auto [name, cls, file] : {std::tuple{"MainForm", "TMainForm", "/p/Main.dfm"},
                                 std::tuple{"AboutBox", "TAboutBox", "/p/About.dfm"},
                                 std::tuple{"Opts", "TOpts", "/p/Options.dfm"}}) {
    auto e = std::make_unique<TEntry>();
    e->FormName = name;
    e->FormClassName = cls;
    e->FormFile = file;
    list.AddRow(std::move(e));
  }
  EXPECT_EQ(SelectForms(list, SplitFormNames(" mainform, TABOUTBOX ,nothing,,")), (std::vector<std::string>{"nothing"}));
  EXPECT_TRUE(list.Selected(0));
  EXPECT_TRUE(list.Selected(1));
  EXPECT_FALSE(list.Selected(2));
  EXPECT_TRUE(SelectForms(list, {"options"}).empty());
  EXPECT_EQ(list.SelectedCount(), 1);
  SelectForms(list, {});
  EXPECT_EQ(list.SelectedCount(), 3);
  list.SelectAll();  // all selected: deselects
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_EQ(list.FindByFileName("C:\\other\\OPTIONS.DFM"), 2);
}

}  // namespace
}  // namespace vorlect::vle::test
