#include "host/framework/TypInfo.h"

#include "host/framework/Controls.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace vorlect::host {

const char* TypeKindName(TypeKind kind) {
  switch (kind) {
    case TypeKind::String: return "String";
    case TypeKind::Char: return "Char";
    case TypeKind::Integer: return "Integer";
    case TypeKind::Byte: return "Byte";
    case TypeKind::Int64: return "Int64";
    case TypeKind::Boolean: return "Boolean";
    case TypeKind::Enumeration: return "Enumeration";
    case TypeKind::Set: return "Set";
    case TypeKind::Float: return "Float";
    case TypeKind::Class: return "Class";
    case TypeKind::StringList: return "StringList";
    case TypeKind::Collection: return "Collection";
    case TypeKind::Method: return "Method";
  }
  return "?";
}

int EnumInfo::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return static_cast<int>(i);
  return -1;
}

const std::string* EnumInfo::NameOf(std::int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= static_cast<std::int64_t>(names.size())) return nullptr;
  return &names[static_cast<std::size_t>(ordinal)];
}

const EnumInfo& BooleanInfo() {
  static const EnumInfo info{"Boolean", {"False", "True"}};
  return info;
}

bool IdentMap::ToIdent(std::int64_t value, std::string& ident) const {
  for (auto& [v, name] : entries)
    if (v == value) {
      ident = name;
      return true;
    }
  return false;
}

bool IdentMap::ToInt(std::string_view ident, std::int64_t& value) const {
  for (auto& [v, name] : entries)
    if (SameText(name, ident)) {
      value = v;
      return true;
    }
  return false;
}

bool PropInfo::IsOrdinal() const {
  switch (kind) {
    case TypeKind::Char:
    case TypeKind::Integer:
    case TypeKind::Byte:
    case TypeKind::Int64:
    case TypeKind::Boolean:
    case TypeKind::Enumeration:
    case TypeKind::Set:
      return true;
    default:
      return false;
  }
}

bool PropInfo::IsReadOnly() const {
  switch (kind) {
    case TypeKind::String: return !setString;
    case TypeKind::Float: return !setFloat;
    case TypeKind::Method: return !event;
    case TypeKind::Class:
    case TypeKind::StringList:
    case TypeKind::Collection: return !setObject;
    default: return !setOrdinal;
  }
}

bool PropInfo::IsStoredValue(const TPersistent& obj) const {
  if (neverStored) return false;
  if (stored && !stored(obj)) return false;
  switch (kind) {
    case TypeKind::String: return getString && !getString(obj).empty();
    case TypeKind::Float: return getFloat && getFloat(obj) != 0.0;
    case TypeKind::Method: {
      TEventBase* e = event(const_cast<TPersistent&>(obj));
      return e && !e->HandlerName.empty();
    }
    case TypeKind::Class:
    case TypeKind::StringList:
    case TypeKind::Collection:
      return getObject && getObject(obj) != nullptr;
    default:
      return getOrdinal && (!hasDefault || getOrdinal(obj) != defaultValue);
  }
}

// ---- ClassInfo -------------------------------------------------------------------------------

ClassInfo::ClassInfo(ClassInfo&& other) noexcept { *this = std::move(other); }

ClassInfo& ClassInfo::operator=(ClassInfo&& other) noexcept {
  name_ = std::move(other.name_);
  parent_ = other.parent_;
  own_ = std::move(other.own_);
  properties_ = std::move(other.properties_);
  declared_ = std::move(other.declared_);
  ownDefined_ = std::move(other.ownDefined_);
  defined_ = std::move(other.defined_);
  index_ = std::move(other.index_);
  createComponent_ = other.createComponent_;
  createItem_ = other.createItem_;
  for (auto& p : own_) p->owner = this;
  return *this;
}

