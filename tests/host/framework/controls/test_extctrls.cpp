// Panels, notebooks, grids, data-aware controls, fields and actions.
#include "FrameworkTestUtil.h"

#include "host/framework/Streaming.h"
#include "host/framework/controls/StockControls.h"

#include <gtest/gtest.h>

namespace vorlect::host {
namespace {

int Index(const ClassInfo& cls, std::string_view name) {
  auto props = cls.Properties();
  for (std::size_t i = 0; i < props.size(); ++i)
    if (SameText(props[i]->name, name)) return static_cast<int>(i);
  return -1;
}

const formfile::Object* Child(const formfile::Object& o, std::string_view name) {
  for (const auto& c : o.children)
    if (c.name == name) return &c;
  return nullptr;
}

std::vector<std::string> StoredNames(const TComponent& c) {
  std::vector<std::string> names;
  for (const auto& p : WriteComponentTree(c).properties) names.push_back(p.name);
  return names;
}

TEST(ControlBase, MarginsHintAndBevelsSitWhereTheOriginalDeclaresThem) {
  const ClassInfo& panel = TPanel::StaticClass();
  EXPECT_LT(Index(panel, "AlignWithMargins"), Index(panel, "Left"));
  EXPECT_LT(Index(panel, "HelpContext"), Index(panel, "Margins"));
  EXPECT_LT(Index(panel, "Margins"), Index(panel, "CustomHint"));
  EXPECT_LT(Index(panel, "CustomHint"), Index(panel, "ParentCustomHint"));
  EXPECT_LT(Index(panel, "ParentCustomHint"), Index(panel, "Align"));
  EXPECT_LT(Index(panel, "BevelKind"), Index(panel, "BevelOuter"));
  EXPECT_LT(Index(panel, "Font"), Index(panel, "Padding"));
  // TWinControl keeps bevels and padding for descendants to publish; unknown controls do not.
  EXPECT_EQ(Index(TUnknownControl::StaticClass(), "BevelOuter"), -1);
  EXPECT_EQ(Index(TUnknownControl::StaticClass(), "Padding"), -1);
  EXPECT_NE(Index(TUnknownControl::StaticClass(), "Margins"), -1);

  TPanel p(nullptr);
  p.SetName("P");
  EXPECT_EQ(p.BevelOuter(), bvRaised);  // the panel's default, not stored
  p.Margins()->SetLeft(0);
  p.Padding()->SetTop(4);
  p.SetAlignWithMargins(true);
  EXPECT_EQ(StoredNames(p), (std::vector<std::string>{"AlignWithMargins", "Left", "Top", "Width", "Height",
                                                      "Margins.Left", "Padding.Top"}));
}

TEST(ControlBase, CustomHintIsAReferenceClearedWhenItGoes) {
  TForm form(nullptr);
  auto* hint = new TTimer(&form);  // any component stands in while TCustomHint is unknown
  auto* panel = new TPanel(&form);
  SetObjectProp(*panel, "CustomHint", hint);
  EXPECT_EQ(panel->CustomHint(), hint);
  delete hint;
  EXPECT_EQ(panel->CustomHint(), nullptr);
}

const char* kNotebookForm = R"(object F: TForm
  object Book: TNotebook
    Left = 0
    Top = 0
    Width = 200
    Height = 100
    PageIndex = 1
    TabOrder = 0
    object TPage
      Left = 0
      Top = 0
      Caption = 'General'
      object Edit1: TEdit
        Left = 8
        Top = 8
        Width = 121
        Height = 21
        TabOrder = 0
      end
    end
    object TPage
      Left = 0
      Top = 0
      Caption = 'Advanced'
    end
  end
  object Label1: TLabel
    Left = 8
    Top = 120
    Width = 30
    Height = 13
    FocusControl = Edit1
  end
end
)";

TEST(Notebooks, PagesAreTheUnnamedPageObjectsAndTheirCaptions) {
  formfile::Object tree = test::Tree(kNotebookForm);
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* book = dynamic_cast<TNotebook*>(form->FindComponent("Book"));
  ASSERT_NE(book, nullptr);
  TStrings* pages = book->Pages();
  ASSERT_EQ(pages->Count(), 2);
  EXPECT_EQ(pages->Strings(0), "General");
  EXPECT_EQ(book->PageIndex(), 1);
  EXPECT_EQ(book->ActivePage(), "Advanced");
  // Controls on pages belong to the form, so references to them resolve.
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->FocusControl(), form->FindComponent("Edit1"));

