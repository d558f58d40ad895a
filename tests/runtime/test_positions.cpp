// Per-language positions and the form font.
#include "RuntimeTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Graphics.h"
#include "host/framework/TypInfo.h"

namespace vorlect::runtime::test {
namespace {

using namespace vorlect::ports;
using host::GetOrdProp;
using host::GetStrProp;
using Table = std::vector<std::string>;

std::string FormText(const std::string& vorlectProps, const std::string& controls = "") {
  return "object Form1: TForm1\n  Left = 100\n  Top = 50\n  Width = 300\n  Height = 200\n  Caption = 'Order'\n"
         "  Font.Charset = DEFAULT_CHARSET\n  Font.Name = 'Tahoma'\n" +
         (controls.empty() ? std::string("  object Button1: TButton\n    Left = 8\n    Top = 8\n    Width = 75\n"
                                         "    Height = 25\n    Caption = 'OK'\n  end\n")
                           : controls) +
         "  object Vorlect1: TVorlect\n    Languages = 2\n" + vorlectProps + "  end\nend\n";
}

class PositionsTest : public RuntimeTest {
protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    REQUIRE_CLASS("TButton");
  }
};

TEST_F(PositionsTest, FormAndControlsRecordEachLanguageAndApplyItBack) {
  auto form = Load(FormText("    SwitchPositions = spFormAndControls\n"));
  TBaseVorlect* v = Vorlect(*form);
  TComponent* button = form->FindComponent("Button1");
  v->SetActiveLanguage(1);
  EXPECT_EQ(Lines(*v->Positions()), (Table{"%Form%,100.50.300.200,100.50.300.200", "button1,8.8.75.25,8.8.75.25"}));

  host::SetOrdProp(*button, "Left", 20);
  host::SetOrdProp(*form, "Width", 400);
  v->SetActiveLanguage(0);
  EXPECT_EQ(Lines(*v->Positions()), (Table{"%Form%,100.50.300.200,100.50.400.200", "button1,8.8.75.25,20.8.75.25"}));
  EXPECT_EQ(GetOrdProp(*button, "Left"), 8);
  EXPECT_EQ(GetOrdProp(*form, "Width"), 300);
  v->SetActiveLanguage(1);
  EXPECT_EQ(GetOrdProp(*button, "Left"), 20);
  EXPECT_EQ(GetOrdProp(*form, "Width"), 400);

  // While locked nothing is recorded.
  v->PositionsLocked = true;
  host::SetOrdProp(*button, "Top", 99);
  v->SetActiveLanguage(0);
  EXPECT_EQ(v->Positions()->Strings(1), "button1,8.8.75.25,20.8.75.25");
}

TEST_F(PositionsTest, ControlsOnlyLeavesTheFormAloneNonVisualComponentsGetNoLine) {
  auto form = Load(FormText("    SwitchPositions = spControlsOnly\n"));
  TBaseVorlect* v = Vorlect(*form);
  host::SetOrdProp(*form, "Left", 5);
  v->SetActiveLanguage(1);
  EXPECT_EQ(Lines(*v->Positions()), (Table{"button1,8.8.75.25,8.8.75.25"}));
  v->SetActiveLanguage(0);
  EXPECT_EQ(GetOrdProp(*form, "Left"), 5);
}

TEST_F(PositionsTest, ARenamedComponentGetsANewLineAndShortLinesArePadded) {
  auto form = Load(FormText("    SwitchPositions = spControlsOnly\n" +
                            StringsProp("Positions", {"button1,1.2.3.4", "old,9.9.9.9,9.9.9.9"})));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(1);  // records language 0 into the short line, reads language 1: none
  EXPECT_EQ(v->Positions()->Strings(0), "button1,8.8.75.25,");
  form->FindComponent("Button1")->SetName("Button2");
  v->SetActiveLanguage(0);
  EXPECT_EQ(Lines(*v->Positions()), (Table{"button1,8.8.75.25,", "old,9.9.9.9,9.9.9.9", "button2,8.8.75.25,8.8.75.25"}));
}

TEST_F(PositionsTest, BadValuesRaiseConversionErrorsThatTheWalkSwallowsForComponents) {
  const std::string controls =
      "  object Button1: TButton\n    Left = 8\n    Caption = 'OK'\n  end\n"
      "  object Label1: TLabel\n    Caption = 'Name'\n  end\n";
  auto form = Load(FormText("    SwitchPositions = spFormAndControls\n" +
                                StringsProp("Positions", {"button1,8.8.75.25,x.8.75.25"}) +
                                StringsProp("Words", {"Button1", "OK", "Gut", "Label1", "Name", "Name-DE"}),
                            controls));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(1);
  EXPECT_EQ(v->ActiveLanguage(), 1);
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "OK");  // its apply failed
  EXPECT_EQ(GetStrProp(*form->FindComponent("Label1"), "Caption"), "Name-DE");

