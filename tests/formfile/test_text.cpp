// The text notation: the IDE's layout byte for byte, the markers that keep Unicode strings
// Unicode, floats, and parse errors with their line.
#include "TreeCompare.h"
#include "host/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace vorlect::formfile {
namespace {

Object FormWith(Value v, std::string name = "P") {
  Object o;
  o.className = "TForm1";
  o.name = "Form1";
  o.properties.push_back({std::move(name), std::move(v)});
  return o;
}

// The text of the single property's value, as written on its line(s).
std::string ValueText(const Value& v, TextOptions options = {}) {
  options.lineEnd = LineEnd::LF;
  std::string t = WriteText(FormWith(v), options);
  const std::string head = "object Form1: TForm1\n  P = ";
  EXPECT_EQ(t.substr(0, head.size()), head);
  return t.substr(head.size(), t.size() - head.size() - std::string("\nend\n").size());
}

Value ReadValue(std::string_view text) {
  std::string form = "object F: T\n  P = " + std::string(text) + "\nend\n";
  Object o = ReadText(form);
  EXPECT_EQ(o.properties.size(), 1u);
  return o.properties.at(0).value;
}

Value Wide(std::u16string s) {
  Value v;
  v.type = ValueType::WString;
  v.wide = std::move(s);
  return v;
}

void ExpectRoundTrip(const Value& v, const TextOptions& options = {}) {
  Object o = FormWith(v);
  Object back = ReadText(WriteText(o, options));
  EXPECT_EQ(test::DiffTrees(o, back), "") << WriteText(o, options);
}

TEST(TextStrings, SplitsAfter64CharactersLikeTheIde) {
  EXPECT_EQ(ValueText(Value::Ansi("")), "''");
  EXPECT_EQ(ValueText(Value::Ansi(std::string(64, 'a'))), "'" + std::string(64, 'a') + "'");
  EXPECT_EQ(ValueText(Value::Ansi(std::string(65, 'a'))),
            "\n    '" + std::string(64, 'a') + "' +\n    'a'");
  // Codes count towards the 64 characters of a line, and a line may end after a code.
  std::string s = std::string(63, 'b') + "\r\nc";
  EXPECT_EQ(ValueText(Value::Ansi(s)), "\n    '" + std::string(63, 'b') + "'#13 +\n    #10'c'");
  ExpectRoundTrip(Value::Ansi(std::string(300, 'x')));  // LString
}

TEST(TextStrings, ApostrophesAndControlCharactersAreCodes) {
  EXPECT_EQ(ValueText(Value::Ansi("it's")), "'it'#39's'");
  EXPECT_EQ(ValueText(Value::Ansi("'")), "#39");
  EXPECT_EQ(ValueText(Value::Ansi("a\r\nb\t")), "'a'#13#10'b'#9");
  EXPECT_EQ(ValueText(Value::Ansi("\x7f")), "'\x7f'");
  // 8-bit strings starting with a code stay 8-bit: only printable first codes mark Unicode.
  for (const char* s : {"'abc", "\r\nx", "\x01", "it's"}) {
    Value v = ReadValue(ValueText(Value::Ansi(s)));
    EXPECT_EQ(v.type, ValueType::String) << s;
    EXPECT_EQ(v.bytes, s);
  }
  EXPECT_EQ(ReadValue("'don''t'").bytes, "don't");
  EXPECT_TRUE(ReadValue("#$41'b'").isWideString());  // a printable code first marks Unicode
}

TEST(TextStrings, EightBitStylesWriteHighBytesRawOrAsCodePoints) {
  Value v = Value::Ansi("Gr\xfc\xdf \xa9");
  EXPECT_EQ(ValueText(v), "'Gr\xfc\xdf \xa9'");
  Value back = ReadValue(ValueText(v));
  EXPECT_EQ(back.type, ValueType::String);
  EXPECT_EQ(back.bytes, v.bytes);

  TextOptions unicode;
  unicode.style = StringStyle::Unicode;
  EXPECT_EQ(ValueText(v, unicode), "'Gr'#252#223' '#169");
  unicode.codePage = 1251;
  EXPECT_EQ(ValueText(Value::Ansi("\xcf\xf0"), unicode), "#1055#1088");
}

TEST(TextStrings, UnicodeStringsKeepTheirTypeThroughText) {
  EXPECT_EQ(ValueText(Wide(u"Hello")), "#72'ello'");
  EXPECT_EQ(ValueText(Wide(u"")), "'' + ''");
  EXPECT_EQ(ValueText(Wide(u"\r\nx")), "'' + #13#10'x'");
  EXPECT_EQ(ValueText(Wide(u"'q")), "'' + #39'q'");
  EXPECT_EQ(ValueText(Wide(u"\u041f\u0440\u0438")), "#1055#1088#1080");
  EXPECT_EQ(ValueText(Wide(u"\u00a9 2024")), "#169' 2024'");
  EXPECT_EQ(ValueText(Wide(u"\U0001F600")), "#55357#56832");
  for (std::u16string s : std::initializer_list<std::u16string>{u"", u"H", u"Hello", u"\r\n", u"'", u"a'b", u"\u00e9t\u00e9", u"\U0001F600",
                           std::u16string(70, u'x'), u"\x7f"}) {
    for (ValueType t : {ValueType::WString, ValueType::UTF8String}) {
      Value v = Value::Unicode(s);
      if (t == ValueType::WString) v = Wide(s);
      if (v.type != t) continue;  // UTF8String only where its bytes are shorter
      // The notation does not tell WString from UTF8String: the content decides, as it does for
      // every binary the IDEs wrote.
      Value back = ReadValue(ValueText(v));
      EXPECT_EQ(back.type, Value::Unicode(s).type) << ValueText(v);
      EXPECT_EQ(back.unicodeText(), s) << ValueText(v);
    }
  }
  // A long marked string still splits at 64 and reads back whole.
  ExpectRoundTrip(Value::Unicode(u"\r" + std::u16string(100, u'y')));
}

TEST(TextStrings, UnicodeTypeFollowsTheContent) {
  EXPECT_EQ(ReadValue("#1088#1091").type, ValueType::WString);          // 4 UTF-8 bytes = 4 UTF-16
  EXPECT_EQ(ReadValue("'Caf'#233' au lait'").type, ValueType::UTF8String);
  EXPECT_EQ(ReadValue("'Caf'#233").unicodeText(), u"Caf\u00e9");
  // Raw bytes next to a code >= 128 are Latin-1 characters.
  EXPECT_EQ(ReadValue("'\xe9'#8364").unicodeText(), u"\u00e9\u20ac");
  EXPECT_EQ(ReadValue("'\xe9'#233").type, ValueType::WString);
  EXPECT_EQ(ReadValue("'\xe9'#233'abc'").type, ValueType::UTF8String);
  EXPECT_EQ(ReadValue("'\xe9'").type, ValueType::String);
}

TEST(TextStrings, ByteOrderMarkMakesRawBytesUtf8) {
  Object o = ReadText("\xEF\xBB\xBFobject F: T\r\n  P = 'Gr\xc3\xbc\xc3\x9f'\r\n  Q = 'ab'\r\nend\r\n");
  EXPECT_EQ(o.properties[0].value.unicodeText(), u"Gr\u00fc\u00df");
  EXPECT_EQ(o.properties[1].value.type, ValueType::String);
  // Written with a mark, 8-bit text becomes codes: raw bytes would be misread as UTF-8.
  TextOptions options;
  options.byteOrderMark = true;
  std::string text = WriteText(FormWith(Value::Ansi("\xfc")), options);
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  TextInfo info;
  EXPECT_EQ(ReadText(text, "", &info).properties[0].value.unicodeText(), u"\u00fc");
  EXPECT_TRUE(info.byteOrderMark);
}

TEST(TextStrings, DoubleByteCodePageKeepsCharactersWhole) {
  // 63 ASCII bytes, then a two-byte character that would straddle the line end.
  std::string s = std::string(63, 'a') + "\xb7\xa8" + "b";
  TextOptions gbk;
  gbk.codePage = 936;
  EXPECT_EQ(ValueText(Value::Ansi(s), gbk), "\n    '" + std::string(63, 'a') + "' +\n    '\xb7\xa8" "b'");
  EXPECT_EQ(ValueText(Value::Ansi(s)), "\n    '" + std::string(63, 'a') + "\xb7' +\n    '\xa8" "b'");
  ExpectRoundTrip(Value::Ansi(s), gbk);
}

TEST(TextFloats, IdeLayoutWhenItReadsBackExactly) {
  EXPECT_EQ(ValueText(Value::FromLongDouble(11)), "11.000000000000000000");
  EXPECT_EQ(ValueText(ReadValue("0.009999999776482582")), "0.009999999776482582");
  EXPECT_EQ(ValueText(Value::FromLongDouble(-0.5L)), "-0.500000000000000000");
  EXPECT_EQ(ValueText(Value::FromLongDouble(0)), "0.000000000000000000");
  EXPECT_EQ(ValueText(Value::FromLongDouble(1e20L)), "1.000000000000000E+020");
  // 100/3 as a double: the IDE's 16 digits would lose bits, so more digits are written.
  std::string t = ValueText(Value::FromLongDouble(100.0 / 3.0));
  EXPECT_EQ(t.find('E'), std::string::npos);
  EXPECT_GT(t.size(), std::string("33.333333333333340000").size() - 3);
}

TEST(TextFloats, EveryExtendedReadsBackBitExact) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> exponent(-300, 300);
  for (int i = 0; i < 3000; ++i) {
    long double v = std::pow(10.0L, static_cast<long double>(exponent(rng))) * (1 + rng() % 1000003 / 1e6L);
    if (i % 2) v = -v;
    if (i % 7 == 0) v = static_cast<long double>(static_cast<double>(v));
    Value value = Value::FromLongDouble(v);
    Value back = ReadValue(ValueText(value));
    ASSERT_EQ(back.type, ValueType::Extended);
    ASSERT_EQ(back.floatBytes, value.floatBytes) << ValueText(value);
  }
  for (long double v : {HUGE_VALL, -HUGE_VALL, static_cast<long double>(NAN), -0.0L, 1e-4950L, 1.18e4932L}) {
    Value back = ReadValue(ValueText(Value::FromLongDouble(v)));
    if (std::isnan(v)) EXPECT_TRUE(std::isnan(back.toLongDouble()));
    else EXPECT_EQ(back.floatBytes, Value::FromLongDouble(v).floatBytes) << ValueText(Value::FromLongDouble(v));
  }
}

