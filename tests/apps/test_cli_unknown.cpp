// Forms holding components of classes the framework does not know, through update, export,
// import and dump as a user runs them.
#include "CliProjectUtil.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

namespace {

using vorlect::testing::Has;
using vorlect::testing::WriteOneFormProject;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class CliUnknownClasses : public vorlect::testing::WithOwnRegistry {};

const char* const kComponents =
    "object WildForm: TWildForm\r\n"
    "  Caption = 'Calendar'\r\n"
    "  object KingLabel1: TKingLabel\r\n"
    "    Left = 8\r\n"
    "    Width = 80\r\n"
    "    Alignment = taCenter\r\n"
    "    Caption = 'May'\r\n"
    "    Hint = 'Month'\r\n"
    "    Items.Strings = (\r\n"
    "      'one'\r\n"
    "      'two')\r\n"
    "  end\r\n"
    "  object Box1: TKingPanel\r\n"
    "    Width = 100\r\n"
    "    Title.Caption = 'Inside'\r\n"
    "    object Inner: TKingButton\r\n"
    "      Width = 10\r\n"
    "      Caption = 'Go'\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object Timer1: TKingTimer\r\n"
    "    Hint = 'Ticks'\r\n"
    "    Interval = 10\r\n"
    "  end\r\n";
const char* const kTable = "  object Vorlect1: TVorlect\r\n    Languages = 2\r\n  end\r\nend\r\n";

TEST_F(CliUnknownClasses, UpdateExportImportAndDumpCarryTheirTexts) {
  const std::string dpr = WriteOneFormProject(dir_.Path(""), "Wild", "WildMain", "TWildForm", std::string(kComponents) + kTable);
  const std::string dfm = dir_.Path("WildMain.dfm"), csv = dir_.Path("all.csv");

  Result update = RunVorlect({"form", "update", dfm});
  ASSERT_EQ(update.status, 0) << update.err;
  // Caption and hint of the label, the nested button's caption, the non-visual one's hint; not
  // the list, nor the sub-object's caption.
  EXPECT_TRUE(Has(ReadFile(dfm), "      'KingLabel1'\r\n      'May'\r\n      ''\r\n      '\".Hint'\r\n      'Month'\r\n"
                                 "      ''\r\n      'Inner'\r\n      'Go'\r\n      ''\r\n      'Timer1'\r\n      ''\r\n"
                                 "      ''\r\n      '\".Hint'\r\n      'Ticks'\r\n      '')\r\n"))
      << ReadFile(dfm);
  EXPECT_EQ(ReadFile(dfm).rfind(kComponents, 0), 0u) << "only the table changes";

  ASSERT_EQ(RunVorlect({"project", "export", dpr, csv, "--no"}).status, 0);
  std::string rows = ReadFile(csv);
  EXPECT_TRUE(Has(rows, "KingLabel1;May;\"\"\r\n\"\"\".Hint\";Month;\"\"\r\nInner;Go;\"\"\r\n")) << rows;
  rows = Replaced(rows, "KingLabel1;May;\"\"", "KingLabel1;May;Mai");
  rows = Replaced(rows, "\".Hint\";Month;\"\"", "\".Hint\";Month;Monat");
  rows = Replaced(rows, "Inner;Go;\"\"", "Inner;Go;Los");
  rows = Replaced(rows, "\".Hint\";Ticks;\"\"", "\".Hint\";Ticks;Takt");
  WriteFileAtomic(csv, rows);
  Result import = RunVorlect({"project", "import", dpr, csv, "--no"});
  ASSERT_EQ(import.status, 0) << import.err;
  EXPECT_EQ(ReadFile(dfm).rfind(kComponents, 0), 0u) << "only the table changes";

  Result german = RunVorlect({"form", "dump", dfm, "--language", "1"});
  ASSERT_EQ(german.status, 0) << german.err;
  std::string expected = Replaced(kComponents, "Caption = 'May'", "Caption = 'Mai'");
  expected = Replaced(expected, "Hint = 'Month'", "Hint = 'Monat'");
  expected = Replaced(expected, "Caption = 'Go'", "Caption = 'Los'");
  expected = Replaced(expected, "Hint = 'Ticks'", "Hint = 'Takt'");
  expected = Replaced(expected, "Caption = 'Calendar'", "Caption = ''");  // no text for it in language 1
  EXPECT_EQ(german.out.rfind(expected, 0), 0u) << german.out;
}

const char* const kReportForm =
    "object WildForm: TWildForm\r\n"
    "  Caption = 'Sales'\r\n"
    "  object KingLabel1: TKingLabel\r\n"
    "    Caption = 'May'\r\n"
    "    Hint = 'Month'\r\n"
    "  end\r\n"
    "  object Report1: TKingReport\r\n"
    "    Title = 'Totals'\r\n"
    "    Query = 'select sum(x) from t'\r\n"
    "    Choices.Strings = (\r\n"
    "      'Daily'\r\n"
    "      'Weekly')\r\n"
    "  end\r\n"
    "  object Grid1: TKingGrid\r\n"
    "    Columns = <\r\n"
    "      item\r\n"
    "        Title.Caption = 'Name'\r\n"
    "      end\r\n"
    "      item\r\n"
    "        Title.Caption = 'Age'\r\n"
    "      end>\r\n"
    "  end\r\n"
    "  object Box1: TKingPanel\r\n"
    "    object Shown1: TKingDBLabel\r\n"
    "      Caption = 'a field value'\r\n"
    "      Hint = 'Customer'\r\n"
    "    end\r\n"
    "  end\r\n";

const char* const kReportSettings = R"({
  "accepted": ["kept as it is"],
  "translate": {"TKingReport": ["Title", "Choices"], "TKingGrid": ["Columns.Title.Caption"]},
  "never": {"TKingDBLabel": ["Caption"], "*": ["Query"]}
}
)";

