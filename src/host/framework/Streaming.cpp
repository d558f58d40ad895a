#include "host/framework/Streaming.h"

#include "host/framework/Controls.h"
#include "platform/CodePages.h"
#include "platform/Files.h"

#include <algorithm>
#include <unordered_map>

namespace vorlect::host {

using formfile::Object;
using formfile::Property;
using formfile::Value;
using formfile::ValueType;

namespace {

// Deeper nesting than any real form (the codec limits its own) means a cycle.
constexpr int kMaxDepth = 1000;

bool HasProperty(const Object& obj, std::string_view name) { return obj.find(name) != nullptr; }

bool HasPrefix(std::string_view s, std::string_view prefix) {
  return s.size() > prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

bool HasSizedChild(const Object& obj) {
  for (const Object& c : obj.children)
    if (HasProperty(c, "Width") || HasProperty(c, "Height") || HasSizedChild(c)) return true;
  return false;
}

bool LooksLikeForm(const Object& obj) {
  for (const char* name : {"Caption", "ClientWidth", "ClientHeight", "PixelsPerInch", "TextHeight"})
    if (HasProperty(obj, name)) return true;
  for (const Property& p : obj.properties)
    if (HasPrefix(p.name, "Font.")) return true;
  return HasSizedChild(obj);
}

bool ContainsNoCase(std::string_view s, std::string_view part) {
  return LowerCase(s).find(LowerCase(part)) != std::string::npos;
}

// The class that stands in for an unregistered one.
const ClassInfo& StandIn(const Object& obj, bool root) {
  if (obj.flags & formfile::ffInline) return TFrame::StaticClass();
  // A frame nested in an inline frame comes as `inherited frameX: TframeX`.
  if ((obj.flags & formfile::ffInherited) && !root && !obj.children.empty() &&
      ContainsNoCase(obj.className, "frame"))
    return TFrame::StaticClass();
  if (root) {
    if (ContainsNoCase(obj.className, "frame")) return TFrame::StaticClass();
    return LooksLikeForm(obj) ? TForm::StaticClass() : TDataModule::StaticClass();
  }
  if (HasProperty(obj, "Width") || HasProperty(obj, "Height") || !obj.children.empty())
    return TUnknownControl::StaticClass();
  return TUnknownComponent::StaticClass();
}

std::string ObjectLabel(const Object& obj) {
  return obj.name.empty() ? obj.className : obj.name;
}

struct Fixup {
  TPersistent* target;
  const PropInfo* prop;
  std::string name;
  TComponent* scope;
  TPersistent* filed;
  std::size_t storedIndex;
  std::string where;
};

class Reader {
public:
  explicit Reader(const ReadOptions& options) : options_(options) {
    context_.codePage = options.codePage ? options.codePage : platform::AnsiCodePage();
  }

  void Read(TComponent& root, const Object& obj) {
    root_ = &root;
    try {
      Begin(root, obj, obj.name);
      if (options_.designing) root.SetDesigning(true);
      ReadProperties(root, &root, obj.properties, obj.name);
      for (const Object& child : obj.children) ReadChild(child, &root, &root, obj.name, 1);
      ResolveFixups();
    } catch (...) {
      for (TComponent* c : created_)
        if (c) c->SetStateFlag(csLoading, false), c->SetStateFlag(csReading, false);
      throw;
    }
    for (TComponent* c : created_) {
      c->SetStateFlag(csReading, false);
      c->SetStateFlag(csLoading, false);
    }
    for (TComponent* c : created_) c->Loaded();
    Snapshot();
  }

private:
  [[noreturn]] void Fail(const std::string& where, const std::string& message) {
    std::string file = options_.fileName.empty() ? "<form>" : options_.fileName;
    throw EReadError(file + ": " + where + ": " + message);
  }

  void Warn(const std::string& where, const std::string& message) {
    if (options_.warnings)
      options_.warnings->push_back((options_.fileName.empty() ? "<form>" : options_.fileName) +
                                   ": " + where + ": " + message);
  }

  void Begin(TComponent& c, const Object& obj, const std::string& where) {
    c.SetStateFlag(csLoading, true);
    c.SetStateFlag(csReading, true);
    created_.push_back(&c);
    FilerState& f = c.EnsureFiler();
    f = FilerState{};
    f.fromFile = true;
    f.className = obj.className;
    f.flags = obj.flags;
    f.position = obj.position;
    f.positionType = obj.positionType;
    if (!SameText(c.ClassType().Name(), obj.className)) c.SetDeclaredClassName(obj.className);
    if (obj.flags & formfile::ffInline) c.SetStateFlag(csInline, true);
    try {
      c.SetName(obj.name);
    } catch (const std::exception& e) {
      Fail(where, e.what());
    }
  }

  void ReadChild(const Object& obj, TComponent* owner, TComponent* parent, const std::string& parentPath,
                 int depth) {
    std::string where = parentPath + "." + ObjectLabel(obj);
    if (depth > kMaxDepth) Fail(where, "objects nested too deeply");
    const ClassInfo* cls = GetClass(obj.className);
    if (!cls || !cls->IsComponentClass() || !cls->CanCreate()) cls = &StandIn(obj, false);
    // Components that own what is nested in them (unknown to us) show as names repeated under
    // one owner: the file parent owns such a component.
    TComponent* own = owner;
    if (!obj.name.empty() && parent != owner && owner->FindComponent(obj.name) &&
        !parent->FindComponent(obj.name))
      own = parent;
    TComponent* c = nullptr;
    try {
      c = cls->CreateComponent(own);
    } catch (const std::exception& e) {
      Fail(where, std::string("cannot create ") + obj.className + ": " + e.what());
    }
    // An unknown class publishes what its file stores (before Begin, which compares class names).
    PublishStoredProperties(*c, obj.className, obj.properties);
    Begin(*c, obj, where);
    try {
      c->SetParentComponent(parent);
    } catch (const std::exception& e) {
      Fail(where, e.what());
    }
    ReadProperties(*c, own, obj.properties, where);
    // An inline frame owns what is nested in it.
    TComponent* childOwner = c->GetChildOwner();
    if (!childOwner) childOwner = (obj.flags & formfile::ffInline) ? c : owner;
    for (const Object& child : obj.children) ReadChild(child, childOwner, c, where, depth + 1);
  }

  void ReadProperties(TPersistent& filed, TComponent* scope, const std::vector<Property>& props,
                      const std::string& where) {
    for (const Property& p : props) ReadProperty(filed, scope, p, where);
  }

  void ReadProperty(TPersistent& filed, TComponent* scope, const Property& p, const std::string& where) {
    FilerState& f = filed.EnsureFiler();
    f.fromFile = true;
    std::size_t index = f.properties.size();
    f.properties.push_back(StoredProperty{p.name, p.value, false});
    bool known = false;
    try {
      known = Apply(filed, scope, p, index, where);
    } catch (const std::exception& e) {
      Warn(where + "." + p.name, std::string(e.what()) + "; kept as read");
      known = false;
    }
    // `filed` may have grown its list while applying (collections): index again.
    filed.Filer()->properties[index].raw = !known;
  }

  // Sets the property through its setter; false when it stays raw.
  bool Apply(TPersistent& filed, TComponent* scope, const Property& p, std::size_t index,
             const std::string& where) {
    TPersistent* obj = &filed;
    std::string_view rest = p.name;
    for (int guard = 0; guard < 64; ++guard) {
      auto dot = rest.find('.');
      std::string_view segment = rest.substr(0, dot);
      // A defined property with a dotted name wins over walking into a sub-object.
      if (dot != std::string_view::npos)
        if (const DefinedProperty* d = obj->ClassType().FindDefined(rest))
          return d->read(*obj, p.value, context_);
      const PropInfo* prop = obj->ClassType().FindProperty(segment);
      if (!prop) {
        const DefinedProperty* d = obj->ClassType().FindDefined(rest);
        return d && d->read(*obj, p.value, context_);
      }
      if (dot == std::string_view::npos)
        return SetValue(*obj, *prop, p.value, filed, scope, index, where + "." + p.name);
      if (!prop->IsSubObject() || !prop->getObject) return false;
      obj = prop->getObject(*obj);
      if (!obj) return false;
      rest = rest.substr(dot + 1);
    }
    return false;
  }

  bool SetValue(TPersistent& obj, const PropInfo& prop, const Value& v, TPersistent& filed,
                TComponent* scope, std::size_t index, const std::string& where) {
    switch (prop.kind) {
      case TypeKind::String: {
        std::string text;
        if (!prop.setString || !ValueToAnsi(v, context_.codePage, text)) return false;
        prop.setString(obj, text);
        return true;
      }
      case TypeKind::Char: {
        std::string text;
        if (!prop.setOrdinal || !ValueToAnsi(v, context_.codePage, text) || text.size() != 1)
          return false;
        prop.setOrdinal(obj, static_cast<unsigned char>(text[0]));
        return true;
      }
      case TypeKind::Integer:
      case TypeKind::Byte:
      case TypeKind::Int64: {
        if (!prop.setOrdinal) return false;
        std::int64_t n;
        if (v.isInteger()) n = v.integer;
        else if (v.type == ValueType::Ident && prop.identMap && prop.identMap->ToInt(v.bytes, n)) {
        } else return false;
        if (prop.kind == TypeKind::Byte && (n < 0 || n > 255)) return false;
        if (prop.kind == TypeKind::Integer && (n < INT32_MIN || n > UINT32_MAX)) return false;
        prop.setOrdinal(obj, n);
        return true;
      }
      case TypeKind::Boolean:
        if (!prop.setOrdinal || !v.isBoolean()) return false;
        prop.setOrdinal(obj, v.type == ValueType::True ? 1 : 0);
        return true;
      case TypeKind::Enumeration: {
        if (!prop.setOrdinal || v.type != ValueType::Ident) return false;
        int n = prop.enumInfo->IndexOf(v.bytes);
        if (n < 0) return false;
        prop.setOrdinal(obj, n);
        return true;
      }
      case TypeKind::Set: {
        if (!prop.setOrdinal || v.type != ValueType::Set) return false;
        std::uint64_t bits = 0;
        for (const std::string& e : v.set) {
          int n = prop.enumInfo->IndexOf(e);
          if (n < 0 || n >= 64) return false;
          bits |= std::uint64_t(1) << n;
        }
        prop.setOrdinal(obj, static_cast<std::int64_t>(bits));
        return true;
      }
      case TypeKind::Float:
        if (!prop.setFloat) return false;
        if (v.isFloat()) prop.setFloat(obj, static_cast<double>(v.toLongDouble()));
        else if (v.isInteger()) prop.setFloat(obj, static_cast<double>(v.integer));
        else return false;
        return true;
      case TypeKind::Method: {
        if (!prop.event) return false;
        TEventBase* e = prop.event(obj);
        if (!e) return false;
        if (v.type == ValueType::Ident) e->HandlerName = v.bytes;
        else if (v.type == ValueType::Nil) e->HandlerName.clear();
        else return false;
        return true;
      }
      case TypeKind::Class:
      case TypeKind::StringList:
      case TypeKind::Collection:
        if (prop.isReference) {
          if (!prop.setObject) return false;
          if (v.type == ValueType::Nil) {
            prop.setObject(obj, nullptr);
            return true;
          }
          if (v.type != ValueType::Ident) return false;
          fixups_.push_back(Fixup{&obj, &prop, v.bytes, scope, &filed, index, where});
          return true;
        }
        if (prop.kind == TypeKind::Collection && v.type == ValueType::Collection)
          return ReadCollection(obj, prop, v, scope, where);
        return false;
    }
    return false;
  }

  bool ReadCollection(TPersistent& obj, const PropInfo& prop, const Value& v, TComponent* scope,
                      const std::string& where) {
    auto* coll = dynamic_cast<TCollection*>(prop.getObject(obj));
    if (!coll || !coll->ItemClass().CanCreate()) return false;
    if (coll->PropName.empty()) coll->PropName = prop.name;
    coll->BeginUpdate();
    try {
      coll->Clear();
      for (std::size_t i = 0; i < v.items.size(); ++i) {
        const formfile::CollectionItem& src = v.items[i];
        TCollectionItem* item = coll->Add();
        PublishStoredProperties(*item, item->ClassType().Name(), src.properties);
        FilerState& f = item->EnsureFiler();
        f.fromFile = true;
        f.hasIndex = src.hasIndex;
        f.index = src.index;
        ReadProperties(*item, scope, src.properties, where + "[" + std::to_string(i) + "]");
      }
    } catch (...) {
      coll->Clear();
      coll->EndUpdate();
      throw;
    }
    coll->EndUpdate();
    return true;
  }

  TComponent* FindIn(TComponent* c, std::string_view name) {
    if (!c) return nullptr;
    if (TComponent* found = c->FindComponent(name)) return found;
    return nullptr;
  }

  TComponent* Lookup(std::string_view name, TComponent* scope) {
    auto dot = name.find('.');
    std::string_view first = name.substr(0, dot);
    TComponent* c = FindIn(scope, first);
    if (!c && scope != root_) c = FindIn(root_, first);
    if (!c && scope && SameText(scope->Name(), first)) c = scope;
    if (!c && SameText(root_->Name(), first)) c = root_;
    while (c && dot != std::string_view::npos) {
      name = name.substr(dot + 1);
      dot = name.find('.');
      c = c->FindComponent(name.substr(0, dot));
    }
    return c;
  }

  void ResolveFixups() {
    for (Fixup& f : fixups_) {
      TComponent* c = Lookup(f.name, f.scope);
      bool resolved = false;
      if (c) {
        const ClassInfo* must = f.prop->referenceClass.empty() ? nullptr : GetClass(f.prop->referenceClass);
        if (!must || c->InheritsFrom(*must)) {
          try {
            f.prop->setObject(*f.target, c);
            if (auto* self = dynamic_cast<TComponent*>(f.target)) self->FreeNotification(c);
            resolved = true;
          } catch (const std::exception& e) {
            Warn(f.where, std::string(e.what()) + "; kept as read");
          }
        }
      }
      // Unresolved: the name stays as read and is written back.
      if (!resolved) f.filed->Filer()->properties[f.storedIndex].raw = true;
    }
  }

  void Snapshot();

  const ReadOptions& options_;
  FilerContext context_;
  TComponent* root_ = nullptr;
  std::vector<TComponent*> created_;
  std::vector<Fixup> fixups_;
};

// ---- writing ---------------------------------------------------------------------------------

struct Entry {
  std::string name;
  Value value;
};

bool ValueEquals(const Value& a, const Value& b);

bool PropertiesEqual(const std::vector<Property>& a, const std::vector<Property>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || !ValueEquals(a[i].value, b[i].value)) return false;
  return true;
}

bool ValueEquals(const Value& a, const Value& b) {
  if (a.type != b.type || a.integer != b.integer || a.floatBytes != b.floatBytes ||
      a.bytes != b.bytes || a.wide != b.wide || a.set != b.set || a.list.size() != b.list.size() ||
      a.items.size() != b.items.size())
    return false;
  for (std::size_t i = 0; i < a.list.size(); ++i)
    if (!ValueEquals(a.list[i], b.list[i])) return false;
  for (std::size_t i = 0; i < a.items.size(); ++i) {
    const auto &x = a.items[i], &y = b.items[i];
    if (x.hasIndex != y.hasIndex || x.index != y.index || !PropertiesEqual(x.properties, y.properties))
      return false;
  }
  return true;
}

class Writer {
public:
  explicit Writer(const WriteOptions& options, bool snapshot = false) : snapshot_(snapshot) {
    context_.codePage = options.codePage ? options.codePage : platform::AnsiCodePage();
    context_.unicodeNonAscii = options.unicodeNonAscii;
  }
  Writer(const FilerContext& context, bool snapshot) : context_(context), snapshot_(snapshot) {}

