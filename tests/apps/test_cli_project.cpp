// The project, language, string-module and spelling commands as a user runs them, on copies of
// the sample project and with a registry of their own.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

namespace {

using vorlect::testing::Cp;

class CliProject : public vorlect::testing::WithSampleProject {};

TEST_F(CliProject, LanguagesAreSetAndListedWithTheirIdentifiers) {
  Result set = RunVorlect({"languages", "set", "1031,Plattdeutsch"});
  ASSERT_EQ(set.status, 0) << set.err;
  Result list = RunVorlect({"languages", "list"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out.rfind("1031\t", 0), 0u) << list.out;
  EXPECT_NE(list.out.find("\n0\tPlattdeutsch\n"), std::string::npos) << list.out;
  EXPECT_EQ(RunVorlect({"languages", "set", "70000"}).status, 1);
  EXPECT_EQ(RunVorlect({"languages", "list"}).out, list.out) << "a refused list leaves the stored one";
  ASSERT_EQ(RunVorlect({"languages", "set", "1033"}).status, 0);
  EXPECT_EQ(RunVorlect({"languages", "list"}).out.find('\n'), RunVorlect({"languages", "list"}).out.size() - 1);
}

// Export to resource scripts, one string module per language, and the form read from the module
// of a language whose code page is not the default one.
TEST_F(CliProject, SampleStringModulesGiveEveryLanguageItsTexts) {
  ASSERT_NO_FATAL_FAILURE(ConfigureSampleLanguages());
  Result build = RunVorlect({"project", "build-dlls", Sample("Sample.dpr"), "Strings", "--yes"});
  ASSERT_EQ(build.status, 0) << build.out << build.err;
  EXPECT_NE(build.out.find("Compiled DLL Strings3.dpr to Strings3.dll"), std::string::npos) << build.out;
  EXPECT_EQ(ReadFile(Sample("Strings1.rc")).rfind("STRINGTABLE\r\nBEGIN\r\n    1000, \"%TMainForm\"\r\n", 0), 0u);

  Result ru = RunVorlect({"form", "dump", Sample("Main.dfm"), "--dll", Sample("Strings3.dll")});
  ASSERT_EQ(ru.status, 0) << ru.err;
  EXPECT_NE(ru.out.find("Caption = '" + Cp("Заказы - пример «Кафе»", 1251) + "'"), std::string::npos);
  EXPECT_NE(ru.out.find(Cp("Сумма (€)", 1251)), std::string::npos);
  Result de = RunVorlect({"form", "dump", Sample("Main.dfm"), "--dll", Sample("Strings2.dll")});
  ASSERT_EQ(de.status, 0) << de.err;
  EXPECT_NE(de.out.find("Caption = '" + Cp("Bestellungen - Café-Beispiel", 1252) + "'"), std::string::npos);
  // In UTF-8, decoded with the module's code page; --raw gives the bytes as the table holds them.
  Result text = RunVorlect({"form", "text", Sample("Main.dfm"), "ErrNoFile", "--dll", Sample("Strings3.dll")});
  EXPECT_EQ(text.out, "Файл заказов %s не существует.\n");
  Result raw = RunVorlect({"form", "text", Sample("Main.dfm"), "ErrNoFile", "--dll", Sample("Strings3.dll"), "--raw"});
  EXPECT_EQ(raw.out, Cp("Файл заказов %s не существует.", 1251) + "\n");
}

// The scripts the export writes are the ones the build looks for, whatever the base name ends in;
// a build with nothing to build fails.
TEST_F(CliProject, StringModulesOfShortAndNumberedBaseNames) {
  ASSERT_NO_FATAL_FAILURE(ConfigureSampleLanguages());
  for (const std::string base : {"S", "Ab", "Str2"}) {
    Result build = RunVorlect({"project", "build-dlls", Sample("Sample.dpr"), base, "--yes"});
    EXPECT_EQ(build.status, 0) << base << "\n" << build.out << build.err;
    for (int i = 1; i <= 3; ++i)
      EXPECT_TRUE(fs::exists(Sample(base + std::to_string(i) + ".dll"))) << base << i;
  }
  Result none = RunVorlect({"project", "build-dlls", Sample("Sample.dpr"), "Nothing", "--no-export"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no resource script Nothing1.rc"), std::string::npos) << none.err;
}

TEST_F(CliProject, ExportToStandardOutputIsTheFileItWouldWrite) {
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"}).status, 0);
  Result out = RunVorlect({"project", "export", Sample("Sample.dpr"), "-", "--no"});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, ReadFile(dir_.Path("all.csv")));
  EXPECT_FALSE(fs::exists("-.csv"));
  EXPECT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), "-", "--per-language"}).status, 1);
}

