// The common controls: tree views, list views, status bars, header controls, tab and page
// controls, and the smaller ones (progress and track bars, up-downs, rich edits, date pickers,
// tool bars).
#pragma once

#include "host/framework/controls/StdCtrls.h"
#include "host/framework/controls/StockCommon.h"
#include "host/formfile/FormTree.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlect::host {

enum TSortType { stNone, stData, stText, stBoth };
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
const EnumInfo& SortTypeInfo();
const EnumInfo& ViewStyleInfo();

// ---- tree views ------------------------------------------------------------------------------

class TTreeNodes;
class TCustomTreeView;

class TTreeNode : public TPersistent {
  VORLECT_CLASS(TTreeNode, TPersistent)
public:
  TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

  const std::string& Text() const { return text_; }
  void SetText(const std::string& v);
  int ImageIndex = -1;
  int SelectedIndex = -1;
  int StateIndex = -1;
  int OverlayIndex = -1;
  int ExpandedImageIndex = -1;
  bool Enabled = true;
  std::int32_t Data = 0;  // as the file held it

  TTreeNodes* Owner() const { return owner_; }
  TTreeNode* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  bool HasChildren() const { return !children_.empty(); }
  TTreeNode* Item(int index) const;
  // Position among the parent's children (or the top-level nodes).
  int Index() const;
  // Position among all nodes of the tree in display order (parents before their children).
  int AbsoluteIndex() const;
  int Level() const;
  // The next node in display order, or null.
  TTreeNode* GetNext() const;
  // The Unicode text the file held, while Text still means it (for writing it back unchanged).
  const formfile::Value& OriginalText() const { return originalText_; }

private:
  friend class TTreeNodes;
  TTreeNodes* owner_;
  TTreeNode* parent_;
  std::string text_;
  formfile::Value originalText_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
  mutable int absoluteIndex_ = -1;  // set by TTreeNodes::Flatten
};

// The nodes of a tree view. Items(i) counts all nodes in display order, as the original does.
class TTreeNodes : public TPersistent {
  VORLECT_CLASS(TTreeNodes, TPersistent)
public:
  explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}

  TCustomTreeView* Owner() const { return owner_; }
  int Count() const;
  TTreeNode* Item(int absoluteIndex) const;
  int TopLevelCount() const { return static_cast<int>(roots_.size()); }
  TTreeNode* TopItem(int index) const;
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front().get(); }

  // A node after the last sibling of `sibling` (top level when null).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  // A node as the last child of `parent` (top level when null).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
  // A node before `before` (at the end of the top level when null).
  TTreeNode* Insert(TTreeNode* before, const std::string& text);
  void Delete(TTreeNode* node);
  void Clear();
  void Assign(const TPersistent& source) override;

  // How the nodes were stored in the file read: -1 none, 0 `Data`, 1..3 `NodeData` versions.
  int StoredVersion() const { return storedVersion_; }
  // Why the file's node data could not be read (then it is kept and written back as read).
  const std::string& DataError() const { return dataError_; }

  // Framework use: the defined properties `Data` and `NodeData`.
  bool ReadData(const formfile::Value& v, bool nodeData, const FilerContext& context);
  std::optional<formfile::Value> WriteData(bool nodeData, const FilerContext& context) const;

private:
  friend class TTreeNode;
  std::vector<std::unique_ptr<TTreeNode>>& Siblings(TTreeNode* parent);
  TTreeNode* InsertAt(TTreeNode* parent, std::size_t index, const std::string& text);
  void Changed() const { flatValid_ = false; }
  void Flatten() const;

  TCustomTreeView* owner_;
  std::vector<std::unique_ptr<TTreeNode>> roots_;
  int storedVersion_ = -1;
  std::string dataError_;
  mutable std::vector<TTreeNode*> flat_;
  mutable bool flatValid_ = false;
};

