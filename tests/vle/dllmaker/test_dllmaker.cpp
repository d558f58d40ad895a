// The string-module builder: tool paths, the configuration dialog, output capture and the build,
// with small shell scripts as tools and with the real resource and library compilers. The
// project folder and the tools' folder both hold a blank, as on typical Windows installs.
#include "vle/dllmaker/FConfig.h"
#include "vle/dllmaker/FDllMaker.h"

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/pe/StringModule.h"
#include "process/DosLib2.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DllMakerTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vorlect_dllmaker_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    dir_ = root_ + "/my project";
    fs::create_directories(dir_);
    ::setenv("VORLECT_REGISTRY_DIR", (root_ + "/registry").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VORLECT_REGISTRY_DIR");
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  void Write(const std::string& name, const std::string& text, bool executable = false) const {
    fs::create_directories(fs::path(Path(name)).parent_path());
    platform::WriteFileAtomic(Path(name), text);
    ::chmod(Path(name).c_str(), executable ? 0755 : 0644);
  }
  // A tool that writes "made from ARG" into its last argument with `ext` (.rc -> .res) and logs
  // its arguments to NAME.args, or prints `failOutput` and fails.
  std::string FakeTool(const std::string& name, const std::string& ext, const std::string& failOutput = {}) const {
    const std::string path = root_ + "/my tools/" + name;
    std::string body = "#!/bin/sh\nfor a; do last=$a; done\necho \"$@\" >> \"" + path + ".args\"\n";
    body += failOutput.empty() ? "printf 'made from %s' \"$last\" > \"${last%.*}" + ext + "\"\n"
                               : "printf '" + failOutput + "'\nexit 1\n";
    fs::create_directories(root_ + "/my tools");
    platform::WriteFileAtomic(path, body);
    ::chmod(path.c_str(), 0755);
    return path;
  }
  TToolPaths FakeTools() const { return {FakeTool("dcc", ".dll"), FakeTool("rc", ".res")}; }

  struct Outcome {
    TDllBuildResult result;
    std::vector<std::string> lines;
  };
  Outcome Build(const TToolPaths& tools, const std::string& base = "S", std::function<std::uint16_t(int)> ids = {}) {
    Outcome o;
    o.result = BuildStringDlls({dir_, base, tools, std::move(ids)}, runner_,
                               [&](const std::string& l) { o.lines.push_back(l); });
    return o;
  }

  std::string root_, dir_;
  TToolRunner runner_;
};

TEST(OutputCollector, LinesEndAtCrLfCrOrLfAndTheLastLineIsKept) {
  TOutputCollector c;
  // A window sees each line the moment it is complete, not when the tool has ended.
  std::vector<std::string> seen;
  size_t seenWhenBArrived = 0;
  c.OnLine = [&](const std::string& line) { seen.push_back(line); };
  for (char ch : std::string("a\r\nb\nc\rd\n\ne\r\n\r\n\xff\0last", 21)) {
    c.Add(ch);
    if (ch == 'b') seenWhenBArrived = seen.size();
  }
  EXPECT_EQ(seenWhenBArrived, 1u);
  c.Finish();
  EXPECT_THAT(c.Lines(), ElementsAre("a", "b", "c", "d", "", "e", "", std::string("\xff\0last", 6)));
  EXPECT_EQ(seen, c.Lines());
}

TEST(QuoteArgument, SplitsBackUnchanged) {
  for (const std::string arg : {"S1.rc", "", "with blank.rc", "tab\there", "q\"uote", "trail\\", "a b\\", "\\\"x"}) {
    const auto split = process::SplitArguments("tool " + QuoteArgument(arg));
    ASSERT_EQ(split.size(), 2u) << arg;
    EXPECT_EQ(split[1], arg);
  }
}

TEST_F(DllMakerTest, ToolPathsFromRegistryVersionsElseBesideTheProgram) {
  for (const char* tool : {"old/bin/vlrc", "old/bin/vldcc", "half/bin/vlrc", "inst/bin/vlrc", "inst/bin/vldcc",
                           "tree/apps/vlrc/vlrc", "tree/apps/vldcc/vldcc"})
    Write(tool, "", true);
  const TToolPaths old{Path("old/bin/vldcc"), Path("old/bin/vlrc")}, half{Path("half/bin/vldcc"), Path("half/bin/vlrc")},
      inst{Path("inst/bin/vldcc"), Path("inst/bin/vlrc")};
  EXPECT_EQ(DetectToolPaths(Path("inst/bin")), inst);
  EXPECT_EQ(DetectToolPaths(Path("tree/apps/vorlect")),
            (TToolPaths{Path("tree/apps/vldcc/vldcc"), Path("tree/apps/vlrc/vlrc")}));
  EXPECT_EQ(DetectToolPaths(Path("nowhere")), TToolPaths{});

  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  auto key = [&](const char* version) { return reg.OpenKey(std::string("\\") + kToolsKeyPrefix + version, true); };
  ASSERT_TRUE(key("4.0"));
  reg.WriteString(kRootDirValue, Path("half") + "/");  // one tool only: the next version is tried
  ASSERT_TRUE(key("3.0"));                            // no RootDir: paths stay as they were
  ASSERT_TRUE(key("2.0"));
  reg.WriteString(kRootDirValue, Path("old"));
  EXPECT_EQ(DetectToolPaths(Path("inst/bin")), old);
  reg.DeleteValue(kRootDirValue);
  EXPECT_EQ(DetectToolPaths(Path("inst/bin")), inst);
  EXPECT_EQ(DetectToolPaths(Path("nowhere")), half);  // shown red in the dialog

  ASSERT_TRUE(key("4.0"));
  reg.WriteInteger(kRootDirValue, 7);  // a damaged value counts as none
  EXPECT_EQ(DetectToolPaths(Path("inst/bin")), inst);
  RegisterToolRoot(Path("old"));
  EXPECT_EQ(DetectToolPaths(Path("inst/bin")), old);
}