  // Translating a page caption through the list renames the page in the file.
  pages->Put(0, "Allgemein");
  pages->Add("Extra");
  formfile::Object out = WriteComponentTree(*form);
  const formfile::Object* b = Child(out, "Book");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->children.size(), 3u);
  EXPECT_EQ(b->children[0].find("Caption")->value.bytes, "Allgemein");
  EXPECT_EQ(b->children[0].children.size(), 1u);
  EXPECT_EQ(b->children[2].className, "TPage");
  EXPECT_EQ(b->children[2].name, "");
  EXPECT_EQ(b->children[2].find("Caption")->value.bytes, "Extra");
  // Assigning a translated list renames the pages: the edit stays on its page.
  TStringList translated;
  translated.SetCommaText("Allgemeines,Erweitert,Mehr");
  pages->Assign(translated);
  EXPECT_EQ(pages->Strings(1), "Erweitert");
  EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent("Edit1"))->Parent(), book->Controls(0));
  pages->Put(0, "Allgemein");
  pages->Insert(0, "First");
  EXPECT_EQ(pages->Strings(0), "First");
  EXPECT_EQ(pages->Strings(1), "Allgemein");
  pages->Delete(0);
  EXPECT_EQ(pages->Count(), 3);
  EXPECT_THROW(pages->Strings(3), EStringListError);
  book->SetPageIndex(7);  // no such page once loaded
  EXPECT_EQ(book->PageIndex(), 1);
}

TEST(Notebooks, TabbedNotebookMakesTabPages) {
  TForm form(nullptr);
  auto* book = new TTabbedNotebook(&form);
  book->SetName("TN");
  book->SetParent(&form);
  book->Pages()->Add("One");
  ASSERT_EQ(book->ControlCount(), 1);
  EXPECT_EQ(book->Controls(0)->ClassName(), "TTabPage");
  EXPECT_LT(Index(TTabbedNotebook::StaticClass(), "TabsPerRow"), Index(TTabbedNotebook::StaticClass(), "TabFont"));
  EXPECT_LT(Index(TTabbedNotebook::StaticClass(), "TabFont"), Index(TTabbedNotebook::StaticClass(), "TabOrder"));
}

TEST(ListControls, RadioGroupTabSetHeaderAndFilterComboHoldTheirTexts) {
  formfile::Object tree = test::Tree(R"(object F: TForm
  object RG: TRadioGroup
    Left = 0
    Top = 0
    Width = 100
    Height = 80
    Caption = 'Mode'
    Columns = 2
    ItemIndex = 1
    Items.Strings = (
      'Fast'
      'Safe')
    TabOrder = 0
  end
  object TS: TTabSet
    Left = 0
    Top = 90
    Width = 100
    Height = 21
    Tabs.Strings = (
      'A'
      'B')
    TabIndex = 0
  end
  object FC: TFilterComboBox
    Left = 0
    Top = 120
    Width = 100
    Height = 21
    Filter = 'Text (*.txt)|*.txt|All|*.*'
    TabOrder = 1
  end
end
)");
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* rg = dynamic_cast<TRadioGroup*>(form->FindComponent("RG"));
  ASSERT_NE(rg, nullptr);
  EXPECT_EQ(rg->ItemIndex(), 1);  // read before its items
  EXPECT_EQ(rg->Columns(), 2);
  EXPECT_EQ(rg->Items()->Strings(1), "Safe");
  rg->SetItemIndex(2);
  EXPECT_EQ(rg->ItemIndex(), -1);
  rg->SetColumns(0);
  EXPECT_EQ(rg->Columns(), 1);

  auto* ts = dynamic_cast<TTabSet*>(form->FindComponent("TS"));
  ASSERT_NE(ts, nullptr);
  EXPECT_EQ(ts->Tabs()->Strings(1), "B");
  EXPECT_EQ(ts->TabIndex(), 0);

  auto* fc = dynamic_cast<TFilterComboBox*>(form->FindComponent("FC"));
  ASSERT_NE(fc, nullptr);
  ASSERT_EQ(fc->Items()->Count(), 2);
  EXPECT_EQ(fc->Items()->Strings(0), "Text (*.txt)");
  EXPECT_EQ(fc->Mask(1), "*.*");
  EXPECT_EQ(fc->Mask(5), "*.*");
  fc->SetFilter("Odd");  // a description without mask
  EXPECT_EQ(fc->Items()->Count(), 1);
  EXPECT_EQ(fc->Mask(0), "");
  TFilterComboBox fresh(nullptr);
  EXPECT_FALSE(GetPropInfo(fresh, "Filter")->IsStoredValue(fresh));
  EXPECT_EQ(fresh.Items()->Strings(0), "All files (*.*)");

  THeader header(nullptr);
  header.Sections()->Add("Name");
  header.SetSectionWidth(0, 80);
  header.SetSectionWidth(3, 10);  // no such section
  EXPECT_EQ(header.SectionWidth(0), 80);
  EXPECT_EQ(header.SectionWidth(3), 0);
  EXPECT_EQ(GetPropInfo(header, "Sections")->kind, TypeKind::StringList);
}

