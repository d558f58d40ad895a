#include "runtime/VLStockAccess.h"

#include "host/framework/TypInfo.h"
#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/StdCtrls.h"

namespace vorlect::runtime::stock {

namespace {

bool DescendsFrom(const host::TComponent* component, std::string_view className) {
  for (const host::ClassInfo* cls = &component->ClassType(); cls; cls = cls->Parent())
    if (host::SameText(cls->Name(), className)) return true;
  return false;
}

}  // namespace

int ItemIndex(host::TComponent* component) {
  if (auto* combo = dynamic_cast<host::TCustomComboBox*>(component)) return combo->ItemIndex();
  if (auto* list = dynamic_cast<host::TCustomListBox*>(component)) return list->ItemIndex();
  if (host::IsPublishedProp(*component, "ItemIndex"))
    return static_cast<int>(host::GetOrdProp(*component, "ItemIndex"));
  return -1;
}

void SetItemIndex(host::TComponent* component, int index) {
  if (auto* combo = dynamic_cast<host::TCustomComboBox*>(component)) return combo->SetItemIndex(index);
  if (auto* list = dynamic_cast<host::TCustomListBox*>(component)) return list->SetItemIndex(index);
  if (host::IsPublishedProp(*component, "ItemIndex")) host::SetOrdProp(*component, "ItemIndex", index);
}

bool IsMaskEdit(const host::TComponent* component) { return DescendsFrom(component, "TMaskEdit"); }

namespace {

host::TTreeNode* Node(host::TComponent* component, int index) {
  auto* tree = dynamic_cast<host::TCustomTreeView*>(component);
  if (!tree || index < 0 || index >= tree->Items()->Count()) return nullptr;
  return tree->Items()->Item(index);
}

host::TListItem* Item(host::TComponent* component, int index) {
  auto* view = dynamic_cast<host::TCustomListView*>(component);
  if (!view || index < 0 || index >= view->Items()->Count()) return nullptr;
  return view->Items()->Item(index);
}

}  // namespace

int SortType(host::TComponent* component) {
  if (auto* tree = dynamic_cast<host::TCustomTreeView*>(component)) return tree->SortType;
  if (auto* view = dynamic_cast<host::TCustomListView*>(component)) return view->SortType;
  return -1;
}

void SetSortType(host::TComponent* component, int sortType) {
  if (auto* tree = dynamic_cast<host::TCustomTreeView*>(component))
    tree->SortType = static_cast<host::TSortType>(sortType);
  else if (auto* view = dynamic_cast<host::TCustomListView*>(component))
    view->SortType = static_cast<host::TSortType>(sortType);
}

int TreeNodeCount(host::TComponent* component) {
  auto* tree = dynamic_cast<host::TCustomTreeView*>(component);
  return tree ? tree->Items()->Count() : 0;
}

std::string TreeNodeText(host::TComponent* component, int index) {
  host::TTreeNode* node = Node(component, index);
  return node ? node->Text() : std::string();
}

void SetTreeNodeText(host::TComponent* component, int index, const std::string& text) {
  if (host::TTreeNode* node = Node(component, index)) node->SetText(text);
}

int ListItemCount(host::TComponent* component) {
  auto* view = dynamic_cast<host::TCustomListView*>(component);
  return view ? view->Items()->Count() : 0;
}

std::string ListItemCaption(host::TComponent* component, int index) {
  host::TListItem* item = Item(component, index);
  return item ? item->Caption() : std::string();
}

void SetListItemCaption(host::TComponent* component, int index, const std::string& text) {
  if (host::TListItem* item = Item(component, index)) item->SetCaption(text);
}

host::TStrings* ListItemSubItems(host::TComponent* component, int index) {
  host::TListItem* item = Item(component, index);
  return item ? item->SubItems() : nullptr;
}

}  // namespace vorlect::runtime::stock
