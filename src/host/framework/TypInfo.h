// Type information: the class registry, published properties and generic property access.
//
// Declaring a class with published properties:
//
//   // Shape.h
//   enum TShapeType { stRectangle, stCircle };
//   const EnumInfo& ShapeTypeInfo();                     // {"TShapeType", {"stRectangle", "stCircle"}}
//
//   class TShape : public TGraphicControl {
//     VORLECT_CLASS(TShape, TGraphicControl)            // parent's type info is inherited::StaticClass()
//   public:
//     explicit TShape(TComponent* owner) : TGraphicControl(owner) {}
//     TShapeType Shape() const { return shape_; }
//     void SetShape(TShapeType s) { shape_ = s; }
//     TStrings* Notes() const { return notes_.get(); }   // read-only sub-object
//     TNotifyEvent OnPaint;                              // event: a public TEvent member
//   private:
//     TShapeType shape_ = stRectangle;
//     std::unique_ptr<TStringList> notes_ = std::make_unique<TStringList>();
//   };
//
//   // Shape.cpp
//   const EnumInfo& ShapeTypeInfo() {
//     static const EnumInfo info{"TShapeType", {"stRectangle", "stCircle"}};
//     return info;
//   }
//   const ClassInfo& TShape::StaticClass() {
//     static const ClassInfo info = ClassBuilder<TShape>("TShape")
//         .Publish("Align")                                   // an ancestor's (protected) property
//         .Publish("Color").Default(clBtnFace)                // ... with another default
//         .Enum("Shape", &TShape::Shape, &TShape::SetShape, ShapeTypeInfo()).Default(stRectangle)
//         .Object("Notes", &TShape::Notes)                    // written as `Notes.Strings = (...)`
//         .Event("OnPaint", &TShape::OnPaint)
//         .Build();
//     return info;
//   }
//   // once, before loading forms:  RegisterClass(TShape::StaticClass());
//
// Properties are published in declaration order, ancestors' first. Getters may be member
// functions or data members of the class or of an ancestor; setters likewise (a setter is called
// while loading too, in file order, with csLoading set). `.Protected()` starts declarations that
// are known but not published (descendants publish them with `.Publish(name)`); `.Published()`
// switches back.
#pragma once

