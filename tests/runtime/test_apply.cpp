// Capturing and applying the stock controls' texts, and the language switch around them.
#include "RuntimeTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/StdCtrls.h"
#include "runtime/VLGrid.h"

namespace vorlect::runtime::test {
namespace {

using namespace vorlect::ports;
using host::GetOrdProp;
using host::GetStrProp;

using Table = std::vector<std::string>;

const Table kStdTable = {
    "%Form%", "Order", "Bestellung",
    "Button1", "OK", "Gut",
    "\".Hint", "Close", "Schliessen",
    "Label1", "Name", "Name-DE",
    "Edit1", "", "",
    "\".Hint", "Type here", "Hier tippen",
    "Edit2", "fixed", "fest",
    "MaskEdit1", "", "",
    "\".Hint", "mask", "Maske",
    "Memo1", "l1", "z1",
    "\"", "l2", "z2",
    "ListBox1", "a", "A1",
    "\"", "b", "B1",
    "\"", "c", "C1",
    "ComboBox1", "x", "X1",
    "\"", "y", "Y1",
};

const std::string kStdControls =
    Obj("Button1", "TButton", {"Caption = 'OK'", "Hint = 'Close'"}) + Obj("Label1", "TLabel", {"Caption = 'Name'"}) +
    Obj("Edit1", "TEdit", {"Hint = 'Type here'", "Text = 'input'"}) +
    Obj("Edit2", "TEdit", {"ReadOnly = True", "Text = 'fixed'"}) +
    Obj("MaskEdit1", "TMaskEdit", {"Hint = 'mask'", "ReadOnly = True", "Text = '12'"}) +
    Obj("Memo1", "TMemo", {"Lines.Strings = ('l1' 'l2')", "ReadOnly = True"}) +
    Obj("ListBox1", "TListBox", {"Items.Strings = ('a' 'b' 'c')"}) +
    Obj("ComboBox1", "TComboBox", {"Items.Strings = ('x' 'y')", "ItemIndex = 1"});

std::string FormText(const std::string& controls, const Table& words, const std::string& extra = "",
                     int languages = 2) {
  return "object Form1: TForm1\n  Caption = 'Order'\n" + controls + "  object Vorlect1: TVorlect\n" + extra +
         "    Languages = " + std::to_string(languages) + "\n" + StringsProp("Words", words) + "  end\nend\n";
}

class ApplyTest : public RuntimeTest {
protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    REQUIRE_CLASS("TButton");
  }

  // Captures every component in language 0, fills language 1 with "DE-" and the text, switches,
  // and captures again: every text must come back translated, in the same rows.
  void RoundTrip(TComponent& form, int expectedRows) {
    TBaseVorlect* v = Vorlect(form);
    TMemoryStringGrid first(3, 1), again(3, 1);
    for (int c = 0; c < form.ComponentCount(); ++c) v->WriteComponent(form.Components(c), first.RowCount() - 1, first);
    ASSERT_EQ(first.RowCount(), expectedRows + 1);
    v->Words()->Clear();
    for (int r = 0; r < expectedRows; ++r)
      for (const std::string& line : {first.Cells(0, r), first.Cells(1, r), "DE-" + first.Cells(1, r)})
        v->Words()->Add(line);
    v->SetActiveLanguage(1);
    for (int c = 0; c < form.ComponentCount(); ++c) v->WriteComponent(form.Components(c), again.RowCount() - 1, again);
    ASSERT_EQ(again.RowCount(), first.RowCount());
    for (int r = 0; r < expectedRows; ++r) {
      EXPECT_EQ(again.Cells(0, r), first.Cells(0, r)) << r;
      EXPECT_EQ(again.Cells(2, r), "DE-" + first.Cells(1, r)) << r;
    }
  }
};

TEST_F(ApplyTest, LoadingInLanguageOneTranslatesStandardControlsAndKeepsWhatItMust) {
  GlobalLang = 1;
  auto form = Load(FormText(kStdControls, kStdTable));
  EXPECT_EQ(Vorlect(*form)->ActiveLanguage(), 1);
  EXPECT_EQ(GetStrProp(*form, "Caption"), "Bestellung");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Gut");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "Schliessen");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Label1"), "Caption"), "Name-DE");
  // teReadOnly: a writable edit keeps its text, only its hint follows.
  EXPECT_EQ(GetStrProp(*form->FindComponent("Edit1"), "Text"), "input");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Edit1"), "Hint"), "Hier tippen");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Edit2"), "Text"), "fest");
  // A masked edit's text is never translated.
  EXPECT_EQ(GetStrProp(*form->FindComponent("MaskEdit1"), "Text"), "12");
  EXPECT_EQ(GetStrProp(*form->FindComponent("MaskEdit1"), "Hint"), "Maske");
  EXPECT_EQ(Lines(*Find<host::TCustomMemo>(*form, "Memo1")->Lines()), (Table{"z1", "z2"}));
  EXPECT_EQ(Lines(*Find<host::TListBox>(*form, "ListBox1")->Items()), (Table{"A1", "B1", "C1"}));
  auto* combo = Find<host::TComboBox>(*form, "ComboBox1");
  EXPECT_EQ(Lines(*combo->Items()), (Table{"X1", "Y1"}));
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_TRUE(ports_.messages().empty());
}

