// Capturing and applying the texts of components whose classes the framework does not know: they
// take the row of "any other class" with what their form file stores.
#include "RuntimeTestUtil.h"

#include "host/framework/TypInfo.h"
#include "runtime/VLGrid.h"

namespace vorlect::runtime::test {
namespace {

using host::GetObjectProp;
using host::GetStrProp;

using Table = std::vector<std::string>;

const std::string kUnknownControls =
    Obj("KingLabel1", "TKingLabel",
        {"Left = 8", "Width = 80", "Caption = 'May'", "Hint = 'Month'", "DateFormat = 'MMMM'"}) +
    "  object Box1: TKingPanel\n    Width = 100\n    Caption = 'Box'\n"
    "    object Inner: TKingButton\n      Width = 10\n      Caption = 'Go'\n    end\n  end\n" +
    Obj("Combo1", "TKingCombo", {"Width = 10", "Text = 'pick'", "Items.Strings = ('a' 'b')"}) +
    Obj("Fixed1", "TKingEdit", {"Width = 10", "ReadOnly = True", "Text = 'fixed'"}) +
    Obj("Open1", "TKingEdit", {"Width = 10", "ReadOnly = False", "Text = 'typed'"}) +
    Obj("Timer1", "TKingTimer", {"Hint = 'Ticks'", "Interval = 10"}) +
    Obj("Quiet1", "TKingLabel", {"Left = 1", "Width = 5"});

// What capturing in language 0 gives for kUnknownControls (key, language 0).
const Table kCaptured = {
    "KingLabel1", "May",  "\".Hint", "Month", "Box1",   "Box",   "Inner", "Go", "Combo1", "pick",
    "Fixed1",     "fixed", "Timer1", "",      "\".Hint", "Ticks",
};

std::string FormText(const Table& words, const std::string& extra = "") {
  return "object Form1: TForm1\n  Caption = 'Order'\n" + kUnknownControls + "  object Vorlect1: TVorlect\n" +
         extra + "    Languages = 2\n" + StringsProp("Words", words) + "  end\nend\n";
}

// The captured table with language 1 filled in as "DE-" and the text.
Table German() {
  Table words;
  for (std::size_t i = 0; i < kCaptured.size(); i += 2)
    words.insert(words.end(), {kCaptured[i], kCaptured[i + 1], "DE-" + kCaptured[i + 1]});
  return words;
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

using UnknownApplyTest = RuntimeTest;

TEST_F(UnknownApplyTest, CaptureTakesStoredCaptionTextAndHintOfUnknownClasses) {
  auto form = Load(FormText({}));
  // Lists of other classes are not captured; an unknown edit follows its stored ReadOnly; a
  // component storing none of the three texts gives no rows.
  EXPECT_EQ(Capture(*form, *Vorlect(*form)), kCaptured);
}

TEST_F(UnknownApplyTest, LoadingInLanguageOneAppliesThemAndCapturingThenGivesTheSameRows) {
  GlobalLang = 1;
  auto form = Load(FormText(German()));
  EXPECT_EQ(GetStrProp(*form->FindComponent("KingLabel1"), "Caption"), "DE-May");
  EXPECT_EQ(GetStrProp(*form->FindComponent("KingLabel1"), "Hint"), "DE-Month");
  EXPECT_EQ(GetStrProp(*form->FindComponent("KingLabel1"), "DateFormat"), "MMMM");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Inner"), "Caption"), "DE-Go");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Combo1"), "Text"), "DE-pick");
  EXPECT_EQ(Lines(*GetObjectProp<TStrings>(*form->FindComponent("Combo1"), "Items")), (Table{"a", "b"}));
  EXPECT_EQ(GetStrProp(*form->FindComponent("Fixed1"), "Text"), "DE-fixed");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Open1"), "Text"), "typed");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Timer1"), "Hint"), "DE-Ticks");

  Table expected;
  for (std::size_t i = 0; i < kCaptured.size(); i += 2)
    expected.insert(expected.end(), {kCaptured[i], kCaptured[i + 1].empty() ? "" : "DE-" + kCaptured[i + 1]});
  EXPECT_EQ(Capture(*form, *Vorlect(*form)), expected);

  Vorlect(*form)->SetActiveLanguage(0);
  EXPECT_EQ(GetStrProp(*form->FindComponent("Box1"), "Caption"), "Box");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Timer1"), "Hint"), "Ticks");
}

TEST_F(UnknownApplyTest, TranslateEditsSeesTheStoredReadOnly) {
  GlobalLang = 1;
  auto never = Load(FormText(German(), "    TranslateEdits = teNever\n"));
  EXPECT_EQ(GetStrProp(*never->FindComponent("Fixed1"), "Text"), "fixed");
  EXPECT_EQ(GetStrProp(*never->FindComponent("Combo1"), "Text"), "DE-pick");  // no ReadOnly stored
  auto always = Load(FormText({"Open1", "typed", "getippt"}, "    TranslateEdits = teAlways\n"));
  EXPECT_EQ(GetStrProp(*always->FindComponent("Open1"), "Text"), "getippt");
}

}  // namespace
}  // namespace vorlect::runtime::test
