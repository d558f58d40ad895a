// Components, string lists, collections, fonts.
#include "host/framework/Classes.h"
#include "host/framework/Controls.h"
#include "host/framework/Graphics.h"
#include "host/framework/TypInfo.h"

#include <gtest/gtest.h>

namespace vorlect::host {
namespace {

TEST(Component, OwnerFreesChildrenAndChildLeavesOwner) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* a = new TComponent(form.get());
  auto* b = new TComponent(form.get());
  auto* c = new TComponent(b);  // owned by b
  a->SetName("A");
  b->SetName("B");
  c->SetName("C");
  ASSERT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->Components(0), a);
  EXPECT_EQ(form->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  delete a;  // leaves its owner
  ASSERT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->FindComponent("A"), nullptr);
  EXPECT_EQ(form->Components(0), b);
  EXPECT_THROW(form->Components(1), EListError);
  form.reset();  // frees b and, through b, c (ASan would see a leak or double free)
}

TEST(Component, NamesAreIdentifiersUniqueAmongTheOwnersComponents) {
  TForm form(nullptr);
  form.SetName("Form1");
  auto* b = new TComponent(&form);
  b->SetName("Button1");
  EXPECT_EQ(form.FindComponent("BUTTON1"), b);
  EXPECT_EQ(form.FindComponent("Form1"), nullptr);  // never the owner itself
  EXPECT_EQ(form.FindComponent(""), nullptr);
  auto* c = new TComponent(&form);
  EXPECT_THROW(c->SetName("button1"), EComponentError);
  EXPECT_THROW(c->SetName("1abc"), EComponentError);
  EXPECT_THROW(c->SetName("a b"), EComponentError);
  EXPECT_EQ(c->Name(), "");
  c->SetName("_x1");
  b->SetName("Other");  // the old name is free again
  EXPECT_EQ(form.FindComponent("Button1"), nullptr);
  c->SetName("Button1");
  EXPECT_EQ(form.FindComponent("button1"), c);
  // Another owner's names do not clash.
  auto* d = new TComponent(c);
  d->SetName("Other");
  // Moving a component into an owner that has its name is refused.
  EXPECT_THROW(form.InsertComponent(d), EComponentError);
  EXPECT_EQ(d->Owner(), c);
}

TEST(Component, DesigningIsInheritedByOwnedComponents) {
  TForm form(nullptr);
  auto* before = new TComponent(&form);
  form.SetDesigning(true);
  auto* after = new TComponent(&form);
  EXPECT_TRUE(before->InState(csDesigning));
  EXPECT_TRUE(after->InState(csDesigning));
  auto* grandChild = new TComponent(after);
  EXPECT_TRUE(grandChild->InState(csDesigning));
}

TEST(Component, ReferencesAreClearedWhenTheTargetGoesAway) {
  TForm form(nullptr);
  auto* control = new TControl(&form);
  auto* action = new TBasicAction(&form);
  auto* menu = new TComponent(&form);
  control->SetAction(action);
  control->SetPopupMenu(menu);
  form.SetMenu(menu);
  EXPECT_EQ(action->ClientCount(), 1);
  delete action;
  EXPECT_EQ(control->Action(), nullptr);
  delete menu;
  EXPECT_EQ(control->PopupMenu(), nullptr);
  EXPECT_EQ(form.Menu(), nullptr);
}

TEST(Component, ControlsFollowTheirParent) {
  TForm form(nullptr);
  auto* panel = new TWinControl(&form);
  auto* button = new TControl(&form);
  panel->SetParent(&form);
  button->SetParent(panel);
  EXPECT_EQ(panel->ControlCount(), 1);
  EXPECT_EQ(button->GetParentComponent(), panel);
  EXPECT_THROW(panel->SetParent(panel), EComponentError);
  button->SetParent(&form);
  EXPECT_EQ(panel->ControlCount(), 0);
  EXPECT_EQ(form.ControlCount(), 2);
  button->SetParent(panel);
  delete panel;  // the button stays (its owner is the form), without a parent
  EXPECT_EQ(button->Parent(), nullptr);
  EXPECT_EQ(form.ControlCount(), 0);
}

