// Mending a binary form after an edit of its text notation: only the translation component's
// block and the resource header's size change; every other value keeps its bytes and type.
#include "CorpusFiles.h"
#include "host/formfile/FormMend.h"
#include "support/BinaryBlocks.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vorlect::formfile {
namespace {

using vorlect::test::WithoutTranslationBlocks;

Property Prop(std::string name, Value v) { return {std::move(name), std::move(v)}; }

Value Strings(std::vector<Value> items) {
  Value v;
  v.type = ValueType::List;
  v.list = std::move(items);
  return v;
}

Value Utf8(std::string bytes) {
  Value v;
  v.type = ValueType::UTF8String;
  v.bytes = std::move(bytes);
  return v;
}

// A form whose values the text notation cannot tell apart from others: a Unicode item stored as
// UTF-8, a double, a short string stored as a long one, and an empty identifier.
Object Wild() {
  Object form;
  form.className = "TWildForm";
  form.name = "WildForm";
  form.properties.push_back(Prop("Caption", Value::Ansi("Calendar")));
  Object label;
  label.className = "TKingLabel";
  label.name = "KingLabel1";
  label.properties.push_back(Prop("Items.Strings", Strings({Utf8("\xD0\x9C\xD0\xB0\xD0\xB9"), Utf8("May")})));
  Value dbl;
  dbl.type = ValueType::Double;
  const double d = 0.1;
  std::memcpy(dbl.floatBytes.data(), &d, 8);
  label.properties.push_back(Prop("Ratio", dbl));
  Value longString = Value::Ansi("short");
  longString.type = ValueType::LString;
  label.properties.push_back(Prop("Format", longString));
  label.properties.push_back(Prop("DataField", Value::Identifier("")));
  form.children.push_back(std::move(label));
  return form;
}

Object Component(std::vector<std::string> words) {
  Object v;
  v.className = "TVorlect";
  v.name = "Vorlect1";
  v.properties.push_back(Prop("Languages", Value::Integer(2)));
  std::vector<Value> items;
  for (auto& w : words) items.push_back(Value::Ansi(std::move(w)));
  v.properties.push_back(Prop("Words.Strings", Strings(std::move(items))));
  return v;
}

// The file's text notation (with placeholders) read back, as an edit sees it.
struct Opened {
  BinaryInfo info;
  ObjectSpan layout;
  Object before;
};
Opened Open(const std::string& bytes) {
  Opened o;
  const Object root = ReadBinary(bytes, "form", &o.info, &o.layout);
  TextOptions options;
  options.placeholders = true;
  o.before = ReadText(WriteText(root, options), "text");
  return o;
}

TEST(Mend, AnUneditedTreeGivesTheFileBackAndTheTextRoundTripWouldNot) {
  const std::string original = WriteBinary(Wild(), true);
  const Opened o = Open(original);
  EXPECT_EQ(MendBinary(original, o.info, o.layout, o.before, o.before), original);
  // What a conversion through the text would have written instead.
  EXPECT_NE(WriteBinary(o.before, o.info), original);
}

TEST(Mend, AddingChangingAndEmptyingTheComponentLeavesEveryOtherByte) {
  for (bool header : {true, false}) {
    const std::string original = WriteBinary(Wild(), header);
    Opened o = Open(original);
    Object added = o.before;
    added.children.push_back(Component({"%Form%", "Calendar", "Kalender"}));
    const std::string withComponent = MendBinary(original, o.info, o.layout, o.before, added);
    EXPECT_EQ(WithoutTranslationBlocks(withComponent), original);
    const Object back = ReadBinary(withComponent, "mended");
    ASSERT_EQ(back.children.size(), 2u);
    EXPECT_EQ(back.children[0].properties[0].value.list[0].type, ValueType::UTF8String);
    EXPECT_EQ(back.children[0].properties[3].value.type, ValueType::Ident);

    Opened again = Open(withComponent);
    Object changed = again.before;
    changed.children[1].properties[1].value.list[2] = Value::Ansi("Kalendarium");
    const std::string withChange = MendBinary(withComponent, again.info, again.layout, again.before, changed);
    EXPECT_EQ(WithoutTranslationBlocks(withChange), original);
    EXPECT_EQ(ReadBinary(withChange, "changed").children[1].properties[1].value.list[2].bytes, "Kalendarium");

    Object emptied = again.before;
    emptied.children[1].properties.pop_back();
    const std::string withEmpty = MendBinary(withComponent, again.info, again.layout, again.before, emptied);
    EXPECT_EQ(WithoutTranslationBlocks(withEmpty), original);
    EXPECT_EQ(ReadBinary(withEmpty, "emptied").children[1].properties.size(), 1u);
  }
}

TEST(Mend, AChangedValueHoldingAPlaceholderIsRefusedNotWritten) {
  const std::string original = WriteBinary(Wild(), true);
  Opened o = Open(original);
  Object edited = o.before;
  edited.children[0].properties[2].value = Value::Ansi("changed");  // next to the placeholder
  EXPECT_NO_THROW(MendBinary(original, o.info, o.layout, o.before, edited));
  Object copy = edited.children[0];  // a new component holding the placeholder
  copy.name = "KingLabel2";
  edited.children.push_back(copy);
  EXPECT_THROW(MendBinary(original, o.info, o.layout, o.before, edited), FormFileError);
}

TEST(Mend, TheTextNotationRefusesAnEmptyIdentifierNamingTheProperty) {
  try {
    WriteText(Wild());
    FAIL() << "written";
  } catch (const FormFileError& e) {
    EXPECT_EQ(e.where(), "property WildForm.KingLabel1.DataField");
    EXPECT_NE(e.detail().find("empty identifier"), std::string::npos);
  }
}

// Every binary form of the corpus and of its projects: a component added, then its table changed,
// leave the rest of the file as it was, byte for byte.
TEST(MendCorpus, EveryBinaryFormKeepsItsBytesAroundAnAddedAndChangedComponent) {
  if (!test::HaveCorpus()) GTEST_SKIP() << "corpus not found at " << test::CorpusDir();
  int checked = 0;
  for (const auto& file : test::CorpusBinaries()) {
    SCOPED_TRACE(file.string());
    const std::string original = test::ReadAll(file);
    Opened o;
    try {
      o = Open(original);
    } catch (const FormFileError&) {
      continue;  // damaged files are the reader's tests' business
    }
    Object added = o.before;
    added.children.push_back(Component({"%Form%", "x", "y", "Label1", "\xC3\xA9t\xC3\xA9", "summer"}));
    const std::string withComponent = MendBinary(original, o.info, o.layout, o.before, added);
    ASSERT_EQ(WithoutTranslationBlocks(withComponent), original);
    Opened again = Open(withComponent);
    Object changed = again.before;
    changed.children.back().properties[1].value.list[2] = Value::Ansi("z");
    ASSERT_EQ(WithoutTranslationBlocks(MendBinary(withComponent, again.info, again.layout, again.before, changed)),
              original);
    ++checked;
  }
  EXPECT_GE(checked, 80);
}

// A text form as people write it by hand: LF line ends, a blank line, its own indentation, a
// hexadecimal number and a list wrapped its own way, none of which our writer would produce.
constexpr std::string_view kHandWritten =
    "object Form1: TForm1\n"
    "    Left = $10\n"
    "    Caption = 'Orders'\n"
    "\n"
    "    object List1: TListBox\n"
    "        Items.Strings = ('one'\n"
    "                         'two')\n"
    "        Hint = 'keep me'\n"
    "    end\n"
    "    object Button1: TButton\n"
    "        Caption = 'OK'\n"
    "    end\n"
    "end\n";

// New lines take the file's own step of indentation.
TEST(MendText, AnEditKeepsTheLinesOfEverythingItLeftAlone) {
  const Object before = ReadText(kHandWritten, "hand");
  EXPECT_EQ(MendForm(kHandWritten, before, "hand"), kHandWritten);

  Object after = before;
  after.properties[1].value = Value::Ansi("All orders");         // changed
  after.children[0].properties.pop_back();                         // removed
  after.children[1].properties.push_back(Prop("Top", Value::Integer(8)));  // added
  after.children.push_back(Component({"%Form%", "Orders", "Bestellungen"}));
  const std::string mended = MendForm(kHandWritten, after, "hand");
  EXPECT_EQ(mended,
            "object Form1: TForm1\n"
            "    Left = $10\n"
            "    Caption = 'All orders'\n"
            "\n"
            "    object List1: TListBox\n"
            "        Items.Strings = ('one'\n"
            "                         'two')\n"
            "    end\n"
            "    object Button1: TButton\n"
            "        Caption = 'OK'\n"
            "        Top = 8\n"
            "    end\n"
            "    object Vorlect1: TVorlect\n"
            "        Languages = 2\n"
            "        Words.Strings = (\n"
            "            '%Form%'\n"
            "            'Orders'\n"
            "            'Bestellungen')\n"
            "    end\n"
            "end\n");
  EXPECT_TRUE(SameObject(ReadText(mended, "mended"), ReadText(WriteText(after), "written")));
}

TEST(MendText, AFileWithPartsSharingALineIsWrittenWholeKeepingLineEndsAndMark) {
  const std::string crammed = "\xEF\xBB\xBFobject Form1: TForm1 Left = 1 Top = 2\r\nend\r\n";
  Object after = ReadText(crammed, "crammed");
  after.properties[0].value = Value::Integer(5);
  const std::string mended = MendForm(crammed, after, "crammed");
  EXPECT_EQ(mended, "\xEF\xBB\xBFobject Form1: TForm1\r\n  Left = 5\r\n  Top = 2\r\nend\r\n");
}

TEST(MendText, ValuesThatReadDifferentlyButWriteAlikeKeepTheirLines) {
  // A live component's writer gives a caption back as a Unicode string: the file's line stays.
  const std::string text = "object Form1: TForm1\r\n  Caption = 'Caf'#233\r\n  Width = 100\r\nend\r\n";
  Object after = ReadText(text, "form");
  after.properties[0].value = Value::Unicode(u"Caf\u00E9");
  EXPECT_EQ(MendForm(text, after, "form"), text);
}

// Every text form of the corpus comes back unchanged, and a change of its first property changes
// that property's lines only.
TEST(MendCorpus, EveryTextFormKeepsItsLinesAroundAnEdit) {
  if (!test::HaveCorpus()) GTEST_SKIP() << "corpus not found at " << test::CorpusDir();
  int checked = 0;
  for (const auto& file : test::CorpusTexts()) {
    SCOPED_TRACE(file.string());
    const std::string original = test::ReadAll(file);
    Object before;
    ObjectSpan layout;
    try {
      before = ReadText(original, "corpus", nullptr, &layout);
    } catch (const FormFileError&) {
      continue;
    }
    ASSERT_EQ(MendForm(original, before, "corpus"), original);
    if (before.properties.empty()) continue;
    Object after = before;
    after.properties[0].value = Value::Ansi("Mended");
    const std::string mended = MendForm(original, after, "corpus");
    EXPECT_TRUE(SameObject(ReadText(mended, "mended"), after));
    // Everything before the property's line and after it is the file's own.
    const size_t lineStart = original.rfind('\n', layout.properties[0].first) + 1;
    const size_t lineEnd = original.find('\n', layout.properties[0].second) + 1;
    EXPECT_EQ(mended.substr(0, lineStart), original.substr(0, lineStart));
    EXPECT_TRUE(mended.ends_with(original.substr(lineEnd)));
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

}  // namespace
}  // namespace vorlect::formfile
