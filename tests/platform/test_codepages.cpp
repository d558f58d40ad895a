#include "platform/CodePages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>

#include <string>
#include <thread>
#include <vector>

using namespace vorlect::platform;

namespace {

const int kSingleByte[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 28591};

std::string AllBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

}  // namespace

TEST(CodePages, EverySingleByteStringSurvivesDecodeEncode) {
  const std::string all = AllBytes();
  std::string reversed(all.rbegin(), all.rend());
  for (int cp : kSingleByte) {
    SCOPED_TRACE(cp);
    for (const std::string& bytes : {all, reversed}) {
      const std::u16string text = DecodeCodePage(bytes, cp);
      ASSERT_EQ(text.size(), bytes.size());
      bool lossy = true;
      EXPECT_EQ(EncodeCodePage(text, cp, &lossy), bytes);
      EXPECT_FALSE(lossy);
    }
  }
}

// The single-byte pages are decoded from built-in tables: each byte must read as the C library's
// converter reads it (a byte it leaves undefined as its own code point).
TEST(CodePages, BuiltInSingleBytePagesMatchTheConverters) {
  for (int cp : kSingleByte) {
    if (cp == 28591) continue;
    SCOPED_TRACE(cp);
    iconv_t cd = iconv_open("UTF-16LE", ("CP" + std::to_string(cp)).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      ADD_FAILURE() << "the C library has no converter for CP" << cp;
      continue;
    }
    for (int b = 0x80; b < 0x100; ++b) {
      char in = static_cast<char>(b);
      unsigned char out[8] = {};
      char* inPtr = &in;
      char* outPtr = reinterpret_cast<char*>(out);
      size_t inLeft = 1, outLeft = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                      iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<size_t>(-1);
      const char16_t expected = ok && sizeof out - outLeft == 2 ? char16_t(out[0] | (out[1] << 8)) : char16_t(b);
      EXPECT_EQ(DecodeCodePage(std::string(1, in), cp), std::u16string(1, expected)) << "byte " << b;
    }
    iconv_close(cd);
  }
}

TEST(CodePages, UndefinedBytesPassThroughAsTheirOwnCodePoint) {
  EXPECT_EQ(DecodeCodePage("\x81", 1252), u"\u0081");
  EXPECT_EQ(DecodeCodePage("a\x81z", 1250), u"a\u0081z");
  EXPECT_EQ(DecodeCodePage("\xaa", 1253), u"\u00aa");
  EXPECT_EQ(DecodeCodePage("\xff", 874), u"\u00ff");
  // Defined neighbours still decode properly.
  EXPECT_EQ(DecodeCodePage("\x80\xe9", 1252), u"\u20ac\u00e9");
  EXPECT_EQ(DecodeCodePage("\xc0\xff", 1251), u"\u0410\u044f");
}

TEST(CodePages, Cp1258DoesNotComposeToneMarks) {
  // 'A' followed by combining grave (0xCC): Windows keeps two characters.
  EXPECT_EQ(DecodeCodePage("A\xcc", 1258), u"A\u0300");
  EXPECT_EQ(EncodeCodePage(u"A\u0300", 1258), "A\xcc");
  // A precomposed Vietnamese letter the table lacks is written decomposed, not as '?'.
  bool lossy = true;
  EXPECT_EQ(EncodeCodePage(u"\u1ea0", 1258, &lossy), "A\xf2");
  EXPECT_FALSE(lossy);
  // glibc composes in CP1255 as well: alef + qamats stays two characters.
  EXPECT_EQ(DecodeCodePage("\xe0\xc8", 1255), u"\u05d0\u05b8");
}

TEST(CodePages, Cp932WaveDashMatchesWindows) {
  // Windows' own table maps 81 60 to FULLWIDTH TILDE and writes WAVE DASH back to 81 60.
  EXPECT_EQ(DecodeCodePage("\x81\x60", 932), u"\uff5e");
  EXPECT_EQ(EncodeCodePage(u"\uff5e", 932), "\x81\x60");
  EXPECT_EQ(EncodeCodePage(u"\u301c", 932), "\x81\x60");
  // The backslash and tilde stay ASCII as on Windows.
  EXPECT_EQ(DecodeCodePage("\\~\x82\xa0", 932), u"\\~\u3042");
}