TEST_F(DllMakerTest, ConfigDialogEnablesOkOnlyForTwoExistingFiles) {
  Write("bin/vlrc", "", true);
  Write("bin/vldcc", "", true);
  TToolPaths paths{Path("bin/vldcc"), Path("bin")};  // a folder is no tool
  TFrmConfigTools dlg(paths);
  EXPECT_TRUE(dlg.CompilerFound);
  EXPECT_FALSE(dlg.ResourceCompilerFound || dlg.OkEnabled || dlg.BtnOkClick());
  dlg.EdResourceCompiler = Path("bin/vlrc");
  EXPECT_EQ(paths.ResourceCompiler, Path("bin"));
  dlg.FieldExit();
  EXPECT_TRUE(dlg.ResourceCompilerFound && dlg.OkEnabled && dlg.BtnOkClick());
  EXPECT_EQ(paths, (TToolPaths{Path("bin/vldcc"), Path("bin/vlrc")}));
}

TEST_F(DllMakerTest, EveryStepPerScriptWithQuotedPathsAndLanguageOptions) {
  Write("S1.rc", "x");
  Write("S2.rc", "x");
  Write("S4.rc", "x");  // after a gap: not built
  Write("S1.dll", "old");
  ::chmod(Path("S1.dll").c_str(), 0444);  // a read-only old module is replaced
  const TToolPaths tools = FakeTools();
  const Outcome o = Build(tools, "S", [](int i) -> std::uint16_t { return i == 1 ? 0x0419 : 0; });
  EXPECT_TRUE(o.result.Completed);
  EXPECT_EQ(o.result.Built, 2);
  EXPECT_THAT(o.lines, ElementsAre("Compiled script S1.rc to S1.res", "Generate DLL source file S1.dpr",
                                   "Compiled DLL S1.dpr to S1.dll", "Compiled script S2.rc to S2.res",
                                   "Generate DLL source file S2.dpr", "Compiled DLL S2.dpr to S2.dll"));
  EXPECT_EQ(platform::ReadFile(Path("S1.dll")), "made from " + Path("S1.dpr"));
  EXPECT_FALSE(fs::exists(Path("S4.dll")));
  EXPECT_EQ(platform::ReadFile(tools.ResourceCompiler + ".args"),
            Path("S1.rc") + "\n--codepage 1251 --language 0x0419 " + Path("S2.rc") + "\n");
}

TEST_F(DllMakerTest, DialogWithoutFirstScriptEnablesAtOnceAndCancelStopsBetweenTools) {
  Write("S2.rc", "x");
  bool emptyStringLists = false;
  TFrmDLLProgress dlg(runner_, {dir_, "S", FakeTools(), {}}, [&] { emptyStringLists = true; });
  EXPECT_EQ(dlg.Caption(), "Create S*.dll");
  dlg.FormShow();
  EXPECT_TRUE(dlg.GoEnabled && !dlg.OkEnabled);
  EXPECT_TRUE(dlg.BtnGoClick());
  EXPECT_THAT(dlg.Progress, IsEmpty());
  EXPECT_TRUE(emptyStringLists && dlg.OkEnabled && dlg.OkInFront && !dlg.GoEnabled);

  Write("S1.rc", "x");
  emptyStringLists = false;
  dlg.OnProgress = [&](const std::string& line) {
    if (line.rfind("Compiled DLL", 0) == 0) {
      EXPECT_FALSE(dlg.BtnCancelClick());  // recorded, not closed
    }
  };
  dlg.FormShow();
  EXPECT_FALSE(dlg.BtnGoClick());
  EXPECT_EQ(dlg.Progress.size(), 3u);
  EXPECT_FALSE(emptyStringLists || dlg.OkEnabled || dlg.GoEnabled);
  EXPECT_TRUE(dlg.BtnCancelClick());

  // A tool that never ends is stopped through Cancel while waiting.
  TFrmDLLProgress hung(runner_, {dir_, "S", {FakeTool("dcc", ".dll"), FakeTool("rc", ".res", "x' ; exec sleep 60; '")}, {}}, {});
  int waits = 0;
  hung.OnWait = [&] {
    if (++waits == 3) hung.BtnCancelClick();
  };
  hung.FormShow();
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(hung.BtnGoClick());
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
  EXPECT_THAT(hung.Progress, IsEmpty());
}