// A file read as UTF-8 that is not: the place of the first stray byte, and no form touched.
TEST_F(CliProject, Utf8ImportOfOtherBytesStopsWithLineAndColumn) {
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--utf8", "--no"}).status, 0);
  std::string csv = ReadFile(dir_.Path("all.csv"));
  const std::size_t at = csv.find("Bereit");
  ASSERT_NE(at, std::string::npos);
  csv[at + 1] = '\xe9';  // "B\xe9reit", as a Latin-1 editor would save it
  const std::size_t line = 1 + std::count(csv.begin(), csv.begin() + at, '\n');
  const std::size_t column = at - csv.rfind('\n', at);
  vorlect::platform::WriteFileAtomic(dir_.Path("all.csv"), csv);
  const std::string before = ReadFile(Sample("Main.dfm"));
  Result import = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("all.csv"), "--utf8", "--no"});
  EXPECT_EQ(import.status, 1);
  EXPECT_NE(import.err.find("line " + std::to_string(line) + ", column " + std::to_string(column + 1) + ": not UTF-8"),
            std::string::npos)
      << import.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);

  ASSERT_EQ(RunVorlect({"form", "csv-export", Sample("Main.dfm"), dir_.Path("main.csv"), "--utf8"}).status, 0);
  std::string form = ReadFile(dir_.Path("main.csv"));
  form.insert(form.find('\n') + 3, "\xff");
  vorlect::platform::WriteFileAtomic(dir_.Path("main.csv"), form);
  Result formImport = RunVorlect({"form", "csv-import", Sample("Main.dfm"), dir_.Path("main.csv"), "--utf8", "--yes"});
  EXPECT_EQ(formImport.status, 1);
  EXPECT_NE(formImport.err.find("line 2, column 3"), std::string::npos) << formImport.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);
}

TEST_F(CliProject, ExportThenImportLeavesEveryFormFileAsItWas) {
  const std::string before = ReadFile(Sample("Main.dfm"));
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"}).status, 0);
  Result import = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"});
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);

  ASSERT_EQ(RunVorlect({"form", "csv-export", Sample("Main.dfm"), dir_.Path("main.csv")}).status, 0);
  Result formImport = RunVorlect({"form", "csv-import", Sample("Main.dfm"), dir_.Path("main.csv"), "--yes"});
  ASSERT_EQ(formImport.status, 0) << formImport.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);
}

TEST_F(CliProject, AddComponentGivesEveryFormATableAndListShowsIt) {
  Result add = RunVorlect({"project", "add-component", Sample("Sample.dpr"), "--languages", "3", "--yes"});
  ASSERT_EQ(add.status, 0) << add.err;
  EXPECT_NE(add.out.find("already present\t" + Sample("Main.dfm") + "\n"), std::string::npos) << add.out;
  EXPECT_NE(add.out.find("added\t" + Sample("Options.dfm") + "\n"), std::string::npos) << add.out;
  Result list = RunVorlect({"project", "list", Sample("Sample.dpr")});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("3\t95%\tTMainForm\t"), std::string::npos) << list.out;
  // The new table holds the form's caption in the first language.
  EXPECT_NE(list.out.find("3\t50%\tTOptionsForm\t"), std::string::npos) << list.out;
  EXPECT_NE(ReadFile(Sample("Options.pas")).find("Vorlect1: TVorlect;"), std::string::npos);
}