  // Records, for a component just read, the values its declared properties have now.
  void Snapshot(const TComponent& c, const TComponent& lookupRoot) {
    std::vector<Property> ignored;
    WriteProperties(c, ignored, lookupRoot);
  }

  Object WriteComponent(const TComponent& c, const TComponent& lookupRoot, int depth) {
    if (depth > kMaxDepth) throw Exception("component nesting too deep (a parent cycle?) at " + c.Name());
    Object o;
    const FilerState* f = c.Filer();
    o.className = c.ClassName();
    if (f && f->fromFile && SameText(f->className, o.className)) o.className = f->className;
    o.name = c.Name();
    if (f && f->fromFile) {
      o.flags = f->flags;
      o.position = f->position;
      o.positionType = f->positionType;
    }
    if (c.InState(csInline)) o.flags |= formfile::ffInline;
    WriteProperties(c, o.properties, lookupRoot);
    const TComponent& childRoot =
        depth > 0 && ((o.flags & formfile::ffInline) || c.GetChildOwner() == &c) ? c : lookupRoot;
    std::vector<TComponent*> children;
    c.GetChildren(children, &childRoot);
    for (TComponent* child : children)
      if (child != &c) o.children.push_back(WriteComponent(*child, childRoot, depth + 1));
    return o;
  }

private:
  // The stored (file) entries of a filed object, by lower-case name.
  struct Stored {
    const FilerState* filer = nullptr;
    std::unordered_map<std::string, std::size_t> byName;  // first occurrence

