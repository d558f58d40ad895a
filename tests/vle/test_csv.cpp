#include "vle/VLCsv.h"

#include "VleTestUtil.h"
#include "grid/VLStGrid.h"
#include "host/ports/Ports.h"

#include <optional>

namespace vorlect::vle::test {
namespace {

using ports::mbAbort;
using ports::mbNo;
using ports::mbOK;
using ports::mbYes;

// The editor's layout: titles, font cells, data rows.
std::unique_ptr<grid::TVLStrGrid> MakeTable(const std::vector<std::vector<std::string>>& data, int languages = 2) {
  auto g = std::make_unique<grid::TVLStrGrid>(nullptr);
  g->SetColCount(languages + 1);
  g->SetRowCount(std::max<int>(3, static_cast<int>(data.size()) + 2));
  g->SetFixedRows(2);
  g->SetCells(0, 0, "index");
  g->SetCells(0, 1, "Font/Charset");
  for (int k = 1; k <= languages; ++k) {
    g->SetCells(k, 0, "language " + std::to_string(k - 1));
    g->SetCells(k, 1, "MS Sans Serif, DEFAULT_CHARSET");
    g->SetCharsetCode(k, 1);
  }
  for (size_t r = 0; r < data.size(); ++r)
    for (size_t k = 0; k < data[r].size(); ++k) g->SetCells(static_cast<int>(k), static_cast<int>(r) + 2, data[r][k]);
  return g;
}

std::vector<std::vector<std::string>> DataRows(const grid::TVLStrGrid& g) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 2; r < g.RowCount(); ++r) {
    rows.emplace_back();
    for (int k = 0; k < g.ColCount(); ++k) rows.back().push_back(g.Cells(k, r));
  }
  return rows;
}

bool IsPerFormHeaderForTest(std::string_view line) { return CsvHeaderOf(line, "$").has_value(); }

class CsvTest : public VleTest {
protected:
  void SetUp() override {
    VleTest::SetUp();
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
      const char* v = std::getenv(var);
      savedEnv_.emplace_back(var, v ? std::optional<std::string>(v) : std::nullopt);
    }
    SetLocale(nullptr, nullptr, nullptr);
    CSVType = 0;
    CsvSeparator = ';';
    context.formFile = "D:\\App\\Main.dfm";
    context.haveToolServices = true;
  }
  void TearDown() override {
    for (auto& [var, v] : savedEnv_) {
      if (v) ::setenv(var, v->c_str(), 1);
      else ::unsetenv(var);
    }
    EXPECT_EQ(ports.pendingAnswers(), 0u);
    VleTest::TearDown();
  }
  static void SetLocale(const char* all, const char* numeric, const char* lang) {
    auto set = [](const char* var, const char* v) { v ? ::setenv(var, v, 1) : ::unsetenv(var); };
    set("LC_ALL", all);
    set("LC_NUMERIC", numeric);
    set("LANG", lang);
  }

  ports::ScriptedPorts ports;
  ports::ScopedPorts scoped{ports};
  TCsvContext context;
  std::vector<std::pair<const char*, std::optional<std::string>>> savedEnv_;
};

// ---- fields -------------------------------------------------------------------------------------

TEST_F(CsvTest, FieldWriterQuotesOnlyWhatItMust) {
  EXPECT_EQ(CsvWriteField("a;b", ';'), "\"a;b\"");
  EXPECT_EQ(CsvWriteField("a;b", ','), "a;b");
  EXPECT_EQ(CsvWriteField("x\r\ny", ';'), "x\\ny");
  EXPECT_EQ(CsvWriteField("C:\\Temp", ';'), "C:\\Temp");
  // A lone break would split the row: it is written as a line break.
  EXPECT_EQ(CsvWriteField("a\nb\rc", ';'), "a\\nb\\nc");
  EXPECT_EQ(CsvWriteField("C:\\new\r\nx\ny", ';', TCsvEscape::Exact), "C:\\\\new\\nx\\ly");
}

