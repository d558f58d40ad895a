#include "host/framework/controls/ComCtrls.h"

#include "host/framework/controls/TreeListData.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <stdexcept>

namespace vorlect::host {

const EnumInfo& SortTypeInfo() {
  static const EnumInfo info{"TSortType", {"stNone", "stData", "stText", "stBoth"}};
  return info;
}
const EnumInfo& ViewStyleInfo() {
  static const EnumInfo info{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
  return info;
}
const EnumInfo& StatusPanelStyleInfo() {
  static const EnumInfo info{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};
  return info;
}
const EnumInfo& StatusPanelBevelInfo() {
  static const EnumInfo info{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
  return info;
}
const EnumInfo& HeaderSectionStyleInfo() {
  static const EnumInfo info{"THeaderSectionStyle", {"hsText", "hsOwnerDraw"}};
  return info;
}
const EnumInfo& HeaderStyleInfo() {
  static const EnumInfo info{"THeaderStyle", {"hsButtons", "hsFlat"}};
  return info;
}
const EnumInfo& TabPositionInfo() {
  static const EnumInfo info{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};
  return info;
}
const EnumInfo& TabStyleInfo() {
  static const EnumInfo info{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
  return info;
}
const EnumInfo& ToolButtonStyleInfo() {
  static const EnumInfo info{"TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator",
                                                  "tbsDivider", "tbsTextButton"}};
  return info;
}

namespace {

// Small enumerations no C++ code looks at, held for the program's life (class declarations
// point at them); each is made once, while its class's type information is built.
const EnumInfo& Names(const char* type, std::initializer_list<const char*> names) {
  static std::deque<EnumInfo> store;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  EnumInfo& info = store.emplace_back();
  info.typeName = type;
  for (const char* n : names) info.names.emplace_back(n);
  return info;
}

void ClearIf(TComponent*& ref, TComponent* removed) {
  if (ref == removed) ref = nullptr;
}

// A Unicode text of node or item data as an 8-bit text, remembering the original.
std::string FromWide(const std::u16string& units, const FilerContext& context, formfile::Value& original) {
  original = formfile::Value{};
  original.type = formfile::ValueType::WString;
  original.wide = units;
  std::string text;
  ValueToAnsi(original, context.codePage, text);
  return text;
}

// The units to store for an 8-bit text: the original while it still means the same text.
std::u16string ToWide(const std::string& text, const formfile::Value& original, const FilerContext& context) {
  formfile::Value unicode;
  unicode.type = formfile::ValueType::WString;
  const formfile::Value* o = original.isWideString() ? &original : &unicode;
  formfile::Value v = AnsiToValue(text, o, context);
  if (v.isWideString()) return v.unicodeText();
  return platform::DecodeCodePage(v.bytes, context.codePage);
}

formfile::Value BinaryValue(std::string bytes) {
  formfile::Value v;
  v.type = formfile::ValueType::Binary;
  v.bytes = std::move(bytes);
  return v;
}

}  // namespace

// ---- TTreeNode / TTreeNodes ------------------------------------------------------------------

const ClassInfo& TTreeNode::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTreeNode>("TTreeNode").Build();
  return info;
}

void TTreeNode::SetText(const std::string& v) {
  text_ = v;
  if (owner_ && owner_->Owner()) owner_->Owner()->NotifyChanged();
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError("Tree node index out of bounds (" + std::to_string(index) + ")");
  return children_[static_cast<std::size_t>(index)].get();
}

int TTreeNode::Index() const {
  const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

int TTreeNode::AbsoluteIndex() const {
  owner_->Flatten();
  return absoluteIndex_;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

TTreeNode* TTreeNode::GetNext() const {
  int i = AbsoluteIndex();
  return i + 1 < owner_->Count() ? owner_->Item(i + 1) : nullptr;
}

const ClassInfo& TTreeNodes::StaticClass() {
  using C = TTreeNodes;
  static const ClassInfo info =
      ClassBuilder<C>("TTreeNodes")
          .Define(
              "Data", [](C& n, const formfile::Value& v, const FilerContext& c) { return n.ReadData(v, false, c); },
              [](const C& n, const formfile::Value*, const FilerContext& c) { return n.WriteData(false, c); })
          .Define(
              "NodeData", [](C& n, const formfile::Value& v, const FilerContext& c) { return n.ReadData(v, true, c); },
              [](const C& n, const formfile::Value*, const FilerContext& c) { return n.WriteData(true, c); })
          .Build();
  return info;
}

void TTreeNodes::Flatten() const {
  if (flatValid_) return;
  flat_.clear();
  // Iterative: a deep tree must not exhaust the stack.
  std::vector<const std::vector<std::unique_ptr<TTreeNode>>*> lists{&roots_};
  std::vector<std::size_t> positions{0};
  while (!lists.empty()) {
    auto& list = *lists.back();
    std::size_t& pos = positions.back();
    if (pos == list.size()) {
      lists.pop_back();
      positions.pop_back();
      continue;
    }
    TTreeNode* node = list[pos++].get();
    node->absoluteIndex_ = static_cast<int>(flat_.size());
    flat_.push_back(node);
    if (!node->children_.empty()) {
      lists.push_back(&node->children_);
      positions.push_back(0);
    }
  }
  flatValid_ = true;
}

int TTreeNodes::Count() const {
  Flatten();
  return static_cast<int>(flat_.size());
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  Flatten();
  if (absoluteIndex < 0 || absoluteIndex >= static_cast<int>(flat_.size()))
    throw EListError("Tree node index out of bounds (" + std::to_string(absoluteIndex) + ")");
  return flat_[static_cast<std::size_t>(absoluteIndex)];
}

TTreeNode* TTreeNodes::TopItem(int index) const {
  if (index < 0 || index >= TopLevelCount())
    throw EListError("Tree node index out of bounds (" + std::to_string(index) + ")");
  return roots_[static_cast<std::size_t>(index)].get();
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::Siblings(TTreeNode* parent) {
  return parent ? parent->children_ : roots_;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, std::size_t index, const std::string& text) {
  if (parent && parent->owner_ != this) throw EListError("Tree node of another tree");
  auto& list = Siblings(parent);
  auto node = std::make_unique<TTreeNode>(this, parent);
  node->text_ = text;
  TTreeNode* raw = node.get();
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())), std::move(node));
  Changed();
  return raw;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
  return InsertAt(parent, Siblings(parent).size(), text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
  return InsertAt(parent, Siblings(parent).size(), text);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) {
  return InsertAt(parent, 0, text);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* before, const std::string& text) {
  if (!before) return AddChild(nullptr, text);
  return InsertAt(before->parent_, static_cast<std::size_t>(before->Index()), text);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node->owner_ != this) return;
  auto& list = Siblings(node->parent_);
  auto it = std::find_if(list.begin(), list.end(), [node](const auto& p) { return p.get() == node; });
  if (it != list.end()) list.erase(it);
  Changed();
}

void TTreeNodes::Clear() {
  roots_.clear();
  Changed();
}

namespace {

void CopyNodes(TTreeNodes& to, TTreeNode* parent, const TTreeNode& from) {
  for (int i = 0; i < from.Count(); ++i) {
    const TTreeNode& src = *from.Item(i);
    TTreeNode* n = to.AddChild(parent, src.Text());
    n->ImageIndex = src.ImageIndex;
    n->SelectedIndex = src.SelectedIndex;
    n->StateIndex = src.StateIndex;
    n->OverlayIndex = src.OverlayIndex;
    n->ExpandedImageIndex = src.ExpandedImageIndex;
    n->Enabled = src.Enabled;
    n->Data = src.Data;
    CopyNodes(to, n, src);
  }
}

}  // namespace

void TTreeNodes::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TTreeNodes*>(&source);
  if (!src) return TPersistent::Assign(source);
  if (src == this) return;
  Clear();
  for (int i = 0; i < src->TopLevelCount(); ++i) {
    const TTreeNode& s = *src->TopItem(i);
    TTreeNode* n = AddChild(nullptr, s.Text());
    n->ImageIndex = s.ImageIndex;
    n->SelectedIndex = s.SelectedIndex;
    n->StateIndex = s.StateIndex;
    n->OverlayIndex = s.OverlayIndex;
    n->ExpandedImageIndex = s.ExpandedImageIndex;
    n->Enabled = s.Enabled;
    n->Data = s.Data;
    CopyNodes(*this, n, s);
  }
}

namespace {

void BuildNodes(TTreeNodes& nodes, TTreeNode* parent, const std::vector<TreeNodeRecord>& records,
                bool wide, const FilerContext& context, std::vector<std::pair<TTreeNode*, formfile::Value>>& originals) {
  for (const TreeNodeRecord& r : records) {
    formfile::Value original;
    std::string text = wide ? FromWide(r.wideText, context, original) : r.ansiText;
    TTreeNode* n = nodes.AddChild(parent, text);
    n->ImageIndex = r.imageIndex;
    n->SelectedIndex = r.selectedIndex;
    n->StateIndex = r.stateIndex;
    n->OverlayIndex = r.overlayIndex;
    n->ExpandedImageIndex = r.expandedImageIndex;
    n->Enabled = r.enabled;
    n->Data = r.data;
    if (wide) originals.emplace_back(n, std::move(original));
    BuildNodes(nodes, n, r.children, wide, context, originals);
  }
}

void BuildRecords(const TTreeNode* parent, const TTreeNodes& nodes, int version, const FilerContext& context,
                  std::vector<TreeNodeRecord>& out) {
  int count = parent ? parent->Count() : nodes.TopLevelCount();
  for (int i = 0; i < count; ++i) {
    const TTreeNode& n = parent ? *parent->Item(i) : *nodes.TopItem(i);
    TreeNodeRecord r;
    r.imageIndex = n.ImageIndex;
    r.selectedIndex = n.SelectedIndex;
    r.stateIndex = n.StateIndex;
    r.overlayIndex = n.OverlayIndex;
    r.expandedImageIndex = n.ExpandedImageIndex;
    r.enabled = n.Enabled;
    r.data = n.Data;
    if (version == 0) r.ansiText = n.Text();
    else r.wideText = ToWide(n.Text(), n.OriginalText(), context);
    BuildRecords(&n, nodes, version, context, r.children);
    out.push_back(std::move(r));
  }
}

}  // namespace

bool TTreeNodes::ReadData(const formfile::Value& v, bool nodeData, const FilerContext& context) {
  if (v.type != formfile::ValueType::Binary) return false;
  TreeData data;
  std::string error;
  if (!DecodeTreeData(v.bytes, nodeData, data, error)) {
    // Kept raw by the caller and written back as read.
    dataError_ = std::string(nodeData ? "NodeData" : "Data") + ": " + error;
    return false;
  }
  Clear();
  std::vector<std::pair<TTreeNode*, formfile::Value>> originals;
  BuildNodes(*this, nullptr, data.nodes, nodeData, context, originals);
  for (auto& [node, original] : originals) node->originalText_ = std::move(original);
  storedVersion_ = data.version;
  dataError_.clear();
  return true;
}

std::optional<formfile::Value> TTreeNodes::WriteData(bool nodeData, const FilerContext& context) const {
  // A blob that could not be read stays as it was; nothing replaces it.
  // Empty: nothing, unless the file held the property (then it is written back).
  if (!dataError_.empty() || (TopLevelCount() == 0 && storedVersion_ < 0)) return std::nullopt;
  int version = storedVersion_;
  if (version < 0) version = context.unicodeNonAscii ? 3 : 0;
  if ((version != 0) != nodeData) return std::nullopt;
  TreeData data;
  data.version = version;
  BuildRecords(nullptr, *this, version, context, data.nodes);
  try {
    return BinaryValue(EncodeTreeData(data));
  } catch (const std::length_error& e) {
    throw EPropertyError(std::string("tree view ") + (owner_ ? owner_->Name() : std::string()) + ": " + e.what());
  }
}

// ---- TCustomTreeView -------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  ClearIf(images_, component);
  ClearIf(stateImages_, component);
}

