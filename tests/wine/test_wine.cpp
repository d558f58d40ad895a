// The builder's output checked with the Windows tools: the same .res bytes as GNU windres, and
// DLLs (32- and 64-bit) that the Windows loader opens as data files, with LoadStringA and
// LoadStringW giving the texts our portable reader gives. Each check skips, saying what to
// install, when its tools are missing.
#include "vle/dllmaker/FDllMaker.h"

#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "platform/pe/StringModule.h"
#include "process/DosLib2.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;

// Exported layout: one block per form, escapes, an empty text, non-ASCII texts.
std::string EnglishScript() {
  std::string s = "STRINGTABLE\nBEGIN\n    1000, \"%TMainForm\"\n    1001, \"Button1.Caption\"\n    1002, \"&Cancel\"\n"
                  "    1003, \"Label1.Caption\"\n    1004, \"Line\\none \\042q\\042 \\047a\\047 \\134 \\011 \xe9t\xe9 \x80\"\n"
                  "    1005, \"%Form%\"\n    1006, \"\"\n    1100, \"%TAbout\"\n    1101, \"Memo1.Lines\"\n    1102, \"";
  s += std::string(320, 'x');  // both readers cut it to their 300-character buffer
  return s + "\"\nEND\n";
}
const char* const kRussian =
    "STRINGTABLE\nBEGIN\n    1000, \"%TMainForm\"\n    1001, \"Button1.Caption\"\n    1002, \"\xce\xf2\xec\xe5\xed\xe0\"\n"
    "    1003, \"Label1.Caption\"\n    1004, \"\xd1\xf2\xf0\xee\xea\xe0\\n\xe4\xe2\xe0 \xab\xbb\"\n    1100, \"%TAbout\"\n"
    "    1101, \"%Form%\"\n    1102, \"\xce \xef\xf0\xee\xe3\xf0\xe0\xec\xec\xe5\"\nEND\n";
const std::uint32_t kIds[] = {999, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1100, 1101, 1102, 1103, 1200, 5000};

bool OnPath(const std::string& program) { return !process::FindProgram(program, true).empty(); }

std::string Wine() {
  if (OnPath("wine64")) return process::FindProgram("wine64", true);
  if (fs::exists("/usr/lib/wine/wine64")) return "/usr/lib/wine/wine64";
  if (OnPath("wine")) return process::FindProgram("wine", true);
  return {};
}

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

template <class Text>
std::string Hex(const Text& text) {
  std::string out;
  char buf[8];
  for (auto c : text)
    std::snprintf(buf, sizeof buf, sizeof c == 1 ? "%02x" : "%04x", static_cast<unsigned>(static_cast<std::make_unsigned_t<decltype(c)>>(c))), out += buf;
  return out;
}

class WindowsTools : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vorlect_wine_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Strings1.dll (English, 1252) and Strings2.dll (Russian, 1251) through the builder.
  void Build() {
    platform::WriteFileAtomic(Path("Strings1.rc"), EnglishScript());
    platform::WriteFileAtomic(Path("Strings2.rc"), kRussian);
    TToolRunner runner;
    std::vector<std::string> lines;
    const TDllBuildSettings s{dir_, "Strings", {VORLECT_VLDCC, VORLECT_VLRC},
                              [](int i) -> std::uint16_t { return i == 0 ? 0x0409 : 0x0419; }};
    ASSERT_TRUE(BuildStringDlls(s, runner, [&](const std::string& l) { lines.push_back(l); }).Completed)
        << ::testing::PrintToString(lines);
  }

  std::string dir_;
};

