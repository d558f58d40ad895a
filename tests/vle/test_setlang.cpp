#include <cstdint>
#include <string>
#include <vector>

#include "VleTestUtil.h"
#include "host/ports/Ports.h"
#include "spell/Langs.h"
#include "spell/Speller.h"
#include "vle/FSetLang.h"

using namespace vorlect;
using namespace vorlect::vle;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using ::testing::ElementsAre;

namespace {

using LanguageListTest = vle::test::VleTest;
using vle::test::List;

void StoreLanguages(std::initializer_list<std::pair<int, const char*>> values) {
  platform::Registry reg(HKEY_LOCAL_MACHINE);
  reg.OpenKey(kSettingsKey, true);
  for (const auto& [n, text] : values) reg.WriteString("Lang" + std::to_string(n), text);
}

std::string Stored(int n) {
  platform::Registry reg(HKEY_LOCAL_MACHINE);
  reg.OpenKey(kSettingsKey, false);
  return reg.ValueExists("Lang" + std::to_string(n)) ? reg.ReadString("Lang" + std::to_string(n)) : "<missing>";
}

TEST_F(LanguageListTest, LoadDecodesIdentifiersAndNamesUpToTheFirstGap) {
  const std::string german = spell::LanguageName(1031);
  ASSERT_FALSE(german.empty());
  StoreLanguages({{1, "1031"}, {2, "Plattdeutsch"}, {3, "12x"}, {4, ""}, {5, "0"}, {6, "01031"},
                  {7, "99999"}, {9, "1036"}});
  host::TStringList names, ids;
  LoadLanguages(names, ids);
  EXPECT_THAT(Items(names), ElementsAre(german, "Plattdeutsch", "12x", "", "0", "01031", "99999"));
  EXPECT_THAT(Items(ids), ElementsAre("1031", "0", "0", "0", "0", "0", "0"));
  // Nothing is lost when saved back: every value reads as it was stored.
  SaveLanguages(names, ids);
  EXPECT_EQ(Stored(1), "1031");
  EXPECT_EQ(Stored(2), "Plattdeutsch");
  EXPECT_EQ(Stored(3), "12x");
  EXPECT_EQ(Stored(4), "");
  EXPECT_EQ(Stored(5), "0");
  EXPECT_EQ(Stored(6), "01031");
  EXPECT_EQ(Stored(7), "99999");
  EXPECT_EQ(Stored(8), "<missing>");
}

TEST_F(LanguageListTest, IdentifierWithoutLocaleKeepsItsNumberAsName) {
  // 0x0FFF is no locale's identifier: an empty column title would be useless.
  ASSERT_TRUE(spell::LanguageName(0x0FFF).empty());
  const TStoredLanguage e = DecodeLanguageValue("4095");
  EXPECT_EQ(e.name, "4095");
  EXPECT_EQ(e.id, "4095");
}

TEST_F(LanguageListTest, NumberStoredAsIntegerStillNamesItsLanguage) {
  {
    platform::Registry reg(HKEY_LOCAL_MACHINE);
    reg.OpenKey(kSettingsKey, true);
    reg.WriteInteger("Lang1", 1036);
  }
  host::TStringList names, ids;
  LoadLanguages(names, ids);
  EXPECT_THAT(Items(names), ElementsAre(spell::LanguageName(1036)));
  EXPECT_THAT(Items(ids), ElementsAre("1036"));
}

TEST_F(LanguageListTest, SaveDeletesTheValueAfterTheLastSoAShorterListReadsBack) {
  SaveLanguages(List{"A", "B", "C", "D", "E"}, List{"0", "0", "0", "0", "0"});
  SaveLanguages(List{"A", "C", "E"}, List{"0", "0", "0"});
  EXPECT_EQ(Stored(3), "E");
  EXPECT_EQ(Stored(4), "<missing>");
  EXPECT_EQ(Stored(5), "E");  // left behind, never read again
  host::TStringList names, ids;
  LoadLanguages(names, ids);
  EXPECT_THAT(Items(names), ElementsAre("A", "C", "E"));
  // Stored in the machine's hive only.
  EXPECT_FALSE(platform::Registry(HKEY_CURRENT_USER).KeyExists(kSettingsKey));
}

TEST_F(LanguageListTest, SaveWritesOnlyRealIdentifiers) {
  // Ids out of step or not numbers store the name, which reads back as it was.
  SaveLanguages(List{"Deutsch", "Klingon", "Elvish", "Dothraki"}, List{"1031", "abc", "70000"});
  EXPECT_EQ(Stored(1), "1031");
  EXPECT_EQ(Stored(2), "Klingon");
  EXPECT_EQ(Stored(3), "Elvish");
  EXPECT_EQ(Stored(4), "Dothraki");
  EXPECT_EQ(Stored(5), "<missing>");
}

TEST_F(LanguageListTest, ExpertStartAndEndCarryTheList) {
  StoreLanguages({{1, "1031"}, {2, "Plattdeutsch"}});
  LoadExpertSettings();
  EXPECT_THAT(Items(LanguageIds()), ElementsAre("1031", "0"));
  LanguageNames().Delete(0);
  LanguageIds().Delete(0);
  SaveExpertSettings();
  EXPECT_EQ(Stored(1), "Plattdeutsch");
  EXPECT_EQ(Stored(2), "<missing>");
}

// ---- The dialog ---------------------------------------------------------------------------------

class LangDlgTest : public LanguageListTest {
protected:
  struct Dictionaries : host::TStringList {
    Dictionaries() {
      AddObject("German", reinterpret_cast<void*>(std::uintptr_t{1031}));
      AddObject("Français", reinterpret_cast<void*>(std::uintptr_t{1036}));
      AddObject("Русский", reinterpret_cast<void*>(std::uintptr_t{1049}));
    }
  };
  static std::vector<TLangEntry> E(std::initializer_list<TLangEntry> e) { return e; }
};

TEST_F(LangDlgTest, FillsFromListsWithIdsInStep) {
  TFLangDlg dlg(List{"English", "Plattdeutsch", "Dansk"}, List{"2057", "abc"}, Dictionaries{});
  EXPECT_EQ(dlg.Languages(), E({{"English", 2057}, {"Plattdeutsch", 0}, {"Dansk", 0}}));
  EXPECT_EQ(dlg.Dictionaries(), E({{"German", 1031}, {"Français", 1036}, {"Русский", 1049}}));
  EXPECT_EQ(dlg.ItemIndex(), -1);
  EXPECT_FALSE(dlg.DelEnabled() || dlg.UpEnabled() || dlg.DownEnabled() || dlg.AddEnabled());
}

TEST_F(LangDlgTest, AddTakesTheDictionaryIdOfAnEqualNameAndRefusesDuplicates) {
  TFLangDlg dlg(List{"English"}, List{"2057"}, Dictionaries{});
  dlg.SetEditText("ENGLISH");
  EXPECT_FALSE(dlg.AddEnabled());
  dlg.BtnAddClick();  // a stale click changes nothing
  EXPECT_EQ(dlg.Languages().size(), 1u);

  dlg.SetEditText("FRANÇAIS");  // case ignored beyond ASCII too
  EXPECT_TRUE(dlg.AddEnabled());
  dlg.BtnAddClick();
  EXPECT_FALSE(dlg.AddEnabled());
  dlg.SetEditText("Plattdeutsch");
  dlg.BtnAddClick();
  dlg.SetEditText("français");
  EXPECT_FALSE(dlg.AddEnabled());
  EXPECT_EQ(dlg.Languages(), E({{"English", 2057}, {"FRANÇAIS", 1036}, {"Plattdeutsch", 0}}));
}

TEST_F(LangDlgTest, DeleteAndMoveKeepNamesAndIdsInStep) {
  TFLangDlg dlg(List{"A", "B", "C", "D"}, List{"1031", "0", "1036", "1049"}, Dictionaries{});
  dlg.SelectLanguage(0);
  EXPECT_TRUE(dlg.DelEnabled());
  EXPECT_FALSE(dlg.UpEnabled());
  EXPECT_TRUE(dlg.DownEnabled());
  dlg.BtnUpClick();  // not enabled: no change
  dlg.BtnDownClick();
  dlg.BtnDownClick();
  EXPECT_EQ(dlg.ItemIndex(), 2);
  dlg.BtnDownClick();
  EXPECT_EQ(dlg.ItemIndex(), 3);
  EXPECT_FALSE(dlg.DownEnabled());
  dlg.BtnDownClick();
  EXPECT_EQ(dlg.Languages(), E({{"B", 0}, {"C", 1036}, {"D", 1049}, {"A", 1031}}));
  dlg.BtnUpClick();
  EXPECT_EQ(dlg.ItemIndex(), 2);

  dlg.SelectLanguage(1);
  dlg.BtnDelClick();
  EXPECT_EQ(dlg.ItemIndex(), -1);
  EXPECT_FALSE(dlg.DelEnabled() || dlg.UpEnabled() || dlg.DownEnabled());
  dlg.BtnDelClick();  // nothing selected: nothing removed
  dlg.SelectLanguage(7);
  EXPECT_EQ(dlg.ItemIndex(), -1);

  List names{"old"}, ids{};
  dlg.BtnOKClick(names, ids);
  EXPECT_THAT(Items(names), ElementsAre("B", "A", "D"));
  EXPECT_THAT(Items(ids), ElementsAre("0", "1031", "1049"));

  // A deleted name can be added again.
  dlg.SetEditText("c");
  EXPECT_TRUE(dlg.AddEnabled());
}

TEST_F(LangDlgTest, DictionaryClickDoubleClickAndDrop) {
  TFLangDlg dlg(List{"german"}, List{"0"}, Dictionaries{});
  dlg.DictionaryClick(1);
  EXPECT_EQ(dlg.EditText(), "Français");
  dlg.DictionaryClick(9);
  EXPECT_EQ(dlg.EditText(), "Français");

  EXPECT_FALSE(dlg.DictionaryDragOver(0));  // "German" is there already
  dlg.DictionaryDblClick(0);
  dlg.DictionaryDragDrop(0);
  EXPECT_TRUE(dlg.DictionaryDragOver(2));
  dlg.DictionaryDragDrop(2);
  EXPECT_FALSE(dlg.DictionaryDragOver(2));
  dlg.DictionaryDblClick(1);
  dlg.DictionaryDblClick(1);
  EXPECT_FALSE(dlg.DictionaryDragOver(-1));
  EXPECT_EQ(dlg.Languages(), E({{"german", 0}, {"Русский", 1049}, {"Français", 1036}}));
}

TEST_F(LangDlgTest, DoubleClickShowsTheIdentifier) {
  ports::ScriptedPorts scripted;
  ports::ScopedPorts scope(scripted);
  TFLangDlg dlg(List{"A", "B"}, List{"1031", "0"}, Dictionaries{});
  dlg.LanguagesDblClick();  // nothing selected
  dlg.SelectLanguage(0);
  dlg.LanguagesDblClick();
  dlg.SelectLanguage(1);
  dlg.LanguagesDblClick();
  ASSERT_EQ(scripted.messages().size(), 2u);
  EXPECT_EQ(scripted.messages()[0].text, "1031");
  EXPECT_EQ(scripted.messages()[0].type, ports::mtCustom);
  EXPECT_EQ(scripted.messages()[0].buttons, ports::ButtonSet{ports::mbOK});
  EXPECT_EQ(scripted.messages()[1].text, "0");
}

TEST_F(LangDlgTest, DictionaryListComesFromTheRegisteredSpellers) {
  {
    platform::Registry reg(HKEY_LOCAL_MACHINE);
    for (const char* id : {"1031", "1036", "custom"})
      reg.OpenKey(std::string(spell::kSpellingKey) + "\\" + id + "\\Normal", true);
  }
  StoreLanguages({{1, "1036"}, {2, "Plattdeutsch"}});
  LoadExpertSettings();
  TFLangDlg dlg(LanguageNames(), LanguageIds());
  EXPECT_EQ(dlg.Dictionaries(), E({{spell::LanguageName(1031), 1031}, {spell::LanguageName(1036), 1036}}));
  // Typing a dictionary's name gives its identifier; the result goes back through OK and storage.
  dlg.SetEditText(spell::LanguageName(1031));
  dlg.BtnAddClick();
  ApplyLanguageSetup(dlg);
  SaveExpertSettings();
  EXPECT_EQ(Stored(1), "1036");
  EXPECT_EQ(Stored(2), "Plattdeutsch");
  EXPECT_EQ(Stored(3), "1031");
}

}  // namespace
