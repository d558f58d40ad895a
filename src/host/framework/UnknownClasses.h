// Objects of classes the registry does not know publish what their form file stores.
//
// The original platform learns a third-party class's properties from its type information; all
// we have is the file. A stand-in read from a file (TUnknownComponent, TUnknownControl, and the
// collection items and sub-objects below) publishes, besides what the stand-in itself publishes,
// every property its file stores with one of these values:
//   - a string (8-bit or Unicode)                  a string property
//   - True or False                                a Boolean property
//   - `X.Strings = (...)` holding strings only     a string list X
//   - `X = <item ... end>`                         a collection X whose items do the same
//   - `X.Y = ...`                                  a sub-object X publishing Y, in depth
// A property left at its default is not in the file, so it is not published either. Numbers,
// identifiers, sets, binary data, properties stored more than once and names the stand-in
// already knows stay as they are (raw, see Streaming.h).
//
// Objects storing the same properties share one class. Such classes are made once per process
// and never freed, so a class pointer stays a valid key for caches (the translation component
// keeps facts per class).
#pragma once

#include "host/formfile/FormTree.h"
#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::host {

struct StoredShape;  // the made class and what each of its own properties holds

// Mixed into the stand-ins: the values of the properties published this way.
class TStoredProperties {
public:
  TStoredProperties() = default;
  TStoredProperties(const TStoredProperties&) = delete;
  TStoredProperties& operator=(const TStoredProperties&) = delete;
  virtual ~TStoredProperties();

  // Publishes what `properties` hold beyond what `standIn` publishes, in a class named
  // `className`. Values start empty (strings, lists, collections) or False; reading sets them.
  // Only the first call counts.
  void PublishStored(const ClassInfo& standIn, std::string_view className,
                     const std::vector<formfile::Property>& properties);
  // The made class, or null when the file stored nothing beyond what the stand-in publishes.
  const ClassInfo* StoredClass() const;

  struct Slot {
    std::string text;                      // strings
    bool flag = false;                     // Booleans
    std::unique_ptr<TPersistent> object;   // string lists, collections, sub-objects
  };

protected:
  const ClassInfo& ClassOr(const ClassInfo& standIn) const {
    const ClassInfo* made = StoredClass();
    return made ? *made : standIn;
  }

private:
  friend struct StoredAccess;
  void Adopt(const StoredShape* shape);

  const StoredShape* shape_ = nullptr;
  std::vector<Slot> slots_;
};

// A sub-object of an unknown class (`Title.Caption = ...`).
class TUnknownObject : public TPersistent, public TStoredProperties {
public:
  using inherited = TPersistent;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return ClassOr(StaticClass()); }
};

// An item of a collection of an unknown class.
class TUnknownItem : public TCollectionItem, public TStoredProperties {
public:
  using inherited = TCollectionItem;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return ClassOr(StaticClass()); }
  explicit TUnknownItem(TCollection* collection) : TCollectionItem(collection) {}
};

// For the form reader: publishes the stored properties of `object` when it is a stand-in that
// takes them (see above); does nothing for other objects.
void PublishStoredProperties(TPersistent& object, std::string_view className,
                             const std::vector<formfile::Property>& properties);

}  // namespace vorlect::host