TEST_F(ApplyTest, CapturingWritesTheTableThatApplyingReads) {
  auto form = Load(FormText(kStdControls, {}));
  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  for (int c = 0; c < form->ComponentCount(); ++c) v->WriteComponent(form->Components(c), grid.RowCount() - 1, grid);
  Table captured;
  for (int r = 0; r + 1 < grid.RowCount(); ++r) {
    captured.push_back(grid.Cells(0, r));
    captured.push_back(grid.Cells(1, r));
    captured.push_back(grid.Cells(2, r));
  }
  Table expected(kStdTable.begin() + 3, kStdTable.end());
  for (std::size_t i = 2; i < expected.size(); i += 3) expected[i].clear();
  EXPECT_EQ(captured, expected);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(grid.Cells(c, grid.RowCount() - 1), "");
}

TEST_F(ApplyTest, CapturingAButtonInLanguageOneFromRowFive) {
  auto form = Load(FormText(kStdControls, {"Id", "a", "b"}));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(1);
  TMemoryStringGrid grid(3, 6);
  for (int c = 0; c < 3; ++c) grid.SetCells(c, 5, "junk");
  v->WriteComponent(form->FindComponent("Button1"), 5, grid);
  ASSERT_EQ(grid.RowCount(), 8);
  EXPECT_EQ((Table{grid.Cells(0, 5), grid.Cells(1, 5), grid.Cells(2, 5)}), (Table{"Button1", "junk", "OK"}));
  EXPECT_EQ((Table{grid.Cells(0, 6), grid.Cells(1, 6), grid.Cells(2, 6)}), (Table{"\".Hint", "", "Close"}));
  EXPECT_EQ((Table{grid.Cells(0, 7), grid.Cells(1, 7), grid.Cells(2, 7)}), (Table{"", "", ""}));
}

TEST_F(ApplyTest, ListRuleBlanksItemsWithoutEntriesAndTheWalkPassesSurplusEntries) {
  const std::string controls = Obj("ListBox1", "TListBox", {"Items.Strings = ('a' 'b' 'c')"}) +
                               Obj("ListBox2", "TListBox", {"Items.Strings = ('only')"}) +
                               Obj("Button1", "TButton", {"Caption = 'OK'"});
  GlobalLang = 1;
  auto form = Load(FormText(controls, {"ListBox1", "a", "A1", "\"", "b", "B1",
                                       "ListBox2", "p", "P1", "\"", "q", "Q1", "\"", "r", "R1",
                                       "Button1", "OK", "Gut"}));
  EXPECT_EQ(Lines(*Find<host::TListBox>(*form, "ListBox1")->Items()), (Table{"A1", "B1", ""}));
  EXPECT_EQ(Lines(*Find<host::TListBox>(*form, "ListBox2")->Items()), (Table{"P1"}));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Gut");
}