TEST_F(CsvTest, FieldReaderFollowsTheLayoutIncludingItsQuirks) {
  EXPECT_EQ(CsvReadLine("Button1;OK;Ja", ';'), (std::vector<std::string>{"Button1", "OK", "Ja"}));
  EXPECT_EQ(CsvReadLine("\"\"\"\";Cancel;\"\"", ';'), (std::vector<std::string>{"\"", "Cancel", ""}));
  EXPECT_EQ(CsvReadLine("\"a;b\";\"say \"\"hi\"\"\"", ';'), (std::vector<std::string>{"a;b", "say \"hi\""}));
  EXPECT_EQ(CsvReadLine("x\\ny;\\\\n;a\\b;don'#39't", ';'),
            (std::vector<std::string>{"x\r\ny", "\\\\n", "a\\b", "don't"}));
  // An unterminated quoted field runs to the end and loses its last character.
  EXPECT_EQ(CsvReadLine("\"abc;def", ';'), (std::vector<std::string>{"abc;de"}));
  EXPECT_EQ(CsvReadLine("\"", ';'), (std::vector<std::string>{"\""}));
  std::string rest = "\"\"";
  EXPECT_EQ(CsvReadField(rest, ';'), "");
  EXPECT_EQ(rest, "");
  EXPECT_EQ(CsvReadLine("a\\\\b;C:\\\\new;\\r", ';', true, TCsvEscape::Exact),
            (std::vector<std::string>{"a\\b", "C:\\new", "\r"}));
  EXPECT_EQ(CsvSplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

// ---- the separator ------------------------------------------------------------------------------

TEST_F(CsvTest, RegionalSeparatorFollowsTheLocalesDecimalSign) {
  SetLocale("de_DE.UTF-8", nullptr, "en_US.UTF-8");  // LC_ALL wins
  EXPECT_EQ(RegionalListSeparator(), ';');
  SetLocale(nullptr, "en_US.UTF-8", "fr_FR.UTF-8");  // then LC_NUMERIC
  EXPECT_EQ(RegionalListSeparator(), ',');
  SetLocale("", nullptr, "ru_RU.KOI8-R");
  EXPECT_EQ(RegionalListSeparator(), ';');
  SetLocale(nullptr, nullptr, "ja_JP.eucJP");
  EXPECT_EQ(RegionalListSeparator(), ',');
  for (const char* untold : {"C", "POSIX", "C.UTF-8", "xx_QQ"}) {
    SetLocale(untold, nullptr, nullptr);
    EXPECT_EQ(RegionalListSeparator(), ';') << untold;
  }
  SetLocale(nullptr, nullptr, nullptr);
  EXPECT_EQ(RegionalListSeparator(), ';');

  SetLocale("en_GB.UTF-8", nullptr, nullptr);
  EXPECT_EQ(CsvSeparatorFor(0), ';');
  EXPECT_EQ(CsvSeparatorFor(1), ',');
  EXPECT_EQ(CsvSeparatorFor(2), ',');
  CSVType = 1;
  TFrmCSVSetup dialog;
  EXPECT_EQ(dialog.ItemIndex(), 1);
  EXPECT_EQ(CsvSeparator, ',');
  EXPECT_EQ(dialog.RegionalSettingsLabel(), "Your regional settings are: ,");
  dialog.SetItemIndex(0);
  dialog.Cancel();
  EXPECT_EQ(CSVType, 1);
  dialog.OK();
  EXPECT_EQ(CSVType, 0);
  EXPECT_EQ(CsvSeparator, ';');
}

// ---- export and import --------------------------------------------------------------------------

TEST_F(CsvTest, ExportWritesHeaderAndNonBlankRows) {
  auto table = MakeTable({{"Button1", "OK", "Ja"}, {"\"", "Cancel", ""}, {"  ", "lost", "x"}, {"", "", ""}});
  EXPECT_EQ(ExportTableCsv(*table, context),
            "$;D:\\App\\Main.dfm\r\nButton1;OK;Ja\r\n\"\"\"\";Cancel;\"\"\r\n");
  EXPECT_TRUE(ports.messages().empty());
  EXPECT_EQ(CsvFormFileOf("D:\\App\\Main.pas"), "D:\\App\\Main.dfm");
  EXPECT_EQ(CsvFormFileOf("D:\\App.v2\\Main"), "D:\\App.v2\\Main.dfm");
}

TEST_F(CsvTest, ImportTakesTheSeparatorFromTheHeaderAndExportRecomputesIt) {
  auto table = MakeTable({{"Label1", "a;b", "c,d"}});
  CSVType = 1;
  const std::string file = ExportTableCsv(*table, context).value();
  EXPECT_EQ(file, "$,D:\\App\\Main.dfm\r\nLabel1,a;b,\"c,d\"\r\n");
  CSVType = 0;
  auto target = MakeTable({{"old", "x", "y"}, {"old2", "", ""}});
  ASSERT_TRUE(ImportTableCsv(*target, file, context));
  EXPECT_EQ(DataRows(*target), DataRows(*table));
  EXPECT_EQ(CsvSeparator, ',');
  EXPECT_EQ(ExportTableCsv(*target, context)->substr(0, 2), "$;");
}

TEST_F(CsvTest, ClassicRoundTripKeepsEveryText) {
  const std::vector<std::vector<std::string>> rows = {
      {"Button1", "semi;colon", "comma, too"},
      {"\"", "say \"hi\"", "\"\""},
      {"\".Hint", "two\r\nlines\r\n", "\r\n"},
      {"Label1", "C:\\Temp\\", "\\\\nas\\share"},
      {"Label2", "don't", "'quoted'"},
      {"@Str1", "\xE4\xF6\xFC\xDF \x80", "  padded  "},
      {"Memo1", "", "x"},
  };
  auto table = MakeTable(rows);
  const std::string file = ExportTableCsv(*table, context).value();
  auto target = MakeTable({{"old", "x", "y"}});
  ASSERT_TRUE(ImportTableCsv(*target, file, context));
  EXPECT_EQ(DataRows(*target), rows);

  // A lone line feed comes back as a line break and does not split the row.
  auto lf = MakeTable({{"Label3", "a\nb", "c"}});
  ASSERT_TRUE(ImportTableCsv(*target, ExportTableCsv(*lf, context).value(), context));
  EXPECT_EQ(DataRows(*target), (std::vector<std::vector<std::string>>{{"Label3", "a\r\nb", "c"}}));
}

TEST_F(CsvTest, Utf8RoundTripConvertsEachColumnWithItsCodePage) {
  // "Привет" in cp1251 and "Γειά" in cp1253, with texts the classic layout cannot carry.
  const std::string russian = "\xCF\xF0\xE8\xE2\xE5\xF2", greek = "\xC3\xE5\xE9\xDC";
  const std::vector<std::vector<std::string>> rows = {
      {"Button1", russian, greek},
      {"Label1", russian + "; \"C:\\new\"", "'#39' " + greek + "\r\n\\"},
      {"Label2", "a\rb", "c\nd"},
  };
  auto table = MakeTable(rows);
  table->SetCharsetCode(1, 204);
  table->SetCharsetCode(2, 161);
  context.encoding = CsvEncodingOf(*table, true);
  const std::string file = ExportTableCsv(*table, context).value();
  ASSERT_EQ(file.substr(0, 3), kUtf8Bom);
  EXPECT_NE(file.find("Button1;\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82;\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC\r\n"),
            std::string::npos);

  auto target = MakeTable({});
  target->SetCharsetCode(1, 204);
  target->SetCharsetCode(2, 161);
  TCsvContext plain = context;
  plain.encoding = CsvEncodingOf(*target, false);  // the byte-order mark decides
  ASSERT_TRUE(ImportTableCsv(*target, file, plain));
  EXPECT_EQ(DataRows(*target), rows);
  EXPECT_TRUE(ports.messages().empty());
}

TEST_F(CsvTest, Utf8ImportReplacesMissingCharactersAndSaysSo) {
  auto target = MakeTable({}, 1);  // one DEFAULT_CHARSET (cp1252) column
  context.encoding = CsvEncodingOf(*target, true);
  ASSERT_TRUE(ImportTableCsv(*target, "\xEF\xBB\xBF$;D:\\App\\Main.dfm\r\nLabel1;\xE4\xB8\xAD caf\xC3\xA9\r\n", context));
  EXPECT_EQ(target->Cells(1, 2), "? caf\xE9");
  ASSERT_EQ(ports.messages().size(), 1u);
  EXPECT_EQ(ports.messages()[0].text,
            "Some characters of this CSV file do not exist in the character set of column(s) 1;\rthey were "
            "replaced by question marks.");
  EXPECT_EQ(ports.messages()[0].type, ports::mtWarning);
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbOK}));
}