void WriteReportProject(const vorlect::testing::TempFolder& dir) {
  WriteOneFormProject(dir.Path(""), "Rep", "RepMain", "TWildForm", std::string(kReportForm) + kTable);
  WriteFileAtomic(dir.Path("Rep.vorlect.json"), kReportSettings);
}

const char* const kReportTable =
    "      'KingLabel1'\r\n      'May'\r\n      ''\r\n      '\".Hint'\r\n      'Month'\r\n      ''\r\n"
    "      'Report1'\r\n      'Totals'\r\n      ''\r\n      '\"'\r\n      'Daily'\r\n      ''\r\n      '\"'\r\n"
    "      'Weekly'\r\n      ''\r\n      'Grid1'\r\n      'Name'\r\n      ''\r\n      '\"'\r\n      'Age'\r\n      ''\r\n"
    "      'Shown1'\r\n      ''\r\n      ''\r\n      '\".Hint'\r\n      'Customer'\r\n      '')\r\n";

// The settings file beside the project names more texts of third-party classes (a title, a list,
// collection titles) and texts never to translate; capture, export, import and a load in
// language 1 all follow it.
TEST_F(CliUnknownClasses, TheProjectSettingsFileAddsAndWithholdsTextsOfUnknownClasses) {
  WriteReportProject(dir_);
  const std::string dpr = dir_.Path("Rep.dpr"), dfm = dir_.Path("RepMain.dfm"), csv = dir_.Path("rep.csv");
  Result update = RunVorlect({"project", "update", dpr, "--yes"});
  ASSERT_EQ(update.status, 0) << update.err;
  EXPECT_TRUE(Has(ReadFile(dfm), kReportTable)) << ReadFile(dfm);
  EXPECT_EQ(ReadFile(dfm).rfind(kReportForm, 0), 0u) << "only the table changes";

  // `form update` with the same file as --settings gives the same table.
  WriteFileAtomic(dir_.Path("Copy.dfm"), std::string(kReportForm) + kTable);
  Result formUpdate = RunVorlect({"form", "update", dir_.Path("Copy.dfm"), "--settings", dir_.Path("Rep.vorlect.json")});
  ASSERT_EQ(formUpdate.status, 0) << formUpdate.err;
  EXPECT_TRUE(Has(ReadFile(dir_.Path("Copy.dfm")), kReportTable)) << ReadFile(dir_.Path("Copy.dfm"));

  ASSERT_EQ(RunVorlect({"project", "export", dpr, csv, "--no"}).status, 0);
  std::string rows = ReadFile(csv);
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{{"May;\"\"", "May;Mai"},
                                                                                 {"Totals;\"\"", "Totals;Summen"},
                                                                                 {"Weekly;\"\"", "Weekly;Woche"},
                                                                                 {"Daily;\"\"", "Daily;Tag"},
                                                                                 {"Age;\"\"", "Age;Alter"},
                                                                                 {"Name;\"\"", "Name;Nom"},
                                                                                 {"Customer;\"\"", "Customer;Kunde"}})
    rows = Replaced(rows, from, to);
  WriteFileAtomic(csv, rows);
  Result import = RunVorlect({"project", "import", dpr, csv, "--no"});
  ASSERT_EQ(import.status, 0) << import.err;

  Result german = RunVorlect({"form", "dump", dfm, "--language", "1", "--settings", dir_.Path("Rep.vorlect.json")});
  ASSERT_EQ(german.status, 0) << german.err;
  for (const char* part : {"Caption = 'Mai'", "Title = 'Summen'", "'Tag'\r\n      'Woche')", "Query = 'select sum(x) from t'",
                           "Title.Caption = 'Nom'", "Title.Caption = 'Alter'", "Caption = 'a field value'",
                           "Hint = 'Kunde'"})
    EXPECT_TRUE(Has(german.out, part)) << part << "\n" << german.out;
  EXPECT_TRUE(Has(ReadFile(dir_.Path("Rep.vorlect.json")), "kept as it is"));
}