TEST_F(DllMakerTest, FailuresStopWithTheToolsOwnLines) {
  Write("S1.rc", "x");
  Write("S2.rc", "x");
  Write("S1.res", "old");  // a stale result must not pass for this run's
  const TToolPaths tools = FakeTools();
  Outcome o = Build({tools.Compiler, FakeTool("badrc", ".res", "S1.rc(3): bad\\nlast line")});
  EXPECT_FALSE(o.result.Completed);
  EXPECT_THAT(o.lines, ElementsAre("Could not compile resource script S1.rc", "S1.rc(3): bad", "last line"));
  EXPECT_FALSE(fs::exists(Path("S1.res")) || fs::exists(tools.Compiler + ".args"));

  o = Build({FakeTool("baddcc", ".dll", "S1.dpr(2): no\\r\\n"), tools.ResourceCompiler});
  EXPECT_THAT(o.lines, ElementsAre("Compiled script S1.rc to S1.res", "Generate DLL source file S1.dpr",
                                   "Could not compile DLL S1.dpr", "S1.dpr(2): no"));

  for (const std::string& missing : {root_ + "/no such/vlrc", std::string()})
    EXPECT_THAT(Build({tools.Compiler, missing}).lines, ElementsAre("Could not compile resource script S1.rc"));

  fs::remove(Path("S1.dpr"));
  Write("S1.dpr/keep", "");  // cannot be deleted
  EXPECT_THAT(Build(tools).lines, ElementsAre("Compiled script S1.rc to S1.res", "Cannot delete existing file S1.dpr"));
}

TEST_F(DllMakerTest, RealToolsGiveModulesWithEveryString) {
  Write("Strings1.rc", "STRINGTABLE\nBEGIN\n    1000, \"%TMainForm\"\n    1001, \"Label1.Caption\"\n"
                       "    1002, \"Line\\none \\042q\\042 \\047a\\047 \\134\"\n    1100, \"%TAbout\"\n    1101, \"\"\nEND\n");
  Write("Strings2.rc", "STRINGTABLE\nBEGIN\n    1000, \"%TMainForm\"\n    1001, \"Label1.Caption\"\n"
                       "    1002, \"\xd1\xf2\xf0\xee\xea\xe0\\n\xe4\xe2\xe0\"\n    1100, \"%TAbout\"\n    1101, \"\xce\xea\"\nEND\n");
  const Outcome o = Build({VORLECT_VLDCC, VORLECT_VLRC}, "Strings", [](int i) -> std::uint16_t { return i ? 0x0419 : 0; });
  ASSERT_TRUE(o.result.Completed) << ::testing::PrintToString(o.lines);

  const auto en = platform::StringModule::Load(Path("Strings1.dll"));
  EXPECT_EQ(en->LoadString(1000), "%TMainForm");
  EXPECT_EQ(en->LoadString(1002), "Line\none \"q\" 'a' \\");
  EXPECT_EQ(en->LoadString(1101), "");
  const auto ru = platform::StringModule::Load(Path("Strings2.dll"));
  EXPECT_EQ(ru->LanguageOf(1002), 0x0419);
  EXPECT_EQ(ru->LoadStringW(1101), u"\u041e\u043a");
  EXPECT_EQ(ru->LoadString(1002), "\xd1\xf2\xf0\xee\xea\xe0\n\xe4\xe2\xe0");
  EXPECT_EQ(ru->LoadString(1200), std::nullopt);

  Write("Strings1.rc", "STRINGTABLE\nBEGIN\n    1000, \"%TMainForm\n");
  const Outcome bad = Build({VORLECT_VLDCC, VORLECT_VLRC}, "Strings");
  ASSERT_EQ(bad.lines.size(), 2u);
  EXPECT_THAT(bad.lines[1], ::testing::HasSubstr("Strings1.rc(3)"));
}

TEST_F(DllMakerTest, CommandLinePrintsTheLinesAndFailsWithOne) {
  Write("P.dpr", "program P;\nbegin\nend.\n");
  Write("S1.rc", "STRINGTABLE { 1000, \"%TForm1\" }\n");
  auto run = [&](const std::string& tools) {
    const std::string cmd = std::string(VORLECT_CLI) + " project build-dlls --no-export " + QuoteArgument(Path("P.dpr")) + " S " +
                            tools + " > " + QuoteArgument(Path("out.txt")) + " 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run(std::string("--compiler ") + VORLECT_VLDCC + " --resource-compiler " + VORLECT_VLRC), 0);
  EXPECT_EQ(platform::ReadFile(Path("out.txt")),
            "Compiled script S1.rc to S1.res\nGenerate DLL source file S1.dpr\nCompiled DLL S1.dpr to S1.dll\n");
  EXPECT_EQ(platform::StringModule::Load(Path("S1.dll"))->LoadString(1000), "%TForm1");
  EXPECT_EQ(run("--resource-compiler /nonexistent/vlrc"), 1);
  EXPECT_EQ(platform::ReadFile(Path("out.txt")), "Could not compile resource script S1.rc\n");
}

}  // namespace
}  // namespace vorlect::vle