// A UTF-8 file saved without its byte-order mark, imported as 8-bit text: the user is asked, and
// the answer decides how every column is read; Cancel leaves the table as it was.
TEST_F(CsvTest, ImportOfWhatLooksLikeUtf8AsksHowToReadIt) {
  const std::string file = "$;D:\\App\\Main.dfm\r\nLabel1;caf\xC3\xA9;\xD0\x94\xD0\xB0\r\n";
  const std::string question = "File D:\\In\\de.csv\rlooks like UTF-8 - read it as UTF-8?";
  context.csvFile = "D:\\In\\de.csv";
  auto table = MakeTable({{"Button1", "OK", "Ja"}});
  table->SetCharsetCode(2, 204);
  context.encoding = CsvEncodingOf(*table, false);

  ports.queueAnswer(ports::mrCancel);
  EXPECT_FALSE(ImportTableCsv(*table, file, context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"Button1", "OK", "Ja"}}));
  ASSERT_EQ(ports.messages().size(), 1u);
  EXPECT_EQ(ports.messages()[0].text, question);
  EXPECT_EQ(ports.messages()[0].type, ports::mtConfirmation);
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbYes, mbNo, ports::mbCancel}));

  // Yes: each column from UTF-8 into its own code page (1252, 1251).
  ports.queueAnswer(ports::mrYes);
  ASSERT_TRUE(ImportTableCsv(*table, file, context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"Label1", "caf\xE9", "\xC4\xE0"}}));
  // No: the bytes as they stand, in the columns' code pages.
  ports.queueAnswer(ports::mrNo);
  ASSERT_TRUE(ImportTableCsv(*table, file, context));
  EXPECT_EQ(DataRows(*table),
            (std::vector<std::vector<std::string>>{{"Label1", "caf\xC3\xA9", "\xD0\x94\xD0\xB0"}}));
  EXPECT_EQ(ports.messages().size(), 3u);

  // Nothing to ask: ASCII only, a byte that is no UTF-8, a byte-order mark, or UTF-8 asked for.
  ports.clear();
  ASSERT_TRUE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm\r\nLabel1;cafe;Da\r\n", context));
  ASSERT_TRUE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm\r\nLabel1;caf\xC3\xA9;\xC4\xE0\r\n", context));
  EXPECT_EQ(table->Cells(1, 2), "caf\xC3\xA9");
  ASSERT_TRUE(ImportTableCsv(*table, std::string(kUtf8Bom) + file, context));
  EXPECT_EQ(table->Cells(2, 2), "\xC4\xE0");
  context.encoding.utf8 = true;
  ASSERT_TRUE(ImportTableCsv(*table, file, context));
  EXPECT_TRUE(ports.messages().empty());
}

