// Menus: main and pop-up menus and their items. Items nest in form files and form a tree; the
// menu's Items is the unnamed root item.
#pragma once

#include "host/framework/controls/StockCommon.h"

#include <memory>
#include <string>
#include <vector>

namespace vorlect::host {

class TMenu;

class TMenuItem : public TComponent {
  VORLECT_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; NotifyChanged(); }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool AutoCheck = false;
  int AutoHotkeys = 2;  // maParent
  int AutoLineReduction = 2;  // maParent
  bool Checked = false;
  bool Default = false;
  bool Enabled = true;
  int GroupIndex = 0;
  int HelpContext = 0;
  int ImageIndex = -1;
  bool RadioItem = false;
  int ShortCut = 0;  // key code with modifier bits, as files store it
  bool Visible = true;
  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* a);

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  // The menu whose tree holds this item, or null.
  TMenu* GetParentMenu() const;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;
  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnAdvancedDrawItem, OnClick, OnDrawItem, OnMeasureItem;

private:
  friend class TMenu;
  std::string caption_, hint_;
  TBasicAction* action_ = nullptr;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
  VORLECT_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() const { return items_; }
  int AutoHotkeys = 0;  // maAutomatic
  int AutoLineReduction = 0;
  bool OwnerDraw = false;
  TBiDiMode BiDiMode = bdLeftToRight;
  bool ParentBiDiMode = true;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v);
  void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChange;

private:
  TMenuItem* items_;  // owned by this menu
  TComponent* images_ = nullptr;
};

class TMainMenu : public TMenu {
  VORLECT_CLASS(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  bool AutoMerge = false;
};

class TPopupMenu : public TMenu {
  VORLECT_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  TAlignment Alignment = taLeftJustify;
  bool AutoPopup = true;
  int HelpContext = 0;
  int MenuAnimation = 0;
  int TrackButton = 1;  // tbRightButton
  TNotifyEvent OnClose, OnPopup;
};

void RegisterMenus();

}  // namespace vorlect::host
