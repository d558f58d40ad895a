#include "ProjectTestUtil.h"

#include "host/formfile/FormFile.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/VLEMain.h"

#include <filesystem>
#include <regex>

namespace vorlect::vle::test {
namespace {

using ports::mbAbort;
using ports::mbIgnore;
using ports::mtError;

std::vector<std::string> SplitKeepEnds(const std::string& s) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t lf = s.find('\n', pos);
    size_t end = lf == std::string::npos ? s.size() : lf + 1;
    out.push_back(s.substr(pos, end - pos));
    pos = end;
  }
  return out;
}

class Rewrite : public ProjectTest {
protected:
  // Rewrites with the file's own lines after applying `change` to them.
  bool RewriteScanned(const std::string& path, int languages, const std::function<void(TEntry&)>& change = {}) {
    TEntry e;
    ScanFormFile(path, e);
    if (change) change(e);
    return RewriteTables(path, languages, nullptr, e.Lines);
  }
  std::vector<std::string> Scanned(const std::string& path) {
    TEntry e;
    ScanFormFile(path, e);
    return Items(e.Lines);
  }
  void ExpectMessage(size_t index, const std::string& text, ports::MsgDlgType type, ports::ButtonSet buttons) {
    ASSERT_GT(ports_.messages().size(), index);
    EXPECT_EQ(ports_.messages()[index].text, text);
    EXPECT_EQ(ports_.messages()[index].type, type);
    EXPECT_EQ(ports_.messages()[index].buttons, buttons);
  }
};

const std::string kSplitBlock =
    "  object Vorlect1: TVorlect\n"
    "     Languages = 2\n"
    "     Words.Strings = (\n"
    "        '%Form%'\n"
    "        'Main window'\n"
    "        'Hauptfenster'\n"
    "        'Button1'\n"
    "        'a rather long text, split ' +\n"
    "        'over two lines'#13#10\n"
    "        #13'Taste'  )\n"
    "  end\n";

TEST_F(Rewrite, UnchangedTableKeepsTextFileByteIdentical) {
  for (const char* eol : {"\n", "\r\n"}) {
    std::string text = FormText(kSplitBlock, "\n");
    if (std::string(eol) == "\r\n") text = std::regex_replace(text, std::regex("\n"), "\r\n");
    const std::string path = Write("Main.dfm", text);
    EXPECT_TRUE(RewriteScanned(path, 2));
    EXPECT_EQ(Read(path), text);
  }
  EXPECT_TRUE(ports_.messages().empty());
}

TEST_F(Rewrite, ChangedTextChangesOnlyItsLineInTheFilesLayout) {
  const std::string text = FormText(kSplitBlock, "\n");
  const std::string path = Write("Main.dfm", text);
  ASSERT_TRUE(RewriteScanned(path, 2, [](TEntry& e) { e.Lines.Put(2, "Haupt'#13#10'fenster"); }));
  const auto before = SplitKeepEnds(text), after = SplitKeepEnds(Read(path));
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i)
    if (before[i].find("Hauptfenster") != std::string::npos) EXPECT_EQ(after[i], "        'Haupt'#13#10'fenster'\n");
    else EXPECT_EQ(after[i], before[i]) << "line " << i;

  // Changing the split item writes it on one line; the other items keep their bytes.
  ASSERT_TRUE(RewriteScanned(path, 2, [](TEntry& e) { e.Lines.Put(4, "short"); }));
  EXPECT_EQ(Scanned(path)[4], "short");
  EXPECT_NE(Read(path).find("        'short'\n        #13'Taste'  )\n"), std::string::npos);
}

TEST_F(Rewrite, LanguageCountAndMissingPropertiesAreWritten) {
  const std::string path =
      Write("F.dfm", FormText("  object V: TVorlect\r\n    ActiveLanguage = 0\r\n  end\r\n"));
  host::TStringList lines;
  for (const char* l : {"%Form%", "Main", "Haupt", "Principal"}) lines.Add(l);
  ASSERT_TRUE(RewriteTables(path, 3, nullptr, lines));
  TEntry e;
  ScanFormFile(path, e);
  EXPECT_EQ(e.LanguageCount, 3);
  EXPECT_EQ(Items(e.Lines), Items(lines));
  const std::string text = Read(path);
  EXPECT_LT(text.find("    Languages = 3\r\n"), text.find("    Words.Strings = (\r\n      '%Form%'\r\n"));

  lines.Delete(3);
  lines.Delete(2);  // one language
  ASSERT_TRUE(RewriteTables(path, 1, nullptr, lines));
  EXPECT_NE(Read(path).find("    Languages = 1\r\n"), std::string::npos);
  EXPECT_EQ(Scanned(path), (std::vector<std::string>{"%Form%", "Main"}));
  lines.Clear();  // an empty table drops the list
  ASSERT_TRUE(RewriteTables(path, 1, nullptr, lines));
  EXPECT_EQ(Read(path).find("Words.Strings"), std::string::npos);
}