// Read as UTF-8, a stray byte stops the import with its place; the table stays as it was.
TEST_F(CsvTest, Utf8ImportOfOtherBytesNamesTheFileLineAndColumn) {
  context.csvFile = "de.csv";
  auto table = MakeTable({{"Button1", "OK", "Ja"}});
  context.encoding = CsvEncodingOf(*table, true);
  ports.queueAnswer(ports::mrAbort);
  ports.queueAnswer(ports::mrAbort);
  EXPECT_FALSE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm\r\nLabel1;ok\r\nLabel2;B\xE9reit\r\n", context));
  // The byte-order mark counts in the first line's columns, as an editor shows them.
  EXPECT_FALSE(ImportTableCsv(*table, std::string(kUtf8Bom) + "$;D:\\App\\Main\xFF.dfm\r\n", context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"Button1", "OK", "Ja"}}));
  ASSERT_EQ(ports.messages().size(), 2u);
  EXPECT_EQ(ports.messages()[0].text, "File de.csv\rline 3, column 9: not UTF-8. Nothing was imported.");
  EXPECT_EQ(ports.messages()[0].type, ports::mtError);
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbAbort}));
  EXPECT_EQ(ports.messages()[1].text, "File de.csv\rline 1, column 17: not UTF-8. Nothing was imported.");
}

