// Failures as a user meets them: damaged settings, form files that cannot be read, files of
// another kind. Each run says what went wrong, where, and exits 1.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;

namespace {

using vorlect::testing::Has;

class CliFailures : public vorlect::testing::WithSampleProject {
protected:
  // Every hive file of the settings folder, with `line` appended.
  std::vector<std::string> DamageHives(const std::string& line) {
    std::vector<std::string> hives;
    for (const auto& f : fs::directory_iterator(dir_.Path("registry")))
      if (f.path().extension() == ".reg") {
        std::ofstream(f.path(), std::ios::app) << line << "\n";
        hives.push_back(f.path().string());
      }
    return hives;
  }
};

TEST_F(CliFailures, ADamagedSettingsHiveIsReportedByEveryCommandThatReadsIt) {
  ASSERT_NO_FATAL_FAILURE(ConfigureSampleLanguages());
  const auto hives = DamageHives("this is no value");
  ASSERT_FALSE(hives.empty());

  Result list = RunVorlect({"languages", "list"});
  EXPECT_EQ(list.status, 1);
  EXPECT_EQ(list.out, "");
  EXPECT_TRUE(Has(list.err, ".reg:")) << list.err;
  EXPECT_TRUE(Has(list.err, ": unexpected text")) << list.err;

  // The Russian column would be converted with the wrong code page: nothing is written.
  Result exported = RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--utf8", "--no"});
  EXPECT_EQ(exported.status, 1);
  EXPECT_TRUE(Has(exported.err, "the settings are damaged: ")) << exported.err;
  EXPECT_FALSE(fs::exists(dir_.Path("all.csv")));

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"form", "csv-export", Sample("Main.dfm"), dir_.Path("main.csv")},
        std::vector<std::string>{"form", "text", Sample("Main.dfm"), "ErrNoFile"},
        std::vector<std::string>{"project", "build-dlls", Sample("Sample.dpr"), "Strings", "--yes"},
        std::vector<std::string>{"spellers", "list"}}) {
    Result r = RunVorlect(args);
    EXPECT_EQ(r.status, 1) << args[0] << " " << args[1];
    EXPECT_TRUE(Has(r.err, ".reg:")) << args[0] << " " << args[1] << ": " << r.err;
  }
  EXPECT_FALSE(fs::exists(Sample("Strings1.rc")));
}

// A text form cut short and a UTF-16 text in place of a form: every project command names both,
// with what is wrong, and exits 1; the readable form is still worked on.
TEST_F(CliFailures, EveryProjectCommandNamesTheFormsItCouldNotRead) {
  const std::string about = ReadFile(Sample("About.dfm"));
  WriteFileAtomic(Sample("About.dfm"), about.substr(0, about.size() / 2));
  const std::string utf16("\xFF\xFEo\0b\0j\0e\0c\0t\0 \0", 16);
  WriteFileAtomic(Sample("Options.dfm"), utf16);

  auto expectNamed = [&](const Result& r, const std::string& what) {
    EXPECT_EQ(r.status, 1) << what << "\n" << r.out << r.err;
    EXPECT_TRUE(Has(r.err, Sample("About.dfm") + ": the form file ends before its last \"end\"")) << what << ": " << r.err;
    EXPECT_TRUE(Has(r.err, Sample("Options.dfm") + ": offset 0: not a form file: a UTF-16 text")) << what << ": " << r.err;
  };
  Result list = RunVorlect({"project", "list", Sample("Sample.dpr")});
  expectNamed(list, "list");
  EXPECT_FALSE(Has(list.out, "0\t-\t\t" + Sample("About.dfm"))) << "never an empty form";
  Result exported = RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"});
  expectNamed(exported, "export");
  EXPECT_TRUE(Has(ReadFile(dir_.Path("all.csv")), "Bereit")) << "the readable form is exported";
  expectNamed(RunVorlect({"project", "export", Sample("Sample.dpr"), "-", "--no"}), "export -");
  expectNamed(RunVorlect({"project", "replace", Sample("Sample.dpr"), "--find", "zzz", "--replace", "y", "--no"}),
              "replace");
  expectNamed(RunVorlect({"project", "spell", Sample("Sample.dpr")}), "spell");
  expectNamed(RunVorlect({"project", "update", Sample("Sample.dpr"), "--no"}), "update");
  expectNamed(RunVorlect({"project", "add-component", Sample("Sample.dpr"), "--languages", "2", "--yes"}),
              "add-component");
  expectNamed(RunVorlect({"project", "build-dlls", Sample("Sample.dpr"), "Strings", "--yes"}), "build-dlls");
  expectNamed(RunVorlect({"project", "empty", Sample("Sample.dpr"), "--yes"}), "empty");
  EXPECT_EQ(ReadFile(Sample("Options.dfm")), utf16);
}

