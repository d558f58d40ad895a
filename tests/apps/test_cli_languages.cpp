// Table languages on the command line: numbered from 0 in every option, as the table numbers
// them; a language the form lacks is an error; texts printed readably on a UTF-8 terminal.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;

namespace {

using vorlect::testing::Cp;
using vorlect::testing::Has;

class CliLanguages : public vorlect::testing::WithSampleProject {
protected:
  void SetUp() override {
    WithSampleProject::SetUp();
    ConfigureSampleLanguages();
  }
};

TEST_F(CliLanguages, EveryTableLanguageOptionCountsFromZero) {
  // English is language 0 of the sample's table, German 1, Russian 2.
  Result english = RunVorlect({"project", "replace", Sample("Sample.dpr"), "--find", "Orders", "--replace", "Commandes",
                               "--languages", "0", "--dry-run"});
  ASSERT_EQ(english.status, 0) << english.err;
  EXPECT_TRUE(Has(english.out, "Orders - Caf\u00e9 Sample")) << english.out;
  Result german = RunVorlect({"project", "replace", Sample("Sample.dpr"), "--find", "Bestell", "--replace", "X",
                              "--languages", "1", "--dry-run"});
  ASSERT_EQ(german.status, 0) << german.err;
  EXPECT_TRUE(Has(german.out, "Bestellungen - Caf\u00e9-Beispiel")) << german.out;
  Result beyond = RunVorlect({"project", "replace", Sample("Sample.dpr"), "--find", "a", "--replace", "b",
                              "--languages", "3", "--dry-run"});
  EXPECT_EQ(beyond.status, 1);
  EXPECT_TRUE(Has(beyond.err, "no language 3")) << beyond.err;

  EXPECT_EQ(RunVorlect({"project", "spell", Sample("Sample.dpr"), "--languages", "x"}).status, 2);
  EXPECT_EQ(RunVorlect({"project", "spell", Sample("Sample.dpr"), "--languages", "-1"}).status, 2);

  Result help = RunVorlect({"project", "replace", "--help"});
  EXPECT_TRUE(Has(help.out, "numbered from 0")) << help.out;
}

// A language the form's translation component does not have: the component's message and exit 1,
// never the form in language 0.
TEST_F(CliLanguages, ALanguageTheFormLacksIsAnError) {
  for (const char* command : {"dump", "text"}) {
    std::vector<std::string> args{"form", command, Sample("Main.dfm")};
    if (std::string(command) == "text") args.push_back("ErrNoFile");
    args.insert(args.end(), {"--language", "3"});
    Result r = RunVorlect(args);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.out, "") << command;
    EXPECT_TRUE(Has(r.err, "Value must not be higher than")) << command << ": " << r.err;
  }
  EXPECT_EQ(RunVorlect({"form", "dump", Sample("Main.dfm"), "--language", "2"}).status, 0);
}

TEST_F(CliLanguages, TextsArePrintedInUtf8OfTheirLanguage) {
  Result russian = RunVorlect({"form", "text", Sample("Main.dfm"), "ErrNoFile", "--language", "2"});
  ASSERT_EQ(russian.status, 0) << russian.err;
  EXPECT_EQ(russian.out, "\u0424\u0430\u0439\u043b \u0437\u0430\u043a\u0430\u0437\u043e\u0432 %s "
                         "\u043d\u0435 \u0441\u0443\u0449\u0435\u0441\u0442\u0432\u0443\u0435\u0442.\n");
  Result raw = RunVorlect({"form", "text", Sample("Main.dfm"), "ErrNoFile", "--language", "2", "--raw"});
  EXPECT_EQ(raw.out, Cp("\u0424\u0430\u0439\u043b \u0437\u0430\u043a\u0430\u0437\u043e\u0432 %s "
                        "\u043d\u0435 \u0441\u0443\u0449\u0435\u0441\u0442\u0432\u0443\u0435\u0442.",
                        1251) + "\n");

  // Code points of the Russian texts, not their 1251 bytes read as 1252.
  Result dump = RunVorlect({"form", "dump", Sample("Main.dfm"), "--language", "2", "--style", "unicode"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_TRUE(Has(dump.out, "Caption = #1047#1072#1082#1072#1079#1099")) << dump.out.substr(0, 400);
}

// A CSV file saved as UTF-8 without its byte-order mark, imported without --utf8: asked about;
// --yes reads it as UTF-8, --no as 8-bit text.
TEST_F(CliLanguages, AnImportThatLooksLikeUtf8AsksHowToReadIt) {
  const std::string before = ReadFile(Sample("Main.dfm"));
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--utf8", "--no"}).status, 0);
  const std::string csv = ReadFile(dir_.Path("all.csv"));
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  WriteFileAtomic(dir_.Path("all.csv"), csv.substr(3));

  Result yes = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("all.csv"), "--yes"});
  EXPECT_EQ(yes.status, 0) << yes.err;
  EXPECT_TRUE(Has(yes.err, "looks like UTF-8 - read it as UTF-8?")) << yes.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);

  Result no = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"});
  EXPECT_TRUE(Has(no.err, "looks like UTF-8 - read it as UTF-8?")) << no.err;
  EXPECT_NE(ReadFile(Sample("Main.dfm")), before) << "read as 8-bit text, as answered";

  // A plain 8-bit export has bytes that are no UTF-8: nothing to ask.
  WriteFileAtomic(Sample("Main.dfm"), before);
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("plain.csv"), "--no"}).status, 0);
  Result plain = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("plain.csv"), "--no"});
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_FALSE(Has(plain.err, "looks like UTF-8")) << plain.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);
}