TEST_F(CsvTest, ImportOfAnotherFormsFileAsksFirst) {
  const std::string file = "$;D:\\Other\\Dlg.dfm\r\nLabel1;x;y\r\n";
  auto table = MakeTable({{"Button1", "OK", "Ja"}, {"", "", ""}});
  const auto before = DataRows(*table);
  ports.queueAnswer(ports::mrNo);
  EXPECT_FALSE(ImportTableCsv(*table, file, context));
  EXPECT_EQ(DataRows(*table), before);
  ASSERT_EQ(ports.messages().size(), 1u);
  EXPECT_EQ(ports.messages()[0].text,
            "This CSV file was created from form\rD:\\Other\\Dlg.dfm,\r    but you are currently editing\r"
            "D:\\App\\Main.dfm.\rDo you still want to import?");
  EXPECT_EQ(ports.messages()[0].type, ports::mtInformation);
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbYes, mbNo}));

  ports.queueAnswer(ports::mrYes);
  EXPECT_TRUE(ImportTableCsv(*table, file, context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"Label1", "x", "y"}}));

  // Same file ignoring case, or no tool services: no question.
  ports.clear();
  context.formFile = "d:\\other\\DLG.DFM";
  EXPECT_TRUE(ImportTableCsv(*table, file, context));
  context.formFile = "(undefined)";
  context.haveToolServices = false;
  EXPECT_TRUE(ImportTableCsv(*table, file, context));
  EXPECT_TRUE(ports.messages().empty());
}

TEST_F(CsvTest, ImportOffersMoreLanguagesUntilDeclined) {
  const std::string file = "$;D:\\App\\Main.dfm\r\nA;1;2;3\r\n\r\nB;4;5;6;7\r\nC;8\r\n$;Next.dfm\r\nD;9;9\r\n";
  auto table = MakeTable({{"Button1", "OK", "Ja"}});
  ports.queueAnswer(ports::mrYes);
  ports.queueAnswer(ports::mrYes);
  ASSERT_TRUE(ImportTableCsv(*table, file, context));
  ASSERT_EQ(ports.messages().size(), 2u);
  EXPECT_EQ(ports.messages()[0].text,
            "This CSV file has more languages than your current setting is.\r\rDo you want to adjust your settings?");
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbYes, mbNo}));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{
                                  {"A", "1", "2", "3", ""}, {"B", "4", "5", "6", "7"}, {"C", "8", "", "", ""}}));
  EXPECT_EQ(table->Cells(3, 1), kDefaultFontCell);
  EXPECT_EQ(table->Cells(4, 1), kDefaultFontCell);
  EXPECT_EQ(table->CharsetCode(4), 1);
  EXPECT_EQ(table->Cells(3, 0), "");  // titled later by the editor

  // Declined once, not asked again; what was left out is named by its lines.
  ports.clear();
  auto narrow = MakeTable({}, 1);
  ports.queueAnswer(ports::mrNo);
  ASSERT_TRUE(ImportTableCsv(*narrow, file, context));
  ASSERT_EQ(ports.messages().size(), 2u);
  EXPECT_EQ(ports.messages()[1].text,
            "Texts beyond the table's last language were not imported:\rline 2 and 4 of the CSV file.");
  EXPECT_EQ(ports.messages()[1].type, ports::mtWarning);
  EXPECT_EQ(DataRows(*narrow), (std::vector<std::vector<std::string>>{{"A", "1"}, {"B", "4"}, {"C", "8"}}));
}

TEST_F(CsvTest, ImportWithoutDataLinesLeavesOneEmptyRow) {
  auto table = MakeTable({{"Button1", "OK", "Ja"}, {"Label1", "x", "y"}});
  table->SetCells(1, 0, "English");
  ASSERT_TRUE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm\r\n", context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"", "", ""}}));
  EXPECT_EQ(table->Cells(1, 0), "English");
  EXPECT_EQ(table->Cells(0, 1), "Font/Charset");
  ASSERT_TRUE(ImportTableCsv(*table, "", context));
  EXPECT_EQ(table->RowCount(), 3);
}

// ---- Add CSV ------------------------------------------------------------------------------------

