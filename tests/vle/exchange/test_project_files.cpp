// Export and import on real projects (copies in a temporary folder): the sample project and every
// corpus project, whose forms first get translation components with tables holding the awkward
// cases (apostrophes, line breaks, characters outside the code page).
#include "vle/exchange/ProjectExchange.h"

#include "ProjectCopyTest.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "platform/CodePages.h"
#include "vle/VLCsv.h"
#include "vle/exchange/FSearchDlg.h"
#include "vle/project/Notation.h"
#include "vle/project/DFM_TXT.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;
using namespace ports;

using test::ExpectSameFiles;
using test::Snapshot;

// What a spreadsheet makes of a CSV file it opened and saved: every cell that holds text quoted,
// every row padded with empty cells to the widest, LF line ends, no byte-order mark. `edit` may
// change the cells first.
std::string AsASpreadsheetSavesIt(std::string_view csv,
                                  const std::function<void(std::vector<std::vector<std::string>>&)>& edit = {}) {
  if (csv.starts_with(kUtf8Bom)) csv.remove_prefix(kUtf8Bom.size());
  std::vector<std::vector<std::string>> cells;
  for (const TCsvLine& line : CsvSplitRows(csv, ';')) cells.push_back(CsvReadRow(line.text, ';', false).fields);
  if (edit) edit(cells);
  size_t widest = 0;
  for (const auto& row : cells) widest = std::max(widest, row.size());
  std::string out;
  for (auto& row : cells) {
    row.resize(widest);
    for (size_t k = 0; k < row.size(); ++k) {
      if (k > 0) out += ';';
      if (row[k].empty()) continue;
      out += '"';
      for (char c : row[k]) out += c == '"' ? std::string("\"\"") : std::string(1, c);
      out += '"';
    }
    out += '\n';
  }
  return out;
}

class ProjectFilesTest : public test::ProjectCopyTest {
protected:
  void SetUp() override {
    ProjectCopyTest::SetUp();
    CSVType = 0;
    InfoSel = false;
  }
  TFPrjList& Open(const std::string& dpr, bool keepLines = true) { return ProjectCopyTest::Open(dpr, keepLines); }
  // The project's files, the exchange files left out.
  static Snapshot Files(const std::string& dpr) {
    return test::ProjectFiles(dpr, [](const fs::path& f) { return f.extension() != ".csv"; });
  }
  std::string Csv(const std::string& dpr) const { return (fs::path(dpr).parent_path() / "All.csv").string(); }

  // Export, then import of the same file, must leave every file as it was.
  // With `spreadsheet`, the file is saved by a spreadsheet in between (and a UTF-8 one loses its
  // byte-order mark).
  void ExpectRoundTrip(const std::string& dpr, bool utf8, bool spreadsheet = false) {
    TFPrjList& cat = Open(dpr);
    const Snapshot before = Files(dpr);
    TExportOptions o;
    o.utf8 = utf8;
    const int exported = ExportProject(cat, Csv(dpr), o, false);
    ASSERT_GT(exported, 0) << dpr;
    if (spreadsheet) platform::WriteFileAtomic(Csv(dpr), AsASpreadsheetSavesIt(platform::ReadFile(Csv(dpr))));
    TImportReport report;
    EXPECT_EQ(ImportProject(Open(dpr), Csv(dpr), spreadsheet && utf8, &report), exported) << dpr;
    EXPECT_EQ(report.failed + report.notFound + report.skipped, 0);
    ExpectSameFiles(before, Files(dpr), utf8 ? " (UTF-8)" : "");
  }

  // Changes one text cell of the exported file and imports it: exactly that line of exactly that
  // form changes.
  void ExpectOneCellEdit(const std::string& dpr, const std::string& newText, const std::string& notation) {
    TFPrjList& cat = Open(dpr);
    ASSERT_GT(ExportProject(cat, Csv(dpr), {}, false), 0);
    int row = -1;
    for (int r = 0; r < cat.Count() && row < 0; ++r)
      if (cat.Entry(r).InstanceCount > 0 && cat.Entry(r).Lines.Count() > cat.Entry(r).LanguageCount + 1) row = r;
    ASSERT_GE(row, 0);
    const auto copy = CopyEntry(cat.Entry(row));
    const TEntry& target = *copy;
    const int langs = target.LanguageCount;
    const int line = langs + 1 + langs;  // the last language of the second entry

    // Rewrite that cell in the CSV: the block of the form, its second data row, its last field.
    std::vector<std::string> lines;
    {
      std::istringstream in(platform::ReadFile(Csv(dpr)));
      for (std::string l; std::getline(in, l);) lines.push_back(l.substr(0, l.size() - (l.ends_with('\r') ? 1 : 0)));
    }
    size_t at = 0;
    while (at < lines.size() && !(IsCsvHeaderLine(lines[at]) && lines[at].ends_with(fs::path(target.FormFile).filename().string())))
      ++at;
    ASSERT_LT(at + 2, lines.size());
    std::string& cells = lines[at + 2];
    size_t cut = cells.size();
    // The last field: after the last separator outside quotes.
    bool quoted = false;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (cells[i] == '"') quoted = !quoted;
      if (cells[i] == ';' && !quoted) cut = i + 1;
    }
    cells = cells.substr(0, cut) + newText;
    std::string csv;
    for (const auto& l : lines) csv += l + "\r\n";
    platform::WriteFileAtomic(Csv(dpr), csv);

