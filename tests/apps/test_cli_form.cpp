// vorlect form dump|text: the sample's main form in its two languages and from string modules.
#include "CliProjectUtil.h"

#include "platform/Files.h"
#include "platform/pe/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

using vorlect::testing::Has;

const std::string kMain = (vorlect::testing::kSampleProject / "Main.dfm").string();

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

// --component: the form subcommands work on the translation component it names.
class CliFormComponent : public vorlect::testing::WithOwnRegistry {
protected:
  void SetUp() override {
    WithOwnRegistry::SetUp();
    WriteFileAtomic(form_, kTwo);
  }
  static constexpr const char* kFirst =
      "  object First: TVorlect\r\n    Languages = 1\r\n    Words.Strings = (\r\n      'ErrA'\r\n      'Alpha')\r\n"
      "  end\r\n";
  const std::string kTwo = std::string("object Form1: TForm1\r\n  Caption = 'Main'\r\n") + kFirst +
                           "  object Second: TVorlect\r\n    Languages = 1\r\n    Words.Strings = (\r\n"
                           "      'ErrA'\r\n      'Beta')\r\n  end\r\nend\r\n";
  const std::string form_ = dir_.Path("Two.dfm");
};

TEST_F(CliFormComponent, EachSubcommandWorksOnTheNamedComponent) {
  EXPECT_EQ(RunVorlect({"form", "text", form_, "ErrA"}).out, "Alpha\n");
  EXPECT_EQ(RunVorlect({"form", "text", form_, "ErrA", "--component", "second"}).out, "Beta\n");
  auto dump = RunVorlect({"form", "dump", form_, "--component", "Second"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.out.rfind("object Second: TVorlect", 0), 0u) << dump.out;
  EXPECT_FALSE(Has(dump.out, "Alpha"));

  auto exported = RunVorlect({"form", "csv-export", form_, "-", "--component", "Second"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  ASSERT_TRUE(Has(exported.out, "ErrA;Beta\r\n")) << exported.out;
  const std::string csv = dir_.Path("second.csv");
  WriteFileAtomic(csv, exported.out.replace(exported.out.find("Beta"), 4, "Gamma"));
  auto imported = RunVorlect({"form", "csv-import", form_, csv, "--component", "Second"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  const std::string now = ReadFile(form_);
  EXPECT_TRUE(Has(now, kFirst)) << "the first component is left alone";
  EXPECT_TRUE(Has(now, "      'ErrA'\r\n      'Gamma')\r\n    CharSets.Strings = (\r\n")) << now;
  EXPECT_EQ(RunVorlect({"form", "text", form_, "ErrA", "--component", "Second"}).out, "Gamma\n");

  // The form's caption enters the second table only.
  auto update = RunVorlect({"form", "update", form_, "--component", "Second", "--no"});
  ASSERT_EQ(update.status, 0) << update.err;
  EXPECT_EQ(update.out, "updated\t" + form_ + "\n");
  EXPECT_TRUE(Has(ReadFile(form_), std::string(kFirst) + "  object Second: TVorlect\r\n"));
  EXPECT_TRUE(Has(ReadFile(form_), "      'Gamma'\r\n      '%Form%'\r\n      'Main')\r\n"));
}

TEST_F(CliFormComponent, AWrongNameIsAnErrorAndChangesNothing) {
  const std::string csv = dir_.Path("t.csv");
  WriteFileAtomic(csv, "ErrA;x\r\n");
  const std::vector<std::vector<std::string>> commands = {
      {"form", "csv-export", form_, "-"}, {"form", "csv-import", form_, csv, "--yes"}, {"form", "update", form_},
      {"form", "dump", form_},            {"form", "text", form_, "ErrA"}};
  for (std::vector<std::string> args : commands) {
    args.insert(args.end(), {"--component", "Nope"});
    auto r = RunVorlect(args);
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_EQ(r.err, "vorlect: " + form_ + ": the form holds no translation component named Nope\n") << args[1];
    EXPECT_EQ(r.out, "") << args[1];
  }
  EXPECT_EQ(ReadFile(form_), kTwo);
}

// A CSV file with one more language gives the component that language, with its font.
TEST_F(CliFormComponent, ImportingALanguageStoresItsCharSet) {
  const std::string main = dir_.Path("Main.dfm");
  WriteFileAtomic(main, ReadFile(kMain));
  const std::string csv = dir_.Path("main.csv");
  ASSERT_EQ(RunVorlect({"form", "csv-export", main, csv}).status, 0);
  std::string rows = ReadFile(csv), wider;
  for (size_t pos = 0, eol; (eol = rows.find("\r\n", pos)) != std::string::npos; pos = eol + 2)
    wider += rows.substr(pos, eol - pos) + (pos == 0 ? "" : ";x") + "\r\n";
  WriteFileAtomic(csv, wider);
  auto r = RunVorlect({"form", "csv-import", main, csv, "--yes"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string now = ReadFile(main);
  EXPECT_TRUE(Has(now, "    Languages = 4\r\n"));
  const size_t charSets = now.find("    CharSets.Strings = (\r\n");
  ASSERT_NE(charSets, std::string::npos) << now.substr(now.find("object Vorlect1"));
  const std::string list = now.substr(charSets, now.find(")\r\n", charSets) + 3 - charSets);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 5) << list;
  EXPECT_TRUE(list.ends_with("      'MS Sans Serif,1')\r\n")) << list;  // the new language's font
  EXPECT_EQ(RunVorlect({"form", "text", main, "ErrNoFile", "--language", "3"}).out, "x\n");
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
