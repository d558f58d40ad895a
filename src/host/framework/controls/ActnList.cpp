#include "host/framework/controls/ActnList.h"

namespace vorlect::host {

const EnumInfo& ActionListStateInfo() {
  static const EnumInfo info{"TActionListState", {"asNormal", "asSuspended", "asSuspendedEnabled"}};
  return info;
}

void TContainedAction::SetCategory(const std::string& v) { category_ = v; }

TCustomActionList* TContainedAction::ActionList() const {
  return dynamic_cast<TCustomActionList*>(GetParentComponent());
}

void TContainedAction::SetActionList(TCustomActionList* list) { SetParentComponent(list); }

int TContainedAction::Index() const {
  TCustomActionList* list = ActionList();
  if (!list) return -1;
  for (int i = 0; i < list->ActionCount(); ++i)
    if (list->Actions(i) == this) return i;
  return -1;
}

const ClassInfo& TContainedAction::StaticClass() {
  using C = TContainedAction;
  static const ClassInfo info = ClassBuilder<C>("TContainedAction")
      .String("Category", &C::Category, &C::SetCategory)
      .Build();
  return info;
}

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

const ClassInfo& TCustomAction::StaticClass() {
  using C = TCustomAction;
  static const ClassInfo info = ClassBuilder<C>("TCustomAction")
      .Protected()
      .Boolean("AutoCheck", &C::AutoCheck, &C::AutoCheck).Default(false)
      .String("Caption", &C::Caption, &C::SetCaption)
      .Boolean("Checked", &C::Checked, &C::SetChecked).Default(false)
      .Boolean("Enabled", &C::Enabled, &C::SetEnabled).Default(true)
      .Integer("GroupIndex", &C::GroupIndex, &C::GroupIndex).Default(0)
      .Integer("HelpContext", &C::HelpContext, &C::SetHelpContext).Default(0)
      .String("HelpKeyword", &C::HelpKeyword, &C::HelpKeyword)
      .Enum("HelpType", &C::HelpType, &C::HelpType, HelpTypeInfo()).Default(htContext)
      .String("Hint", &C::Hint, &C::SetHint)
      .Integer("ImageIndex", &C::ImageIndex, &C::SetImageIndex).Default(-1)
      .String("ImageName", &C::ImageName, &C::ImageName)
      .Object("SecondaryShortCuts", &C::SecondaryShortCuts, &C::SetSecondaryShortCuts)
      .Integer("ShortCut", &C::ShortCut, &C::SetShortCut).Default(0)
      .Boolean("Visible", &C::Visible, &C::SetVisible).Default(true)
      .Event("OnHint", &C::OnHint)
      .Build();
  return info;
}

const ClassInfo& TAction::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TAction> b("TAction");
    Pub(b, {"AutoCheck", "Caption", "Checked", "Enabled", "GroupIndex", "HelpContext", "HelpKeyword",
            "HelpType", "Hint", "ImageIndex", "ImageName", "SecondaryShortCuts", "ShortCut",
            "Visible", "OnExecute", "OnHint", "OnUpdate"});
    return b.Build();
  }();
  return info;
}

int TCustomActionList::ActionCount() const {
  int n = 0;
  for (TComponent* c : ChildComponents())
    if (dynamic_cast<TContainedAction*>(c)) ++n;
  return n;
}

TContainedAction* TCustomActionList::Actions(int index) const {
  int n = 0;
  for (TComponent* c : ChildComponents())
    if (auto* a = dynamic_cast<TContainedAction*>(c))
      if (n++ == index) return a;
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TCustomActionList::SetImages(TComponent* v) {
  images_ = v;
  if (v) FreeNotification(v);
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

const ClassInfo& TCustomActionList::StaticClass() {
  using C = TCustomActionList;
  static const ClassInfo info = ClassBuilder<C>("TCustomActionList")
      .Protected()
      .Reference("Images", &C::Images, &C::SetImages)
      .Enum("State", &C::State, &C::State, ActionListStateInfo()).Default(asNormal)
      .Event("OnChange", &C::OnChange)
      .Event("OnExecute", &C::OnExecute)
      .Event("OnStateChange", &C::OnStateChange)
      .Event("OnUpdate", &C::OnUpdate)
      .Build();
  return info;
}

const ClassInfo& TActionList::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TActionList> b("TActionList");
    Pub(b, {"Images", "State", "OnChange", "OnExecute", "OnStateChange", "OnUpdate"});
    return b.Build();
  }();
  return info;
}

void RegisterActnList() {
  RegisterClasses({&TAction::StaticClass(), &TActionList::StaticClass()});
}

}  // namespace vorlect::host