TEST_F(CsvTest, AddCsvAppendsTitledColumns) {
  auto table = MakeTable({{"Button1", "OK", "Ja"}, {"\"", "Cancel", "Abbrechen"}});
  context.languageNames = {"English", "Deutsch", "Fran\xE7" "ais"};
  ASSERT_TRUE(AddCsv(*table, "Button1;Oui;Si\r\n\"\"\"\";Annuler\\n;x\r\n", context));
  EXPECT_EQ(table->ColCount(), 5);
  EXPECT_EQ(table->Cells(3, 0), "Fran\xE7" "ais");  // names[m - 1]
  // Column 4 holds language 3: titled as the editor titles it.
  EXPECT_EQ(table->Cells(4, 0), "language 3");
  EXPECT_EQ(table->Cells(4, 1), kDefaultFontCell);
  EXPECT_EQ(table->CharsetCode(3), 1);
  EXPECT_EQ(table->Cells(3, 3), "Annuler\\n");  // read without unescaping
  EXPECT_TRUE(ports.messages().empty());
}

TEST_F(CsvTest, AddedColumnsWithoutNamesAreTitledByTheirLanguage) {
  auto table = MakeTable({{"Button1", "OK", "Ja"}});
  context.languageNames.clear();
  ASSERT_TRUE(AddCsv(*table, "Button1;Oui;Si\r\n", context));
  ASSERT_EQ(table->ColCount(), 5);
  for (int k = 1; k < 5; ++k) EXPECT_EQ(table->Cells(k, 0), "language " + std::to_string(k - 1)) << k;
  EXPECT_EQ(LanguageColumnTitle(2, {"English", "Deutsch"}), "Deutsch");
  EXPECT_EQ(LanguageColumnTitle(3, {"English", "Deutsch"}), "language 2");
}

TEST_F(CsvTest, AddCsvRefusesOtherStructuresAndExtraRows) {
  auto table = MakeTable({{"Button1", "OK", "Ja"}});
  ports.queueAnswer(ports::mrAbort);
  EXPECT_FALSE(AddCsv(*table, "$;D:\\App\\Main.dfm\r\nButton1;Oui\r\n", context));
  ASSERT_EQ(ports.messages().size(), 1u);
  EXPECT_EQ(ports.messages()[0].text,
            "The existing table and the CSV file differ\rin the structure of elements.\r\rThe CSV file cannot be added.");
  EXPECT_EQ(ports.messages()[0].type, ports::mtError);
  EXPECT_EQ(ports.messages()[0].buttons, (ports::ButtonSet{mbAbort}));

  ports.clear();
  auto two = MakeTable({{"Button1", "OK", "Ja"}, {"Label1", "x", "y"}});
  ports.queueAnswer(ports::mrAbort);
  EXPECT_FALSE(AddCsv(*two, "Button1;Oui;Si\r\nLabel9;x\r\n", context));
  EXPECT_EQ(two->ColCount(), 3);  // the added columns are gone

  ports.clear();
  ports.queueAnswer(ports::mrAbort);
  EXPECT_TRUE(AddCsv(*table, "Button1;Oui\r\nLabel1;x\r\nLabel2;y\r\n", context));
  ASSERT_EQ(ports.messages().size(), 1u);
  EXPECT_EQ(ports.messages()[0].text,
            "The imported translation has more entries than the\rexisting table.\r\rThese entries are not imported.");
  EXPECT_EQ(table->ColCount(), 4);
  EXPECT_EQ(table->Cells(3, 2), "Oui");
}

TEST_F(CsvTest, ColumnsStopAtTheLanguageLimit) {
  auto table = MakeTable({{"K", "a", "b"}});
  std::string line = "K";
  for (int i = 0; i < 400; ++i) line += ";f" + std::to_string(i);
  ports.queueAnswer(ports::mrYes);
  ASSERT_TRUE(ImportTableCsv(*table, line + "\r\n", context));
  EXPECT_EQ(table->ColCount(), kMaxCsvColumns);
  EXPECT_EQ(table->Cells(kMaxCsvColumns - 1, 2), "f254");
  auto add = MakeTable({{"K", "a", "b"}});
  ASSERT_TRUE(AddCsv(*add, line + "\r\n", context));
  EXPECT_EQ(add->ColCount(), kMaxCsvColumns);
}

// ---- files a spreadsheet saved ------------------------------------------------------------------

