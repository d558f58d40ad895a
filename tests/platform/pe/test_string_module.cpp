#include "platform/pe/StringModule.h"

#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/LanguageCodePages.h"
#include "platform/pe/Resources.h"

#include <gtest/gtest.h>

#include <random>

#include <unistd.h>

namespace vorlect::platform {
namespace {

const std::u16string kRussian = u"\u041f\u0440\u0438\u0432\u0435\u0442";  // 1251
const std::u16string kFrench = u"Fen\u00eatre \u20ac";                     // 1252
const std::u16string kJapanese = u"\u65e5\u672c\u8a9e\u30c6\u30ad\u30b9\u30c8";  // 932

std::string Module(const std::vector<std::pair<std::map<std::uint32_t, std::u16string>, std::uint16_t>>& tables) {
  std::vector<Resource> all;
  for (const auto& [strings, language] : tables) {
    const auto part = BuildStringTableResources(strings, language);
    all.insert(all.end(), part.begin(), part.end());
  }
  return WritePeImage(all);
}

TEST(StringModule, ConvertsWithTheCodePageOfTheTablesLanguage) {
  const std::u16string longText(400, u'L');
  struct Case {
    std::uint16_t language;
    std::u16string text;
    int codePage;
  } cases[] = {{0x0419, kRussian, 1251}, {0x0407, kFrench, 1252}, {0x0411, kJapanese, 932}, {0, kFrench, AnsiCodePage()}};
  for (const Case& c : cases) {
    const std::map<std::uint32_t, std::u16string> strings{{1, c.text}, {2, u""}, {3, longText}};
    auto module = StringModule::FromImage(BuildStringModule(strings, c.language), "m.dll");
    EXPECT_EQ(module->LoadString(1), EncodeCodePage(c.text, c.codePage)) << c.language;
    EXPECT_NE(module->LoadString(1), std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(module->LoadStringW(1), c.text);
    EXPECT_EQ(module->LoadString(2), "");
    EXPECT_EQ(module->LoadString(4), "");  // same block, never listed
    EXPECT_EQ(module->LoadString(3), std::string(299, 'L'));
    EXPECT_EQ(module->LoadString(3, 1000), std::string(400, 'L'));
    EXPECT_EQ(module->LoadStringW(3), longText);
    EXPECT_EQ(module->LanguageOf(1), c.language);
    EXPECT_EQ(module->LoadString(16), std::nullopt);
    EXPECT_EQ(module->LoadStringW(16), std::nullopt);
    EXPECT_EQ(module->LanguageOf(16), 0);
  }
}

TEST(StringModule, BlockBoundaries) {
  std::map<std::uint32_t, std::u16string> strings{{15, u"15"}, {16, u"16"}, {65535, u"max"}};
  for (std::uint32_t id = 1000; id <= 1015; ++id) strings[id] = u"s" + std::u16string(1, static_cast<char16_t>(u'A' + id - 1000));
  auto module = StringModule::FromImage(BuildStringModule(strings));
  EXPECT_EQ(module->LoadString(15), "15");
  EXPECT_EQ(module->LoadString(16), "16");
  EXPECT_EQ(module->LoadString(0), "");
  EXPECT_EQ(module->LoadString(31), "");
  EXPECT_EQ(module->LoadString(32), std::nullopt);
  for (std::uint32_t id = 1000; id <= 1015; ++id)
    EXPECT_EQ(module->LoadString(id), std::string("s") + static_cast<char>('A' + id - 1000));
  EXPECT_EQ(module->LoadString(992), "");  // 992..1007 share block 63
  EXPECT_EQ(module->LoadString(1016), "");  // 1008..1023 share block 64
  EXPECT_EQ(module->LoadString(1024), std::nullopt);
  EXPECT_EQ(module->LoadString(65535), "max");
  EXPECT_EQ(module->LoadString(65536), std::nullopt);
  EXPECT_EQ(module->LoadString(0xFFFFFFFFu), std::nullopt);
}

TEST(StringModule, LanguageChoiceNeutralThenDefaultsThenLowest) {
  auto pick = [](std::vector<std::uint16_t> languages) {
    std::vector<std::pair<std::map<std::uint32_t, std::u16string>, std::uint16_t>> tables;
    for (std::uint16_t l : languages) tables.push_back({{{5, u"lang" + Utf8ToUtf16(std::to_string(l))}}, l});
    auto module = StringModule::FromImage(Module(tables));
    EXPECT_EQ(module->LoadString(5), "lang" + std::to_string(module->LanguageOf(5)));
    return module->LanguageOf(5);
  };
  EXPECT_EQ(pick({0x0419, 0x0409, 0x0407}), 0x0407);
  EXPECT_EQ(pick({0x0419, 0x0800, 0x0407}), 0x0800);
  EXPECT_EQ(pick({0x0419, 0x0800, 0x0400}), 0x0400);
  EXPECT_EQ(pick({0x0419, 0x0400, 0x0000}), 0x0000);
}

TEST(StringModule, CutsTheConvertedBytesWithoutSplittingCharacters) {
  auto module = StringModule::FromImage(
      Module({{{{1, u"abcdef"}}, 0x0409}, {{{17, kJapanese + u"x"}}, 0x0411}, {{{33, kRussian}}, 0x0419}}));
  EXPECT_EQ(module->LoadString(1, 4), "abc");
  EXPECT_EQ(module->LoadString(1, 7), "abcdef");
  EXPECT_EQ(module->LoadString(1, 1), "");
  EXPECT_EQ(module->LoadString(1, 0), "");
  EXPECT_EQ(module->LoadString(1, -5), "");
  EXPECT_EQ(module->LoadString(33, 4), EncodeCodePage(kRussian, 1251).substr(0, 3));
  const std::string sjis = EncodeCodePage(kJapanese + u"x", 932);
  ASSERT_EQ(sjis.size(), 15u);
  EXPECT_EQ(module->LoadString(17, 4), sjis.substr(0, 2));  // 3 bytes: the second character does not fit
  EXPECT_EQ(module->LoadString(17, 5), sjis.substr(0, 4));
  EXPECT_EQ(module->LoadString(17, 15), sjis.substr(0, 14));
  EXPECT_EQ(module->LoadString(17, 16), sjis);
}

TEST(StringModule, LoadsFromFileAndReportsMissingFiles) {
  const std::string path = TempFolder() + "/vorlect_pe_module_" + std::to_string(::getpid()) + ".dll";
  WriteFileAtomic(path, BuildStringModule({{7, u"seven"}}));
  EXPECT_EQ(StringModule::Load(path)->LoadString(7), "seven");
  DeleteFile(path);
  try {
    StringModule::Load(path);
    FAIL() << "no error";
  } catch (const StringModuleError& e) {
    EXPECT_EQ(std::string(e.what()), "cannot open " + path + ": No such file or directory");
  }
  EXPECT_THROW(StringModule::Load(TempFolder()), StringModuleError);
}

TEST(StringModule, DamagedImagesGiveClearErrors) {
  const std::map<std::uint32_t, std::u16string> strings{{1, u"one"}, {20, kRussian}, {1000, u"thousand"}};
  const std::string good = BuildStringModule(strings, 0x0419);
  // Truncated at every length: an error naming the file and a place, or (when only padding
  // went missing) the same strings.
  for (std::size_t len = 0; len < good.size(); ++len) {
    try {
      auto module = StringModule::FromImage(good.substr(0, len), "cut.dll");
      EXPECT_EQ(module->LoadStringW(20), kRussian) << len;
    } catch (const StringModuleError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("cut.dll: ", 0), 0u) << what;
      EXPECT_NE(what.find("offset"), std::string::npos) << what;
    }
  }
  auto expectError = [](std::string image, const std::string& text) {
    try {
      StringModule::FromImage(std::move(image), "bad.dll");
      ADD_FAILURE() << "no error, expected " << text;
    } catch (const StringModuleError& e) {
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
  };
  expectError("", "truncated image");
  expectError(std::string(4096, '\0'), "no MZ signature");
  std::string noPe = good;
  noPe[0x80] = 'X';
  expectError(noPe, "no PE signature");
  std::string badMagic = good;
  badMagic[0x98] = 0x07;
  expectError(badMagic, "optional header magic");
  std::string farLfanew = good;
  farLfanew[0x3F] = '\x7F';
  expectError(farLfanew, "truncated image");
  // A string length running past its block.
  std::string longLength = good;
  const std::size_t at = longLength.find(std::string("\x03\x00o\x00n\x00", 6));
  ASSERT_NE(at, std::string::npos);
  longLength[at + 1] = '\x40';
  expectError(longLength, "runs past the end of its table block");
}

TEST(StringModule, RandomCorruptionNeverCrashes) {
  const std::string good = BuildStringModule({{1, u"one"}, {20, kRussian}, {1000, u"x"}, {5000, u"y"}}, 0x0419);
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string image = good;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) image[random() % 0x300] = static_cast<char>(random());
    try {
      auto module = StringModule::FromImage(image, "r.dll");
      for (std::uint32_t id : {1u, 20u, 1000u, 5000u}) (void)module->LoadString(id, 10);
    } catch (const StringModuleError&) {
    }
  }
}

TEST(LanguageCodePages, WindowsAnsiCodePages) {
  const std::pair<std::uint16_t, int> cases[] = {
      {0x0000, 0},    {0x0400, 0},    {0x0800, 0},    {0x0409, 1252}, {0x0809, 1252}, {0x0407, 1252},
      {0x0419, 1251}, {0x0405, 1250}, {0x0408, 1253}, {0x041F, 1254}, {0x040D, 1255}, {0x0401, 1256},
      {0x0425, 1257}, {0x042A, 1258}, {0x041E, 874},  {0x0411, 932},  {0x0804, 936},  {0x0412, 949},
      {0x0404, 950},  {0x0C04, 950},  {0x1004, 936},  {0x081A, 1250}, {0x0C1A, 1251}, {0x041A, 1250},
      {0x201A, 1251}, {0x042C, 1254}, {0x082C, 1251}, {0x0439, 0},    {0x0437, 0},    {0x03FF, 0},
  };
  for (auto [langId, codePage] : cases) EXPECT_EQ(AnsiCodePageOfLangId(langId), codePage) << std::hex << langId;
}

}  // namespace
}  // namespace vorlect::platform
