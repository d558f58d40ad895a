// Properties registered as translatable (or never translated) per class: capture and apply take
// them in the same order, and stock classes keep their rows unless a registration names them.
#include "RuntimeTestUtil.h"

#include "host/framework/TypInfo.h"
#include "runtime/VLGrid.h"
#include "runtime/VLTranslatable.h"

namespace vorlect::runtime::test {
namespace {

using host::GetObjectProp;
using host::GetStrProp;
using Table = std::vector<std::string>;

const std::string kComponents =
    Obj("Label1", "TKingLabel", {"Caption = 'May'", "Hint = 'Month'", "Alignment = taCenter"}) +
    Obj("Report1", "TKingReport",
        {"Title = 'Sales'", "Footer.Text = 'Page'", "Choices.Strings = ('Daily' 'Weekly')", "Query = 'select 1'"}) +
    "  object Grid1: TKingGrid\n    Columns = <\n      item\n        Title.Caption = 'Name'\n      end\n"
    "      item\n        Width = 5\n      end\n      item\n        Title.Caption = 'Age'\n      end>\n  end\n" +
    Obj("Shown1", "TKingDBLabel", {"Caption = 'value of a field'", "Hint = 'Customer'"}) +
    Obj("Button1", "TButton", {"Caption = 'OK'", "Hint = 'Close'"});

void RegisterForTest() {
  RegisterTranslatableProperty("TKingLabel", "Caption");  // taken already: not twice
  RegisterTranslatableProperty("TKingLabel", "Hint");     // the hint rule takes it
  RegisterTranslatableProperty("TKingReport", "Title");
  RegisterTranslatableProperty("TKingReport", "Choices");
  RegisterTranslatableProperty("TKingReport", "Footer.Text");
  RegisterTranslatableProperty("TKingReport", "Missing.Path");
  RegisterTranslatableProperty("tkinggrid", "Columns.Title.Caption");
  RegisterUntranslatedProperty("TKingDBLabel", "Caption");
  RegisterUntranslatedProperty("TButton", "Hint");
  RegisterUntranslatedProperty("*", "Query");
  RegisterTranslatableProperty("TKingReport", "Query");  // never wins
}

// Key and language-0 text of each captured row.
const Table kCaptured = {
    "Label1", "May",  "\".Hint", "Month",  "Report1", "Sales", "\"", "Daily", "\"", "Weekly", "\"", "Page",
    "Grid1",  "Name", "\"",      "",       "\"",      "Age",   "Shown1", "", "\".Hint", "Customer",
    "Button1", "OK",
};

std::string FormText(const Table& words) {
  return "object Form1: TForm1\n" + kComponents + "  object Vorlect1: TVorlect\n    Languages = 2\n" +
         StringsProp("Words", words) + "  end\nend\n";
}

Table Capture(TComponent& form, TBaseVorlect& v) {
  TMemoryStringGrid grid(3, 1);
  for (int c = 0; c < form.ComponentCount(); ++c) v.WriteComponent(form.Components(c), grid.RowCount() - 1, grid);
  Table rows;
  for (int r = 0; r + 1 < grid.RowCount(); ++r) {
    rows.push_back(grid.Cells(0, r));
    rows.push_back(grid.Cells(v.ActiveLanguage() + 1, r));
  }
  return rows;
}

Table German() {
  Table words;
  for (std::size_t i = 0; i < kCaptured.size(); i += 2)
    words.insert(words.end(), {kCaptured[i], kCaptured[i + 1], kCaptured[i + 1].empty() ? "" : "DE-" + kCaptured[i + 1]});
  return words;
}

class RegisteredApplyTest : public RuntimeTest {
protected:
  void TearDown() override {
    ClearRegisteredProperties();
    RuntimeTest::TearDown();
  }
};

TEST_F(RegisteredApplyTest, WithoutRegistrationsOnlyTheDefaultTextsAreCaptured) {
  REQUIRE_CLASS("TButton");
  ClearRegisteredProperties();
  auto form = Load(FormText({}));
  EXPECT_EQ(Capture(*form, *Vorlect(*form)),
            (Table{"Label1", "May", "\".Hint", "Month", "Shown1", "value of a field", "\".Hint", "Customer", "Button1",
                   "OK", "\".Hint", "Close"}));
}

TEST_F(RegisteredApplyTest, CaptureTakesRegisteredPathsAfterTheRowAndLeavesNeverPaths) {
  REQUIRE_CLASS("TButton");
  RegisterForTest();
  auto form = Load(FormText({}));
  EXPECT_EQ(Capture(*form, *Vorlect(*form)), kCaptured);
}

TEST_F(RegisteredApplyTest, ApplyingTakesTheSameEntriesAndCapturingAgainGivesTheTranslation) {
  REQUIRE_CLASS("TButton");
  RegisterForTest();
  GlobalLang = 1;
  auto form = Load(FormText(German()));
  TComponent& report = *form->FindComponent("Report1");
  EXPECT_EQ(GetStrProp(report, "Title"), "DE-Sales");
  EXPECT_EQ(Lines(*GetObjectProp<TStrings>(report, "Choices")), (Table{"DE-Daily", "DE-Weekly"}));
  EXPECT_EQ(GetStrProp(*GetObjectProp(report, "Footer"), "Text"), "DE-Page");
  EXPECT_EQ(GetStrProp(report, "Query"), "select 1");
  auto* columns = GetObjectProp<host::TCollection>(*form->FindComponent("Grid1"), "Columns");
  ASSERT_NE(columns, nullptr);
  EXPECT_EQ(GetStrProp(*GetObjectProp(*columns->Items(0), "Title"), "Caption"), "DE-Name");
  EXPECT_EQ(GetStrProp(*GetObjectProp(*columns->Items(2), "Title"), "Caption"), "DE-Age");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Shown1"), "Caption"), "value of a field");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Shown1"), "Hint"), "DE-Customer");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "DE-OK");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "Close");

  Table expected;
  for (std::size_t i = 0; i < kCaptured.size(); i += 2)
    expected.insert(expected.end(), {kCaptured[i], kCaptured[i + 1].empty() ? "" : "DE-" + kCaptured[i + 1]});
  EXPECT_EQ(Capture(*form, *Vorlect(*form)), expected);

  Vorlect(*form)->SetActiveLanguage(0);
  EXPECT_EQ(GetStrProp(report, "Title"), "Sales");
  EXPECT_EQ(GetStrProp(*GetObjectProp(*columns->Items(2), "Title"), "Caption"), "Age");
}

