// Components of classes the registry does not know publish what their form file stores.
#include "FrameworkTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"

#include <gtest/gtest.h>

namespace vorlect::host {
namespace {

const char* const kForm = R"(object Form1: TForm
  Caption = 'Main'
  object KingLabel1: TKingLabel
    Left = 8
    Width = 100
    Alignment = taCenter
    Caption = 'May'
    Hint = 'The month'
    ShowAccel = True
    DateFormat = 'MMMM'
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Items.Strings = (
      'one'
      'two')
    Columns = <
      item
        Title.Caption = 'First'
        Title.Font.Name = 'Tahoma'
        Width = 40
      end
      item
        Width = 50
      end>
    Interval = 500
    CalendarSource = Cal1
  end
  object KingLabel2: TKingLabel
    Left = 8
    Width = 100
    Alignment = taCenter
    Caption = 'June'
    Hint = 'Other'
    ShowAccel = False
    DateFormat = 'MM'
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Items.Strings = (
      'three')
    Columns = <>
    Interval = 1
    CalendarSource = Cal1
  end
  object KingLabel3: TKingLabel
    Left = 8
    Width = 100
  end
  object Cal1: TKingCalendar
    Caption = 'x'
    Caption = 'y'
    Text = 'Cal'
    Lines.Strings = (
      'a'
      2)
  end
end
)";

class UnknownClasses : public ::testing::Test {
protected:
  void SetUp() override {
    tree_ = test::Tree(kForm);
    root_ = ReadComponentTree(tree_);
  }
  TComponent* Find(const char* name) {
    TComponent* c = root_->FindComponent(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }

  formfile::Object tree_;
  std::unique_ptr<TComponent> root_;
};

TEST_F(UnknownClasses, PublishStoredStringsBooleansListsCollectionsAndSubObjects) {
  TComponent* label = Find("KingLabel1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->ClassName(), "TKingLabel");
  EXPECT_TRUE(label->Is<TUnknownControl>());

  EXPECT_EQ(GetStrProp(*label, "Caption"), "May");
  EXPECT_EQ(GetStrProp(*label, "Hint"), "The month");  // the stand-in's own Hint
  EXPECT_EQ(GetStrProp(*label, "DateFormat"), "MMMM");
  EXPECT_EQ(GetPropInfo(*label, "ShowAccel")->kind, TypeKind::Boolean);
  EXPECT_EQ(GetOrdProp(*label, "ShowAccel"), 1);
  EXPECT_EQ(GetPropInfo(*label, "Caption")->kind, TypeKind::String);

  auto* items = GetObjectProp<TStrings>(*label, "Items");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->CommaText(), "one,two");

  auto* font = GetObjectProp(*label, "Font");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetStrProp(*font, "Name"), "Arial");
  EXPECT_EQ(GetPropInfo(*font, "Style"), nullptr);  // a set: kept as read

  auto* columns = GetObjectProp<TCollection>(*label, "Columns");
  ASSERT_NE(columns, nullptr);
  ASSERT_EQ(columns->Count(), 2);
  auto* title = GetObjectProp(*columns->Items(0), "Title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(GetStrProp(*title, "Caption"), "First");
  EXPECT_EQ(GetStrProp(*GetObjectProp(*title, "Font"), "Name"), "Tahoma");
  // Each item publishes what it stores itself.
  EXPECT_EQ(GetPropInfo(*columns->Items(1), "Title"), nullptr);

  // Numbers, identifiers and sets stay raw.
  for (const char* name : {"Alignment", "Interval", "CalendarSource", "Font.Style"})
    EXPECT_NE(FindRawProperty(*label, name), nullptr) << name;
  EXPECT_EQ(GetPropInfo(*label, "Interval"), nullptr);
  EXPECT_EQ(GetPropInfo(*label, "CalendarSource"), nullptr);
}

TEST_F(UnknownClasses, WhatTheFileDoesNotHoldIsNotPublished) {
  TComponent* bare = Find("KingLabel3");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(GetPropInfo(*bare, "Caption"), nullptr);
  EXPECT_EQ(&bare->ClassType(), &TUnknownControl::StaticClass());
  EXPECT_EQ(bare->ClassName(), "TKingLabel");

  // Stored twice, or a list that is not all strings: kept as read.
  TComponent* cal = Find("Cal1");
  ASSERT_NE(cal, nullptr);
  EXPECT_EQ(GetPropInfo(*cal, "Caption"), nullptr);
  EXPECT_EQ(GetPropInfo(*cal, "Lines"), nullptr);
  EXPECT_EQ(GetStrProp(*cal, "Text"), "Cal");
  EXPECT_TRUE(cal->Is<TUnknownComponent>());
}

TEST_F(UnknownClasses, ObjectsStoringTheSamePropertiesShareOneClass) {
  TComponent* a = Find("KingLabel1");
  TComponent* b = Find("KingLabel2");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(&a->ClassType(), &b->ClassType());
  auto again = ReadComponentTree(tree_);
  EXPECT_EQ(&again->FindComponent("KingLabel1")->ClassType(), &a->ClassType());
  EXPECT_NE(&Find("Cal1")->ClassType(), &a->ClassType());
}

TEST_F(UnknownClasses, WriteBackUnchangedAndChangedValuesInPlace) {
  EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root_)), "");

  TComponent* label = Find("KingLabel1");
  ASSERT_NE(label, nullptr);
  SetStrProp(*label, "Caption", "Mai");
  GetObjectProp<TStrings>(*label, "Items")->Put(1, "zwei");
  auto* columns = GetObjectProp<TCollection>(*label, "Columns");
  SetStrProp(*GetObjectProp(*columns->Items(0), "Title"), "Caption", "Erste");
  SetOrdProp(*label, "ShowAccel", 0);

  std::string expected = kForm;
  auto replace = [&](const std::string& from, const std::string& to) {
    auto at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  replace("Caption = 'May'", "Caption = 'Mai'");
  replace("'two'", "'zwei'");
  replace("'First'", "'Erste'");
  replace("ShowAccel = True", "ShowAccel = False");
  EXPECT_EQ(test::ExactDiff(test::Tree(expected), WriteComponentTree(*root_)), "");
}

TEST(UnknownClassesUnicode, UnicodeStringsKeepTheirTypeUntilChanged) {
  formfile::Object tree = test::Tree(
      "object Form1: TForm\n  object L: TTntLabel\n    Caption = 'Ab'#1078\n  end\nend\n");
  ReadOptions options;
  options.codePage = 1251;
  auto root = ReadComponentTree(tree, options);
  TComponent* label = root->FindComponent("L");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(GetStrProp(*label, "Caption"), "Ab\xE6");
  WriteOptions write;
  write.codePage = 1251;
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*root, write)), "");
  SetStrProp(*label, "Caption", "Ab\xE6\xE6");
  formfile::Object out = WriteComponentTree(*root, write);
  const formfile::Property* caption = out.children.at(0).find("Caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_TRUE(caption->value.isWideString());
  EXPECT_EQ(caption->value.unicodeText(), u"Ab\u0436\u0436");
}

}  // namespace
}  // namespace vorlect::host