TEST_F(ApplyTest, EmptyTextBlanksCaptionButNotHintUnlessTheDefaultLanguageFillsIn) {
  const std::string controls = Obj("Button1", "TButton", {"Caption = 'OK'", "Hint = 'Close'"});
  const Table words = {"%Form%", "Order", "", "Button1", "OK", "", "\".Hint", "Close", ""};
  GlobalLang = 1;
  auto form = Load(FormText(controls, words));
  EXPECT_EQ(GetStrProp(*form, "Caption"), "");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "Close");

  host::SetStrProp(*form->FindComponent("Button1"), "Hint", "changed");
  Vorlect(*form)->SetDefaultEnabled(true);
  EXPECT_EQ(GetStrProp(*form, "Caption"), "Order");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "OK");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "Close");
}

TEST_F(ApplyTest, EventsVetoAndReportTheSwitch) {
  auto form = Load(FormText("  object Button1: TButton\n    Caption = 'OK'\n  end\n",
                            {"%Form%", "Order", "Bestellung", "Button1", "OK", "Gut"}));
  TBaseVorlect* v = Vorlect(*form);
  std::vector<std::string> log;
  bool allow = false;
  v->BeforeLanguageChange = [&](TObject* sender, std::uint8_t lang, bool& allowIt) {
    EXPECT_EQ(sender, v);
    log.push_back("before " + std::to_string(lang));
    allowIt = allow;
  };
  v->AfterLanguageChanged = [&](TObject*, std::uint8_t lang) { log.push_back("after " + std::to_string(lang)); };
  v->SetActiveLanguage(1);
  EXPECT_EQ(log, (Table{"before 1"}));
  EXPECT_EQ(v->ActiveLanguage(), 0);
  EXPECT_EQ(GetStrProp(*form, "Caption"), "Order");

  allow = true;
  v->SetActiveLanguage(1);
  host::SetStrProp(*form->FindComponent("Button1"), "Caption", "edited");
  v->SetActiveLanguage(1);  // the same language applies everything again
  EXPECT_EQ(log, (Table{"before 1", "before 1", "after 1", "before 1", "after 1"}));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Gut");

  ports_.queueAnswer(mrCancel);
  v->SetActiveLanguage(2);
  EXPECT_EQ(ports_.messages().back().text, kMsgValueTooHigh);
  EXPECT_EQ(log.size(), 5u);
}

TEST_F(ApplyTest, EntriesOfMissingComponentsAndCaptionlessOwnersArePassedOver) {
  GlobalLang = 1;
  auto form = Load(FormText("  object Button1: TButton\n    Caption = 'OK'\n  end\n",
                            {"Gone", "x", "X", "\"", "y", "Y", "Button1", "OK", "Gut"}));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Gut");

  auto module = Load("object DataModule1: TDataModule1\n  object Vorlect1: TVorlect\n    Languages = 2\n" +
                     StringsProp("Words", {"%Form%", "a", "b", "Id", "x", "y"}) + "  end\nend\n");
  EXPECT_FALSE(PropertyExists(module.get(), "Caption"));
  EXPECT_EQ(Vorlect(*module)->GetText("id"), "y");
}

TEST_F(ApplyTest, GlobalSwitchPassesOverFormsWithFewerLanguages) {
  auto two = Load(FormText("", {"%Form%", "Two", "Zwei"}));
  auto three = Load(FormText("", {"%Form%", "Three", "Drei", "Trois"}, "", 3));
  Global_Set_ActiveLanguage(2);
  EXPECT_EQ(GlobalLang, 2);
  EXPECT_EQ(Vorlect(*two)->ActiveLanguage(), 0);
  EXPECT_EQ(GetStrProp(*three, "Caption"), "Trois");
  EXPECT_TRUE(ports_.messages().empty());

  ports_.queueAnswer(mrCancel);
  auto later = Load(FormText("", {"%Form%", "Two", "Zwei"}));
  ASSERT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(ports_.messages()[0].text, kMsgValueTooHigh);
  EXPECT_EQ(Vorlect(*later)->ActiveLanguage(), 0);
  EXPECT_EQ(GetStrProp(*later, "Caption"), "Order");
  // The designer never takes it.
  Global_Set_ActiveLanguage(1);
  EXPECT_EQ(Vorlect(*Load(FormText("", {"%Form%", "Order", "Bestellung"}), true))->ActiveLanguage(), 0);
}