const ClassInfo& TCustomTreeView::StaticClass() {
  using C = TCustomTreeView;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomTreeView");
    b.Protected()
        .Boolean("AutoExpand", &C::AutoExpand, &C::AutoExpand).Default(false)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_)
        .Integer("ChangeDelay", &C::ChangeDelay, &C::ChangeDelay).Default(0)
        .Boolean("HideSelection", &C::HideSelection, &C::HideSelection).Default(true)
        .Boolean("HotTrack", &C::HotTrack, &C::HotTrack).Default(false)
        .Reference("Images", &C::Images, &C::SetImages)
        .Integer("Indent", &C::Indent, &C::Indent)
        .Object("Items", &C::Items, &C::SetItems)
        .Boolean("MultiSelect", &C::MultiSelect, &C::MultiSelect).Default(false)
        .Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false)
        .Boolean("RightClickSelect", &C::RightClickSelect, &C::RightClickSelect).Default(false)
        .Boolean("RowSelect", &C::RowSelect, &C::RowSelect).Default(false)
        .Boolean("ShowButtons", &C::ShowButtons, &C::ShowButtons).Default(true)
        .Boolean("ShowLines", &C::ShowLines, &C::ShowLines).Default(true)
        .Boolean("ShowRoot", &C::ShowRoot, &C::ShowRoot).Default(true)
        .Enum("SortType", &C::SortType, &C::SortType, SortTypeInfo()).Default(stNone)
        .Reference("StateImages", &C::StateImages, &C::SetStateImages)
        .Boolean("ToolTips", &C::ToolTips, &C::ToolTips).Default(true);
    for (auto [name, member] : std::initializer_list<std::pair<const char*, TNotifyEvent C::*>>{
             {"OnAddition", &C::OnAddition}, {"OnAdvancedCustomDraw", &C::OnAdvancedCustomDraw},
             {"OnAdvancedCustomDrawItem", &C::OnAdvancedCustomDrawItem}, {"OnChange", &C::OnChange},
             {"OnChanging", &C::OnChanging}, {"OnCollapsed", &C::OnCollapsed},
             {"OnCollapsing", &C::OnCollapsing}, {"OnCompare", &C::OnCompare},
             {"OnCreateNodeClass", &C::OnCreateNodeClass}, {"OnCustomDraw", &C::OnCustomDraw},
             {"OnCustomDrawItem", &C::OnCustomDrawItem}, {"OnDeletion", &C::OnDeletion},
             {"OnEdited", &C::OnEdited}, {"OnEditing", &C::OnEditing}, {"OnExpanding", &C::OnExpanding},
             {"OnExpanded", &C::OnExpanded}, {"OnGetImageIndex", &C::OnGetImageIndex},
             {"OnGetSelectedIndex", &C::OnGetSelectedIndex}, {"OnHint", &C::OnHint}})
      b.Event(name, member);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TTreeView::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TTreeView> b("TTreeView");
    Pub(b, {"Align", "Anchors", "AutoExpand", "BevelEdges", "BevelInner", "BevelOuter", "BevelKind",
            "BevelWidth", "BiDiMode", "BorderStyle", "BorderWidth", "ChangeDelay", "Color", "Ctl3D",
            "Constraints", "DoubleBuffered", "DragKind", "DragCursor", "DragMode", "Enabled", "Font",
            "HideSelection", "HotTrack", "Images", "Indent", "MultiSelect", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ReadOnly", "RightClickSelect", "RowSelect", "ShowButtons", "ShowHint", "ShowLines",
            "ShowRoot", "SortType", "StateImages", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"ToolTips", "Visible", "StyleElements", "OnAddition", "OnAdvancedCustomDraw",
            "OnAdvancedCustomDrawItem", "OnChange", "OnChanging", "OnClick", "OnCollapsed",
            "OnCollapsing", "OnCompare", "OnContextPopup", "OnCreateNodeClass", "OnCustomDraw",
            "OnCustomDrawItem", "OnDblClick", "OnDeletion", "OnDragDrop", "OnDragOver", "OnEdited",
            "OnEditing", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnExpanding", "OnExpanded",
            "OnGetImageIndex", "OnGetSelectedIndex", "OnHint", "OnKeyDown", "OnKeyPress", "OnKeyUp",
            "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnStartDock",
            "OnStartDrag",
            // The original publishes Items after the image events.
            "Items"});
    return b.Build();
  }();
  return info;
}