class TCustomTreeView : public TWinControl {
  VORLECT_CLASS(TCustomTreeView, TWinControl)
public:
  explicit TCustomTreeView(TComponent* owner);
  TTreeNodes* Items() const { return items_.get(); }
  void SetItems(TTreeNodes* v) { if (v) items_->Assign(*v); }
  bool AutoExpand = false;
  TBorderStyle BorderStyle = bsSingle_;
  int ChangeDelay = 0;
  bool HideSelection = true;
  bool HotTrack = false;
  int Indent = 19;
  bool MultiSelect = false;
  bool ReadOnly = false;
  bool RightClickSelect = false;
  bool RowSelect = false;
  bool ShowButtons = true;
  bool ShowLines = true;
  bool ShowRoot = true;
  TSortType SortType = stNone;
  bool ToolTips = true;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v) { images_ = v; }
  TComponent* StateImages() const { return stateImages_; }
  void SetStateImages(TComponent* v) { stateImages_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnAddition, OnAdvancedCustomDraw, OnAdvancedCustomDrawItem, OnChange, OnChanging,
      OnCollapsed, OnCollapsing, OnCompare, OnCreateNodeClass, OnCustomDraw, OnCustomDrawItem,
      OnDeletion, OnEdited, OnEditing, OnExpanding, OnExpanded, OnGetImageIndex,
      OnGetSelectedIndex, OnHint;

private:
  std::unique_ptr<TTreeNodes> items_;
  TComponent* images_ = nullptr;
  TComponent* stateImages_ = nullptr;
};

class TTreeView : public TCustomTreeView {
  VORLECT_CLASS(TTreeView, TCustomTreeView)
public:
  explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

// ---- list views ------------------------------------------------------------------------------

class TListColumn : public TCollectionItem {
  VORLECT_CLASS(TListColumn, TCollectionItem)
public:
  explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
  TAlignment Alignment = taLeftJustify;
  bool AutoSize = false;
  std::string Caption;
  int ImageIndex = -1;
  int MaxWidth = 0;
  int MinWidth = 0;
  std::int64_t Tag = 0;
  int Width = 50;
  std::string DisplayName() const override { return Caption; }
};

class TListColumns : public TCollection {
  VORLECT_CLASS(TListColumns, TCollection)
public:
  explicit TListColumns(TPersistent* owner) : TCollection(TListColumn::StaticClass(), owner) {}
  TListColumn* Items(int index) const { return ItemAs<TListColumn>(index); }
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
};

class TListItems;

class TListItem : public TPersistent {
  VORLECT_CLASS(TListItem, TPersistent)
public:
  explicit TListItem(TListItems* owner);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  TStrings* SubItems() const { return subItems_.get(); }
  // One image per sub-item (-1 for none); kept in step with SubItems when written.
  std::vector<int> SubItemImages;
  int ImageIndex = -1;
  int StateIndex = -1;
  int OverlayIndex = -1;
  int GroupID = -1;
  std::int32_t Data = 0;
  TListItems* Owner() const { return owner_; }
  int Index() const;

private:
  friend class TListItems;
  TListItems* owner_;
  std::string caption_;
  std::unique_ptr<TStringList> subItems_ = std::make_unique<TStringList>();
  formfile::Value originalCaption_;
  std::vector<formfile::Value> originalSubItems_;
};

class TCustomListView;

class TListItems : public TPersistent {
  VORLECT_CLASS(TListItems, TPersistent)
public:
  explicit TListItems(TCustomListView* owner) : owner_(owner) {}
  TCustomListView* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TListItem* Item(int index) const;
  TListItem* Add();
  TListItem* Insert(int index);
  void Delete(int index);
  void Clear() { items_.clear(); }
  int IndexOf(const TListItem* item) const;
  void Assign(const TPersistent& source) override;

  // -1 none, 0 `Data`, else the `ItemData` version.
  int StoredVersion() const { return storedVersion_; }
  const std::string& DataError() const { return dataError_; }

