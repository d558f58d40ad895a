// The translator's round trip through a real spreadsheet: the sample's project CSV and its main
// form's CSV are opened in LibreOffice Calc (headless) and saved as CSV again, then imported.
// Every form file must come back byte for byte, and a cell changed in the saved file must change
// exactly that text. Slow (seconds per conversion): ctest label "spreadsheet".
#include "CliTestUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::Result;
using vorlect::testing::RunProgram;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

namespace {

const fs::path kSample = fs::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project";

std::optional<std::string> FindSpreadsheet() {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin");
  for (std::string dir; std::getline(dirs, dir, ':');)
    for (const char* name : {"soffice", "libreoffice"}) {
      const fs::path exe = fs::path(dir) / name;
      if (::access(exe.c_str(), X_OK) == 0) return exe.string();
    }
  return std::nullopt;
}

// The spreadsheet's codes for the character sets of its CSV filter.
constexpr int kWindows1252 = 1;
constexpr int kUtf8 = 76;

class Spreadsheet : public ::testing::Test {
protected:
  void SetUp() override {
    spreadsheet_ = FindSpreadsheet();
    if (!spreadsheet_)
      GTEST_SKIP() << "no soffice or libreoffice on PATH (Debian package libreoffice-calc-nogui)";
    const char* old = std::getenv("VORLECT_REGISTRY_DIR");
    if (old) oldRegistry_ = old;
    hadRegistry_ = old != nullptr;
    setenv("VORLECT_REGISTRY_DIR", dir_.Path("registry").c_str(), 1);
    fs::copy(kSample, dir_.Path("sample"), fs::copy_options::recursive);
  }
  void TearDown() override {
    if (!spreadsheet_) return;
    if (hadRegistry_) setenv("VORLECT_REGISTRY_DIR", oldRegistry_.c_str(), 1);
    else unsetenv("VORLECT_REGISTRY_DIR");
  }
  std::string Sample(const std::string& name) const { return dir_.Path("sample/" + name); }

  // Opens each file as a translator does (";" separating, `charset` the character set) and saves
  // it as CSV in its place. `quoteAll` quotes every text cell on saving.
  void OpenAndSave(const std::vector<std::string>& files, int charset, bool quoteAll) {
    const std::string out = dir_.Path("saved");
    fs::create_directories(out);
    // A profile of its own, so that runs side by side do not meet in one.
    std::vector<std::string> args = {"-env:UserInstallation=file://" + dir_.Path("profile"), "--headless",
                                     "--infilter=CSV:59,34," + std::to_string(charset) + ",1", "--convert-to",
                                     "csv:Text - txt - csv (StarCalc):59,34," + std::to_string(charset) + ",1,,0," +
                                         (quoteAll ? "true" : "false") + ",true,false,false",
                                     "--outdir", out};
    args.insert(args.end(), files.begin(), files.end());
    const Result r = RunProgram(*spreadsheet_, args);
    for (const std::string& f : files) {
      const fs::path saved = fs::path(out) / fs::path(f).filename();
      ASSERT_TRUE(fs::exists(saved)) << "the spreadsheet saved no " << saved << ":\n" << r.out << r.err;
      fs::rename(saved, f);
    }
  }

  TempFolder dir_;
  std::optional<std::string> spreadsheet_;
  std::string oldRegistry_;
  bool hadRegistry_ = false;
};

// `text` with its one occurrence of `from` replaced by `to`.
std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " is not unique";
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Imports both files of a round trip: each must leave the form as it was; then, with one cell
// changed in the saved files, exactly that text.
void ExpectRoundTrip(const std::string& dpr, const std::string& form, const std::string& projectCsv,
                     const std::string& formCsv, const std::vector<std::string>& utf8, const std::string& oldCell,
                     const std::string& newCell, const std::string& oldItem, const std::string& newItem) {
  const std::string before = ReadFile(form);
  std::vector<std::string> project = {"project", "import", dpr, projectCsv, "--no"};
  project.insert(project.end(), utf8.begin(), utf8.end());
  Result r = RunVorlect(project);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile(form) == before) << "project CSV";
  std::vector<std::string> single = {"form", "csv-import", form, formCsv, "--no"};
  single.insert(single.end(), utf8.begin(), utf8.end());
  r = RunVorlect(single);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile(form) == before) << "per-form CSV";

  const std::string expected = ReplaceOnce(before, oldItem, newItem);
  WriteFileAtomic(projectCsv, ReplaceOnce(ReadFile(projectCsv), oldCell, newCell));
  r = RunVorlect(project);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile(form) == expected) << "project CSV with one cell changed";

  WriteFileAtomic(form, before);
  WriteFileAtomic(formCsv, ReplaceOnce(ReadFile(formCsv), oldCell, newCell));
  r = RunVorlect(single);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadFile(form) == expected) << "per-form CSV with one cell changed";
}

// 8-bit files go through the spreadsheet as Windows-1252, the ANSI code page: the Russian
// column's bytes (code page 1251) come back as they were. Every text cell quoted on saving.
TEST_F(Spreadsheet, EightBitFilesComeBackAsTheyLeft) {
  const std::string all = dir_.Path("All.csv"), main = dir_.Path("Main.csv");
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), all, "--no"}).status, 0);
  ASSERT_EQ(RunVorlect({"form", "csv-export", Sample("Main.dfm"), main}).status, 0);
  OpenAndSave({all, main}, kWindows1252, true);
  ASSERT_TRUE(ReadFile(all).starts_with("\"%\";\"" + Sample("Main.dfm") + "\";")) << ReadFile(all).substr(0, 80);
  ExpectRoundTrip(Sample("Sample.dpr"), Sample("Main.dfm"), all, main, {}, "\"Bereit\"", "\"Fertig\"", "'Bereit'",
                  "'Fertig'");
}

// UTF-8 files come back without their byte-order mark: imported with --utf8. Text cells are
// quoted only where they must be.
TEST_F(Spreadsheet, Utf8FilesComeBackAsTheyLeft) {
  ASSERT_EQ(RunVorlect({"languages", "set", "1033,1031,1049"}).status, 0);
  const std::string all = dir_.Path("All.csv"), main = dir_.Path("Main.csv");
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), all, "--utf8", "--no"}).status, 0);
  ASSERT_EQ(RunVorlect({"form", "csv-export", Sample("Main.dfm"), main, "--utf8"}).status, 0);
  OpenAndSave({all, main}, kUtf8, false);
  ASSERT_FALSE(ReadFile(all).starts_with("\xEF\xBB\xBF"));
  // "Готово" becomes "Сделано"; the form holds the Russian texts in code page 1251.
  ExpectRoundTrip(Sample("Sample.dpr"), Sample("Main.dfm"), all, main, {"--utf8"},
                  ";\xD0\x93\xD0\xBE\xD1\x82\xD0\xBE\xD0\xB2\xD0\xBE\n",
                  ";\xD0\xA1\xD0\xB4\xD0\xB5\xD0\xBB\xD0\xB0\xD0\xBD\xD0\xBE\n", "'\xC3\xEE\xF2\xEE\xE2\xEE'",
                  "'\xD1\xE4\xE5\xEB\xE0\xED\xEE'");
}

}  // namespace
