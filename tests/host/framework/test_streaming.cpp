// Type information and reading/writing component trees.
#include "FrameworkTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"

#include <gtest/gtest.h>

namespace vorlect::host {
namespace {

using formfile::Value;
using formfile::ValueType;

// A control that records every setter call with whether csLoading was set.
enum TMood { mdCalm, mdHappy, mdGrumpy };
const EnumInfo& MoodInfo() {
  static const EnumInfo info{"TMood", {"mdCalm", "mdHappy", "mdGrumpy"}};
  return info;
}

std::vector<std::string> gLog;

class TProbeItem : public TCollectionItem {
  VORLECT_CLASS(TProbeItem, TCollectionItem)
public:
  explicit TProbeItem(TCollection* c) : TCollectionItem(c) {}
  std::string Text;
  int Num = 0;
};

class TProbe : public TWinControl {
  VORLECT_CLASS(TProbe, TWinControl)
public:
  explicit TProbe(TComponent* owner) : TWinControl(owner) {}
  int Value() const { return value_; }
  void SetValue(int v) { Log("Value"); value_ = v; }
  TMood Mood() const { return mood_; }
  void SetMood(TMood m) { Log("Mood"); mood_ = m; }
  double Ratio() const { return ratio_; }
  void SetRatio(double r) { ratio_ = r; }
  TProbe* Buddy() const { return buddy_; }
  void SetBuddy(TProbe* b) { Log("Buddy"); buddy_ = b; }
  TStrings* Items() const { return items_.get(); }
  TCollection* Entries() const { return entries_.get(); }
  void SetCaptionLogged(const std::string& s) { Log("Caption"); SetCaption(s); }
  void Loaded() override {
    TWinControl::Loaded();
    gLog.push_back("Loaded " + Name() + (InState(csLoading) ? " loading" : ""));
  }

private:
  void Log(const std::string& what) {
    gLog.push_back(what + " " + Name() + (InState(csLoading) ? " loading" : ""));
  }
  int value_ = 0;
  TMood mood_ = mdCalm;
  double ratio_ = 0;
  TProbe* buddy_ = nullptr;
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  std::unique_ptr<TCollection> entries_ = std::make_unique<TCollection>(TProbeItem::StaticClass(), this);
};

const ClassInfo& TProbeItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TProbeItem>("TProbeItem")
                                    .String("Text", &TProbeItem::Text, &TProbeItem::Text)
                                    .Integer("Num", &TProbeItem::Num, &TProbeItem::Num).Default(0)
                                    .Build();
  return info;
}

const ClassInfo& TProbe::StaticClass() {
  static const ClassInfo info = ClassBuilder<TProbe>("TProbe")
                                    .Publish("Align")
                                    .String("Caption", &TProbe::Caption, &TProbe::SetCaptionLogged)
                                    .Publish("Color").Default(clBtnFace)
                                    .Publish("Font")
                                    .Integer("Value", &TProbe::Value, &TProbe::SetValue).Default(0)
                                    .Enum("Mood", &TProbe::Mood, &TProbe::SetMood, MoodInfo()).Default(mdCalm)
                                    .Float("Ratio", &TProbe::Ratio, &TProbe::SetRatio)
                                    .Reference("Buddy", &TProbe::Buddy, &TProbe::SetBuddy)
                                    .Object("Items", &TProbe::Items)
                                    .Object("Entries", &TProbe::Entries)
                                    .Publish("ParentFont")
                                    .Publish("PopupMenu")
                                    .Publish("OnClick")
                                    .Build();
  return info;
}

class Streaming : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!GetClass("TProbe")) RegisterClass(TProbe::StaticClass());
  }
  void SetUp() override { gLog.clear(); }

  std::unique_ptr<TComponent> Load(const std::string& text, std::vector<std::string>* warnings = nullptr) {
    tree_ = test::Tree(text);
    ReadOptions options;
    options.fileName = "test.dfm";
    options.warnings = warnings;
    return ReadComponentTree(tree_, options);
  }
  // Load, save, and expect the very tree that was read.
  void ExpectRoundTrip(const std::string& text) {
    auto root = Load(text);
    EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root)), "");
  }

  formfile::Object tree_;
};

