// The store: published properties as form files hold them, and reshaping Words when the number of
// languages changes (with its questions).
#include "RuntimeTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "runtime/svlcore.h"

#include <algorithm>

namespace vorlect::runtime::test {
namespace {

using namespace vorlect::ports;

std::string Form(const std::string& vorlectProps, const std::string& cls = "TVorlect") {
  return "object Form1: TForm1\n  Caption = 'Order'\n  object Vorlect1: " + cls + "\n" + vorlectProps +
         "  end\nend\n";
}

std::vector<std::string> PublishedNames(const host::ClassInfo& cls) {
  std::vector<std::string> names;
  for (const host::PropInfo* p : cls.Properties()) names.push_back(p->name);
  return names;
}

class StoreTest : public RuntimeTest {};

TEST_F(StoreTest, PublishesInDeclarationOrderAndSmallHidesPositionsAndLists) {
  const std::vector<std::string> full = {"About", "BeforeLanguageChange", "AfterLanguageChanged", "IdNotFoundError",
                                         "DefaultLanguage", "DefaultEnabled", "Languages", "ActiveLanguage", "Words",
                                         "DoNot", "SwitchPositions", "TranslateEdits", "Positions", "CharSets"};
  std::vector<std::string> names = PublishedNames(TVorlect::StaticClass());
  auto about = std::find(names.begin(), names.end(), "About");
  ASSERT_NE(about, names.end());
  EXPECT_EQ(std::vector<std::string>(about, names.end()), full);

  names = PublishedNames(TSmallVorlect::StaticClass());
  about = std::find(names.begin(), names.end(), "About");
  ASSERT_NE(about, names.end());
  EXPECT_EQ(std::vector<std::string>(about, names.end()),
            std::vector<std::string>(full.begin(), full.begin() + 9));
  for (const char* hidden : {"DoNot", "SwitchPositions", "TranslateEdits", "Positions", "CharSets"})
    EXPECT_EQ(TSmallVorlect::StaticClass().FindProperty(hidden), nullptr) << hidden;
  auto small = Load(Form("    Languages = 2\n    SwitchPositions = spFormAndControls\n", "TSmallVorlect"));
  EXPECT_EQ(Vorlect(*small)->SwitchPositions(), spNone);
  EXPECT_EQ(host::GetClass("TLanguageDLLs"), &TLanguageDLLs::StaticClass());
  EXPECT_EQ(host::GetClass("TBaseVorlect"), &TBaseVorlect::StaticClass());
}

TEST_F(StoreTest, FormFileRoundTripKeepsValuesAboutIsNeverStoredLanguagesAlwaysIs) {
  auto form = Load(Form("    About = '9.99'\n    BeforeLanguageChange = Vorlect1Before\n"
                        "    DefaultLanguage = 3\n    Languages = 4\n    TranslateEdits = teAlways\n"));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(v->DefaultLanguage(), 3);
  EXPECT_EQ(v->Languages(), 4);
  EXPECT_EQ(v->TranslateEdits(), teAlways);
  EXPECT_EQ(host::GetStrProp(*v, "About"), "3.76");
  host::SetStrProp(*v, "About", "1.0");
  EXPECT_EQ(host::GetStrProp(*v, "About"), "3.76");
  EXPECT_EQ(host::GetMethodProp(*v, "BeforeLanguageChange"), "Vorlect1Before");

  host::TForm fresh(nullptr);
  fresh.SetName("Form2");
  new TVorlect(&fresh);
  fresh.Components(0)->SetName("Vorlect1");
  std::string text = host::SaveForm(fresh, formfile::FileFormat::Text);
  EXPECT_NE(text.find("Languages = 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("About"), std::string::npos) << text;
  EXPECT_EQ(text.find("ActiveLanguage"), std::string::npos) << text;
}

TEST_F(StoreTest, GrowingAppendsAQuestionMarkToEveryEntryWithoutAsking) {
  auto form = Load(Form("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung", "Id1", "a", "b"})));
  TBaseVorlect* v = Vorlect(*form);
  v->SetLanguages(3);
  EXPECT_EQ(v->Languages(), 3);
  EXPECT_EQ(Lines(*v->Words()),
            (std::vector<std::string>{"%Form%", "Order", "Bestellung", "?", "Id1", "a", "b", "?"}));
  EXPECT_TRUE(ports_.messages().empty());
}

TEST_F(StoreTest, ShrinkingBelowTheActiveLanguageAsksSwitchesToZeroAndKeepsLanguageZero) {
  auto form = Load(Form("    Languages = 3\n" +
                        StringsProp("Words", {"%Form%", "Order", "Bestellung", "Commande", "Id1", "a", "b", "c"})));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(2);
  EXPECT_EQ(host::GetStrProp(*form, "Caption"), "Commande");

  ports_.queueAnswer(mrNo);
  v->SetLanguages(1);
  ASSERT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(ports_.messages()[0].text, kMsgDecreaseActive);
  EXPECT_EQ(ports_.messages()[0].type, mtConfirmation);
  EXPECT_EQ(ports_.messages()[0].buttons, (ButtonSet{mbYes, mbNo}));
  EXPECT_EQ(v->Languages(), 3);
  EXPECT_EQ(v->ActiveLanguage(), 2);
  EXPECT_EQ(v->Words()->Count(), 8);

  ports_.queueAnswer(mrYes);
  v->SetLanguages(1);
  EXPECT_EQ(v->Languages(), 1);
  EXPECT_EQ(v->ActiveLanguage(), 0);
  EXPECT_EQ(Lines(*v->Words()), (std::vector<std::string>{"%Form%", "Order", "Id1", "a"}));
  EXPECT_EQ(host::GetStrProp(*form, "Caption"), "Order");
}

TEST_F(StoreTest, ShrinkingAboveTheActiveLanguageAsksTheShortQuestion) {
  auto form = Load(Form("    Languages = 3\n" + StringsProp("Words", {"Id1", "a", "b", "c"})));
  TBaseVorlect* v = Vorlect(*form);
  ports_.queueAnswer(mrNo);
  v->SetLanguages(2);
  EXPECT_EQ(v->Languages(), 3);
  ports_.queueAnswer(mrYes);
  v->SetLanguages(2);
  ASSERT_EQ(ports_.messages().size(), 2u);
  EXPECT_EQ(ports_.messages()[1].text, kMsgDecrease);
  EXPECT_EQ(ports_.messages()[1].buttons, (ButtonSet{mbYes, mbNo}));
  EXPECT_EQ(Lines(*v->Words()), (std::vector<std::string>{"Id1", "a", "b"}));
}

TEST_F(StoreTest, RefusedValuesLeaveTheStoreAsItWas) {
  auto form = Load(Form("    Languages = 2\n" + StringsProp("Words", {"Id1", "a", "b"})));
  TBaseVorlect* v = Vorlect(*form);
  v->SetLanguages(0);
  ASSERT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(ports_.messages()[0].text, "You have to provide at least 1 language.");
  EXPECT_EQ(ports_.messages()[0].type, mtInformation);
  EXPECT_EQ(ports_.messages()[0].buttons, ButtonSet{mbOK});
  EXPECT_EQ(v->Languages(), 2);

  ports_.queueAnswer(mrCancel);
  v->SetDefaultLanguage(2);
  ASSERT_EQ(ports_.messages().size(), 2u);
  EXPECT_EQ(ports_.messages()[1].text, "Value must not be higher than\rnumber of available languages.");
  EXPECT_EQ(ports_.messages()[1].buttons, ButtonSet{mbCancel});
  EXPECT_EQ(v->DefaultLanguage(), 0);
  EXPECT_EQ(Lines(*v->Words()), (std::vector<std::string>{"Id1", "a", "b"}));
}

TEST_F(StoreTest, ShrinkIsRefusedWholeWhenTheSwitchToLanguageZeroIsVetoed) {
  auto form = Load(Form("    Languages = 3\n" + StringsProp("Words", {"Id1", "a", "b", "c"})));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(2);
  v->BeforeLanguageChange = [](TObject*, std::uint8_t, bool& allow) { allow = false; };
  ports_.queueAnswer(mrYes);
  v->SetLanguages(2);
  ASSERT_EQ(ports_.messages().size(), 2u);
  EXPECT_EQ(ports_.messages()[1].text, kMsgDecreaseRefused);
  EXPECT_EQ(ports_.messages()[1].type, mtInformation);
  EXPECT_EQ(v->Languages(), 3);
  EXPECT_EQ(v->ActiveLanguage(), 2);
  EXPECT_EQ(v->Words()->Count(), 4);
  EXPECT_EQ(v->GetText("id1"), "c");
}

TEST_F(StoreTest, LoadingTakesValuesWithoutQuestionsAndRefusesZeroLanguages) {
  // Hand-ordered: the active language comes before a smaller language count.
  auto form = Load(Form("    Languages = 3\n    ActiveLanguage = 2\n    Languages = 2\n" +
                        StringsProp("Words", {"Id1", "a", "b"})));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(v->Languages(), 2);
  EXPECT_LT(v->ActiveLanguage(), v->Languages());
  EXPECT_EQ(v->GetText("Id1"), v->ActiveLanguage() == 0 ? "a" : "b");

  auto zero = Load(Form("    Languages = 0\n"));
  EXPECT_EQ(Vorlect(*zero)->Languages(), 2);
  EXPECT_TRUE(ports_.messages().empty());
}

TEST_F(StoreTest, GlobalListHoldsExactlyTheLiveComponents) {
  const std::size_t before = GlobalList().size();
  {
    auto form = Load(Form("    Languages = 2\n"));
    auto small = Load(Form("    Languages = 2\n", "TSmallVorlect"));
    ASSERT_EQ(GlobalList().size(), before + 2);
    EXPECT_EQ(GlobalList()[before], Vorlect(*form));
    EXPECT_EQ(GlobalList()[before + 1], Vorlect(*small));
    delete Vorlect(*form);
    ASSERT_EQ(GlobalList().size(), before + 1);
    EXPECT_EQ(GlobalList()[before], Vorlect(*small));
  }
  EXPECT_EQ(GlobalList().size(), before);
}

}  // namespace
}  // namespace vorlect::runtime::test
