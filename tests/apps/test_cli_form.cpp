// vorlect form dump|text: the sample's main form in its two languages and from string modules.
#include "CliTestUtil.h"

#include "platform/Files.h"
#include "platform/pe/Resources.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

const std::string kMain = std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/Main.dfm";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CliForm, DumpShowsEveryTextInTheAskedLanguage) {
  auto english = RunVorlect({"form", "dump", kMain});
  ASSERT_EQ(english.status, 0) << english.err;
  EXPECT_TRUE(Has(english.out, "Caption = 'Orders - Caf\xE9 Sample'"));
  EXPECT_TRUE(Has(english.out, "Caption = '&Find'"));

  auto german = RunVorlect({"form", "dump", kMain, "--language", "1"});
  ASSERT_EQ(german.status, 0) << german.err;
  // Form caption, panel, column title, menu caption and hint, dialog title, in 8-bit bytes as stored.
  for (const char* part : {"Caption = 'Bestellungen - Caf\xE9-Beispiel'", "Text = 'Keine Bestellung gew\xE4hlt'",
                           "Caption = 'Betrag (\x80)'", "Caption = '\xDC&ber...'",
                           "Hint = 'Eine Bestelldatei \xF6" "ffnen'", "Title = 'Bestellungen \xF6" "ffnen'",
                           "Hint = 'Teil eines Kundennamens eingeben'"})
    EXPECT_TRUE(Has(german.out, part)) << part;
  // The tree's nodes are stored in the binary node data: the German text of the first node is there.
  EXPECT_TRUE(Has(german.out, "064B756E64656E")) << "node 'Kunden' in Items.Data";
  EXPECT_FALSE(Has(german.out, "Caption = '&Find'"));
  EXPECT_TRUE(german.err.empty()) << german.err;
}

TEST(CliForm, TextLooksUpNumberedStringsIgnoringCase) {
  auto r = RunVorlect({"form", "text", kMain, "ERRNOFILE", "--language", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Die Bestelldatei %s gibt es nicht.\n");
  auto missing = RunVorlect({"form", "text", kMain, "NoSuchId"});
  ASSERT_EQ(missing.status, 0) << missing.err;
  EXPECT_EQ(missing.out, "nosuchid\n") << "an unknown identifier yields itself, lower-cased";
}

TEST(CliForm, StringModuleReplacesTheTableOfItsForm) {
  TempFolder dir;
  std::map<std::uint32_t, std::u16string> strings = {
      {1000, u"%Forms\\TOtherForm"}, {1001, u"Label1"}, {1002, u"Nicht diese"},
      {1100, u"$MainForm"},         {1101, u"BtnSearch"}, {1102, u"Chercher"},
      {1103, u"%Form%"},            {1104, u"Commandes"}};
  const std::string dll = dir.Path("Strings2.dll");
  WriteFileAtomic(dll, vorlect::platform::BuildStringModule(strings, 0x040C));
  auto r = RunVorlect({"form", "dump", kMain, "--dll", dll});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(r.out, "Caption = 'Commandes'"));
  EXPECT_TRUE(Has(r.out, "Caption = 'Chercher'"));
  EXPECT_TRUE(Has(r.out, "Caption = '&Search:'")) << "texts the module does not hold stay";

  // A module without a block for this form changes nothing.
  const std::string other = dir.Path("Other.dll");
  WriteFileAtomic(other, vorlect::platform::BuildStringModule({{1000, u"$SomeForm"}, {1001, u"X"}, {1002, u"Y"}}));
  auto same = RunVorlect({"form", "dump", kMain, "--dll", other});
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, RunVorlect({"form", "dump", kMain}).out);
}

TEST(CliForm, AMissingOrBrokenModuleIsAnError) {
  TempFolder dir;
  auto missing = RunVorlect({"form", "dump", kMain, "--dll", dir.Path("Nope.dll")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "vorlect: Cannot load string DLL \"" + dir.Path("Nope.dll") + "\".\n");
  const std::string junk = dir.Path("Junk.dll");
  WriteFileAtomic(junk, "not a module");
  auto broken = RunVorlect({"form", "dump", kMain, "--dll", junk});
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err, "vorlect: Cannot load string DLL \"" + junk + "\".\n");
}

TEST(CliDll, StringsListsEveryStringInIdOrder) {
  TempFolder dir;
  const std::string dll = dir.Path("S.dll");
  WriteFileAtomic(dll, vorlect::platform::BuildStringModule(
                           {{1001, u"Zwei\r\nZeilen"}, {1000, u"$MainForm"}, {17, u"Back\\slash"}}));
  auto r = RunVorlect({"dll", "strings", dll});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "17\tBack\\\\slash\n1000\t$MainForm\n1001\tZwei\\r\\nZeilen\n");
  auto missing = RunVorlect({"dll", "strings", dir.Path("none.dll")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.dll"), std::string::npos) << missing.err;
}

}  // namespace
