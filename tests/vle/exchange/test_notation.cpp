// Form-file notation of table lines and the resource escaping.
#include "vle/project/Notation.h"
#include "vle/exchange/ProjectExchange.h"

#include "platform/CodePages.h"

#include <gtest/gtest.h>

namespace vorlect::vle {
namespace {

std::u16string U(std::string_view utf8) { return platform::Utf8ToUtf16(utf8); }

TEST(Notation, ReadsRunsCodesAndDoubledApostrophes) {
  EXPECT_EQ(notation::Decode("it''s").bytes, "it's");
  EXPECT_EQ(notation::Decode("customer'#39's").bytes, "customer's");
  EXPECT_EQ(notation::Decode("Hello'#13#10'World").bytes, "Hello\r\nWorld");
  EXPECT_EQ(notation::Decode("'#$41'").bytes, "A");
  const auto wide = notation::Decode("'#1055#1088'ok");
  EXPECT_TRUE(wide.unicode);
  EXPECT_EQ(wide.units, U("Пр") + u"ok");
  // Raw bytes of an 8-bit line are read in the language's code page.
  EXPECT_EQ(notation::ToUtf16("\xCF\xF0\xE8", 1251), U("При"));
  EXPECT_EQ(notation::ToUtf16("sch\xF6n'#9'", 1251), U("schцn\t"));  // 8-bit: bytes in the code page
  EXPECT_EQ(notation::ToUtf16("sch'#246'n", 1251), U("schön"));  // a code above 127: code points
}

TEST(Notation, TellsWhatCannotStandInAFormFile) {
  for (const char* ok : {"", "abc", "it''s", "a'#13#10'b", "'#65'", "x'#9#9'y"}) EXPECT_TRUE(notation::IsValid(ok)) << ok;
  for (const char* bad : {"l'homme", "abc'", "a'#'b", "a'x'b", "'#99999999999'"})
    EXPECT_FALSE(notation::IsValid(bad)) << bad;
  // An invalid line still gives every character it holds.
  EXPECT_EQ(notation::Decode("l'homme").bytes, "lhomme");
}

TEST(Notation, WritesEveryTextSoThatItReadsBack) {
  EXPECT_EQ(notation::OfBytes("it's"), "it''s");
  EXPECT_EQ(notation::OfBytes("a\r\nb"), "a'#13#10'b");
  EXPECT_EQ(notation::OfBytes("\t"), "'#9'");
  EXPECT_EQ(notation::OfBytes(""), "");
  EXPECT_EQ(notation::OfBytes("Gr\xFC\xDF"), "Gr\xFC\xDF");  // 8-bit style keeps bytes raw
  for (const char* text : {"", "'", "''", "a'b'", "\r\n", "x\x01y", "\x7F", "Caf\xE9 ''#39"}) {
    const std::string n = notation::OfBytes(text);
    EXPECT_TRUE(notation::IsValid(n)) << n;
    EXPECT_EQ(notation::Decode(n).bytes, text) << n;
  }
  // A character the code page lacks turns the line into code points.
  EXPECT_EQ(notation::OfUtf16(U("Пр"), 1252), "'#1055#1088'");
  EXPECT_EQ(notation::OfUtf16(U("Пр"), 1251), "\xCF\xF0");
  EXPECT_EQ(notation::OfUtf16(U("ö'"), 1252, true), "'#246'''");
  // As the form-file writer writes them: DEL quoted, a character beyond 16 bits as its two units.
  EXPECT_EQ(notation::OfBytes("a\x7F"), "a\x7F");
  EXPECT_EQ(notation::OfUtf16(u"\U0001F600", 1252), "'#55357#56832'");
  for (const std::u16string& text : {U(""), U("it's 'quoted'"), U("Zeile\r\nzwei"), U("𝄞 ö Я"), U("€")}) {
    for (int cp : {1250, 1251, 1252, 932}) {
      const std::string n = notation::OfUtf16(text, cp);
      EXPECT_TRUE(notation::IsValid(n)) << n;
      EXPECT_EQ(notation::ToUtf16(n, cp), text) << n << " in " << cp;
    }
  }
}

TEST(ResourceEscape, TurnsNotationIntoAResourceStringBody) {
  EXPECT_EQ(ResourceEscape("Hello'#13#10'World"), "Hello\\nWorld");
  EXPECT_EQ(ResourceEscape("it''s"), "it\\047s");  // the doubled apostrophe is one character
  EXPECT_EQ(ResourceEscape("it'#39's"), "it\\047s");
  EXPECT_EQ(ResourceEscape("say \"hi\""), "say \\042hi\\042");
  EXPECT_EQ(ResourceEscape("C:\\dir"), "C:\\134dir");
  EXPECT_EQ(ResourceEscape("a'#9'b"), "a\\011b");
  EXPECT_EQ(ResourceEscape("a'#10'b'#13'c"), "a\\012b\\nc");
  EXPECT_EQ(ResourceEscape("'#65#66'C"), "ABC");  // every code becomes its character
  EXPECT_EQ(ResourceEscape("sch'#246'n", 1252), "sch\xF6n");
  EXPECT_EQ(ResourceEscape("'#1089'", 1251), "\xF1");
  EXPECT_EQ(ResourceEscape("'#1089'", 1252), "?");  // no such character in the code page
}

}  // namespace
}  // namespace vorlect::vle