TEST_F(ApplyTest, MalformedTablesNeverReadPastTheEnd) {
  const std::string controls = Obj("ListBox1", "TListBox", {"Items.Strings = ('a' 'b')"}) +
                               Obj("Button1", "TButton", {"Caption = 'OK'", "Hint = 'h'"});
  const std::vector<Table> tables = {
      {"Button1", "OK"},                                     // incomplete last entry
      {"ListBox1", "a", "A1", "\"", "b"},                    // list ends inside an entry
      {"Button1", "OK", "Gut", "\".Hint", "h"},              // hint without its text
      {"%Form%", "x"},
      {"\"", "\"", "\"", "\""},
      {"ListBox1"},
  };
  for (const Table& words : tables) {
    for (int lang : {0, 1}) {
      GlobalLang = static_cast<std::uint8_t>(lang);
      auto form = Load(FormText(controls, words));
      TBaseVorlect* v = Vorlect(*form);
      v->SetActiveLanguage(static_cast<std::uint8_t>(1 - lang));
      v->SetActiveLanguage(static_cast<std::uint8_t>(lang));
      EXPECT_EQ(v->Words()->Count(), static_cast<int>(words.size()));
    }
  }
  GlobalLang = 1;
  auto form = Load(FormText(controls, {"Button1", "OK", "Gut", "\".Hint", "h"}));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Gut");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "h");
}

TEST_F(ApplyTest, TranslateEditsDecidesForEditControls) {
  const std::string controls = Obj("Edit1", "TEdit", {"Text = 'input'"});
  const Table words = {"Edit1", "input", "Eingabe"};
  GlobalLang = 1;
  auto always = Load(FormText(controls, words, "    TranslateEdits = teAlways\n"));
  EXPECT_EQ(GetStrProp(*always->FindComponent("Edit1"), "Text"), "Eingabe");
  auto never = Load(FormText("  object Edit1: TEdit\n    ReadOnly = True\n    Text = 'input'\n  end\n", words,
                             "    TranslateEdits = teNever\n"));
  EXPECT_EQ(GetStrProp(*never->FindComponent("Edit1"), "Text"), "input");
  TMemoryStringGrid grid(3, 1);
  Vorlect(*never)->WriteComponent(never->FindComponent("Edit1"), 0, grid);
  EXPECT_EQ(grid.RowCount(), 1);
}

// ---- the common controls ---------------------------------------------------------------------

TEST_F(ApplyTest, StatusBarTabControlAndAHeaderControlEndingTheTable) {
  REQUIRE_CLASS("TStatusBar");
  REQUIRE_CLASS("THeaderControl");
  REQUIRE_CLASS("TTabControl");
  const std::string controls =
      Obj("StatusBar1", "TStatusBar", {"Panels = <item Text = 'p1' end item Text = 'p2' end>", "SimpleText = 'simple'"}) +
      Obj("TabControl1", "TTabControl", {"Tabs.Strings = ('t1' 't2')"}) +
      Obj("HeaderControl1", "THeaderControl", {"Sections = <item Text = 's1' end item Text = 's2' end item Text = 's3' end>"});
  Table words = {"StatusBar1", "simple", "einfach", "\"", "p1", "P1", "\"", "p2", "P2",
                 "TabControl1", "t1", "T1", "\"", "t2", "T2",
                 "HeaderControl1", "s1", "S1", "\"", "s2", "S2", "\"", "s3", "S3"};
  auto form = Load(FormText(controls, words));
  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  for (int c = 0; c < form->ComponentCount(); ++c) v->WriteComponent(form->Components(c), grid.RowCount() - 1, grid);
  ASSERT_EQ(grid.RowCount(), 9);
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(grid.Cells(0, r), words[static_cast<std::size_t>(r) * 3]) << r;
    EXPECT_EQ(grid.Cells(1, r), words[static_cast<std::size_t>(r) * 3 + 1]) << r;
  }
  // The header's entries end the table half-way through its second section.
  words.resize(words.size() - 4);
  v->Words()->Clear();
  for (const std::string& line : words) v->Words()->Add(line);
  v->SetActiveLanguage(1);
  auto* bar = Find<host::TStatusBar>(*form, "StatusBar1");
  EXPECT_EQ(bar->SimpleText, "einfach");
  EXPECT_EQ(bar->Panels()->Items(0)->Text, "P1");
  EXPECT_EQ(bar->Panels()->Items(1)->Text, "P2");
  EXPECT_EQ(Lines(*Find<host::TTabControl>(*form, "TabControl1")->Tabs()), (Table{"T1", "T2"}));
  auto* header = Find<host::THeaderControl>(*form, "HeaderControl1");
  EXPECT_EQ(header->Sections()->Items(0)->Text, "S1");
  EXPECT_EQ(header->Sections()->Items(1)->Text, "s2");
  EXPECT_EQ(header->Sections()->Items(2)->Text, "s3");
}

