// PO and XLIFF exchange on real projects (copies in a temporary folder): the files pass the
// gettext checks and the XLIFF schemas, an unchanged import leaves every form file as it was, and
// an edited translation changes exactly its own text, also after the gettext tools rewrapped the file.
#include "vle/exchange/TranslatorExchange.h"

#include "ProjectCopyTest.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/Notation.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;
using namespace ports;

using test::ExpectSameFiles;
using test::Snapshot;

const fs::path& kSample = test::kSampleProject;
const fs::path kSchemas = fs::path(VORLECT_SOURCE_DIR) / "data" / "xliff";

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

// Runs a command line; its output goes to `log`. True when it exits with 0.
bool RunTool(const std::string& command, const std::string& log) {
  return std::system((command + " >'" + log + "' 2>&1").c_str()) == 0;
}

class TranslatorFilesTest : public test::ProjectCopyTest {
protected:
  void SetUp() override {
    ProjectCopyTest::SetUp();
    for (const char* id : {"1033", "1031", "1049"}) LanguageIds().Add(id);
    for (const char* name : {"English", "Deutsch", "Russian"}) LanguageNames().Add(name);
  }
  TFPrjList& Open(const std::string& dpr) { return ProjectCopyTest::Open(dpr, false); }
  // The project's files, the exchange folders left out.
  static Snapshot Files(const std::string& dpr) {
    return test::ProjectFiles(dpr, [](const fs::path& f) { return f.string().find("/out-") == std::string::npos; });
  }
  std::string Out(const std::string& dpr, const std::string& name) const {
    return (fs::path(dpr).parent_path() / ("out-" + name)).string();
  }
  TTranslatorReport Export(const std::string& dpr, const std::string& folder, TTranslatorFormat format) {
    TTranslatorReport report;
    TTranslatorOptions o;
    o.format = format;
    const auto forms = ProjectForms(Open(dpr), fs::path(dpr).parent_path().string());
    ExportTranslations(*forms, folder, o, report);
    return report;
  }
  TTranslatorReport Import(const std::string& dpr, const std::string& folder, TTranslatorFormat format) {
    TTranslatorReport report;
    TTranslatorOptions o;
    o.format = format;
    const auto forms = ProjectForms(Open(dpr), fs::path(dpr).parent_path().string());
    ImportTranslations(*forms, folder, o, report);
    return report;
  }

  // Every file an export writes passes the checks of the tools translators use.
  void ExpectToolsAccept(const std::string& dpr) {
    const std::string log = (fs::path(dir_) / "tool.log").string();
    if (Have("msgfmt")) {
      const TTranslatorReport r = Export(dpr, Out(dpr, "po"), TTranslatorFormat::Po);
      ASSERT_FALSE(r.files.empty());
      for (const std::string& f : r.files)
        EXPECT_TRUE(RunTool("msgfmt --check-format -c -o /dev/null '" + f + "'", log)) << f << "\n" << platform::ReadFile(log);
    }
    if (Have("xmllint")) {
      for (const auto& [format, schema] : {std::pair{TTranslatorFormat::Xliff12, "xliff-core-1.2-strict.xsd"},
                                           std::pair{TTranslatorFormat::Xliff20, "xliff_core_2.0.xsd"}}) {
        const TTranslatorReport r = Export(dpr, Out(dpr, schema), format);
        ASSERT_FALSE(r.files.empty());
        for (const std::string& f : r.files)
          EXPECT_TRUE(RunTool("xmllint --noout --nonet --schema '" + (kSchemas / schema).string() + "' '" + f + "'", log))
              << f << "\n" << platform::ReadFile(log);
      }
    }
  }

  // Export, then import of the same files, leaves every file as it was.
  void ExpectRoundTrip(const std::string& dpr, TTranslatorFormat format) {
    const Snapshot before = Files(dpr);
    const std::string folder = Out(dpr, "trip");
    fs::remove_all(folder);
    const TTranslatorReport exported = Export(dpr, folder, format);
    ASSERT_GT(exported.forms, 0);
    const TTranslatorReport imported = Import(dpr, folder, format);
    EXPECT_EQ(imported.forms, 0);
    EXPECT_EQ(imported.failed + imported.missing + imported.unknown + imported.stale, 0);
    EXPECT_EQ(imported.unchanged, exported.forms);
    ExpectSameFiles(before, Files(dpr));
  }
};