    const Value* Original(const std::string& name) const {
      if (!filer) return nullptr;
      auto it = byName.find(LowerCase(name));
      return it == byName.end() ? nullptr : &filer->properties[it->second].value;
    }
    bool WasRead(const std::string& name) const { return Original(name) != nullptr; }
  };

  void WriteProperties(const TPersistent& filed, std::vector<Property>& out,
                       const TComponent& lookupRoot) {
    Stored stored;
    stored.filer = filed.Filer();
    if (stored.filer)
      for (std::size_t i = 0; i < stored.filer->properties.size(); ++i)
        stored.byName.emplace(LowerCase(stored.filer->properties[i].name), i);

    std::vector<Entry> decl;
    std::unordered_map<std::string, std::size_t> declIndex;
    Declared(filed, "", stored, lookupRoot, decl, declIndex, 0);

    if (snapshot_) {
      if (FilerState* f = filed.Filer()) {
        f->loadedValues.clear();
        for (const Entry& e : decl)
          if (!stored.WasRead(e.name)) f->loadedValues.emplace(LowerCase(e.name), e.value);
      }
      return;
    }
    // A property the file did not hold is new when its value changed since loading.
    auto isNew = [&](std::size_t k) {
      if (stored.WasRead(decl[k].name)) return false;
      if (!stored.filer || !stored.filer->fromFile) return true;
      auto it = stored.filer->loadedValues.find(LowerCase(decl[k].name));
      return it == stored.filer->loadedValues.end() || !ValueEquals(it->second, decl[k].value);
    };

    std::vector<bool> emitted(decl.size(), false);
    auto emitDecl = [&](std::size_t k, const std::string& name) {
      out.push_back(Property{name, decl[k].value});
      emitted[k] = true;
    };
    std::size_t next = 0;  // decl entries before this one are placed
    bool fromFile = stored.filer && stored.filer->fromFile;
    std::vector<const StoredProperty*> rawLater;
    if (stored.filer) {
      for (const StoredProperty& s : stored.filer->properties) {
        auto it = declIndex.find(LowerCase(s.name));
        if (s.raw) {
          // A reference kept by name yields to one set since.
          if (it != declIndex.end() && !emitted[it->second] && decl[it->second].value.type == ValueType::Ident &&
              IsReference(filed, s.name)) {
            emitDecl(it->second, s.name);
            continue;
          }
          if (fromFile) out.push_back(Property{s.name, s.value});
          else rawLater.push_back(&s);
          continue;
        }
        if (it == declIndex.end()) continue;  // no longer has a value (cleared event or reference)
        std::size_t k = it->second;
        if (emitted[k]) {
          out.push_back(Property{s.name, s.value});  // a repeated property: as read
          continue;
        }
        // New values declared before this one go first, in declaration order.
        for (; next < k; ++next)
          if (!emitted[next] && isNew(next)) emitDecl(next, decl[next].name);
        emitDecl(k, s.name);
      }
    }
    for (std::size_t k = 0; k < decl.size(); ++k)
      if (!emitted[k] && isNew(k)) emitDecl(k, decl[k].name);
    for (const StoredProperty* s : rawLater) out.push_back(Property{s->name, s->value});
  }