// Update Table without a window: new components enter the table, rows of keys that name no
// component (the sample's numbered strings) stay unless dropped, changed texts follow --yes/--no.
TEST_F(CliProject, UpdateBringsTablesInLineWithTheirForms) {
  const std::string original = ReadFile(Sample("Main.dfm"));
  Result first = RunVorlect({"project", "update", Sample("Sample.dpr")});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.find("updated\t" + Sample("Main.dfm")), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("none\t" + Sample("Options.dfm")), std::string::npos) << first.out;
  const std::string updated = ReadFile(Sample("Main.dfm"));
  EXPECT_NE(updated.find("      'Panel1'\r\n"), std::string::npos);  // a component the table lacked
  EXPECT_NE(updated.find("'ErrNoFile'"), std::string::npos);
  EXPECT_EQ(updated.substr(0, updated.find("Words.Strings")), original.substr(0, original.find("Words.Strings")))
      << "only the table changes";

  Result again = RunVorlect({"project", "update", Sample("Sample.dpr")});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.out.find("unchanged\t" + Sample("Main.dfm")), std::string::npos) << again.out;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), updated);

  // A caption changed in the form: --no keeps the table's text, --yes takes the form's.
  std::string changed = updated;
  const size_t at = changed.find("Caption = '&Find'");
  ASSERT_NE(at, std::string::npos);
  changed.replace(at, 17, "Caption = '&Seek'");
  vorlect::platform::WriteFileAtomic(Sample("Main.dfm"), changed);
  Result no = RunVorlect({"form", "update", Sample("Main.dfm"), "--no"});
  ASSERT_EQ(no.status, 0) << no.err;
  EXPECT_EQ(no.out, "unchanged\t" + Sample("Main.dfm") + "\n");
  EXPECT_NE(no.err.find("String has changed from"), std::string::npos) << no.err;
  Result yes = RunVorlect({"form", "update", Sample("Main.dfm"), "--yes"});
  ASSERT_EQ(yes.status, 0) << yes.err;
  EXPECT_NE(ReadFile(Sample("Main.dfm")).find("      'BtnSearch'\r\n      '&Seek'\r\n      '&Finden'"), std::string::npos);

  Result drop = RunVorlect({"form", "update", Sample("Main.dfm"), "--drop-removed"});
  ASSERT_EQ(drop.status, 0) << drop.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")).find("'ErrNoFile'"), std::string::npos);
  EXPECT_NE(RunVorlect({"form", "update", Sample("Options.dfm")}).status, 0);  // no translation component
}

TEST_F(CliProject, SpellCheckPrintsEveryProblem) {
  if (RunVorlect({"spellers", "register"}).status != 0 ||
      RunVorlect({"spellers", "list"}).out.find("1033\t") == std::string::npos)
    GTEST_SKIP() << "no English (United States) Hunspell dictionary installed (hunspell-en-us)";
  // 79: the default options and the repeated-word check.
  Result r = RunVorlect({"spell", "check", "--language", "1033", "--options", "79", "-"}, "This is a tset of the the checker.");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("\ttset\t"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\tthe"), std::string::npos) << r.out;
  EXPECT_EQ(RunVorlect({"spell", "check", "--language", "1033", "-"}, "All is well.").status, 0);

  // The whole project's translations, each language column in its configured speller language.
  Result none = RunVorlect({"project", "spell", Sample("Sample.dpr")});
  EXPECT_EQ(none.status, 3) << "no language identifiers configured yet";
  ASSERT_NO_FATAL_FAILURE(ConfigureSampleLanguages());
  // Table language 0 (the first column), as the table numbers it.
  Result english = RunVorlect({"project", "spell", Sample("Sample.dpr"), "--languages", "0", "--suggestions", "0"});
  EXPECT_EQ(english.status, 1) << english.err;
  // "&Find" is checked as "Find"; "Caf\xE9" is not an English word; a filter's "txt" is found.
  EXPECT_EQ(english.out.find("\tFind\t"), std::string::npos) << english.out;
  EXPECT_NE(english.out.find(Sample("Main.dfm") + "\t%Form%\t0\t1\tCaf\u00e9\t\n"), std::string::npos) << english.out;
  EXPECT_NE(english.out.find("OpenDialog1 \"\t0\t1\ttxt\t"), std::string::npos) << english.out;
  for (size_t at = 0; (at = english.out.find('\n', at)) != std::string::npos; ++at) {
    if (at + 1 >= english.out.size()) break;
    EXPECT_EQ(english.out.compare(at + 1, Sample("Main.dfm").size(), Sample("Main.dfm")), 0);
  }
}

}  // namespace
