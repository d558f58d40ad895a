#include "host/framework/Controls.h"

#include <algorithm>

namespace vorlect::host {

const EnumInfo& AlignInfo() {
  static const EnumInfo info{"TAlign",
                             {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
  return info;
}
const EnumInfo& AnchorKindInfo() {
  static const EnumInfo info{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
  return info;
}
const EnumInfo& HelpTypeInfo() {
  static const EnumInfo info{"THelpType", {"htKeyword", "htContext"}};
  return info;
}
const EnumInfo& BiDiModeInfo() {
  static const EnumInfo info{"TBiDiMode",
                             {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                              "bdRightToLeftReadingOnly"}};
  return info;
}
const EnumInfo& DragKindInfo() {
  static const EnumInfo info{"TDragKind", {"dkDrag", "dkDock"}};
  return info;
}
const EnumInfo& DragModeInfo() {
  static const EnumInfo info{"TDragMode", {"dmManual", "dmAutomatic"}};
  return info;
}
const EnumInfo& StyleElementInfo() {
  static const EnumInfo info{"TStyleElement", {"seFont", "seClient", "seBorder"}};
  return info;
}
const EnumInfo& PositionInfo() {
  static const EnumInfo info{"TPosition",
                             {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                              "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                              "poOwnerFormCenter"}};
  return info;
}
const EnumInfo& FormBorderStyleInfo() {
  static const EnumInfo info{"TFormBorderStyle",
                             {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                              "bsSizeToolWin"}};
  return info;
}
const EnumInfo& BorderIconInfo() {
  static const EnumInfo info{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
  return info;
}
const EnumInfo& FormStyleInfo() {
  static const EnumInfo info{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
  return info;
}
const EnumInfo& WindowStateInfo() {
  static const EnumInfo info{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
  return info;
}

const IdentMap& CursorIdents() {
  static const IdentMap map{"TCursor",
                            {{crDefault, "crDefault"},     {crArrow, "crArrow"},
                             {crCross, "crCross"},         {crIBeam, "crIBeam"},
                             {crSizeNESW, "crSizeNESW"},   {crSizeNS, "crSizeNS"},
                             {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
                             {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"},
                             {crDrag, "crDrag"},           {crNoDrop, "crNoDrop"},
                             {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
                             {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},
                             {crNo, "crNo"},               {crAppStart, "crAppStart"},
                             {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
                             {crSizeAll, "crSizeAll"},     {crNone, "crNone"},
                             {crSize, "crSize"}}};
  return map;
}

const EnumInfo& BevelCutInfo() {
  static const EnumInfo info{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return info;
}
const EnumInfo& BevelKindInfo() {
  static const EnumInfo info{"TBevelKind", {"bkNone", "bkTile", "bkSoft", "bkFlat"}};
  return info;
}
const EnumInfo& BevelEdgeInfo() {
  static const EnumInfo info{"TBevelEdge", {"beLeft", "beTop", "beRight", "beBottom"}};
  return info;
}

// ---- margins, padding, constraints -----------------------------------------------------------

void TMargins::Assign(const TPersistent& source) {
  if (auto* m = dynamic_cast<const TMargins*>(&source)) {
    left_ = m->left_;
    top_ = m->top_;
    right_ = m->right_;
    bottom_ = m->bottom_;
    return;
  }
  TPersistent::Assign(source);
}

const ClassInfo& TMargins::StaticClass() {
  using C = TMargins;
  static const ClassInfo info = ClassBuilder<C>("TMargins")
                                    .Integer("Left", &C::Left, &C::SetLeft).Default(3)
                                    .Integer("Top", &C::Top, &C::SetTop).Default(3)
                                    .Integer("Right", &C::Right, &C::SetRight).Default(3)
                                    .Integer("Bottom", &C::Bottom, &C::SetBottom).Default(3)
                                    .Build();
  return info;
}

const ClassInfo& TPadding::StaticClass() {
  static const ClassInfo info = ClassBuilder<TPadding>("TPadding")
                                    .Publish("Left").Default(0)
                                    .Publish("Top").Default(0)
                                    .Publish("Right").Default(0)
                                    .Publish("Bottom").Default(0)
                                    .Build();
  return info;
}

void TSizeConstraints::Assign(const TPersistent& source) {
  if (auto* c = dynamic_cast<const TSizeConstraints*>(&source)) {
    MaxHeight = c->MaxHeight;
    MaxWidth = c->MaxWidth;
    MinHeight = c->MinHeight;
    MinWidth = c->MinWidth;
    return;
  }
  TPersistent::Assign(source);
}

const ClassInfo& TSizeConstraints::StaticClass() {
  using C = TSizeConstraints;
  static const ClassInfo info = ClassBuilder<C>("TSizeConstraints")
                                    .Integer("MaxHeight", &C::MaxHeight, &C::MaxHeight).Default(0)
                                    .Integer("MaxWidth", &C::MaxWidth, &C::MaxWidth).Default(0)
                                    .Integer("MinHeight", &C::MinHeight, &C::MinHeight).Default(0)
                                    .Integer("MinWidth", &C::MinWidth, &C::MinWidth).Default(0)
                                    .Build();
  return info;
}

// ---- TControl --------------------------------------------------------------------------------

const ClassInfo& TControl::StaticClass() {
  using C = TControl;
  static const ClassInfo info =
      ClassBuilder<C>("TControl")
          .Boolean("AlignWithMargins", &C::AlignWithMargins, &C::SetAlignWithMargins).Default(false)
          .Integer("Left", &C::Left, &C::SetLeft)
          .Integer("Top", &C::Top, &C::SetTop)
          .Integer("Width", &C::Width, &C::SetWidth)
          .Integer("Height", &C::Height, &C::SetHeight)
          .Integer("Cursor", &C::Cursor, &C::SetCursor).Idents(CursorIdents()).Default(crDefault)
          .String("Hint", &C::Hint, &C::SetHint).Stored(&C::IsHintStored)
          .Enum("HelpType", &C::HelpType, &C::SetHelpType, HelpTypeInfo()).Default(htContext)
          .String("HelpKeyword", &C::HelpKeyword, &C::SetHelpKeyword).Stored(&C::IsHelpContextStored)
          .Integer("HelpContext", &C::HelpContext, &C::SetHelpContext).Default(0)
          .Stored(&C::IsHelpContextStored)
          .Object("Margins", &C::Margins, &C::SetMargins)
          .Reference("CustomHint", &C::CustomHint, &C::SetCustomHint, "TCustomHint")
          .Boolean("ParentCustomHint", &C::ParentCustomHint, &C::SetParentCustomHint).Default(true)
          .Protected()
          .Reference("Action", &C::Action, &C::SetAction)
          .Enum("Align", &C::Align, &C::SetAlign, AlignInfo()).Default(alNone)
          .Set("Anchors", &C::Anchors, &C::SetAnchors, AnchorKindInfo()).Default(TAnchors{akLeft, akTop})
          .Boolean("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(false)
          .Enum("BiDiMode", &C::BiDiMode, &C::SetBiDiMode, BiDiModeInfo()).Stored(&C::IsBiDiModeStored)
          .String("Caption", &C::Caption, &C::SetCaption).Stored(&C::IsCaptionStored)
          .Integer("Color", &C::Color, &C::SetColor).Idents(ColorIdents()).Default(clWindow)
          .Stored(&C::IsColorStored)
          .Object("Constraints", &C::Constraints, &C::SetConstraints)
          .Integer("DragCursor", &C::DragCursor, &C::SetDragCursor).Idents(CursorIdents()).Default(crDrag)
          .Enum("DragKind", &C::DragKind, &C::SetDragKind, DragKindInfo()).Default(dkDrag)
          .Enum("DragMode", &C::DragMode, &C::SetDragMode, DragModeInfo()).Default(dmManual)
          .Boolean("Enabled", &C::Enabled, &C::SetEnabled).Default(true).Stored(&C::IsEnabledStored)
          .Object("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored)
          .Boolean("ParentBiDiMode", &C::ParentBiDiMode, &C::SetParentBiDiMode).Default(true)
          .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor).Default(true)
          .Boolean("ParentFont", &C::ParentFont, &C::SetParentFont).Default(true)
          .Boolean("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint).Default(true)
          .Reference("PopupMenu", &C::PopupMenu, &C::SetPopupMenu, "TPopupMenu")
          .Boolean("ShowHint", &C::ShowHint, &C::SetShowHint).Stored(&C::IsShowHintStored)
          .Set("StyleElements", &C::StyleElements, &C::SetStyleElements, StyleElementInfo())
          .Default(TStyleElements{seFont, seClient, seBorder})
          .String("Text", &C::Text, &C::SetText)
          .Boolean("Visible", &C::Visible, &C::SetVisible).Default(true).Stored(&C::IsVisibleStored)
          .Event("OnCanResize", &C::OnCanResize)
          .Event("OnClick", &C::OnClick)
          .Event("OnConstrainedResize", &C::OnConstrainedResize)
          .Event("OnContextPopup", &C::OnContextPopup)
          .Event("OnDblClick", &C::OnDblClick)
          .Event("OnDragDrop", &C::OnDragDrop)
          .Event("OnDragOver", &C::OnDragOver)
          .Event("OnEndDock", &C::OnEndDock)
          .Event("OnEndDrag", &C::OnEndDrag)
          .Event("OnMouseDown", &C::OnMouseDown)
          .Event("OnMouseEnter", &C::OnMouseEnter)
          .Event("OnMouseLeave", &C::OnMouseLeave)
          .Event("OnMouseMove", &C::OnMouseMove)
          .Event("OnMouseUp", &C::OnMouseUp)
          .Event("OnResize", &C::OnResize)
          .Event("OnStartDock", &C::OnStartDock)
          .Event("OnStartDrag", &C::OnStartDrag)
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  if (action_) action_->UnRegisterChanges(this);
  if (parent_) parent_->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_ ? parent_ : TComponent::GetParentComponent();
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
  else AttachToParentComponent(parent);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) {
    AttachToParentComponent(parent);
    return;
  }
  for (TControl* p = parent; p; p = p->parent_)
    if (p == this) throw EComponentError("A control cannot have itself or a child as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  AttachToParentComponent(parent);
  if (parentFont_) TakeParentFont();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  NotifyChanged();
}

void TControl::SetText(const std::string& v) {
  text_ = v;
  NotifyChanged();
}

void TControl::SetFont(TFont* font) {
  if (font) font_->Assign(*font);
}

void TControl::FontChanged() {
  if (!takingParentFont_) parentFont_ = false;
  if (auto* container = dynamic_cast<TWinControl*>(this))
    for (int i = 0; i < container->ControlCount(); ++i)
      if (TControl* child = container->Controls(i); child->parentFont_) child->TakeParentFont();
  NotifyChanged();
}

void TControl::TakeParentFont() {
  if (!parent_) return;
  takingParentFont_ = true;
  try {
    font_->Assign(*parent_->Font());
  } catch (...) {
    takingParentFont_ = false;
    throw;
  }
  takingParentFont_ = false;
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && !InState(csLoading)) TakeParentFont();
}

void TControl::SetAction(TBasicAction* action) {
  if (action == action_) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = action;
  if (action) {
    action->RegisterChanges(this);
    FreeNotification(action);
    ActionChange(action, action->InState(csLoading));
  }
}

namespace {

// An action's property as a control would take it, whether the action publishes it or not.
const PropInfo* ActionProp(const TBasicAction& action, std::string_view name, TypeKind kind) {
  const PropInfo* p = action.ClassType().FindDeclared(name);
  return p && p->kind == kind ? p : nullptr;
}

}  // namespace

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
  if (!sender) return;
  if (auto* p = ActionProp(*sender, "Caption", TypeKind::String))
    if (!checkDefaults || text_.empty() || text_ == Name()) SetCaption(p->getString(*sender));
  if (auto* p = ActionProp(*sender, "Enabled", TypeKind::Boolean))
    if (!checkDefaults || enabled_) SetEnabled(p->getOrdinal(*sender) != 0);
  if (auto* p = ActionProp(*sender, "Hint", TypeKind::String))
    if (!checkDefaults || hint_.empty()) SetHint(p->getString(*sender));
  if (auto* p = ActionProp(*sender, "Visible", TypeKind::Boolean))
    if (!checkDefaults || visible_) SetVisible(p->getOrdinal(*sender) != 0);
  if (auto* p = ActionProp(*sender, "HelpContext", TypeKind::Integer))
    if (!checkDefaults || helpContext_ == 0) helpContext_ = static_cast<int>(p->getOrdinal(*sender));
}

void TControl::SetCustomHint(TComponent* hint) {
  customHint_ = hint;
  if (hint) FreeNotification(hint);
}

void TControl::SetPopupMenu(TComponent* menu) {
  popupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

namespace {

// Whether the control's value is what its action supplies (then the action stores it).
template <class Get>
bool LinkedTo(const TBasicAction* action, std::string_view name, TypeKind kind, Get own) {
  if (!action) return false;
  const PropInfo* p = ActionProp(*action, name, kind);
  if (!p) return false;
  if constexpr (std::is_same_v<decltype(own()), std::string>) return p->getString(*action) == own();
  else return p->getOrdinal(*action) == static_cast<std::int64_t>(own());
}

}  // namespace

bool TControl::IsCaptionStored() const {
  return !LinkedTo(action_, "Caption", TypeKind::String, [this] { return text_; });
}
bool TControl::IsHintStored() const {
  return !LinkedTo(action_, "Hint", TypeKind::String, [this] { return hint_; });
}
bool TControl::IsEnabledStored() const {
  return !LinkedTo(action_, "Enabled", TypeKind::Boolean, [this] { return enabled_ ? 1 : 0; });
}
bool TControl::IsVisibleStored() const {
  return !LinkedTo(action_, "Visible", TypeKind::Boolean, [this] { return visible_ ? 1 : 0; });
}
bool TControl::IsHelpContextStored() const {
  return !LinkedTo(action_, "HelpContext", TypeKind::Integer, [this] { return helpContext_; });
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove) {
    if (component == action_) SetAction(nullptr);
    if (component == popupMenu_) popupMenu_ = nullptr;
    if (component == customHint_) customHint_ = nullptr;
  }
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (action_) ActionChange(action_, true);
  if (parentFont_) TakeParentFont();
}

// ---- TWinControl -----------------------------------------------------------------------------

const ClassInfo& TWinControl::StaticClass() {
  using C = TWinControl;
  static const ClassInfo info =
      ClassBuilder<C>("TWinControl")
          .Protected()
          .Set("BevelEdges", &C::BevelEdges, &C::SetBevelEdges, BevelEdgeInfo())
          .Default(TBevelEdges{beLeft, beTop, beRight, beBottom})
          .Enum("BevelInner", &C::BevelInner, &C::SetBevelInner, BevelCutInfo()).Default(bvRaised)
          .Enum("BevelOuter", &C::BevelOuter, &C::SetBevelOuter, BevelCutInfo()).Default(bvLowered)
          .Enum("BevelKind", &C::BevelKind, &C::SetBevelKind, BevelKindInfo()).Default(bkNone)
          .Integer("BevelWidth", &C::BevelWidth, &C::SetBevelWidth).Default(1)
          .Integer("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0)
          .Boolean("Ctl3D", &C::Ctl3D, &C::SetCtl3D).Stored(&C::IsCtl3DStored)
          .Boolean("DockSite", &C::DockSite, &C::SetDockSite).Default(false)
          .Boolean("DoubleBuffered", &C::DoubleBuffered, &C::SetDoubleBuffered)
          .Stored(&C::IsDoubleBufferedStored)
          .Object("Padding", &C::Padding, &C::SetPadding)
          .Boolean("ParentBackground", &C::ParentBackground, &C::SetParentBackground).Default(true)
          .Boolean("ParentCtl3D", &C::ParentCtl3D, &C::SetParentCtl3D).Default(true)
          .Boolean("ParentDoubleBuffered", &C::ParentDoubleBuffered, &C::SetParentDoubleBuffered)
          .Default(true)
          .Integer("TabOrder", &C::TabOrder, &C::SetTabOrder).Default(-1)
          .Boolean("TabStop", &C::TabStop, &C::SetTabStop).Default(false)
          .Boolean("UseDockManager", &C::UseDockManager, &C::SetUseDockManager).Default(false)
          .Event("OnDockDrop", &C::OnDockDrop)
          .Event("OnDockOver", &C::OnDockOver)
          .Event("OnEnter", &C::OnEnter)
          .Event("OnExit", &C::OnExit)
          .Event("OnGetSiteInfo", &C::OnGetSiteInfo)
          .Event("OnKeyDown", &C::OnKeyDown)
          .Event("OnKeyPress", &C::OnKeyPress)
          .Event("OnKeyUp", &C::OnKeyUp)
          .Event("OnUnDock", &C::OnUnDock)
          .Build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return controls_[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (; control; control = control->Parent())
    if (control == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->parent_ == this) return;
  if (control->parent_) control->parent_->RemoveControl(control);
  controls_.push_back(control);
  control->parent_ = this;
}

void TWinControl::RemoveControl(TControl* control) {
  if (!control || control->parent_ != this) return;
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end()) controls_.erase(it);
  control->parent_ = nullptr;
}

const ClassInfo& TGraphicControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TGraphicControl>("TGraphicControl").Build();
  return info;
}

const ClassInfo& TCustomControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCustomControl>("TCustomControl").Build();
  return info;
}

const ClassInfo& TScrollingWinControl::StaticClass() {
  using C = TScrollingWinControl;
  static const ClassInfo info = ClassBuilder<C>("TScrollingWinControl")
                                    .Protected()
                                    .Boolean("AutoScroll", &C::AutoScroll, &C::SetAutoScroll)
                                    .Default(true)
                                    .Build();
  return info;
}

// ---- forms -----------------------------------------------------------------------------------

namespace {

std::optional<formfile::Value> WriteInt(int value, const formfile::Value* original) {
  if (original && original->isInteger() && original->integer == value) return *original;
  return formfile::Value::Integer(value);
}

}  // namespace

const ClassInfo& TCustomForm::StaticClass() {
  using C = TCustomForm;
  static const ClassInfo info =
      ClassBuilder<C>("TCustomForm")
          .Protected()
          .Reference("ActiveControl", &C::ActiveControl, &C::SetActiveControl)
          .Set("BorderIcons", &C::BorderIcons, &C::SetBorderIcons, BorderIconInfo())
          .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
          .Enum("BorderStyle", &C::BorderStyle, &C::SetBorderStyle, FormBorderStyleInfo())
          .Default(bsSizeable)
          .Integer("ClientHeight", &C::ClientHeight, &C::SetClientHeight).Stored(&C::IsClientSizeStored)
          .Integer("ClientWidth", &C::ClientWidth, &C::SetClientWidth).Stored(&C::IsClientSizeStored)
          .Enum("FormStyle", &C::FormStyle, &C::SetFormStyle, FormStyleInfo()).Default(fsNormal)
          .String("HelpFile", &C::HelpFile, &C::SetHelpFile)
          .Boolean("KeyPreview", &C::KeyPreview, &C::SetKeyPreview).Default(false)
          .Reference("Menu", &C::Menu, &C::SetMenu, "TMainMenu")
          .Boolean("OldCreateOrder", &C::OldCreateOrder, &C::SetOldCreateOrder)
          .Integer("PixelsPerInch", &C::PixelsPerInch, &C::SetPixelsPerInch).NotStored()
          .Enum("Position", &C::Position, &C::SetPosition, PositionInfo()).Default(poDefaultPosOnly)
          .Boolean("Scaled", &C::Scaled, &C::SetScaled).Default(true)
          .Enum("WindowState", &C::WindowState, &C::SetWindowState, WindowStateInfo()).Default(wsNormal)
          .Event("OnActivate", &C::OnActivate)
          .Event("OnClose", &C::OnClose)
          .Event("OnCloseQuery", &C::OnCloseQuery)
          .Event("OnCreate", &C::OnCreate)
          .Event("OnDeactivate", &C::OnDeactivate)
          .Event("OnDestroy", &C::OnDestroy)
          .Event("OnHelp", &C::OnHelp)
          .Event("OnHide", &C::OnHide)
          .Event("OnPaint", &C::OnPaint)
          .Event("OnShortCut", &C::OnShortCut)
          .Event("OnShow", &C::OnShow)
          // Streamed by the form itself, after the published properties.
          .Define(
              "PixelsPerInch",
              [](C& f, const formfile::Value& v, const FilerContext&) {
                if (!v.isInteger()) return false;
                f.SetPixelsPerInch(static_cast<int>(v.integer));
                return true;
              },
              [](const C& f, const formfile::Value* original, const FilerContext&) {
                return WriteInt(f.PixelsPerInch(), original);
              })
          .Define(
              "TextHeight",
              [](C& f, const formfile::Value& v, const FilerContext&) {
                if (!v.isInteger()) return false;
                f.SetTextHeight(static_cast<int>(v.integer));
                return true;
              },
              [](const C& f, const formfile::Value* original, const FilerContext&) {
                return WriteInt(f.TextHeight(), original);
              })
          .Build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  SetColor(clBtnFace);
  SetParentFont(false);
  SetVisible(false);
}

void TCustomForm::SetPixelsPerInch(int v) {
  pixelsPerInch_ = v;
  if (v > 0) Font()->PixelsPerInch = v;
}

void TCustomForm::SetMenu(TComponent* menu) {
  menu_ = menu;
  if (menu) FreeNotification(menu);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control) FreeNotification(control);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TScrollingWinControl::Notification(component, operation);
  if (operation == opRemove) {
    if (component == menu_) menu_ = nullptr;
    if (component == activeControl_) activeControl_ = nullptr;
  }
}

const ClassInfo& TForm::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TForm>("TForm")
          .Publish("Left").Publish("Top")
          .Publish("Width").Stored(&TForm::IsFormSizeStored)
          .Publish("Height").Stored(&TForm::IsFormSizeStored)
          .Publish("Action")
          .Publish("ActiveControl")
          .Publish("Align")
          .Publish("Anchors")
          .Publish("AutoScroll")
          .Publish("AutoSize")
          .Publish("BiDiMode")
          .Publish("BorderIcons")
          .Publish("BorderStyle")
          .Publish("BorderWidth")
          .Publish("Caption")
          .Publish("ClientHeight")
          .Publish("ClientWidth")
          .Publish("Color").Default(clBtnFace)
          .Publish("Ctl3D")
          .Publish("UseDockManager")
          .Publish("DockSite")
          .Publish("DoubleBuffered")
          .Publish("DragKind")
          .Publish("DragMode")
          .Publish("Enabled")
          .Publish("ParentFont").Default(false)
          .Publish("Font")
          .Publish("FormStyle")
          .Publish("HelpFile")
          .Publish("KeyPreview")
          .Publish("Menu")
          .Publish("OldCreateOrder")
          .Publish("ParentBiDiMode")
          .Publish("PixelsPerInch")
          .Publish("PopupMenu")
          .Publish("Position")
          .Publish("Scaled")
          .Publish("ShowHint")
          .Publish("StyleElements")
          .Publish("Visible").Default(false)
          .Publish("WindowState")
          .Publish("OnActivate")
          .Publish("OnCanResize")
          .Publish("OnClick")
          .Publish("OnClose")
          .Publish("OnCloseQuery")
          .Publish("OnConstrainedResize")
          .Publish("OnContextPopup")
          .Publish("OnCreate")
          .Publish("OnDblClick")
          .Publish("OnDestroy")
          .Publish("OnDeactivate")
          .Publish("OnDockDrop")
          .Publish("OnDockOver")
          .Publish("OnDragDrop")
          .Publish("OnDragOver")
          .Publish("OnEndDock")
          .Publish("OnGetSiteInfo")
          .Publish("OnHide")
          .Publish("OnHelp")
          .Publish("OnKeyDown")
          .Publish("OnKeyPress")
          .Publish("OnKeyUp")
          .Publish("OnMouseDown")
          .Publish("OnMouseEnter")
          .Publish("OnMouseLeave")
          .Publish("OnMouseMove")
          .Publish("OnMouseUp")
          .Publish("OnPaint")
          .Publish("OnResize")
          .Publish("OnShortCut")
          .Publish("OnShow")
          .Publish("OnStartDock")
          .Publish("OnUnDock")
          .Build();
  return info;
}

const ClassInfo& TCustomFrame::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCustomFrame>("TCustomFrame").Build();
  return info;
}

TCustomFrame::TCustomFrame(TComponent* owner) : TScrollingWinControl(owner) {}

const ClassInfo& TFrame::StaticClass() {
  static const ClassInfo info = ClassBuilder<TFrame>("TFrame")
                                    .Publish("Align")
                                    .Publish("Anchors")
                                    .Publish("AutoScroll")
                                    .Publish("AutoSize")
                                    .Publish("BiDiMode")
                                    .Publish("DockSite")
                                    .Publish("DragCursor")
                                    .Publish("DragKind")
                                    .Publish("DragMode")
                                    .Publish("Enabled")
                                    .Publish("Color").NoDefault()
                                    .Publish("Ctl3D")
                                    .Publish("Font")
                                    .Publish("ParentBackground")
                                    .Publish("ParentBiDiMode")
                                    .Publish("ParentColor")
                                    .Publish("ParentCtl3D")
                                    .Publish("ParentDoubleBuffered")
                                    .Publish("ParentFont")
                                    .Publish("ParentShowHint")
                                    .Publish("PopupMenu")
                                    .Publish("ShowHint")
                                    .Publish("TabOrder")
                                    .Publish("TabStop")
                                    .Publish("Visible")
                                    .Publish("StyleElements")
                                    .Publish("OnCanResize")
                                    .Publish("OnClick")
                                    .Publish("OnConstrainedResize")
                                    .Publish("OnContextPopup")
                                    .Publish("OnDblClick")
                                    .Publish("OnDockDrop")
                                    .Publish("OnDockOver")
                                    .Publish("OnDragDrop")
                                    .Publish("OnDragOver")
                                    .Publish("OnEndDock")
                                    .Publish("OnEndDrag")
                                    .Publish("OnEnter")
                                    .Publish("OnExit")
                                    .Publish("OnGetSiteInfo")
                                    .Publish("OnMouseDown")
                                    .Publish("OnMouseEnter")
                                    .Publish("OnMouseLeave")
                                    .Publish("OnMouseMove")
                                    .Publish("OnMouseUp")
                                    .Publish("OnResize")
                                    .Publish("OnStartDock")
                                    .Publish("OnStartDrag")
                                    .Publish("OnUnDock")
                                    .Build();
  return info;
}

const ClassInfo& TDataModule::StaticClass() {
  using C = TDataModule;
  static const ClassInfo info = ClassBuilder<C>("TDataModule")
                                    .Boolean("OldCreateOrder", &C::OldCreateOrder, &C::SetOldCreateOrder)
                                    .Event("OnCreate", &C::OnCreate)
                                    .Event("OnDestroy", &C::OnDestroy)
                                    .Build();
  return info;
}

// ---- actions ---------------------------------------------------------------------------------

const ClassInfo& TBasicAction::StaticClass() {
  using C = TBasicAction;
  static const ClassInfo info = ClassBuilder<C>("TBasicAction")
                                    .Protected()
                                    .Event("OnExecute", &C::OnExecute)
                                    .Event("OnUpdate", &C::OnUpdate)
                                    .Build();
  return info;
}

TBasicAction::~TBasicAction() {
  // The clients' links go first: they must not call back into a half-destroyed action.
  for (TControl* c : clients_) c->action_ = nullptr;
  clients_.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::Change() {
  OnChange(this);
  for (TControl* c : std::vector<TControl*>(clients_)) c->ActionChange(this, false);
}

void TBasicAction::RegisterChanges(TControl* client) {
  if (client && std::find(clients_.begin(), clients_.end(), client) == clients_.end())
    clients_.push_back(client);
}

void TBasicAction::UnRegisterChanges(TControl* client) {
  auto it = std::find(clients_.begin(), clients_.end(), client);
  if (it != clients_.end()) clients_.erase(it);
}

// ---- stand-ins -------------------------------------------------------------------------------

const ClassInfo& TUnknownComponent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TUnknownComponent>("TUnknownComponent").Build();
  return info;
}

const ClassInfo& TUnknownControl::StaticClass() {
  static const ClassInfo info = ClassBuilder<TUnknownControl>("TUnknownControl").Build();
  return info;
}

void RegisterCoreClasses() {
  RegisterClasses({&TForm::StaticClass(), &TFrame::StaticClass(), &TDataModule::StaticClass()});
}

}  // namespace vorlect::host