TEST_F(CsvTest, HeadersAreKnownQuotedOrPaddedButKeysAreNot) {
  for (const char* line : {"$;D:\\App\\Main.dfm", "\"$\";\"D:\\App\\Main.dfm\";;", "\"$\",\"D:\\a;b\\Main.dfm\",,,",
                           "$;\"D:\\App\\Main.dfm\";;"}) {
    const auto h = CsvHeaderOf(line, "$");
    ASSERT_TRUE(h) << line;
    EXPECT_EQ(h->mark, '$');
    EXPECT_NE(h->formFile.find("Main.dfm"), std::string::npos) << line;
  }
  EXPECT_EQ(CsvHeaderOf("\"$\",\"D:\\a;b\\Main.dfm\",,,", "$")->separator, ',');
  EXPECT_EQ(CsvHeaderOf("\"%\";\"/p/Main.dfm\"", "%$")->formFile, "/p/Main.dfm");
  // Keys, also those that start with a mark, and a mark followed by texts.
  for (const char* line : {"%Form%;Main;Haupt", "\"%Form%\";Main", "$Id;a;b", "$.Hint;x", "\"$\";\"\";\"\"",
                           "\"$\";Main.dfm;text", "\"$\"", "$", "\"%\";\"/p/Main.dfm\"", "Button1;OK"})
    EXPECT_FALSE(CsvHeaderOf(line, "$")) << line;

  EXPECT_EQ(CsvSeparatorLine("sep=;"), ';');
  EXPECT_EQ(CsvSeparatorLine("\"sep=,\",,,"), ',');
  EXPECT_FALSE(CsvSeparatorLine("sep=;;x"));
  EXPECT_FALSE(CsvSeparatorLine("$;sep=;"));
}

TEST_F(CsvTest, RowsCountTheirFieldsAsASpreadsheetDoes) {
  const TCsvRow padded = CsvReadRow("\"Key\";\"a\";;", ';');
  EXPECT_EQ(padded.fields, (std::vector<std::string>{"Key", "a", "", ""}));
  EXPECT_EQ(padded.Width(), 2u);
  // "" is how an empty text is written: it counts; an unquoted empty field after it does not.
  EXPECT_EQ(CsvReadRow("Key;a;\"\";", ';').Width(), 3u);
  EXPECT_EQ(CsvReadRow("Key;;b", ';').Width(), 3u);
  // An unclosed quote eats the separator at the end: no further field.
  EXPECT_EQ(CsvReadRow("Key;\"a;", ';').fields, (std::vector<std::string>{"Key", "a"}));
  EXPECT_EQ(CsvReadRow("", ';').Width(), 0u);
}

TEST_F(CsvTest, LineBreaksInsideQuotesJoinLinesAndNothingElseDoes) {
  auto rows = [](std::string_view text) {
    std::vector<std::pair<std::string, size_t>> out;
    for (auto& r : CsvSplitRows(text, ';', IsPerFormHeaderForTest)) out.emplace_back(r.text, r.line);
    return out;
  };
  using Rows = std::vector<std::pair<std::string, size_t>>;
  // LF and CR LF inside a cell become CR LF; the rows after keep their line numbers.
  EXPECT_EQ(rows("A;\"one\ntwo\r\nthree\";x\nB;\"\"\"q\"\"\n\"\nC;c"),
            (Rows{{"A;\"one\r\ntwo\r\nthree\";x", 1}, {"B;\"\"\"q\"\"\r\n\"", 4}, {"C;c", 6}}));
  // A cell that starts with a line break.
  EXPECT_EQ(rows("A;\"\nx\""), (Rows{{"A;\"\r\nx\"", 1}}));
  // A quote never closed, or closed badly, or a header where the cell would go on: each line is
  // a row of its own, read as before.
  EXPECT_EQ(rows("A;\"open\nB;b\nC;c"), (Rows{{"A;\"open", 1}, {"B;b", 2}, {"C;c", 3}}));
  EXPECT_EQ(rows("A;\"open\nB;\"b\";c\n"), (Rows{{"A;\"open", 1}, {"B;\"b\";c", 2}}));
  EXPECT_EQ(rows("A;\"open\n$;D:\\Next.dfm\nx\"\n"), (Rows{{"A;\"open", 1}, {"$;D:\\Next.dfm", 2}, {"x\"", 3}}));
  // Quotes inside an unquoted field are no quotes.
  EXPECT_EQ(rows("A;say \"hi;x\nB"), (Rows{{"A;say \"hi;x", 1}, {"B", 2}}));
}

