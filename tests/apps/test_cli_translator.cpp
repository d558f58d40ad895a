// PO and XLIFF on the command line: project and form export and import, the CSV aliases, and the
// options that do not fit together.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;

namespace {

class CliTranslator : public vorlect::testing::WithSampleProject {
protected:
  void SetUp() override {
    WithSampleProject::SetUp();
    ConfigureSampleLanguages();
  }
};

TEST_F(CliTranslator, ProjectExportWritesOneFilePerLanguageAndImportKeepsTheForms) {
  const std::string before = ReadFile(Sample("Main.dfm"));
  Result po = RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("po"), "--format", "po"});
  ASSERT_EQ(po.status, 0) << po.err;
  for (const char* f : {"de-DE.po", "ru-RU.po", "messages.pot"}) EXPECT_TRUE(fs::exists(dir_.Path("po/") + f)) << f;
  EXPECT_NE(ReadFile(dir_.Path("po/ru-RU.po")).find("\"Language: ru_RU\\n\""), std::string::npos);
  Result back = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("po"), "--format", "po"});
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_NE(back.err.find("0 form(s) written (0 text(s)), 1 unchanged"), std::string::npos) << back.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);

  Result xlf = RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("xlf"), "--format", "xliff",
                           "--xliff-version", "2.0", "--languages", "2"});
  ASSERT_EQ(xlf.status, 0) << xlf.err;
  EXPECT_FALSE(fs::exists(dir_.Path("xlf/de-DE.xlf")));
  EXPECT_NE(ReadFile(dir_.Path("xlf/ru-RU.xlf")).find("trgLang=\"ru-RU\""), std::string::npos);
}

TEST_F(CliTranslator, OneFormTakesAnEditedTranslation) {
  Result ex = RunVorlect({"form", "export", Sample("Main.dfm"), dir_.Path("one"), "--format", "xliff"});
  ASSERT_EQ(ex.status, 0) << ex.err;
  std::string xlf = ReadFile(dir_.Path("one/de-DE.xlf"));
  const std::string from = "<target state=\"translated\">Bereit</target>";
  const size_t at = xlf.find(from);
  ASSERT_NE(at, std::string::npos) << xlf;
  xlf.replace(at, from.size(), "<target state=\"translated\">Fertig &amp; bereit</target>");
  vorlect::platform::WriteFileAtomic(dir_.Path("one/de-DE.xlf"), xlf);
  Result im = RunVorlect({"form", "import", Sample("Main.dfm"), dir_.Path("one"), "--format", "xliff"});
  ASSERT_EQ(im.status, 0) << im.err;
  EXPECT_NE(im.err.find("written (1 text(s))"), std::string::npos) << im.err;
  EXPECT_NE(ReadFile(Sample("Main.dfm")).find("'Fertig & bereit'"), std::string::npos);
}

TEST_F(CliTranslator, CsvThroughExportIsTheEditorsCsv) {
  Result alias = RunVorlect({"form", "csv-export", Sample("Main.dfm"), "-"});
  Result csv = RunVorlect({"form", "export", Sample("Main.dfm"), "-", "--format", "csv"});
  Result plain = RunVorlect({"form", "export", Sample("Main.dfm"), "-"});
  ASSERT_EQ(alias.status, 0) << alias.err;
  EXPECT_EQ(csv.out, alias.out);
  EXPECT_EQ(plain.out, alias.out);
  const std::string before = ReadFile(Sample("Main.dfm"));
  vorlect::platform::WriteFileAtomic(dir_.Path("main.csv"), alias.out);
  Result im = RunVorlect({"form", "import", Sample("Main.dfm"), dir_.Path("main.csv"), "--yes"});
  ASSERT_EQ(im.status, 0) << im.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);
}

TEST_F(CliTranslator, OptionsThatDoNotFitAreRefused) {
  const std::string dpr = Sample("Sample.dpr");
  Result r = RunVorlect({"project", "export", dpr, dir_.Path("a.csv"), "--languages", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--languages and --xliff-version belong to --format po or xliff"), std::string::npos) << r.err;
  r = RunVorlect({"project", "export", dpr, dir_.Path("po"), "--format", "po", "--languages", "7"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no language 7 (the forms have 3 language(s), numbered from 0)"), std::string::npos) << r.err;
  r = RunVorlect({"project", "export", dpr, "-", "--format", "po"});
  EXPECT_EQ(r.status, 1);
  r = RunVorlect({"form", "export", Sample("About.dfm"), dir_.Path("x"), "--format", "po"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("holds no translation component"), std::string::npos) << r.err;
  r = RunVorlect({"project", "import", dpr, dir_.Path("nothing"), "--format", "po"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("language 1 (de-DE): no file "), std::string::npos) << r.err;
}

}  // namespace