  bool IsReference(const TPersistent& filed, std::string_view name) {
    const TPersistent* obj = &filed;
    for (;;) {
      auto dot = name.find('.');
      const PropInfo* p = obj->ClassType().FindProperty(name.substr(0, dot));
      if (!p) return false;
      if (dot == std::string_view::npos) return p->isReference;
      if (!p->IsSubObject() || !p->getObject) return false;
      obj = p->getObject(*obj);
      if (!obj) return false;
      name = name.substr(dot + 1);
    }
  }

  // What the object's class declares, in declaration order, with values to write.
  void Declared(const TPersistent& obj, const std::string& prefix, const Stored& stored,
                const TComponent& lookupRoot, std::vector<Entry>& decl,
                std::unordered_map<std::string, std::size_t>& declIndex, int depth) {
    if (depth > 32) return;  // sub-object chains are shallow; a longer one is a cycle
    auto add = [&](std::string name, Value value) {
      std::string key = LowerCase(name);
      if (declIndex.count(key)) return;
      declIndex.emplace(std::move(key), decl.size());
      decl.push_back(Entry{std::move(name), std::move(value)});
    };
    for (const PropInfo* p : obj.ClassType().Properties()) {
      std::string name = prefix + p->name;
      const Value* original = stored.Original(name);
      if (p->IsSubObject()) {
        TPersistent* sub = p->getObject ? p->getObject(obj) : nullptr;
        if (!sub) continue;
        bool storedHere = !p->neverStored && (!p->stored || p->stored(obj));
        if (p->kind == TypeKind::Collection) {
          auto* coll = dynamic_cast<const TCollection*>(sub);
          if (coll && ((storedHere && coll->Count() > 0) || original))
            add(name, CollectionValue(*coll, lookupRoot));
          continue;
        }
        if (storedHere || HasReadUnder(stored, name + "."))
          Declared(*sub, name + ".", stored, lookupRoot, decl, declIndex, depth + 1);
        continue;
      }
      if (!original && !p->IsStoredValue(obj)) continue;
      if (auto v = CurrentValue(obj, *p, original, lookupRoot)) add(name, std::move(*v));
    }
    for (const DefinedProperty* d : obj.ClassType().DefinedProperties()) {
      std::string name = prefix + d->name;
      if (declIndex.count(LowerCase(name))) continue;
      if (auto v = d->write(obj, stored.Original(name), context_)) add(name, std::move(*v));
    }
  }