bool ClassInfo::InheritsFrom(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

const PropInfo* ClassInfo::FindProperty(std::string_view name) const {
  auto it = std::lower_bound(index_.begin(), index_.end(), name,
                             [](const auto& entry, std::string_view n) {
                               return CompareText(entry.first, n) < 0;
                             });
  if (it != index_.end() && CompareText(it->first, name) == 0) return it->second;
  return nullptr;
}

const PropInfo* ClassInfo::FindDeclared(std::string_view name) const {
  for (const PropInfo* p : declared_)
    if (SameText(p->name, name)) return p;
  return nullptr;
}

const DefinedProperty* ClassInfo::FindDefined(std::string_view name) const {
  for (auto it = defined_.rbegin(); it != defined_.rend(); ++it)
    if (SameText((*it)->name, name)) return *it;
  return nullptr;
}

bool ClassInfo::IsComponentClass() const { return InheritsFrom(TComponent::StaticClass()); }

bool ClassInfo::IsCollectionItemClass() const {
  return InheritsFrom(TCollectionItem::StaticClass());
}

TComponent* ClassInfo::CreateComponent(TComponent* owner) const {
  if (!createComponent_)
    throw EComponentError("Cannot create an instance of class " + name_);
  return createComponent_(owner);
}

TCollectionItem* ClassInfo::CreateItem(TCollection* collection) const {
  if (!createItem_) throw EComponentError("Cannot create an instance of class " + name_);
  return createItem_(collection);
}

// ---- ClassBuilderBase ------------------------------------------------------------------------

ClassBuilderBase::ClassBuilderBase(std::string name, const ClassInfo* parent) {
  info_.name_ = std::move(name);
  info_.parent_ = parent;
}

RuntimeClassBuilder::RuntimeClassBuilder(std::string name, const ClassInfo& parent)
    : ClassBuilderBase(std::move(name), &parent) {
  info_.createComponent_ = parent.createComponent_;
  info_.createItem_ = parent.createItem_;
}

PropInfo& ClassBuilderBase::NewProp(std::string name, TypeKind kind) {
  auto p = std::make_unique<PropInfo>();
  p->name = std::move(name);
  p->kind = kind;
  p->published = published_;
  last_ = p.get();
  info_.own_.push_back(std::move(p));
  return *last_;
}

void ClassBuilderBase::AddDefined(DefinedProperty def) {
  info_.ownDefined_.push_back(std::make_unique<DefinedProperty>(std::move(def)));
}

ClassBuilderBase& ClassBuilderBase::Default(std::int64_t value) {
  if (last_) {
    last_->hasDefault = true;
    last_->defaultValue = value;
  }
  return *this;
}

ClassBuilderBase& ClassBuilderBase::NoDefault() {
  if (last_) last_->hasDefault = false;
  return *this;
}

ClassBuilderBase& ClassBuilderBase::NotStored() {
  if (last_) last_->neverStored = true;
  return *this;
}

ClassBuilderBase& ClassBuilderBase::Idents(const IdentMap& map) {
  if (last_) last_->identMap = &map;
  return *this;
}

ClassBuilderBase& ClassBuilderBase::StoredIf(std::function<bool(const TPersistent&)> predicate) {
  if (last_) last_->stored = std::move(predicate);
  return *this;
}

ClassBuilderBase& ClassBuilderBase::Publish(std::string_view name) {
  const PropInfo* base = info_.parent_ ? info_.parent_->FindDeclared(name) : nullptr;
  if (!base)
    throw EPropertyError(info_.name_ + ": no inherited property " + std::string(name) + " to publish");
  auto p = std::make_unique<PropInfo>(*base);
  p->published = true;
  last_ = p.get();
  info_.own_.push_back(std::move(p));
  return *this;
}

ClassInfo ClassBuilderBase::Build() {
  ClassInfo& info = info_;
  if (info.parent_) {
    info.properties_ = info.parent_->properties_;
    info.declared_ = info.parent_->declared_;
    info.defined_ = info.parent_->defined_;
  }
  for (auto& own : info.own_) {
    own->owner = &info;
    const PropInfo* p = own.get();
    auto sameName = [p](const PropInfo* q) { return SameText(q->name, p->name); };
    auto d = std::find_if(info.declared_.begin(), info.declared_.end(), sameName);
    if (d != info.declared_.end()) *d = p;
    else info.declared_.push_back(p);
    auto pub = std::find_if(info.properties_.begin(), info.properties_.end(), sameName);
    if (pub != info.properties_.end()) {
      // Redeclared: keeps its place when still published, leaves the list when not.
      if (p->published) *pub = p;
      else info.properties_.erase(pub);
    } else if (p->published) {
      info.properties_.push_back(p);
    }
  }
  for (auto& d : info.ownDefined_) info.defined_.push_back(d.get());
  info.index_.clear();
  for (const PropInfo* p : info.properties_) info.index_.emplace_back(p->name, p);
  std::sort(info.index_.begin(), info.index_.end(),
            [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
  last_ = nullptr;
  return std::move(info_);
}

// ---- the root classes ------------------------------------------------------------------------

namespace {

struct RootBuilder : ClassBuilderBase {
  RootBuilder() : ClassBuilderBase("TObject", nullptr) {}
};

}  // namespace

const ClassInfo& TObject::StaticClass() {
  static const ClassInfo info = RootBuilder().Build();
  return info;
}

const ClassInfo& TPersistent::StaticClass() {
  static const ClassInfo info = ClassBuilder<TPersistent>("TPersistent").Build();
  return info;
}

namespace {

std::optional<formfile::Value> WriteDesign(int value, const formfile::Value* original) {
  if (original && original->isInteger() && original->integer == value) return *original;
  if (value == 0 && !original) return std::nullopt;
  return formfile::Value::Integer(value);
}

}  // namespace

const ClassInfo& TComponent::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TComponent>("TComponent")
          .String("Name", &TComponent::Name, &TComponent::SetName).NotStored()
          .Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0)
          // The design position of non-visual components (controls publish Left/Top instead).
          .Define(
              "Left",
              [](TComponent& c, const formfile::Value& v, const FilerContext&) {
                if (!v.isInteger()) return false;
                c.SetDesignPosition(static_cast<int>(v.integer), c.DesignTop());
                return true;
              },
              [](const TComponent& c, const formfile::Value* original, const FilerContext&) {
                return WriteDesign(c.DesignLeft(), original);
              })
          .Define(
              "Top",
              [](TComponent& c, const formfile::Value& v, const FilerContext&) {
                if (!v.isInteger()) return false;
                c.SetDesignPosition(c.DesignLeft(), static_cast<int>(v.integer));
                return true;
              },
              [](const TComponent& c, const formfile::Value* original, const FilerContext&) {
                return WriteDesign(c.DesignTop(), original);
              })
          .Build();
  return info;
}

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TStrings>("TStrings")
          .Define(
              "Strings",
              [](TStrings& s, const formfile::Value& v, const FilerContext& context) {
                if (v.type != formfile::ValueType::List) return false;
                std::vector<std::string> lines;
                lines.reserve(v.list.size());
                for (const formfile::Value& item : v.list) {
                  std::string text;
                  if (!ValueToAnsi(item, context.codePage, text)) return false;
                  lines.push_back(std::move(text));
                }
                s.BeginUpdate();
                try {
                  s.Clear();
                  for (auto& line : lines) s.Add(line);
                } catch (...) {
                  s.EndUpdate();
                  throw;
                }
                s.EndUpdate();
                return true;
              },
              [](const TStrings& s, const formfile::Value* original,
                 const FilerContext& context) -> std::optional<formfile::Value> {
                if (s.Count() == 0 && !original) return std::nullopt;
                formfile::Value list;
                list.type = formfile::ValueType::List;
                bool listOriginal = original && original->type == formfile::ValueType::List;
                for (int i = 0; i < s.Count(); ++i) {
                  const formfile::Value* o =
                      listOriginal && static_cast<std::size_t>(i) < original->list.size()
                          ? &original->list[static_cast<std::size_t>(i)]
                          : nullptr;
                  list.list.push_back(AnsiToValue(s.Strings(i), o, context));
                }
                return list;
              })
          .Build();
  return info;
}