TEST_F(ApplyTest, TreeAndListViewsWalkNodesItemsAndSubItemsWithSortingSuspended) {
  REQUIRE_CLASS("TTreeView");
  REQUIRE_CLASS("TListView");
  const std::string controls = Obj("TreeView1", "TTreeView") +
                               Obj("ListView1", "TListView", {"Columns = <item Caption = 'c1' end item Caption = 'c2' end>"});
  auto form = Load(FormText(controls, {}));
  auto* tree = Find<host::TTreeView>(*form, "TreeView1");
  tree->SortType = host::stText;
  host::TTreeNode* root = tree->Items()->Add(nullptr, "root");
  tree->Items()->AddChild(root, "child");
  tree->Items()->Add(nullptr, "second");
  auto* list = Find<host::TListView>(*form, "ListView1");
  list->SortType = host::stText;
  host::TListItem* item = list->Items()->Add();
  item->SetCaption("i1");
  item->SubItems()->Add("i1a");
  item->SubItems()->Add("i1b");
  list->Items()->Add()->SetCaption("i2");

  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  v->WriteComponent(tree, 0, grid);
  v->WriteComponent(list, grid.RowCount() - 1, grid);
  Table keys, texts;
  for (int r = 0; r + 1 < grid.RowCount(); ++r) {
    keys.push_back(grid.Cells(0, r));
    texts.push_back(grid.Cells(1, r));
  }
  EXPECT_EQ(texts, (Table{"root", "child", "second", "c1", "c2", "i1", "i1a", "i1b", "i2"}));
  EXPECT_EQ(keys, (Table{"TreeView1", "\"", "\"", "ListView1", "\"", "\"", "\"", "\"", "\""}));

  TStringList* words = v->Words();
  for (std::size_t r = 0; r < keys.size(); ++r) {
    words->Add(keys[r]);
    words->Add(texts[r]);
    words->Add(texts[r] == "i1b" ? "" : "DE-" + texts[r]);
  }
  v->SetActiveLanguage(1);
  EXPECT_EQ(tree->Items()->Item(0)->Text(), "DE-root");
  EXPECT_EQ(tree->Items()->Item(1)->Text(), "DE-child");
  EXPECT_EQ(tree->Items()->Item(2)->Text(), "DE-second");
  EXPECT_EQ(tree->SortType, host::stText);
  EXPECT_EQ(list->Columns()->Items(1)->Caption, "DE-c2");
  EXPECT_EQ(list->Items()->Item(0)->Caption(), "DE-i1");
  EXPECT_EQ(Lines(*list->Items()->Item(0)->SubItems()), (Table{"DE-i1a", ""}));
  EXPECT_EQ(list->Items()->Item(1)->Caption(), "DE-i2");
  EXPECT_EQ(list->SortType, host::stText);
}