TEST(CodePages, DoubleByteSamples) {
  struct Sample {
    int cp;
    std::string bytes;
    std::u16string text;
  };
  const Sample samples[] = {
      {932, "\x93\xfa\x96\x7b\x8c\xea abc \xb1", u"\u65e5\u672c\u8a9e abc \uff71"},
      {936, "\xd6\xd0\xce\xc4\x80", u"\u4e2d\u6587\u20ac"},
      {949, "\xc7\xd1\xb1\xdb", u"\ud55c\uae00"},
      {950, "\xa4\xa4\xa4\xe5", u"\u4e2d\u6587"},
  };
  for (const auto& s : samples) {
    SCOPED_TRACE(s.cp);
    EXPECT_EQ(DecodeCodePage(s.bytes, s.cp), s.text);
    bool lossy = true;
    EXPECT_EQ(EncodeCodePage(s.text, s.cp, &lossy), s.bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST(CodePages, DoubleByteDamageIsKeptNotDropped) {
  // A lead byte at the end, a lead byte with an impossible trail byte, and stray bytes.
  const std::string damaged[] = {"ab\x82", "\x81 x", "\x80\xa0\xfd", "\x93\xfa\x81"};
  for (const std::string& bytes : damaged) {
    const std::u16string text = DecodeCodePage(bytes, 932);
    EXPECT_EQ(EncodeCodePage(text, 932), bytes);
  }
  EXPECT_EQ(DecodeCodePage("ab\x82", 932), u"ab\u0082");
}

TEST(CodePages, MissingCharactersBecomeQuestionMarks) {
  bool lossy = false;
  EXPECT_EQ(EncodeCodePage(u"a\u4e2db", 1252, &lossy), "a?b");
  EXPECT_TRUE(lossy);
  lossy = false;
  EXPECT_EQ(EncodeCodePage(u"\u00e9\u0e01", 932, &lossy), "??");  // é would be a lead byte here
  EXPECT_TRUE(lossy);
  lossy = false;
  EXPECT_EQ(EncodeCodePage(u"x\U0001F600", 1251, &lossy), "x?");  // one '?' for a surrogate pair
  EXPECT_TRUE(lossy);
  lossy = false;
  EXPECT_EQ(EncodeCodePage(u"\xd800", 936, &lossy), "?");
  EXPECT_TRUE(lossy);
}

TEST(CodePages, UnsupportedCodePageIsLatin1) {
  EXPECT_EQ(DecodeCodePage("\xe9\x81", 12345), u"\u00e9\u0081");
  EXPECT_EQ(EncodeCodePage(u"\u00e9\u0100", 12345), "\xe9?");
  EXPECT_FALSE(IsSupportedCodePage(12345));
  EXPECT_TRUE(IsSupportedCodePage(65001));
  EXPECT_TRUE(IsSupportedCodePage(874));
}

TEST(CodePages, CharsetsMapToCodePages) {
  EXPECT_EQ(CodePageOfCharset(0), 1252);
  EXPECT_EQ(CodePageOfCharset(204), 1251);
  EXPECT_EQ(CodePageOfCharset(163), 1258);
  EXPECT_EQ(CodePageOfCharset(128), 932);
  EXPECT_EQ(CodePageOfCharset(136), 950);
  EXPECT_EQ(CodePageOfCharset(1), AnsiCodePage());
  EXPECT_EQ(CodePageOfCharset(2), AnsiCodePage());
}

TEST(CodePages, Utf8KeepsEveryByteAndLoneSurrogates) {
  EXPECT_EQ(Utf8ToUtf16("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), u"a\u00e9\u20ac\U0001F600");
  // Invalid, overlong and truncated sequences: every byte becomes its own code point.
  EXPECT_EQ(Utf8ToUtf16("\xff\xc0\xaf\xe2\x82"), u"\u00ff\u00c0\u00af\u00e2\u0082");
  EXPECT_EQ(Utf8ToUtf16("\xf4\x90\x80\x80"), u"\u00f4\u0090\u0080\u0080");
  const std::u16string lone = u"x\xd800y\xdc00";
  EXPECT_EQ(Utf16ToUtf8(lone), "x\xed\xa0\x80y\xed\xb0\x80");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(lone)), lone);
  EXPECT_EQ(DecodeCodePage("\xc3\xa9", 65001), u"\u00e9");
  EXPECT_EQ(EncodeCodePage(u"\u00e9", 65001), "\xc3\xa9");
}

TEST(CodePages, FirstInvalidUtf8FindsTheByteThatStartsNoCharacter) {
  constexpr auto npos = std::string_view::npos;
  EXPECT_EQ(FirstInvalidUtf8(""), npos);
  EXPECT_EQ(FirstInvalidUtf8("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80"), npos);
  EXPECT_EQ(FirstInvalidUtf8("ab\xff"), 2u);                // never a lead byte
  EXPECT_EQ(FirstInvalidUtf8("a\x80"), 1u);                 // a continuation alone
  EXPECT_EQ(FirstInvalidUtf8("\xc0\xaf"), 0u);              // overlong
  EXPECT_EQ(FirstInvalidUtf8("x\xe2\x82"), 1u);             // cut short
  EXPECT_EQ(FirstInvalidUtf8("\xed\xa0\x80"), 0u);          // a surrogate
  EXPECT_EQ(FirstInvalidUtf8("\xf4\x90\x80\x80"), 0u);      // beyond U+10FFFF
  EXPECT_EQ(FirstInvalidUtf8("\xe9t\xe9"), 0u);             // Latin-1 text
}

TEST(CodePages, ConcurrentUseGivesSameResults) {
  const std::string bytes = "\x93\xfa\x96\x7b\x8c\xea and \x81\x60";
  const std::u16string expected = DecodeCodePage(bytes, 932);
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        if (DecodeCodePage(bytes, 932) != expected || EncodeCodePage(expected, 932) != bytes) ++failures[t];
        if (DecodeCodePage("\xe0\xff", 1251 + (i % 8)).size() != 2) ++failures[t];
      }
    });
  for (auto& th : threads) th.join();
  for (int f : failures) EXPECT_EQ(f, 0);
}