// Found by fuzzing: a notation with a leading '+' was read as a continuation of the string
// before it in a list.
TEST(TextFloats, NonFiniteValuesInAList) {
  Value list;
  list.type = ValueType::List;
  list.list = {Value::Ansi("a"), Value::FromLongDouble(HUGE_VALL), Value::FromLongDouble(-HUGE_VALL),
               Value::FromLongDouble(NAN)};
  EXPECT_EQ(ValueText(list), "(\n    'a'\n    1.#INF\n    -1.#INF\n    1.#NAN)");
  Value back = ReadValue(ValueText(list));
  ASSERT_EQ(back.list.size(), 4u);
  EXPECT_EQ(back.list[1].floatBytes, list.list[1].floatBytes);
  EXPECT_EQ(back.list[2].floatBytes, list.list[2].floatBytes);
  EXPECT_TRUE(std::isnan(back.list[3].toLongDouble()));
}

TEST(TextFloats, SuffixedTypes) {
  Value single;
  single.type = ValueType::Single;
  float f = 1.5f;
  std::memcpy(single.floatBytes.data(), &f, 4);
  EXPECT_EQ(ValueText(single), "1.5s");
  Value date;
  date.type = ValueType::Date;
  double d = 45000.25;
  std::memcpy(date.floatBytes.data(), &d, 8);
  EXPECT_EQ(ValueText(date), "45000.25d");
  Value currency;
  currency.type = ValueType::Currency;
  currency.integer = -12345;
  EXPECT_EQ(ValueText(currency), "-12345c");  // the raw count of 1/10000 units, as the IDE writes it
  currency.integer = INT64_MIN;
  for (const Value& v : {single, date, currency}) ExpectRoundTrip(v);
  f = 0.1f;
  std::memcpy(single.floatBytes.data(), &f, 4);
  ExpectRoundTrip(single);

  // Double has no notation of its own and comes back as an Extended of the same value.
  Value dbl;
  dbl.type = ValueType::Double;
  d = 0.1;
  std::memcpy(dbl.floatBytes.data(), &d, 8);
  Value back = ReadValue(ValueText(dbl));
  EXPECT_EQ(back.type, ValueType::Extended);
  EXPECT_EQ(back.toLongDouble(), static_cast<long double>(0.1));
  EXPECT_EQ(ReadValue("2s").type, ValueType::Single);
  EXPECT_EQ(ReadValue("3D").type, ValueType::Date);
}