// ---- string lists ------------------------------------------------------------------------------

std::vector<std::string> Items(const TStrings& s) {
  std::vector<std::string> r;
  for (int i = 0; i < s.Count(); ++i) r.push_back(s.Strings(i));
  return r;
}

TEST(Strings, CommaTextSplitsAtCommasAndBlanksOutsideQuotes) {
  TStringList s;
  struct Case {
    const char* text;
    std::vector<std::string> items;
  } cases[] = {
      {"a,b c", {"a", "b", "c"}},
      {"  a , b  ", {"a", "b"}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {",a", {"", "a"}},
      {"\"ab\"cd", {"ab", "cd"}},
      {"\"open", {"open"}},
      {"", {}},
      {"\"\"", {""}},
      {"a\tb\x01" "c", {"a", "b", "c"}},
      {"\xE9t\xE9,x", {"\xE9t\xE9", "x"}},  // bytes above 127 are not blanks
  };
  for (const auto& c : cases) {
    s.SetCommaText(c.text);
    EXPECT_EQ(Items(s), c.items) << c.text;
  }
}

TEST(Strings, CommaTextQuotesWhatWouldNotSurvive) {
  TStringList s;
  s.SetText("plain\r\nwith space\r\nco,mma\r\nq\"uote\r\n\xE9t\xE9");
  EXPECT_EQ(s.CommaText(), "plain,\"with space\",\"co,mma\",\"q\"\"uote\",\xE9t\xE9");
  s.Clear();
  s.Add("");
  EXPECT_EQ(s.CommaText(), "\"\"");  // a lone empty item
  s.Add("x");
  EXPECT_EQ(s.CommaText(), ",x");    // empty among others stays bare, as in the original
  TStringList back;
  back.SetCommaText(s.CommaText());
  EXPECT_EQ(Items(back), Items(s));
}

TEST(Strings, DelimitedTextWithOtherDelimiters) {
  TStringList s;
  s.Delimiter = ';';
  s.QuoteChar = '\'';
  s.StrictDelimiter = true;
  s.SetDelimitedText("a b;'c;d';e");
  EXPECT_EQ(Items(s), (std::vector<std::string>{"a b", "c;d", "e"}));
  EXPECT_EQ(s.DelimitedText(), "a b;'c;d';e");
  EXPECT_EQ(s.Delimiter, ';');  // CommaText leaves these alone
  s.CommaText();
  EXPECT_EQ(s.Delimiter, ';');
}

TEST(Strings, TextSplitsAtAnyLineEnd) {
  TStringList s;
  s.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(Items(s), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(s.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  s.TrailingLineBreak = false;
  EXPECT_EQ(s.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  s.SetText("x\r\n");
  EXPECT_EQ(s.Count(), 1);
  s.SetText("");
  EXPECT_EQ(s.Count(), 0);
}

TEST(Strings, SortedListsFindIgnoreCaseAndHandleDuplicates) {
  TStringList s;
  int changes = 0;
  s.OnChange = [&](TObject*) { ++changes; };
  s.Add("pear");
  s.Add("Apple");
  s.Add("fig");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(s.IndexOf("APPLE"), 1);
  s.SetSorted(true);
  EXPECT_EQ(Items(s), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(s.Add("FIG"), 1);  // dupIgnore
  EXPECT_EQ(s.Count(), 3);
  s.Duplicates = dupError;
  EXPECT_THROW(s.Add("fig"), EStringListError);
  EXPECT_THROW(s.Insert(0, "x"), EStringListError);
  s.Duplicates = dupAccept;
  s.Add("banana");
  EXPECT_EQ(s.IndexOf("Banana"), 1);
  changes = 0;
  s.BeginUpdate();
  s.Add("kiwi");
  s.Delete(0);
  s.EndUpdate();
  EXPECT_EQ(changes, 1);  // one notice for the whole update
  EXPECT_THROW(s.Strings(10), EStringListError);
}

TEST(Strings, NamesAndValues) {
  TStringList s;
  s.SetValue("Width", "10");
  s.SetValue("Caption", "a=b");
  EXPECT_EQ(s.Values("caption"), "a=b");
  EXPECT_EQ(s.Names(1), "Caption");
  s.SetValue("Width", "");
  EXPECT_EQ(s.Count(), 1);
}

// ---- collections -------------------------------------------------------------------------------

class TEntry : public TCollectionItem {
  VORLECT_CLASS(TEntry, TCollectionItem)
public:
  explicit TEntry(TCollection* c) : TCollectionItem(c) {}
  std::string Text;
  int Num = 0;
};

const ClassInfo& TEntry::StaticClass() {
  static const ClassInfo info = ClassBuilder<TEntry>("TEntry")
                                    .String("Text", &TEntry::Text, &TEntry::Text)
                                    .Integer("Num", &TEntry::Num, &TEntry::Num).Default(0)
                                    .Build();
  return info;
}

TEST(Collection, ItemsKnowTheirIndexAndCopyByAssign) {
  TCollection c(TEntry::StaticClass());
  int updates = 0;
  c.OnUpdate = [&](TCollectionItem*) { ++updates; };
  auto* a = c.ItemAs<TEntry>(c.Add()->Index());
  a->Text = "a";
  auto* b = static_cast<TEntry*>(c.Add());
  b->Text = "b";
  auto* first = static_cast<TEntry*>(c.Insert(0));
  first->Text = "first";
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(first->Index(), 0);
  EXPECT_EQ(b->Index(), 2);
  b->SetIndex(0);
  EXPECT_EQ(c.Items(0), b);
  EXPECT_EQ(c.FindItemID(a->ID()), a);
  EXPECT_GT(updates, 0);
  c.Delete(0);
  EXPECT_EQ(c.Count(), 2);
  delete a;  // an item leaves its collection
  EXPECT_EQ(c.Count(), 1);

  TCollection copy(TEntry::StaticClass());
  first->Num = 7;
  copy.Assign(c);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.ItemAs<TEntry>(0)->Text, "first");
  EXPECT_EQ(copy.ItemAs<TEntry>(0)->Num, 7);
  EXPECT_EQ(copy.Items(0)->DisplayName(), "TEntry");
}

// ---- fonts and colours -------------------------------------------------------------------------

TEST(Font, SizeFollowsHeightAndIdentifiersMapBothWays) {
  TFont f;
  f.SetHeight(-11);
  EXPECT_EQ(f.Size(), 8);
  f.SetHeight(-13);
  EXPECT_EQ(f.Size(), 10);  // 9.75 rounds up
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.PixelsPerInch = 120;
  EXPECT_EQ(f.Size(), 10);  // 16 * 72 / 120 = 9.6
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetStyle(TFontStyles{fsBold, fsItalic});
  f.SetStyle(TFontStyles{fsBold, fsItalic});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetSetProp(f, "Style", true), "[fsBold,fsItalic]");
  SetStrProp(f, "Name", "Arial");
  TFont g;
  g.Assign(f);
  EXPECT_EQ(g.Name(), "Arial");
  EXPECT_EQ(g.Height(), -13);  // -16 at 120 dpi is -13 at 96

  TColor color;
  EXPECT_TRUE(IdentToColor("CLBTNFACE", color));
  EXPECT_EQ(color, clBtnFace);
  EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToString(clSilver), "clSilver");  // not its alias clLtGray
  EXPECT_EQ(ColorToString(0x00A0B0C0), "$00A0B0C0");
  EXPECT_EQ(StringToColor("$00A0B0C0"), 0x00A0B0C0);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_THROW(StringToColor("clNoSuch"), EConvertError);
  int cs;
  EXPECT_TRUE(IdentToCharset("russian_charset", cs));
  EXPECT_EQ(cs, 204);
  std::string ident;
  EXPECT_TRUE(CharsetToIdent(238, ident));
  EXPECT_EQ(ident, "EASTEUROPE_CHARSET");
  EXPECT_FALSE(CharsetToIdent(5, ident));
}

}  // namespace
}  // namespace vorlect::host