const ClassInfo& TStringList::StaticClass() {
  static const ClassInfo info = ClassBuilder<TStringList>("TStringList").Build();
  return info;
}

const ClassInfo& TCollectionItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCollectionItem>("TCollectionItem").Build();
  return info;
}

const ClassInfo& TCollection::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCollection>("TCollection").Build();
  return info;
}

// ---- the registry ----------------------------------------------------------------------------

namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::string, const ClassInfo*> classes;  // lower-case name
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

void EnsureInitialized() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterCoreClasses();
    RegisterStockControls();
  });
}

}  // namespace

void RegisterClass(const ClassInfo& cls) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto [it, inserted] = r.classes.emplace(LowerCase(cls.Name()), &cls);
  if (!inserted && it->second != &cls)
    throw EComponentError("A class named " + cls.Name() + " is already registered");
}

void RegisterClasses(std::initializer_list<const ClassInfo*> classes) {
  for (const ClassInfo* c : classes) RegisterClass(*c);
}

void UnRegisterClass(const ClassInfo& cls) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.classes.find(LowerCase(cls.Name()));
  if (it != r.classes.end() && it->second == &cls) r.classes.erase(it);
}

const ClassInfo* GetClass(std::string_view name) {
  EnsureInitialized();
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.classes.find(LowerCase(name));
  return it == r.classes.end() ? nullptr : it->second;
}

