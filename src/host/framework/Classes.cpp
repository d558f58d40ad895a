#include "host/framework/Classes.h"

#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"

#include <algorithm>

namespace vorlect::host {

namespace {

// Components carrying an observer, process-wide: while there is none, a change costs one test.
int observedTrees = 0;

TChangeObserver* FindObserver(const TComponent* component) {
  if (observedTrees == 0) return nullptr;
  for (; component; component = component->Owner())
    if (TChangeObserver* observer = component->ChangeObserver()) return observer;
  return nullptr;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

template <class V, class T>
void EraseOne(V& v, const T& value) {
  auto it = std::find(v.begin(), v.end(), value);
  if (it != v.end()) v.erase(it);
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  // Bytes above 127 are letters of UTF-8 identifiers, which newer IDEs allow.
  auto alpha = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  };
  if (!alpha(name[0])) return false;
  for (char c : name.substr(1))
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// ---- TObject / TPersistent -------------------------------------------------------------------

TObject::~TObject() = default;

std::string TObject::ClassName() const { return ClassType().Name(); }

bool TObject::InheritsFrom(const ClassInfo& cls) const { return ClassType().InheritsFrom(cls); }

TPersistent::TPersistent() = default;
TPersistent::~TPersistent() = default;

FilerState& TPersistent::EnsureFiler() {
  if (!filer_) filer_ = std::make_unique<FilerState>();
  return *filer_;
}

void TPersistent::ResetFiler() { filer_.reset(); }

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

// ---- TComponent ------------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  if (observer_) {
    // The observer of a tree learns of the root alone; what the root owns goes with it.
    TChangeObserver* observer = observer_;
    SetChangeObserver(nullptr);
    observer->ComponentDestroying(*this);
  } else if (TChangeObserver* observer = FindObserver(owner_)) {
    observer->ComponentDestroying(*this);
  }
  // Whoever holds a reference to this component drops it now.
  std::vector<TComponent*> notifies;
  notifies.swap(freeNotifies_);
  for (TComponent* c : notifies) {
    EraseOne(c->freeNotifies_, this);
    if (!c->InState(csDestroying)) c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
  if (parentComponent_) EraseOne(parentComponent_->childComponents_, this);
  for (TComponent* child : childComponents_) child->parentComponent_ = nullptr;
}

void TComponent::SetChangeObserver(TChangeObserver* observer) {
  if ((observer_ != nullptr) != (observer != nullptr)) observedTrees += observer ? 1 : -1;
  observer_ = observer;
}

void TComponent::NotifyChanged() {
  if (observedTrees == 0 || InState(csLoading)) return;
  if (TChangeObserver* observer = FindObserver(this)) observer->ComponentChanged(*this);
}

void NotifyChanged(TPersistent* object) {
  if (observedTrees == 0 || !object) return;
  if (auto* component = dynamic_cast<TComponent*>(object)) return component->NotifyChanged();
  if (auto* item = dynamic_cast<TCollectionItem*>(object))
    if (TCollection* collection = item->Collection()) NotifyChanged(collection->Owner());
}

void NotifyBroughtToFront(TComponent& component) {
  if (TChangeObserver* observer = FindObserver(&component)) observer->ComponentBroughtToFront(component);
}

TChangeBatch::TChangeBatch(TComponent* component) : observer_(FindObserver(component)) {
  if (observer_) observer_->BeginBatch();
}

TChangeBatch::~TChangeBatch() {
  if (observer_) observer_->EndBatch();
}

std::string TComponent::ClassName() const {
  return declaredClassName_.empty() ? ClassType().Name() : declaredClassName_;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty() || !nameIndex_) return nullptr;
  auto it = nameIndex_->find(LowerCase(name));
  return it == nameIndex_->end() ? nullptr : it->second;
}

void TComponent::IndexName(TComponent* component) {
  if (component->name_.empty()) return;
  if (!nameIndex_) nameIndex_ = std::make_unique<std::unordered_map<std::string, TComponent*>>();
  (*nameIndex_)[LowerCase(component->name_)] = component;
}

void TComponent::UnindexName(TComponent* component) {
  if (component->name_.empty() || !nameIndex_) return;
  auto it = nameIndex_->find(LowerCase(component->name_));
  if (it != nameIndex_->end() && it->second == component) nameIndex_->erase(it);
}

void TComponent::SetName(std::string_view name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + std::string(name) + "' is not a valid component name");
  if (owner_) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw EComponentError("A component named " + std::string(name) + " already exists");
    owner_->UnindexName(this);
  }
  name_ = std::string(name);
  if (owner_) owner_->IndexName(this);
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (!component->name_.empty()) {
    TComponent* other = FindComponent(component->name_);
    if (other && other != component)
      throw EComponentError("A component named " + component->name_ + " already exists");
  }
  if (component->owner_) component->owner_->RemoveComponent(component);
  components_.push_back(component);
  component->owner_ = this;
  IndexName(component);
  if (InState(csDesigning)) component->SetDesigning(true);
  if (!InState(csDestroying)) Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  if (!InState(csDestroying)) Notification(component, opRemove);
  UnindexName(component);
  // Usually the last one (destruction runs backwards): search from the end.
  auto it = std::find(components_.rbegin(), components_.rend(), component);
  if (it != components_.rend()) components_.erase(std::next(it).base());
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    delete last;  // removes itself from components_
    if (!components_.empty() && components_.back() == last) components_.pop_back();
  }
}