TEST(TextValues, IntegersTakeTheSmallestType) {
  EXPECT_EQ(ReadValue("127").type, ValueType::Int8);
  EXPECT_EQ(ReadValue("-128").type, ValueType::Int8);
  EXPECT_EQ(ReadValue("128").type, ValueType::Int16);
  EXPECT_EQ(ReadValue("-32769").type, ValueType::Int32);
  EXPECT_EQ(ReadValue("2147483648").type, ValueType::Int64);
  EXPECT_EQ(ReadValue("-9223372036854775808").integer, INT64_MIN);
  EXPECT_EQ(ReadValue("$FF").integer, 255);
  EXPECT_EQ(ReadValue("-$10").integer, -16);
  EXPECT_THROW(ReadValue("9223372036854775808"), FormFileError);
}

TEST(TextValues, StructuredValuesLayout) {
  Object o;
  o.className = "TForm1";
  o.name = "Form1";
  Value list;
  list.type = ValueType::List;
  list.list = {Value::Ansi("a"), Value::Integer(2)};
  Value empty;
  empty.type = ValueType::List;
  Value set;
  set.type = ValueType::Set;
  set.set = {"akLeft", "akTop"};
  Value noSet;
  noSet.type = ValueType::Set;
  Value coll;
  coll.type = ValueType::Collection;
  coll.items.resize(2);
  coll.items[0].properties.push_back({"Width", Value::Integer(5)});
  coll.items[1].hasIndex = true;
  coll.items[1].index = 3;
  Value noColl;
  noColl.type = ValueType::Collection;
  Value bin;
  bin.type = ValueType::Binary;
  bin.bytes = std::string("\x01\xab", 2);
  Value bin32 = bin;
  bin32.bytes = std::string(40, '\x0f');
  o.properties = {{"Items.Strings", list}, {"E", empty}, {"Anchors", set}, {"S", noSet}, {"Columns", coll},
                  {"C", noColl}, {"Data", bin}, {"Big", bin32}, {"B", Value::Boolean(true)},
                  {"Color", Value::Identifier("clBtnFace")}};
  Value nil;
  nil.type = ValueType::Nil;
  o.properties.push_back({"N", nil});
  Object child;
  child.className = "TPage";  // unnamed
  child.flags = ffInherited | ffChildPos;
  child.position = 2;
  Object frame;
  frame.className = "TFrame1";
  frame.name = "Frame";
  frame.flags = ffInline;
  child.children.push_back(frame);
  o.children.push_back(child);

  TextOptions options;
  options.lineEnd = LineEnd::LF;
  std::string text = WriteText(o, options);
  std::string hex32, hex8;
  for (int i = 0; i < 32; ++i) hex32 += "0F";
  for (int i = 0; i < 8; ++i) hex8 += "0F";
  EXPECT_EQ(text,
            "object Form1: TForm1\n"
            "  Items.Strings = (\n    'a'\n    2)\n"
            "  E = ()\n"
            "  Anchors = [akLeft, akTop]\n"
            "  S = []\n"
            "  Columns = <\n    item\n      Width = 5\n    end\n    item [3]\n    end>\n"
            "  C = <>\n"
            "  Data = {01AB}\n"
            "  Big = {\n    " + hex32 + "\n    " + hex8 + "}\n"
            "  B = True\n"
            "  Color = clBtnFace\n"
            "  N = nil\n"
            "  inherited TPage [2]\n"
            "    inline Frame: TFrame1\n"
            "    end\n"
            "  end\n"
            "end\n");
  Object back = ReadText(text);
  EXPECT_EQ(test::DiffTrees(o, back), "");
  EXPECT_EQ(WriteText(o).find('\n'), text.find('\n') + 1);  // CRLF by default
}

