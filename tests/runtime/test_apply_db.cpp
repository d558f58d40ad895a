// Capturing and applying the texts of the data-aware controls and fields.
#include "RuntimeTestUtil.h"

#include "host/framework/TypInfo.h"
#include "host/framework/controls/DBCtrls.h"
#include "runtime/VLGrid.h"

namespace vorlect::runtime::test {
namespace {

using host::GetStrProp;

using Table = std::vector<std::string>;

const std::string kDBControls =
    Obj("ListBox1", "TListBox", {"Items.Strings = ('one' 'two')"}) +
    Obj("DBListBox1", "TDBListBox", {"Items.Strings = ('a' 'b' 'c')"}) +
    Obj("DBRadioGroup1", "TDBRadioGroup", {"Caption = 'Kind'", "Items.Strings = ('New' 'Used')"}) +
    Obj("DBGrid1", "TDBGrid",
        {"Columns = <item FieldName = 'NAME' Title.Caption = 'Name' end "
         "item FieldName = 'CITY' Title.Caption = 'City' end item FieldName = 'ZIP' end>"}) +
    Obj("DBComboBox1", "TDBComboBox", {"Items.Strings = ('x' 'y' 'z')"}) +
    Obj("Field1", "TStringField", {"DisplayLabel = 'Customer'", "FieldName = 'CUST'"}) +
    Obj("DBNavigator1", "TDBNavigator", {"Hints.Strings = ('First' 'Prior' 'Next')"});

// Keys, language 0, language 1 of every entry the controls above capture, in capture order.
const Table kDBTable = {
    "ListBox1", "one", "Eins",         "\"", "two", "Zwei",
    "DBListBox1", "a", "A1",           "\"", "b", "B1",          "\"", "c", "C1",
    "DBRadioGroup1", "Kind", "Art",    "\"", "New", "Neu",       "\"", "Used", "Gebraucht",
    "DBGrid1", "Name", "Name-DE",      "\"", "City", "Ort",      "\"", "ZIP", "PLZ",
    "DBComboBox1", "x", "X1",          "\"", "y", "Y1",          "\"", "z", "Z1",
    "Field1", "Customer", "Kunde",
    "DBNavigator1", "First", "Erster", "\"", "Prior", "Voriger", "\"", "Next", "Naechster",
};

std::string FormText(const std::string& controls, const Table& words) {
  return "object Form1: TForm1\n  Caption = 'Order'\n" + controls + "  object Vorlect1: TVorlect\n" +
         "    Languages = 2\n" + StringsProp("Words", words) + "  end\nend\n";
}

class ApplyDBTest : public RuntimeTest {
protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    for (const char* cls : {"TListBox", "TDBListBox", "TDBRadioGroup", "TDBGrid", "TDBComboBox", "TStringField",
                            "TDBNavigator"})
      REQUIRE_CLASS(cls);
  }

  static void SetWords(TBaseVorlect& v, const Table& words) {
    v.Words()->Clear();
    for (const std::string& line : words) v.Words()->Add(line);
  }

