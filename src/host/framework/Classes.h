// The persistent-object and component model: TObject, TPersistent, TComponent, string lists and
// collections.
//
// Ownership follows the original library: a component created with an owner (`new T(owner)`) is
// owned by it and deleted with it; deleting a component removes it from its owner. A component
// without an owner belongs to whoever created it (hold it in a std::unique_ptr). Collection items
// are owned by their collection the same way (`new TMyItem(collection)` or `collection->Add()`).
//
// Every class names its type information with VORLECT_CLASS(Class, Parent) and defines
// `Class::StaticClass()` with a ClassBuilder (see TypInfo.h).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::host {

class ClassInfo;
class TComponent;
class TChangeObserver;
struct FilerState;  // Streaming.h: what an object remembers from the form file it was read from

// Declares the type information of a class. Put it first in the class body.
#define VORLECT_CLASS(Class, Parent)                                              \
public:                                                                           \
  using inherited = Parent;                                                       \
  static const ::vorlect::host::ClassInfo& StaticClass();                         \
  const ::vorlect::host::ClassInfo& ClassType() const override { return StaticClass(); }

// ---- exceptions ------------------------------------------------------------------------------

class Exception : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
class EListError : public Exception { using Exception::Exception; };
class EStringListError : public EListError { using EListError::EListError; };
class EComponentError : public Exception { using Exception::Exception; };
class EPropertyError : public Exception { using Exception::Exception; };
class EConvertError : public Exception { using Exception::Exception; };
class EClassNotFound : public Exception { using Exception::Exception; };

// ---- sets and events -------------------------------------------------------------------------