// Replaces the translation of one message in a PO file as an editor would: msgstr of the entry
// with that msgctxt, whatever the lines it was split into.
std::string EditPo(const std::string& po, const std::string& context, const std::string& text) {
  std::istringstream in(po);
  std::string out, line;
  bool inEntry = false, replacing = false;
  while (std::getline(in, line)) {
    if (line.rfind("msgctxt \"" + context + "\"", 0) == 0) inEntry = true;
    if (inEntry && line.rfind("msgstr", 0) == 0) {
      out += "msgstr \"" + text + "\"\n";
      replacing = true;
      inEntry = false;
      continue;
    }
    if (replacing && !line.empty() && line[0] == '"') continue;
    replacing = false;
    out += line + "\n";
  }
  return out;
}

TEST_F(TranslatorFilesTest, SampleProjectPassesTheToolsAndSurvivesARoundTrip) {
  const std::string dpr = Copy(kSample);
  ExpectToolsAccept(dpr);
  ExpectRoundTrip(dpr, TTranslatorFormat::Po);
  ExpectRoundTrip(dpr, TTranslatorFormat::Xliff12);
  ExpectRoundTrip(dpr, TTranslatorFormat::Xliff20);
}

TEST_F(TranslatorFilesTest, AnEditedTranslationRewrappedByMsgcatChangesExactlyThatText) {
  if (!Have("msgcat")) GTEST_SKIP() << "msgcat (gettext) not installed";
  const std::string dpr = Copy(kSample);
  const std::string folder = Out(dpr, "po");
  ASSERT_GT(Export(dpr, folder, TTranslatorFormat::Po).forms, 0);
  const std::string file = (fs::path(folder) / "de-DE.po").string();
  const std::string edited = "Fertig und bereit f\xC3\xBCr neue Bestellungen, Kunden und Lieferanten";
  platform::WriteFileAtomic(file, EditPo(platform::ReadFile(file), "Main.dfm|StatusBar1|1", edited));
  const std::string log = (fs::path(dir_) / "msgcat.log").string();
  ASSERT_TRUE(RunTool("msgcat -w 40 -o '" + file + "' '" + file + "'", log)) << platform::ReadFile(log);
  ASSERT_EQ(platform::ReadFile(file).find(edited), std::string::npos) << "msgcat did not rewrap the text";

  const std::string form = (fs::path(dpr).parent_path() / "Main.dfm").string();
  TEntry before;
  ASSERT_EQ(ScanFormFile(form, before), 1);
  const Snapshot files = Files(dpr);
  const TTranslatorReport r = Import(dpr, folder, TTranslatorFormat::Po);
  EXPECT_EQ(r.forms, 1);
  EXPECT_EQ(r.taken, 1);
  EXPECT_EQ(r.missing + r.fuzzy + r.stale + r.unknown + r.failed, 0) << r.problems.front();
  for (const auto& [name, bytes] : Files(dpr))
    if (name != form) {
      EXPECT_TRUE(files.at(name) == bytes) << name;
    }
  TEntry after;
  ASSERT_EQ(ScanFormFile(form, after), 1);
  ASSERT_EQ(after.Lines.Count(), before.Lines.Count());
  int changed = 0;
  for (int i = 0; i < after.Lines.Count(); ++i) {
    if (after.Lines.Strings(i) == before.Lines.Strings(i)) continue;
    ++changed;
    EXPECT_EQ(before.Lines.Strings(i), "Bereit");
    EXPECT_EQ(platform::Utf16ToUtf8(notation::ToUtf16(after.Lines.Strings(i), 1252)), edited);
  }
  EXPECT_EQ(changed, 1);
}