// ---- list views ------------------------------------------------------------------------------

const ClassInfo& TListColumn::StaticClass() {
  using C = TListColumn;
  static const ClassInfo info = ClassBuilder<C>("TListColumn")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .Boolean("AutoSize", &C::AutoSize, &C::AutoSize).Default(false)
      .String("Caption", &C::Caption, &C::Caption)
      .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(-1)
      .Integer("MaxWidth", &C::MaxWidth, &C::MaxWidth).Default(0)
      .Integer("MinWidth", &C::MinWidth, &C::MinWidth).Default(0)
      .Integer("Tag", &C::Tag, &C::Tag).Default(0)
      .Integer("Width", &C::Width, &C::Width).Default(50)
      .Build();
  return info;
}

const ClassInfo& TListColumns::StaticClass() {
  static const ClassInfo info = ClassBuilder<TListColumns>("TListColumns").Build();
  return info;
}

const ClassInfo& TListItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TListItem>("TListItem").Build();
  return info;
}

TListItem::TListItem(TListItems* owner) : owner_(owner) {
  subItems_->OnChange = [this](TObject*) {
    if (owner_ && owner_->Owner()) owner_->Owner()->NotifyChanged();
  };
}

void TListItem::SetCaption(const std::string& v) {
  caption_ = v;
  if (owner_ && owner_->Owner()) owner_->Owner()->NotifyChanged();
}

int TListItem::Index() const { return owner_ ? owner_->IndexOf(this) : -1; }

const ClassInfo& TListItems::StaticClass() {
  using C = TListItems;
  static const ClassInfo info =
      ClassBuilder<C>("TListItems")
          .Define(
              "Data", [](C& n, const formfile::Value& v, const FilerContext& c) { return n.ReadData(v, false, c); },
              [](const C& n, const formfile::Value*, const FilerContext& c) { return n.WriteData(false, c); })
          .Define(
              "ItemData", [](C& n, const formfile::Value& v, const FilerContext& c) { return n.ReadData(v, true, c); },
              [](const C& n, const formfile::Value*, const FilerContext& c) { return n.WriteData(true, c); })
          .Build();
  return info;
}

TListItem* TListItems::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)].get();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  auto item = std::make_unique<TListItem>(this);
  TListItem* raw = item.get();
  items_.insert(items_.begin() + index, std::move(item));
  return raw;
}

void TListItems::Delete(int index) {
  Item(index);
  items_.erase(items_.begin() + index);
}

int TListItems::IndexOf(const TListItem* item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return static_cast<int>(i);
  return -1;
}

void TListItems::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TListItems*>(&source);
  if (!src) return TPersistent::Assign(source);
  if (src == this) return;
  Clear();
  for (int i = 0; i < src->Count(); ++i) {
    const TListItem& s = *src->Item(i);
    TListItem* d = Add();
    d->SetCaption(s.Caption());
    d->SubItems()->Assign(*s.SubItems());
    d->SubItemImages = s.SubItemImages;
    d->ImageIndex = s.ImageIndex;
    d->StateIndex = s.StateIndex;
    d->OverlayIndex = s.OverlayIndex;
    d->GroupID = s.GroupID;
    d->Data = s.Data;
  }
}

bool TListItems::ReadData(const formfile::Value& v, bool itemData, const FilerContext& context) {
  if (v.type != formfile::ValueType::Binary) return false;
  ListData data;
  std::string error;
  if (!DecodeListData(v.bytes, itemData, data, error)) {
    dataError_ = std::string(itemData ? "ItemData" : "Data") + ": " + error;
    return false;
  }
  Clear();
  for (ListItemRecord& r : data.items) {
    TListItem* it = Add();
    it->ImageIndex = r.imageIndex;
    it->StateIndex = r.stateIndex;
    it->OverlayIndex = r.overlayIndex;
    it->GroupID = r.groupId;
    it->Data = r.data;
    it->SubItemImages.assign(r.subItemImages.begin(), r.subItemImages.end());
    if (itemData) {
      it->caption_ = FromWide(r.wideCaption, context, it->originalCaption_);
      for (const std::u16string& s : r.wideSubItems) {
        formfile::Value original;
        it->subItems_->Add(FromWide(s, context, original));
        it->originalSubItems_.push_back(std::move(original));
      }
    } else {
      it->caption_ = r.ansiCaption;
      for (const std::string& s : r.ansiSubItems) it->subItems_->Add(s);
    }
  }
  storedVersion_ = data.version;
  subItemImages_ = data.subItemImages;
  sizeAdjust_ = data.sizeAdjust;
  dataError_.clear();
  return true;
}

std::optional<formfile::Value> TListItems::WriteData(bool itemData, const FilerContext& context) const {
  if (!dataError_.empty() || (Count() == 0 && storedVersion_ < 0)) return std::nullopt;
  int version = storedVersion_;
  if (version < 0) version = context.unicodeNonAscii ? 5 : 0;
  if ((version != 0) != itemData) return std::nullopt;
  ListData data;
  data.version = version;
  data.subItemImages = subItemImages_;
  data.sizeAdjust = sizeAdjust_;
  for (const auto& it : items_) {
    ListItemRecord r;
    r.imageIndex = it->ImageIndex;
    r.stateIndex = it->StateIndex;
    r.overlayIndex = it->OverlayIndex;
    r.groupId = it->GroupID;
    r.data = it->Data;
    int subs = it->SubItems()->Count();
    if (itemData) {
      r.wideCaption = ToWide(it->caption_, it->originalCaption_, context);
      for (int j = 0; j < subs; ++j) {
        static const formfile::Value none;
        const formfile::Value& o =
            static_cast<std::size_t>(j) < it->originalSubItems_.size() ? it->originalSubItems_[j] : none;
        r.wideSubItems.push_back(ToWide(it->SubItems()->Strings(j), o, context));
      }
    } else {
      r.ansiCaption = it->caption_;
      for (int j = 0; j < subs; ++j) r.ansiSubItems.push_back(it->SubItems()->Strings(j));
    }
    for (int j = 0; j < subs; ++j)
      r.subItemImages.push_back(static_cast<std::size_t>(j) < it->SubItemImages.size() ? it->SubItemImages[j] : -1);
    data.items.push_back(std::move(r));
  }
  try {
    return BinaryValue(EncodeListData(data));
  } catch (const std::length_error& e) {
    throw EPropertyError(std::string("list view ") + (owner_ ? owner_->Name() : std::string()) + ": " + e.what());
  }
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)) {
  columns_->PropName = "Columns";
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  ClearIf(largeImages_, component);
  ClearIf(smallImages_, component);
  ClearIf(stateImages_, component);
}