// A Pascal `set of E` for enumerations with up to 64 elements: bit n stands for ordinal n.
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> elements) {
    for (E e : elements) Include(e);
  }
  static constexpr TSet FromBits(std::uint64_t bits) { TSet s; s.bits_ = bits; return s; }
  constexpr std::uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ >> Bit(e)) & 1u; }
  constexpr TSet& Include(E e) { bits_ |= std::uint64_t(1) << Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { bits_ &= ~(std::uint64_t(1) << Bit(e)); return *this; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet operator|(TSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TSet operator&(TSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr bool operator==(const TSet&) const = default;

private:
  static constexpr unsigned Bit(E e) { return static_cast<unsigned>(e) & 63u; }
  std::uint64_t bits_ = 0;
};

class TObject;

// An event property. In a form file an event is the name of its handler method
// (`OnClick = Button1Click`); the name is kept here, and a C++ callable may be attached.
class TEventBase {
public:
  virtual ~TEventBase() = default;
  std::string HandlerName;
  virtual bool HasCode() const = 0;
  virtual void ClearCode() = 0;
};

template <class... Args>
class TEvent : public TEventBase {
public:
  std::function<void(Args...)> Code;
  bool HasCode() const override { return static_cast<bool>(Code); }
  void ClearCode() override { Code = nullptr; }
  explicit operator bool() const { return HasCode(); }
  void operator()(Args... args) const {
    if (Code) Code(args...);
  }
  TEvent& operator=(std::function<void(Args...)> code) { Code = std::move(code); return *this; }
};

using TNotifyEvent = TEvent<TObject*>;

// ---- TObject / TPersistent -------------------------------------------------------------------

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static const ClassInfo& StaticClass();
  virtual const ClassInfo& ClassType() const { return StaticClass(); }
  // The class name; forms and unregistered classes report the name their form file declares.
  virtual std::string ClassName() const;
  bool InheritsFrom(const ClassInfo& cls) const;
  template <class T>
  bool Is() const { return InheritsFrom(T::StaticClass()); }
};

class TPersistent : public TObject {
  VORLECT_CLASS(TPersistent, TObject)
public:
  TPersistent();
  ~TPersistent() override;

  // Copies `source` into this object; throws EConvertError when the classes do not fit.
  virtual void Assign(const TPersistent& source);
  virtual std::string GetNamePath() const { return ClassName(); }

  // Form-file memory (properties as read, in file order; see Streaming.h). Null until the object
  // is read from or written to a form file.
  FilerState* Filer() const { return filer_.get(); }
  FilerState& EnsureFiler();
  void ResetFiler();

protected:
  // Lets a class accept assignments into other classes (Pascal's AssignTo).
  virtual void AssignTo(TPersistent& dest) const;

private:
  std::unique_ptr<FilerState> filer_;
};

// ---- TComponent ------------------------------------------------------------------------------

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : std::uint32_t {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csInline = 1u << 8,
  csDesignInstance = 1u << 9,
};
using TComponentState = std::uint32_t;

class TComponent : public TPersistent {
  VORLECT_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }

  const std::string& Name() const { return name_; }
  // Validates an identifier (or empty) and uniqueness among the owner's components (ASCII case
  // ignored); throws EComponentError.
  virtual void SetName(std::string_view name);

  // The class name a form file declared when the object's C++ class stands in for it (forms
  // TForm1, frames, unregistered classes); empty otherwise. ClassName() reports it when set.
  const std::string& DeclaredClassName() const { return declaredClassName_; }
  void SetDeclaredClassName(std::string name) { declaredClassName_ = std::move(name); }
  std::string ClassName() const override;

  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }

  // Owned components in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;  // position in the owner's list, -1 without owner
  // An owned component by name, ASCII case ignored; never this component itself.
  TComponent* FindComponent(std::string_view name) const;

  // Takes over / gives up ownership (the component moves between owners).
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Deletes every owned component (last first).
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  bool InState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
  // Framework use (streaming, designer): sets or clears a state flag on this component only.
  void SetStateFlag(TComponentStateFlag flag, bool on);
  // Design mode; owned components follow (and inherit it when inserted later).
  void SetDesigning(bool designing, bool setChildren = true);

  // Called once after the whole form was read, csLoading already cleared.
  virtual void Loaded();
  // Told when `component` is inserted into or removed from this owner, or is destroyed while
  // this component asked for it with FreeNotification. The default clears published component
  // references that point at a removed component.
  virtual void Notification(TComponent* component, TOperation operation);
  // Both components are told when the other one is destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Design position of a non-visual component (stored as `Left`/`Top` in form files, not a
  // published property).
  int DesignLeft() const { return designLeft_; }
  int DesignTop() const { return designTop_; }
  void SetDesignPosition(int left, int top) { designLeft_ = left; designTop_ = top; }

  // The nesting of objects in a form file. A child object is given its parent through
  // SetParentComponent (controls take it as Parent, menu items join their item); GetChildren
  // lists what is written nested inside this object, in order, for components owned by `root`.
  virtual bool HasParent() const { return parentComponent_ != nullptr; }
  virtual TComponent* GetParentComponent() const { return parentComponent_; }
  virtual void SetParentComponent(TComponent* parent);
  virtual void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const;
  // The owner of the objects nested in this one in a form file, when it is not the form: frames
  // own theirs. Null: the form (or the enclosing frame) owns them.
  virtual TComponent* GetChildOwner() const { return nullptr; }
  // Components nested in this one, in the order they were attached. GetChildren lists those
  // owned by `root` or by this component itself.
  const std::vector<TComponent*>& ChildComponents() const { return childComponents_; }

  std::string GetNamePath() const override { return name_; }

  // The observer of this component and of everything it owns, directly or below (null: none).
  // A view of a form sets it on the form; it is not owned and must be cleared before it goes.
  TChangeObserver* ChangeObserver() const { return observer_; }
  void SetChangeObserver(TChangeObserver* observer);
  // Tells the nearest observer up the owner chain that something this component shows changed.
  // Does nothing (and looks nothing up) while no observer is set anywhere.
  void NotifyChanged();

protected:
  // Moves this component under `parent` in the nesting lists only (no Parent semantics).
  void AttachToParentComponent(TComponent* parent);

private:
  void IndexName(TComponent* component);
  void UnindexName(TComponent* component);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::string declaredClassName_;
  std::int64_t tag_ = 0;
  TComponentState state_ = 0;
  int designLeft_ = 0, designTop_ = 0;
  std::vector<TComponent*> components_;
  std::unique_ptr<std::unordered_map<std::string, TComponent*>> nameIndex_;  // lower-case names
  std::vector<TComponent*> freeNotifies_;
  TComponent* parentComponent_ = nullptr;
  std::vector<TComponent*> childComponents_;
  TChangeObserver* observer_ = nullptr;
};

// ---- change notification ---------------------------------------------------------------------

// What a view of a component tree learns, so that it follows the tree without polling: set on
// the tree's root with SetChangeObserver. The setters of what controls show (bounds, texts,
// fonts, visibility, item lists, collection items, tree nodes, list items) and the generic
// property setters report the component concerned.
class TChangeObserver {
public:
  virtual ~TChangeObserver() = default;
  // Something `component` shows changed; it may change more before the call returns to it.
  virtual void ComponentChanged(TComponent& component) = 0;
  // `component` is being destroyed: its address is all that may still be used. When it is the
  // component that carries this observer, the observer is cleared first and nothing it owns is
  // reported afterwards.
  virtual void ComponentDestroying(TComponent& component) = 0;
  // Many changes follow (a language switch): they may be gathered until the batch ends.
  // Batches nest.
  virtual void BeginBatch() {}
  virtual void EndBatch() {}
  // `component` asks to be shown above its siblings; the tree's root (a form): its window above
  // the other windows.
  virtual void ComponentBroughtToFront(TComponent& component) { (void)component; }
};

// Reports a change of `object`: a component, or something a component holds that knows its way
// back (a collection item). Other objects report nothing.
void NotifyChanged(TPersistent* object);
// Reports that `component` asks to be brought to the front (TControl::BringToFront).
void NotifyBroughtToFront(TComponent& component);

