#include "process/DosLib2.h"

#include "ProcessTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vorlect::process {
namespace {

using test::ScopedCwd;
using test::ScopedEnv;
using test::TempDir;
using test::WriteFile;
using test::WriteScript;

TEST(SplitProgram, CutsAtFirstBlankOrTakesTheQuotedPath) {
  ProgramAndRest a = SplitProgram("tool -a  b");
  EXPECT_EQ(a.program, "tool");
  EXPECT_EQ(a.rest, " -a  b");
  EXPECT_FALSE(a.quoted);

  ProgramAndRest b = SplitProgram("\"/opt/my tools/rc\" x.rc");
  EXPECT_EQ(b.program, "/opt/my tools/rc");
  EXPECT_EQ(b.rest, " x.rc");
  EXPECT_TRUE(b.quoted);

  EXPECT_EQ(SplitProgram("\"/opt/my tools/rc x.rc").program, "/opt/my tools/rc x.rc");  // unterminated
  EXPECT_EQ(SplitProgram(" tool").program, "");
}

TEST(SplitArguments, FollowsTheWindowsRuntimeRules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitArguments("  \t "), V{});
  EXPECT_EQ(SplitArguments(" a  b\tc "), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitArguments("\"a b\" c"), (V{"a b", "c"}));
  EXPECT_EQ(SplitArguments("x\"a b\"y"), V{"xa by"});
  EXPECT_EQ(SplitArguments("\"\" z"), (V{"", "z"}));
  EXPECT_EQ(SplitArguments(R"(a\\"b c")"), V{R"(a\b c)"});
  EXPECT_EQ(SplitArguments(R"(a\\\"b)"), V{R"(a\"b)"});
  EXPECT_EQ(SplitArguments(R"(C:\dir\file.rc)"), V{R"(C:\dir\file.rc)"});
  EXPECT_EQ(SplitArguments(R"("say ""hi""" x)"), (V{"say \"hi\"", "x"}));
  EXPECT_EQ(SplitArguments("\"open end"), V{"open end"});
}

TEST(SearchProgram, FolderOrderAndWhatCountsAsAProgram) {
  TempDir d;
  WriteScript(d / "one/tool", "true");
  WriteScript(d / "two/tool", "true");
  WriteScript(d / "two/other", "true");
  WriteFile(d / "one/plain", "data", false);
  WriteScript(d / "two/plain", "true");
  std::filesystem::create_directories(d / "one/dir");
  WriteScript(d / "two/dir", "true");
  std::vector<std::string> folders{d / "one", "", d / "two"};

  EXPECT_EQ(SearchProgram("tool", true, folders, false), d / "one/tool");
  EXPECT_EQ(SearchProgram("other", true, folders, false), d / "two/other");
  EXPECT_EQ(SearchProgram("plain", true, folders, false), d / "two/plain");  // not executable
  EXPECT_EQ(SearchProgram("dir", true, folders, false), d / "two/dir");      // a folder
  EXPECT_EQ(SearchProgram("missing", true, folders, false), "");
  // An absolute name is checked as it stands.
  EXPECT_EQ(SearchProgram(d / "two/other", true, {d / "one"}, false), d / "two/other");
  EXPECT_EQ(SearchProgram(d / "one/other", true, folders, false), "");
}

TEST(SearchProgram, ExtensionOrderWhereThePlatformHasExtensions) {
  TempDir d;
  WriteScript(d / "a/both.EXE", "true");
  WriteScript(d / "a/both.COM", "true");
  WriteScript(d / "a/batch.BAT", "true");
  WriteScript(d / "a/late.BAT", "true");
  WriteScript(d / "b/late.EXE", "true");
  WriteScript(d / "a/named.txt", "true");
  std::vector<std::string> folders{d / "a", d / "b"};

  EXPECT_EQ(SearchProgram("both", true, folders, true), d / "a/both.EXE");
  EXPECT_EQ(SearchProgram("both", false, folders, true), d / "a/both.COM");
  EXPECT_EQ(SearchProgram("batch", true, folders, true), d / "a/batch.BAT");
  // An earlier folder wins over a preferred extension in a later one.
  EXPECT_EQ(SearchProgram("late", true, folders, true), d / "a/late.BAT");
  // A name with an extension is searched unchanged.
  EXPECT_EQ(SearchProgram("named.txt", true, folders, true), d / "a/named.txt");
  // Without extension trying, the bare name is all that counts.
  EXPECT_EQ(SearchProgram("both", true, folders, false), "");
}

TEST(FindProgram, SearchesCurrentFolderThenExecutableFolderThenPath) {
  TempDir d;
  WriteScript(d / "cwd/tool", "true");
  WriteScript(d / "p1/tool", "true");
  WriteScript(d / "p1/only1", "true");
  WriteScript(d / "p2/only1", "true");
  WriteScript(d / "p2/only2", "true");
  std::string path = d / "p1" + ":" + (d / "p2");
  ScopedEnv env("PATH", path.c_str());
  ScopedCwd cwd(d / "cwd");

  EXPECT_EQ(FindProgram("tool", true), d / "cwd/tool");
  EXPECT_EQ(FindProgram("only1 with args", true), d / "p1/only1");
  EXPECT_EQ(FindProgram("only2", true), d / "p2/only2");
  EXPECT_EQ(FindProgram("", true), "");

  // The folder of the running executable comes before PATH.
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(FindProgram(self.filename().string(), true), self.string());
}

TEST(FindProgram, QuotedNameWithBlanksAndLongPath) {
  TempDir d;
  WriteScript(d / "my tools/rc", "true");
  // Folders beyond the first 1024 characters of PATH are searched too.
  std::string path;
  for (int i = 0; i < 60; ++i) path += d / ("none" + std::to_string(i)) + ":";
  path += d / "my tools";
  ASSERT_GT(path.size(), 1024u);
  ScopedEnv env("PATH", path.c_str());

  EXPECT_EQ(FindProgram("\"" + (d / "my tools/rc") + "\" x.rc", true), d / "my tools/rc");
  EXPECT_EQ(FindProgram(d / "my tools/rc", true), "");  // cut at the blank
  EXPECT_EQ(FindProgram("rc x.rc", true), d / "my tools/rc");
}

}  // namespace
}  // namespace vorlect::process
