// Reading component trees from form files and writing them back.
//
// Reading creates every object through the class registry (owner: the root, or the inline frame
// that holds it), sets csLoading on all of them, and sets each property through its setter in
// file order. Dotted names go to sub-objects (`Font.Name`, `Items.Strings`), collections build
// their items, events keep their handler names, and component references are resolved by name
// after all objects exist (kept as the name when nothing matches). Then csLoading is cleared on
// all components and Loaded() is called once for each, in creation order (the root first).
//
// Nothing the file held is lost: a property the class does not declare, or whose value has a type
// the property cannot take, or whose setter refused it, is kept raw and written back unchanged.
// A component that was read writes its properties in the order the file had them (with their
// original value types while the value is unchanged, e.g. a Unicode string whose 8-bit text was
// not touched); properties that got a non-default value since are placed where the declaration
// order puts them. A component created in code writes its published properties in declaration
// order (ancestors first), then its defined ones. Children follow in the order of
// GetChildren(): creation order for a root's own components.
//
// Ownership: the root owns every component, except that a frame (TCustomFrame::GetChildOwner, or
// any inline object) owns what is nested in it, and a component whose name is already taken in
// its owner is owned by the object it is nested in (third-party containers that own their items).
//
// Unregistered classes: a root object becomes a TFrame when it is inline or its class name
// contains "Frame", a TDataModule when it has none of a form's properties (Caption,
// ClientWidth/Height, PixelsPerInch, TextHeight, Font.*) and no children with a size, else a
// TForm; an inline child, or an inherited one with children whose class name contains "frame",
// becomes a TFrame; any other object becomes a TUnknownControl when it has
// Width or Height or child objects, else a TUnknownComponent. All of them report the file's
// class name through ClassName(). The last two, and the items of their collections, publish the
// strings, Booleans, string lists, collections and sub-objects the file stores (UnknownClasses.h).
#pragma once

#include "host/formfile/FormFile.h"
#include "host/formfile/FormTree.h"
#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::host {

// One property as the file had it.
struct StoredProperty {
  std::string name;          // as spelled in the file, dotted path included
  formfile::Value value;     // as read
  bool raw = false;          // unknown, of an unexpected type or refused: written back as read
};

// What an object (component or collection item) remembers from the file it was read from.
struct FilerState {
  bool fromFile = false;
  std::string className;                   // as spelled in the file
  std::uint8_t flags = 0;                  // formfile::ObjectFlags
  std::int64_t position = 0;               // child position (ffChildPos)
  formfile::ValueType positionType = formfile::ValueType::Int8;
  bool hasIndex = false;                   // collection item index `item [n]`
  std::int64_t index = 0;
  formfile::ValueType indexType = formfile::ValueType::Int8;
  std::vector<StoredProperty> properties;  // file order
  // Values of declared properties the file did not hold, as they were right after loading: such a
  // property is written only once its value differs (so a partial object, e.g. of an inherited
  // form, stays partial).
  std::unordered_map<std::string, formfile::Value> loadedValues;  // lower-case name
};

// A form file that does not make a component tree (duplicate names, an abstract class...).
// what() names the file and the object path.
class EReadError : public Exception {
  using Exception::Exception;
};

struct ReadOptions {
  std::string fileName;               // for messages
  int codePage = 0;                   // for Unicode strings; 0: platform::AnsiCodePage()
  bool designing = false;             // set csDesigning on the tree
  std::vector<std::string>* warnings = nullptr;  // values a setter refused (kept raw), etc.
};

struct WriteOptions {
  int codePage = 0;                   // 0: platform::AnsiCodePage()
  bool unicodeNonAscii = false;       // write changed non-ASCII texts as Unicode strings
};

std::unique_ptr<TComponent> ReadComponentTree(const formfile::Object& root,
                                              const ReadOptions& options = {});
// Reads into an existing root (its class must fit the file's root object).
void ReadComponentTreeInto(TComponent& root, const formfile::Object& object,
                           const ReadOptions& options = {});
// A form file's bytes (binary or text, detected). Throws formfile::FormFileError or EReadError.
std::unique_ptr<TComponent> LoadForm(std::string_view data, const ReadOptions& options = {},
                                     formfile::FileFormat* format = nullptr);
// Reads the file (options.fileName defaults to the path). Throws platform::FileError as well.
std::unique_ptr<TComponent> LoadFormFile(const std::string& path, ReadOptions options = {},
                                         formfile::FileFormat* format = nullptr);

formfile::Object WriteComponentTree(const TComponent& root, const WriteOptions& options = {});
// Binary (with or without the resource header) or text.
std::string SaveForm(const TComponent& root, formfile::FileFormat format,
                     const formfile::TextOptions& text = {}, const WriteOptions& options = {});
// Atomic: the file keeps its old content unless the new one was written completely.
void SaveFormFile(const TComponent& root, const std::string& path, formfile::FileFormat format,
                  const formfile::TextOptions& text = {}, const WriteOptions& options = {});

// Raw (unknown or kept) properties of a component or collection item, by file name (ASCII case
// ignored): null when there is none. Setting replaces the kept value or adds one at the end.
const formfile::Value* FindRawProperty(const TPersistent& obj, std::string_view name);
void SetRawProperty(TPersistent& obj, std::string_view name, formfile::Value value);
bool RemoveRawProperty(TPersistent& obj, std::string_view name);

}  // namespace vorlect::host