  static bool HasReadUnder(const Stored& stored, const std::string& prefix) {
    if (!stored.filer) return false;
    for (const StoredProperty& s : stored.filer->properties)
      if (HasPrefix(s.name, prefix)) return true;
    return false;
  }

  Value CollectionValue(const TCollection& coll, const TComponent& lookupRoot) {
    Value v;
    v.type = ValueType::Collection;
    for (int i = 0; i < coll.Count(); ++i) {
      const TCollectionItem& item = *coll.Items(i);
      formfile::CollectionItem ci;
      if (const FilerState* f = item.Filer()) {
        ci.hasIndex = f->hasIndex;
        ci.index = f->index;
      }
      WriteProperties(item, ci.properties, lookupRoot);
      v.items.push_back(std::move(ci));
    }
    return v;
  }

  static std::string ReferenceName(const TComponent& c, const TComponent& lookupRoot) {
    std::string name = c.Name();
    const TComponent* owner = c.Owner();
    if (&c == &lookupRoot) return name;
    while (owner && owner != &lookupRoot) {
      name = owner->Name() + "." + name;
      owner = owner->Owner();
    }
    return name;
  }

  // Whether a dotted name as a file wrote it ("frame1.Sheet2", "Sheet2") still names `c`: its
  // last part is c's name and each part before it the name of the next owner up. Files inside
  // inline frames qualify references the lookup root would not need.
  static bool NamesThroughOwners(std::string_view text, const TComponent& c) {
    const TComponent* at = &c;
    for (;;) {
      if (!at) return false;
      auto dot = text.rfind('.');
      std::string_view part = dot == std::string_view::npos ? text : text.substr(dot + 1);
      if (part.empty() || !SameText(part, at->Name())) return false;
      if (dot == std::string_view::npos) return true;
      text = text.substr(0, dot);
      at = at->Owner();
    }
  }

