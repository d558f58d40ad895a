#include "host/framework/controls/StdCtrls.h"

namespace vorlect::host {

const EnumInfo& ButtonStyleInfo() {
  static const EnumInfo info{"TButtonStyle", {"bsPushButton", "bsCommandLink", "bsSplitButton"}};
  return info;
}
const EnumInfo& ImageAlignmentInfo() {
  static const EnumInfo info{"TImageAlignment", {"iaLeft", "iaRight", "iaTop", "iaBottom", "iaCenter"}};
  return info;
}
const EnumInfo& CheckBoxStateInfo() {
  static const EnumInfo info{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};
  return info;
}
const EnumInfo& LeftRightInfo() {
  static const EnumInfo info{"TLeftRight", {"taLeftJustify", "taRightJustify"}};
  return info;
}
const EnumInfo& ListBoxStyleInfo() {
  static const EnumInfo info{"TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable",
                                               "lbVirtual", "lbVirtualOwnerDraw"}};
  return info;
}
const EnumInfo& ComboBoxStyleInfo() {
  static const EnumInfo info{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                                "csOwnerDrawFixed", "csOwnerDrawVariable"}};
  return info;
}
const EnumInfo& StaticBorderStyleInfo() {
  static const EnumInfo info{"TStaticBorderStyle", {"sbsNone", "sbsSingle", "sbsSunken"}};
  return info;
}

// ---- labels ----------------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetAutoSize(true);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetFocusControl(TWinControl* c) {
  focusControl_ = c;
  if (c) FreeNotification(c);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