void TComponent::SetStateFlag(TComponentStateFlag flag, bool on) {
  if (on) state_ |= flag;
  else state_ &= ~static_cast<TComponentState>(flag);
}

void TComponent::SetDesigning(bool designing, bool setChildren) {
  SetStateFlag(csDesigning, designing);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(designing, true);
}

void TComponent::Loaded() { SetStateFlag(csLoading, false); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove || !component) return;
  for (const PropInfo* p : ClassType().DeclaredProperties()) {
    if (p->kind != TypeKind::Class || !p->isReference || !p->getObject || !p->setObject) continue;
    if (p->getObject(*this) == component) p->setObject(*this, nullptr);
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  EraseOne(freeNotifies_, component);
  EraseOne(component->freeNotifies_, this);
}

void TComponent::SetParentComponent(TComponent* parent) { AttachToParentComponent(parent); }

void TComponent::AttachToParentComponent(TComponent* parent) {
  if (parent == parentComponent_ || parent == this) return;
  if (parentComponent_) EraseOne(parentComponent_->childComponents_, this);
  parentComponent_ = parent;
  if (parent) parent->childComponents_.push_back(this);
}

void TComponent::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
  if (root == this) {
    // The root's own components that nothing else holds, in creation order.
    for (TComponent* c : components_) {
      TComponent* p = c->GetParentComponent();
      if (!p || p == this) children.push_back(c);
    }
    return;
  }
  for (TComponent* c : childComponents_)
    if (c->owner_ == root || c->owner_ == this) children.push_back(c);
}

// ---- TStrings --------------------------------------------------------------------------------