  static Table Titles(TComponent& form) {
    Table r;
    auto* grid = Find<host::TDBGrid>(form, "DBGrid1");
    for (int p = 0; grid && p < grid->Columns()->Count(); ++p) r.push_back(grid->Columns()->Items(p)->Title()->Caption());
    return r;
  }
};

TEST_F(ApplyDBTest, CapturingWritesEachClassesTextsInTableOrder) {
  auto form = Load(FormText(kDBControls, {}));
  TBaseVorlect* v = Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  for (int c = 0; c < form->ComponentCount(); ++c) v->WriteComponent(form->Components(c), grid.RowCount() - 1, grid);
  Table captured;
  for (int r = 0; r + 1 < grid.RowCount(); ++r)
    for (int c = 0; c < 3; ++c) captured.push_back(grid.Cells(c, r));
  Table expected = kDBTable;
  for (std::size_t i = 2; i < expected.size(); i += 3) expected[i].clear();
  EXPECT_EQ(captured, expected);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(grid.Cells(c, grid.RowCount() - 1), "");

  // In language 1 the same keys come back, the texts in column 2.
  v->SetActiveLanguage(0);
  SetWords(*v, kDBTable);
  v->SetActiveLanguage(1);
  TMemoryStringGrid again(3, 1);
  for (int c = 0; c < form->ComponentCount(); ++c) v->WriteComponent(form->Components(c), again.RowCount() - 1, again);
  ASSERT_EQ(again.RowCount(), grid.RowCount());
  for (int r = 0; r + 1 < again.RowCount(); ++r) {
    EXPECT_EQ(again.Cells(0, r), kDBTable[static_cast<std::size_t>(r) * 3]) << r;
    EXPECT_EQ(again.Cells(1, r), "") << r;
    EXPECT_EQ(again.Cells(2, r), kDBTable[static_cast<std::size_t>(r) * 3 + 2]) << r;
  }
}

TEST_F(ApplyDBTest, LoadingInLanguageOneTranslatesTheDataAwareControls) {
  GlobalLang = 1;
  auto form = Load(FormText(kDBControls, kDBTable));
  EXPECT_EQ(GetStrProp(*form, "Caption"), "Order");  // no %Form% entry
  EXPECT_EQ(Lines(*Find<host::TListBox>(*form, "ListBox1")->Items()), (Table{"Eins", "Zwei"}));
  EXPECT_EQ(Lines(*Find<host::TDBListBox>(*form, "DBListBox1")->Items()), (Table{"A1", "B1", "C1"}));
  auto* group = Find<host::TDBRadioGroup>(*form, "DBRadioGroup1");
  EXPECT_EQ(GetStrProp(*group, "Caption"), "Art");
  EXPECT_EQ(Lines(*host::GetObjectProp<TStrings>(*group, "Items")), (Table{"Neu", "Gebraucht"}));
  EXPECT_EQ(Titles(*form), (Table{"Name-DE", "Ort", "PLZ"}));
  EXPECT_EQ(Lines(*Find<host::TDBComboBox>(*form, "DBComboBox1")->Items()), (Table{"X1", "Y1", "Z1"}));
  EXPECT_EQ(Find<host::TField>(*form, "Field1")->DisplayLabel(), "Kunde");
  EXPECT_EQ(Lines(*Find<host::TDBNavigator>(*form, "DBNavigator1")->Hints()), (Table{"Erster", "Voriger", "Naechster"}));
  EXPECT_TRUE(ports_.messages().empty());

  // And back: language 0 restores every text.
  Vorlect(*form)->SetActiveLanguage(0);
  EXPECT_EQ(Lines(*Find<host::TDBListBox>(*form, "DBListBox1")->Items()), (Table{"a", "b", "c"}));
  EXPECT_EQ(Titles(*form), (Table{"Name", "City", "ZIP"}));
  EXPECT_EQ(Find<host::TField>(*form, "Field1")->DisplayLabel(), "Customer");
  EXPECT_EQ(Lines(*Find<host::TDBNavigator>(*form, "DBNavigator1")->Hints()), (Table{"First", "Prior", "Next"}));
}

TEST_F(ApplyDBTest, ListRuleBlanksDBListItemsWithoutEntriesAndTheComboKeepsItsSelection) {
  auto form = Load(FormText(kDBControls, {}));
  auto* combo = Find<host::TDBComboBox>(*form, "DBComboBox1");
  combo->SetItemIndex(2);
  TBaseVorlect* v = Vorlect(*form);
  SetWords(*v, {"DBListBox1", "a", "A1", "\"", "b", "B1",
                "DBComboBox1", "x", "X1", "\"", "y", "Y1", "\"", "z", "Z1", "\"", "w", "W1",
                "Field1", "Customer", ""});
  v->SetActiveLanguage(1);
  EXPECT_EQ(Lines(*Find<host::TDBListBox>(*form, "DBListBox1")->Items()), (Table{"A1", "B1", ""}));
  EXPECT_EQ(Lines(*combo->Items()), (Table{"X1", "Y1", "Z1"}));
  EXPECT_EQ(combo->ItemIndex(), 2);
  // An empty display label falls back to the field name, as an unset one does.
  EXPECT_EQ(Find<host::TField>(*form, "Field1")->DisplayLabel(), "CUST");
  // Components without entries keep their texts.
  EXPECT_EQ(Titles(*form), (Table{"Name", "City", "ZIP"}));

  combo->SetItemIndex(-1);
  v->SetActiveLanguage(0);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(Lines(*combo->Items()), (Table{"x", "y", "z"}));
}

TEST_F(ApplyDBTest, GridWithFewerEntriesThanColumnsKeepsTheRemainingTitles) {
  GlobalLang = 1;
  auto form = Load(FormText(kDBControls, {"DBGrid1", "Name", "Name-DE", "Field1", "Customer", "Kunde"}));
  EXPECT_EQ(Titles(*form), (Table{"Name-DE", "City", "ZIP"}));
  EXPECT_EQ(Find<host::TField>(*form, "Field1")->DisplayLabel(), "Kunde");

  // More entries than columns: the surplus is passed over and the next component still gets its text.
  auto wide = Load(FormText(kDBControls, {"DBGrid1", "Name", "N", "\"", "City", "O", "\"", "ZIP", "P",
                                          "\"", "Extra", "E", "Field1", "Customer", "Kunde"}));
  EXPECT_EQ(Titles(*wide), (Table{"N", "O", "P"}));
  EXPECT_EQ(Find<host::TField>(*wide, "Field1")->DisplayLabel(), "Kunde");
}

TEST_F(ApplyDBTest, NavigatorHintListReplacesTheHints) {
  GlobalLang = 1;
  // Fewer entries than hints: the list is replaced, not merged.
  auto shorter = Load(FormText(kDBControls, {"DBNavigator1", "First", "Erster", "\"", "Prior", "Voriger"}));
  EXPECT_EQ(Lines(*Find<host::TDBNavigator>(*shorter, "DBNavigator1")->Hints()), (Table{"Erster", "Voriger"}));

  // More entries than hints: all of them are taken.
  auto longer = Load(FormText(kDBControls, {"DBNavigator1", "a", "A", "\"", "b", "", "\"", "c", "C", "\"", "d", "D",
                                            "Field1", "Customer", "Kunde"}));
  EXPECT_EQ(Lines(*Find<host::TDBNavigator>(*longer, "DBNavigator1")->Hints()), (Table{"A", "", "C", "D"}));
  EXPECT_EQ(Find<host::TField>(*longer, "Field1")->DisplayLabel(), "Kunde");

  // An incomplete last entry gives an empty line and ends the list.
  auto incomplete =
      Load(FormText(kDBControls, {"DBNavigator1", "First", "Erster", "\"", "Prior", "Voriger", "\"", "Next"}));
  auto* nav = Find<host::TDBNavigator>(*incomplete, "DBNavigator1");
  EXPECT_EQ(Lines(*nav->Hints()), (Table{"Erster", "Voriger", ""}));
  EXPECT_EQ(Vorlect(*incomplete)->Words()->Count(), 8);

  // A navigator without any hints captures nothing and its entry-less table leaves it alone.
  GlobalLang = 0;
  auto bare = Load(FormText(Obj("DBNavigator1", "TDBNavigator"), {}));
  TMemoryStringGrid grid(3, 1);
  Vorlect(*bare)->WriteComponent(bare->FindComponent("DBNavigator1"), 0, grid);
  EXPECT_EQ(grid.RowCount(), 1);
}

}  // namespace
}  // namespace vorlect::runtime::test
