// The command-line tool as a user runs it: exit statuses, messages, standard input and output.
#include "CliTestUtil.h"
#include "host/formfile/FormFile.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;

namespace {

using vorlect::testing::Result;
using vorlect::testing::RunProgram;
using vorlect::testing::RunVorlect;

const std::string kSample = std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/";

class Cli : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorlect-cli-test-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(Cli, ConvertsTextToBinaryAndBackToTheSameText) {
  const std::string bin = Path("About.dfm"), txt = Path("About.txt");
  ASSERT_EQ(RunVorlect({"convert", kSample + "About.dfm", bin, "--to", "binary"}).status, 0);
  const std::string binary = ReadFile(bin);
  ASSERT_GE(binary.size(), 3u);
  EXPECT_EQ(static_cast<unsigned char>(binary[0]), 0xFF) << "text input gets the resource header";
  ASSERT_EQ(RunVorlect({"convert", bin, txt, "--to", "text"}).status, 0);
  EXPECT_EQ(ReadFile(txt), ReadFile(kSample + "About.dfm"));
}

TEST_F(Cli, BinaryOutputKeepsOrDropsTheResourceHeaderAsAsked) {
  const std::string with = Path("with.dfm"), without = Path("without.dfm"), again = Path("again.dfm");
  ASSERT_EQ(RunVorlect({"convert", kSample + "Main.dfm", with, "--to", "binary"}).status, 0);
  ASSERT_EQ(RunVorlect({"convert", kSample + "Main.dfm", without, "--to", "binary", "--no-resource-header"}).status, 0);
  EXPECT_EQ(ReadFile(without).substr(0, 4), "TPF0");
  // Binary to binary keeps the input's choice.
  ASSERT_EQ(RunVorlect({"convert", without, again, "--to", "binary"}).status, 0);
  EXPECT_EQ(ReadFile(again), ReadFile(without));
  ASSERT_EQ(RunVorlect({"convert", without, again, "--to", "binary", "--resource-header"}).status, 0);
  EXPECT_EQ(ReadFile(again), ReadFile(with));
}

TEST_F(Cli, ReadsStandardInputAndWritesStandardOutput) {
  const std::string text = ReadFile(kSample + "Main.dfm");
  Result bin = RunVorlect({"convert", "-", "-", "--to", "binary"}, text);
  ASSERT_EQ(bin.status, 0) << bin.err;
  Result back = RunVorlect({"convert", "-", "-", "--to", "text"}, bin.out);
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, text);
}

TEST_F(Cli, UnicodeStyleWritesCodePoints) {
  Result r = RunVorlect({"convert", kSample + "Main.dfm", "-", "--to", "text", "--style", "unicode", "--line-ends", "lf"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("'Orders - Caf'#233' Sample'"), std::string::npos) << r.out.substr(0, 400);
  EXPECT_NE(r.out.find("'Amount ('#8364')'"), std::string::npos);
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

TEST_F(Cli, FailuresExitWithOneAndNameTheFileAndPlace) {
  const std::string broken = Path("broken.dfm"), out = Path("out.dfm");
  { std::ofstream(broken, std::ios::binary) << "object Form1: TForm1\r\n  Caption = 'unterminated\r\nend\r\n"; }
  Result r = RunVorlect({"convert", broken, out, "--to", "binary"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(broken), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(out)) << "no output file after a failure";

  Result missing = RunVorlect({"convert", Path("nothing.dfm"), out, "--to", "text"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nothing.dfm"), std::string::npos);
}

TEST_F(Cli, UsageErrorsExitWithTwoAndHelpWithZero) {
  EXPECT_EQ(RunVorlect({}).status, 2);
  EXPECT_EQ(RunVorlect({"convert", "a.dfm"}).status, 2);
  EXPECT_EQ(RunVorlect({"convert", "a.dfm", "b.dfm", "--to", "pdf"}).status, 2);
  EXPECT_EQ(RunVorlect({"frobnicate"}).status, 2);
  Result help = RunVorlect({"convert", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--resource-header"), std::string::npos);
}

// Only the command named is set up for a run; help and mistakes still see every command.
TEST_F(Cli, HelpListsEveryCommandAndEachCommandRunsAlone) {
  Result all = RunVorlect({"--help"});
  EXPECT_EQ(all.status, 0);
  for (const char* command : {"convert", "project", "form", "spellers", "dll", "languages", "spell"})
    EXPECT_NE(all.out.find(std::string("\n  ") + command + " "), std::string::npos) << command << ": " << all.out;
  EXPECT_EQ(RunVorlect({"--version"}).status, 0);
  EXPECT_EQ(RunVorlect({"Convert", "a.dfm", "b.dfm", "--to", "text"}).status, 2);
  for (const char* command : {"project", "form", "spellers", "dll", "languages", "spell"}) {
    Result help = RunVorlect({command, "--help"});
    EXPECT_EQ(help.status, 0) << command << ": " << help.err;
    EXPECT_NE(help.out.find(command), std::string::npos) << help.out;
  }
}

// `vorlect` converts forms by itself and hands every other command to vorlect-main beside it:
// alone in a folder it still converts, and names the program it misses for anything else.
TEST_F(Cli, LauncherConvertsAloneAndNamesTheMissingMainProgram) {
  const std::string alone = Path("bin/vorlect");
  fs::create_directories(Path("bin"));
  fs::copy_file(VORLECT_EXE, alone);
  const std::string bin = Path("Main.bin");
  Result convert = RunProgram(alone, {"convert", kSample + "Main.dfm", bin, "--to", "binary"});
  ASSERT_EQ(convert.status, 0) << convert.err;
  Result back = RunProgram(alone, {"convert", bin, "-", "--to", "text"});
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(back.out, ReadFile(kSample + "Main.dfm"));

  Result other = RunProgram(alone, {"languages", "list"});
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err, "vorlect: cannot run " + Path("bin/vorlect-main") + ": No such file or directory\n");
  EXPECT_EQ(other.out, "");
}

}  // namespace