  // A language added later has no position yet: switching to it fails on the form's empty value.
  v->SetLanguages(3);
  EXPECT_THROW(v->SetActiveLanguage(2), host::EConvertError);
  EXPECT_EQ(v->ActiveLanguage(), 2);
}

TEST_F(PositionsTest, DroppingPositionsAsksOnlyWhenLanguagesDiffer) {
  // Designing: loading records nothing.
  auto same = Load(FormText("    SwitchPositions = spFormAndControls\n" +
                            StringsProp("Positions", {"%Form%,1.1.1.1,1.1.1.1", "button1,8.8.75.25,8.8.75.25"})),
                   true);
  TBaseVorlect* v = Vorlect(*same);
  v->SetSwitchPositions(spNone);
  EXPECT_TRUE(ports_.messages().empty());
  EXPECT_EQ(v->Positions()->Count(), 0);
  EXPECT_EQ(v->SwitchPositions(), spNone);

  auto differ = Load(FormText("    SwitchPositions = spFormAndControls\n" +
                              StringsProp("Positions", {"%Form%,1.1.1.1,2.2.2.2", "button1,8.8.75.25,8.8.75.25"})),
                     true);
  v = Vorlect(*differ);
  ports_.queueAnswer(mrNo);
  v->SetSwitchPositions(spNone);
  ASSERT_EQ(ports_.messages().size(), 2u);
  EXPECT_EQ(ports_.messages()[0].text, kMsgDropPositions);
  EXPECT_EQ(ports_.messages()[0].type, mtWarning);
  EXPECT_EQ(ports_.messages()[0].buttons, (ButtonSet{mbYes, mbNo}));
  EXPECT_EQ(ports_.messages()[1].text, "Cancelled.");
  EXPECT_EQ(v->SwitchPositions(), spFormAndControls);
  EXPECT_EQ(v->Positions()->Count(), 2);

  ports_.queueAnswer(mrNo);
  v->SetSwitchPositions(spControlsOnly);
  EXPECT_EQ(ports_.messages()[2].text, kMsgDropFormPositions);
  EXPECT_EQ(v->SwitchPositions(), spFormAndControls);
  ports_.queueAnswer(mrYes);
  v->SetSwitchPositions(spControlsOnly);
  EXPECT_EQ(v->SwitchPositions(), spControlsOnly);
  EXPECT_EQ(Lines(*v->Positions()), (Table{"button1,8.8.75.25,8.8.75.25"}));
  EXPECT_FALSE(TBaseVorlect::PositionsDiffer("a,1.1.1.1"));
  EXPECT_EQ(StrToInt(" -12"), -12);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_THROW(StrToInt("--5"), host::EConvertError);
  EXPECT_TRUE(TBaseVorlect::PositionsDiffer("a,1.1.1.1,1.1.1.1,2.1.1.1"));
}

TEST_F(PositionsTest, FontFollowsTheLanguageWhateverSwitchPositionsIs) {
  auto form = Load(FormText(StringsProp("CharSets", {"Arial,0", "Arial Cyr,204"})));
  TBaseVorlect* v = Vorlect(*form);
  auto* font = host::GetObjectProp<host::TFont>(*form, "Font");
  // Loading records the form's own font as the language it shows.
  EXPECT_EQ(Lines(*v->CharSets()), (Table{"Tahoma,1", "Arial Cyr,204"}));
  v->SetActiveLanguage(1);
  EXPECT_EQ(font->Name(), "Arial Cyr");
  EXPECT_EQ(font->Charset(), host::RUSSIAN_CHARSET);
  font->SetName("Courier");
  v->SetActiveLanguage(0);
  EXPECT_EQ(Lines(*v->CharSets()), (Table{"Tahoma,1", "Courier,204"}));
  EXPECT_EQ(font->Name(), "Tahoma");
  EXPECT_EQ(font->Charset(), host::DEFAULT_CHARSET);

  // CharSets catches up with the language count from the current font.
  auto fresh = Load(FormText(""));
  EXPECT_EQ(Lines(*Vorlect(*fresh)->CharSets()), (Table{"Tahoma,1", "Tahoma,1"}));
}

TEST_F(PositionsTest, ACharSetLineWithoutNumberFailsBeforeTheFontIsTouched) {
  auto form = Load(FormText(StringsProp("CharSets", {"Tahoma,1", "Arial"})));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_THROW(v->SetActiveLanguage(1), host::EConvertError);
  EXPECT_EQ(host::GetObjectProp<host::TFont>(*form, "Font")->Name(), "Tahoma");
}

}  // namespace
}  // namespace vorlect::runtime::test