// ---- type information ----------------------------------------------------------------------------

TEST_F(Streaming, PropertiesComeInDeclarationOrderAncestorsFirst) {
  std::vector<std::string> names;
  for (const PropInfo* p : TProbe::StaticClass().Properties()) names.push_back(p->name);
  std::vector<std::string> expected{"Name", "Tag", "AlignWithMargins", "Left", "Top", "Width",
                                    "Height", "Cursor", "Hint", "HelpType", "HelpKeyword",
                                    "HelpContext", "Margins", "CustomHint", "ParentCustomHint",
                                    "Align", "Caption",
                                    "Color", "Font", "Value", "Mood", "Ratio", "Buddy", "Items",
                                    "Entries", "ParentFont", "PopupMenu", "OnClick"};
  EXPECT_EQ(names, expected);
  const PropInfo* color = GetPropInfo(TProbe::StaticClass(), "COLOR");
  ASSERT_NE(color, nullptr);
  EXPECT_EQ(color->defaultValue, clBtnFace);  // republished with another default
  EXPECT_EQ(GetPropInfo(TControl::StaticClass(), "Color"), nullptr);  // protected there
  EXPECT_EQ(color->kind, TypeKind::Integer);
  EXPECT_EQ(GetPropInfo(TProbe::StaticClass(), "Items")->kind, TypeKind::StringList);
  EXPECT_EQ(GetPropInfo(TProbe::StaticClass(), "Entries")->kind, TypeKind::Collection);
}

TEST_F(Streaming, NonVisualComponentsHaveNoLeftOrTopProperty) {
  TDataModule dm(nullptr);
  auto* timer = new TUnknownComponent(&dm);
  EXPECT_EQ(GetPropInfo(*timer, "Left"), nullptr);
  EXPECT_EQ(GetPropInfo(*timer, "Top"), nullptr);
  EXPECT_NE(GetPropInfo(*timer, "tag"), nullptr);
  TForm form(nullptr);
  EXPECT_NE(GetPropInfo(form, "left"), nullptr);
}

TEST_F(Streaming, RegistryAndIsA) {
  EXPECT_EQ(&FindClass("tform"), &TForm::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
  std::unique_ptr<TComponent> c(FindClass("TProbe").CreateComponent(nullptr));
  EXPECT_TRUE(c->InheritsFrom(TWinControl::StaticClass()));
  EXPECT_NE(dynamic_cast<TProbe*>(c.get()), nullptr);
  EXPECT_FALSE(c->InheritsFrom(TForm::StaticClass()));
  EXPECT_EQ(c->ClassName(), "TProbe");
  EXPECT_THROW(TStrings::StaticClass().CreateComponent(nullptr), EComponentError);
}

TEST_F(Streaming, GenericAccess) {
  TProbe p(nullptr);
  SetStrProp(p, "caption", "Hello");
  EXPECT_EQ(p.Caption(), "Hello");
  SetEnumProp(p, "Mood", "MDGRUMPY");
  EXPECT_EQ(p.Mood(), mdGrumpy);
  EXPECT_EQ(GetEnumProp(p, "Mood"), "mdGrumpy");
  EXPECT_THROW(SetEnumProp(p, "Mood", "mdNone"), EPropertyError);
  SetOrdProp(p, "Align", alClient);
  EXPECT_EQ(p.Align(), alClient);
  EXPECT_THROW(SetSetProp(p, "Font.Style", "[fsBold]"), EPropertyError);  // no dotted paths
  SetSetProp(*p.Font(), "Style", "[fsBold, fsUnderline]");
  EXPECT_TRUE(p.Font()->Style().Contains(fsUnderline));
  SetFloatProp(p, "Ratio", 2.5);
  EXPECT_EQ(GetFloatProp(p, "Ratio"), 2.5);
  EXPECT_EQ(GetObjectProp<TFont>(p, "Font"), p.Font());
  EXPECT_THROW(GetStrProp(p, "Value"), EPropertyError);
  EXPECT_THROW(GetStrProp(p, "NoSuch"), EPropertyError);
  EXPECT_EQ(GetPropText(p, "Color"), "clWindow");
  SetOrdProp(p, "Color", 0x123456);
  EXPECT_EQ(GetPropText(p, "Color"), "1193046");

  int clicks = 0;
  SetMethodProp<TObject*>(p, "OnClick", "Probe1Click", [&](TObject*) { ++clicks; });
  p.OnClick(&p);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetMethodProp(p, "OnClick"), "Probe1Click");

  TProbe other(nullptr);
  SetObjectProp(p, "Buddy", &other);
  EXPECT_EQ(p.Buddy(), &other);
  TForm wrong(nullptr);
  EXPECT_THROW(SetObjectProp(p, "Buddy", &wrong), EPropertyError);
}

