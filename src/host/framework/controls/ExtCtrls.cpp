#include "host/framework/controls/ExtCtrls.h"

#include <algorithm>

namespace vorlect::host {

namespace {

// While loading, an index may name items that come later in the file: keep it as read.
int IndexFor(const TComponent& c, int index, int count) {
  if (c.InState(csLoading) || (index >= -1 && index < count)) return index;
  return -1;
}

}  // namespace

const EnumInfo& TabSetStyleInfo() {
  static const EnumInfo info{"TTabStyle", {"tsStandard", "tsOwnerDraw", "tsSoftTabs", "tsModernTabs",
                                           "tsModernPopout"}};
  return info;
}
const EnumInfo& BevelShapeInfo() {
  static const EnumInfo info{"TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine",
                                             "bsLeftLine", "bsRightLine", "bsSpacer"}};
  return info;
}
const EnumInfo& BevelStyleInfo() {
  static const EnumInfo info{"TBevelStyle", {"bsLowered", "bsRaised"}};
  return info;
}
const EnumInfo& ShapeTypeInfo() {
  static const EnumInfo info{"TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare",
                                            "stEllipse", "stCircle"}};
  return info;
}
const EnumInfo& ResizeStyleInfo() {
  static const EnumInfo info{"TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"}};
  return info;
}
const EnumInfo& ColorDepthInfo() {
  static const EnumInfo info{"TColorDepth", {"cdDeviceDependent", "cd4Bit", "cd8Bit", "cd16Bit",
                                             "cd24Bit", "cd32Bit"}};
  return info;
}
const EnumInfo& DrawingStyleInfo() {
  static const EnumInfo info{"TDrawingStyle", {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"}};
  return info;
}
const EnumInfo& ImageTypeInfo() {
  static const EnumInfo info{"TImageType", {"itImage", "itMask"}};
  return info;
}
const EnumInfo& BitBtnKindInfo() {
  static const EnumInfo info{"TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                             "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"}};
  return info;
}
const EnumInfo& ButtonLayoutInfo() {
  static const EnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  return info;
}
const EnumInfo& BitBtnStyleInfo() {
  static const EnumInfo info{"TButtonStyle", {"bsAutoDetect", "bsWin31", "bsNew"}};
  return info;
}
const EnumInfo& LabelPositionInfo() {
  static const EnumInfo info{"TLabelPosition", {"lpAbove", "lpBelow", "lpLeft", "lpRight"}};
  return info;
}
const EnumInfo& ColorBoxStylesInfo() {
  static const EnumInfo info{"TColorBoxStyles",
                             {"cbStandardColors", "cbExtendedColors", "cbSystemColors", "cbIncludeNone",
                              "cbIncludeDefault", "cbCustomColor", "cbPrettyNames", "cbCustomColors"}};
  return info;
}

// ---- panels ----------------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetBevelOuter(bvRaised);
  SetUseDockManager(true);
}

const ClassInfo& TCustomPanel::StaticClass() {
  using C = TCustomPanel;
  static const ClassInfo info = ClassBuilder<C>("TCustomPanel")
      .Protected()
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taCenter)
      .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsNone_)
      .Boolean("FullRepaint", &C::FullRepaint, &C::FullRepaint).Default(true)
      .Boolean("Locked", &C::Locked, &C::Locked).Default(false)
      .Boolean("ShowCaption", &C::ShowCaption, &C::ShowCaption).Default(true)
      .Enum("VerticalAlignment", &C::VerticalAlignment, &C::VerticalAlignment, VerticalAlignmentInfo())
      .Default(taVerticalCenter)
      .Build();
  return info;
}

