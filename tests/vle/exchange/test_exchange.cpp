// Project export and import over catalogues built in place: the exact layouts, the messages,
// the rules that keep keys and apostrophes intact, and the resource compiler reading our scripts.
#include "vle/exchange/ProjectExchange.h"

#include "../VleTestUtil.h"
#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "rc/ResourceScript.h"
#include "vle/VLCsv.h"

#include <filesystem>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;
using test::List;
using namespace ports;

class ExchangeTest : public test::VleTest {
protected:
  void SetUp() override {
    VleTest::SetUp();
    CSVType = 0;
  }
  std::string Path(const std::string& name) const { return (fs::path(dir_) / name).string(); }

  int AddForm(TFPrjList& cat, const std::string& name, int languages, std::initializer_list<const char*> lines,
              bool selected = true, int instances = 1) {
    auto e = std::make_unique<TEntry>();
    e->InstanceCount = instances;
    e->LanguageCount = languages;
    e->FormClassName = "T" + name;
    e->FormFile = Path(name + ".dfm");
    for (const char* l : lines) e->Lines.Add(l);
    return cat.AddRow(std::move(e), selected);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> v;
    for (const auto& m : ports_.messages()) v.push_back(m.text);
    return v;
  }

  ScriptedPorts ports_;
  ScopedPorts scope_{ports_};
};

TEST_F(ExchangeTest, CsvHoldsFormFileNotationWithPercentKeysQuoted) {
  TFPrjList cat(std::string("P"), {});
  AddForm(cat, "Main", 2, {"%Form%", "Main", "Haupt", "Button1", "it''s", "Hello'#13#10'World", "\"", "x;y", "",
                           "$Id", "a\\nb", "b"});
  AddForm(cat, "Other", 2, {"%Form%", "O", "O"}, false);
  AddForm(cat, "Empty", 0, {}, true, 0);
  ASSERT_EQ(ExportProject(cat, Path("P.csv"), {}, false), 1);
  const std::string m = Path("Main.dfm");
  EXPECT_EQ(platform::ReadFile(Path("P.csv")), "%;" + m + "\r\n\"%Form%\";Main;Haupt\r\nButton1;it''s;Hello'#13#10'World\r\n"
                                              "\"\"\"\";\"x;y\";\"\"\r\n\"$Id\";a\\nb;b\r\n");
  EXPECT_THAT(Texts(), testing::ElementsAre("1 Instances of TVorlect have been exported\rin file P.csv."));

  // Read back, the blocks give exactly the lines that were written.
  const auto blocks = ReadProjectCsv(platform::ReadFile(Path("P.csv")), false);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].formFile, m);
  EXPECT_EQ(blocks[0].Languages(), 2);
  const auto lines = BlockLines(blocks[0], 2, nullptr);
  EXPECT_THAT(lines, testing::ElementsAre("%Form%", "Main", "Haupt", "Button1", "it''s", "Hello'#13#10'World", "\"",
                                          "x;y", "", "$Id", "a\\nb", "b"));
}

TEST_F(ExchangeTest, PerLanguageFilesReplaceOlderOnesWhole) {
  platform::WriteFileAtomic(Path("T3.csv"), "stale");
  TFPrjList cat(std::string("P"), {});
  AddForm(cat, "Main", 2, {"%Form%", "Main", "Haupt", "B", "OK", "Ja"});
  ports_.queueAnswer(mrYes);
  ASSERT_EQ(ExportProject(cat, Path("T.csv"), {}), 1);
  EXPECT_EQ(ports_.messages()[0].text,
            "Do you want additional separate files for each language?\rTheir names would be T1.csv, T2.csv etc..");
  EXPECT_EQ(ports_.messages()[0].buttons, mbYesNoCancel);
  EXPECT_EQ(platform::ReadFile(Path("T2.csv")), "%;" + Path("Main.dfm") + "\r\n\"%Form%\";Haupt\r\nB;Ja\r\n");
  EXPECT_TRUE(fs::exists(Path("T1.csv")));
  EXPECT_FALSE(fs::exists(Path("T3.csv")));

  ports_.clear();
  ports_.queueAnswer(mrCancel);
  EXPECT_EQ(ExportProject(cat, Path("U.csv"), {}), -1);
  EXPECT_FALSE(fs::exists(Path("U.csv")));
}