// ---- reading -----------------------------------------------------------------------------------

const char* kForm = R"(object Form1: TForm1
  Left = 10
  Top = 20
  Caption = 'Main'
  ClientHeight = 200
  ClientWidth = 300
  Font.Charset = RUSSIAN_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  OldCreateOrder = False
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object P1: TProbe
    Left = 1
    Top = 2
    Width = 3
    Height = 4
    Caption = 'First'
    Value = 5
    Mood = mdHappy
    Buddy = P2
    Items.Strings = (
      'one'
      'two')
    OnClick = P1Click
  end
  object P2: TProbe
    Left = 0
    Top = 0
    Width = 0
    Height = 0
    Caption = 'Second'
    Buddy = P1
  end
  object Timer1: TTickSource
    Interval = 500
    OnTimer = Timer1Timer
    Left = 8
    Top = 16
  end
end
)";

TEST_F(Streaming, SettersRunInFileOrderWhileLoadingThenLoadedOnce) {
  auto root = Load(kForm);
  auto* form = dynamic_cast<TForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->ClassName(), "TForm1");
  EXPECT_EQ(&form->ClassType(), &TForm::StaticClass());
  std::vector<std::string> expected{
      "Caption P1 loading", "Value P1 loading", "Mood P1 loading",
      "Caption P2 loading",
      // references are resolved once every object exists
      "Buddy P1 loading", "Buddy P2 loading",
      "Loaded P1", "Loaded P2"};
  EXPECT_EQ(gLog, expected);
  auto* p1 = dynamic_cast<TProbe*>(form->FindComponent("p1"));
  auto* p2 = dynamic_cast<TProbe*>(form->FindComponent("P2"));
  ASSERT_TRUE(p1 && p2);
  EXPECT_EQ(p1->Buddy(), p2);
  EXPECT_EQ(p2->Buddy(), p1);
  EXPECT_EQ(p1->Parent(), form);
  EXPECT_EQ(p1->Items()->CommaText(), "one,two");
  EXPECT_EQ(p1->OnClick.HandlerName, "P1Click");
  EXPECT_EQ(form->Font()->Charset(), RUSSIAN_CHARSET);
  EXPECT_TRUE(form->Font()->Style().Contains(fsBold));
  EXPECT_EQ(form->OnCreate.HandlerName, "FormCreate");
  EXPECT_EQ(form->TextHeight(), 13);
  EXPECT_FALSE(p1->InState(csLoading));
  // The unregistered component keeps its class name and its design position.
  TComponent* timer = form->FindComponent("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->ClassName(), "TTickSource");
  EXPECT_EQ(timer->DesignLeft(), 8);
  EXPECT_EQ(timer->DesignTop(), 16);
  EXPECT_EQ(GetPropInfo(*timer, "Interval"), nullptr);
  ASSERT_NE(FindRawProperty(*timer, "interval"), nullptr);
  EXPECT_EQ(FindRawProperty(*timer, "Interval")->integer, 500);
  EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root)), "");
}