  bool ReadData(const formfile::Value& v, bool itemData, const FilerContext& context);
  std::optional<formfile::Value> WriteData(bool itemData, const FilerContext& context) const;

private:
  TCustomListView* owner_;
  std::vector<std::unique_ptr<TListItem>> items_;
  int storedVersion_ = -1;
  bool subItemImages_ = false;
  std::int64_t sizeAdjust_ = 0;
  std::string dataError_;
};

class TCustomListView : public TWinControl {
  VORLECT_CLASS(TCustomListView, TWinControl)
public:
  explicit TCustomListView(TComponent* owner);
  TListColumns* Columns() const { return columns_.get(); }
  void SetColumns(TListColumns* v) { if (v) columns_->Assign(*v); }
  TListItems* Items() const { return items_.get(); }
  void SetItems(TListItems* v) { if (v) items_->Assign(*v); }
  int AllocBy = 0;
  TBorderStyle BorderStyle = bsSingle_;
  bool Checkboxes = false;
  bool ColumnClick = true;
  bool FlatScrollBars = false;
  bool FullDrag = false;
  bool GridLines = false;
  bool GroupView = false;
  bool HideSelection = true;
  bool HotTrack = false;
  int HoverTime = -1;
  bool MultiSelect = false;
  bool OwnerData = false;
  bool OwnerDraw = false;
  bool ReadOnly = false;
  bool RowSelect = false;
  bool ShowColumnHeaders = true;
  bool ShowWorkAreas = false;
  TSortType SortType = stNone;
  TViewStyle ViewStyle = vsIcon;
  TComponent* LargeImages() const { return largeImages_; }
  void SetLargeImages(TComponent* v) { largeImages_ = v; }
  TComponent* SmallImages() const { return smallImages_; }
  void SetSmallImages(TComponent* v) { smallImages_ = v; }
  TComponent* StateImages() const { return stateImages_; }
  void SetStateImages(TComponent* v) { stateImages_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnAdvancedCustomDraw, OnAdvancedCustomDrawItem, OnAdvancedCustomDrawSubItem,
      OnChange, OnChanging, OnColumnClick, OnColumnDragged, OnColumnRightClick, OnCompare,
      OnCustomDraw, OnCustomDrawItem, OnCustomDrawSubItem, OnData, OnDataFind, OnDataHint,
      OnDataStateChange, OnDeletion, OnDrawItem, OnEdited, OnEditing, OnGetImageIndex,
      OnGetSubItemImage, OnInfoTip, OnInsert, OnItemChecked, OnSelectItem;

private:
  std::unique_ptr<TListColumns> columns_;
  std::unique_ptr<TListItems> items_;
  TComponent* largeImages_ = nullptr;
  TComponent* smallImages_ = nullptr;
  TComponent* stateImages_ = nullptr;
};

class TListView : public TCustomListView {
  VORLECT_CLASS(TListView, TCustomListView)
public:
  explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// ---- status bars and header controls ---------------------------------------------------------

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
const EnumInfo& StatusPanelStyleInfo();
const EnumInfo& StatusPanelBevelInfo();

class TStatusPanel : public TCollectionItem {
  VORLECT_CLASS(TStatusPanel, TCollectionItem)
public:
  explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
  TAlignment Alignment = taLeftJustify;
  TStatusPanelBevel Bevel = pbLowered;
  TBiDiMode BiDiMode = bdLeftToRight;
  bool ParentBiDiMode = true;
  TStatusPanelStyle Style = psText;
  std::string Text;
  int Width = 50;
  std::string DisplayName() const override { return Text; }
};

class TStatusPanels : public TCollection {
  VORLECT_CLASS(TStatusPanels, TCollection)
public:
  explicit TStatusPanels(TPersistent* owner) : TCollection(TStatusPanel::StaticClass(), owner) {}
  TStatusPanel* Items(int index) const { return ItemAs<TStatusPanel>(index); }
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
};

class TStatusBar : public TWinControl {
  VORLECT_CLASS(TStatusBar, TWinControl)
public:
  explicit TStatusBar(TComponent* owner);
  TStatusPanels* Panels() const { return panels_.get(); }
  void SetPanels(TStatusPanels* v) { if (v) panels_->Assign(*v); }
  bool AutoHint = false;
  bool SimplePanel = false;
  std::string SimpleText;
  bool SizeGrip = true;
  bool UseSystemFont = true;
  TNotifyEvent OnCreatePanelClass, OnDrawPanel, OnHint;

private:
  std::unique_ptr<TStatusPanels> panels_;
};

enum THeaderSectionStyle { hsText, hsOwnerDraw };
enum THeaderStyle { hsButtons, hsFlat };
const EnumInfo& HeaderSectionStyleInfo();
const EnumInfo& HeaderStyleInfo();

class THeaderSection : public TCollectionItem {
  VORLECT_CLASS(THeaderSection, TCollectionItem)
public:
  explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}
  TAlignment Alignment = taLeftJustify;
  bool AllowClick = true;
  bool AutoSize = false;
  TBiDiMode BiDiMode = bdLeftToRight;
  int ImageIndex = -1;
  int MaxWidth = 10000;
  int MinWidth = 0;
  bool ParentBiDiMode = true;
  THeaderSectionStyle Style = hsText;
  std::string Text;
  int Width = 50;
  std::string DisplayName() const override { return Text; }
};

class THeaderSections : public TCollection {
  VORLECT_CLASS(THeaderSections, TCollection)
public:
  explicit THeaderSections(TPersistent* owner) : TCollection(THeaderSection::StaticClass(), owner) {}
  THeaderSection* Items(int index) const { return ItemAs<THeaderSection>(index); }
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
};

class THeaderControl : public TWinControl {
  VORLECT_CLASS(THeaderControl, TWinControl)
public:
  explicit THeaderControl(TComponent* owner);
  THeaderSections* Sections() const { return sections_.get(); }
  void SetSections(THeaderSections* v) { if (v) sections_->Assign(*v); }
  bool FullDrag = true;
  bool HotTrack = false;
  THeaderStyle Style = hsButtons;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v) { images_ = v; }
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnDrawSection, OnSectionClick, OnSectionResize, OnSectionTrack, OnSectionDrag,
      OnSectionEndDrag;

private:
  std::unique_ptr<THeaderSections> sections_;
  TComponent* images_ = nullptr;
};

// ---- tab and page controls -------------------------------------------------------------------

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
const EnumInfo& TabPositionInfo();
const EnumInfo& TabStyleInfo();

class TCustomTabControl : public TWinControl {
  VORLECT_CLASS(TCustomTabControl, TWinControl)
public:
  explicit TCustomTabControl(TComponent* owner);
  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* v) { if (v) tabs_->Assign(*v); }
  int TabIndex() const { return tabIndex_; }
  virtual void SetTabIndex(int v);
  bool HotTrack = false;
  bool MultiLine = false;
  bool MultiSelect = false;
  bool OwnerDraw = false;
  bool RaggedRight = false;
  bool ScrollOpposite = false;
  TTabStyle Style = tsTabs;
  int TabHeight = 0;
  TTabPosition TabPosition = tpTop;
  int TabWidth = 0;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v) { images_ = v; }
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChange, OnChanging, OnDrawTab, OnGetImageIndex;