TEST(TextParser, KeywordsAndSpellingsItAccepts) {
  Object o = ReadText("OBJECT F: T\n P=TRUE Q = false R=NIL S = null T = .Owner\n U = 'a' +\n  'b'\n End");
  EXPECT_EQ(o.properties[0].value.type, ValueType::True);
  EXPECT_EQ(o.properties[1].value.type, ValueType::False);
  EXPECT_EQ(o.properties[2].value.type, ValueType::Nil);
  EXPECT_EQ(o.properties[3].value.type, ValueType::Null);
  EXPECT_EQ(o.properties[4].value.bytes, ".Owner");
  EXPECT_EQ(o.properties[5].value.bytes, "ab");
  EXPECT_EQ(ReadValue("{0A 0b\n ff}").bytes, std::string("\x0a\x0b\xff"));
}

// The parser's error, which converting the text straight to binary (no tree) must report alike.
std::string ErrorOf(std::string_view text) {
  std::string streamed = "no error";
  try {
    TextToBinary(text, "form.dfm", true);
  } catch (const FormFileError& e) {
    streamed = e.where() + ": " + e.detail();
  }
  try {
    const Object tree = ReadText(text, "form.dfm");
    EXPECT_EQ(streamed, "no error");
    EXPECT_TRUE(TextToBinary(text, "form.dfm", true) == WriteBinary(tree, true));
  } catch (const FormFileError& e) {
    EXPECT_EQ(e.file(), "form.dfm");
    EXPECT_EQ(streamed, e.where() + ": " + e.detail());
    return e.where() + ": " + e.detail();
  }
  return "no error";
}