TEST_F(Streaming, UnknownPropertiesAndValuesOfAnotherTypeAreKeptInPlace) {
  std::vector<std::string> warnings;
  auto root = Load(R"(object Form1: TForm
  object P1: TProbe
    Left = 1
    ExplicitLeft = 1
    Caption = 'x'
    Value = SomeIdent
    Mood = mdNoSuchMood
    Font.Name = 'Arial'
    Font.Quirk = 3
    Font.Height = -12
    Items.Strings = (
      'a')
    Items.Extra = {00FF}
    Buddy = Missing
    Touch.GestureManager = GM1
  end
  object Thing: TThirdParty
    Width = 5
    Special.Deep.Value = 1.5
    object Inner: TProbe
      Caption = 'in'
    end
  end
end
)", &warnings);
  auto* p1 = dynamic_cast<TProbe*>(root->FindComponent("P1"));
  ASSERT_NE(p1, nullptr);
  EXPECT_EQ(p1->Value(), 0);
  EXPECT_EQ(p1->Font()->Name(), "Arial");
  EXPECT_EQ(p1->Buddy(), nullptr);
  ASSERT_NE(FindRawProperty(*p1, "Buddy"), nullptr);  // unresolved: kept by name
  auto* thing = root->FindComponent("Thing");
  ASSERT_NE(thing, nullptr);
  EXPECT_EQ(thing->ClassName(), "TThirdParty");
  auto* inner = dynamic_cast<TProbe*>(root->FindComponent("Inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), thing);  // an unknown control with children parents them
  EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root)), "");

  // Setting a reference that was kept by name replaces it.
  p1->SetBuddy(inner);
  auto out = WriteComponentTree(*root);
  const formfile::Property* buddy = out.children[0].find("Buddy");
  ASSERT_NE(buddy, nullptr);
  EXPECT_EQ(buddy->value.bytes, "Inner");
}

TEST_F(Streaming, UnicodeOriginalsSurviveWhileTheTextIsUnchanged) {
  // Russian in a Unicode file; the components hold cp1251 bytes.
  formfile::Object tree = test::Tree(R"(object Form1: TForm
  object P1: TProbe
    Caption = #1055#1088#1080#1074#1077#1090
    Hint = #8212
    Items.Strings = (
      #1044#1072
      'plain')
  end
end
)");
  ReadOptions options;
  options.codePage = 1251;
  auto root = ReadComponentTree(tree, options);
  auto* p1 = dynamic_cast<TProbe*>(root->FindComponent("P1"));
  ASSERT_NE(p1, nullptr);
  EXPECT_EQ(p1->Caption(), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(p1->Items()->Strings(0), "\xC4\xE0");
  WriteOptions wo;
  wo.codePage = 1251;
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*root, wo)), "");

  // A changed non-ASCII text stays Unicode; an ASCII one becomes an 8-bit string; untouched list
  // items keep their originals.
  p1->SetCaption("\xC4\xE0");
  p1->SetHint("dash");
  p1->Items()->Put(1, "changed");
  auto out = WriteComponentTree(*root, wo);
  const formfile::Object& o = out.children[0];
  EXPECT_EQ(o.find("Caption")->value.unicodeText(), u"\u0414\u0430");
  EXPECT_TRUE(o.find("Caption")->value.isWideString());
  EXPECT_EQ(o.find("Hint")->value.type, ValueType::String);
  const Value& items = o.find("Items.Strings")->value;
  EXPECT_TRUE(items.list[0].isWideString());
  EXPECT_EQ(items.list[1].bytes, "changed");
}