const ClassInfo& FindClass(std::string_view name) {
  const ClassInfo* c = GetClass(name);
  if (!c) throw EClassNotFound("Class " + std::string(name) + " not found");
  return *c;
}

// ---- generic property access -----------------------------------------------------------------

namespace {

const PropInfo& Need(const TPersistent& obj, std::string_view name) {
  const PropInfo* p = obj.ClassType().FindProperty(name);
  if (!p) throw EPropertyError("Unknown property: " + std::string(name) + " of " + obj.ClassName());
  return *p;
}

const PropInfo& Check(const TPersistent& obj, const PropInfo* prop) {
  if (!prop) throw EPropertyError("Unknown property of " + obj.ClassName());
  if (prop->owner && !obj.ClassType().InheritsFrom(*prop->owner))
    throw EPropertyError("Property " + prop->name + " does not belong to " + obj.ClassName());
  return *prop;
}

[[noreturn]] void WrongKind(const PropInfo& p, const char* wanted) {
  throw EPropertyError("Property " + p.name + " is of kind " + TypeKindName(p.kind) + ", not " +
                       wanted);
}

[[noreturn]] void ReadOnly(const PropInfo& p) {
  throw EPropertyError("Property " + p.name + " is read-only");
}

}  // namespace

const PropInfo* GetPropInfo(const TPersistent& obj, std::string_view name) {
  return obj.ClassType().FindProperty(name);
}

const PropInfo* GetPropInfo(const ClassInfo& cls, std::string_view name) {
  return cls.FindProperty(name);
}

bool IsPublishedProp(const TPersistent& obj, std::string_view name) {
  return GetPropInfo(obj, name) != nullptr;
}

std::span<const PropInfo* const> GetPropList(const TPersistent& obj) {
  return obj.ClassType().Properties();
}

std::string GetStrProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind == TypeKind::String) return p.getString(obj);
  if (p.kind == TypeKind::Char) return std::string(1, static_cast<char>(p.getOrdinal(obj)));
  WrongKind(p, "String");
}

void SetStrProp(TPersistent& obj, const PropInfo* prop, const std::string& value) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind == TypeKind::String) {
    if (!p.setString) ReadOnly(p);
    p.setString(obj, value);
    NotifyChanged(&obj);
    return;
  }
  if (p.kind == TypeKind::Char) {
    if (!p.setOrdinal) ReadOnly(p);
    p.setOrdinal(obj, value.empty() ? 0 : static_cast<unsigned char>(value[0]));
    NotifyChanged(&obj);
    return;
  }
  WrongKind(p, "String");
}

std::string GetStrProp(const TPersistent& obj, std::string_view name) {
  return GetStrProp(obj, &Need(obj, name));
}

void SetStrProp(TPersistent& obj, std::string_view name, const std::string& value) {
  SetStrProp(obj, &Need(obj, name), value);
}

std::int64_t GetOrdProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (!p.IsOrdinal()) WrongKind(p, "ordinal");
  return p.getOrdinal(obj);
}