TEST_F(TranslatorFilesTest, ATextItsCodePageCannotHoldKeepsTheFormAsItWas) {
  const std::string dpr = Copy(kSample);
  const std::string folder = Out(dpr, "po");
  ASSERT_GT(Export(dpr, folder, TTranslatorFormat::Po).forms, 0);
  const std::string file = (fs::path(folder) / "ru-RU.po").string();
  std::string po = platform::ReadFile(file);
  po = EditPo(po, "Main.dfm|StatusBar1|1", "\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE");  // fits 1251
  po = EditPo(po, "Main.dfm|StatusBar1|2", "Gr\xC3\xBC\xC3\x9F" "e");                                  // does not
  platform::WriteFileAtomic(file, po);
  const Snapshot before = Files(dpr);
  const TTranslatorReport r = Import(dpr, folder, TTranslatorFormat::Po);
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.forms, 0);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_NE(r.problems[0].find("Main.dfm|StatusBar1|2, language 2 (ru-RU): \"\xC3\xBC\" (U+00FC) has no place in code "
                               "page 1251"),
            std::string::npos)
      << r.problems[0];
  EXPECT_EQ(Files(dpr), before);
}

TEST_F(TranslatorFilesTest, FuzzyStaleAndMissingMessagesLeaveTheirCellsAndAreReported) {
  const std::string dpr = Copy(kSample);
  const std::string folder = Out(dpr, "po");
  ASSERT_GT(Export(dpr, folder, TTranslatorFormat::Po).forms, 0);
  const std::string file = (fs::path(folder) / "de-DE.po").string();
  std::string po = EditPo(platform::ReadFile(file), "Main.dfm|StatusBar1|1", "Fertig");
  po.replace(po.find("msgctxt \"Main.dfm|StatusBar1|1\""), 0, "#, fuzzy\n");
  po = EditPo(po, "Main.dfm|TreeView1|0", "Kundschaft");
  po.replace(po.find("msgid \"Customers\""), 17, "msgid \"Clients\"");
  const size_t gone = po.find("msgctxt \"Main.dfm|Label1|0\"");
  ASSERT_NE(gone, std::string::npos);
  po.erase(gone, po.find("\n\n", gone) - gone);
  po += "\nmsgctxt \"Main.dfm|NoSuchButton|0\"\nmsgid \"x\"\nmsgstr \"y\"\n";
  platform::WriteFileAtomic(file, po);
  const Snapshot before = Files(dpr);
  const TTranslatorReport r = Import(dpr, folder, TTranslatorFormat::Po);
  EXPECT_EQ(r.fuzzy, 1);
  EXPECT_EQ(r.stale, 1);
  EXPECT_EQ(r.missing, 1);
  EXPECT_EQ(r.unknown, 1);
  EXPECT_EQ(r.forms, 0);
  EXPECT_EQ(Files(dpr), before);
  std::string all;
  for (const auto& p : r.problems) all += p + "\n";
  EXPECT_NE(all.find("Main.dfm|StatusBar1|1, language 1 (de-DE): marked for review"), std::string::npos) << all;
  EXPECT_NE(all.find("Main.dfm|Label1|0, language 1 (de-DE): not in the file"), std::string::npos) << all;
  EXPECT_NE(all.find("Main.dfm|TreeView1|0, language 1 (de-DE): its source text changed"), std::string::npos) << all;
  EXPECT_NE(all.find("Main.dfm|NoSuchButton|0, language 1 (de-DE): no such text"), std::string::npos) << all;
}

TEST_F(TranslatorFilesTest, XliffTargetsAreTakenByTheirState) {
  for (const auto format : {TTranslatorFormat::Xliff12, TTranslatorFormat::Xliff20}) {
    const std::string dpr = Copy(kSample);
    const std::string folder = Out(dpr, "xlf");
    ASSERT_GT(Export(dpr, folder, format).forms, 0);
    const std::string file = (fs::path(folder) / "de-DE.xlf").string();
    std::string xlf = platform::ReadFile(file);
    const bool v12 = format == TTranslatorFormat::Xliff12;
    auto replace = [&](const std::string& from, const std::string& to) {
      const size_t at = xlf.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      xlf.replace(at, from.size(), to);
    };
    // A translated target is taken; one a tool left waiting for work is reported and left.
    replace(">Bereit</target>", ">Fertig</target>");
    if (v12) {
      replace("<target state=\"translated\">Kunden</target>", "<target state=\"needs-translation\">Kundschaft</target>");
    } else {
      replace("<segment state=\"translated\">\n    <source xml:space=\"preserve\">Customers</source>\n    "
              "<target xml:space=\"preserve\">Kunden",
              "<segment state=\"initial\">\n    <source xml:space=\"preserve\">Customers</source>\n    "
              "<target xml:space=\"preserve\">Kundschaft");
    }
    platform::WriteFileAtomic(file, xlf);
    const TTranslatorReport r = Import(dpr, folder, format);
    EXPECT_EQ(r.forms, 1);
    EXPECT_EQ(r.taken, 1);
    EXPECT_EQ(r.fuzzy, 1);
    const std::string form = platform::ReadFile((fs::path(dpr).parent_path() / "Main.dfm").string());
    EXPECT_NE(form.find("'Fertig'"), std::string::npos);
    EXPECT_EQ(form.find("'Kundschaft'"), std::string::npos);
    fs::remove_all(fs::path(dpr).parent_path());
  }
}