TEST(TextParser, ErrorsNameTheLine) {
  EXPECT_EQ(ErrorOf("object F: T\r\n  Left 5\r\nend"), "line 2: expected '=' after the property name but found '5'");
  EXPECT_EQ(ErrorOf("object F: T\n\n  Caption = 'abc\nend"), "line 3: unterminated string");
  EXPECT_EQ(ErrorOf("object F: T\nend\nxyz"), "line 3: unexpected 'xyz' after the final 'end'");
  EXPECT_EQ(ErrorOf(std::string("object F: T\nend\n\x01\x00\x02", 19)), "line 3: unexpected character #0 after the final 'end'");
  EXPECT_EQ(ErrorOf("object F: T\n  P = {ABC}\nend"), "line 2: odd number of hex digits in binary data");
  EXPECT_EQ(ErrorOf("object F: T\n  P = 'a' +\nend"), "line 3: expected a string after '+' but found 'end'");
  EXPECT_EQ(ErrorOf("object F: T\n  P = (1\n"), "line 3: expected ')' but found end of file");
  EXPECT_EQ(ErrorOf("object F: T\n  P = #99999999\nend"), "line 2: character code out of range");
  EXPECT_EQ(ErrorOf("object F: T\n  P = <item\n  end\n  Q = 1>\nend"), "line 4: expected 'item' or '>' but found 'Q'");
  EXPECT_EQ(ErrorOf("object F: T\n  object G: T\n  end\n  P = 1\nend"), "line 4: expected an object or 'end' but found 'P'");
  EXPECT_EQ(ErrorOf("object F: T\r  P = 1x\rend"), "line 2: invalid number 1x");
  // Beyond the extended range (about 1.19e4932), or beyond a suffix's type: refused, not infinity.
  EXPECT_EQ(ErrorOf("object F: T\n  P = 1e99999\nend"), "line 2: number out of range: 1e99999");
  EXPECT_EQ(ErrorOf("object F: T\n  P = -2.5e4933\nend"), "line 2: number out of range: -2.5e4933");
  EXPECT_EQ(ErrorOf("object F: T\n  P = 1e39s\nend"), "line 2: number out of range for a single");
  EXPECT_EQ(ErrorOf("object F: T\n  P = 1e309d\nend"), "line 2: number out of range for a date");
  EXPECT_EQ(ErrorOf("object F: T\n  P = 1.1e4932\nend"), "no error");
  EXPECT_EQ(ErrorOf("object F: T\n  P = (\n    Null)\nend"), "line 3: Null cannot be a list element");
  EXPECT_EQ(ErrorOf("thing F: T\nend"), "line 1: expected 'object', 'inherited' or 'inline' but found 'thing'");
}

TEST(TextParser, DeepNestingIsAnErrorNotACrash) {
  EXPECT_EQ(ErrorOf("object F: T\n P = " + std::string(100000, '(')), "line 2: values nested too deeply");
  std::string objects;
  for (int i = 0; i < 5000; ++i) objects += "object A: T\n";
  EXPECT_EQ(ErrorOf(objects), "line 1002: objects nested too deeply");
}

}  // namespace
}  // namespace vorlect::formfile
