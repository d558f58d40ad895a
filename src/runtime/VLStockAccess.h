// Typed access to the stock controls where their texts are not published properties: tree
// nodes, list-view items, the selected item of combo boxes. Components of other classes give
// nothing (a count of 0, an empty text).
#pragma once

#include "host/framework/Classes.h"

#include <string>

namespace vorlect::runtime::stock {

// -1 when the component has no selection index.
int ItemIndex(host::TComponent* component);
void SetItemIndex(host::TComponent* component, int index);

bool IsMaskEdit(const host::TComponent* component);

// The sort type of a tree or list view; -1 for other components.
int SortType(host::TComponent* component);
void SetSortType(host::TComponent* component, int sortType);

// Tree nodes by absolute index (the order of the whole tree, parents before their children).
int TreeNodeCount(host::TComponent* component);
std::string TreeNodeText(host::TComponent* component, int index);
void SetTreeNodeText(host::TComponent* component, int index, const std::string& text);

int ListItemCount(host::TComponent* component);
std::string ListItemCaption(host::TComponent* component, int index);
void SetListItemCaption(host::TComponent* component, int index, const std::string& text);
host::TStrings* ListItemSubItems(host::TComponent* component, int index);

}  // namespace vorlect::runtime::stock