TEST_F(TranslatorFilesTest, ABrokenFileStopsTheImportBeforeAnyFormIsWritten) {
  const std::string dpr = Copy(kSample);
  const std::string folder = Out(dpr, "po");
  ASSERT_GT(Export(dpr, folder, TTranslatorFormat::Po).forms, 0);
  const std::string de = (fs::path(folder) / "de-DE.po").string();
  platform::WriteFileAtomic(de, EditPo(platform::ReadFile(de), "Main.dfm|StatusBar1|1", "Fertig"));
  const std::string ru = (fs::path(folder) / "ru-RU.po").string();
  platform::WriteFileAtomic(ru, platform::ReadFile(ru) + "\nmsgid \"broken\n");
  const Snapshot before = Files(dpr);
  try {
    Import(dpr, folder, TTranslatorFormat::Po);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("ru-RU.po, line "), std::string::npos) << e.what();
  }
  EXPECT_EQ(Files(dpr), before);
}

// Gives every form of a corpus project a table with the awkward cases: apostrophes, line breaks,
// control characters, format arguments (one translation with others than its source), characters
// outside the code page as Unicode codes.
void Translate(TFPrjList& cat) {
  test::GiveEveryFormATable(cat, {"%Form%", "Main", "Haupt", "'#1043#1083#1072#1074#1085#1072#1103'",    //
                                  "Label1", "it''s", "Hello'#13#10'World", "'#13#10'x<y>&z",             //
                                  "\"", "", "a\\nb", "C:\\dir\\",                                        //
                                  "\"", "%d files in %s", "%d Dateien in %s", "%s",                      //
                                  "\"", "50% done", "'#7'bell", "'#0'",                                  //
                                  "\".Hint", "Caf\xE9", "'#9'tab", "x)",                                 //
                                  "Label1", "again", "wieder", "'#1089#1085#1086#1074#1072'"});
}

TEST_F(TranslatorFilesTest, CorpusProjectsPassTheToolsAndSurviveARoundTrip) {
  const auto corpus = test::CorpusProjects();
  if (corpus.empty()) GTEST_SKIP() << "corpus projects not found at " << VORLECT_CORPUS_DIR << "/projects";
  int projects = 0;
  for (const fs::path& p : corpus) {
    SCOPED_TRACE(p.string());
    const std::string dpr = Copy(p);
    Translate(Open(dpr));
    ++projects;
    ExpectToolsAccept(dpr);
    // The checks had something to check: format arguments, and a translation with others.
    const std::string folder = Out(dpr, "flags");
    ASSERT_GT(Export(dpr, folder, TTranslatorFormat::Po).forms, 0);
    EXPECT_NE(platform::ReadFile((fs::path(folder) / "de-DE.po").string()).find("#, object-pascal-format\nmsgctxt"),
              std::string::npos);
    EXPECT_NE(platform::ReadFile((fs::path(folder) / "ru-RU.po").string()).find("#, fuzzy, object-pascal-format\n"),
              std::string::npos);
    ExpectRoundTrip(dpr, TTranslatorFormat::Po);
    ExpectRoundTrip(dpr, TTranslatorFormat::Xliff12);
    ExpectRoundTrip(dpr, TTranslatorFormat::Xliff20);
  }
  EXPECT_GE(projects, 4);
}

}  // namespace
}  // namespace vorlect::vle