TEST_F(ExchangeTest, ExportRefusesBadNamesAndReportsAnEmptySelection) {
  TFPrjList cat(std::string("P"), {});
  AddForm(cat, "Main", 1, {"%Form%", "Main"}, false);
  EXPECT_EQ(ExportProject(cat, Path("*.csv"), {}, false), -1);
  EXPECT_EQ(ExportProject(cat, Path("P.txt"), {}, false), -1);
  EXPECT_THAT(Texts(), testing::ElementsAre("Please select an existing .RC/.CSV file or enter a valid file name.\rYou "
                                            "cannot use jokers (*, ?) in the file name.",
                                            "file format not yet implemented"));
  ports_.clear();
  EXPECT_EQ(ExportProject(cat, Path("P.csv"), {}, false), 0);
  EXPECT_EQ(platform::ReadFile(Path("P.csv")), "");
  EXPECT_THAT(Texts(), testing::ElementsAre("0 Instances of TVorlect have been exported\rin file P.csv.",
                                            "You have to select the forms which are to be exported."));
  ports_.clear();
  InfoSel = false;
  EXPECT_EQ(ExportProject(cat, Path("S1.rc"), {}, false), 0);
  EXPECT_FALSE(fs::exists(Path("S1.rc")));  // no script without forms
  EXPECT_EQ(ports_.messages().size(), 1u);

  // A file that cannot be created is reported, and nothing is half-written.
  ports_.clear();
  ports_.queueAnswer(mrAbort);
  EXPECT_EQ(ExportProject(cat, Path("missing/P.csv"), {}, false), -1);
  EXPECT_EQ(ports_.messages().back().text, "File P.csv\rcould not be created.");
}

TEST_F(ExchangeTest, ResourceScriptsFollowTheIdRuleAndCompile) {
  TFPrjList cat(std::string("P"), {});
  std::vector<std::string> big = {"%Form%", "Big", "Gross"};
  for (int i = 1; i < 50; ++i) big.insert(big.end(), {"K" + std::to_string(i), "e", "d"});  // ids 1000..1100
  auto e = std::make_unique<TEntry>();
  e->InstanceCount = 1;
  e->LanguageCount = 2;
  e->FormClassName = "TBig";
  e->FormFile = Path("Big.dfm");
  for (const auto& l : big) e->Lines.Add(l);
  cat.AddRow(std::move(e), true);
  AddForm(cat, "Main", 2, {"B", "Hello'#13#10'World", "it''s \"x\""});
  AddForm(cat, "Small", 1, {"C", "c"});

  ASSERT_EQ(ExportProject(cat, Path("Strings1.rc"), {}, false), 3);
  EXPECT_EQ(cat.DllBaseName, "Strings");
  EXPECT_TRUE(cat.CompileDllsEnabled);
  const std::string two = platform::ReadFile(Path("Strings2.rc"));
  EXPECT_TRUE(two.starts_with("STRINGTABLE\r\nBEGIN\r\n    1000, \"%TBig\"\r\n    1001, \"%Form%\"\r\n    1002, \"Gross\"\r\n"));
  EXPECT_NE(two.find("    1200, \"%TMain\"\r\n    1201, \"B\"\r\n    1202, \"it\\047s \\042x\\042\"\r\nEND\r\n"),
            std::string::npos);
  EXPECT_EQ(two.find("TSmall"), std::string::npos);  // one language only: not in file 2
  const std::string one = platform::ReadFile(Path("Strings1.rc"));
  EXPECT_NE(one.find("    1202, \"Hello\\nWorld\"\r\n    1300, \"%TSmall\"\r\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("Strings3.rc")));

  for (const std::string& script : {one, two}) {
    std::vector<platform::Resource> res;
    ASSERT_NO_THROW(res = rc::CompileResourceScript(script, {}));
    bool found = false;
    for (const auto& r : res)
      if (r.name.Number() == 1202 / 16 + 1) {
        const auto block = platform::DecodeStringBlock(r.data);
        found = true;
        EXPECT_EQ(block[1202 % 16], script == one ? u"Hello\nWorld" : u"it's \"x\"");
      }
    EXPECT_TRUE(found);
  }

  ports_.clear();
  ASSERT_EQ(ExportProject(cat, Path("Texts12.rc"), {}, false), 3);
  EXPECT_EQ(cat.DllBaseName, "Texts");
  EXPECT_TRUE(fs::exists(Path("Texts1.rc")));
}

TEST_F(ExchangeTest, ResourceIdsBeyondSixteenBitsAreRefused) {
  TFPrjList cat(std::string("P"), {});
  auto e = std::make_unique<TEntry>();
  e->InstanceCount = 1;
  e->LanguageCount = 1;
  e->FormClassName = "THuge";
  e->FormFile = Path("Huge.dfm");
  for (int i = 0; i < 33000; ++i) {
    e->Lines.Add("K");
    e->Lines.Add("t");
  }
  cat.AddRow(std::move(e), true);
  ports_.queueAnswer(mrAbort);
  EXPECT_EQ(ExportProject(cat, Path("H1.rc"), {}, false), -1);
  EXPECT_FALSE(fs::exists(Path("H1.rc")));
}

TEST_F(ExchangeTest, HeadersAreToldApartFromKeysOfEarlierFiles) {
  EXPECT_TRUE(IsCsvHeaderLine("%;C:\\App\\Main.dfm"));
  EXPECT_TRUE(IsCsvHeaderLine("$,Main.dfm"));
  EXPECT_FALSE(IsCsvHeaderLine("%Form%;Main;Haupt"));  // written unquoted by earlier exports
  EXPECT_FALSE(IsCsvHeaderLine("\"%Form%\";Main"));
  EXPECT_FALSE(IsCsvHeaderLine("$1;text"));
  EXPECT_FALSE(IsCsvHeaderLine("%"));

  const std::string file =
      "%;C:\\App\\Main.dfm\r\n%Form%;Main;Haupt\nButton1;it'#39's;l'homme\rShort\n\n\r\n"
      "$,\"D:\\a,b\\Other.dfm\"\r\nKey,a\\nb,c'#39'd\r\n%;Third.dfm\r\n";
  const auto blocks = ReadProjectCsv(file, false);
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].formFile, "C:\\App\\Main.dfm");
  EXPECT_EQ(blocks[0].kind, TBlockKind::Notation);
  EXPECT_EQ(blocks[0].rows.size(), 3u);  // the empty line is no row
  // A short row is padded; a bare apostrophe is quoted again; notation stays as it is.
  EXPECT_THAT(BlockLines(blocks[0], blocks[0].Languages(), nullptr),
              testing::ElementsAre("%Form%", "Main", "Haupt", "Button1", "it'#39's", "l''homme", "Short", "", ""));
  EXPECT_EQ(blocks[1].formFile, "D:\\a,b\\Other.dfm");
  EXPECT_EQ(blocks[1].separator, ',');
  EXPECT_EQ(blocks[1].kind, TBlockKind::Text);  // per-form layout: real texts
  EXPECT_THAT(BlockLines(blocks[1], 2, nullptr), testing::ElementsAre("Key", "a'#13#10'b", "c''d"));
  EXPECT_EQ(blocks[2].Languages(), -1);
}

