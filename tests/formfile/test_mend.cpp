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

}  // namespace
}  // namespace vorlect::formfile