void SetOrdProp(TPersistent& obj, const PropInfo* prop, std::int64_t value) {
  const PropInfo& p = Check(obj, prop);
  if (!p.IsOrdinal()) WrongKind(p, "ordinal");
  if (!p.setOrdinal) ReadOnly(p);
  p.setOrdinal(obj, value);
  NotifyChanged(&obj);
}

std::int64_t GetOrdProp(const TPersistent& obj, std::string_view name) {
  return GetOrdProp(obj, &Need(obj, name));
}

void SetOrdProp(TPersistent& obj, std::string_view name, std::int64_t value) {
  SetOrdProp(obj, &Need(obj, name), value);
}

std::int64_t GetInt64Prop(const TPersistent& obj, std::string_view name) {
  return GetOrdProp(obj, name);
}

void SetInt64Prop(TPersistent& obj, std::string_view name, std::int64_t value) {
  SetOrdProp(obj, name, value);
}

std::string GetEnumProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Enumeration && p.kind != TypeKind::Boolean) WrongKind(p, "Enumeration");
  std::int64_t v = p.getOrdinal(obj);
  const std::string* name = p.enumInfo->NameOf(v);
  return name ? *name : std::to_string(v);
}

void SetEnumProp(TPersistent& obj, const PropInfo* prop, std::string_view value) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Enumeration && p.kind != TypeKind::Boolean) WrongKind(p, "Enumeration");
  if (!p.setOrdinal) ReadOnly(p);
  int v = p.enumInfo->IndexOf(value);
  if (v < 0)
    throw EPropertyError("Invalid property value " + std::string(value) + " for " + p.name);
  p.setOrdinal(obj, v);
  NotifyChanged(&obj);
}

std::string GetEnumProp(const TPersistent& obj, std::string_view name) {
  return GetEnumProp(obj, &Need(obj, name));
}

void SetEnumProp(TPersistent& obj, std::string_view name, std::string_view value) {
  SetEnumProp(obj, &Need(obj, name), value);
}

std::string GetSetProp(const TPersistent& obj, std::string_view name, bool brackets) {
  const PropInfo& p = Need(obj, name);
  if (p.kind != TypeKind::Set) WrongKind(p, "Set");
  auto bits = static_cast<std::uint64_t>(p.getOrdinal(obj));
  std::string r;
  for (std::size_t i = 0; i < p.enumInfo->names.size() && i < 64; ++i)
    if ((bits >> i) & 1u) {
      if (!r.empty()) r += ',';
      r += p.enumInfo->names[i];
    }
  return brackets ? "[" + r + "]" : r;
}

void SetSetProp(TPersistent& obj, std::string_view name, std::string_view value) {
  const PropInfo& p = Need(obj, name);
  if (p.kind != TypeKind::Set) WrongKind(p, "Set");
  if (!p.setOrdinal) ReadOnly(p);
  std::uint64_t bits = 0;
  std::size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && (value[i] == '[' || value[i] == ']' || value[i] == ',' ||
                                static_cast<unsigned char>(value[i]) <= ' '))
      ++i;
    std::size_t start = i;
    while (i < value.size() && value[i] != ',' && value[i] != ']' &&
           static_cast<unsigned char>(value[i]) > ' ')
      ++i;
    if (i == start) continue;
    std::string_view element = value.substr(start, i - start);
    int e = p.enumInfo->IndexOf(element);
    if (e < 0 || e >= 64)
      throw EPropertyError("Invalid set element " + std::string(element) + " for " + p.name);
    bits |= std::uint64_t(1) << e;
  }
  p.setOrdinal(obj, static_cast<std::int64_t>(bits));
  NotifyChanged(&obj);
}

double GetFloatProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Float) WrongKind(p, "Float");
  return p.getFloat(obj);
}

void SetFloatProp(TPersistent& obj, const PropInfo* prop, double value) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Float) WrongKind(p, "Float");
  if (!p.setFloat) ReadOnly(p);
  p.setFloat(obj, value);
  NotifyChanged(&obj);
}

double GetFloatProp(const TPersistent& obj, std::string_view name) {
  return GetFloatProp(obj, &Need(obj, name));
}

void SetFloatProp(TPersistent& obj, std::string_view name, double value) {
  SetFloatProp(obj, &Need(obj, name), value);
}