// The same question for one form's CSV file, under both of its commands; without --yes or --no
// and without a terminal it is answered No, as the project import answers it.
TEST_F(CliLanguages, AFormImportThatLooksLikeUtf8AsksHowToReadIt) {
  const std::string before = ReadFile(Sample("Main.dfm"));
  ASSERT_EQ(RunVorlect({"form", "csv-export", Sample("Main.dfm"), dir_.Path("main.csv"), "--utf8"}).status, 0);
  const std::string csv = ReadFile(dir_.Path("main.csv"));
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  WriteFileAtomic(dir_.Path("main.csv"), csv.substr(3));
  const std::string question = "File " + dir_.Path("main.csv") + "\nlooks like UTF-8 - read it as UTF-8?";

  for (const char* command : {"csv-import", "import"}) {
    std::vector<std::string> args{"form", command, Sample("Main.dfm"), dir_.Path("main.csv")};
    if (std::string(command) == "import") args.insert(args.end(), {"--format", "csv"});
    std::vector<std::string> yesArgs = args;
    yesArgs.push_back("--yes");
    Result yes = RunVorlect(yesArgs);
    EXPECT_EQ(yes.status, 0) << command << ": " << yes.err;
    EXPECT_TRUE(Has(yes.err, question)) << command << ": " << yes.err;
    EXPECT_EQ(ReadFile(Sample("Main.dfm")), before) << command << ": read as UTF-8, the texts it came from";

    Result unasked = RunVorlect(args);
    EXPECT_EQ(unasked.status, 0) << command << ": " << unasked.err;
    EXPECT_TRUE(Has(unasked.err, question)) << command << ": " << unasked.err;
    EXPECT_NE(ReadFile(Sample("Main.dfm")), before) << command << ": read as 8-bit text";
    WriteFileAtomic(Sample("Main.dfm"), before);
  }
  const Result answeredNo = RunVorlect({"form", "csv-import", Sample("Main.dfm"), dir_.Path("main.csv"), "--no"});
  EXPECT_EQ(answeredNo.status, 0) << answeredNo.err;
  EXPECT_TRUE(Has(answeredNo.err, question)) << answeredNo.err;
  EXPECT_NE(ReadFile(Sample("Main.dfm")), before);

  // With its byte-order mark the file is UTF-8 without --utf8 and without a question: every
  // column comes back in its own code page (the Russian one in 1251).
  WriteFileAtomic(Sample("Main.dfm"), before);
  WriteFileAtomic(dir_.Path("main.csv"), csv);
  const Result marked = RunVorlect({"form", "csv-import", Sample("Main.dfm"), dir_.Path("main.csv"), "--no"});
  EXPECT_EQ(marked.status, 0) << marked.err;
  EXPECT_FALSE(Has(marked.err, "looks like UTF-8")) << marked.err;
  EXPECT_EQ(ReadFile(Sample("Main.dfm")), before);
}

}  // namespace