TEST_F(Rewrite, EachComponentKeepsItsOwnTable) {
  const std::string text = FormText(VorlectBlock("First", 1, {"'a'", "'A'"}) + VorlectBlock("Second", 1, {"'b'", "'B'", "'c'", "'C'"}));
  const std::string path = Write("Two.dfm", text);
  ASSERT_TRUE(RewriteScanned(path, 1, [](TEntry& e) { e.Lines.Put(3, "B2"); }));
  EXPECT_EQ(Read(path), std::regex_replace(text, std::regex("'B'"), "'B2'"));

  // Lines that do not match the components' layout are refused, the file stays as it was.
  const std::string now = Read(path);
  host::TStringList three;
  for (const char* l : {"a", "A", "b", "B"}) three.Add(l);
  ports_.queueAnswer(ports::mrIgnore);
  EXPECT_FALSE(RewriteTables(path, 1, nullptr, three));
  EXPECT_EQ(Read(path), now);
  ExpectMessage(0, "File " + path + "\rholds 2 instances of TVorlect;\rthe new table does not show which lines belong to which.",
                mtError, {mbIgnore});

  // By name, one component is rewritten and the other is left alone.
  RewriteComponentTable(path, "second", 1, three);
  EXPECT_EQ(Scanned(path), (std::vector<std::string>{"a", "A", "a", "A", "b", "B"}));
  EXPECT_THROW(RewriteComponentTable(path, "Third", 1, three), std::runtime_error);
}

TEST_F(Rewrite, CatalogueRowsMustExistAndBeSelected) {
  const std::string path = Write("Main.dfm", FormText(VorlectBlock("V", 1, {"'k'", "'t'"})));
  TFPrjList list("p.dpr", {});
  auto entry = std::make_unique<TEntry>();
  ScanFormFile(path, *entry);
  list.AddRow(std::move(entry));
  host::TStringList lines;
  lines.Add("k");
  lines.Add("new");
  for (int i = 0; i < 4; ++i) ports_.queueAnswer(ports::mrIgnore);
  EXPECT_FALSE(RewriteTables("x/Other.dfm", 1, &list, lines));
  EXPECT_FALSE(RewriteTables("elsewhere/MAIN.DFM", 1, &list, lines));
  ExpectMessage(0, "Unit x/Other.dfm\rnot found in project.", mtError, {mbIgnore});
  ExpectMessage(1, "Skipping unit elsewhere/MAIN.DFM", mtError, {mbIgnore});
  EXPECT_EQ(Items(list.Entry(0).Lines), (std::vector<std::string>{"k", "t"}));

  list.SetSelected(0, true);
  lines.Put(1, "broken'quote");  // refused: the row keeps what the file holds
  EXPECT_FALSE(RewriteTables("elsewhere/MAIN.DFM", 1, &list, lines));
  ExpectMessage(2, "Line 2 of the table for " + path + "\ris not in form-file notation: broken'quote", mtError, {mbIgnore});
  EXPECT_EQ(Items(list.Entry(0).Lines), (std::vector<std::string>{"k", "t"}));
  lines.Add("odd");
  EXPECT_FALSE(RewriteTables(path, 1, &list, lines));
  ExpectMessage(3, "The table for " + path + "\rdoes not hold 2 lines per text.", mtError, {mbIgnore});

  lines.Delete(2);
  lines.Put(1, "new");
  EXPECT_TRUE(RewriteTables("elsewhere/MAIN.DFM", 1, &list, lines));
  EXPECT_EQ(Items(list.Entry(0).Lines), (std::vector<std::string>{"k", "new"}));
  EXPECT_EQ(Scanned(path), (std::vector<std::string>{"k", "new"}));
  EXPECT_EQ(list.Entry(0).DoneCell(), "100%");
}