TEST_F(Streaming, ChangedAndNewValuesAreWrittenWhereTheyBelong) {
  auto root = Load(R"(object Form1: TForm
  Caption = 'F'
  object P1: TProbe
    Left = 1
    Caption = 'x'
    Value = 5
    Items.Strings = (
      'a')
  end
end
)");
  auto* p1 = dynamic_cast<TProbe*>(root->FindComponent("P1"));
  p1->SetMood(mdGrumpy);     // new: after Value in declaration order
  p1->SetAlign(alTop);       // new: before Caption
  p1->SetValue(0);           // back at its default, but the file had it
  p1->Items()->Clear();
  auto out = WriteComponentTree(*root);
  std::vector<std::string> names;
  for (const auto& p : out.children[0].properties) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Left", "Align", "Caption", "Value", "Mood", "Items.Strings"}));
  EXPECT_EQ(out.children[0].find("Mood")->value.bytes, "mdGrumpy");
  EXPECT_EQ(out.children[0].find("Value")->value.integer, 0);
  // The form itself gained nothing (a partial object stays partial).
  EXPECT_EQ(out.properties.size(), 1u);
}

TEST_F(Streaming, ComponentsMadeInCodeWriteNonDefaultsInDeclarationOrder) {
  TForm form(nullptr);
  form.SetName("Form2");
  auto* p = new TProbe(&form);
  p->SetName("Probe1");
  p->SetParent(&form);
  p->SetBounds(1, 2, 30, 40);
  p->SetValue(9);
  p->SetCaption("Go");
  p->Items()->Add("x");
  p->OnClick.HandlerName = "Probe1Click";
  auto* e = static_cast<TProbeItem*>(p->Entries()->Add());
  e->Text = "entry";
  auto* nonVisual = new TUnknownComponent(&form);
  nonVisual->SetName("Helper");
  nonVisual->SetDesignPosition(24, 0);
  auto out = WriteComponentTree(form);
  ASSERT_EQ(out.children.size(), 2u);
  std::vector<std::string> names;
  for (const auto& prop : out.children[0].properties) names.push_back(prop.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Left", "Top", "Width", "Height", "Caption", "Value",
                                             "Items.Strings", "Entries", "OnClick"}));
  EXPECT_EQ(out.children[0].find("Entries")->value.items.size(), 1u);
  ASSERT_EQ(out.children[1].properties.size(), 1u);
  EXPECT_EQ(out.children[1].properties[0].name, "Left");
  EXPECT_EQ(out.children[1].className, "TUnknownComponent");

  // ... and read back into the same values.
  auto back = ReadComponentTree(out);
  auto* q = dynamic_cast<TProbe*>(back->FindComponent("Probe1"));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->Value(), 9);
  EXPECT_EQ(q->Entries()->ItemAs<TProbeItem>(0)->Text, "entry");
  EXPECT_EQ(back->FindComponent("Helper")->DesignLeft(), 24);
}

TEST_F(Streaming, CollectionsKeepItemsAndIndexes) {
  ExpectRoundTrip(R"(object Form1: TForm
  object P1: TProbe
    Entries = <
      item
        Text = 'a'
        Num = 2
        Odd = True
      end
      item
      end>
  end
end
)");
  auto root = Load(R"(object Form1: TForm
  object P1: TProbe
    Entries = <
      item
        Text = 'a'
      end
      item
        Num = 3
      end>
  end
end
)");
  auto* p1 = dynamic_cast<TProbe*>(root->FindComponent("P1"));
  ASSERT_EQ(p1->Entries()->Count(), 2);
  EXPECT_EQ(p1->Entries()->ItemAs<TProbeItem>(1)->Num, 3);
}