    const Snapshot before = Files(dpr);
    TFPrjList& again = Open(dpr);
    const int forms = CountForms();
    EXPECT_EQ(ImportProject(again, Csv(dpr)), forms);
    const Snapshot after = Files(dpr);
    for (const auto& [name, bytes] : before) {
      if (!fs::equivalent(name, target.FormFile)) {
        EXPECT_TRUE(after.at(name) == bytes) << name;
      } else {
        EXPECT_FALSE(after.at(name) == bytes) << name;
      }
    }

    TEntry now;
    ScanFormFile(target.FormFile, now);
    ASSERT_EQ(now.Lines.Count(), target.Lines.Count());
    for (int i = 0; i < now.Lines.Count(); ++i)
      // The same value; a changed item is written as the IDE writes it ('#39' for an apostrophe).
      EXPECT_EQ(notation::ToBytes(now.Lines.Strings(i), platform::AnsiCodePage()),
                notation::ToBytes(i == line ? notation : target.Lines.Strings(i), platform::AnsiCodePage()))
          << i;
  }
  int CountForms() const {
    int n = 0;
    for (int r = 0; r < catalogue_->Count(); ++r) n += catalogue_->Entry(r).InstanceCount > 0;
    return n;
  }
  static std::unique_ptr<TEntry> CopyEntry(const TEntry& e) {
    auto c = std::make_unique<TEntry>();
    c->LanguageCount = e.LanguageCount;
    c->FormFile = e.FormFile;
    c->Lines.AddStrings(e.Lines);
    return c;
  }
};

const fs::path& kSample = test::kSampleProject;

TEST_F(ProjectFilesTest, SampleProjectSurvivesExportAndImport) {
  const std::string dpr = Copy(kSample);
  ExpectRoundTrip(dpr, false);
  ExpectRoundTrip(dpr, true);
  // A bare apostrophe typed into a cell is quoted again, not written broken into the form.
  ExpectOneCellEdit(dpr, "Ge'schlossen", "Ge''schlossen");
}

TEST_F(ProjectFilesTest, SampleProjectSurvivesASpreadsheet) {
  const std::string dpr = Copy(kSample);
  ExpectRoundTrip(dpr, false, true);
  ExpectRoundTrip(dpr, true, true);

  // A line break typed into a cell, and a text in a column of its own beyond the languages.
  TFPrjList& cat = Open(dpr);
  ASSERT_EQ(ExportProject(cat, Csv(dpr), {}, false), 1);
  const std::string form = cat.Entry(0).FormFile;
  const int languages = cat.Entry(0).LanguageCount;
  size_t wideLine = 0;
  platform::WriteFileAtomic(Csv(dpr), AsASpreadsheetSavesIt(platform::ReadFile(Csv(dpr)), [&](auto& cells) {
    size_t breaks = 0;  // lines the file gains before a row
    for (size_t r = 0; r < cells.size(); ++r) {
      if (cells[r][0] == "TreeView1") {
        cells[r][2] = "Kunden\nund Lieferanten";
        ++breaks;
      }
      if (cells[r][0] == "Label1") {
        cells[r].resize(static_cast<size_t>(languages) + 3);
        cells[r].back() = "Note";
        wideLine = r + 1 + breaks;
      }
    }
  }));
  ASSERT_GT(wideLine, 0u);
  ports_.clear();
  EXPECT_EQ(ImportProject(Open(dpr), Csv(dpr)), 1);
  ASSERT_GE(ports_.messages().size(), 2u);
  EXPECT_EQ(ports_.messages()[0].text, "Texts beyond a form's languages gave it more languages:\r" + form +
                                           ": from line " + std::to_string(wideLine) + " on, " +
                                           std::to_string(languages + 2) + " languages instead of " +
                                           std::to_string(languages));
  TEntry now;
  ASSERT_EQ(ScanFormFile(form, now), 1);
  EXPECT_EQ(now.LanguageCount, languages + 2);
  bool found = false;
  for (int i = 0; i < now.Lines.Count(); ++i) found = found || now.Lines.Strings(i) == "Kunden'#13#10'und Lieferanten";
  EXPECT_TRUE(found);
}