void TStrings::Error(const char* message, int index) const {
  throw EStringListError(std::string(message) + " (" + std::to_string(index) + ")");
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, void* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Strings(i), strings.Objects(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  std::string s1 = Strings(index1), s2 = Strings(index2);
  void* o1 = Objects(index1);
  void* o2 = Objects(index2);
  Put(index1, s2);
  PutObject(index1, o2);
  Put(index2, s1);
  PutObject(index2, o1);
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  std::string s = Strings(curIndex);
  void* o = Objects(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, o);
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Strings(i), s)) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& s = Strings(i);
    auto p = s.find(NameValueSeparator);
    if (p != std::string::npos && SameText(std::string_view(s).substr(0, p), name)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const void* object) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Strings(i) != other.Strings(i)) return false;
  return true;
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    r += Strings(i);
    if (TrailingLineBreak || i + 1 < Count()) r += LineBreak;
  }
  return r;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t p = 0;
    while (p < text.size()) {
      std::size_t start = p;
      while (p < text.size() && text[p] != '\r' && text[p] != '\n') ++p;
      Add(std::string(text.substr(start, p - start)));
      if (p < text.size() && text[p] == '\r') ++p;
      if (p < text.size() && text[p] == '\n') ++p;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string TStrings::DelimitedText() const {
  int count = Count();
  if (count == 1 && Strings(0).empty()) return std::string(2, QuoteChar);
  std::string r;
  for (int i = 0; i < count; ++i) {
    const std::string& s = Strings(i);
    // The original scans up to the first blank, quote or delimiter; an empty item (one of many)
    // stays unquoted.
    bool quote = false;
    for (char c : s)
      if ((!StrictDelimiter && IsBlank(c)) || c == QuoteChar || c == Delimiter || c == '\0') {
        quote = true;
        break;
      }
    if (quote) {
      r += QuoteChar;
      for (char c : s) {
        r += c;
        if (c == QuoteChar) r += QuoteChar;
      }
      r += QuoteChar;
    } else {
      r += s;
    }
    if (i + 1 < count) r += Delimiter;
  }
  return r;
}

void TStrings::SetDelimitedText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t p = 0, n = text.size();
    auto skipBlanks = [&] {
      if (StrictDelimiter) return;
      while (p < n && IsBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
      std::string s;
      if (text[p] == QuoteChar) {
        // A quoted item ends at a single quote char; a doubled one stands for itself. Without
        // a closing quote the rest of the text is the item.
        ++p;
        while (p < n) {
          if (text[p] == QuoteChar) {
            if (p + 1 < n && text[p + 1] == QuoteChar) {
              s += QuoteChar;
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s += text[p++];
        }
      } else {
        std::size_t start = p;
        while (p < n && text[p] != Delimiter && (StrictDelimiter || !IsBlank(text[p]))) ++p;
        s.assign(text.substr(start, p - start));
      }
      Add(s);
      skipBlanks();
      if (p < n && text[p] == Delimiter) {
        if (p + 1 == n) Add(std::string());
        ++p;
        skipBlanks();
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  TStrings& self = const_cast<TStrings&>(*this);
  char d = Delimiter, q = QuoteChar;
  bool strict = StrictDelimiter;
  self.Delimiter = ',';
  self.QuoteChar = '"';
  self.StrictDelimiter = false;
  std::string r = DelimitedText();
  self.Delimiter = d;
  self.QuoteChar = q;
  self.StrictDelimiter = strict;
  return r;
}

void TStrings::SetCommaText(std::string_view text) {
  char d = Delimiter, q = QuoteChar;
  bool strict = StrictDelimiter;
  Delimiter = ',';
  QuoteChar = '"';
  StrictDelimiter = false;
  try {
    SetDelimitedText(text);
  } catch (...) {
    Delimiter = d;
    QuoteChar = q;
    StrictDelimiter = strict;
    throw;
  }
  Delimiter = d;
  QuoteChar = q;
  StrictDelimiter = strict;
}

std::string TStrings::Names(int index) const {
  const std::string& s = Strings(index);
  auto p = s.find(NameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string& s = Strings(index);
  auto p = s.find(NameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    std::string item = std::string(name) + NameValueSeparator + value;
    if (i < 0) Add(item);
    else Put(i, item);
  } else if (i >= 0) {
    Delete(i);
  }
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TStrings*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      Delimiter = src->Delimiter;
      QuoteChar = src->QuoteChar;
      StrictDelimiter = src->StrictDelimiter;
      NameValueSeparator = src->NameValueSeparator;
      LineBreak = src->LineBreak;
      TrailingLineBreak = src->TrailingLineBreak;
      AddStrings(*src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TStringList -----------------------------------------------------------------------------

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error("List index out of bounds", index);
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].text = s;
  Changed();
}

void* TStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, void* object) {
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

int TStringList::Add(const std::string& s) {
  int index = Count();
  if (sorted_) {
    if (Find(s, index)) {
      if (Duplicates == dupIgnore) return index;
      if (Duplicates == dupError) throw EStringListError("String list does not allow duplicates");
    }
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Insert(int index, const std::string& s) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) Error("List index out of bounds", index);
  InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, void* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item>().swap(items_);  // the capacity goes too, as on the original platform
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareText(a, b);
}

int TStringList::IndexOf(std::string_view s) const {
  if (sorted_) {
    int index;
    return Find(s, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(items_[static_cast<std::size_t>(i)].text, s) == 0) return i;
  return -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (CompareStrings(items_[static_cast<std::size_t>(mid)].text, s) < 0) lo = mid + 1;
    else hi = mid;
  }
  index = lo;
  return lo < Count() && CompareStrings(items_[static_cast<std::size_t>(lo)].text, s) == 0;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(items_.begin(), items_.end(), [this](const Item& a, const Item& b) {
    return CompareStrings(a.text, b.text) < 0;
  });
  Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
  // Sorts an index permutation so that `compare` sees the list as it stands.
  std::vector<int> order(items_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[static_cast<std::size_t>(i)]));
  Changing();
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value) {
  if (value == caseSensitive_) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

// ---- TCollection -----------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  if (collection_) collection_->MoveItem(this, index);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(std::string_view) { Changed(false); }

std::string TCollectionItem::GetNamePath() const {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->Changed(allItems ? nullptr : this);
}

void TCollectionItem::Assign(const TPersistent& source) {
  if (&source == this) return;
  if (&source.ClassType() != &ClassType()) {
    TPersistent::Assign(source);
    return;
  }
  for (const PropInfo* p : ClassType().Properties()) {
    switch (p->kind) {
      case TypeKind::String:
        if (p->setString) p->setString(*this, p->getString(source));
        break;
      case TypeKind::Float:
        if (p->setFloat) p->setFloat(*this, p->getFloat(source));
        break;
      case TypeKind::Method: {
        auto* from = p->event(const_cast<TPersistent&>(source));
        auto* to = p->event(*this);
        to->HandlerName = from->HandlerName;
        break;
      }
      case TypeKind::Class:
      case TypeKind::StringList:
      case TypeKind::Collection:
        if (p->isReference) {
          if (p->setObject) p->setObject(*this, p->getObject(source));
        } else {
          TPersistent* from = p->getObject(source);
          TPersistent* to = p->getObject(*this);
          if (from && to) to->Assign(*from);
        }
        break;
      default:
        if (p->setOrdinal) p->setOrdinal(*this, p->getOrdinal(source));
        break;
    }
  }
}

TCollection::TCollection(const ClassInfo& itemClass, TPersistent* owner)
    : itemClass_(&itemClass), owner_(owner) {}

TCollection::~TCollection() {
  ++updateCount_;  // no Update() calls while going away
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() { return itemClass_->CreateItem(this); }

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed(nullptr);
}

void TCollection::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TCollection*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : src->items_) Add()->Assign(*item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

std::string TCollection::GetNamePath() const {
  if (!owner_ || PropName.empty()) return ClassName();
  std::string path = owner_->GetNamePath();
  return path.empty() ? PropName : path + "." + PropName;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Changed(nullptr);
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.rbegin(), items_.rend(), item);
  if (it != items_.rend()) items_.erase(std::next(it).base());
  item->collection_ = nullptr;
  Changed(nullptr);
}

void TCollection::MoveItem(TCollectionItem* item, int newIndex) {
  int cur = item->Index();
  if (cur < 0) return;
  newIndex = std::clamp(newIndex, 0, Count() - 1);
  if (cur == newIndex) return;
  items_.erase(items_.begin() + cur);
  items_.insert(items_.begin() + newIndex, item);
  Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item) {
  if (updateCount_ != 0) return;
  Update(item);
  if (OnUpdate) OnUpdate(item);
}

}  // namespace vorlect::host