TEST(Grids, StringGridCellsLiveInsideTheGrid) {
  TStringGrid grid(nullptr);
  EXPECT_EQ(grid.ColCount(), 5);
  grid.SetCells(4, 4, "corner");
  grid.SetCells(1, 2, "x");
  EXPECT_EQ(grid.Cells(1, 2), "x");
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_THROW(grid.Cells(5, 0), EInvalidGridOperation);
  EXPECT_THROW(grid.SetCells(-1, 0, "y"), EInvalidGridOperation);
  grid.SetColCount(3);
  grid.SetColCount(5);
  EXPECT_EQ(grid.Cells(4, 4), "");  // dropped with its column
  EXPECT_EQ(grid.Cells(1, 2), "x");
  EXPECT_THROW(grid.SetFixedCols(5), EInvalidGridOperation);
  grid.SetColCount(1);
  EXPECT_EQ(grid.FixedCols(), 0);
  SetSetProp(grid, "Options", "[goFixedVertLine,goEditing]");
  EXPECT_TRUE(grid.Options.Contains(goEditing));
  EXPECT_LT(Index(TStringGrid::StaticClass(), "FixedCols"), Index(TStringGrid::StaticClass(), "RowCount"));
  EXPECT_LT(Index(TStringGrid::StaticClass(), "RowCount"), Index(TStringGrid::StaticClass(), "FixedRows"));
}

const char* kDataForm = R"(object F: TForm
  object Grid: TDBGrid
    Left = 0
    Top = 0
    Width = 300
    Height = 120
    DataSource = DS
    TabOrder = 0
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'Tahoma'
    TitleFont.Style = []
    Columns = <
      item
        Expanded = False
        FieldName = 'NAME'
        Title.Caption = 'Name'
        Width = 120
        Visible = True
      end
      item
        Expanded = False
        FieldName = 'CITY'
        Visible = True
      end>
  end
  object Nav: TDBNavigator
    Left = 0
    Top = 130
    Width = 240
    Height = 25
    DataSource = DS
    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]
    Hints.Strings = (
      'First record'
      'Previous record')
    TabOrder = 1
  end
  object Query: TQuery
    Left = 8
    Top = 8
    object QueryNAME: TStringField
      DisplayLabel = 'Customer'
      FieldName = 'NAME'
      Size = 30
    end
    object QueryCITY: TStringField
      FieldName = 'CITY'
    end
  end
  object DS: TDataSource
    DataSet = Query
    Left = 40
    Top = 8
  end
end
)";