TEST_F(RegisteredApplyTest, ANeverHintStillPassesOverTheHintEntriesOfAnOlderTable) {
  REQUIRE_CLASS("TButton");
  GlobalLang = 1;
  RegisterUntranslatedProperty("TButton", "Hint");
  auto form = Load("object Form1: TForm1\n" + Obj("Button1", "TButton", {"Caption = 'OK'", "Hint = 'Close'"}) +
                   Obj("Button2", "TButton", {"Caption = 'Help'"}) + "  object Vorlect1: TVorlect\n    Languages = 2\n" +
                   StringsProp("Words", {"Button1", "OK", "Gut", "\".Hint", "Close", "Zu", "Button2", "Help", "Hilfe"}) +
                   "  end\nend\n");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Hint"), "Close");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button2"), "Caption"), "Hilfe");
}

TEST_F(RegisteredApplyTest, ARegistrationMadeAfterAClassWasSeenCountsAtTheNextCapture) {
  auto form = Load(FormText({}));
  TBaseVorlect& v = *Vorlect(*form);
  TMemoryStringGrid grid(3, 1);
  v.WriteComponent(form->FindComponent("Report1"), 0, grid);
  EXPECT_EQ(grid.RowCount(), 1);
  RegisterTranslatableProperty("TKingReport", "Title");
  v.WriteComponent(form->FindComponent("Report1"), 0, grid);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cells(1, 0), "Sales");
}

TEST(RegisteredPaths, NeverCoversThePathAndWhatLiesBelowIt) {
  EXPECT_TRUE(PathCovers("Columns", "columns.Title.Caption"));
  EXPECT_TRUE(PathCovers("Caption", "CAPTION"));
  EXPECT_FALSE(PathCovers("Column", "Columns.Title"));
  EXPECT_FALSE(PathCovers("Columns.Title.Caption", "Columns"));
}

}  // namespace
}  // namespace vorlect::runtime::test