TPersistent* GetObjectProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (!p.getObject) WrongKind(p, "Class");
  return p.getObject(obj);
}

TPersistent* GetObjectProp(const TPersistent& obj, std::string_view name) {
  return GetObjectProp(obj, &Need(obj, name));
}

void SetObjectProp(TPersistent& obj, const PropInfo* prop, TPersistent* value) {
  const PropInfo& p = Check(obj, prop);
  if (!p.getObject) WrongKind(p, "Class");
  if (!p.setObject) ReadOnly(p);
  p.setObject(obj, value);
  // References are dropped when the referenced component goes away.
  if (p.isReference && value) {
    auto* self = dynamic_cast<TComponent*>(&obj);
    auto* target = dynamic_cast<TComponent*>(value);
    if (self && target) self->FreeNotification(target);
  }
  NotifyChanged(&obj);
}

void SetObjectProp(TPersistent& obj, std::string_view name, TPersistent* value) {
  SetObjectProp(obj, &Need(obj, name), value);
}

std::string GetMethodProp(const TPersistent& obj, const PropInfo* prop) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Method) WrongKind(p, "Method");
  return p.event(const_cast<TPersistent&>(obj))->HandlerName;
}

void SetMethodProp(TPersistent& obj, const PropInfo* prop, const std::string& handlerName) {
  const PropInfo& p = Check(obj, prop);
  if (p.kind != TypeKind::Method) WrongKind(p, "Method");
  p.event(obj)->HandlerName = handlerName;
}

std::string GetMethodProp(const TPersistent& obj, std::string_view name) {
  return GetMethodProp(obj, &Need(obj, name));
}

void SetMethodProp(TPersistent& obj, std::string_view name, const std::string& handlerName) {
  SetMethodProp(obj, &Need(obj, name), handlerName);
}

TEventBase* GetEventProp(TPersistent& obj, std::string_view name) {
  const PropInfo& p = Need(obj, name);
  if (p.kind != TypeKind::Method) WrongKind(p, "Method");
  return p.event(obj);
}

std::string GetPropText(const TPersistent& obj, std::string_view name) {
  const PropInfo& p = Need(obj, name);
  switch (p.kind) {
    case TypeKind::String: return p.getString(obj);
    case TypeKind::Char: return std::string(1, static_cast<char>(p.getOrdinal(obj)));
    case TypeKind::Boolean:
    case TypeKind::Enumeration: return GetEnumProp(obj, &p);
    case TypeKind::Set: return GetSetProp(obj, name, true);
    case TypeKind::Float: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.15g", p.getFloat(obj));
      return buf;
    }
    case TypeKind::Method: return GetMethodProp(obj, &p);
    case TypeKind::Class:
    case TypeKind::StringList:
    case TypeKind::Collection: {
      TPersistent* o = p.getObject(obj);
      if (!o) return "nil";
      if (p.isReference) {
        auto* c = dynamic_cast<TComponent*>(o);
        return c ? c->Name() : o->ClassName();
      }
      return "(" + o->ClassName() + ")";
    }
    default: {
      std::int64_t v = p.getOrdinal(obj);
      std::string ident;
      if (p.identMap && p.identMap->ToIdent(v, ident)) return ident;
      return std::to_string(v);
    }
  }
}

// ---- form-file values ------------------------------------------------------------------------

bool ValueToAnsi(const formfile::Value& value, int codePage, std::string& text) {
  if (value.isAnsiString()) {
    text = value.bytes;
    return true;
  }
  if (value.isWideString()) {
    text = platform::EncodeCodePage(value.unicodeText(), codePage);
    return true;
  }
  return false;
}

formfile::Value AnsiToValue(const std::string& text, const formfile::Value* original,
                            const FilerContext& context) {
  if (original) {
    std::string was;
    if (ValueToAnsi(*original, context.codePage, was) && was == text) return *original;
  }
  bool nonAscii = std::any_of(text.begin(), text.end(),
                              [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (nonAscii && ((original && original->isWideString()) || context.unicodeNonAscii))
    return formfile::Value::Unicode(platform::DecodeCodePage(text, context.codePage));
  return formfile::Value::Ansi(text);
}

}  // namespace vorlect::host