const ClassInfo& TPanel::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TPanel> b("TPanel");
    Pub(b, {"Align", "Alignment", "Anchors", "AutoSize", "BevelEdges", "BevelInner", "BevelKind"});
    b.Publish("BevelOuter").Default(bvRaised);
    Pub(b, {"BevelWidth", "BiDiMode", "BorderWidth", "BorderStyle", "Caption", "Color", "Constraints",
            "Ctl3D"});
    b.Publish("UseDockManager").Default(true);
    Pub(b, {"DockSite", "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled",
            "FullRepaint", "Font", "Locked", "Padding", "ParentBiDiMode", "ParentBackground",
            "ParentColor", "ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint",
            "PopupMenu", "ShowCaption", "ShowHint", "TabOrder", "TabStop", "VerticalAlignment",
            "Visible", "StyleElements", "OnCanResize", "OnClick", "OnConstrainedResize",
            "OnContextPopup", "OnDockDrop", "OnDockOver", "OnDblClick", "OnDragDrop", "OnDragOver",
            "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown",
            "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock",
            "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

// ---- radio groups ----------------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) { ReportChanges(*items_, *this); }

void TCustomRadioGroup::SetItemIndex(int v) { itemIndex_ = IndexFor(*this, v, items_->Count()); }

const ClassInfo& TCustomRadioGroup::StaticClass() {
  using C = TCustomRadioGroup;
  static const ClassInfo info = ClassBuilder<C>("TCustomRadioGroup")
      .Protected()
      .Integer("Columns", &C::Columns, &C::SetColumns).Default(1)
      .Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex).Default(-1)
      .Object("Items", &C::Items, &C::SetItems)
      .Boolean("WordWrap", &C::WordWrap, &C::WordWrap).Default(false)
      .Build();
  return info;
}

const ClassInfo& TRadioGroup::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TRadioGroup> b("TRadioGroup");
    Pub(b, {"Align", "Anchors", "BiDiMode", "Caption", "Color", "Columns", "Ctl3D", "DoubleBuffered",
            "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ItemIndex", "Items",
            "Constraints", "ParentBackground", "ParentBiDiMode", "ParentColor", "ParentCtl3D",
            "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
            "TabOrder", "TabStop", "Visible", "WordWrap", "StyleElements", "OnClick",
            "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter",
            "OnExit", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- notebooks -------------------------------------------------------------------------------

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  SetAlign(alClient);
  SetVisible(false);
}

const ClassInfo& TPage::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TPage> b("TPage");
    b.Publish("Caption");
    // The notebook sizes and shows its pages.
    b.Publish("Height").NotStored();
    b.Publish("TabOrder").NotStored();
    b.Publish("Visible").NotStored();
    b.Publish("Width").NotStored();
    b.Publish("ParentShowHint");
    return b.Build();
  }();
  return info;
}

const ClassInfo& TTabPage::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTabPage>("TTabPage").Build();
  return info;
}

TPage* TPageAccess::Page(int index) const {
  int n = 0;
  for (int i = 0; i < notebook_.ControlCount(); ++i)
    if (auto* p = dynamic_cast<TPage*>(notebook_.Controls(i)))
      if (n++ == index) return p;
  Error("List index out of bounds", index);
}

int TPageAccess::Count() const {
  int n = 0;
  for (int i = 0; i < notebook_.ControlCount(); ++i)
    if (dynamic_cast<TPage*>(notebook_.Controls(i))) ++n;
  return n;
}

const std::string& TPageAccess::Strings(int index) const { return Page(index)->Caption(); }
void TPageAccess::Put(int index, const std::string& s) { Page(index)->SetCaption(s); }
void* TPageAccess::Objects(int index) const { return Page(index); }
void TPageAccess::PutObject(int, void*) {}

// New pages are owned like the notebook's own controls: by the notebook's owner.
void TPageAccess::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) Error("List index out of bounds", index);
  std::vector<TPage*> after;
  for (int i = index; i < Count(); ++i) after.push_back(Page(i));
  TPage* page = create_(notebook_.Owner() ? notebook_.Owner() : &notebook_);
  page->SetCaption(s);
  page->SetParent(&notebook_);
  // Keep the page order: the pages after the new one move behind it.
  for (TPage* p : after) {
    p->SetParent(nullptr);
    p->SetParent(&notebook_);
  }
}

void TPageAccess::Delete(int index) { delete Page(index); }

void TPageAccess::Assign(const TPersistent& source) {
  auto* from = dynamic_cast<const TStrings*>(&source);
  if (!from) return TStrings::Assign(source);
  if (from == this) return;
  int n = from->Count();
  for (int i = 0; i < n && i < Count(); ++i) Put(i, from->Strings(i));
  for (int i = Count(); i < n; ++i) Insert(i, from->Strings(i));
  while (Count() > n) Delete(Count() - 1);
}

void TPageAccess::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

const ClassInfo& TPageAccess::StaticClass() {
  static const ClassInfo info = ClassBuilder<TPageAccess>("TPageAccess").Build();
  return info;
}

