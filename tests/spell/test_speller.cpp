// Finding, loading and shutting down an engine through the registry.
#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>

#include "SpellTestUtil.h"
#include "platform/Registry.h"
#include "spell/SpellRes.h"
#include "spell/SpellerRegistration.h"

namespace vorlect::spell::test {
namespace {

namespace fs = std::filesystem;
using platform::HKEY_LOCAL_MACHINE;
using platform::Registry;

class SpellerTest : public SpellTest {
protected:
  void WriteSpeller(unsigned lcid, const std::string& engine, const std::string& dictionary) {
    Registry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(SpellerKeyOf(lcid), true));
    reg.WriteString("Engine", engine);
    reg.WriteString("Dictionary", dictionary);
  }
  std::string CustomValue() {
    Registry reg(HKEY_LOCAL_MACHINE);
    return reg.OpenKeyReadOnly(kCustomDictionariesKey) ? reg.ReadString("1") : "<no key>";
  }
  void SetCustomValue(const std::string& value) {
    Registry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(kCustomDictionariesKey, true));
    reg.WriteString("1", value);
  }
};

TEST(SpellResultTest, OnlyTheLowWordIsTheError) {
  EXPECT_NO_THROW(CheckSpellResult(0));
  EXPECT_NO_THROW(CheckSpellResult(0x00050000));
  try {
    CheckSpellResult(0x00070002);
    FAIL() << "no exception";
  } catch (const ESpellError& e) {
    EXPECT_STREQ(e.what(), "Spelling error No 2");
  }
  EXPECT_EQ(SpellResString(SpellCaption), "Spelling \u2014 %s");
  EXPECT_EQ(SpellResString(SpellNumeralsInStart), "Numerals in start of word");
  EXPECT_EQ(SpellResString(1), "");
}

TEST_F(SpellerTest, SublanguageFallsBackToThePrimaryLanguage) {
  if (!RegisterSystem("de_DE")) GTEST_SKIP() << "de_DE dictionary is not installed";
  ASSERT_FALSE(Registry(HKEY_LOCAL_MACHINE).KeyExists(SpellerKeyOf(2055)));
  TSpeller speller;
  speller.Open(2055, 0);  // German (Switzerland)
  ASSERT_TRUE(speller.IsOpen());
  EXPECT_EQ(speller.DictionaryPath(), std::string(kSystemDictionaries) + "/de_DE.dic");
  EXPECT_EQ(speller.MainDictRecord().language, 2055);  // still the language asked for
  EXPECT_THAT(VerifyAll(speller, "Guten Tag"), ::testing::IsEmpty());
}

TEST_F(SpellerTest, NoSpellerLeavesItClosedAndTheCustomValueAlone) {
  TSpeller speller;
  EXPECT_NO_THROW(speller.Open(1041, 0));
  EXPECT_FALSE(speller.IsOpen());
  EXPECT_EQ(CustomValue(), "");  // key created, but no made-up "CUSTOM.DIC" stored
  EXPECT_NO_THROW(speller.Close());
}

TEST_F(SpellerTest, EmptyCustomValueBecomesTheDictionaryFolderAndIsStored) {
  if (!HasDictionary("en_US")) GTEST_SKIP() << "en_US dictionary is not installed";
  const std::string folder = dir_ + "/dicts";
  fs::create_directories(folder);
  fs::create_symlink(std::string(kSystemDictionaries) + "/en_US.aff", folder + "/en_US.aff");
  fs::create_symlink(std::string(kSystemDictionaries) + "/en_US.dic", folder + "/en_US.dic");
  WriteSpeller(1033, DefaultEnginePath(), folder + "/en_US.dic");
  SetCustomValue("");
  TSpeller speller;
  speller.Open(1033, 0);
  ASSERT_TRUE(speller.IsOpen());
  EXPECT_EQ(CustomValue(), folder + "/CUSTOM.DIC");
  EXPECT_TRUE(fs::exists(folder + "/CUSTOM.DIC"));  // created when missing
  speller.Close();
  speller.Open(1033, 0);  // the stored path is read back
  EXPECT_EQ(speller.CustomDictionaryPath(), folder + "/CUSTOM.DIC");
}

TEST_F(SpellerTest, EngineThatCannotBeLoadedIsReportedAndLeftClosed) {
  WriteSpeller(1033, dir_ + "/nowhere.so", "x.dic");
  TSpeller speller;
  try {
    speller.Open(1033, 0);
    FAIL() << "no exception";
  } catch (const ESpellError& e) {
    EXPECT_EQ(std::string(e.what()), "Error loading Spell DLL " + dir_ + "/nowhere.so");
  }
  EXPECT_FALSE(speller.IsOpen());
  // A library without the entry points is no engine either.
  WriteSpeller(1033, "libm.so.6", "x.dic");
  EXPECT_THROW(speller.Open(1033, 0), ESpellError);
  EXPECT_FALSE(speller.IsOpen());
}

TEST_F(SpellerTest, EngineErrorWhileOpeningLeavesItOpenForClose) {
  WriteSpeller(1033, DefaultEnginePath(), dir_ + "/missing.dic");
  SetCustomValue(dir_ + "/CUSTOM.DIC");
  TSpeller speller;
  bool fired = false;
  try {
    speller.Open(1033, 0, [&] { fired = true; });
    FAIL() << "no exception";
  } catch (const ESpellError& e) {
    EXPECT_STREQ(e.what(), "Spelling error No 3");
  }
  EXPECT_TRUE(fired);  // the open event comes before the dictionaries
  EXPECT_TRUE(speller.IsOpen());
  EXPECT_NO_THROW(speller.Close());
  EXPECT_FALSE(speller.IsOpen());
}

TEST_F(SpellerTest, OpenTwiceIsOneOpeningAndCloseTerminatesTheEngine) {
  if (!RegisterSystem("en_US")) GTEST_SKIP() << "en_US dictionary is not installed";
  TSpeller speller;
  speller.Open(1033, 0);
  const std::uint32_t id = speller.SpellerId();
  const TSpellEntryPoints entry = speller.EntryPoints();
  speller.Open(1033, 0);
  EXPECT_EQ(speller.SpellerId(), id);
  // Keep the module loaded past Close to see that the id is gone.
  TSpeller other;
  other.Open(1033, 0);
  speller.Close();
  EXPECT_NE(entry.SpellOptions(id, 0) & 0xFFFF, 0u);
  EXPECT_NO_THROW(speller.SetOptions(0));  // closed: nothing to send
}

}  // namespace
}  // namespace vorlect::spell::test
