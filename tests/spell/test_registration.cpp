// Finding installed dictionaries, registering them, listing speller languages.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>

#include "SpellTestUtil.h"
#include "host/framework/Classes.h"
#include "platform/Registry.h"
#include "spell/Langs.h"
#include "spell/SpellerRegistration.h"

namespace vorlect::spell::test {
namespace {

namespace fs = std::filesystem;
using platform::HKEY_LOCAL_MACHINE;
using platform::Registry;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

class RegistrationTest : public SpellTest {
protected:
  void SetUp() override {
    SpellTest::SetUp();
    a_ = dir_ + "/a";
    b_ = dir_ + "/b";
    fs::create_directories(a_);
    fs::create_directories(b_);
  }
  void Pair(const std::string& folder, const std::string& name, bool withAff = true) {
    std::ofstream(folder + "/" + name + ".dic") << "1\nword\n";
    if (withAff) std::ofstream(folder + "/" + name + ".aff") << "SET UTF-8\n";
  }
  std::string Value(const std::string& key, const std::string& name) {
    Registry reg(HKEY_LOCAL_MACHINE);
    return reg.OpenKeyReadOnly(key) ? reg.ReadString(name) : "<no key>";
  }
  std::string a_, b_;
};

TEST_F(RegistrationTest, FindsPairsOneLanguageEachFirstFolderWins) {
  Pair(a_, "de_DE");
  Pair(b_, "de_DE");
  Pair(a_, "fr");          // no region: serves French (France) only when nothing regional does
  Pair(b_, "fr_FR");
  Pair(a_, "it");
  Pair(a_, "en_US-large");
  Pair(a_, "ru_RU", false);  // no .aff
  Pair(a_, "zz_QQ");         // no such locale
  const auto found = FindInstalledDictionaries({a_, b_, dir_ + "/missing"});
  std::vector<std::pair<TLanguage, std::string>> got;
  for (const auto& d : found) got.emplace_back(d.language, d.dictionary);
  EXPECT_THAT(got, ElementsAre(std::pair<TLanguage, std::string>{1031, a_ + "/de_DE.dic"},
                               std::pair<TLanguage, std::string>{1033, a_ + "/en_US-large.dic"},
                               std::pair<TLanguage, std::string>{1036, b_ + "/fr_FR.dic"},
                               std::pair<TLanguage, std::string>{1040, a_ + "/it.dic"}));
}

TEST_F(RegistrationTest, WritesOneKeyPerLanguageAndFixesTheCustomDictionary) {
  Pair(a_, "de_DE");
  Pair(a_, "ru_RU");
  {
    Registry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(SpellerKeyOf(1040), true));  // ours, dictionary gone
    reg.WriteString("Engine", "/old/place/libvorlectspell.so");
    ASSERT_TRUE(reg.OpenKey(SpellerKeyOf(1050), true));  // somebody else's
    reg.WriteString("Engine", "/opt/other/engine.so");
    ASSERT_TRUE(reg.OpenKey(kCustomDictionariesKey, true));
    reg.WriteString("1", dir_ + "/no/such/folder/CUSTOM.DIC");  // cannot be created
  }
  std::string report;
  EXPECT_EQ(RegisterSpellers(report, {a_}, "/x/libvorlectspell.so"), 2);
  EXPECT_EQ(Value(SpellerKeyOf(1031), "Engine"), "/x/libvorlectspell.so");
  EXPECT_EQ(Value(SpellerKeyOf(1031), "Dictionary"), a_ + "/de_DE.dic");
  EXPECT_EQ(Value(SpellerKeyOf(1049), "Dictionary"), a_ + "/ru_RU.dic");
  EXPECT_EQ(Value(SpellerKeyOf(1040), "Engine"), "<no key>");
  EXPECT_EQ(Value(SpellerKeyOf(1050), "Engine"), "/opt/other/engine.so");
  const std::string fallback = dir_ + "/data/vorlect/CUSTOM.DIC";
  EXPECT_EQ(Value(kCustomDictionariesKey, "1"), fallback);
  EXPECT_TRUE(fs::is_directory(dir_ + "/data/vorlect"));
  EXPECT_THAT(report, HasSubstr("1031\tde_DE\t" + a_ + "/de_DE.dic\n"));
  EXPECT_THAT(report, HasSubstr("removed 1040\n"));