TEST_F(CsvTest, ImportReadsWhatASpreadsheetSaved) {
  const std::vector<std::vector<std::string>> rows = {
      {"Button1", "OK", "Ja"}, {"\"", "Cancel", ""}, {"Memo1", "two\r\nlines", "zwei\r\nZeilen"},
      {"$Id", "x;y", "\"q\""}, {"%Form%", "", ""}};
  // Our own file first: a key that starts with "$" does not end the table.
  const std::string exported = ExportTableCsv(*MakeTable(rows), context).value();
  ASSERT_NE(exported.find("\r\n$Id;"), std::string::npos);
  auto own = MakeTable({});
  ASSERT_TRUE(ImportTableCsv(*own, exported, context));
  EXPECT_EQ(DataRows(*own), rows);
  // Every field quoted, rows padded to four fields, LF line ends, the line break kept raw in its
  // cell, a separator line first.
  const std::string saved =
      "sep=;\n\"$\";\"D:\\App\\Main.dfm\";;\n\"Button1\";\"OK\";\"Ja\";\n\"\"\"\";\"Cancel\";;\n"
      "\"Memo1\";\"two\nlines\";\"zwei\\nZeilen\";\n\"$Id\";\"x;y\";\"\"\"q\"\"\";\n\"%Form%\";;;\n";
  auto target = MakeTable({{"old", "x", "y"}});
  ASSERT_TRUE(ImportTableCsv(*target, saved, context));
  EXPECT_EQ(DataRows(*target), rows);
  EXPECT_EQ(target->ColCount(), 3);
  EXPECT_TRUE(ports.messages().empty());  // neither another form nor more languages

  // The same in UTF-8 without a byte-order mark, read as UTF-8 because the caller says so.
  target->SetCharsetCode(2, 204);
  context.encoding = CsvEncodingOf(*target, true);
  ASSERT_TRUE(ImportTableCsv(*target, "\"$\";\"D:\\App\\Main.dfm\";;\r\n\"Label1\";\"caf\xC3\xA9\";\"\xD0\x94\xD0\xB0\";\r\n",
                             context));
  EXPECT_EQ(DataRows(*target), (std::vector<std::vector<std::string>>{{"Label1", "caf\xE9", "\xC4\xE0"}}));
  EXPECT_TRUE(ports.messages().empty());
}

TEST_F(CsvTest, PaddingAddsNoLanguagesButTextsBeyondAreOffered) {
  auto table = MakeTable({{"A", "1", "2"}});
  ASSERT_TRUE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm;;;;\r\nA;1;2;;;\r\nB;3;;;;\r\n", context));
  EXPECT_EQ(table->ColCount(), 3);
  EXPECT_TRUE(ports.messages().empty());
  ports.queueAnswer(ports::mrYes);
  ASSERT_TRUE(ImportTableCsv(*table, "$;D:\\App\\Main.dfm;;;;\r\nA;1;2;;x;\r\n", context));
  EXPECT_EQ(DataRows(*table), (std::vector<std::vector<std::string>>{{"A", "1", "2", "", "x"}}));

  auto add = MakeTable({{"A", "1", "2"}, {"B", "3", "4"}});
  ASSERT_TRUE(AddCsv(*add, "\"A\";\"un\";;\n\"B\";;;\n", context));
  EXPECT_EQ(add->ColCount(), 4);
  EXPECT_EQ(add->Cells(3, 2), "un");
  EXPECT_EQ(add->Cells(3, 3), "");
}

TEST_F(CsvTest, KeysThatWouldReadAsHeadersAreNotExported) {
  for (const char* key : {"$", "%"}) {
    ports.clear();
    EXPECT_FALSE(ExportTableCsv(*MakeTable({{"Button1", "OK", "Ja"}, {key, "a", "b"}}), context)) << key;
    ASSERT_EQ(ports.messages().size(), 1u);
    EXPECT_EQ(ports.messages()[0].text, std::string("The key \"") + key +
                                            "\" of form D:\\App\\Main.dfm cannot be exported:\ra key that is only "
                                            "\"$\" or \"%\" would be read as a form's header.\rPlease rename it first.");
    EXPECT_EQ(ports.messages()[0].type, ports::mtError);
  }
}

}  // namespace
}  // namespace vorlect::vle::test