  std::optional<Value> CurrentValue(const TPersistent& obj, const PropInfo& p, const Value* original,
                                    const TComponent& lookupRoot) {
    switch (p.kind) {
      case TypeKind::String:
        return AnsiToValue(p.getString(obj), original, context_);
      case TypeKind::Char: {
        std::string text(1, static_cast<char>(p.getOrdinal(obj)));
        return AnsiToValue(text, original, context_);
      }
      case TypeKind::Integer:
      case TypeKind::Byte:
      case TypeKind::Int64: {
        std::int64_t n = p.getOrdinal(obj);
        if (original) {
          std::int64_t was;
          if (original->isInteger() && original->integer == n) return *original;
          if (original->type == ValueType::Ident && p.identMap && p.identMap->ToInt(original->bytes, was) &&
              was == n)
            return *original;
        }
        std::string ident;
        if (p.identMap && p.identMap->ToIdent(n, ident)) return Value::Identifier(ident);
        return Value::Integer(n);
      }
      case TypeKind::Boolean: {
        bool b = p.getOrdinal(obj) != 0;
        if (original && original->isBoolean() && (original->type == ValueType::True) == b) return *original;
        return Value::Boolean(b);
      }
      case TypeKind::Enumeration: {
        std::int64_t n = p.getOrdinal(obj);
        if (original && original->type == ValueType::Ident && p.enumInfo->IndexOf(original->bytes) == n)
          return *original;
        if (const std::string* name = p.enumInfo->NameOf(n)) return Value::Identifier(*name);
        return Value::Integer(n);
      }
      case TypeKind::Set: {
        auto bits = static_cast<std::uint64_t>(p.getOrdinal(obj));
        if (original && original->type == ValueType::Set) {
          std::uint64_t was = 0;
          bool ok = true;
          for (const std::string& e : original->set) {
            int i = p.enumInfo->IndexOf(e);
            if (i < 0 || i >= 64) ok = false;
            else was |= std::uint64_t(1) << i;
          }
          if (ok && was == bits) return *original;
        }
        Value v;
        v.type = ValueType::Set;
        for (std::size_t i = 0; i < p.enumInfo->names.size() && i < 64; ++i)
          if ((bits >> i) & 1u) v.set.push_back(p.enumInfo->names[i]);
        return v;
      }
      case TypeKind::Float: {
        double d = p.getFloat(obj);
        if (original && ((original->isFloat() && static_cast<double>(original->toLongDouble()) == d) ||
                         (original->isInteger() && static_cast<double>(original->integer) == d)))
          return *original;
        return Value::FromLongDouble(d);
      }
      case TypeKind::Method: {
        TEventBase* e = p.event(const_cast<TPersistent&>(obj));
        if (!e || e->HandlerName.empty()) {
          if (original && original->type == ValueType::Nil) return *original;
          return std::nullopt;
        }
        if (original && original->type == ValueType::Ident && original->bytes == e->HandlerName)
          return *original;
        return Value::Identifier(e->HandlerName);
      }
      case TypeKind::Class:
      case TypeKind::StringList:
      case TypeKind::Collection: {
        if (!p.isReference) return std::nullopt;
        auto* c = dynamic_cast<const TComponent*>(p.getObject(obj));
        if (!c) {
          if (original && original->type == ValueType::Nil) return *original;
          return std::nullopt;
        }
        std::string name = ReferenceName(*c, lookupRoot);
        if (original && original->type == ValueType::Ident &&
            (SameText(original->bytes, name) || NamesThroughOwners(original->bytes, *c)))
          return *original;
        return Value::Identifier(name);
      }
    }
    return std::nullopt;
  }