private:
  std::unique_ptr<TStringList> tabs_ = std::make_unique<TStringList>();
  int tabIndex_ = -1;
  TComponent* images_ = nullptr;
};

class TTabControl : public TCustomTabControl {
  VORLECT_CLASS(TTabControl, TCustomTabControl)
public:
  explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
};

class TPageControl;

class TTabSheet : public TWinControl {
  VORLECT_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* owner);
  TPageControl* PageControl() const;
  void SetPageControl(TPageControl* control);
  // Position among the page control's sheets; setting moves the sheet.
  int PageIndex() const;
  void SetPageIndex(int index);
  int ImageIndex = 0;
  bool Highlighted = false;
  bool TabVisible = true;
  TNotifyEvent OnHide, OnShow;
};

class TPageControl : public TCustomTabControl {
  VORLECT_CLASS(TPageControl, TCustomTabControl)
public:
  explicit TPageControl(TComponent* owner) : TCustomTabControl(owner) {}
  int PageCount() const;
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  // Framework use: moves a sheet among the pages.
  void MovePage(TTabSheet* page, int index);
  void Notification(TComponent* component, TOperation operation) override;

private:
  TTabSheet* activePage_ = nullptr;
};

// ---- smaller common controls -----------------------------------------------------------------

class TProgressBar : public TWinControl {
  VORLECT_CLASS(TProgressBar, TWinControl)
public:
  explicit TProgressBar(TComponent* owner);
  int Max = 100, Min = 0, Position = 0, Step = 10;
  int Orientation = 0;  // pbHorizontal
  bool Smooth = false;
  int State = 0;  // pbsNormal
};

class TTrackBar : public TWinControl {
  VORLECT_CLASS(TTrackBar, TWinControl)
public:
  explicit TTrackBar(TComponent* owner);
  int Frequency = 1, LineSize = 1, Max = 10, Min = 0, PageSize = 2, Position = 0, SelEnd = 0,
      SelStart = 0, ThumbLength = 20;
  int Orientation = 0, PositionToolTip = 0, TickMarks = 0, TickStyle = 1;
  bool ShowSelRange = true, SliderVisible = true;
  TNotifyEvent OnChange;
};

class TUpDown : public TWinControl {
  VORLECT_CLASS(TUpDown, TWinControl)
public:
  explicit TUpDown(TComponent* owner);
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* v);
  int AlignButton = 1;  // udRight
  bool ArrowKeys = true;
  int Increment = 1, Max = 100, Min = 0, Position = 0;
  int Orientation = 1;  // udVertical
  bool Thousands = true, Wrap = false;
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChanging, OnChangingEx;

private:
  TWinControl* associate_ = nullptr;
};