TEST_F(ProjectFilesTest, FilesOfEarlierExportsStillImport) {
  // Earlier exports named the form by its Windows path and left "%Form%" unquoted.
  const std::string dpr = Copy(kSample);
  TFPrjList& cat = Open(dpr);
  ASSERT_EQ(ExportProject(cat, Csv(dpr), {}, false), 1);
  std::string csv = platform::ReadFile(Csv(dpr));
  const size_t eol = csv.find("\r\n");
  csv = "%;C:\\Projects\\Sample\\MAIN.DFM" + csv.substr(eol);
  for (size_t at; (at = csv.find("\r\n\"%Form%\"")) != std::string::npos;) csv.replace(at + 2, 8, "%Form%");
  ASSERT_EQ(csv.find("\"%"), std::string::npos);
  platform::WriteFileAtomic(Csv(dpr), csv);
  const Snapshot before = Files(dpr);
  EXPECT_EQ(ImportProject(Open(dpr), Csv(dpr)), 1);
  EXPECT_EQ(Files(dpr), before);
}

TEST_F(ProjectFilesTest, AnEmptyBlockEmptiesTheTableButKeepsTheLanguages) {
  const std::string dpr = Copy(kSample);
  TFPrjList& cat = Open(dpr);
  int row = -1;
  for (int r = 0; r < cat.Count(); ++r)
    if (cat.Entry(r).InstanceCount > 0) row = r;
  ASSERT_GE(row, 0);
  const std::string form = cat.Entry(row).FormFile;
  const int langs = cat.Entry(row).LanguageCount;
  platform::WriteFileAtomic(Csv(dpr), "%;" + form + "\r\n");
  EXPECT_EQ(ImportProject(cat, Csv(dpr)), 1);
  TEntry now;
  EXPECT_EQ(ScanFormFile(form, now), 1);
  EXPECT_EQ(now.LanguageCount, langs);
  EXPECT_EQ(now.Lines.Count(), 0);
}

TEST_F(ProjectFilesTest, BlocksOfUnselectedFormsAreSkipped) {
  const std::string dpr = Copy(kSample);
  TFPrjList& cat = Open(dpr);
  ASSERT_GT(ExportProject(cat, Csv(dpr), {}, false), 0);
  for (int r = 0; r < cat.Count(); ++r) cat.SetSelected(r, false);
  const Snapshot before = Files(dpr);
  ports_.clear();
  for (int i = 0; i < 8; ++i) ports_.queueAnswer(mrIgnore);
  TImportReport report;
  EXPECT_EQ(ImportProject(cat, Csv(dpr), false, &report), 0);
  EXPECT_EQ(report.skipped, report.blocks);
  EXPECT_GT(report.blocks, 0);
  EXPECT_EQ(ports_.messages()[0].text.rfind("Skipping unit ", 0), 0u);
  EXPECT_EQ(Files(dpr), before);
}

// Gives every form of a corpus project a component with three languages and a table of awkward
// texts, so that the exchange has something to carry.
void Translate(TFPrjList& cat) {
  test::GiveEveryFormATable(cat, {"%Form%", "Main", "Haupt", "'#1043#1083#1072#1074#1085#1072#1103'",  //
                                  "Label1", "it''s", "Hello'#13#10'World", "say \"x;y\"",            //
                                  "\"", "", "a\\nb", "C:\\dir\\",                                    //
                                  "\".Hint", "Caf\xE9", "'#9'tab", "x)"});
}

TEST_F(ProjectFilesTest, CorpusProjectsSurviveExportAndImport) {
  const auto corpus = test::CorpusProjects();
  if (corpus.empty()) GTEST_SKIP() << "corpus projects not found at " << VORLECT_CORPUS_DIR << "/projects";
  int projects = 0;
  for (const fs::path& p : corpus) {
    SCOPED_TRACE(p.string());
    const std::string dpr = Copy(p);
    Translate(Open(dpr));
    ++projects;
    ExpectRoundTrip(dpr, false);
    ExpectRoundTrip(dpr, true);
    ExpectRoundTrip(dpr, false, true);
    ExpectRoundTrip(dpr, true, true);
    ExpectOneCellEdit(dpr, "\"neu; new\"", "neu; new");
  }
  EXPECT_GE(projects, 4);
}