TEST_F(ExchangeTest, FilesASpreadsheetSavedReadAsWritten) {
  EXPECT_TRUE(IsCsvHeaderLine("\"%\";\"C:\\App\\Main.dfm\";;"));
  EXPECT_TRUE(IsCsvHeaderLine("\"$\",\"Main.dfm\""));
  EXPECT_FALSE(IsCsvHeaderLine("\"%\";\"text\";\"more\""));  // a key "%" of an earlier export
  EXPECT_FALSE(IsCsvHeaderLine("\"%\";;;"));

  // A separator line, headers in quotes, every row padded to the widest, LF line ends, and a line
  // break typed into a cell.
  const std::string file =
      "sep=;\n\"%\";\"C:\\App\\Main.dfm\";;;\n\"%Form%\";\"Main\";;\n\"Label1\";\"it''s\";\"two\nlines\";\n"
      "\"%\";\"C:\\App\\Wide.dfm\";;;\n\"%Form%\";\"W\";\"W2\";\"W3\"\n\"Memo1\";;;\n";
  const auto blocks = ReadProjectCsv(file, false);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].formFile, "C:\\App\\Main.dfm");
  EXPECT_EQ(blocks[0].separator, ';');
  EXPECT_EQ(blocks[0].rowLines, (std::vector<std::size_t>{3, 4}));
  EXPECT_EQ(blocks[1].rowLines, (std::vector<std::size_t>{7, 8}));
  // The padding is no language; empty texts up to a form's languages are its texts.
  EXPECT_EQ(blocks[0].Languages(), 2);
  EXPECT_EQ(blocks[0].Languages(2), 2);
  EXPECT_EQ(blocks[1].Languages(), 3);
  EXPECT_EQ(blocks[1].Languages(1), 3);
  EXPECT_THAT(BlockLines(blocks[0], 2, nullptr),
              testing::ElementsAre("%Form%", "Main", "", "Label1", "it''s", "two'#13#10'lines"));
  EXPECT_THAT(BlockLines(blocks[1], 3, nullptr), testing::ElementsAre("%Form%", "W", "W2", "W3", "Memo1", "", "", ""));

  // The form file reads the same whether the file names its separator or not.
  const auto plain = ReadProjectCsv(file.substr(6), false);
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[1].rows, blocks[1].rows);
  // A comma separator named in front of a header that is unquoted.
  const auto comma = ReadProjectCsv("sep=,\r\n%,Main.dfm,,\r\nKey,\"a,b\",\r\n", false);
  ASSERT_EQ(comma.size(), 1u);
  EXPECT_EQ(comma[0].rows[0], (std::vector<std::string>{"Key", "a,b", ""}));
}

