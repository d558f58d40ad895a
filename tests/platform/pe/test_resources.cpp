#include "platform/pe/Resources.h"

#include "platform/CodePages.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace vorlect::platform {
namespace {

namespace fs = std::filesystem;

Resource Make(ResourceId type, ResourceId name, std::uint16_t language, std::string data) {
  Resource r;
  r.type = std::move(type);
  r.name = std::move(name);
  r.language = language;
  r.data = std::move(data);
  return r;
}

// Strings that cover block edges, empty entries, long and non-ASCII texts.
std::map<std::uint32_t, std::u16string> SampleStrings() {
  std::map<std::uint32_t, std::u16string> s{
      {0, u"zero"},       {15, u"fifteen"},  {16, u"sixteen"},   {17, u""},
      {1000, u"%TForm1"}, {1001, u"Caption"}, {1015, u"last"},    {4000, u"\u041f\u0440\u0438\u0432\u0435\u0442"},
      {65535, u"top"},    {300, u"caf\u00e9 \"quoted\" \\ back"},
  };
  s[500] = std::u16string(400, u'w');
  return s;
}

bool HaveTool(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// A scratch folder removed at the end of the test.
struct ScratchDir {
  fs::path path;
  ScratchDir() {
    path = fs::path(TempFolder()) / ("vorlect_pe_" + std::to_string(::getpid()) + "_" +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

int RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// An .rc script for the strings, as UTF-8 with the matching code-page pragma.
std::string RcScript(const std::map<std::uint32_t, std::u16string>& strings, int primary, int sub) {
  std::string rc = "#pragma code_page(65001)\nLANGUAGE " + std::to_string(primary) + ", " + std::to_string(sub) +
                   "\nSTRINGTABLE\nBEGIN\n";
  for (const auto& [id, text] : strings) {
    std::string quoted;
    for (char c : Utf16ToUtf8(text)) quoted += c == '"' ? std::string("\"\"") : c == '\\' ? std::string("\\\\") : std::string(1, c);
    rc += "  " + std::to_string(id) + ", \"" + quoted + "\"\n";
  }
  return rc + "END\n";
}

TEST(ResFile, RoundTripKeepsEveryField) {
  std::vector<Resource> in = BuildStringTableResources(SampleStrings(), 0x0419);
  Resource named = Make(ResourceId(u"MYTYPE"), ResourceId(u"Odd"), 0x0409, "abcde");  // data needs padding
  named.memoryFlags = 0x0030;
  named.dataVersion = 1;
  named.version = 0x12345678;
  named.characteristics = 0x9ABCDEF0;
  in.push_back(named);
  in.push_back(Make(ResourceId(u""), ResourceId(7), 0, ""));
  in.push_back(Make(ResourceId(10), ResourceId(u"A"), 0, std::string(3, '\0')));
  in.push_back(Make(ResourceId(u""), ResourceId(u""), 0, "x"));  // the smallest header there is

  const std::string bytes = WriteResFile(in);
  EXPECT_EQ(bytes.size() % 4, 0u);
  // The leading empty entry of a 32-bit resource file.
  EXPECT_EQ(bytes.substr(0, 32), std::string("\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0", 16) + std::string(16, '\0'));
  EXPECT_EQ(ReadResFile(bytes, "x.res"), in);
  EXPECT_TRUE(ReadResFile(WriteResFile({})).empty());
}

TEST(ResFile, RejectsNamesItCannotStore) {
  EXPECT_THROW(WriteResFile({Make(ResourceId(std::u16string(u"a\0b", 3)), ResourceId(1), 0, "")}), ResourceError);
  EXPECT_THROW(WriteResFile({Make(ResourceId(std::u16string(1, u'\xFFFF')), ResourceId(1), 0, "")}), ResourceError);
}

TEST(ResFile, DamagedFilesGiveErrorsNamingFileAndOffset) {
  const std::string good = WriteResFile({Make(ResourceId(u"T"), ResourceId(u"NAME"), 9, "0123456789"),
                                         Make(ResourceId(6), ResourceId(2), 0, std::string(34, 'x'))});
  std::size_t failures = 0;
  for (std::size_t len = 0; len < good.size(); ++len) {
    try {
      // A cut between resources or in the last one's padding leaves a shorter valid file.
      const auto resources = ReadResFile(good.substr(0, len), "cut.res");
      const auto all = ReadResFile(good);
      EXPECT_EQ(resources, std::vector<Resource>(all.begin(), all.begin() + resources.size())) << len;
    } catch (const ResourceError& e) {
      ++failures;
      EXPECT_NE(std::string(e.what()).find("cut.res: "), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("offset 0x"), std::string::npos) << e.what();
    }
  }
  EXPECT_GT(failures, good.size() / 2);
  EXPECT_THROW(ReadResFile(std::string("\xFF\x06\x00", 3), "old.res"), ResourceError);  // 16-bit format
  std::string huge = good;
  huge[32] = '\xFF';  // data size of the first resource now runs past the end
  huge[35] = '\x7F';
  EXPECT_THROW(ReadResFile(huge, "big.res"), ResourceError);
}

TEST(StringTable, BlocksOfSixteenNamedIdOver16PlusOne) {
  const auto resources = BuildStringTableResources(SampleStrings(), 0x0407);
  std::vector<std::uint16_t> names;
  for (const Resource& r : resources) {
    EXPECT_EQ(r.type, ResourceId(kRtString));
    EXPECT_EQ(r.language, 0x0407);
    EXPECT_EQ(r.memoryFlags, kStringTableMemoryFlags);
    names.push_back(r.name.Number());
  }
  // 0,15 -> 1; 16,17 -> 2; 300 -> 19; 500 -> 32; 1000,1001 -> 63; 1015 -> 64; 4000 -> 251; 65535 -> 4096
  EXPECT_EQ(names, (std::vector<std::uint16_t>{1, 2, 19, 32, 63, 64, 251, 4096}));

  auto expected = SampleStrings();
  expected.erase(17);  // empty strings are not told apart from missing ones
  EXPECT_EQ(ReadStringTable(resources, 0x0407), expected);
  EXPECT_TRUE(ReadStringTable(resources, 0x0409).empty());

  EXPECT_THROW(BuildStringTableResources({{65536, u"x"}}), ResourceError);
  EXPECT_THROW(BuildStringTableResources({{1, std::u16string(65536, u'x')}}), ResourceError);
  EXPECT_NO_THROW(BuildStringTableResources({{1, std::u16string(65535, u'x')}}));
}

TEST(StringTable, DecodeToleratesShortBlocksButNotOverruns) {
  StringBlock block;
  block[0] = u"ab";
  const std::string data = EncodeStringBlock(block);
  EXPECT_EQ(DecodeStringBlock(data.substr(0, 6))[0], u"ab");  // the 15 empty strings left out
  EXPECT_THROW(DecodeStringBlock(data.substr(0, 5), "blk"), ResourceError);
}

TEST(PeImage, RoundTripsResourcesInDirectoryOrder) {
  std::vector<Resource> in = BuildStringTableResources(SampleStrings(), 0x0419);
  const auto more = BuildStringTableResources({{1, u"neutral"}}, 0);
  in.insert(in.end(), more.begin(), more.end());
  in.push_back(Make(ResourceId(u"ZTYPE"), ResourceId(3), 0x0409, "z"));
  in.push_back(Make(ResourceId(u"ATYPE"), ResourceId(u"b"), 0x0409, "b"));
  in.push_back(Make(ResourceId(u"ATYPE"), ResourceId(u"B"), 0x0409, "B"));
  in.push_back(Make(ResourceId(u"ATYPE"), ResourceId(2), 0x0407, std::string(1000, '\x80')));
  in.push_back(Make(ResourceId(u"ATYPE"), ResourceId(2), 0x0405, ""));

  for (bool plus : {false, true}) {
    PeWriteOptions options;
    options.pe32plus = plus;
    const std::string image = WritePeImage(in, options);
    EXPECT_EQ(image.size() % 0x200, 0u);
    const auto out = ReadPeResources(image, "x.dll");
    ASSERT_EQ(out.size(), in.size());
    // Named entries first, by UTF-16 units; then ids ascending; languages ascending.
    EXPECT_EQ(out[0].type, ResourceId(u"ATYPE"));
    EXPECT_EQ(out[0].name, ResourceId(u"B"));
    EXPECT_EQ(out[1].name, ResourceId(u"b"));
    EXPECT_EQ(out[2].language, 0x0405);
    EXPECT_EQ(out[3].data, std::string(1000, '\x80'));
    EXPECT_EQ(out[4].type, ResourceId(u"ZTYPE"));
    EXPECT_EQ(out[5].name, ResourceId(1));
    EXPECT_EQ(out[5].language, 0);
    EXPECT_EQ(out[6].language, 0x0419);
    EXPECT_EQ(ReadStringTable(out, 0), (std::map<std::uint32_t, std::u16string>{{1, u"neutral"}}));
    auto expected = SampleStrings();
    expected.erase(17);
    EXPECT_EQ(ReadStringTable(out, 0x0419), expected);
  }
  in.push_back(in.back());
  EXPECT_THROW(WritePeImage(in), ResourceError);
  EXPECT_TRUE(ReadPeResources(WritePeImage({})).empty());
}

TEST(PeImage, CraftedDirectoryLoopIsAnError) {
  std::string image = BuildStringModule({{1, u"x"}});
  const std::size_t rsrc = 0x200;  // one section, right after the headers
  // Point the type entry's subdirectory back at the root directory.
  image[rsrc + 16 + 4] = '\0';
  image[rsrc + 16 + 5] = '\0';
  try {
    ReadPeResources(image, "loop.dll");
    FAIL() << "no error";
  } catch (const ResourceError& e) {
    EXPECT_NE(std::string(e.what()).find("loop.dll: resource directory reached twice"), std::string::npos) << e.what();
  }
}

// Compares with what GNU windres writes for the same string table, byte for byte.
TEST(WindowsTools, ResFileMatchesWindres) {
  const std::string windres = "x86_64-w64-mingw32-windres";
  if (!HaveTool(windres)) GTEST_SKIP() << windres << " not installed (Debian package binutils-mingw-w64-x86-64)";
  ScratchDir dir;
  for (auto [primary, sub] : {std::pair{0x19, 1}, std::pair{0, 0}}) {
    WriteFileAtomic(dir / "a.rc", RcScript(SampleStrings(), primary, sub));
    ASSERT_EQ(RunTool(windres + " --preprocessor=cat -J rc -O res -i " + (dir / "a.rc") + " -o " + (dir / "a.res")), 0);
    const std::string expected = ReadFile(dir / "a.res");
    const auto language = static_cast<std::uint16_t>(primary | sub << 10);
    EXPECT_EQ(WriteResFile(BuildStringTableResources(SampleStrings(), language)), expected);
    EXPECT_EQ(WriteResFile(ReadResFile(expected, "a.res")), expected);
  }
}

// Our DLL against one linked by GNU ld from windres output, and read back by the binutils tools.
TEST(WindowsTools, DllMatchesLinkerOutputAndBinutilsReadsIt) {
  const std::string windres = "x86_64-w64-mingw32-windres", ld = "x86_64-w64-mingw32-ld",
                    objdump = "x86_64-w64-mingw32-objdump";
  if (!HaveTool(windres) || !HaveTool(ld) || !HaveTool(objdump))
    GTEST_SKIP() << "mingw binutils not installed (Debian package binutils-mingw-w64-x86-64)";
  ScratchDir dir;
  const auto resources = BuildStringTableResources(SampleStrings(), 0x0411);
  WriteFileAtomic(dir / "a.res", WriteResFile(resources));
  ASSERT_EQ(RunTool(windres + " -J res -O coff -i " + (dir / "a.res") + " -o " + (dir / "a.o")), 0);
  ASSERT_EQ(RunTool(ld + " --dll --entry=0 --subsystem=windows -s -o " + (dir / "ld.dll") + " " + (dir / "a.o")), 0);
  auto strip = [](std::vector<Resource> v) {
    for (Resource& r : v) r.memoryFlags = 0;
    return v;
  };
  EXPECT_EQ(ReadPeResources(ReadFile(dir / "ld.dll"), "ld.dll"), strip(resources));

  for (bool plus : {false, true}) {
    PeWriteOptions options;
    options.pe32plus = plus;
    WriteFileAtomic(dir / "ours.dll", WritePeImage(resources, options));
    EXPECT_EQ(std::system((objdump + " -p " + (dir / "ours.dll") + " >/dev/null 2>" + (dir / "err.txt")).c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "err.txt"), "");
    ASSERT_EQ(RunTool(windres + " -i " + (dir / "ours.dll") + " -O res -o " + (dir / "back.res")), 0);
    // windres writes language 0 for every resource it takes from an image.
    auto back = ReadResFile(ReadFile(dir / "back.res"), "back.res");
    for (Resource& r : back) r.language = 0x0411;
    EXPECT_EQ(ReadStringTable(back, 0x0411), ReadStringTable(resources, 0x0411));
  }
}

}  // namespace
}  // namespace vorlect::platform
