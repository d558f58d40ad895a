#include "host/framework/UnknownClasses.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <unordered_map>
#include <utility>

namespace vorlect::host {

using formfile::Property;
using formfile::Value;
using formfile::ValueType;

struct StoredShape {
  std::unique_ptr<ClassInfo> info;
  std::vector<TypeKind> kinds;                // per own property (slot)
  std::vector<const StoredShape*> nested;     // sub-objects' shapes, per slot (else null)
};

struct StoredAccess {
  static TStoredProperties::Slot& SlotOf(const TPersistent& object, std::size_t k) {
    auto& stored = const_cast<TStoredProperties&>(dynamic_cast<const TStoredProperties&>(object));
    return stored.slots_.at(k);
  }
};

namespace {

// Deeper sub-object chains are not published: the writer walks sub-objects to a limited depth
// only, and what it would not reach must stay raw to be written back.
constexpr int kMaxNesting = 16;

struct StoredProperty {
  std::string name;
  TypeKind kind;
  std::vector<StoredProperty> nested;  // Class
};

struct Entry {
  std::string_view name;  // what is left of the stored name at this level
  const Value* value;
};

bool IsStringList(const Value& v) {
  if (v.type != ValueType::List) return false;
  for (const Value& item : v.list)
    if (!item.isString()) return false;
  return true;
}

std::vector<StoredProperty> Collect(const ClassInfo& standIn, std::span<const Entry> entries, int depth) {
  std::vector<StoredProperty> stored;
  if (depth > kMaxNesting) return stored;
  // A property stored twice would be written back twice with one value: it stays raw.
  std::unordered_map<std::string, int> count;
  for (const Entry& e : entries) ++count[LowerCase(e.name)];

  struct Group {
    std::string_view segment;
    std::vector<Entry> entries;
  };
  std::vector<Group> groups;
  std::unordered_map<std::string, std::size_t> bySegment;
  for (const Entry& e : entries) {
    std::string_view segment = e.name.substr(0, e.name.find('.'));
    auto [it, added] = bySegment.try_emplace(LowerCase(segment), groups.size());
    if (added) groups.push_back(Group{segment, {}});
    groups[it->second].entries.push_back(e);
  }

  for (const Group& g : groups) {
    if (!IsValidIdent(g.segment) || standIn.FindProperty(g.segment) || standIn.FindDefined(g.segment))
      continue;
    bool skip = false;
    bool direct = false, dotted = false;
    for (const Entry& e : g.entries) {
      if (count[LowerCase(e.name)] > 1 || standIn.FindDefined(e.name)) skip = true;
      (e.name.size() == g.segment.size() ? direct : dotted) = true;
    }
    if (skip || (direct && dotted)) continue;
    if (direct) {
      const Value& v = *g.entries.front().value;
      if (v.isString()) stored.push_back(StoredProperty{std::string(g.segment), TypeKind::String, {}});
      else if (v.isBoolean()) stored.push_back(StoredProperty{std::string(g.segment), TypeKind::Boolean, {}});
      else if (v.type == ValueType::Collection)
        stored.push_back(StoredProperty{std::string(g.segment), TypeKind::Collection, {}});
      continue;
    }
    std::vector<Entry> rest;
    for (const Entry& e : g.entries) rest.push_back(Entry{e.name.substr(g.segment.size() + 1), e.value});
    if (rest.size() == 1 && SameText(rest.front().name, "Strings") && IsStringList(*rest.front().value)) {
      stored.push_back(StoredProperty{std::string(g.segment), TypeKind::StringList, {}});
      continue;
    }
    std::vector<StoredProperty> nested = Collect(TUnknownObject::StaticClass(), rest, depth + 1);
    if (!nested.empty()) stored.push_back(StoredProperty{std::string(g.segment), TypeKind::Class, std::move(nested)});
  }
  return stored;
}

struct Shapes {
  std::mutex mutex;
  std::unordered_map<std::string, std::unique_ptr<StoredShape>> byKey;
};

Shapes& TheShapes() {
  static Shapes* shapes = new Shapes;  // classes must outlive every object, also at exit
  return *shapes;
}

std::unique_ptr<ClassInfo> MakeClass(const ClassInfo& standIn, std::string_view className,
                                     const std::vector<StoredProperty>& stored,
                                     const std::vector<const StoredShape*>& nested) {
  RuntimeClassBuilder builder{std::string(className), standIn};
  for (std::size_t k = 0; k < stored.size(); ++k) {
    PropInfo& p = builder.Add(stored[k].name, stored[k].kind);
    switch (stored[k].kind) {
      case TypeKind::String:
        p.getString = [k](const TPersistent& o) { return StoredAccess::SlotOf(o, k).text; };
        p.setString = [k](TPersistent& o, const std::string& v) { StoredAccess::SlotOf(o, k).text = v; };
        break;
      case TypeKind::Boolean:
        p.enumInfo = &BooleanInfo();
        p.getOrdinal = [k](const TPersistent& o) -> std::int64_t { return StoredAccess::SlotOf(o, k).flag; };
        p.setOrdinal = [k](TPersistent& o, std::int64_t v) { StoredAccess::SlotOf(o, k).flag = v != 0; };
        break;
      default: {
        p.classType = stored[k].kind == TypeKind::StringList   ? &TStringList::StaticClass()
                      : stored[k].kind == TypeKind::Collection ? &TCollection::StaticClass()
                                                              : nested[k]->info.get();
        p.getObject = [k](const TPersistent& o) { return StoredAccess::SlotOf(o, k).object.get(); };
        if (stored[k].kind != TypeKind::Class)
          p.setObject = [k](TPersistent& o, TPersistent* v) {
            if (v) StoredAccess::SlotOf(o, k).object->Assign(*v);
          };
        break;
      }
    }
  }
  return std::make_unique<ClassInfo>(builder.Build());
}

const StoredShape* Intern(const ClassInfo& standIn, std::string_view className,
                          const std::vector<StoredProperty>& stored) {
  std::vector<const StoredShape*> nested(stored.size(), nullptr);
  std::string key = standIn.Name() + '\n' + std::string(className) + '\n';
  for (std::size_t k = 0; k < stored.size(); ++k) {
    if (stored[k].kind == TypeKind::Class)
      nested[k] = Intern(TUnknownObject::StaticClass(), TUnknownObject::StaticClass().Name(), stored[k].nested);
    key += stored[k].name + ':' + std::to_string(static_cast<int>(stored[k].kind));
    if (nested[k]) key += '@' + std::to_string(reinterpret_cast<std::uintptr_t>(nested[k]));
    key += ';';
  }
  Shapes& shapes = TheShapes();
  std::lock_guard lock(shapes.mutex);
  auto& slot = shapes.byKey[key];
  if (!slot) {
    auto shape = std::make_unique<StoredShape>();
    shape->info = MakeClass(standIn, className, stored, nested);
    for (const StoredProperty& s : stored) shape->kinds.push_back(s.kind);
    shape->nested = std::move(nested);
    slot = std::move(shape);
  }
  return slot.get();
}

}  // namespace

TStoredProperties::~TStoredProperties() = default;

const ClassInfo* TStoredProperties::StoredClass() const { return shape_ ? shape_->info.get() : nullptr; }

void TStoredProperties::PublishStored(const ClassInfo& standIn, std::string_view className,
                                      const std::vector<Property>& properties) {
  if (shape_) return;
  std::vector<Entry> entries;
  entries.reserve(properties.size());
  for (const Property& p : properties) entries.push_back(Entry{p.name, &p.value});
  std::vector<StoredProperty> stored = Collect(standIn, entries, 0);
  if (!stored.empty()) Adopt(Intern(standIn, className, stored));
}

void TStoredProperties::Adopt(const StoredShape* shape) {
  shape_ = shape;
  slots_.clear();
  slots_.resize(shape->kinds.size());
  auto* self = dynamic_cast<TPersistent*>(this);
  for (std::size_t k = 0; k < slots_.size(); ++k) {
    switch (shape->kinds[k]) {
      case TypeKind::StringList: slots_[k].object = std::make_unique<TStringList>(); break;
      case TypeKind::Collection:
        slots_[k].object = std::make_unique<TCollection>(TUnknownItem::StaticClass(), self);
        break;
      case TypeKind::Class: {
        auto sub = std::make_unique<TUnknownObject>();
        sub->Adopt(shape->nested[k]);
        slots_[k].object = std::move(sub);
        break;
      }
      default: break;
    }
  }
}

const ClassInfo& TUnknownObject::StaticClass() {
  static const ClassInfo info = ClassBuilder<TUnknownObject>("TUnknownObject").Build();
  return info;
}

const ClassInfo& TUnknownItem::StaticClass() {
  static const ClassInfo info = ClassBuilder<TUnknownItem>("TUnknownItem").Build();
  return info;
}

void PublishStoredProperties(TPersistent& object, std::string_view className,
                             const std::vector<Property>& properties) {
  if (auto* stored = dynamic_cast<TStoredProperties*>(&object))
    stored->PublishStored(object.ClassType(), className, properties);
}

}  // namespace vorlect::host
