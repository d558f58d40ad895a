#include "host/framework/controls/Menus.h"

#include <algorithm>

namespace vorlect::host {

namespace {

const EnumInfo& MenuAutoFlagInfo() {
  static const EnumInfo info{"TMenuAutoFlag", {"maAutomatic", "maManual", "maParent"}};
  return info;
}

const EnumInfo& TrackButtonInfo() {
  static const EnumInfo info{"TTrackButton", {"tbLeftButton", "tbRightButton"}};
  return info;
}

const EnumInfo& MenuAnimationInfo() {
  static const EnumInfo info{"TMenuAnimations",
                             {"maLeftToRight", "maRightToLeft", "maTopToBottom", "maBottomToTop", "maNone"}};
  return info;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  if (action_) RemoveFreeNotification(action_);
  // Sub-items stay with their owner; they only leave this tree.
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("Menu index out of range (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

int TMenuItem::MenuIndex() const {
  if (!parent_) return -1;
  auto it = std::find(parent_->items_.begin(), parent_->items_.end(), this);
  return static_cast<int>(it - parent_->items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  for (TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw EComponentError("A menu item cannot hold itself");
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  TComponent* nest = menu_ ? static_cast<TComponent*>(menu_) : this;
  item->AttachToParentComponent(nest);
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  item->AttachToParentComponent(nullptr);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* p = this;
  while (p->parent_) p = p->parent_;
  return p->menu_;
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  if (parent_) return parent_;
  return TComponent::GetParentComponent();
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) return menu->Items()->Add(this);
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) return item->Add(this);
  // Menus of classes we do not know still hold their items in the file.
  if (parent_) parent_->Remove(this);
  AttachToParentComponent(parent);
}

void TMenuItem::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
  for (TMenuItem* item : items_)
    if (item->Owner() == root || item->Owner() == this) children.push_back(item);
  // Whatever else was nested in the item in the file.
  for (TComponent* c : ChildComponents())
    if (!dynamic_cast<TMenuItem*>(c) && (c->Owner() == root || c->Owner() == this)) children.push_back(c);
}

void TMenuItem::SetAction(TBasicAction* a) {
  action_ = a;
  if (!a) return;
  FreeNotification(a);
  // Take what the action holds, as a control does.
  if (const PropInfo* p = a->ClassType().FindDeclared("Caption"); p && p->kind == TypeKind::String)
    if (caption_.empty()) caption_ = p->getString(*a);
  if (const PropInfo* p = a->ClassType().FindDeclared("Hint"); p && p->kind == TypeKind::String)
    if (hint_.empty()) hint_ = p->getString(*a);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == action_) action_ = nullptr;
}

namespace {

// A property the item's action supplies is stored by the action.
template <class Get>
bool FromAction(const TMenuItem& m, std::string_view name, Get own) {
  TBasicAction* a = m.Action();
  if (!a) return false;
  const PropInfo* p = a->ClassType().FindDeclared(name);
  if (!p) return false;
  if constexpr (std::is_same_v<decltype(own()), std::string>) return p->kind == TypeKind::String && p->getString(*a) == own();
  else return p->IsOrdinal() && p->getOrdinal(*a) == static_cast<std::int64_t>(own());
}

}  // namespace

const ClassInfo& TMenuItem::StaticClass() {
  using C = TMenuItem;
  static const ClassInfo info = ClassBuilder<C>("TMenuItem")
      .Reference("Action", &C::Action, &C::SetAction)
      .Boolean("AutoCheck", &C::AutoCheck, &C::AutoCheck).Default(false)
      .Enum("AutoHotkeys", &C::AutoHotkeys, &C::AutoHotkeys, MenuAutoFlagInfo()).Default(2)
      .Enum("AutoLineReduction", &C::AutoLineReduction, &C::AutoLineReduction, MenuAutoFlagInfo()).Default(2)
      .String("Caption", &C::Caption, &C::SetCaption)
      .Stored([](const C& m) { return !FromAction(m, "Caption", [&] { return m.Caption(); }); })
      .Boolean("Checked", &C::Checked, &C::Checked).Default(false)
      .Boolean("Default", &C::Default, &C::Default).Default(false)
      .Boolean("Enabled", &C::Enabled, &C::Enabled).Default(true)
      .Stored([](const C& m) { return !FromAction(m, "Enabled", [&] { return m.Enabled ? 1 : 0; }); })
      .Integer("GroupIndex", &C::GroupIndex, &C::GroupIndex).Default(0)
      .Integer("HelpContext", &C::HelpContext, &C::HelpContext).Default(0)
      .Stored([](const C& m) { return !FromAction(m, "HelpContext", [&] { return m.HelpContext; }); })
      .String("Hint", &C::Hint, &C::SetHint)
      .Stored([](const C& m) { return !FromAction(m, "Hint", [&] { return m.Hint(); }); })
      .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(-1)
      .Stored([](const C& m) { return !FromAction(m, "ImageIndex", [&] { return m.ImageIndex; }); })
      .Boolean("RadioItem", &C::RadioItem, &C::RadioItem).Default(false)
      .Integer("ShortCut", &C::ShortCut, &C::ShortCut).Default(0)
      .Stored([](const C& m) { return !FromAction(m, "ShortCut", [&] { return m.ShortCut; }); })
      .Boolean("Visible", &C::Visible, &C::Visible).Default(true)
      .Stored([](const C& m) { return !FromAction(m, "Visible", [&] { return m.Visible ? 1 : 0; }); })
      .Event("OnClick", &C::OnClick)
      .Event("OnDrawItem", &C::OnDrawItem)
      .Event("OnAdvancedDrawItem", &C::OnAdvancedDrawItem)
      .Event("OnMeasureItem", &C::OnMeasureItem)
      .Build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // The items nested in the root item belong to the form; they just leave the tree.
  while (items_->Count() > 0) items_->Remove(items_->Items(items_->Count() - 1));
}

void TMenu::SetImages(TComponent* v) {
  images_ = v;
  if (v) FreeNotification(v);
}

void TMenu::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
  items_->GetChildren(children, root);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

const ClassInfo& TMenu::StaticClass() {
  using C = TMenu;
  static const ClassInfo info = ClassBuilder<C>("TMenu")
      .Protected()
      .Enum("AutoHotkeys", &C::AutoHotkeys, &C::AutoHotkeys, MenuAutoFlagInfo()).Default(0)
      .Enum("AutoLineReduction", &C::AutoLineReduction, &C::AutoLineReduction, MenuAutoFlagInfo()).Default(0)
      .Enum("BiDiMode", &C::BiDiMode, &C::BiDiMode, BiDiModeInfo()).Default(bdLeftToRight)
      .Reference("Images", &C::Images, &C::SetImages)
      .Object("Items", &C::Items).NotStored()
      .Boolean("OwnerDraw", &C::OwnerDraw, &C::OwnerDraw).Default(false)
      .Boolean("ParentBiDiMode", &C::ParentBiDiMode, &C::ParentBiDiMode).Default(true)
      .Event("OnChange", &C::OnChange)
      .Build();
  return info;
}

const ClassInfo& TMainMenu::StaticClass() {
  using C = TMainMenu;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TMainMenu");
    Pub(b, {"AutoHotkeys", "AutoLineReduction"});
    b.Boolean("AutoMerge", &C::AutoMerge, &C::AutoMerge).Default(false);
    Pub(b, {"BiDiMode", "Images", "Items", "OwnerDraw", "ParentBiDiMode", "OnChange"});
    return b.Build();
  }();
  return info;
}

const ClassInfo& TPopupMenu::StaticClass() {
  using C = TPopupMenu;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TPopupMenu");
    b.Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify);
    Pub(b, {"AutoHotkeys", "AutoLineReduction"});
    b.Boolean("AutoPopup", &C::AutoPopup, &C::AutoPopup).Default(true);
    b.Publish("BiDiMode");
    b.Integer("HelpContext", &C::HelpContext, &C::HelpContext).Default(0);
    Pub(b, {"Images", "Items"});
    b.Set("MenuAnimation", &C::MenuAnimation, &C::MenuAnimation, MenuAnimationInfo());
    Pub(b, {"OwnerDraw", "ParentBiDiMode"});
    b.Enum("TrackButton", &C::TrackButton, &C::TrackButton, TrackButtonInfo()).Default(1);
    b.Publish("OnChange");
    b.Event("OnClose", &C::OnClose).Event("OnPopup", &C::OnPopup);
    return b.Build();
  }();
  return info;
}

void RegisterMenus() {
  RegisterClasses({&TMenuItem::StaticClass(), &TMainMenu::StaticClass(), &TPopupMenu::StaticClass()});
}

}  // namespace vorlect::host