TEST_F(ApplyTest, MenuItemsAndFileDialogs) {
  REQUIRE_CLASS("TMenuItem");
  REQUIRE_CLASS("TOpenDialog");
  const std::string controls =
      "  object MainMenu1: TMainMenu\n" + Obj("File1", "TMenuItem", {"Caption = '&File'", "Hint = 'File menu'"}) +
      "  end\n" + Obj("SaveDialog1", "TSaveDialog", {"Filter = 'Text|*.txt'", "Title = 'Save'"});
  const Table words = {"File1", "&File", "&Datei", "\".Hint", "File menu", "Dateimenue",
                       "SaveDialog1", "Save", "Speichern", "\"", "Text|*.txt", "Text|*.txt;*.text"};
  auto form = Load(FormText(controls, words));
  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  for (int c = 0; c < form->ComponentCount(); ++c) v->WriteComponent(form->Components(c), grid.RowCount() - 1, grid);
  ASSERT_EQ(grid.RowCount(), 5);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(grid.Cells(0, r), words[static_cast<std::size_t>(r) * 3]) << r;
    EXPECT_EQ(grid.Cells(1, r), words[static_cast<std::size_t>(r) * 3 + 1]) << r;
  }
  v->SetActiveLanguage(1);
  EXPECT_EQ(GetStrProp(*form->FindComponent("File1"), "Caption"), "&Datei");
  EXPECT_EQ(GetStrProp(*form->FindComponent("File1"), "Hint"), "Dateimenue");
  EXPECT_EQ(GetStrProp(*form->FindComponent("SaveDialog1"), "Title"), "Speichern");
  EXPECT_EQ(GetStrProp(*form->FindComponent("SaveDialog1"), "Filter"), "Text|*.txt;*.text");
}

TEST_F(ApplyTest, RadioGroupCaptionItemsAndHint) {
  REQUIRE_CLASS("TRadioGroup");
  const std::string controls = Obj("RadioGroup1", "TRadioGroup",
                                   {"Caption = 'Size'", "Hint = 'Pick a size'", "Items.Strings = ('Small' 'Large')"});
  const Table words = {"RadioGroup1", "Size", "Groesse", "\"", "Small", "Klein", "\"", "Large", "Gross",
                       "\".Hint", "Pick a size", "Groesse waehlen"};
  auto form = Load(FormText(controls, words));
  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  v->WriteComponent(form->FindComponent("RadioGroup1"), 0, grid);
  ASSERT_EQ(grid.RowCount(), 5);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(grid.Cells(0, r), words[static_cast<std::size_t>(r) * 3]) << r;
  v->SetActiveLanguage(1);
  TComponent* group = form->FindComponent("RadioGroup1");
  EXPECT_EQ(GetStrProp(*group, "Caption"), "Groesse");
  EXPECT_EQ(GetStrProp(*group, "Hint"), "Groesse waehlen");
  EXPECT_EQ(Lines(*host::GetObjectProp<TStrings>(*group, "Items")), (Table{"Klein", "Gross"}));

  // Items added since capturing do not take the hint entry.
  host::GetObjectProp<TStrings>(*group, "Items")->Add("Huge");
  v->Words()->Clear();
  for (const char* line : {"RadioGroup1", "Size", "Groesse", "\".Hint", "Pick a size", "Waehlen"}) v->Words()->Add(line);
  v->SetActiveLanguage(1);
  EXPECT_EQ(Lines(*host::GetObjectProp<TStrings>(*group, "Items")), (Table{"Klein", "Gross", "Huge"}));
  EXPECT_EQ(GetStrProp(*group, "Hint"), "Waehlen");
}

TEST_F(ApplyTest, ListRowsOfTheOlderControlsRoundTrip) {
  for (const char* cls : {"THeader", "TTabSet", "TNotebook", "TTabbedNotebook", "TFilterComboBox"}) REQUIRE_CLASS(cls);
  auto form = Load(FormText(Obj("Header1", "THeader", {"Sections.Strings = ('h1' 'h2')"}) +
                                Obj("TabSet1", "TTabSet", {"Tabs.Strings = ('t1' 't2')"}) +
                                Obj("Notebook1", "TNotebook", {"Pages.Strings = ('n1' 'n2')"}) +
                                Obj("TabbedNotebook1", "TTabbedNotebook", {"Pages.Strings = ('b1')"}) +
                                Obj("FilterComboBox1", "TFilterComboBox", {"Filter = 'All|*.*'"}),
                            {}));
  RoundTrip(*form, 8);
  // The notebooks' unnamed pages get no position line (they would all share one).
  Vorlect(*form)->SetSwitchPositions(spControlsOnly);
  Vorlect(*form)->SetActiveLanguage(0);
  for (const std::string& line : Lines(*Vorlect(*form)->Positions())) EXPECT_NE(line[0], ',') << line;
  EXPECT_EQ(Vorlect(*form)->Positions()->Count(), 5);
}

}  // namespace
}  // namespace vorlect::runtime::test