const ClassInfo& TCustomLabel::StaticClass() {
  using C = TCustomLabel;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomLabel");
    b.Protected()
        .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
        .Integer("EllipsisPosition", &C::EllipsisPosition, &C::EllipsisPosition).Default(0)
        .Reference("FocusControl", &C::FocusControl, &C::SetFocusControl)
        .Integer("GlowSize", &C::GlowSize, &C::GlowSize).Default(0)
        .Enum("Layout", &C::Layout, &C::Layout, TextLayoutInfo()).Default(tlTop)
        .Boolean("ShowAccelChar", &C::ShowAccelChar, &C::ShowAccelChar).Default(true)
        .Boolean("Transparent", &C::Transparent, &C::Transparent).Default(false)
        .Boolean("WordWrap", &C::WordWrap, &C::WordWrap).Default(false);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TLabel::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TLabel> b("TLabel");
    Pub(b, {"Align", "Alignment", "Anchors"});
    b.Publish("AutoSize").Default(true);
    Pub(b, {"BiDiMode", "Caption"});
    b.Publish("Color").NoDefault();
    Pub(b, {"Constraints", "DragCursor", "DragKind", "DragMode", "EllipsisPosition", "Enabled",
            "FocusControl", "Font", "GlowSize", "ParentBiDiMode", "ParentColor", "ParentFont",
            "ParentShowHint", "PopupMenu", "ShowAccelChar", "ShowHint", "Transparent", "Layout",
            "Visible", "WordWrap", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick",
            "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove",
            "OnMouseUp", "OnMouseEnter", "OnMouseLeave", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- buttons ---------------------------------------------------------------------------------

const ClassInfo& TButtonControl::StaticClass() {
  using C = TButtonControl;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TButtonControl");
    b.Protected().Boolean("WordWrap", &C::WordWrap, &C::WordWrap).Default(false);
    return b.Build();
  }();
  return info;
}

TCustomButton::TCustomButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TCustomButton::Notification(TComponent* component, TOperation operation) {
  TButtonControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) images_ = nullptr;
  if (component == dropDownMenu_) dropDownMenu_ = nullptr;
}

const ClassInfo& TCustomButton::StaticClass() {
  using C = TCustomButton;
  static const ClassInfo info = ClassBuilder<C>("TCustomButton")
      .Protected()
      .Boolean("Cancel", &C::Cancel, &C::Cancel).Default(false)
      .String("CommandLinkHint", &C::CommandLinkHint, &C::CommandLinkHint)
      .Boolean("Default", &C::Default, &C::Default).Default(false)
      .Integer("DisabledImageIndex", &C::DisabledImageIndex, &C::DisabledImageIndex).Default(-1)
      .Reference("DropDownMenu", &C::DropDownMenu, &C::SetDropDownMenu, "TPopupMenu")
      .Boolean("ElevationRequired", &C::ElevationRequired, &C::ElevationRequired).Default(false)
      .Integer("HotImageIndex", &C::HotImageIndex, &C::HotImageIndex).Default(-1)
      .Enum("ImageAlignment", &C::ImageAlignment, &C::ImageAlignment, ImageAlignmentInfo()).Default(iaLeft)
      .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(-1)
      .Reference("Images", &C::Images, &C::SetImages)
      .Integer("ModalResult", &C::ModalResult, &C::ModalResult).Default(0)
      .Integer("PressedImageIndex", &C::PressedImageIndex, &C::PressedImageIndex).Default(-1)
      .Integer("SelectedImageIndex", &C::SelectedImageIndex, &C::SelectedImageIndex).Default(-1)
      .Enum("Style", &C::Style, &C::Style, ButtonStyleInfo()).Default(bsPushButton)
      .Event("OnDropDownClick", &C::OnDropDownClick)
      .Build();
  return info;
}

const ClassInfo& TButton::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TButton> b("TButton");
    Pub(b, {"Action", "Align", "Anchors", "BiDiMode", "Cancel", "Caption", "CommandLinkHint",
            "Constraints", "Default", "DisabledImageIndex", "DoubleBuffered", "DragCursor",
            "DragKind", "DragMode", "DropDownMenu", "ElevationRequired", "Enabled", "Font",
            "HotImageIndex", "ImageAlignment", "ImageIndex", "Images", "ModalResult",
            "ParentBiDiMode", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "PressedImageIndex", "SelectedImageIndex", "ShowHint", "Style", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "WordWrap", "StyleElements", "OnClick", "OnContextPopup", "OnDragDrop",
            "OnDragOver", "OnDropDownClick", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
            "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- check boxes and radio buttons -----------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

const ClassInfo& TCustomCheckBox::StaticClass() {
  using C = TCustomCheckBox;
  static const ClassInfo info = ClassBuilder<C>("TCustomCheckBox")
      .Protected()
      .Enum("Alignment", &C::Alignment, &C::Alignment, LeftRightInfo()).Default(1)
      .Boolean("AllowGrayed", &C::AllowGrayed, &C::AllowGrayed).Default(false)
      .Boolean("Checked", &C::Checked, &C::SetChecked).Default(false).Stored(&C::IsCheckedStored)
      .Enum("State", &C::State, &C::SetState, CheckBoxStateInfo()).Default(cbUnchecked)
      .Build();
  return info;
}

const ClassInfo& TCheckBox::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TCheckBox> b("TCheckBox");
    Pub(b, {"Action", "Align", "Alignment", "AllowGrayed", "Anchors", "BiDiMode", "Caption",
            "Checked", "Color", "Constraints", "Ctl3D", "DoubleBuffered", "DragCursor", "DragKind",
            "DragMode", "Enabled", "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D",
            "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
            "State", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "WordWrap", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick",
            "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
            "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove",
            "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

const ClassInfo& TRadioButton::StaticClass() {
  using C = TRadioButton;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TRadioButton");
    b.Publish("Action").Publish("Align");
    b.Enum("Alignment", &C::Alignment, &C::Alignment, LeftRightInfo()).Default(1);
    Pub(b, {"Anchors", "BiDiMode", "Caption"});
    b.Boolean("Checked", &C::Checked, &C::Checked).Default(false);
    Pub(b, {"Color", "Constraints", "Ctl3D", "DoubleBuffered", "DragCursor", "DragKind", "DragMode",
            "Enabled", "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentDoubleBuffered",
            "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop",
            "Visible", "WordWrap", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick",
            "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
            "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove",
            "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- edits -----------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
}

const ClassInfo& TCustomEdit::StaticClass() {
  using C = TCustomEdit;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomEdit");
    b.Protected()
        .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
        .Boolean("AutoSelect", &C::AutoSelect, &C::AutoSelect).Default(true)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_)
        .Enum("CharCase", &C::CharCase, &C::CharCase, EditCharCaseInfo()).Default(ecNormal)
        .Boolean("HideSelection", &C::HideSelection, &C::HideSelection).Default(true)
        .Integer("MaxLength", &C::MaxLength, &C::MaxLength).Default(0)
        .Boolean("NumbersOnly", &C::NumbersOnly, &C::NumbersOnly).Default(false)
        .Boolean("OEMConvert", &C::OEMConvert, &C::OEMConvert).Default(false)
        .Char("PasswordChar", &C::PasswordChar, &C::PasswordChar).Default(0)
        .Boolean("ReadOnly", &C::ReadOnly, &C::SetReadOnly).Default(false)
        .String("TextHint", &C::TextHint, &C::TextHint)
        .Event("OnChange", &C::OnChange);
    return b.Build();
  }();
  return info;
}

namespace {

// TEdit's and TMaskEdit's published list (the masked edit adds EditMask before Enabled).
template <class C>
void PublishEdit(ClassBuilder<C>& b, bool mask) {
  Pub(b, {"Align", "Alignment", "Anchors", "AutoSelect"});
  b.Publish("AutoSize").Default(true);
  Pub(b, {"BevelEdges", "BevelInner", "BevelKind"});
  b.Publish("BevelOuter").Default(bvLowered);
  Pub(b, {"BevelWidth", "BiDiMode", "BorderStyle", "CharCase"});
  b.Publish("Color").Default(clWindow);
  Pub(b, {"Constraints", "Ctl3D", "DoubleBuffered", "DragCursor", "DragKind", "DragMode"});
  if (mask) b.Publish("EditMask");
  Pub(b, {"Enabled", "Font", "HideSelection", "MaxLength"});
  if (!mask) b.Publish("NumbersOnly");
  Pub(b, {"OEMConvert", "ParentBiDiMode"});
  b.Publish("ParentColor").Default(false);
  Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PasswordChar",
          "PopupMenu", "ReadOnly", "ShowHint", "TabOrder"});
  b.Publish("TabStop").Default(true);
  Pub(b, {"Text", "TextHint", "Visible", "StyleElements", "OnChange", "OnClick", "OnContextPopup",
          "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
          "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

}  // namespace

const ClassInfo& TEdit::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TEdit> b("TEdit");
    PublishEdit(b, false);
    return b.Build();
  }();
  return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  ReportChanges(*lines_, *this);
  SetBounds(0, 0, 185, 89);
  SetAutoSize(false);
}

// Text and Lines are one content.
void TCustomMemo::SetText(const std::string& v) {
  TCustomEdit::SetText(v);
  lines_->SetText(v);
}

const ClassInfo& TCustomMemo::StaticClass() {
  using C = TCustomMemo;
  static const ClassInfo info = ClassBuilder<C>("TCustomMemo")
      .Protected()
      .Object("Lines", &C::Lines, &C::SetLines)
      .Enum("ScrollBars", &C::ScrollBars, &C::ScrollBars, ScrollStyleInfo()).Default(ssNone)
      .Boolean("WantReturns", &C::WantReturns, &C::WantReturns).Default(true)
      .Boolean("WantTabs", &C::WantTabs, &C::WantTabs).Default(false)
      .Boolean("WordWrap", &C::WordWrap, &C::WordWrap).Default(true)
      .Build();
  return info;
}

const ClassInfo& TMemo::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TMemo> b("TMemo");
    Pub(b, {"Align", "Alignment", "Anchors", "BevelEdges", "BevelInner", "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"BiDiMode", "BorderStyle", "CharCase", "Color", "Constraints", "Ctl3D",
            "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "Font",
            "HideSelection", "Lines", "MaxLength", "OEMConvert", "ParentBiDiMode", "ParentColor",
            "ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ReadOnly", "ScrollBars", "ShowHint", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"TextHint", "Visible", "WantReturns", "WantTabs", "WordWrap", "StyleElements",
            "OnChange", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
            "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
            "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- group boxes -----------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

const ClassInfo& TCustomGroupBox::StaticClass() {
  using C = TCustomGroupBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomGroupBox");
    b.Protected().Boolean("ShowFrame", &C::ShowFrame, &C::ShowFrame).Default(true);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TGroupBox::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TGroupBox> b("TGroupBox");
    Pub(b, {"Align", "Anchors", "BiDiMode", "Caption", "Color", "Constraints", "Ctl3D",
            "DockSite", "DoubleBuffered", "DragCursor", "DragKind", "DragMode",
            "Enabled", "Font", "Padding", "ParentBackground", "ParentBiDiMode",
            "ParentColor", "ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint",
            "PopupMenu", "ShowFrame", "ShowHint", "TabOrder", "TabStop", "Visible",
            "StyleElements", "OnClick", "OnContextPopup",
            "OnDblClick", "OnDragDrop", "OnDockDrop", "OnDockOver", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseEnter",
            "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

// ---- list and combo boxes --------------------------------------------------------------------

namespace {

// While loading, an index may name items that come later in the file: keep it as read.
int CheckedIndex(const TComponent& c, int index, int count) {
  if (c.InState(csLoading) || (index >= -1 && index < count)) return index;
  return -1;
}

}  // namespace

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner) {
  ReportChanges(*items_, *this);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
}

int TCustomListBox::ItemIndex() const { return itemIndex_; }
void TCustomListBox::SetItemIndex(int v) { itemIndex_ = CheckedIndex(*this, v, items_->Count()); }
void TCustomListBox::Loaded() { TWinControl::Loaded(); }

const ClassInfo& TCustomListBox::StaticClass() {
  using C = TCustomListBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomListBox");
    b.Protected()
        .Boolean("AutoComplete", &C::AutoComplete, &C::AutoComplete).Default(true)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_)
        .Integer("Columns", &C::Columns, &C::Columns).Default(0)
        .Boolean("ExtendedSelect", &C::ExtendedSelect, &C::ExtendedSelect).Default(true)
        .Boolean("IntegralHeight", &C::IntegralHeight, &C::IntegralHeight).Default(false)
        .Integer("ItemHeight", &C::ItemHeight, &C::ItemHeight).NoDefault()
        .Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex).Default(-1)
        .Object("Items", &C::Items, &C::SetItems)
        .Boolean("MultiSelect", &C::MultiSelect, &C::MultiSelect).Default(false)
        .Integer("ScrollWidth", &C::ScrollWidth, &C::ScrollWidth).Default(0)
        .Boolean("Sorted", &C::Sorted, &C::SetSorted).Default(false)
        .Enum("Style", &C::Style, &C::Style, ListBoxStyleInfo()).Default(lbStandard)
        .Integer("TabWidth", &C::TabWidth, &C::TabWidth).Default(0)
        .Event("OnData", &C::OnData)
        .Event("OnDrawItem", &C::OnDrawItem)
        .Event("OnMeasureItem", &C::OnMeasureItem);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TListBox::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TListBox> b("TListBox");
    Pub(b, {"Style", "AutoComplete", "Align", "Anchors", "BevelEdges", "BevelInner", "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"BevelWidth", "BiDiMode", "BorderStyle", "Color", "Columns", "Constraints", "Ctl3D",
            "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "ExtendedSelect",
            "Font", "IntegralHeight", "ItemHeight", "ItemIndex", "Items", "MultiSelect",
            "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ScrollWidth", "ShowHint", "Sorted", "TabOrder"});
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

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  ReportChanges(*items_, *this);
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
}

int TCustomComboBox::ItemIndex() const { return itemIndex_; }
void TCustomComboBox::SetItemIndex(int v) { itemIndex_ = CheckedIndex(*this, v, items_->Count()); }
void TCustomComboBox::Loaded() { TWinControl::Loaded(); }

const ClassInfo& TCustomComboBox::StaticClass() {
  using C = TCustomComboBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomComboBox");
    b.Protected()
        .Boolean("AutoCloseUp", &C::AutoCloseUp, &C::AutoCloseUp).Default(false)
        .Boolean("AutoComplete", &C::AutoComplete, &C::AutoComplete).Default(true)
        .Boolean("AutoDropDown", &C::AutoDropDown, &C::AutoDropDown).Default(false)
        .Enum("CharCase", &C::CharCase, &C::CharCase, EditCharCaseInfo()).Default(ecNormal)
        .Integer("DropDownCount", &C::DropDownCount, &C::DropDownCount).Default(8)
        .Integer("ItemHeight", &C::ItemHeight, &C::ItemHeight).NoDefault()
        .Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex).Default(-1)
        .Object("Items", &C::Items, &C::SetItems)
        .Integer("MaxLength", &C::MaxLength, &C::MaxLength).Default(0)
        .Boolean("Sorted", &C::Sorted, &C::SetSorted).Default(false)
        .Enum("Style", &C::Style, &C::Style, ComboBoxStyleInfo()).Default(csDropDown)
        .String("TextHint", &C::TextHint, &C::TextHint)
        .Event("OnChange", &C::OnChange)
        .Event("OnCloseUp", &C::OnCloseUp)
        .Event("OnDrawItem", &C::OnDrawItem)
        .Event("OnDropDown", &C::OnDropDown)
        .Event("OnMeasureItem", &C::OnMeasureItem)
        .Event("OnSelect", &C::OnSelect);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TComboBox::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TComboBox> b("TComboBox");
    Pub(b, {"Align", "AutoComplete", "AutoDropDown", "AutoCloseUp", "BevelEdges", "BevelInner",
            "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"Style", "Anchors", "BiDiMode", "CharCase", "Color", "Constraints", "Ctl3D",
            "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "DropDownCount", "Enabled",
            "Font", "ItemHeight", "ItemIndex", "MaxLength", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowHint", "Sorted", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Text", "TextHint", "Visible", "StyleElements", "OnChange", "OnClick", "OnCloseUp",
            "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnDrawItem", "OnDropDown",
            "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
            "OnMeasureItem", "OnMouseEnter", "OnMouseLeave", "OnSelect", "OnStartDock",
            "OnStartDrag",
            // The original publishes Items after the events.
            "Items"});
    return b.Build();
  }();
  return info;
}

// ---- scroll bars and static texts ------------------------------------------------------------

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 17);
  SetTabStop(true);
}

const ClassInfo& TScrollBar::StaticClass() {
  using C = TScrollBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TScrollBar");
    Pub(b, {"Align", "Anchors", "BiDiMode", "Constraints", "Ctl3D", "DoubleBuffered", "DragCursor",
            "DragKind", "DragMode", "Enabled"});
    b.Enum("Kind", &C::Kind, &C::Kind, ScrollBarKindInfo()).Default(sbHorizontal)
        .Integer("LargeChange", &C::LargeChange, &C::LargeChange).Default(1)
        .Integer("Max", &C::Max, &C::Max).Default(100)
        .Integer("Min", &C::Min, &C::Min).Default(0)
        .Integer("PageSize", &C::PageSize, &C::PageSize);
    Pub(b, {"ParentBiDiMode", "ParentCtl3D", "ParentDoubleBuffered", "ParentShowHint", "PopupMenu"});
    b.Integer("Position", &C::Position, &C::Position).Default(0);
    b.Publish("ShowHint");
    b.Integer("SmallChange", &C::SmallChange, &C::SmallChange).Default(1);
    b.Publish("TabOrder");
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "StyleElements", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
    b.Event("OnChange", &C::OnChange).Event("OnScroll", &C::OnScroll);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner) {
  SetAutoSize(true);
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::SetFocusControl(TWinControl* c) {
  focusControl_ = c;
  if (c) FreeNotification(c);
}

void TCustomStaticText::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

const ClassInfo& TCustomStaticText::StaticClass() {
  using C = TCustomStaticText;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomStaticText");
    b.Protected()
        .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, StaticBorderStyleInfo()).Default(sbsNone)
        .Reference("FocusControl", &C::FocusControl, &C::SetFocusControl)
        .Boolean("ShowAccelChar", &C::ShowAccelChar, &C::ShowAccelChar).Default(true)
        .Boolean("Transparent", &C::Transparent, &C::Transparent).Default(true);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TStaticText::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TStaticText> b("TStaticText");
    Pub(b, {"Align", "Alignment", "Anchors"});
    b.Publish("AutoSize").Default(true);
    Pub(b, {"BevelEdges", "BevelInner", "BevelKind", "BevelOuter", "BiDiMode", "BorderStyle",
            "Caption", "Color", "Constraints", "DoubleBuffered", "DragCursor", "DragKind",
            "DragMode", "Enabled", "FocusControl", "Font", "ParentBiDiMode", "ParentColor",
            "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu", "ShowAccelChar",
            "ShowHint", "TabOrder", "TabStop", "Transparent", "Visible", "StyleElements",
            "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- masked edits ----------------------------------------------------------------------------

const ClassInfo& TCustomMaskEdit::StaticClass() {
  using C = TCustomMaskEdit;
  static const ClassInfo info = ClassBuilder<C>("TCustomMaskEdit")
      .Protected()
      .String("EditMask", &C::EditMask, &C::EditMask)
      .Build();
  return info;
}

const ClassInfo& TMaskEdit::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TMaskEdit> b("TMaskEdit");
    PublishEdit(b, true);
    return b.Build();
  }();
  return info;
}

void RegisterStdCtrls() {
  RegisterClasses({&TLabel::StaticClass(), &TButton::StaticClass(), &TCheckBox::StaticClass(),
                   &TRadioButton::StaticClass(), &TEdit::StaticClass(), &TMemo::StaticClass(),
                   &TGroupBox::StaticClass(), &TListBox::StaticClass(), &TComboBox::StaticClass(),
                   &TScrollBar::StaticClass(), &TStaticText::StaticClass(), &TMaskEdit::StaticClass()});
}

}  // namespace vorlect::host