class TRichEdit : public TCustomMemo {
  VORLECT_CLASS(TRichEdit, TCustomMemo)
public:
  explicit TRichEdit(TComponent* owner) : TCustomMemo(owner) {}
  bool PlainText = false;
  TNotifyEvent OnProtectChange, OnResizeRequest, OnSaveClipboard, OnSelectionChange;
};

class TDateTimePicker : public TWinControl {
  VORLECT_CLASS(TDateTimePicker, TWinControl)
public:
  explicit TDateTimePicker(TComponent* owner);
  double Date = 0, Time = 0;
  std::string Format;
  int CalAlignment = 0, DateFormat = 0, DateMode = 0, Kind = 0;
  bool ParseInput = false, ShowCheckbox = false, Checked = true;
  TNotifyEvent OnChange, OnCloseUp, OnDropDown, OnUserInput;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider, tbsTextButton };
const EnumInfo& ToolButtonStyleInfo();

class TToolBar : public TWinControl {
  VORLECT_CLASS(TToolBar, TWinControl)
public:
  explicit TToolBar(TComponent* owner);
  int ButtonHeight = 22, ButtonWidth = 23, Indent = 0;
  bool Flat = true, List = false, ShowCaptions = false, Transparent = false, Wrapable = true;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v) { images_ = v; }
  TComponent* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(TComponent* v) { disabledImages_ = v; }
  TComponent* HotImages() const { return hotImages_; }
  void SetHotImages(TComponent* v) { hotImages_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* images_ = nullptr;
  TComponent* disabledImages_ = nullptr;
  TComponent* hotImages_ = nullptr;
};

class TToolButton : public TGraphicControl {
  VORLECT_CLASS(TToolButton, TGraphicControl)
public:
  explicit TToolButton(TComponent* owner);
  bool AllowAllUp = false, Down = false, Grouped = false, Indeterminate = false, Marked = false,
       Wrap = false;
  int ImageIndex = -1;
  TToolButtonStyle Style = tbsButton;
  TComponent* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TComponent* v) { dropdownMenu_ = v; }
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* dropdownMenu_ = nullptr;
};

// ---- cool bars -------------------------------------------------------------------------------

enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;
enum TEdgeStyle { esNone, esRaised, esLowered };
enum TCoolBandMaximize { bmNone, bmClick, bmDblClick };
const EnumInfo& EdgeBorderInfo();
const EnumInfo& EdgeStyleInfo();
const EnumInfo& CoolBandMaximizeInfo();

class TCoolBand : public TCollectionItem {
  VORLECT_CLASS(TCoolBand, TCollectionItem)
public:
  explicit TCoolBand(TCollection* collection) : TCollectionItem(collection) {}
  TBorderStyle BorderStyle = bsNone_;
  bool Break = true, FixedBackground = true, FixedSize = false, HorizontalOnly = false,
       ParentBitmap = true, ParentColor = true, Visible = true;
  TColor Color = clBtnFace;
  int ImageIndex = -1, MinHeight = 25, MinWidth = 0;
  std::string Text;
  // The control the band holds (one of the bar's children).
  TWinControl* Control() const { return control_; }
  void SetControl(TWinControl* v);
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; widthSet_ = true; }
  bool IsWidthStored() const { return widthSet_; }
  std::string DisplayName() const override;

private:
  TWinControl* control_ = nullptr;
  int width_ = 0;
  bool widthSet_ = false;
};

class TCoolBands : public TCollection {
  VORLECT_CLASS(TCoolBands, TCollection)
public:
  explicit TCoolBands(TPersistent* bar) : TCollection(TCoolBand::StaticClass(), bar) {}
  TCoolBand* Items(int index) const { return ItemAs<TCoolBand>(index); }
};

class TCoolBar : public TWinControl {
  VORLECT_CLASS(TCoolBar, TWinControl)
public:
  explicit TCoolBar(TComponent* owner);
  TCoolBands* Bands() const { return bands_.get(); }
  void SetBands(TCoolBands* v) { if (v) bands_->Assign(*v); }
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v);
  TBorderStyle BandBorderStyle = bsSingle_;
  TCoolBandMaximize BandMaximize = bmClick;
  TEdgeBorders EdgeBorders{ebLeft, ebTop, ebRight, ebBottom};
  TEdgeStyle EdgeInner = esRaised, EdgeOuter = esLowered;
  bool FixedSize = false, FixedOrder = false, ShowText = true, Vertical = false;
  // Bands referring to a control that goes lose it.
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TCoolBands> bands_;
  TComponent* images_ = nullptr;
};

void RegisterComCtrls();

}  // namespace vorlect::host
