// The binary streaming format: every value type, the resource header, and damage.
#include "TreeCompare.h"
#include "host/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vorlect::formfile {
using namespace std::string_literals;
namespace {

Value Typed(ValueType t) {
  Value v;
  v.type = t;
  return v;
}

// A form holding one value of every type the format knows.
Object EveryType() {
  Object o;
  o.className = "TMainForm";
  o.name = "MainForm";
  auto add = [&](std::string name, Value v) { o.properties.push_back({std::move(name), std::move(v)}); };
  Value list = Typed(ValueType::List);
  list.list = {Value::Integer(1), Value::Ansi("x"), Typed(ValueType::List)};
  add("List", list);
  add("I8", Value::Integer(-5));
  add("I16", Value::Integer(1000));
  add("I32", Value::Integer(-100000));
  add("I64", Value::Integer(INT64_MAX));
  Value wide8 = Value::Integer(5);  // a writer that chose a wider type than needed
  wide8.type = ValueType::Int32;
  add("Wide", wide8);
  add("Ext", Value::FromLongDouble(3.25L));
  Value single = Typed(ValueType::Single);
  float f = 0.1f;
  std::memcpy(single.floatBytes.data(), &f, 4);
  add("Single", single);
  Value dbl = Typed(ValueType::Double);
  double d = 1e300;
  std::memcpy(dbl.floatBytes.data(), &d, 8);
  add("Double", dbl);
  Value date = Typed(ValueType::Date);
  std::memcpy(date.floatBytes.data(), &d, 8);
  add("Date", date);
  Value cur = Typed(ValueType::Currency);
  cur.integer = 123456789;
  add("Cur", cur);
  add("Str", Value::Ansi("Caf\xe9"));
  add("LStr", Value::Ansi(std::string(300, 'L')));
  add("Id", Value::Identifier("clRed"));
  add("F", Typed(ValueType::False));
  add("T", Typed(ValueType::True));
  Value bin = Typed(ValueType::Binary);
  bin.bytes = std::string("\0\1\2\xff", 4);
  add("Bin", bin);
  Value set = Typed(ValueType::Set);
  set.set = {"fsBold", "fsItalic"};
  add("Set", set);
  add("Nil", Typed(ValueType::Nil));
  Value coll = Typed(ValueType::Collection);
  coll.items.resize(2);
  coll.items[0].properties.push_back({"Caption", Value::Ansi("a")});
  coll.items[1].hasIndex = true;
  coll.items[1].index = 300;
  add("Coll", coll);
  Value ws = Typed(ValueType::WString);
  ws.wide = u"\u041f\u0440";
  add("WStr", ws);
  add("EmptyW", Typed(ValueType::WString));
  add("Utf8", Value::Unicode(u"na\u00efve"));
  Object child;
  child.className = "TButton";
  child.name = "B";
  child.flags = ffInherited | ffChildPos;
  child.position = 40000;
  child.positionType = ValueType::Int32;
  child.properties.push_back({"Null", Typed(ValueType::Null)});
  o.children.push_back(child);
  Object frame;
  frame.className = "TFrame";
  frame.flags = ffInline;
  o.children.push_back(frame);
  return o;
}

TEST(Binary, EveryValueTypeRoundTrips) {
  Object o = EveryType();
  ASSERT_EQ(o.properties.back().value.type, ValueType::UTF8String);
  for (bool header : {false, true}) {
    std::string bytes = WriteBinary(o, header);
    BinaryInfo info;
    Object back = ReadBinary(bytes, "x.dfm", &info);
    EXPECT_EQ(test::DiffTrees(o, back), "");
    EXPECT_EQ(info.resourceHeader, header);
    EXPECT_EQ(WriteBinary(back, info), bytes);
    // Through text, too (Double comes back as an Extended of the same value).
    Object viaText = ReadText(WriteText(back));
    test::CompareOptions byValue;
    byValue.numbersByValue = true;
    EXPECT_EQ(test::DiffTrees(o, viaText, byValue), "");
    viaText.find("Double")->value.type == ValueType::Extended ? void() : ADD_FAILURE();
  }
}

TEST(Binary, HeaderLayout) {
  Object o;
  o.className = "TForm1";
  o.name = "Form1";
  std::string bytes = WriteBinary(o, true);
  std::string data = "TPF0\x06TForm1\x05" "Form1\0\0"s;
  std::string expected = "\xff\x0a\x00TFORM1\x00\x30\x10"s + char(data.size()) + "\0\0\0"s + data;
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(WriteBinary(o, false), data);
  EXPECT_EQ(DetectFormat(bytes), FileFormat::BinaryWithHeader);
  EXPECT_EQ(DetectFormat(data), FileFormat::Binary);
  EXPECT_EQ(DetectFormat("\xEF\xBB\xBF  \r\ninherited X: T"), FileFormat::Text);
  EXPECT_EQ(DetectFormat("INLINE x"), FileFormat::Text);
  EXPECT_EQ(DetectFormat("objects"), FileFormat::Unknown);
  EXPECT_EQ(DetectFormat(""), FileFormat::Unknown);
}

std::string ErrorOf(std::string_view data) {
  try {
    ReadBinary(data, "b.dfm");
  } catch (const FormFileError& e) {
    EXPECT_EQ(e.file(), "b.dfm");
    return e.where() + ": " + e.detail();
  }
  return "no error";
}

TEST(Binary, EveryTruncationIsRefused) {
  for (bool header : {false, true}) {
    std::string bytes = WriteBinary(EveryType(), header);
    for (size_t n = 0; n < bytes.size(); ++n) {
      std::string cut = bytes.substr(0, n);
      if (header && n > 20) {  // keep the size field honest so the tree itself is cut
        std::uint32_t size = static_cast<std::uint32_t>(n - 20);
        std::memcpy(&cut[16], &size, 4);
      }
      EXPECT_NE(ErrorOf(cut), "no error") << n;
    }
  }
}

TEST(Binary, DamageIsReportedWithItsOffset) {
  std::string ok = WriteBinary(EveryType(), true);
  // Tree ending before the resource size (line-end damage that still parses).
  const size_t sizeAt = 15;  // FF 0A 00 "TMAINFORM" 00 30 10
  std::string shortTree = ok + '\0';
  std::uint32_t size;
  std::memcpy(&size, &ok[sizeAt], 4);
  ++size;
  std::memcpy(&shortTree[sizeAt], &size, 4);
  EXPECT_EQ(ErrorOf(shortTree), "offset " + std::to_string(ok.size()) +
                                    ": object tree ends 1 bytes before the end of the resource (damaged file)");
  EXPECT_EQ(ErrorOf(ok + "x"), "offset " + std::to_string(ok.size()) + ": 1 bytes follow the end of the resource");
  std::string tooBig = ok;
  tooBig[sizeAt + 3] = 0x7f;
  EXPECT_EQ(ErrorOf(tooBig).substr(0, 30), "offset 15: resource size 21307");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x01N\x01P\x63"), "offset 10: unknown value type 99");
  // A length far beyond the data must fail before anything is allocated.
  EXPECT_EQ(ErrorOf("TPF0\x01T\x01N\x01P\x0c\xff\xff\xff\xff"s),
            "offset 15: unexpected end of data in string data (needs 4294967295 bytes, 0 left)");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x01N\x01P\x12\xff\xff\xff\x7f"s).substr(0, 45), "offset 15: unexpected end of data in wide str");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x01N\x01P\x0e\x05\x00\x00"s), "offset 11: collection item does not start with a list marker");
  EXPECT_EQ(ErrorOf("\xff\x0a\x00X\x00\x30\x10\x04\x00\x00\x00TPF1"s), "offset 11: missing form signature 'TPF0'");
  EXPECT_EQ(ErrorOf(std::string(414, '\0')), "offset 0: missing form signature 'TPF0'");
}