const ClassInfo& TCustomListView::StaticClass() {
  using C = TCustomListView;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomListView");
    b.Protected()
        .Integer("AllocBy", &C::AllocBy, &C::AllocBy).Default(0)
        .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_)
        .Boolean("Checkboxes", &C::Checkboxes, &C::Checkboxes).Default(false)
        .Boolean("ColumnClick", &C::ColumnClick, &C::ColumnClick).Default(true)
        .Object("Columns", &C::Columns, &C::SetColumns)
        .Boolean("FlatScrollBars", &C::FlatScrollBars, &C::FlatScrollBars).Default(false)
        .Boolean("FullDrag", &C::FullDrag, &C::FullDrag).Default(false)
        .Boolean("GridLines", &C::GridLines, &C::GridLines).Default(false)
        .Boolean("GroupView", &C::GroupView, &C::GroupView).Default(false)
        .Boolean("HideSelection", &C::HideSelection, &C::HideSelection).Default(true)
        .Boolean("HotTrack", &C::HotTrack, &C::HotTrack).Default(false)
        .Integer("HoverTime", &C::HoverTime, &C::HoverTime).Default(-1)
        .Object("Items", &C::Items, &C::SetItems)
        .Reference("LargeImages", &C::LargeImages, &C::SetLargeImages)
        .Boolean("MultiSelect", &C::MultiSelect, &C::MultiSelect).Default(false)
        .Boolean("OwnerData", &C::OwnerData, &C::OwnerData).Default(false)
        .Boolean("OwnerDraw", &C::OwnerDraw, &C::OwnerDraw).Default(false)
        .Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false)
        .Boolean("RowSelect", &C::RowSelect, &C::RowSelect).Default(false)
        .Boolean("ShowColumnHeaders", &C::ShowColumnHeaders, &C::ShowColumnHeaders).Default(true)
        .Boolean("ShowWorkAreas", &C::ShowWorkAreas, &C::ShowWorkAreas).Default(false)
        .Reference("SmallImages", &C::SmallImages, &C::SetSmallImages)
        .Enum("SortType", &C::SortType, &C::SortType, SortTypeInfo()).Default(stNone)
        .Reference("StateImages", &C::StateImages, &C::SetStateImages)
        .Enum("ViewStyle", &C::ViewStyle, &C::ViewStyle, ViewStyleInfo()).Default(vsIcon);
    for (auto [name, member] : std::initializer_list<std::pair<const char*, TNotifyEvent C::*>>{
             {"OnAdvancedCustomDraw", &C::OnAdvancedCustomDraw},
             {"OnAdvancedCustomDrawItem", &C::OnAdvancedCustomDrawItem},
             {"OnAdvancedCustomDrawSubItem", &C::OnAdvancedCustomDrawSubItem}, {"OnChange", &C::OnChange},
             {"OnChanging", &C::OnChanging}, {"OnColumnClick", &C::OnColumnClick},
             {"OnColumnDragged", &C::OnColumnDragged}, {"OnColumnRightClick", &C::OnColumnRightClick},
             {"OnCompare", &C::OnCompare}, {"OnCustomDraw", &C::OnCustomDraw},
             {"OnCustomDrawItem", &C::OnCustomDrawItem}, {"OnCustomDrawSubItem", &C::OnCustomDrawSubItem},
             {"OnData", &C::OnData}, {"OnDataFind", &C::OnDataFind}, {"OnDataHint", &C::OnDataHint},
             {"OnDataStateChange", &C::OnDataStateChange}, {"OnDeletion", &C::OnDeletion},
             {"OnDrawItem", &C::OnDrawItem}, {"OnEdited", &C::OnEdited}, {"OnEditing", &C::OnEditing},
             {"OnGetImageIndex", &C::OnGetImageIndex}, {"OnGetSubItemImage", &C::OnGetSubItemImage},
             {"OnInfoTip", &C::OnInfoTip}, {"OnInsert", &C::OnInsert}, {"OnItemChecked", &C::OnItemChecked},
             {"OnSelectItem", &C::OnSelectItem}})
      b.Event(name, member);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TListView::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TListView> b("TListView");
    Pub(b, {"Action", "Align", "AllocBy", "Anchors", "BevelEdges", "BevelInner", "BevelOuter",
            "BevelKind", "BevelWidth", "BiDiMode", "BorderStyle", "BorderWidth", "Checkboxes",
            "Color", "Columns", "ColumnClick", "Constraints", "Ctl3D", "DoubleBuffered",
            "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "FlatScrollBars", "FullDrag",
            "GridLines", "HideSelection", "HotTrack", "HoverTime", "Items", "LargeImages",
            "MultiSelect", "GroupView", "OwnerData", "OwnerDraw", "ReadOnly", "RowSelect",
            "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowColumnHeaders", "ShowWorkAreas", "ShowHint", "SmallImages", "SortType",
            "StateImages", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"ViewStyle", "Visible", "StyleElements", "OnAdvancedCustomDraw",
            "OnAdvancedCustomDrawItem", "OnAdvancedCustomDrawSubItem", "OnChange", "OnChanging",
            "OnClick", "OnColumnClick", "OnColumnDragged", "OnColumnRightClick", "OnCompare",
            "OnContextPopup", "OnCustomDraw", "OnCustomDrawItem", "OnCustomDrawSubItem", "OnData",
            "OnDataFind", "OnDataHint", "OnDataStateChange", "OnDblClick", "OnDeletion",
            "OnDrawItem", "OnEdited", "OnEditing", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
            "OnGetImageIndex", "OnGetSubItemImage", "OnDragDrop", "OnDragOver", "OnInfoTip",
            "OnInsert", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter",
            "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize", "OnSelectItem", "OnItemChecked",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- status bars -----------------------------------------------------------------------------

const ClassInfo& TStatusPanel::StaticClass() {
  using C = TStatusPanel;
  static const ClassInfo info = ClassBuilder<C>("TStatusPanel")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .Enum("Bevel", &C::Bevel, &C::Bevel, StatusPanelBevelInfo()).Default(pbLowered)
      .Enum("BiDiMode", &C::BiDiMode, &C::BiDiMode, BiDiModeInfo()).Default(bdLeftToRight)
      .Boolean("ParentBiDiMode", &C::ParentBiDiMode, &C::ParentBiDiMode).Default(true)
      .Enum("Style", &C::Style, &C::Style, StatusPanelStyleInfo()).Default(psText)
      .String("Text", &C::Text, &C::Text)
      .Integer("Width", &C::Width, &C::Width).NoDefault()
      .Build();
  return info;
}

const ClassInfo& TStatusPanels::StaticClass() {
  static const ClassInfo info = ClassBuilder<TStatusPanels>("TStatusPanels").Build();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
  panels_->PropName = "Panels";
  SetAlign(alBottom);
  SetBounds(0, 0, 150, 19);
  SetColor(clBtnFace);
  SetParentFont(false);
}

const ClassInfo& TStatusBar::StaticClass() {
  using C = TStatusBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TStatusBar");
    b.Publish("Action");
    b.Boolean("AutoHint", &C::AutoHint, &C::AutoHint).Default(false);
    b.Publish("Align").Default(alBottom);
    Pub(b, {"Anchors", "BiDiMode", "BorderWidth"});
    b.Publish("Color").Default(clBtnFace);
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "Constraints"});
    b.Object("Panels", &C::Panels, &C::SetPanels);
    b.Publish("ParentBiDiMode");
    b.Publish("ParentColor").Default(false);
    b.Publish("ParentDoubleBuffered");
    b.Publish("ParentFont").Default(false);
    Pub(b, {"ParentShowHint", "PopupMenu", "ShowHint"});
    b.Boolean("SimplePanel", &C::SimplePanel, &C::SimplePanel).Default(false)
        .String("SimpleText", &C::SimpleText, &C::SimpleText)
        .Boolean("SizeGrip", &C::SizeGrip, &C::SizeGrip).Default(true)
        .Boolean("UseSystemFont", &C::UseSystemFont, &C::UseSystemFont).Default(true);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnContextPopup"});
    b.Event("OnCreatePanelClass", &C::OnCreatePanelClass);
    Pub(b, {"OnDblClick", "OnDragDrop", "OnDragOver"});
    b.Event("OnDrawPanel", &C::OnDrawPanel);
    Pub(b, {"OnEndDock", "OnEndDrag"});
    b.Event("OnHint", &C::OnHint);
    Pub(b, {"OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize",
            "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- header controls -------------------------------------------------------------------------

const ClassInfo& THeaderSection::StaticClass() {
  using C = THeaderSection;
  static const ClassInfo info = ClassBuilder<C>("THeaderSection")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .Boolean("AllowClick", &C::AllowClick, &C::AllowClick).Default(true)
      .Boolean("AutoSize", &C::AutoSize, &C::AutoSize).Default(false)
      .Enum("BiDiMode", &C::BiDiMode, &C::BiDiMode, BiDiModeInfo()).Default(bdLeftToRight)
      .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).NoDefault()
      .Integer("MaxWidth", &C::MaxWidth, &C::MaxWidth).Default(10000)
      .Integer("MinWidth", &C::MinWidth, &C::MinWidth).Default(0)
      .Boolean("ParentBiDiMode", &C::ParentBiDiMode, &C::ParentBiDiMode).Default(true)
      .Enum("Style", &C::Style, &C::Style, HeaderSectionStyleInfo()).Default(hsText)
      .String("Text", &C::Text, &C::Text)
      .Integer("Width", &C::Width, &C::Width).NoDefault()
      .Build();
  return info;
}

const ClassInfo& THeaderSections::StaticClass() {
  static const ClassInfo info = ClassBuilder<THeaderSections>("THeaderSections").Build();
  return info;
}

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), sections_(std::make_unique<THeaderSections>(this)) {
  sections_->PropName = "Sections";
  SetAlign(alTop);
  SetBounds(0, 0, 170, 17);
}

void THeaderControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove) ClearIf(images_, component);
}