TEST_F(Rewrite, UnreadableFormsAreReportedAndLeftAlone) {
  host::TStringList lines;
  lines.Add("k");
  lines.Add("changed");
  const std::string missing = dir_ + "/Missing.dfm";
  const std::string damaged = Write("Damaged.dfm", std::string("\xFF\x0A\x00TFORM1\x00\x30\x10\x05\x00\x00\x00TPF0", 20));
  const std::string brokenText = "object F: TF\n  Caption = 'unterminated\n" + VorlectBlock("V", 1, {"'k'", "'t'"}, "\n") + "end\n";
  const std::string broken = Write("Broken.dfm", brokenText);
  const std::string none = Write("None.dfm", FormText(""));
  for (int answer : {ports::mrAbort, ports::mrAbort, ports::mrAbort, ports::mrIgnore}) ports_.queueAnswer(answer);
  for (const auto& f : {missing, damaged, broken, none}) EXPECT_FALSE(RewriteTables(f, 1, nullptr, lines));
  ExpectMessage(0, "File " + missing + "\rcould not be read, is it damaged?", mtError, {mbAbort});
  ExpectMessage(1, "File " + damaged + "\rcould not be read, is it damaged?", mtError, {mbAbort});
  ExpectMessage(2, "File " + broken + "\rcould not be opened.", mtError, {mbAbort});
  ExpectMessage(3, "File " + none + "\rholds no instance of TVorlect.", mtError, {mbIgnore});
  EXPECT_EQ(Read(none), FormText(""));
  EXPECT_EQ(Read(broken), brokenText);
}

TEST_F(Rewrite, FailedWriteReportsFailureAndKeepsTheFile) {
  const std::string text = FormText(VorlectBlock("V", 1, {"'k'", "'t'"}));
  const std::string path = Write("Main.dfm", text);
  host::TStringList lines;
  lines.Add("k");
  lines.Add("changed");
  ports_.queueAnswer(ports::mrIgnore);
  {
    FileSizeLimit limit(16);
    EXPECT_FALSE(RewriteTables(path, 1, nullptr, lines));
  }
  // The message, then the cause with the file it concerns.
  ExpectMessage(0, "Internal error writing the DFM file.\r" + path + ": File too large", mtError, {mbIgnore});
  EXPECT_EQ(Read(path), text);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "a temporary file was left";
}

TEST_F(Rewrite, BinaryFormsStayBinaryWithOrWithoutHeader) {
  const formfile::Object root = formfile::ReadText(FormText(VorlectBlock("V", 1, {"'k'", "'text'#13#10'more'"})));
  for (bool header : {true, false}) {
    const std::string bytes = formfile::WriteBinary(root, header);
    const std::string path = Write("Bin.dfm", bytes);
    EXPECT_TRUE(RewriteScanned(path, 1));
    EXPECT_EQ(Read(path), bytes);
    ASSERT_TRUE(RewriteScanned(path, 1, [](TEntry& e) { e.Lines.Put(1, "neu"); }));
    const std::string now = Read(path);
    EXPECT_EQ(formfile::DetectFormat(now), header ? formfile::FileFormat::BinaryWithHeader : formfile::FileFormat::Binary);
    EXPECT_EQ(Scanned(path), (std::vector<std::string>{"k", "neu"}));
  }
}

TEST_F(Rewrite, EmptyAllTablesAsksAndClears) {
  const std::string path = Write("Main.dfm", FormText(VorlectBlock("V", 2, {"'k'", "'a'", "'b'"})));
  const std::string plain = Write("Plain.dfm", FormText(""));
  TFPrjList list("p.dpr", {});
  for (const auto& f : {path, plain}) {
    auto e = std::make_unique<TEntry>();
    ScanFormFile(f, *e);
    list.AddRow(std::move(e));
  }
  ports_.queueAnswer(ports::mrNo);
  EmptyAllTables(list);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "Are you sure that you want to clear all TVorlect contents?\rYou should make a backup by "
                         "exporting into a CSV file.",
                         "Cancelled."}));
  EXPECT_EQ(Scanned(path).size(), 3u);

  ports_.queueAnswer(ports::mrYes);
  EmptyAllTables(list);
  EXPECT_EQ(ports_.messages().back().text, "All TVorlect instances are cleared.");
  EXPECT_EQ(Read(path), FormText("  object V: TVorlect\r\n    Languages = 1\r\n    ActiveLanguage = 0\r\n  end\r\n"));
  EXPECT_EQ(Read(plain), FormText(""));
  EXPECT_EQ(list.Entry(0).LanguageCount, 1);
  EXPECT_EQ(list.Entry(0).DoneCell(), "-");
}

}  // namespace
}  // namespace vorlect::vle::test