TEST_F(ExchangeTest, KeysThatWouldReadAsHeadersAreNotExported) {
  TFPrjList cat(std::string("P"), {});
  AddForm(cat, "Main", 1, {"%Form%", "Main", "%", "x"});
  ports_.queueAnswer(mrAbort);
  EXPECT_EQ(ExportProject(cat, Path("P.csv"), {}, false), -1);
  EXPECT_THAT(Texts(), testing::ElementsAre("The key \"%\" of form " + Path("Main.dfm") +
                                            " cannot be exported:\ra key that is only \"%\" or \"$\" would be read "
                                            "as a form's header.\rPlease rename it first."));
  EXPECT_FALSE(fs::exists(Path("P.csv")));
  // Resource scripts have no headers to confuse.
  ports_.clear();
  EXPECT_EQ(ExportProject(cat, Path("S1.rc"), {}, false), 1);
}

TEST_F(ExchangeTest, Utf8FilesHoldRealCharactersPerLanguageCodePage) {
  LanguageNames().Add("English");
  LanguageNames().Add("Russian");
  LanguageIds().Add("1033");
  LanguageIds().Add("1049");
  TFPrjList cat(std::string("P"), {});
  AddForm(cat, "Main", 2, {"Label1", "it''s sch'#246'n", "\xCF\xF0\xE8\xE2\xE5\xF2", "L2", "a'#13#10'b", "C:\\new"});
  TExportOptions o;
  o.utf8 = true;
  ASSERT_EQ(ExportProject(cat, Path("U.csv"), o, false), 1);
  EXPECT_EQ(platform::ReadFile(Path("U.csv")),
            "\xEF\xBB\xBF%;" + Path("Main.dfm") + "\r\nLabel1;it's schön;Привет\r\nL2;a\\nb;C:\\\\new\r\n");

  const auto blocks = ReadProjectCsv(platform::ReadFile(Path("U.csv")), false);  // the mark says UTF-8
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].kind, TBlockKind::Utf8);
  // Unchanged texts keep their notation; a changed one is written for its language.
  auto block = blocks[0];
  block.rows[0][2] = "Привет, мир";
  EXPECT_THAT(BlockLines(block, 2, &cat.Entry(0).Lines),
              testing::ElementsAre("Label1", "it''s sch'#246'n", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0", "L2",
                                   "a'#13#10'b", "C:\\new"));
  EXPECT_THAT(BlockLines(block, 2, nullptr)[1], "it''s sch\xF6n");
}

TEST_F(ExchangeTest, ImportOfAFileThatCannotBeReadSaysSo) {
  TFPrjList cat(std::string("P"), {});
  ports_.queueAnswer(mrAbort);
  EXPECT_EQ(ImportProject(cat, Path("none.csv")), -1);
  EXPECT_THAT(Texts(), testing::ElementsAre("File " + Path("none.csv") + "\rcould not be opened."));
  ports_.clear();
  EXPECT_EQ(ImportProject(cat, Path("x.rc")), -1);
  EXPECT_THAT(Texts(), testing::ElementsAre("file format not yet implemented",
                                            "0 Instances of TVorlect have been imported.",
                                            "You have to select the forms which are to be imported."));
  ports_.clear();
  EXPECT_EQ(ImportProject(cat, Path("*.csv")), -1);
  EXPECT_TRUE(ports_.messages().empty());
}

}  // namespace
}  // namespace vorlect::vle