// A form that cannot be written: the summary names it, after the message with its cause.
TEST_F(CliFailures, SummariesNameTheFormsThatFailed) {
  ASSERT_EQ(RunVorlect({"project", "export", Sample("Sample.dpr"), dir_.Path("all.csv"), "--no"}).status, 0);
  std::string csv = ReadFile(dir_.Path("all.csv"));
  const size_t at = csv.find("Bereit");
  ASSERT_NE(at, std::string::npos);
  csv.replace(at, 6, "Fertig");
  WriteFileAtomic(dir_.Path("all.csv"), csv);
  fs::permissions(Sample("Main.dfm"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  Result import = RunVorlect({"project", "import", Sample("Sample.dpr"), dir_.Path("all.csv"), "--yes"});
  EXPECT_EQ(import.status, 1);
  EXPECT_TRUE(Has(import.err, "Internal error writing the DFM file.\n" + Sample("Main.dfm"))) << import.err;
  EXPECT_TRUE(Has(import.err, "vorlect: not imported: " + Sample("Main.dfm") + "\n")) << import.err;

  Result replace = RunVorlect({"project", "replace", Sample("Sample.dpr"), "--find", "Bereit", "--replace", "Fertig",
                               "--yes"});
  EXPECT_EQ(replace.status, 1);
  EXPECT_TRUE(Has(replace.err, "vorlect: not saved: " + Sample("Main.dfm") + "\n")) << replace.err;
}

TEST_F(CliFailures, FilesOfAnotherKindAreNamedAsSuch) {
  WriteFileAtomic(dir_.Path("utf16.dfm"), std::string("\xFF\xFEo\0b\0j\0", 8));
  WriteFileAtomic(dir_.Path("strings.dfm"), "STRINGTABLE\r\nBEGIN\r\n  1, \"a\"\r\nEND\r\n");
  Result utf16 = RunVorlect({"form", "dump", dir_.Path("utf16.dfm")});
  EXPECT_EQ(utf16.status, 1);
  EXPECT_TRUE(Has(utf16.err, "utf16.dfm: offset 0: not a form file: a UTF-16 text")) << utf16.err;
  EXPECT_FALSE(Has(utf16.err, "RCDATA")) << utf16.err;
  Result script = RunVorlect({"convert", dir_.Path("strings.dfm"), dir_.Path("out.txt"), "--to", "text"});
  EXPECT_EQ(script.status, 1);
  EXPECT_TRUE(Has(script.err, "strings.dfm: offset 0: not a form file: a resource script")) << script.err;
  EXPECT_FALSE(fs::exists(dir_.Path("out.txt")));
}

// A 3 GB file that is no form file and no module is refused after its first bytes: with the
// address space limited to 1 GB, a reader that took it whole would fail for want of memory instead.
TEST_F(CliFailures, LargeFilesOfAnotherKindAreRefusedAfterTheirHeader) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address-space limit does not suit a sanitizer build";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "the address-space limit does not suit a sanitizer build";
#endif
#endif
  const std::string big = dir_.Path("big.dfm");
  { std::ofstream(big) << "garbage, not a form"; }
  std::error_code ec;
  fs::resize_file(big, std::uintmax_t{3} << 30, ec);
  if (ec) GTEST_SKIP() << "no sparse 3 GB file here: " << ec.message();
  auto limited = [](const std::string& args) {
    return vorlect::testing::RunProgram("/bin/sh", {"-c", "ulimit -v 1000000; exec " + std::string(VORLECT_EXE) + " " + args});
  };
  Result form = limited("convert '" + big + "' - --to text");
  EXPECT_EQ(form.status, 1);
  EXPECT_TRUE(Has(form.err, "big.dfm: offset 0: not a form file")) << form.err;
  Result module = limited("dll strings '" + big + "'");
  EXPECT_EQ(module.status, 1);
  EXPECT_TRUE(Has(module.err, "big.dfm: not a PE image")) << module.err;
}

}  // namespace
