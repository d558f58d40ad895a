// The object tree of a form file, as the streaming format holds it.
//
// A form file (binary or text) is one object with properties and child objects. This tree keeps
// every value with the value type the binary format stores, so that binary -> tree -> binary gives
// the same bytes. The component framework builds components from this tree and writes them back
// into one; the converter turns the tree into either file format.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::formfile {

// Value type bytes of the binary format (the original IDE's numbering; 21 is a double).
enum class ValueType : std::uint8_t {
  Null = 0,
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LString = 12,
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,
  Date = 17,
  WString = 18,
  Int64 = 19,
  UTF8String = 20,
  Double = 21,
};

struct Property;

// One item of a collection property (`<item ... end>`), optionally with an item index.
struct CollectionItem {
  bool hasIndex = false;
  std::int64_t index = 0;
  std::vector<Property> properties;
};

struct Value {
  ValueType type = ValueType::Null;

  // Int8, Int16, Int32, Int64: the value. Currency: the raw 64-bit count of 1/10000 units.
  std::int64_t integer = 0;

  // Extended (10 bytes), Single (4), Double and Date (8): the raw little-endian bytes, so that a
  // float survives exactly. Unused bytes are zero.
  std::array<std::uint8_t, 10> floatBytes{};

  // String, LString: the 8-bit bytes as stored (no code page is recorded in the file).
  // Ident: the identifier. Binary: the data. UTF8String: the UTF-8 bytes as stored.
  std::string bytes;

  // WString: the UTF-16 code units as stored.
  std::u16string wide;

  std::vector<Value> list;               // List
  std::vector<std::string> set;          // Set: element names in file order
  std::vector<CollectionItem> items;     // Collection

  bool isInteger() const {
    return type == ValueType::Int8 || type == ValueType::Int16 || type == ValueType::Int32 ||
           type == ValueType::Int64;
  }
  bool isFloat() const {
    return type == ValueType::Extended || type == ValueType::Single || type == ValueType::Double ||
           type == ValueType::Currency || type == ValueType::Date;
  }
  // An 8-bit string (String or LString).
  bool isAnsiString() const { return type == ValueType::String || type == ValueType::LString; }
  // A Unicode string (WString or UTF8String).
  bool isWideString() const { return type == ValueType::WString || type == ValueType::UTF8String; }
  bool isString() const { return isAnsiString() || isWideString(); }
  bool isBoolean() const { return type == ValueType::False || type == ValueType::True; }

  // Constructors that pick the value type the original writer picks for the content.
  static Value Integer(std::int64_t v);           // smallest of Int8/16/32, else Int64
  static Value Ansi(std::string bytes);           // String up to 255 bytes, else LString
  static Value Unicode(std::u16string units);     // UTF8String when its UTF-8 is shorter, else WString
  static Value Identifier(std::string name);      // Ident (no mapping of True/False/nil/Null)
  static Value Boolean(bool v);
  static Value FromLongDouble(long double v);     // Extended

  // The code units of a Unicode string (WString or UTF8String; invalid UTF-8 bytes map one to one).
  std::u16string unicodeText() const;
  // The value of any float type as a long double (Currency scaled, Date as days).
  long double toLongDouble() const;
};

struct Property {
  std::string name;   // dotted path as stored, e.g. "Font.Name", "Items.Strings"
  Value value;
};

// Filer flags of an object header.
enum ObjectFlags : std::uint8_t {
  ffInherited = 1,
  ffChildPos = 2,
  ffInline = 4,
};

struct Object {
  std::uint8_t flags = 0;        // ObjectFlags
  std::int64_t position = 0;     // child position, when flags has ffChildPos
  ValueType positionType = ValueType::Int8;  // its stored integer type
  std::string className;
  std::string name;              // may be empty (e.g. `object TPage` pages of a notebook)
  std::vector<Property> properties;
  std::vector<Object> children;

  const Property* find(std::string_view propertyName) const;  // case-insensitive
};

enum class FileFormat {
  Unknown,
  Text,
  Binary,                // 'TPF0' at the start
  BinaryWithHeader,      // 16-bit resource header, then 'TPF0'
};

// Damage or a syntax error in a form file. `where` is "offset N" (binary) or "line N" (text).
class FormFileError : public std::runtime_error {
public:
  FormFileError(std::string file, std::string where, std::string message);
  const std::string& file() const { return file_; }
  const std::string& where() const { return where_; }
  const std::string& detail() const { return detail_; }

private:
  std::string file_, where_, detail_;
};

}  // namespace vorlect::formfile