TNotebookBase::TNotebookBase(TComponent* owner, TPageAccess::PageFactory create)
    : TCustomControl(owner), pages_(std::make_unique<TPageAccess>(*this, create)) {
  SetBounds(0, 0, 150, 150);
}

void TNotebookBase::SetPageIndex(int v) {
  if (InState(csLoading) || (v >= 0 && v < pages_->Count())) pageIndex_ = v;
  if (!InState(csLoading)) OnPageChanged(this);
}

std::string TNotebookBase::ActivePage() const {
  if (pageIndex_ >= 0 && pageIndex_ < pages_->Count()) return pages_->Strings(pageIndex_);
  return {};
}

void TNotebookBase::SetActivePage(const std::string& caption) {
  int i = pages_->IndexOf(caption);
  if (i >= 0) SetPageIndex(i);
}

const ClassInfo& TNotebookBase::StaticClass() {
  using C = TNotebookBase;
  static const ClassInfo info = ClassBuilder<C>("TNotebookBase")
      .Protected()
      .Integer("PageIndex", &C::PageIndex, &C::SetPageIndex).Default(0)
      // The pages are stored as page objects.
      .Object("Pages", &C::Pages, &C::SetPages).NotStored()
      .Event("OnPageChanged", &C::OnPageChanged)
      .Build();
  return info;
}

TNotebook::TNotebook(TComponent* owner)
    : TNotebookBase(owner, [](TComponent* o) -> TPage* { return new TPage(o); }) {}