TEST(DataControls, GridColumnsNavigatorAndFieldsLoadTypedAndWriteBack) {
  formfile::Object tree = test::Tree(kDataForm);
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* grid = dynamic_cast<TDBGrid*>(form->FindComponent("Grid"));
  auto* ds = dynamic_cast<TDataSource*>(form->FindComponent("DS"));
  ASSERT_TRUE(grid && ds);
  EXPECT_EQ(grid->DataSource(), ds);
  EXPECT_EQ(ds->DataSet(), form->FindComponent("Query"));
  ASSERT_EQ(grid->Columns()->Count(), 2);
  TColumn* name = grid->Columns()->Items(0);
  EXPECT_EQ(name->Title()->Caption(), "Name");
  EXPECT_FALSE(name->Expanded);
  EXPECT_EQ(name->Width(), 120);
  // Without a caption of its own a title shows the field name and stores nothing.
  TColumn* city = grid->Columns()->Items(1);
  EXPECT_EQ(city->Title()->Caption(), "CITY");
  EXPECT_FALSE(city->Title()->IsCaptionStored());
  city->Title()->SetCaption("Stadt");
  formfile::Object out = WriteComponentTree(*form);
  const formfile::Property* cols = Child(out, "Grid")->find("Columns");
  ASSERT_NE(cols, nullptr);
  ASSERT_EQ(cols->value.items.size(), 2u);
  bool found = false;
  for (const auto& p : cols->value.items[1].properties)
    if (p.name == "Title.Caption") found = p.value.bytes == "Stadt";
  EXPECT_TRUE(found);

  auto* nav = dynamic_cast<TDBNavigator*>(form->FindComponent("Nav"));
  ASSERT_NE(nav, nullptr);
  EXPECT_EQ(nav->Hints()->Strings(1), "Previous record");
  EXPECT_EQ(GetSetProp(*nav, "VisibleButtons"), "nbFirst,nbPrior,nbNext,nbLast");
  EXPECT_EQ(nav->DataSource(), ds);

  // Fields nested in a dataset of a class we do not know.
  auto* field = dynamic_cast<TStringField*>(form->FindComponent("QueryNAME"));
  auto* plain = dynamic_cast<TStringField*>(form->FindComponent("QueryCITY"));
  ASSERT_TRUE(field && plain);
  EXPECT_EQ(field->GetParentComponent(), form->FindComponent("Query"));
  EXPECT_EQ(field->DisplayLabel(), "Customer");
  EXPECT_EQ(field->Size(), 30);
  EXPECT_EQ(plain->DisplayLabel(), "CITY");
  EXPECT_EQ(plain->Size(), 20);
  EXPECT_EQ(plain->DisplayWidth(), 20);
  plain->SetDisplayLabel("CITY");  // the field name: no label of its own
  EXPECT_FALSE(plain->IsDisplayLabelStored());
  auto* menu = new TTimer(form.get());  // any component stands in for a popup menu here
  name->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(name->PopupMenu(), nullptr);
  delete ds;
  EXPECT_EQ(grid->DataSource(), nullptr);
  EXPECT_EQ(nav->DataSource(), nullptr);
}

TEST(DataControls, FieldClassesKeepTheirOwnDefaults) {
  TIntegerField i(nullptr);
  EXPECT_EQ(i.Alignment, taRightJustify);
  EXPECT_FALSE(GetPropInfo(i, "Alignment")->IsStoredValue(i));
  TCurrencyField c(nullptr);
  EXPECT_TRUE(c.Currency);
  EXPECT_FALSE(GetPropInfo(c, "Currency")->IsStoredValue(c));
  TMemoField m(nullptr);
  EXPECT_EQ(GetEnumProp(m, "BlobType"), "ftMemo");
  EXPECT_EQ(GetPropInfo(TField::StaticClass(), "Size"), nullptr);  // only string, BCD and blob fields
  TDBRadioGroup rg(nullptr);
  rg.Values()->Add("F");
  EXPECT_EQ(GetPropInfo(rg, "Values")->kind, TypeKind::StringList);
  EXPECT_EQ(GetPropInfo(TDBComboBox::StaticClass(), "DataField")->kind, TypeKind::String);
  EXPECT_TRUE(GetPropInfo(TDBListBox::StaticClass(), "DataSource")->isReference);
}

TEST(Actions, ControlsTakeTheirActionsTextsAndFollowChanges) {
  formfile::Object tree = test::Tree(R"(object F: TForm
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Action = actSave
    TabOrder = 0
  end
  object Bit: TBitBtn
    Left = 8
    Top = 40
    Width = 75
    Height = 25
    Caption = 'OK'
    Kind = bkOK
    NumGlyphs = 2
    TabOrder = 1
  end
  object ActionList1: TActionList
    Left = 40
    Top = 8
    object actSave: TAction
      Category = 'File'
      Caption = '&Save'
      Hint = 'Save the file'
      ShortCut = 16467
      OnExecute = actSaveExecute
    end
    object actQuit: TAction
      Category = 'File'
      Caption = 'Quit'
    end
  end
end
)");
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* list = dynamic_cast<TActionList*>(form->FindComponent("ActionList1"));
  auto* save = dynamic_cast<TAction*>(form->FindComponent("actSave"));
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
  ASSERT_TRUE(list && save && button);
  ASSERT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(list->Actions(0), save);
  EXPECT_EQ(save->ActionList(), list);
  EXPECT_EQ(save->Index(), 0);
  EXPECT_EQ(save->ShortCut(), 16467);
  EXPECT_EQ(button->Caption(), "&Save");
  EXPECT_EQ(button->Hint(), "Save the file");
  // A translated action reaches its controls, which still store nothing of their own.
  save->SetCaption("&Speichern");
  EXPECT_EQ(button->Caption(), "&Speichern");
  auto names = StoredNames(*button);
  EXPECT_EQ(std::find(names.begin(), names.end(), "Caption"), names.end());
  EXPECT_THROW(list->Actions(2), EListError);

  auto* bit = dynamic_cast<TBitBtn*>(form->FindComponent("Bit"));
  ASSERT_NE(bit, nullptr);
  EXPECT_EQ(bit->Kind, bkOK);
  EXPECT_EQ(bit->NumGlyphs, 2);
  const ClassInfo& b = TBitBtn::StaticClass();
  EXPECT_LT(Index(b, "Kind"), Index(b, "ModalResult"));
  EXPECT_LT(Index(b, "ModalResult"), Index(b, "NumGlyphs"));
  EXPECT_LT(Index(b, "ShowHint"), Index(b, "Style"));
  EXPECT_EQ(GetPropInfo(b, "Style")->enumInfo->names[0], "bsAutoDetect");
}