TEST_F(WindowsTools, ResourceFilesAreByteIdenticalToWindres) {
  if (!OnPath("x86_64-w64-mingw32-windres"))
    GTEST_SKIP() << "x86_64-w64-mingw32-windres not installed (Debian package binutils-mingw-w64-x86-64)";
  Build();
  const struct {
    const char* file;
    int codePage;
    const char* language;
  } cases[] = {{"Strings1", 1252, "0x409"}, {"Strings2", 1251, "0x419"}};
  for (const auto& c : cases) {
    const std::string out = Path(std::string(c.file) + ".windres.res");
    ASSERT_EQ(Shell("x86_64-w64-mingw32-windres --preprocessor=cat -c " + std::to_string(c.codePage) + " -l " +
                    c.language + " -J rc -O res -i " + Path(std::string(c.file) + ".rc") + " -o " + out + " > " +
                    Path("windres.log") + " 2>&1"),
              0)
        << platform::ReadFile(Path("windres.log"));
    EXPECT_EQ(platform::ReadFile(Path(std::string(c.file) + ".res")), platform::ReadFile(out)) << c.file;
  }
}

TEST_F(WindowsTools, WindowsLoaderReadsOurModulesOfBothBitnesses) {
  if (!OnPath("x86_64-w64-mingw32-gcc"))
    GTEST_SKIP() << "x86_64-w64-mingw32-gcc not installed (Debian package gcc-mingw-w64-x86-64-win32)";
  const std::string wine = Wine();
  if (wine.empty()) GTEST_SKIP() << "wine64 not installed (Debian package wine64)";
  Build();

  // The same resources as a 64-bit image.
  const auto resources = platform::ReadResFile(platform::ReadFile(Path("Strings2.res")), "Strings2.res");
  platform::PeWriteOptions options;
  options.pe32plus = true;
  platform::WriteFileAtomic(Path("Strings2x64.dll"), platform::WritePeImage(resources, options));

  const std::string exe = Path("loadstrings.exe");
  ASSERT_EQ(Shell("x86_64-w64-mingw32-gcc -O1 -o " + exe + " " + VORLECT_SOURCE_DIR "/tests/wine/loadstrings.c > " +
                  Path("gcc.log") + " 2>&1"),
            0)
      << platform::ReadFile(Path("gcc.log"));

  std::string ids;
  for (std::uint32_t id : kIds) ids += " " + std::to_string(id);
  fs::create_directories(VORLECT_WINE_PREFIX);
  for (const char* dll : {"Strings1.dll", "Strings2.dll", "Strings2x64.dll"}) {
    SCOPED_TRACE(dll);
    // Wine's output goes to files: its server outlives the program and would hold a pipe open.
    const std::string out = Path(std::string(dll) + ".out"), err = Path(std::string(dll) + ".err");
    ASSERT_EQ(Shell("cd " + dir_ + " && WINEPREFIX=" VORLECT_WINE_PREFIX " WINEDEBUG=-all timeout 300 " + wine + " " +
                    exe + " " + dll + ids + " > " + out + " 2> " + err + " < /dev/null"),
              0)
        << platform::ReadFile(out) << platform::ReadFile(err);

    std::map<std::uint32_t, std::string> got;
    std::istringstream in(platform::ReadFile(out));
    std::string first;
    int acp = 0;
    std::getline(in, first);
    ASSERT_NE(first.find("acp "), std::string::npos) << first;
    ASSERT_EQ(std::sscanf(first.c_str(), "acp %d", &acp), 1) << first;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // the program writes text mode
      got[static_cast<std::uint32_t>(std::stoul(line))] = line;
    }

    const auto ours = platform::StringModule::Load(Path(dll));
    const int moduleCodePage = std::string(dll) == "Strings1.dll" ? 1252 : 1251;
    for (std::uint32_t id : kIds) {
      const auto w = ours->LoadStringW(id);
      const std::string& line = got[id];
      if (!w) {
        EXPECT_EQ(line, std::to_string(id) + " none");
        continue;
      }
      const std::string wPart = " W " + Hex(*w);
      ASSERT_GE(line.size(), wPart.size()) << id;
      EXPECT_EQ(line.substr(line.size() - wPart.size()), wPart) << id;
      // LoadStringA converts with the process's code page: comparable where the table's is the same.
      if (acp == moduleCodePage) {
        EXPECT_EQ(line, std::to_string(id) + " A " + Hex(*ours->LoadString(id)) + wPart) << id;
      }
    }
  }
}

}  // namespace
}  // namespace vorlect::vle