TEST_F(Streaming, FramesOwnTheirChildrenAndInheritedFormsStayPartial) {
  ExpectRoundTrip(R"(inherited Form2: TForm2
  Caption = 'Derived'
  inherited Button1: TProbe
    Caption = 'Changed'
  end
  inline Frame1: TFrame1
    Left = 8
    TabOrder = 0
    inherited P1: TProbe
      Buddy = P2
    end
    object P2: TProbe
    end
  end
  object P1: TProbe
  end
end
)");
  auto root = Load(R"(object Form2: TForm
  inline Frame1: TMyFrame
    object P1: TProbe
      Buddy = P1
    end
  end
  object P1: TProbe
    Buddy = Frame1.P1
  end
end
)");
  TComponent* frame = root->FindComponent("Frame1");
  ASSERT_NE(dynamic_cast<TFrame*>(frame), nullptr);
  EXPECT_EQ(frame->ClassName(), "TMyFrame");
  auto* inner = dynamic_cast<TProbe*>(frame->FindComponent("P1"));
  auto* outer = dynamic_cast<TProbe*>(root->FindComponent("P1"));
  ASSERT_TRUE(inner && outer && inner != outer);
  EXPECT_EQ(inner->Buddy(), inner);  // resolved in the frame first
  EXPECT_EQ(outer->Buddy(), inner);
  EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root)), "");
}

TEST_F(Streaming, QualifiedReferencesInsideFramesKeepTheirText) {
  const char* text = R"(object Form2: TForm
  inline Frame1: TMyFrame
    object P1: TProbe
      Buddy = Frame1.P2
    end
    object P2: TProbe
      Buddy = frame1.p1
    end
  end
end
)";
  auto root = Load(text);
  TComponent* frame = root->FindComponent("Frame1");
  auto* p1 = dynamic_cast<TProbe*>(frame->FindComponent("P1"));
  auto* p2 = dynamic_cast<TProbe*>(frame->FindComponent("P2"));
  ASSERT_TRUE(p1 && p2);
  EXPECT_EQ(p1->Buddy(), p2);
  EXPECT_EQ(test::ExactDiff(tree_, WriteComponentTree(*root)), "");
  // Pointing elsewhere writes the new name.
  p1->SetBuddy(p1);
  formfile::Object out = WriteComponentTree(*root);
  const formfile::Property* buddy = out.children.at(0).children.at(0).find("Buddy");
  ASSERT_NE(buddy, nullptr);
  EXPECT_EQ(buddy->value.bytes, "P1");
}

TEST_F(Streaming, RootsOfUnknownClassesBecomeFormsFramesOrDataModules) {
  auto form = Load("object F: TFoo\n  Caption = 'x'\nend\n");
  EXPECT_NE(dynamic_cast<TForm*>(form.get()), nullptr);
  auto frame = Load("object F: TFooFrame\n  Left = 0\nend\n");
  EXPECT_NE(dynamic_cast<TFrame*>(frame.get()), nullptr);
  auto dm = Load("object D: TMyData\n  OldCreateOrder = False\n  object Q: TQuery\n    Left = 8\n  end\nend\n");
  EXPECT_NE(dynamic_cast<TDataModule*>(dm.get()), nullptr);
  EXPECT_EQ(dm->ClassName(), "TMyData");
  EXPECT_EQ(dm->FindComponent("Q")->DesignLeft(), 8);
}

TEST_F(Streaming, BadTreesGiveErrorsNamingFileAndObject) {
  try {
    Load("object Form1: TForm\n  object A: TProbe\n  end\n  object a: TProbe\n  end\nend\n");
    FAIL() << "duplicate names accepted";
  } catch (const EReadError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("test.dfm"), std::string::npos) << what;
    EXPECT_NE(what.find("Form1.a"), std::string::npos) << what;
  }
  std::vector<std::string> warnings;
  auto root = Load("object Form1: TForm\n  object A: TProbe\n    Buddy = Form1\n  end\nend\n", &warnings);
  // A reference to a component of the wrong class stays as read.
  EXPECT_NE(FindRawProperty(*root->FindComponent("A"), "Buddy"), nullptr);
  EXPECT_EQ(warnings.size(), 1u);
}

}  // namespace
}  // namespace vorlect::host