// Gathers the changes made while it lives into one batch of the observer of `component`, if any.
class TChangeBatch {
public:
  explicit TChangeBatch(TComponent* component);
  ~TChangeBatch();
  TChangeBatch(const TChangeBatch&) = delete;
  TChangeBatch& operator=(const TChangeBatch&) = delete;

private:
  TChangeObserver* observer_ = nullptr;
};

// True for Pascal identifiers: [A-Za-z_][A-Za-z0-9_]* (bytes above 127 count as letters).
bool IsValidIdent(std::string_view name);
// ASCII case-insensitive comparison (the file format's identifiers are ASCII).
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
std::string LowerCase(std::string_view s);

// ---- TStrings / TStringList ------------------------------------------------------------------

// A list of 8-bit strings, each with an optional object tag. Abstract: TStringList holds data.
class TStrings : public TPersistent {
  VORLECT_CLASS(TStrings, TPersistent)
public:
  virtual int Count() const = 0;
  virtual const std::string& Strings(int index) const = 0;
  virtual void Put(int index, const std::string& s) = 0;
  virtual void* Objects(int index) const = 0;
  virtual void PutObject(int index, void* object) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  virtual int Add(const std::string& s);
  int AddObject(const std::string& s, void* object);
  void InsertObject(int index, const std::string& s, void* object);
  void AddStrings(const TStrings& strings);
  virtual void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  // Case-insensitive (ASCII) like the original.
  virtual int IndexOf(std::string_view s) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const void* object) const;
  bool Equals(const TStrings& other) const;

  // Lines each followed by LineBreak (CR LF), like the original (no break after the last line
  // when TrailingLineBreak is false). Setting splits at CR LF, LF or CR.
  std::string Text() const;
  virtual void SetText(std::string_view text);
  std::string LineBreak = "\r\n";
  bool TrailingLineBreak = true;

  // Items separated by commas, quoted with '"' when they hold a char <= ' ', a comma or a quote.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  // The same with Delimiter and QuoteChar; StrictDelimiter splits at the delimiter only.
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  char Delimiter = ',';
  char QuoteChar = '"';
  bool StrictDelimiter = false;

  // `Name=Value` items.
  char NameValueSeparator = '=';
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, const std::string& value);
  std::string ValueFromIndex(int index) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(const TPersistent& source) override;

protected:
  // Told when updating starts (true) and ends (false).
  virtual void SetUpdateState(bool /*updating*/) {}
  [[noreturn]] void Error(const char* message, int index) const;

private:
  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  VORLECT_CLASS(TStringList, TStrings)
public:
  TStringList() = default;

  int Count() const override { return static_cast<int>(items_.size()); }
  const std::string& Strings(int index) const override;
  void Put(int index, const std::string& s) override;
  void* Objects(int index) const override;
  void PutObject(int index, void* object) override;
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  int IndexOf(std::string_view s) const override;

  // Binary search in a sorted list: true and the index when found, else the insert position.
  bool Find(std::string_view s, int& index) const;
  void Sort();
  void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates = dupIgnore;
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(std::string_view a, std::string_view b) const;

private:
  struct Item {
    std::string text;
    void* object = nullptr;
  };
  void InsertItem(int index, const std::string& s, void* object);
  void CheckIndex(int index) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
};

// ---- TCollection / TCollectionItem -----------------------------------------------------------

class TCollection;

class TCollectionItem : public TPersistent {
  VORLECT_CLASS(TCollectionItem, TPersistent)
public:
  // Joins `collection` (may be null) as its last item; the collection owns it.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  void SetCollection(TCollection* collection);
  int Index() const;
  void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(std::string_view name);
  std::string GetNamePath() const override;

  // Items of the same class copy their published properties (sub-objects assigned in depth).
  void Assign(const TPersistent& source) override;

protected:
  // Tells the collection that this item (or, with allItems, every item) changed.
  void Changed(bool allItems);

private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  VORLECT_CLASS(TCollection, TPersistent)
public:
  // `itemClass` must be a TCollectionItem class with a factory (ClassBuilder gives one).
  explicit TCollection(const ClassInfo& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const ClassInfo& ItemClass() const { return *itemClass_; }
  TPersistent* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const;
  template <class T>
  T* ItemAs(int index) const { return dynamic_cast<T*>(Items(index)); }

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void Assign(const TPersistent& source) override;
  std::string GetNamePath() const override;
  // The owner's property that holds this collection (for name paths), e.g. "Columns".
  std::string PropName;

  // Told after a change: `item` changed, or (null) the whole collection.
  virtual void Update(TCollectionItem* /*item*/) {}
  std::function<void(TCollectionItem*)> OnUpdate;

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void MoveItem(TCollectionItem* item, int newIndex);
  void Changed(TCollectionItem* item);

  const ClassInfo* itemClass_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

}  // namespace vorlect::host
