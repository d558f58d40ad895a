// The built vlrc and vldcc programs on what the project manager exports and the DLL builder writes.
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "platform/pe/StringModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace vorlect::platform;
namespace fs = std::filesystem;

struct Scratch {
  fs::path path = fs::path(TempFolder()) / ("vorlect_rc_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
  Scratch() { fs::create_directories(path); }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

struct RunResult {
  int status = -1;
  std::string out;
};

// Runs a program with its standard error captured (errors go there; the builder reads both
// streams), standard output dropped.
RunResult RunProgram(const std::string& command) {
  RunResult r;
  FILE* p = ::popen(("exec 3>&1; { " + command + "; } 2>&3 >/dev/null").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string LibrarySource(const std::string& f) {
  return "// Generated for TVorlect\nlibrary " + f + ";\n{$R " + f + ".res}\nbegin\nend.\n";
}

TEST(Tools, ExportedScriptThroughBothCompilersReadsBack) {
  Scratch dir;
  // Russian texts in code page 1251, as the export writes them for a language with that charset.
  WriteFileAtomic(dir / "Strings2.rc",
                  "STRINGTABLE\nBEGIN\n    1000, \"%TForm1\"\n    1001, \"Form1.Caption\"\n"
                  "    1002, \"\xcf\xf0\xe8\xe2\xe5\xf2\\n\xec\xe8\xf0\"\n    1003, \"Label1.Caption\"\n"
                  "    1004, \"\\042q\\047 \\134\\011t\"\n    1200, \"%TForm2\"\nEND\n");
  RunResult rc = RunProgram(std::string(VORLECT_VLRC) + " --codepage 1251 --language 0x419 " + Quote(dir / "Strings2.rc"));
  ASSERT_EQ(rc.status, 0) << rc.out;
  EXPECT_EQ(rc.out, "");
  WriteFileAtomic(dir / "Strings2.dpr", LibrarySource("Strings2"));
  // Started from another folder: the .res is found beside the .dpr.
  RunResult dcc = RunProgram("cd / && " + std::string(VORLECT_VLDCC) + " " + Quote(dir / "Strings2.dpr"));
  ASSERT_EQ(dcc.status, 0) << dcc.out;

  auto module = StringModule::Load(dir / "Strings2.dll");
  EXPECT_EQ(module->LoadString(1000), "%TForm1");
  EXPECT_EQ(module->LoadString(1002), "\xcf\xf0\xe8\xe2\xe5\xf2\n\xec\xe8\xf0");  // back in 1251
  EXPECT_EQ(module->LoadStringW(1002), u"\u041f\u0440\u0438\u0432\u0435\u0442\n\u043c\u0438\u0440");
  EXPECT_EQ(module->LoadString(1004), "\"q' \\\tt");
  EXPECT_EQ(module->LoadString(1200), "%TForm2");
  EXPECT_EQ(module->LanguageOf(1000), 0x419);
  EXPECT_EQ(module->LoadString(1005), "");  // same block, not listed
  EXPECT_FALSE(module->LoadString(1500).has_value());
  // The DLL holds exactly the .res file's resources.
  const auto fromRes = ReadResFile(ReadFile(dir / "Strings2.res"));
  const auto fromDll = ReadPeResources(ReadFile(dir / "Strings2.dll"));
  ASSERT_EQ(fromRes.size(), fromDll.size());
  for (std::size_t i = 0; i < fromRes.size(); ++i) EXPECT_EQ(fromRes[i].data, fromDll[i].data);
}

TEST(Tools, FailuresLeaveNoOutputAndReportLinesOnStandardError) {
  Scratch dir;
  WriteFileAtomic(dir / "Bad1.rc", "STRINGTABLE\nBEGIN\n    1000, \"ok\"\n    1001 \"open\nEND\n");
  RunResult rc = RunProgram(std::string(VORLECT_VLRC) + " " + Quote(dir / "Bad1.rc"));
  EXPECT_EQ(rc.status, 1);
  EXPECT_EQ(rc.out, dir / "Bad1.rc" + "(4): string not closed\n");
  EXPECT_FALSE(FileExists(dir / "Bad1.res"));

  rc = RunProgram(std::string(VORLECT_VLRC) + " " + Quote(dir / "Missing1.rc"));
  EXPECT_EQ(rc.status, 1);
  EXPECT_NE(rc.out.find("Missing1.rc"), std::string::npos) << rc.out;
  for (const char* args : {"", "--codepage 42 x.rc", "--language", "a.rc b.rc"}) {
    rc = RunProgram(std::string(VORLECT_VLRC) + " " + args);
    EXPECT_EQ(rc.status, 1) << args;
    EXPECT_NE(rc.out.find("usage: vlrc"), std::string::npos) << args;
  }

  // A library naming a missing .res: the line of its {$R}.
  WriteFileAtomic(dir / "L1.dpr", LibrarySource("L1"));
  RunResult dcc = RunProgram(std::string(VORLECT_VLDCC) + " " + Quote(dir / "L1.dpr"));
  EXPECT_EQ(dcc.status, 1);
  EXPECT_EQ(dcc.out.rfind(dir / "L1.dpr" + "(3): ", 0), 0u) << dcc.out;
  EXPECT_FALSE(FileExists(dir / "L1.dll"));
  // A damaged .res.
  WriteFileAtomic(dir / "L1.res", std::string("\0\0\0\0 \0\0\0\xff\xff", 10));
  dcc = RunProgram(std::string(VORLECT_VLDCC) + " " + Quote(dir / "L1.dpr"));
  EXPECT_EQ(dcc.status, 1);
  EXPECT_EQ(dcc.out.rfind(dir / "L1.dpr" + "(3): ", 0), 0u) << dcc.out;
  EXPECT_FALSE(FileExists(dir / "L1.dll"));
  // A source that is not the generated layout.
  WriteFileAtomic(dir / "L2.dpr", "library L2;\nuses Windows;\nbegin\nend.\n");
  dcc = RunProgram(std::string(VORLECT_VLDCC) + " " + Quote(dir / "L2.dpr"));
  EXPECT_EQ(dcc.status, 1);
  EXPECT_EQ(dcc.out.rfind(dir / "L2.dpr" + "(2): 'begin' expected", 0), 0u) << dcc.out;
  EXPECT_FALSE(FileExists(dir / "L2.dll"));
  dcc = RunProgram(std::string(VORLECT_VLDCC));
  EXPECT_EQ(dcc.status, 1);
  EXPECT_NE(dcc.out.find("usage: vldcc"), std::string::npos);
}

// A string table whose lengths run past its block would give a module no reader accepts: refused,
// naming the .res file and the block.
TEST(Tools, LibraryCompilerRefusesStringTablesThatRunPastTheirBlock) {
  Scratch dir;
  vorlect::platform::Resource bad;
  bad.type = vorlect::platform::ResourceId(vorlect::platform::kRtString);
  bad.name = vorlect::platform::ResourceId(std::uint16_t{63});
  bad.language = 0x409;
  bad.data = std::string("\x05\x00" "a\0", 4);  // five characters announced, one there
  WriteFileAtomic(dir / "L3.res", vorlect::platform::WriteResFile({bad}));
  WriteFileAtomic(dir / "L3.dpr", LibrarySource("L3"));
  RunResult dcc = RunProgram(std::string(VORLECT_VLDCC) + " " + Quote(dir / "L3.dpr"));
  EXPECT_EQ(dcc.status, 1);
  EXPECT_EQ(dcc.out.rfind(dir / "L3.dpr" + "(3): " + dir / "L3.res" + ": string table block 63", 0), 0u) << dcc.out;
  EXPECT_NE(dcc.out.find("runs past the end of its table block"), std::string::npos) << dcc.out;
  EXPECT_FALSE(FileExists(dir / "L3.dll"));
}

}  // namespace