  FilerContext context_;
  bool snapshot_ = false;
};

void Reader::Snapshot() {
  Writer writer(context_, true);
  for (TComponent* c : created_) {
    const TComponent* lookupRoot = c->Owner() ? c->Owner() : c;
    writer.Snapshot(*c, *lookupRoot);
  }
}

StoredProperty* FindRaw(const TPersistent& obj, std::string_view name) {
  FilerState* f = obj.Filer();
  if (!f) return nullptr;
  for (StoredProperty& s : f->properties)
    if (s.raw && SameText(s.name, name)) return &s;
  return nullptr;
}

}  // namespace

std::unique_ptr<TComponent> ReadComponentTree(const Object& root, const ReadOptions& options) {
  const ClassInfo* cls = GetClass(root.className);
  if (!cls || !cls->IsComponentClass() || !cls->CanCreate()) cls = &StandIn(root, true);
  std::unique_ptr<TComponent> component(cls->CreateComponent(nullptr));
  ReadComponentTreeInto(*component, root, options);
  return component;
}

void ReadComponentTreeInto(TComponent& root, const Object& object, const ReadOptions& options) {
  Reader(options).Read(root, object);
}

std::unique_ptr<TComponent> LoadForm(std::string_view data, const ReadOptions& options,
                                     formfile::FileFormat* format) {
  Object tree = formfile::ReadForm(data, options.fileName, format);
  return ReadComponentTree(tree, options);
}

std::unique_ptr<TComponent> LoadFormFile(const std::string& path, ReadOptions options,
                                         formfile::FileFormat* format) {
  if (options.fileName.empty()) options.fileName = path;
  std::string data = formfile::ReadFormFile(path);
  return LoadForm(data, options, format);
}

Object WriteComponentTree(const TComponent& root, const WriteOptions& options) {
  return Writer(options).WriteComponent(root, root, 0);
}

std::string SaveForm(const TComponent& root, formfile::FileFormat format,
                     const formfile::TextOptions& text, const WriteOptions& options) {
  Object tree = WriteComponentTree(root, options);
  switch (format) {
    case formfile::FileFormat::Text: return formfile::WriteText(tree, text);
    case formfile::FileFormat::Binary: return formfile::WriteBinary(tree, false);
    case formfile::FileFormat::BinaryWithHeader: return formfile::WriteBinary(tree, true);
    case formfile::FileFormat::Unknown: break;
  }
  throw Exception("SaveForm: no file format given");
}

void SaveFormFile(const TComponent& root, const std::string& path, formfile::FileFormat format,
                  const formfile::TextOptions& text, const WriteOptions& options) {
  // Built completely in memory first: a failure leaves the file as it was.
  std::string data = SaveForm(root, format, text, options);
  platform::WriteFileAtomic(path, data);
}

const Value* FindRawProperty(const TPersistent& obj, std::string_view name) {
  StoredProperty* s = FindRaw(obj, name);
  return s ? &s->value : nullptr;
}

void SetRawProperty(TPersistent& obj, std::string_view name, Value value) {
  if (StoredProperty* s = FindRaw(obj, name)) {
    s->value = std::move(value);
    return;
  }
  obj.EnsureFiler().properties.push_back(StoredProperty{std::string(name), std::move(value), true});
}

bool RemoveRawProperty(TPersistent& obj, std::string_view name) {
  FilerState* f = obj.Filer();
  if (!f) return false;
  auto it = std::find_if(f->properties.begin(), f->properties.end(),
                         [&](const StoredProperty& s) { return s.raw && SameText(s.name, name); });
  if (it == f->properties.end()) return false;
  f->properties.erase(it);
  return true;
}

}  // namespace vorlect::host