  // A writable custom dictionary the user chose stays.
  {
    Registry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(kCustomDictionariesKey, true));
    reg.WriteString("1", b_ + "/MINE.DIC");
  }
  RegisterSpellers(report, {a_}, "/x/libvorlectspell.so");
  EXPECT_EQ(Value(kCustomDictionariesKey, "1"), b_ + "/MINE.DIC");
}

TEST_F(RegistrationTest, SpellerLanguagesListsNumericKeysWithTheirLcid) {
  host::TStringList list;
  list.Add("stale");
  GetSpellerLanguages(list, 0);
  EXPECT_EQ(list.Count(), 0);  // no spelling key at all

  Pair(a_, "de_DE");
  Pair(a_, "en_US");
  std::string report;
  RegisterSpellers(report, {a_}, "/x/libvorlectspell.so");
  Registry(HKEY_LOCAL_MACHINE).OpenKey(std::string(kSpellingKey) + "\\Legacy", true);
  GetSpellerLanguages(list, 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Strings(0), "German");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(list.Objects(0)), 1031u);
  EXPECT_EQ(list.Strings(1), "English");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(list.Objects(1)), 1033u);
  GetSpellerLanguages(list, 2);
  EXPECT_EQ(list.Strings(0), "Deutsch");
  GetSpellerLanguages(list, 3);
  EXPECT_EQ(list.Strings(0), "DEU");
  EXPECT_EQ(ListSpellers(), "1031\t" + LanguageName(1031) + "\n1033\t" + LanguageName(1033) + "\n");
}

TEST(LangsTest, CodePagesCharsetsAndLocales) {
  EXPECT_EQ(LanguageCharset(1033), 0);
  EXPECT_EQ(LanguageCharset(1049), 204);
  EXPECT_EQ(LanguageCharset(1029), 238);
  EXPECT_EQ(LanguageCodePage(1032), 1253);
  EXPECT_EQ(LanguageOfLocale("de_CH"), 2055);
  EXPECT_EQ(LanguageOfLocale("en-GB"), 2057);
  EXPECT_EQ(LanguageOfLocale("nonsense"), 0);
  EXPECT_EQ(LocaleOfLanguage(1031), "de_DE");
  EXPECT_THAT(LanguageName(1031, lnkEnglish), "German");
  EXPECT_EQ(LanguageName(0), "");
  // Thai and the East Asian code pages have their own character sets.
  EXPECT_EQ(LanguageCharset(1054), 222);
  EXPECT_EQ(LanguageCharset(1041), 128);
  EXPECT_EQ(LanguageCharset(2052), 134);
  EXPECT_EQ(LanguageCharset(1042), 129);
  EXPECT_EQ(LanguageCharset(1028), 136);
}

TEST(LangsTest, InstalledLanguagesCaseAndCapitals) {
  EXPECT_TRUE(IsInstalledLanguage(1033));
  EXPECT_TRUE(IsInstalledLanguage(2055));
  EXPECT_FALSE(IsInstalledLanguage(0));
  EXPECT_FALSE(IsInstalledLanguage(0x0C7F));
  EXPECT_EQ(UpperFirst("hello", 1033), "Hello");
  EXPECT_EQ(UpperFirst("istanbul", 1055), "\xDDstanbul");  // Turkish dotted capital I in 1254
  EXPECT_EQ(UpperFirst("\xE4rger", 1031), "\xC4rger");    // Ärger in 1252
  EXPECT_EQ(UpperFirst("", 1033), "");
  EXPECT_TRUE(SameTextIgnoreCase("\xEF\xF0\xE8\xE2\xE5\xF2", "\xCF\xD0\xC8\xC2\xC5\xD2", 1251));  // привет
  EXPECT_FALSE(SameTextIgnoreCase("test", "tests", 1252));

  const char* saved = std::getenv("LC_ALL");
  const std::string keep = saved ? saved : "";
  ::setenv("LC_ALL", "de_AT.UTF-8", 1);
  EXPECT_EQ(SystemDefaultLanguage(), 3079);
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(SystemDefaultLanguage(), 1033);
  if (saved) ::setenv("LC_ALL", keep.c_str(), 1);
  else ::unsetenv("LC_ALL");
}

}  // namespace
}  // namespace vorlect::spell::test
