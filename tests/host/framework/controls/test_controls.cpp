// The stock classes' declarations and behaviour.
#include "FrameworkTestUtil.h"

#include "host/framework/Streaming.h"
#include "host/framework/controls/StockControls.h"

#include <gtest/gtest.h>

namespace vorlect::host {
namespace {

std::vector<std::string> StoredNames(const TComponent& c) {
  std::vector<std::string> names;
  formfile::Object o = WriteComponentTree(c);
  for (const auto& p : o.properties) names.push_back(p.name);
  return names;
}

int Index(const ClassInfo& cls, std::string_view name) {
  auto props = cls.Properties();
  for (std::size_t i = 0; i < props.size(); ++i)
    if (SameText(props[i]->name, name)) return static_cast<int>(i);
  return -1;
}

TEST(StockControls, DeclarationOrderFollowsTheOriginal) {
  const ClassInfo& button = TButton::StaticClass();
  for (auto [a, b] : std::initializer_list<std::pair<const char*, const char*>>{
           {"Tag", "Left"}, {"Height", "Hint"}, {"Action", "Caption"}, {"Cancel", "Caption"},
           {"Caption", "Default"}, {"ModalResult", "TabOrder"}, {"TabOrder", "OnClick"}})
    EXPECT_LT(Index(button, a), Index(button, b)) << a << " before " << b;
  // The original publishes combo and tree items after the events.
  EXPECT_GT(Index(TComboBox::StaticClass(), "Items"), Index(TComboBox::StaticClass(), "OnSelect"));
  EXPECT_GT(Index(TTreeView::StaticClass(), "Items"), Index(TTreeView::StaticClass(), "OnGetSelectedIndex"));
  EXPECT_LT(Index(TListView::StaticClass(), "Columns"), Index(TListView::StaticClass(), "Items"));
}

TEST(StockControls, DefaultsAreNotStored) {
  TButton button(nullptr);
  button.SetName("B");
  EXPECT_EQ(StoredNames(button), (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
  button.Cancel = true;
  button.SetTabStop(false);
  button.SetCaption("Go");
  EXPECT_EQ(StoredNames(button),
            (std::vector<std::string>{"Left", "Top", "Width", "Height", "Cancel", "Caption", "TabStop"}));
  TEdit edit(nullptr);
  edit.SetReadOnly(true);
  EXPECT_EQ(GetPropText(edit, "ReadOnly"), "True");
  EXPECT_EQ(GetPropText(edit, "Margins"), "(TMargins)");
  TMemo memo(nullptr);
  memo.Lines()->Add("x");
  auto names = StoredNames(memo);
  EXPECT_NE(std::find(names.begin(), names.end(), "Lines.Strings"), names.end());
}

TEST(StockControls, TranslatablePropertiesArePublishedAndTyped) {
  struct Expect {
    const ClassInfo& cls;
    const char* prop;
    TypeKind kind;
  };
  for (const Expect& e : std::initializer_list<Expect>{
           {TLabel::StaticClass(), "Caption", TypeKind::String},
           {TEdit::StaticClass(), "Text", TypeKind::String},
           {TEdit::StaticClass(), "ReadOnly", TypeKind::Boolean},
           {TMemo::StaticClass(), "Lines", TypeKind::StringList},
           {TListBox::StaticClass(), "ItemIndex", TypeKind::Integer},
           {TComboBox::StaticClass(), "ItemIndex", TypeKind::Integer},
           {TComboBox::StaticClass(), "Items", TypeKind::StringList},
           {TButton::StaticClass(), "Action", TypeKind::Class},
           {TTabControl::StaticClass(), "Tabs", TypeKind::StringList},
           {TStatusBar::StaticClass(), "Panels", TypeKind::Collection},
           {TStatusBar::StaticClass(), "SimpleText", TypeKind::String},
           {THeaderControl::StaticClass(), "Sections", TypeKind::Collection},
           {TListView::StaticClass(), "Columns", TypeKind::Collection},
           {TListView::StaticClass(), "SortType", TypeKind::Enumeration},
           {TTreeView::StaticClass(), "SortType", TypeKind::Enumeration},
           {TPageControl::StaticClass(), "ActivePage", TypeKind::Class},
           {TTabSheet::StaticClass(), "TabVisible", TypeKind::Boolean},
           {TMenuItem::StaticClass(), "Caption", TypeKind::String},
           {TMenuItem::StaticClass(), "ShortCut", TypeKind::Integer},
           {TOpenDialog::StaticClass(), "Filter", TypeKind::String},
           {TSaveDialog::StaticClass(), "Title", TypeKind::String},
           {TOpenDialog::StaticClass(), "Options", TypeKind::Set}}) {
    const PropInfo* p = e.cls.FindProperty(e.prop);
    ASSERT_NE(p, nullptr) << e.cls.Name() << "." << e.prop;
    EXPECT_EQ(p->kind, e.kind) << e.cls.Name() << "." << e.prop;
  }
  // Dialogs are non-visual: their position is the component's design position.
  EXPECT_EQ(TOpenDialog::StaticClass().FindProperty("Left"), nullptr);
  EXPECT_EQ(TMainMenu::StaticClass().FindProperty("Top"), nullptr);
}

TEST(StockControls, SortTypeCanBeSwitchedOffAndRestored) {
  TListView view(nullptr);
  SetEnumProp(view, "SortType", "stText");
  EXPECT_EQ(view.SortType, stText);
  auto saved = GetOrdProp(view, "SortType");
  SetEnumProp(view, "SortType", "stNone");
  EXPECT_EQ(GetEnumProp(view, "SortType"), "stNone");
  SetOrdProp(view, "SortType", saved);
  EXPECT_EQ(GetEnumProp(view, "SortType"), "stText");
}

const char* kForm = R"(object F: TForm
  Caption = 'Form'
  Menu = MainMenu1
  object Combo: TComboBox
    Left = 1
    Top = 2
    Width = 100
    Height = 21
    ItemIndex = 1
    TabOrder = 0
    Text = 'b'
    Items.Strings = (
      'a'
      'b')
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 100
    Width = 200
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 80
      end
      item
        Bevel = pbNone
        Text = 'Two'
        Width = 50
      end>
  end
  object Pages: TPageControl
    Left = 0
    Top = 0
    Width = 200
    Height = 100
    ActivePage = Sheet2
    TabOrder = 1
    object Sheet1: TTabSheet
      Caption = 'First'
    end
    object Sheet2: TTabSheet
      Caption = 'Second'
      ImageIndex = 1
    end
  end
  object MainMenu1: TMainMenu
    Left = 8
    Top = 16
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
      end
      object N1: TMenuItem
        Caption = '-'
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      Hint = 'Get help'
    end
  end
  object OpenDialog1: TOpenDialog
    DefaultExt = 'txt'
    Filter = 'Text files|*.txt'
    Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]
    Title = 'Open a file'
    Left = 40
    Top = 16
  end
end
)";

TEST(StockControls, FormLoadsIntoTypedControlsAndWritesBackUnchanged) {
  formfile::Object tree = test::Tree(kForm);
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");

  // ItemIndex came before the items in the file.
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent("Combo"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Items()->Count(), 2);
  combo->SetItemIndex(5);  // outside the items once loaded
  EXPECT_EQ(combo->ItemIndex(), -1);

  auto* bar = dynamic_cast<TStatusBar*>(form->FindComponent("StatusBar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_EQ(bar->Panels()->Items(0)->Text, "Ready");
  EXPECT_EQ(bar->Panels()->Items(1)->Bevel, pbNone);

  auto* pages = dynamic_cast<TPageControl*>(form->FindComponent("Pages"));
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), form->FindComponent("Sheet2"));
  EXPECT_EQ(pages->Pages(1)->PageIndex(), 1);
  pages->Pages(1)->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0)->Caption(), "Second");

  auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent("MainMenu1"));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->Items()->Count(), 2);
  TMenuItem* file = menu->Items()->Items(0);
  ASSERT_EQ(file->Count(), 2);
  EXPECT_EQ(file->Items(0)->Caption(), "&Open...");
  EXPECT_EQ(file->Items(0)->ShortCut, 16463);
  EXPECT_EQ(file->Items(1)->Parent(), file);
  EXPECT_EQ(file->Items(1)->MenuIndex(), 1);
  EXPECT_EQ(file->Items(0)->GetParentMenu(), menu);
  EXPECT_EQ(menu->Items()->Items(1)->Hint(), "Get help");
  EXPECT_EQ(menu->DesignLeft(), 8);

  auto* dialog = dynamic_cast<TOpenDialog*>(form->FindComponent("OpenDialog1"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Title, "Open a file");
  EXPECT_TRUE(dialog->Options.Contains(ofFileMustExist));
  EXPECT_EQ(dialog->DesignLeft(), 40);
  EXPECT_EQ(dialog->DesignTop(), 16);

  // A translated menu tree writes its new texts in place.
  file->Items(0)->SetCaption("&Ouvrir...");
  delete menu->Items()->Items(1);
  formfile::Object out = WriteComponentTree(*form);
  const formfile::Object* m = nullptr;
  for (const auto& c : out.children)
    if (c.name == "MainMenu1") m = &c;
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->children.size(), 1u);
  EXPECT_EQ(m->children[0].children[0].find("Caption")->value.bytes, "&Ouvrir...");
}

TEST(StockControls, MenuItemsOutliveTheirMenu) {
  formfile::Object tree = test::Tree(R"(object F: TForm
  object Menu: TPopupMenu
    object Item: TMenuItem
      Caption = 'Own'
    end
  end
end
)");
  auto form = ReadComponentTree(tree);
  auto* item = dynamic_cast<TMenuItem*>(form->FindComponent("Item"));
  ASSERT_NE(item, nullptr);
  delete form->FindComponent("Menu");  // the item leaves the tree, stays with its owner
  EXPECT_EQ(item->Parent(), nullptr);
  EXPECT_EQ(form->FindComponent("Item"), item);
}

}  // namespace
}  // namespace vorlect::host