TEST(Binary, DeepNestingIsAnErrorNotACrash) {
  std::string lists = "TPF0\x01T\x01N\x01P"s + std::string(200000, '\x01');
  EXPECT_EQ(ErrorOf(lists).substr(ErrorOf(lists).find(':')), ": values nested too deeply");
  std::string objects = "TPF0";
  for (int i = 0; i < 3000; ++i) objects += "\x01T\x01N\x00"s;
  EXPECT_EQ(ErrorOf(objects).substr(ErrorOf(objects).find(':')), ": objects nested too deeply");
}

}  // namespace
}  // namespace vorlect::formfile

namespace vorlect::formfile {
namespace {
using namespace std::string_literals;

// Found by fuzzing: names the text notation cannot hold used to give text that did not parse.
TEST(Binary, NamesMustBeOnesTheTextCanHold) {
  EXPECT_EQ(ErrorOf("TPF0\x01T\x02" "9x\x00\x00"s), "offset 6: invalid object name");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x00\x02P\x04\x02\x01\x00\x00"s), "offset 7: invalid property name");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x00\x03" "end\x02\x01\x00\x00"s), "offset 7: reserved word 'end' as a property name");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x00\x01P\x07\x02" "a \x00\x00"s), "offset 10: invalid identifier");
  EXPECT_EQ(ErrorOf("TPF0\x01T\x00\x01P\x0b\x02" "a,\x00\x00\x00"s), "offset 10: invalid set element");
  EXPECT_EQ(ErrorOf("TPF0\x00\x00\x00\x00"s), "offset 4: invalid class name");
  Object o = ReadBinary("TPF0\x05TPage\x00\x01P\x07\x06.Owner\x00\x00"s);  // unnamed, dotted ident
  EXPECT_EQ(ReadText(WriteText(o)).properties.at(0).value.bytes, ".Owner");
}

TEST(Binary, ClassNameThatWouldReadAsAResourceNumberIsRefused) {
  Object o = ReadText("object F: \xff" "T\nend\n");
  EXPECT_THROW(WriteBinary(o, true), std::invalid_argument);
  EXPECT_EQ(ReadBinary(WriteBinary(o, false)).className, "\xff" "T");
}

// Found by fuzzing: a length byte of 240 or more reads as an object prefix.
TEST(Binary, LongClassNamesAreStreamedSoThatTheyReadBack) {
  const std::string name = "T" + std::string(249, 'x');
  Object o = ReadText("object F: " + name + "\n  object G: " + name + "\n  end\nend\n");
  for (bool header : {false, true}) {
    Object back = ReadBinary(WriteBinary(o, header));
    EXPECT_EQ(back.className, name);
    EXPECT_EQ(back.flags, 0);
    ASSERT_EQ(back.children.size(), 1u);
    EXPECT_EQ(back.children[0].className, name);
  }
}

}  // namespace
}  // namespace vorlect::formfile