TEST_F(CliUnknownClasses, ADamagedSettingsFileStopsTheRunNamingFileLineAndColumn) {
  WriteReportProject(dir_);
  const std::string settings = dir_.Path("Rep.vorlect.json"), dfm = dir_.Path("RepMain.dfm");
  const std::string form = ReadFile(dfm);
  WriteFileAtomic(settings, "{\n  \"translate\": {\"TKingReport\": [\"Title\",]}\n}\n");
  Result update = RunVorlect({"project", "update", dir_.Path("Rep.dpr"), "--yes"});
  EXPECT_EQ(update.status, 1);
  EXPECT_TRUE(Has(update.err, settings + ":2:")) << update.err;
  EXPECT_EQ(ReadFile(dfm), form);

  WriteFileAtomic(settings, "{\n  \"never\": {\n    \"TKingDBLabel\": [\"Caption\", 7]\n  }\n}\n");
  Result dump = RunVorlect({"form", "dump", dfm, "--settings", settings});
  EXPECT_EQ(dump.status, 1);
  EXPECT_TRUE(Has(dump.err, settings + ":3:33: a property path must be a string")) << dump.err;
  EXPECT_TRUE(dump.out.empty());
}

// A real project whose forms hold a third-party label class: its captions enter the tables.
TEST_F(CliUnknownClasses, CorpusProjectLabelsOfAnUnknownClassEnterTheTables) {
  const fs::path project = fs::path(VORLECT_CORPUS_DIR) / "projects" / "kingcal-demo-binary-forms";
  if (!fs::is_directory(project)) GTEST_SKIP() << "corpus project not found at " << project;
  fs::copy(project, dir_.Path("kc"), fs::copy_options::recursive);
  // The corpus is kept read-only, and a read-only form is never rewritten: the copy is the user's.
  for (const auto& e : fs::recursive_directory_iterator(dir_.Path("kc")))
    fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  const std::string dpr = dir_.Path("kc/Kingcal.dpr"), csv = dir_.Path("kc.csv");
  ASSERT_EQ(RunVorlect({"project", "add-component", dpr, "--languages", "2", "--yes"}).status, 0);
  ASSERT_EQ(RunVorlect({"project", "update", dpr, "--yes"}).status, 0);
  ASSERT_EQ(RunVorlect({"project", "export", dpr, csv, "--no"}).status, 0);
  const std::string rows = ReadFile(csv);
  int labels = 0;
  for (size_t at = 0; (at = rows.find("\nKingLabel", at)) != std::string::npos; ++at) ++labels;
  EXPECT_EQ(labels, 18) << rows;
  EXPECT_TRUE(Has(rows, "\nKingLabel12;May;\"\"\r\n")) << rows;
}

}  // namespace