TEST(Edits, LabeledEditStoresItsLabelAsASubObject) {
  formfile::Object tree = test::Tree(R"(object F: TForm
  object LE: TLabeledEdit
    Left = 8
    Top = 24
    Width = 121
    Height = 21
    EditLabel.Width = 40
    EditLabel.Height = 13
    EditLabel.Caption = 'Name:'
    TabOrder = 0
  end
end
)");
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* le = dynamic_cast<TLabeledEdit*>(form->FindComponent("LE"));
  ASSERT_NE(le, nullptr);
  EXPECT_EQ(le->EditLabel()->Caption(), "Name:");
  EXPECT_EQ(form->ComponentCount(), 1);  // the label is no component of the form
  le->EditLabel()->SetCaption("Nom :");
  le->EditLabel()->SetLeft(3);  // placed by the edit, never stored
  formfile::Object out = WriteComponentTree(*form);
  const formfile::Object* o = Child(out, "LE");
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->find("EditLabel.Caption")->value.bytes, "Nom :");
  EXPECT_EQ(o->find("EditLabel.Left"), nullptr);
}

TEST(Bars, CoolBandsReferTheirControlsAndValueListsKeepTheirLines) {
  formfile::Object tree = test::Tree(R"(object F: TForm
  object CoolBar: TCoolBar
    Left = 0
    Top = 0
    Width = 691
    Height = 24
    Bands = <
      item
        Break = False
        Control = ToolBar
        ImageIndex = -1
        MinHeight = 22
        Text = 'Tools'
        Width = 691
      end>
    EdgeBorders = [ebTop]
    object ToolBar: TToolBar
      Left = 9
      Top = 0
      Width = 682
      Height = 22
      TabOrder = 0
    end
  end
  object VLE: TValueListEditor
    Left = 0
    Top = 30
    Width = 200
    Height = 100
    Strings.Strings = (
      'Error=E:'
      'Warning=W:')
    TabOrder = 1
    TitleCaptions.Strings = (
      'Kind'
      'Prefix')
  end
end
)");
  auto form = ReadComponentTree(tree);
  EXPECT_EQ(test::ExactDiff(tree, WriteComponentTree(*form)), "");
  auto* bar = dynamic_cast<TCoolBar*>(form->FindComponent("CoolBar"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Bands()->Count(), 1);
  TCoolBand* band = bar->Bands()->Items(0);
  EXPECT_EQ(band->Control(), form->FindComponent("ToolBar"));
  EXPECT_EQ(band->Text, "Tools");
  EXPECT_FALSE(band->Break);
  delete form->FindComponent("ToolBar");
  EXPECT_EQ(band->Control(), nullptr);

  auto* vle = dynamic_cast<TValueListEditor*>(form->FindComponent("VLE"));
  ASSERT_NE(vle, nullptr);
  EXPECT_EQ(vle->Strings()->Values("Warning"), "W:");
  EXPECT_EQ(vle->TitleCaptions()->Strings(1), "Prefix");
  TValueListEditor fresh(nullptr);
  EXPECT_EQ(fresh.TitleCaptions()->CommaText(), "Key,Value");
  EXPECT_EQ(fresh.FixedCols(), 0);
  EXPECT_FALSE(GetPropInfo(fresh, "Options")->IsStoredValue(fresh));
}

}  // namespace
}  // namespace vorlect::host
