// Actions and action lists. Actions are nested in their list in form files; controls reference
// them through their Action property and take Caption, Hint, Enabled... from them.
#pragma once

#include "host/framework/controls/StockCommon.h"

#include <memory>
#include <string>

namespace vorlect::host {

class TCustomActionList;

class TContainedAction : public TBasicAction {
  VORLECT_CLASS(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& v);
  // The list that holds the action (its parent in form files), or null.
  TCustomActionList* ActionList() const;
  void SetActionList(TCustomActionList* list);
  int Index() const;

private:
  std::string category_;
};

class TCustomAction : public TContainedAction {
  VORLECT_CLASS(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* owner);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; Change(); }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; Change(); }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; Change(); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; Change(); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; Change(); }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; Change(); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; Change(); }
  int ShortCut() const { return shortCut_; }  // key code with modifier bits, as files store it
  void SetShortCut(int v) { shortCut_ = v; Change(); }
  TStrings* SecondaryShortCuts() const { return secondaryShortCuts_.get(); }
  void SetSecondaryShortCuts(TStrings* v) { if (v) secondaryShortCuts_->Assign(*v); }
  bool AutoCheck = false;
  int GroupIndex = 0;
  std::string HelpKeyword;
  THelpType HelpType = htContext;
  std::string ImageName;
  TNotifyEvent OnHint;

private:
  std::string caption_, hint_;
  bool checked_ = false, enabled_ = true, visible_ = true;
  int helpContext_ = 0, imageIndex_ = -1, shortCut_ = 0;
  std::unique_ptr<TStringList> secondaryShortCuts_ = std::make_unique<TStringList>();
};

class TAction : public TCustomAction {
  VORLECT_CLASS(TAction, TCustomAction)
public:
  explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };
const EnumInfo& ActionListStateInfo();

class TCustomActionList : public TComponent {
  VORLECT_CLASS(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* owner) : TComponent(owner) {}
  // The actions in list order (those nested in the list in the file, then those added since).
  int ActionCount() const;
  TContainedAction* Actions(int index) const;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v);
  TActionListState State = asNormal;
  TNotifyEvent OnChange, OnExecute, OnStateChange, OnUpdate;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* images_ = nullptr;
};

class TActionList : public TCustomActionList {
  VORLECT_CLASS(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

void RegisterActnList();

}  // namespace vorlect::host