const ClassInfo& THeaderControl::StaticClass() {
  using C = THeaderControl;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("THeaderControl");
    b.Publish("Align").Default(alTop);
    Pub(b, {"Anchors", "BiDiMode", "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Boolean("FullDrag", &C::FullDrag, &C::FullDrag).Default(true)
        .Boolean("HotTrack", &C::HotTrack, &C::HotTrack).Default(false);
    b.Publish("Font");
    b.Reference("Images", &C::Images, &C::SetImages);
    Pub(b, {"Constraints"});
    b.Object("Sections", &C::Sections, &C::SetSections)
        .Enum("Style", &C::Style, &C::Style, HeaderStyleInfo()).Default(hsButtons);
    Pub(b, {"ParentBiDiMode", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowHint", "Visible", "StyleElements", "OnContextPopup", "OnDragDrop", "OnDragOver"});
    b.Event("OnDrawSection", &C::OnDrawSection);
    Pub(b, {"OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize"});
    b.Event("OnSectionClick", &C::OnSectionClick)
        .Event("OnSectionDrag", &C::OnSectionDrag)
        .Event("OnSectionEndDrag", &C::OnSectionEndDrag)
        .Event("OnSectionResize", &C::OnSectionResize)
        .Event("OnSectionTrack", &C::OnSectionTrack);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- tab controls ----------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  ReportChanges(*tabs_, *this);
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

void TCustomTabControl::SetTabIndex(int v) {
  // Tabs may come later in the file than TabIndex.
  tabIndex_ = (InState(csLoading) || (v >= -1 && v < tabs_->Count())) ? v : -1;
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove) ClearIf(images_, component);
}

const ClassInfo& TCustomTabControl::StaticClass() {
  using C = TCustomTabControl;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCustomTabControl");
    b.Protected()
        .Boolean("HotTrack", &C::HotTrack, &C::HotTrack).Default(false)
        .Reference("Images", &C::Images, &C::SetImages)
        .Boolean("MultiLine", &C::MultiLine, &C::MultiLine).Default(false)
        .Boolean("MultiSelect", &C::MultiSelect, &C::MultiSelect).Default(false)
        .Boolean("OwnerDraw", &C::OwnerDraw, &C::OwnerDraw).Default(false)
        .Boolean("RaggedRight", &C::RaggedRight, &C::RaggedRight).Default(false)
        .Boolean("ScrollOpposite", &C::ScrollOpposite, &C::ScrollOpposite).Default(false)
        .Enum("Style", &C::Style, &C::Style, TabStyleInfo()).Default(tsTabs)
        .Integer("TabHeight", &C::TabHeight, &C::TabHeight).Default(0)
        .Integer("TabIndex", &C::TabIndex, &C::SetTabIndex).Default(-1)
        .Enum("TabPosition", &C::TabPosition, &C::TabPosition, TabPositionInfo()).Default(tpTop)
        .Object("Tabs", &C::Tabs, &C::SetTabs)
        .Integer("TabWidth", &C::TabWidth, &C::TabWidth).Default(0)
        .Event("OnChange", &C::OnChange)
        .Event("OnChanging", &C::OnChanging)
        .Event("OnDrawTab", &C::OnDrawTab)
        .Event("OnGetImageIndex", &C::OnGetImageIndex);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TTabControl::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TTabControl> b("TTabControl");
    Pub(b, {"Align", "Anchors", "BiDiMode", "Constraints", "DockSite", "DoubleBuffered", "DragCursor",
            "DragKind", "DragMode", "Enabled", "Font", "HotTrack", "Images", "MultiLine",
            "MultiSelect", "OwnerDraw", "ParentBiDiMode", "ParentDoubleBuffered", "ParentFont",
            "ParentShowHint", "PopupMenu", "RaggedRight", "ScrollOpposite", "ShowHint", "Style",
            "TabHeight", "TabOrder", "TabPosition", "Tabs", "TabIndex"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"TabWidth", "Visible", "StyleElements", "OnChange", "OnChanging", "OnContextPopup",
            "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnDrawTab", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnGetImageIndex", "OnGetSiteInfo", "OnMouseDown",
            "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock",
            "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetAlign(alClient); }

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

int TTabSheet::PageIndex() const {
  TPageControl* pc = PageControl();
  if (!pc) return -1;
  for (int i = 0; i < pc->PageCount(); ++i)
    if (pc->Pages(i) == this) return i;
  return -1;
}

void TTabSheet::SetPageIndex(int index) {
  if (TPageControl* pc = PageControl()) pc->MovePage(this, index);
}

const ClassInfo& TTabSheet::StaticClass() {
  using C = TTabSheet;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TTabSheet");
    // A sheet's bounds follow its page control.
    for (const char* n : {"Left", "Top", "Width", "Height"}) b.Publish(n).NotStored();
    Pub(b, {"BorderWidth", "Caption", "DoubleBuffered", "DragMode", "Enabled", "Font"});
    b.Boolean("Highlighted", &C::Highlighted, &C::Highlighted).Default(false)
        .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(0);
    Pub(b, {"Constraints"});
    b.Reference("PageControl", &C::PageControl, &C::SetPageControl).NotStored();
    b.Integer("PageIndex", &C::PageIndex, &C::SetPageIndex).NotStored();
    Pub(b, {"Padding", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ShowHint"});
    b.Boolean("TabVisible", &C::TabVisible, &C::TabVisible).Default(true);
    b.Publish("Visible").NotStored();
    Pub(b, {"StyleElements", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter",
            "OnExit"});
    b.Event("OnHide", &C::OnHide);
    Pub(b, {"OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize"});
    b.Event("OnShow", &C::OnShow);
    b.Publish("OnStartDrag");
    return b.Build();
  }();
  return info;
}

int TPageControl::PageCount() const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TTabSheet*>(Controls(i))) ++n;
  return n;
}

TTabSheet* TPageControl::Pages(int index) const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* s = dynamic_cast<TTabSheet*>(Controls(i)))
      if (n++ == index) return s;
  throw EListError("Page index out of bounds (" + std::to_string(index) + ")");
}

void TPageControl::SetActivePage(TTabSheet* page) {
  activePage_ = page;
  if (page) FreeNotification(page);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  if (!page || page->PageControl() != this || index < 0 || index >= PageCount()) return;
  // Reinserting the sheets in the new order keeps every other control where it was.
  std::vector<TTabSheet*> sheets;
  for (int i = 0; i < PageCount(); ++i) sheets.push_back(Pages(i));
  sheets.erase(std::find(sheets.begin(), sheets.end(), page));
  sheets.insert(sheets.begin() + index, page);
  for (TTabSheet* s : sheets) {
    RemoveControl(s);
    InsertControl(s);
  }
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
  if (operation == opRemove && component == activePage_) activePage_ = nullptr;
}

const ClassInfo& TPageControl::StaticClass() {
  using C = TPageControl;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TPageControl");
    b.Reference("ActivePage", &C::ActivePage, &C::SetActivePage);
    Pub(b, {"Align", "Anchors", "BiDiMode", "Constraints", "DockSite", "DoubleBuffered", "DragCursor",
            "DragKind", "DragMode", "Enabled", "Font", "HotTrack", "Images", "MultiLine", "OwnerDraw",
            "ParentBiDiMode", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "RaggedRight", "ScrollOpposite", "ShowHint", "Style", "TabHeight"});
    b.Publish("TabIndex").NotStored();
    Pub(b, {"TabOrder", "TabPosition"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"TabWidth", "Visible", "StyleElements", "OnChange", "OnChanging", "OnContextPopup",
            "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnDrawTab", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnGetImageIndex", "OnGetSiteInfo", "OnMouseDown",
            "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock",
            "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

// ---- smaller controls ------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

const ClassInfo& TProgressBar::StaticClass() {
  using C = TProgressBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TProgressBar");
    Pub(b, {"Align", "Anchors", "BorderWidth", "DoubleBuffered", "DragCursor", "DragKind", "DragMode",
            "Enabled", "Hint", "Constraints"});
    b.Integer("Min", &C::Min, &C::Min).Default(0).Integer("Max", &C::Max, &C::Max).Default(100)
        .Enum("Orientation", &C::Orientation, &C::Orientation,
              Names("TProgressBarOrientation", {"pbHorizontal", "pbVertical"})).Default(0);
    Pub(b, {"ParentDoubleBuffered", "ParentShowHint", "PopupMenu"});
    b.Integer("Position", &C::Position, &C::Position).Default(0)
        .Boolean("Smooth", &C::Smooth, &C::Smooth).Default(false)
        .Enum("State", &C::State, &C::State, Names("TProgressBarState", {"pbsNormal", "pbsError", "pbsPaused"})).Default(0)
        .Integer("Step", &C::Step, &C::Step).Default(10);
    Pub(b, {"ShowHint", "TabOrder", "TabStop", "Visible", "StyleElements", "OnContextPopup",
            "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseEnter",
            "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
}

const ClassInfo& TTrackBar::StaticClass() {
  using C = TTrackBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TTrackBar");
    Pub(b, {"Align", "Anchors", "BorderWidth", "Constraints", "DoubleBuffered", "DragCursor",
            "DragKind", "DragMode", "Enabled"});
    b.Integer("LineSize", &C::LineSize, &C::LineSize).Default(1)
        .Integer("Max", &C::Max, &C::Max).Default(10)
        .Integer("Min", &C::Min, &C::Min).Default(0)
        .Enum("Orientation", &C::Orientation, &C::Orientation, Names("TTrackBarOrientation", {"trHorizontal", "trVertical"})).Default(0);
    Pub(b, {"ParentDoubleBuffered", "ParentShowHint"});
    b.Integer("PageSize", &C::PageSize, &C::PageSize).Default(2);
    b.Publish("PopupMenu");
    b.Integer("Frequency", &C::Frequency, &C::Frequency).Default(1)
        .Integer("Position", &C::Position, &C::Position).Default(0)
        .Enum("PositionToolTip", &C::PositionToolTip, &C::PositionToolTip,
              Names("TPositionToolTip", {"ptNone", "ptTop", "ptLeft", "ptBottom", "ptRight"})).Default(0)
        .Boolean("ShowSelRange", &C::ShowSelRange, &C::ShowSelRange).Default(true)
        .Boolean("SliderVisible", &C::SliderVisible, &C::SliderVisible).Default(true)
        .Integer("SelEnd", &C::SelEnd, &C::SelEnd).Default(0)
        .Integer("SelStart", &C::SelStart, &C::SelStart).Default(0);
    Pub(b, {"ShowHint", "TabOrder"});
    b.Publish("TabStop").Default(true);
    b.Integer("ThumbLength", &C::ThumbLength, &C::ThumbLength).Default(20)
        .Enum("TickMarks", &C::TickMarks, &C::TickMarks, Names("TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"})).Default(0)
        .Enum("TickStyle", &C::TickStyle, &C::TickStyle, Names("TTickStyle", {"tsNone", "tsAuto", "tsManual"})).Default(1);
    Pub(b, {"Visible", "StyleElements", "OnContextPopup"});
    b.Event("OnChange", &C::OnChange);
    Pub(b, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
            "OnKeyPress", "OnKeyUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 16, 24); }

void TUpDown::SetAssociate(TWinControl* v) {
  associate_ = v;
  if (v) FreeNotification(v);
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == associate_) associate_ = nullptr;
}

const ClassInfo& TUpDown::StaticClass() {
  using C = TUpDown;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TUpDown");
    b.Enum("AlignButton", &C::AlignButton, &C::AlignButton, Names("TUDAlignButton", {"udLeft", "udRight"})).Default(1);
    b.Publish("Anchors");
    b.Reference("Associate", &C::Associate, &C::SetAssociate);
    b.Boolean("ArrowKeys", &C::ArrowKeys, &C::ArrowKeys).Default(true);
    Pub(b, {"DoubleBuffered", "Enabled", "Hint"});
    b.Integer("Min", &C::Min, &C::Min).Default(0).Integer("Max", &C::Max, &C::Max).Default(100)
        .Integer("Increment", &C::Increment, &C::Increment).Default(1);
    Pub(b, {"Constraints"});
    b.Enum("Orientation", &C::Orientation, &C::Orientation, Names("TUDOrientation", {"udHorizontal", "udVertical"})).Default(1);
    Pub(b, {"ParentDoubleBuffered", "ParentShowHint", "PopupMenu"});
    b.Integer("Position", &C::Position, &C::Position).Default(0);
    Pub(b, {"ShowHint", "TabOrder", "TabStop"});
    b.Boolean("Thousands", &C::Thousands, &C::Thousands).Default(true);
    b.Publish("Visible");
    b.Boolean("Wrap", &C::Wrap, &C::Wrap).Default(false);
    Pub(b, {"StyleElements"});
    b.Event("OnChanging", &C::OnChanging).Event("OnChangingEx", &C::OnChangingEx);
    Pub(b, {"OnContextPopup", "OnClick", "OnEnter", "OnExit", "OnMouseDown", "OnMouseEnter",
            "OnMouseLeave", "OnMouseMove", "OnMouseUp"});
    return b.Build();
  }();
  return info;
}

const ClassInfo& TRichEdit::StaticClass() {
  using C = TRichEdit;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TRichEdit");
    Pub(b, {"Align", "Alignment", "Anchors", "BevelEdges", "BevelInner", "BevelOuter", "BevelKind",
            "BevelWidth", "BiDiMode", "BorderStyle", "BorderWidth", "Color", "Ctl3D", "DragCursor",
            "DragKind", "Constraints", "DragMode", "Enabled", "Font", "HideSelection", "Lines",
            "MaxLength", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont",
            "ParentShowHint"});
    b.Boolean("PlainText", &C::PlainText, &C::PlainText).Default(false);
    Pub(b, {"PopupMenu", "ReadOnly", "ScrollBars", "ShowHint", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "WantTabs", "WantReturns", "WordWrap", "StyleElements", "OnChange",
            "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
            "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp"});
    b.Event("OnProtectChange", &C::OnProtectChange).Event("OnResizeRequest", &C::OnResizeRequest)
        .Event("OnSaveClipboard", &C::OnSaveClipboard).Event("OnSelectionChange", &C::OnSelectionChange);
    Pub(b, {"OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 186, 21);
  SetTabStop(true);
}

const ClassInfo& TDateTimePicker::StaticClass() {
  using C = TDateTimePicker;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TDateTimePicker");
    Pub(b, {"Align", "Anchors", "BevelEdges", "BevelInner", "BevelOuter", "BevelKind", "BevelWidth",
            "BiDiMode"});
    b.Enum("CalAlignment", &C::CalAlignment, &C::CalAlignment, Names("TDTCalAlignment", {"dtaLeft", "dtaRight"})).Default(0);
    Pub(b, {"Constraints"});
    b.Float("Date", &C::Date, &C::Date)
        .String("Format", &C::Format, &C::Format)
        .Float("Time", &C::Time, &C::Time)
        .Boolean("ShowCheckbox", &C::ShowCheckbox, &C::ShowCheckbox).Default(false)
        .Boolean("Checked", &C::Checked, &C::Checked).Default(true);
    b.Publish("Color");
    b.Enum("DateFormat", &C::DateFormat, &C::DateFormat, Names("TDTDateFormat", {"dfShort", "dfLong"})).Default(0)
        .Enum("DateMode", &C::DateMode, &C::DateMode, Names("TDTDateMode", {"dmComboBox", "dmUpDown"})).Default(0);
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
    b.Enum("Kind", &C::Kind, &C::Kind, Names("TDateTimeKind", {"dtkDate", "dtkTime"})).Default(0)
        .Boolean("ParseInput", &C::ParseInput, &C::ParseInput).Default(false);
    Pub(b, {"ParentBiDiMode", "ParentColor", "ParentDoubleBuffered", "ParentFont", "ParentShowHint",
            "PopupMenu", "ShowHint", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "StyleElements", "OnClick"});
    b.Event("OnCloseUp", &C::OnCloseUp).Event("OnChange", &C::OnChange);
    Pub(b, {"OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver"});
    b.Event("OnDropDown", &C::OnDropDown);
    Pub(b, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
            "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
            "OnStartDock", "OnStartDrag"});
    b.Event("OnUserInput", &C::OnUserInput);
    return b.Build();
  }();
  return info;
}

// ---- tool bars -------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetAlign(alTop);
  SetBounds(0, 0, 150, 29);
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  ClearIf(images_, component);
  ClearIf(disabledImages_, component);
  ClearIf(hotImages_, component);
}

const ClassInfo& TToolBar::StaticClass() {
  using C = TToolBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TToolBar");
    b.Publish("Align").Default(alTop);
    Pub(b, {"Anchors", "AutoSize", "BorderWidth"});
    b.Integer("ButtonHeight", &C::ButtonHeight, &C::ButtonHeight).Default(22)
        .Integer("ButtonWidth", &C::ButtonWidth, &C::ButtonWidth).Default(23);
    Pub(b, {"Caption", "Color", "Constraints"});
    b.Reference("DisabledImages", &C::DisabledImages, &C::SetDisabledImages);
    Pub(b, {"DockSite", "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Boolean("Flat", &C::Flat, &C::Flat).Default(true);
    b.Publish("Font");
    b.Reference("HotImages", &C::HotImages, &C::SetHotImages)
        .Reference("Images", &C::Images, &C::SetImages)
        .Integer("Indent", &C::Indent, &C::Indent).Default(0)
        .Boolean("List", &C::List, &C::List).Default(false);
    Pub(b, {"ParentColor", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu"});
    b.Boolean("ShowCaptions", &C::ShowCaptions, &C::ShowCaptions).Default(false);
    Pub(b, {"ShowHint", "TabOrder", "TabStop"});
    b.Boolean("Transparent", &C::Transparent, &C::Transparent).Default(false);
    b.Publish("Visible");
    b.Boolean("Wrapable", &C::Wrapable, &C::Wrapable).Default(true);
    Pub(b, {"StyleElements", "OnClick", "OnContextPopup", "OnDblClick", "OnDockDrop", "OnDockOver",
            "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
            "OnGetSiteInfo", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove",
            "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove) ClearIf(dropdownMenu_, component);
}

const ClassInfo& TToolButton::StaticClass() {
  using C = TToolButton;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TToolButton");
    b.Publish("Action");
    b.Boolean("AllowAllUp", &C::AllowAllUp, &C::AllowAllUp).Default(false);
    Pub(b, {"AutoSize", "Caption"});
    b.Boolean("Down", &C::Down, &C::Down).Default(false);
    b.Publish("DragCursor").Publish("DragKind").Publish("DragMode");
    b.Reference("DropdownMenu", &C::DropdownMenu, &C::SetDropdownMenu, "TPopupMenu");
    b.Publish("Enabled");
    b.Boolean("Grouped", &C::Grouped, &C::Grouped).Default(false)
        .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex).Default(-1)
        .Boolean("Indeterminate", &C::Indeterminate, &C::Indeterminate).Default(false)
        .Boolean("Marked", &C::Marked, &C::Marked).Default(false);
    Pub(b, {"ParentShowHint", "PopupMenu"});
    b.Boolean("Wrap", &C::Wrap, &C::Wrap).Default(false);
    b.Publish("ShowHint");
    b.Enum("Style", &C::Style, &C::Style, ToolButtonStyleInfo()).Default(tbsButton);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver",
            "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
            "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- cool bars -------------------------------------------------------------------------------

const EnumInfo& EdgeBorderInfo() {
  static const EnumInfo info{"TEdgeBorder", {"ebLeft", "ebTop", "ebRight", "ebBottom"}};
  return info;
}
const EnumInfo& EdgeStyleInfo() {
  static const EnumInfo info{"TEdgeStyle", {"esNone", "esRaised", "esLowered"}};
  return info;
}
const EnumInfo& CoolBandMaximizeInfo() {
  static const EnumInfo info{"TCoolBandMaximize", {"bmNone", "bmClick", "bmDblClick"}};
  return info;
}

// The bar hears of the control's destruction and clears the band's link.
void TCoolBand::SetControl(TWinControl* v) {
  control_ = v;
  if (auto* bar = Collection() ? dynamic_cast<TCoolBar*>(Collection()->Owner()) : nullptr)
    if (v) bar->FreeNotification(v);
}

std::string TCoolBand::DisplayName() const {
  if (!Text.empty()) return Text;
  return control_ ? control_->Name() : TCollectionItem::DisplayName();
}

const ClassInfo& TCoolBand::StaticClass() {
  using C = TCoolBand;
  static const ClassInfo info = ClassBuilder<C>("TCoolBand")
      .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsNone_)
      .Boolean("Break", &C::Break, &C::Break).Default(true)
      .Integer("Color", &C::Color, &C::Color).Idents(ColorIdents()).Stored([](const C& b) { return !b.ParentColor; })
      .Reference("Control", &C::Control, &C::SetControl)
      .Boolean("FixedBackground", &C::FixedBackground, &C::FixedBackground).Default(true)
      .Boolean("FixedSize", &C::FixedSize, &C::FixedSize).Default(false)
      .Boolean("HorizontalOnly", &C::HorizontalOnly, &C::HorizontalOnly).Default(false)
      // Files write it always.
      .Integer("ImageIndex", &C::ImageIndex, &C::ImageIndex)
      .Integer("MinHeight", &C::MinHeight, &C::MinHeight).Default(25)
      .Integer("MinWidth", &C::MinWidth, &C::MinWidth).Default(0)
      .Boolean("ParentColor", &C::ParentColor, &C::ParentColor).Default(true)
      .Boolean("ParentBitmap", &C::ParentBitmap, &C::ParentBitmap).Default(true)
      .String("Text", &C::Text, &C::Text)
      .Boolean("Visible", &C::Visible, &C::Visible).Default(true)
      .Integer("Width", &C::Width, &C::SetWidth).Stored(&C::IsWidthStored)
      .Build();
  return info;
}

const ClassInfo& TCoolBands::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCoolBands>("TCoolBands").Build();
  return info;
}

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner), bands_(std::make_unique<TCoolBands>(this)) {
  bands_->PropName = "Bands";
  SetAlign(alTop);
  SetBounds(0, 0, 150, 75);
}

void TCoolBar::SetImages(TComponent* v) {
  images_ = v;
  if (v) FreeNotification(v);
}

void TCoolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) images_ = nullptr;
  for (int i = 0; i < bands_->Count(); ++i)
    if (bands_->Items(i)->Control() == component) bands_->Items(i)->SetControl(nullptr);
}

const ClassInfo& TCoolBar::StaticClass() {
  using C = TCoolBar;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TCoolBar");
    b.Publish("Align").Default(alTop);
    Pub(b, {"Anchors", "AutoSize"});
    b.Enum("BandBorderStyle", &C::BandBorderStyle, &C::BandBorderStyle, BorderStyleInfo()).Default(bsSingle_)
        .Enum("BandMaximize", &C::BandMaximize, &C::BandMaximize, CoolBandMaximizeInfo()).Default(bmClick)
        .Object("Bands", &C::Bands, &C::SetBands);
    Pub(b, {"BiDiMode", "BorderWidth", "Color", "Constraints", "Ctl3D", "DockSite", "DoubleBuffered",
            "DragCursor", "DragKind", "DragMode"});
    b.Set("EdgeBorders", &C::EdgeBorders, &C::EdgeBorders, EdgeBorderInfo())
        .Default(TEdgeBorders{ebLeft, ebTop, ebRight, ebBottom})
        .Enum("EdgeInner", &C::EdgeInner, &C::EdgeInner, EdgeStyleInfo()).Default(esRaised)
        .Enum("EdgeOuter", &C::EdgeOuter, &C::EdgeOuter, EdgeStyleInfo()).Default(esLowered);
    b.Publish("Enabled");
    b.Boolean("FixedSize", &C::FixedSize, &C::FixedSize).Default(false)
        .Boolean("FixedOrder", &C::FixedOrder, &C::FixedOrder).Default(false);
    b.Publish("Font");
    b.Reference("Images", &C::Images, &C::SetImages);
    Pub(b, {"ParentBackground", "ParentColor", "ParentDoubleBuffered", "ParentFont", "ParentShowHint",
            "PopupMenu", "ShowHint"});
    b.Boolean("ShowText", &C::ShowText, &C::ShowText).Default(true)
        .Boolean("Vertical", &C::Vertical, &C::Vertical).Default(false);
    Pub(b, {"Visible", "StyleElements"});
    b.Event("OnChange", &C::OnChange);
    Pub(b, {"OnClick", "OnConstrainedResize", "OnContextPopup", "OnDockDrop", "OnDockOver",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnGetSiteInfo",
            "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp", "OnResize",
            "OnStartDock", "OnStartDrag", "OnUnDock"});
    return b.Build();
  }();
  return info;
}

void RegisterComCtrls() {
  RegisterClasses({&TTreeView::StaticClass(), &TListView::StaticClass(), &TStatusBar::StaticClass(),
                   &THeaderControl::StaticClass(), &TTabControl::StaticClass(), &TTabSheet::StaticClass(),
                   &TPageControl::StaticClass(), &TProgressBar::StaticClass(), &TTrackBar::StaticClass(),
                   &TUpDown::StaticClass(), &TRichEdit::StaticClass(), &TDateTimePicker::StaticClass(),
                   &TToolBar::StaticClass(), &TToolButton::StaticClass(), &TCoolBar::StaticClass()});
}

}  // namespace vorlect::host