#include "host/framework/Classes.h"
#include "host/formfile/FormTree.h"

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace vorlect::host {

class TCollection;
class TCollectionItem;
class TStrings;

enum class TypeKind {
  String,       // 8-bit string
  Char,         // one 8-bit character (a 1-character string in files)
  Integer,      // 32-bit (or smaller) signed integer, optionally with identifiers (colours...)
  Byte,         // 0..255, optionally with identifiers (font charsets)
  Int64,
  Boolean,
  Enumeration,  // identifiers of an EnumInfo
  Set,          // bit mask over an EnumInfo
  Float,
  Class,        // sub-object (Font...) or component reference (Action, PopupMenu...)
  StringList,   // sub-object TStrings: `<Prop>.Strings = (...)` in files
  Collection,   // sub-object TCollection: `<Prop> = <item ... end>` in files
  Method,       // event: the handler's name in files
};

const char* TypeKindName(TypeKind kind);

// The identifiers of an enumeration type, by ordinal.
struct EnumInfo {
  std::string typeName;
  std::vector<std::string> names;

  int IndexOf(std::string_view name) const;  // ASCII case ignored; -1 when absent
  const std::string* NameOf(std::int64_t ordinal) const;  // null when out of range
};

const EnumInfo& BooleanInfo();  // False, True

// Identifiers that stand for integer values in files (clBtnFace, crHandPoint, ANSI_CHARSET...).
struct IdentMap {
  std::string typeName;
  std::vector<std::pair<std::int64_t, std::string>> entries;

  bool ToIdent(std::int64_t value, std::string& ident) const;      // first entry with the value
  bool ToInt(std::string_view ident, std::int64_t& value) const;   // ASCII case ignored
};

struct PropInfo {
  std::string name;
  TypeKind kind = TypeKind::Integer;
  const ClassInfo* owner = nullptr;         // the class that declares (or publishes) it
  bool published = true;

  const EnumInfo* enumInfo = nullptr;       // Enumeration, Boolean, Set (its elements)
  const IdentMap* identMap = nullptr;       // Integer, Byte, Int64
  // Class, StringList, Collection: use ClassTypeInfo() (the class may be the one being declared,
  // so it is looked up on first use).
  const ClassInfo* classType = nullptr;
  const ClassInfo& (*classTypeOf)() = nullptr;
  const ClassInfo* ClassTypeInfo() const {
    return classType ? classType : (classTypeOf ? &classTypeOf() : nullptr);
  }
  bool isReference = false;                 // Class: a reference to a component (by name in files)
  std::string referenceClass;               // ... that must inherit from this registered class, if set

  // Storage: ordinal properties are written when they differ from `defaultValue`, or always
  // when `hasDefault` is false; strings when not empty; floats when not 0; events when they
  // have a handler name; references when set. `stored` may veto; `neverStored` is `stored False`.
  bool hasDefault = false;
  std::int64_t defaultValue = 0;
  bool neverStored = false;
  std::function<bool(const TPersistent&)> stored;

  std::function<std::string(const TPersistent&)> getString;
  std::function<void(TPersistent&, const std::string&)> setString;
  std::function<std::int64_t(const TPersistent&)> getOrdinal;
  std::function<void(TPersistent&, std::int64_t)> setOrdinal;
  std::function<double(const TPersistent&)> getFloat;
  std::function<void(TPersistent&, double)> setFloat;
  std::function<TPersistent*(const TPersistent&)> getObject;
  std::function<void(TPersistent&, TPersistent*)> setObject;   // references; sub-objects assign
  std::function<TEventBase*(TPersistent&)> event;

  bool IsOrdinal() const;
  bool IsSubObject() const {
    return (kind == TypeKind::Class && !isReference) || kind == TypeKind::StringList ||
           kind == TypeKind::Collection;
  }
  bool IsReadOnly() const;
  // Whether the streaming system would write the property of `obj` (stored and not default).
  bool IsStoredValue(const TPersistent& obj) const;
};

// How values are converted between a form file and the 8-bit texts of the components.
struct FilerContext {
  int codePage = 1252;            // for Unicode strings in files
  bool unicodeNonAscii = false;   // write changed non-ASCII texts as Unicode strings
};

// A property a class streams itself (Pascal's DefineProperties): design positions, string-list
// `Strings`, binary data such as `Items.Data`. Not published: GetPropInfo does not see it.
struct DefinedProperty {
  std::string name;
  // Takes the value read from a file; false keeps it as an unknown (raw) property.
  std::function<bool(TPersistent&, const formfile::Value&, const FilerContext&)> read;
  // The value to write, or nullopt for none. `original` is the value the file had, if any.
  std::function<std::optional<formfile::Value>(const TPersistent&, const formfile::Value* original,
                                                const FilerContext&)>
      write;
};

class ClassInfo {
public:
  ClassInfo() = default;
  ClassInfo(ClassInfo&& other) noexcept;   // keeps PropInfo::owner pointing at the new place
  ClassInfo& operator=(ClassInfo&& other) noexcept;
  ClassInfo(const ClassInfo&) = delete;
  ClassInfo& operator=(const ClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const ClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const ClassInfo& other) const;

  // Published properties, ancestors' first, in declaration order.
  std::span<const PropInfo* const> Properties() const { return properties_; }
  // A published property, ASCII case ignored; null when the class does not publish it.
  const PropInfo* FindProperty(std::string_view name) const;
  // Published or protected, for Publish().
  const PropInfo* FindDeclared(std::string_view name) const;
  // Every known property (published or protected), ancestors' first.
  std::span<const PropInfo* const> DeclaredProperties() const { return declared_; }
  // Defined properties, ancestors' first.
  std::span<const DefinedProperty* const> DefinedProperties() const { return defined_; }
  const DefinedProperty* FindDefined(std::string_view name) const;

  bool IsComponentClass() const;
  bool IsCollectionItemClass() const;
  bool CanCreate() const { return createComponent_ || createItem_; }
  // Virtual constructors. Throw EComponentError for abstract classes.
  TComponent* CreateComponent(TComponent* owner) const;
  TCollectionItem* CreateItem(TCollection* collection) const;

private:
  template <class T>
  friend class ClassBuilder;
  friend class ClassBuilderBase;
  friend class RuntimeClassBuilder;

  std::string name_;
  const ClassInfo* parent_ = nullptr;
  std::vector<std::unique_ptr<PropInfo>> own_;        // declared here (published or not)
  std::vector<const PropInfo*> properties_;           // published, with ancestors'
  std::vector<const PropInfo*> declared_;             // all known, with ancestors'
  std::vector<std::unique_ptr<DefinedProperty>> ownDefined_;
  std::vector<const DefinedProperty*> defined_;
  std::vector<std::pair<std::string, const PropInfo*>> index_;  // lower-case name, sorted
  TComponent* (*createComponent_)(TComponent*) = nullptr;
  TCollectionItem* (*createItem_)(TCollection*) = nullptr;
};

// ---- the declaration builder -----------------------------------------------------------------

class ClassBuilderBase {
public:
  // Modifiers of the property declared last.
  ClassBuilderBase& Default(std::int64_t value);
  template <class E>
    requires std::is_enum_v<E>
  ClassBuilderBase& Default(E value) { return Default(static_cast<std::int64_t>(value)); }
  template <class E>
  ClassBuilderBase& Default(TSet<E> value) { return Default(static_cast<std::int64_t>(value.Bits())); }
  ClassBuilderBase& NoDefault();
  ClassBuilderBase& NotStored();
  ClassBuilderBase& Idents(const IdentMap& map);
  ClassBuilderBase& StoredIf(std::function<bool(const TPersistent&)> predicate);

  ClassBuilderBase& Protected() { published_ = false; return *this; }
  ClassBuilderBase& Published() { published_ = true; return *this; }
  // Publishes an ancestor's property here (or, when already published, keeps its place and lets
  // the next modifiers change it).
  ClassBuilderBase& Publish(std::string_view name);

  ClassInfo Build();

protected:
  ClassBuilderBase(std::string name, const ClassInfo* parent);
  PropInfo& NewProp(std::string name, TypeKind kind);
  void AddDefined(DefinedProperty def);

  ClassInfo info_;
  PropInfo* last_ = nullptr;
  bool published_ = true;
  std::vector<const PropInfo*> republished_;   // ancestors' published props given new defaults
};

// A class made while the program runs (classes the registry does not know, shaped by what a
// form file stores). It takes its parent's virtual constructors; the caller fills in the
// accessors of each property it adds.
class RuntimeClassBuilder : public ClassBuilderBase {
public:
  RuntimeClassBuilder(std::string name, const ClassInfo& parent);
  PropInfo& Add(std::string name, TypeKind kind) { return NewProp(std::move(name), kind); }
};

namespace detail {

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {};

template <class V>
std::int64_t ToOrdinal(const V& v) {
  using D = std::remove_cvref_t<V>;
  if constexpr (IsTSet<D>::value) return static_cast<std::int64_t>(v.Bits());
  else if constexpr (std::is_enum_v<D>) return static_cast<std::int64_t>(v);
  else if constexpr (std::is_same_v<D, bool>) return v ? 1 : 0;
  else if constexpr (std::is_same_v<D, char>) return static_cast<unsigned char>(v);
  else return static_cast<std::int64_t>(v);
}

template <class D>
D FromOrdinal(std::int64_t v) {
  if constexpr (IsTSet<D>::value) return D::FromBits(static_cast<std::uint64_t>(v));
  else if constexpr (std::is_enum_v<D>) return static_cast<D>(v);
  else if constexpr (std::is_same_v<D, bool>) return v != 0;
  else return static_cast<D>(v);
}

// The value type a getter (member function or data member) yields for a T.
template <class T, class G>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;

// The parameter type of a setter (member function taking one argument, or data member).
template <class S>
struct SetterArg;
template <class C, class A>
struct SetterArg<void (C::*)(A)> { using type = std::remove_cvref_t<A>; };
template <class C, class A>
struct SetterArg<void (C::*)(A) noexcept> { using type = std::remove_cvref_t<A>; };
template <class C, class M>
  requires(!std::is_function_v<M>)
struct SetterArg<M C::*> { using type = std::remove_cvref_t<M>; };

template <class T, class S, class V>
void CallSetter(S setter, T& obj, V&& value) {
  if constexpr (std::is_member_function_pointer_v<S>)
    (obj.*setter)(std::forward<V>(value));
  else
    obj.*setter = std::forward<V>(value);
}

}  // namespace detail

template <class T>
class ClassBuilder : public ClassBuilderBase {
public:
  // The parent is T::inherited. A component class with a constructor taking the owner, or a
  // collection item class with one taking the collection, gets its virtual constructor.
  explicit ClassBuilder(std::string name)
      : ClassBuilderBase(std::move(name), &T::inherited::StaticClass()) {
    if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TComponent*>)
      info_.createComponent_ = [](TComponent* owner) -> TComponent* { return new T(owner); };
    if constexpr (std::is_base_of_v<TCollectionItem, T> && !std::is_abstract_v<T> &&
                  std::is_constructible_v<T, TCollection*>)
      info_.createItem_ = [](TCollection* c) -> TCollectionItem* { return new T(c); };
  }

  // Setters may be nullptr for read-only properties.
  template <class G, class S = std::nullptr_t>
  ClassBuilder& String(std::string name, G getter, S setter = nullptr) {
    PropInfo& p = NewProp(std::move(name), TypeKind::String);
    p.getString = [getter](const TPersistent& o) -> std::string {
      return std::string(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.setString = [setter](TPersistent& o, const std::string& v) {
        detail::CallSetter(setter, static_cast<T&>(o), typename detail::SetterArg<S>::type(v));
      };
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  ClassBuilder& Integer(std::string name, G getter, S setter = nullptr) {
    return Ordinal(std::move(name), TypeKind::Integer, getter, setter);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Byte(std::string name, G getter, S setter = nullptr) {
    return Ordinal(std::move(name), TypeKind::Byte, getter, setter);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Int64(std::string name, G getter, S setter = nullptr) {
    return Ordinal(std::move(name), TypeKind::Int64, getter, setter);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Char(std::string name, G getter, S setter = nullptr) {
    return Ordinal(std::move(name), TypeKind::Char, getter, setter);
  }
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Boolean(std::string name, G getter, S setter = nullptr) {
    Ordinal(std::move(name), TypeKind::Boolean, getter, setter);
    last_->enumInfo = &BooleanInfo();
    return *this;
  }
  template <class G, class S>
  ClassBuilder& Enum(std::string name, G getter, S setter, const EnumInfo& info) {
    Ordinal(std::move(name), TypeKind::Enumeration, getter, setter);
    last_->enumInfo = &info;
    return *this;
  }
  // A set over the elements of `elements` (bit n = ordinal n).
  template <class G, class S>
  ClassBuilder& Set(std::string name, G getter, S setter, const EnumInfo& elements) {
    Ordinal(std::move(name), TypeKind::Set, getter, setter);
    last_->enumInfo = &elements;
    last_->hasDefault = true;  // sets default to [] unless told otherwise
    last_->defaultValue = 0;
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  ClassBuilder& Float(std::string name, G getter, S setter = nullptr) {
    PropInfo& p = NewProp(std::move(name), TypeKind::Float);
    p.getFloat = [getter](const TPersistent& o) -> double {
      return static_cast<double>(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.setFloat = [setter](TPersistent& o, double v) {
        detail::CallSetter(setter, static_cast<T&>(o), static_cast<typename detail::SetterArg<S>::type>(v));
      };
    return *this;
  }

  // A sub-object the class owns (TFont, TStrings, TCollection or any TPersistent); the getter
  // returns a pointer. Read-only unless a setter (usually Assign) is given.
  template <class G, class S = std::nullptr_t>
  ClassBuilder& Object(std::string name, G getter, S setter = nullptr) {
    using Ptr = detail::GetterResult<T, G>;
    using Sub = std::remove_cv_t<std::remove_pointer_t<Ptr>>;
    static_assert(std::is_base_of_v<TPersistent, Sub>, "sub-objects are TPersistent");
    TypeKind kind = TypeKind::Class;
    if constexpr (std::is_base_of_v<TStrings, Sub>) kind = TypeKind::StringList;
    if constexpr (std::is_base_of_v<TCollection, Sub>) kind = TypeKind::Collection;
    PropInfo& p = NewProp(std::move(name), kind);
    p.classTypeOf = &Sub::StaticClass;
    p.getObject = [getter](const TPersistent& o) -> TPersistent* {
      return const_cast<Sub*>(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.setObject = [setter](TPersistent& o, TPersistent* v) {
        using Arg = typename detail::SetterArg<S>::type;
        detail::CallSetter(setter, static_cast<T&>(o), static_cast<Arg>(dynamic_cast<Sub*>(v)));
      };
    return *this;
  }

  // A reference to another component (by name in files). The pointer type of the getter gives the
  // class checked when setting; `referenceClass` may name a registered class to check instead.
  template <class G, class S>
  ClassBuilder& Reference(std::string name, G getter, S setter, std::string referenceClass = {}) {
    using Ptr = detail::GetterResult<T, G>;
    using Ref = std::remove_cv_t<std::remove_pointer_t<Ptr>>;
    static_assert(std::is_base_of_v<TComponent, Ref>, "references point at components");
    PropInfo& p = NewProp(std::move(name), TypeKind::Class);
    p.isReference = true;
    p.classTypeOf = &Ref::StaticClass;
    p.referenceClass = std::move(referenceClass);
    p.getObject = [getter](const TPersistent& o) -> TPersistent* {
      return const_cast<Ref*>(std::invoke(getter, static_cast<const T&>(o)));
    };
    p.setObject = [setter](TPersistent& o, TPersistent* v) {
      Ref* r = dynamic_cast<Ref*>(v);
      if (v && !r) throw EPropertyError("invalid property value: wrong component class");
      detail::CallSetter(setter, static_cast<T&>(o), r);
    };
    return *this;
  }

  // An event: a TEvent<...> data member.
  template <class C, class E>
  ClassBuilder& Event(std::string name, E C::*member) {
    static_assert(std::is_base_of_v<TEventBase, E> && std::is_base_of_v<C, T>);
    PropInfo& p = NewProp(std::move(name), TypeKind::Method);
    p.event = [member](TPersistent& o) -> TEventBase* { return &(static_cast<T&>(o).*member); };
    return *this;
  }

  // A property the class streams itself (see DefinedProperty).
  template <class R, class W>
  ClassBuilder& Define(std::string name, R read, W write) {
    DefinedProperty d;
    d.name = std::move(name);
    d.read = [read](TPersistent& o, const formfile::Value& v, const FilerContext& c) -> bool {
      return read(static_cast<T&>(o), v, c);
    };
    d.write = [write](const TPersistent& o, const formfile::Value* original,
                      const FilerContext& c) -> std::optional<formfile::Value> {
      return write(static_cast<const T&>(o), original, c);
    };
    AddDefined(std::move(d));
    return *this;
  }

  // Modifiers, returning the derived builder so that declarations can go on.
  ClassBuilder& Default(std::int64_t v) { ClassBuilderBase::Default(v); return *this; }
  template <class E>
    requires std::is_enum_v<E>
  ClassBuilder& Default(E v) { ClassBuilderBase::Default(v); return *this; }
  template <class E>
  ClassBuilder& Default(TSet<E> v) { ClassBuilderBase::Default(v); return *this; }
  ClassBuilder& NoDefault() { ClassBuilderBase::NoDefault(); return *this; }
  ClassBuilder& NotStored() { ClassBuilderBase::NotStored(); return *this; }
  ClassBuilder& Idents(const IdentMap& m) { ClassBuilderBase::Idents(m); return *this; }
  // `stored` predicate: a const member function of T (or an ancestor) returning bool.
  template <class P>
  ClassBuilder& Stored(P predicate) {
    ClassBuilderBase::StoredIf([predicate](const TPersistent& o) -> bool {
      return std::invoke(predicate, static_cast<const T&>(o));
    });
    return *this;
  }
  ClassBuilder& Protected() { ClassBuilderBase::Protected(); return *this; }
  ClassBuilder& Published() { ClassBuilderBase::Published(); return *this; }
  ClassBuilder& Publish(std::string_view n) { ClassBuilderBase::Publish(n); return *this; }

private:
  template <class G, class S>
  ClassBuilder& Ordinal(std::string name, TypeKind kind, G getter, S setter) {
    PropInfo& p = NewProp(std::move(name), kind);
    p.getOrdinal = [getter](const TPersistent& o) -> std::int64_t {
      return detail::ToOrdinal(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<S>)
      p.setOrdinal = [setter](TPersistent& o, std::int64_t v) {
        using Arg = typename detail::SetterArg<S>::type;
        detail::CallSetter(setter, static_cast<T&>(o), detail::FromOrdinal<Arg>(v));
      };
    return *this;
  }
};

// ---- the class registry ----------------------------------------------------------------------

// Registers a class for FindClass/GetClass (and so for reading form files). Registering the
// same class again does nothing; another class under a registered name throws EComponentError.
void RegisterClass(const ClassInfo& cls);
void RegisterClasses(std::initializer_list<const ClassInfo*> classes);
void UnRegisterClass(const ClassInfo& cls);
// A registered class by name (ASCII case ignored), or null.
const ClassInfo* GetClass(std::string_view name);
// The same, throwing EClassNotFound.
const ClassInfo& FindClass(std::string_view name);
// The framework's own classes (RegisterCoreClasses) and the stock controls are registered on
// first use of the registry. The stock controls (controls/) define RegisterStockControls().
void RegisterStockControls();

// ---- generic property access -----------------------------------------------------------------
// By PropInfo or by name (ASCII case ignored). Unknown names and wrong kinds throw EPropertyError.

const PropInfo* GetPropInfo(const TPersistent& obj, std::string_view name);
const PropInfo* GetPropInfo(const ClassInfo& cls, std::string_view name);
bool IsPublishedProp(const TPersistent& obj, std::string_view name);
std::span<const PropInfo* const> GetPropList(const TPersistent& obj);

std::string GetStrProp(const TPersistent& obj, const PropInfo* prop);
void SetStrProp(TPersistent& obj, const PropInfo* prop, const std::string& value);
std::string GetStrProp(const TPersistent& obj, std::string_view name);
void SetStrProp(TPersistent& obj, std::string_view name, const std::string& value);

// Integers, bytes, chars, Booleans, enumerations (ordinal) and sets (bit mask).
std::int64_t GetOrdProp(const TPersistent& obj, const PropInfo* prop);
void SetOrdProp(TPersistent& obj, const PropInfo* prop, std::int64_t value);
std::int64_t GetOrdProp(const TPersistent& obj, std::string_view name);
void SetOrdProp(TPersistent& obj, std::string_view name, std::int64_t value);
std::int64_t GetInt64Prop(const TPersistent& obj, std::string_view name);
void SetInt64Prop(TPersistent& obj, std::string_view name, std::int64_t value);

// Enumerations and Booleans by identifier.
std::string GetEnumProp(const TPersistent& obj, const PropInfo* prop);
void SetEnumProp(TPersistent& obj, const PropInfo* prop, std::string_view value);
std::string GetEnumProp(const TPersistent& obj, std::string_view name);
void SetEnumProp(TPersistent& obj, std::string_view name, std::string_view value);

// Sets as "a,b" (with brackets: "[a,b]"); setting accepts either.
std::string GetSetProp(const TPersistent& obj, std::string_view name, bool brackets = false);
void SetSetProp(TPersistent& obj, std::string_view name, std::string_view value);

double GetFloatProp(const TPersistent& obj, const PropInfo* prop);
void SetFloatProp(TPersistent& obj, const PropInfo* prop, double value);
double GetFloatProp(const TPersistent& obj, std::string_view name);
void SetFloatProp(TPersistent& obj, std::string_view name, double value);

// Sub-object or referenced component (null when none).
TPersistent* GetObjectProp(const TPersistent& obj, const PropInfo* prop);
TPersistent* GetObjectProp(const TPersistent& obj, std::string_view name);
template <class C>
C* GetObjectProp(const TPersistent& obj, std::string_view name) {
  return dynamic_cast<C*>(GetObjectProp(obj, name));
}
void SetObjectProp(TPersistent& obj, const PropInfo* prop, TPersistent* value);
void SetObjectProp(TPersistent& obj, std::string_view name, TPersistent* value);

// Events: the handler name, and the event object (to attach a callable).
std::string GetMethodProp(const TPersistent& obj, const PropInfo* prop);
void SetMethodProp(TPersistent& obj, const PropInfo* prop, const std::string& handlerName);
std::string GetMethodProp(const TPersistent& obj, std::string_view name);
void SetMethodProp(TPersistent& obj, std::string_view name, const std::string& handlerName);
TEventBase* GetEventProp(TPersistent& obj, std::string_view name);
template <class... Args>
void SetMethodProp(TPersistent& obj, std::string_view name, const std::string& handlerName,
                   std::type_identity_t<std::function<void(Args...)>> code) {
  auto* event = dynamic_cast<TEvent<Args...>*>(GetEventProp(obj, name));
  if (!event) throw EPropertyError("event " + std::string(name) + " has another signature");
  event->HandlerName = handlerName;
  event->Code = std::move(code);
}

// Any published property as the text the text form-file notation would show for it
// (strings unquoted); for tests, diagnostics and the designer.
std::string GetPropText(const TPersistent& obj, std::string_view name);

// ---- form-file values and 8-bit texts --------------------------------------------------------

// The 8-bit text of a string value: String/LString as stored, Unicode strings converted to
// `codePage`. False when the value is not a string.
bool ValueToAnsi(const formfile::Value& value, int codePage, std::string& text);
// The value to write for `text`: `original` when it still means the same bytes (so Unicode
// originals survive), else an 8-bit string, or a Unicode one when the original was Unicode (or
// context.unicodeNonAscii) and the text holds non-ASCII bytes.
formfile::Value AnsiToValue(const std::string& text, const formfile::Value* original,
                            const FilerContext& context);

}  // namespace vorlect::host