// Everything the exchange writes from a catalogue, keyed by file name.
Snapshot ExportAll(TFPrjList& cat, const std::string& dpr) {
  const fs::path folder = fs::path(dpr).parent_path() / "out";
  fs::remove_all(folder);
  fs::create_directories(folder);
  TExportOptions perLanguage;
  perLanguage.perLanguage = true;
  TExportOptions utf8;
  utf8.utf8 = true;
  EXPECT_GT(ExportProject(cat, (folder / "All.csv").string(), perLanguage, false), 0);
  EXPECT_GT(ExportProject(cat, (folder / "Utf.csv").string(), utf8, false), 0);
  EXPECT_GT(ExportProject(cat, (folder / "Strings1.rc").string(), {}, false), 0);
  Snapshot s;
  for (const auto& f : fs::directory_iterator(folder)) s[f.path().filename().string()] = platform::ReadFile(f.path());
  return s;
}

TEST_F(ProjectFilesTest, ACatalogueOfCountsOnlyWorksAsOneHoldingEveryTable) {
  std::vector<std::string> projects = {Copy(kSample)};
  const fs::path corpus = fs::path(VORLECT_CORPUS_DIR) / "projects";
  if (fs::exists(corpus))
    for (const auto& p : fs::directory_iterator(corpus))
      if (p.is_directory()) {
        projects.push_back(Copy(p.path()));
        Translate(Open(projects.back()));
      }
  for (const std::string& dpr : projects) {
    SCOPED_TRACE(dpr);
    TFPrjList& full = Open(dpr, true);
    std::vector<std::string> cells;
    for (int r = 0; r < full.Count(); ++r) cells.push_back(full.Entry(r).LanguagesCell() + " " + full.Entry(r).DoneCell());
    const Snapshot exported = ExportAll(full, dpr);
    TSearchDlg fullSearch(full);
    fullSearch.SearchText = "a";
    fullSearch.FindClick();

    TFPrjList& light = Open(dpr, false);
    ASSERT_EQ(light.Count(), static_cast<int>(cells.size()));
    for (int r = 0; r < light.Count(); ++r) {
      EXPECT_TRUE(light.Entry(r).LinesReleased());
      EXPECT_EQ(light.Entry(r).LanguagesCell() + " " + light.Entry(r).DoneCell(), cells[static_cast<size_t>(r)]);
    }
    EXPECT_EQ(ExportAll(light, dpr), exported);
    TSearchDlg lightSearch(light);
    lightSearch.SearchText = "a";
    lightSearch.FindClick();
    ASSERT_EQ(lightSearch.Results().size(), fullSearch.Results().size());
    std::set<const TEntry*> hit;
    for (const auto& row : lightSearch.Results()) {
      hit.insert(row.Entry);
      EXPECT_EQ(row.TextFound, platform::Utf16ToUtf8(notation::ToUtf16(row.Entry->Lines.Strings(row.Line),
                                                                        ColumnCodePage(row.Line % (row.Entry->LanguageCount + 1)))));
    }
    // Rows with results keep their lines for the replacement; the others hold counts only.
    for (int r = 0; r < light.Count(); ++r)
      EXPECT_EQ(light.Entry(r).LinesReleased(), hit.count(&light.Entry(r)) == 0) << light.Entry(r).FormFile;
    for (int r = 0; r < light.Count(); ++r)
      EXPECT_EQ(light.Entry(r).LanguagesCell() + " " + light.Entry(r).DoneCell(), cells[static_cast<size_t>(r)]);
  }
}

TEST_F(ProjectFilesTest, AnExportThatCannotWriteOneFileWritesNone) {
  const std::string dpr = Copy(kSample);
  TFPrjList& cat = Open(dpr, false);
  const fs::path folder = fs::path(dpr).parent_path();
  platform::WriteFileAtomic((folder / "All.csv").string(), "before");
  platform::WriteFileAtomic((folder / "All1.csv").string(), "before 1");
  fs::create_directory(folder / "All2.csv");  // the second language's file cannot be replaced
  const Snapshot before = Files(dpr);
  const size_t entries = static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  ports_.clear();
  ports_.queueAnswer(mrAbort);
  TExportOptions o;
  o.perLanguage = true;
  EXPECT_EQ(ExportProject(cat, (folder / "All.csv").string(), o, false), -1);
  ASSERT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(ports_.messages()[0].text, "File All2.csv\rcould not be created.");
  EXPECT_EQ(platform::ReadFile((folder / "All.csv").string()), "before");
  EXPECT_EQ(platform::ReadFile((folder / "All1.csv").string()), "before 1");
  EXPECT_EQ(Files(dpr), before);
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator())), entries)
      << "a temporary file was left behind";
}

}  // namespace
}  // namespace vorlect::vle