const ClassInfo& TNotebook::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TNotebook> b("TNotebook");
    Pub(b, {"Align", "Anchors", "Color", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Font",
            "Enabled", "Constraints", "PageIndex", "Pages", "ParentColor", "ParentCtl3D",
            "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
            "Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
            "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove",
            "OnMouseUp", "OnPageChanged", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TTabbedNotebook::TTabbedNotebook(TComponent* owner)
    : TNotebookBase(owner, [](TComponent* o) -> TPage* { return new TTabPage(o); }) {
  SetBounds(0, 0, 300, 250);
  tabFont_->SetColor(clBtnText);
}

const ClassInfo& TTabbedNotebook::StaticClass() {
  using C = TTabbedNotebook;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TTabbedNotebook");
    Pub(b, {"Align", "Anchors", "Constraints", "Enabled", "PageIndex", "Pages", "Font", "ParentFont",
            "ParentShowHint", "PopupMenu", "ShowHint"});
    b.Integer("TabsPerRow", &C::TabsPerRow, &C::TabsPerRow).Default(3);
    b.Object("TabFont", &C::TabFont, &C::SetTabFont);
    Pub(b, {"TabOrder", "TabStop", "Visible", "OnClick"});
    b.Event("OnChange", &C::OnChange);
    Pub(b, {"OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit",
            "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- the old header --------------------------------------------------------------------------

THeader::THeader(TComponent* owner) : TCustomControl(owner) {
  ReportChanges(*sections_, *this);
  SetBounds(0, 0, 250, 25);
}

int THeader::SectionWidth(int index) const {
  if (index < 0 || index >= sections_->Count()) return 0;
  return static_cast<std::size_t>(index) < widths_.size() ? widths_[static_cast<std::size_t>(index)] : 0;
}

void THeader::SetSectionWidth(int index, int width) {
  if (index < 0 || index >= sections_->Count()) return;
  if (widths_.size() < static_cast<std::size_t>(sections_->Count()))
    widths_.resize(static_cast<std::size_t>(sections_->Count()), 0);
  widths_[static_cast<std::size_t>(index)] = width;
}

const ClassInfo& THeader::StaticClass() {
  using C = THeader;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("THeader");
    Pub(b, {"Align", "Anchors"});
    b.Boolean("AllowResize", &C::AllowResize, &C::AllowResize).Default(true)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_);
    Pub(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ParentFont",
            "ParentShowHint", "PopupMenu"});
    b.Object("Sections", &C::Sections, &C::SetSections);
    Pub(b, {"ShowHint", "TabOrder", "TabStop", "Visible", "OnContextPopup", "OnDragDrop",
            "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
    b.Event("OnSized", &C::OnSized).Event("OnSizing", &C::OnSizing);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- tab sets --------------------------------------------------------------------------------

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
  ReportChanges(*tabs_, *this);
  SetBounds(0, 0, 185, 21);
}

void TTabSet::SetTabIndex(int v) {
  tabIndex_ = IndexFor(*this, v, tabs_->Count());
  if (!InState(csLoading)) OnChange(this);
}

const ClassInfo& TTabSet::StaticClass() {
  using C = TTabSet;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TTabSet");
    Pub(b, {"Align", "Anchors"});
    b.Boolean("AutoScroll", &C::AutoScroll, &C::AutoScroll).Default(true)
        .Integer("BackgroundColor", &C::BackgroundColor, &C::BackgroundColor).Idents(ColorIdents())
        .Default(clBtnFace)
        .Boolean("DitherBackground", &C::DitherBackground, &C::DitherBackground).Default(true);
    Pub(b, {"DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Integer("EndMargin", &C::EndMargin, &C::EndMargin).Default(5);
    Pub(b, {"Font", "ParentShowHint", "PopupMenu", "ShowHint"});
    b.Integer("SelectedColor", &C::SelectedColor, &C::SelectedColor).Idents(ColorIdents()).Default(clBtnFace)
        .Boolean("SoftTop", &C::SoftTop, &C::SoftTop).Default(false)
        .Integer("StartMargin", &C::StartMargin, &C::StartMargin).Default(5)
        .Enum("Style", &C::Style, &C::Style, TabSetStyleInfo()).Default(tsStandard)
        .Integer("TabHeight", &C::TabHeight, &C::TabHeight).Default(20)
        .Object("Tabs", &C::Tabs, &C::SetTabs)
        .Integer("TabIndex", &C::TabIndex, &C::SetTabIndex).Default(-1)
        .Integer("UnselectedColor", &C::UnselectedColor, &C::UnselectedColor).Idents(ColorIdents())
        .Default(clWindow);
    b.Publish("Visible");
    b.Integer("TabWidth", &C::TabWidth, &C::TabWidth).Default(0);
    b.Event("OnChange", &C::OnChange);
    Pub(b, {"OnClick", "OnDragDrop", "OnDragOver"});
    b.Event("OnDrawTab", &C::OnDrawTab);
    Pub(b, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit"});
    b.Event("OnMeasureTab", &C::OnMeasureTab);
    Pub(b, {"OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- graphics --------------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

const ClassInfo& TImage::StaticClass() {
  using C = TImage;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TImage");
    Pub(b, {"Align", "Anchors", "AutoSize"});
    b.Boolean("Center", &C::Center, &C::Center).Default(false);
    Pub(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Boolean("IncrementalDisplay", &C::IncrementalDisplay, &C::IncrementalDisplay).Default(false);
    Pub(b, {"ParentShowHint", "PopupMenu"});
    b.Boolean("Proportional", &C::Proportional, &C::Proportional).Default(false);
    b.Publish("ShowHint");
    b.Boolean("Stretch", &C::Stretch, &C::Stretch).Default(false)
        .Boolean("Transparent", &C::Transparent, &C::Transparent).Default(false);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop",
            "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp",
            "OnMouseEnter", "OnMouseLeave"});
    b.Event("OnProgress", &C::OnProgress);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 105, 105); }

const ClassInfo& TPaintBox::StaticClass() {
  using C = TPaintBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TPaintBox");
    Pub(b, {"Align", "Anchors", "Color", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled",
            "Font", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Visible",
            "StyleElements", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
            "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove",
            "OnMouseUp"});
    b.Event("OnPaint", &C::OnPaint);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

const ClassInfo& TBevel::StaticClass() {
  using C = TBevel;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TBevel");
    Pub(b, {"Align", "Anchors", "Constraints", "ParentShowHint"});
    b.Enum("Shape", &C::Shape, &C::Shape, BevelShapeInfo()).Default(bsBox);
    b.Publish("ShowHint");
    b.Enum("Style", &C::Style, &C::Style, BevelStyleInfo()).Default(bsLowered);
    Pub(b, {"Visible", "StyleElements"});
    return b.Build();
  }();
  return info;
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 65); }

const ClassInfo& TShape::StaticClass() {
  using C = TShape;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TShape");
    Pub(b, {"Align", "Anchors", "DragCursor", "DragKind", "DragMode", "Enabled", "Constraints",
            "ParentShowHint"});
    b.Enum("Shape", &C::Shape, &C::Shape, ShapeTypeInfo()).Default(stRectangle);
    Pub(b, {"ShowHint", "Visible", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

const ClassInfo& TSplitter::StaticClass() {
  using C = TSplitter;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TSplitter");
    b.Publish("Align").Default(alLeft);
    b.Boolean("Beveled", &C::Beveled, &C::Beveled).Default(false);
    Pub(b, {"Color", "Constraints"});
    b.Publish("Cursor").Default(crHSplit);
    b.Publish("Height");
    b.Integer("MinSize", &C::MinSize, &C::MinSize).Default(30);
    b.Publish("ParentColor");
    b.Enum("ResizeStyle", &C::ResizeStyle, &C::ResizeStyle, ResizeStyleInfo()).Default(rsPattern);
    Pub(b, {"Visible", "Width", "StyleElements", "OnCanResize"});
    b.Event("OnMoved", &C::OnMoved).Event("OnPaint", &C::OnPaint);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TTimer::StaticClass() {
  using C = TTimer;
  static const ClassInfo info = ClassBuilder<C>("TTimer")
      .Boolean("Enabled", &C::Enabled, &C::Enabled).Default(true)
      .Integer("Interval", &C::Interval, &C::Interval).Default(1000)
      .Event("OnTimer", &C::OnTimer)
      .Build();
  return info;
}

const ClassInfo& TCustomImageList::StaticClass() {
  using C = TCustomImageList;
  static const ClassInfo info = ClassBuilder<C>("TCustomImageList")
      .Protected()
      .Integer("AllocBy", &C::AllocBy, &C::AllocBy).Default(4)
      .Integer("BlendColor", &C::BlendColor, &C::BlendColor).Idents(ColorIdents()).Default(clNone)
      .Integer("BkColor", &C::BkColor, &C::BkColor).Idents(ColorIdents()).Default(clNone)
      .Enum("ColorDepth", &C::ColorDepth, &C::ColorDepth, ColorDepthInfo()).Default(cdDeviceDependent)
      .Enum("DrawingStyle", &C::DrawingStyle, &C::DrawingStyle, DrawingStyleInfo()).Default(dsNormal)
      .Integer("Height", &C::Height, &C::Height).Default(16)
      .Enum("ImageType", &C::ImageType, &C::ImageType, ImageTypeInfo()).Default(itImage)
      .Boolean("Masked", &C::Masked, &C::Masked).Default(true)
      .Event("OnChange", &C::OnChange)
      .Boolean("ShareImages", &C::ShareImages, &C::ShareImages).Default(false)
      .Integer("Width", &C::Width, &C::Width).Default(16)
      .Build();
  return info;
}

const ClassInfo& TImageList::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TImageList> b("TImageList");
    Pub(b, {"AllocBy", "BlendColor", "BkColor", "ColorDepth", "DrawingStyle", "Height", "ImageType",
            "Masked", "OnChange", "ShareImages", "Width"});
    return b.Build();
  }();
  return info;
}

// ---- buttons ---------------------------------------------------------------------------------

const ClassInfo& TBitBtn::StaticClass() {
  using C = TBitBtn;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TBitBtn");
    Pub(b, {"Action", "Align", "Anchors", "BiDiMode", "Cancel", "Caption", "Constraints", "Default",
            "DisabledImageIndex", "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled",
            "Font", "HotImageIndex", "Images", "ImageIndex"});
    b.Enum("Kind", &C::Kind, &C::Kind, BitBtnKindInfo()).Default(bkCustom)
        .Enum("Layout", &C::Layout, &C::Layout, ButtonLayoutInfo()).Default(blGlyphLeft)
        .Integer("Margin", &C::Margin, &C::Margin).Default(-1);
    b.Publish("ModalResult");
    b.Integer("NumGlyphs", &C::NumGlyphs, &C::NumGlyphs).Default(1);
    Pub(b, {"ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu", "PressedImageIndex",
            "SelectedImageIndex", "ShowHint"});
    // The bit button's own Style (TButtonStyle of its unit) replaces TButton's.
    b.Enum("Style", &C::BitBtnStyle, &C::BitBtnStyle, BitBtnStyleInfo()).Default(bsAutoDetect)
        .Integer("Spacing", &C::Spacing, &C::Spacing).Default(4);
    b.Publish("TabOrder");
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "WordWrap", "StyleElements", "OnClick", "OnContextPopup", "OnDragDrop",
            "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress",
            "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetImages(TComponent* v) {
  images_ = v;
  if (v) FreeNotification(v);
}

void TSpeedButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

const ClassInfo& TSpeedButton::StaticClass() {
  using C = TSpeedButton;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TSpeedButton");
    Pub(b, {"Action", "Align"});
    b.Boolean("AllowAllUp", &C::AllowAllUp, &C::AllowAllUp).Default(false);
    Pub(b, {"Anchors", "BiDiMode", "Constraints"});
    b.Integer("GroupIndex", &C::GroupIndex, &C::GroupIndex).Default(0)
        .Boolean("Down", &C::Down, &C::Down).Default(false);
    b.Publish("Caption");
    b.Integer("DisabledImageIndex", &C::DisabledImageIndex, &C::DisabledImageIndex).Default(-1);
    b.Publish("Enabled");
    b.Reference("Images", &C::Images, &C::SetImages);
    b.Boolean("Flat", &C::Flat, &C::Flat).Default(false);
    b.Publish("Font");
    b.Integer("HotImageIndex", &C::HotImageIndex, &C::HotImageIndex).Default(-1)
        .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(-1)
        .Enum("Layout", &C::Layout, &C::Layout, ButtonLayoutInfo()).Default(blGlyphLeft)
        .Integer("Margin", &C::Margin, &C::Margin).Default(-1)
        .Integer("NumGlyphs", &C::NumGlyphs, &C::NumGlyphs).Default(1);
    Pub(b, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu"});
    b.Integer("PressedImageIndex", &C::PressedImageIndex, &C::PressedImageIndex).Default(-1)
        .Integer("SelectedImageIndex", &C::SelectedImageIndex, &C::SelectedImageIndex).Default(-1);
    b.Publish("ShowHint");
    b.Integer("Spacing", &C::Spacing, &C::Spacing).Default(4)
        .Boolean("Transparent", &C::Transparent, &C::Transparent).Default(true);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseEnter",
            "OnMouseLeave", "OnMouseMove", "OnMouseUp"});
    return b.Build();
  }();
  return info;
}

// ---- labeled edits ---------------------------------------------------------------------------

const ClassInfo& TBoundLabel::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TBoundLabel> b("TBoundLabel");
    // Its edit places it.
    b.Publish("Left").NotStored();
    b.Publish("Top").NotStored();
    Pub(b, {"AutoSize", "BiDiMode", "Caption", "Color", "DragCursor", "DragKind", "DragMode", "Font",
            "Layout", "ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowAccelChar", "ShowHint", "Transparent", "WordWrap", "StyleElements", "OnClick",
            "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
            "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnMouseEnter", "OnMouseLeave", "OnStartDock",
            "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TCustomLabeledEdit::TCustomLabeledEdit(TComponent* owner) : TCustomEdit(owner) {}

const ClassInfo& TCustomLabeledEdit::StaticClass() {
  using C = TCustomLabeledEdit;
  static const ClassInfo info = ClassBuilder<C>("TCustomLabeledEdit")
      .Protected()
      .Object("EditLabel", &C::EditLabel)
      .Enum("LabelPosition", &C::LabelPosition, &C::LabelPosition, LabelPositionInfo()).Default(lpAbove)
      .Integer("LabelSpacing", &C::LabelSpacing, &C::LabelSpacing).Default(3)
      .Build();
  return info;
}

const ClassInfo& TLabeledEdit::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TLabeledEdit> b("TLabeledEdit");
    Pub(b, {"Alignment", "Anchors", "AutoSelect"});
    b.Publish("AutoSize").Default(true);
    Pub(b, {"BevelEdges", "BevelInner", "BevelKind", "BevelOuter", "BiDiMode", "BorderStyle",
            "CharCase"});
    b.Publish("Color").Default(clWindow);
    Pub(b, {"Constraints", "Ctl3D", "DoubleBuffered", "DragCursor", "DragKind", "DragMode",
            "EditLabel", "Enabled", "Font", "HideSelection", "LabelPosition", "LabelSpacing",
            "MaxLength", "NumbersOnly", "OEMConvert", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PasswordChar",
            "PopupMenu", "ReadOnly", "ShowHint", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Text", "TextHint", "Visible", "StyleElements", "OnChange", "OnClick", "OnContextPopup",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
            "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- scroll boxes, check list boxes ----------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  SetBounds(0, 0, 185, 41);
  SetTabStop(false);
}

const ClassInfo& TScrollBox::StaticClass() {
  using C = TScrollBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TScrollBox");
    Pub(b, {"Align", "Anchors", "AutoScroll", "AutoSize", "BevelEdges", "BevelInner", "BevelOuter",
            "BevelKind", "BevelWidth", "BiDiMode"});
    b.Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_);
    Pub(b, {"Constraints", "DockSite", "DoubleBuffered", "DragCursor", "DragKind", "DragMode",
            "Enabled", "Color", "Ctl3D", "Font", "Padding", "ParentBiDiMode", "ParentBackground",
            "ParentColor", "ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint",
            "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible", "StyleElements",
            "OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup", "OnDblClick",
            "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
            "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

TCheckBoxState TCheckListBox::State(int index) const {
  if (index < 0 || index >= Items()->Count()) return cbUnchecked;
  return static_cast<std::size_t>(index) < states_.size() ? states_[static_cast<std::size_t>(index)]
                                                          : cbUnchecked;
}

void TCheckListBox::SetState(int index, TCheckBoxState state) {
  if (index < 0 || index >= Items()->Count()) return;
  if (states_.size() <= static_cast<std::size_t>(index)) states_.resize(static_cast<std::size_t>(index) + 1, cbUnchecked);
  states_[static_cast<std::size_t>(index)] = state;
}

const ClassInfo& TCheckListBox::StaticClass() {
  using C = TCheckListBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCheckListBox");
    b.Event("OnClickCheck", &C::OnClickCheck);
    b.Publish("Align");
    b.Boolean("AllowGrayed", &C::AllowGrayed, &C::AllowGrayed).Default(false);
    Pub(b, {"Anchors", "AutoComplete", "BevelEdges", "BevelInner", "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"BevelWidth", "BiDiMode", "BorderStyle", "Color", "Columns", "Constraints", "Ctl3D",
            "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Boolean("Flat", &C::Flat, &C::Flat).Default(true);
    b.Publish("Font");
    b.Integer("HeaderColor", &C::HeaderColor, &C::HeaderColor).Idents(ColorIdents()).Default(clInfoText)
        .Integer("HeaderBackgroundColor", &C::HeaderBackgroundColor, &C::HeaderBackgroundColor)
        .Idents(ColorIdents()).Default(clInfoBk);
    Pub(b, {"IntegralHeight", "ItemHeight", "Items", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ScrollWidth", "ShowHint", "Sorted", "Style", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"TabWidth", "Visible", "StyleElements", "OnClick", "OnContextPopup", "OnData",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnDrawItem", "OnEndDock", "OnEndDrag",
            "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMeasureItem",
            "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- filter and colour combo boxes -----------------------------------------------------------

TFilterComboBox::TFilterComboBox(TComponent* owner) : TCustomComboBox(owner) {
  Style = csDropDownList;
  SetFilter(kDefaultFilter);
}

void TFilterComboBox::SetFilter(const std::string& v) {
  filter_ = v;
  masks_.clear();
  Items()->BeginUpdate();
  Items()->Clear();
  // `description|mask|description|mask...`; a description without mask gets none.
  std::string_view rest = filter_;
  while (!rest.empty()) {
    auto bar = rest.find('|');
    std::string_view desc = rest.substr(0, bar);
    std::string_view mask;
    if (bar == std::string_view::npos) {
      rest = {};
    } else {
      rest = rest.substr(bar + 1);
      auto bar2 = rest.find('|');
      mask = rest.substr(0, bar2);
      rest = bar2 == std::string_view::npos ? std::string_view{} : rest.substr(bar2 + 1);
    }
    Items()->Add(std::string(desc));
    masks_.emplace_back(mask);
  }
  Items()->EndUpdate();
  if (ItemIndex() >= Items()->Count()) SetItemIndex(Items()->Count() > 0 ? 0 : -1);
}

std::string TFilterComboBox::Mask(int index) const {
  if (index == -1) index = ItemIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= masks_.size()) return "*.*";
  return masks_[static_cast<std::size_t>(index)];
}

void TFilterComboBox::SetFileList(TComponent* v) {
  fileList_ = v;
  if (v) FreeNotification(v);
}

void TFilterComboBox::Notification(TComponent* component, TOperation operation) {
  TCustomComboBox::Notification(component, operation);
  if (operation == opRemove && component == fileList_) fileList_ = nullptr;
}

const ClassInfo& TFilterComboBox::StaticClass() {
  using C = TFilterComboBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TFilterComboBox");
    Pub(b, {"Anchors", "AutoComplete", "AutoDropDown", "Color", "Constraints", "Ctl3D", "DragMode",
            "DragCursor", "Enabled"});
    b.Reference("FileList", &C::FileList, &C::SetFileList, "TFileListBox");
    b.String("Filter", &C::Filter, &C::SetFilter).Stored(&C::IsFilterStored);
    Pub(b, {"Font", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowHint", "TabOrder", "TabStop", "Visible", "StyleElements", "OnChange", "OnClick",
            "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnDropDown", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDock",
            "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TColorBox::TColorBox(TComponent* owner) : TCustomComboBox(owner) { Style = csOwnerDrawFixed; }

const ClassInfo& TColorBox::StaticClass() {
  using C = TColorBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TColorBox");
    b.Integer("DefaultColorColor", &C::DefaultColorColor, &C::DefaultColorColor).Idents(ColorIdents())
        .Default(clBlack)
        .Integer("NoneColorColor", &C::NoneColorColor, &C::NoneColorColor).Idents(ColorIdents())
        .Default(clBlack)
        .Integer("Selected", &C::Selected, &C::Selected).Idents(ColorIdents()).Default(clBlack)
        .Set("Style", &C::ColorStyle, &C::ColorStyle, ColorBoxStylesInfo())
        .Default(TColorBoxStyle{cbStandardColors, cbExtendedColors, cbSystemColors});
    Pub(b, {"Align", "AutoComplete", "AutoDropDown", "Anchors", "BevelEdges", "BevelInner",
            "BevelKind", "BevelOuter", "BiDiMode", "Color", "Constraints", "Ctl3D", "DropDownCount",
            "Enabled", "Font", "ItemHeight", "ParentBiDiMode", "ParentColor", "ParentCtl3D",
            "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
            "Visible", "StyleElements", "OnChange", "OnCloseUp", "OnClick", "OnContextPopup",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnDropDown", "OnEndDock", "OnEndDrag",
            "OnEnter", "OnExit"});
    b.Event("OnGetColors", &C::OnGetColors);
    Pub(b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseEnter", "OnMouseLeave", "OnSelect",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

const ClassInfo& TApplicationEvents::StaticClass() {
  using C = TApplicationEvents;
  static const ClassInfo info = ClassBuilder<C>("TApplicationEvents")
      .Event("OnActionExecute", &C::OnActionExecute)
      .Event("OnActionUpdate", &C::OnActionUpdate)
      .Event("OnActivate", &C::OnActivate)
      .Event("OnDeactivate", &C::OnDeactivate)
      .Event("OnException", &C::OnException)
      .Event("OnHelp", &C::OnHelp)
      .Event("OnHint", &C::OnHint)
      .Event("OnIdle", &C::OnIdle)
      .Event("OnMessage", &C::OnMessage)
      .Event("OnMinimize", &C::OnMinimize)
      .Event("OnModalBegin", &C::OnModalBegin)
      .Event("OnModalEnd", &C::OnModalEnd)
      .Event("OnRestore", &C::OnRestore)
      .Event("OnSettingChange", &C::OnSettingChange)
      .Event("OnShortCut", &C::OnShortCut)
      .Event("OnShowHint", &C::OnShowHint)
      .Build();
  return info;
}

void RegisterExtCtrls() {
  RegisterClasses({&TPanel::StaticClass(), &TRadioGroup::StaticClass(), &TPage::StaticClass(),
                   &TTabPage::StaticClass(), &TNotebook::StaticClass(), &TTabbedNotebook::StaticClass(),
                   &THeader::StaticClass(), &TTabSet::StaticClass(), &TImage::StaticClass(),
                   &TPaintBox::StaticClass(), &TBevel::StaticClass(), &TShape::StaticClass(), &TSplitter::StaticClass(),
                   &TTimer::StaticClass(), &TImageList::StaticClass(), &TBitBtn::StaticClass(),
                   &TSpeedButton::StaticClass(), &TLabeledEdit::StaticClass(), &TScrollBox::StaticClass(),
                   &TCheckListBox::StaticClass(), &TFilterComboBox::StaticClass(),
                   &TColorBox::StaticClass(), &TApplicationEvents::StaticClass()});
}

}  // namespace vorlect::host
