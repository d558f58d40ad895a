#include "host/formfile/FormTree.h"

#include "platform/CodePages.h"

#include <cstring>

namespace vorlect::formfile {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

// Length of the UTF-8 form, counting lone surrogates as three bytes like the encoder does.
size_t Utf8Length(std::u16string_view units) {
  size_t n = 0;
  for (size_t i = 0; i < units.size(); ++i) {
    char16_t u = units[i];
    if (u < 0x80) n += 1;
    else if (u < 0x800) n += 2;
    else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
             units[i + 1] <= 0xDFFF) {
      n += 4;
      ++i;
    } else n += 3;
  }
  return n;
}

std::string MakeWhat(const std::string& file, const std::string& where, const std::string& message) {
  std::string s = file.empty() ? std::string("<form>") : file;
  if (!where.empty()) s += ": " + where;
  s += ": " + message;
  return s;
}

}  // namespace

FormFileError::FormFileError(std::string file, std::string where, std::string message)
    : std::runtime_error(MakeWhat(file, where, message)),
      file_(std::move(file)),
      where_(std::move(where)),
      detail_(std::move(message)) {}

Value Value::Integer(std::int64_t v) {
  Value r;
  r.integer = v;
  if (v >= INT8_MIN && v <= INT8_MAX) r.type = ValueType::Int8;
  else if (v >= INT16_MIN && v <= INT16_MAX) r.type = ValueType::Int16;
  else if (v >= INT32_MIN && v <= INT32_MAX) r.type = ValueType::Int32;
  else r.type = ValueType::Int64;
  return r;
}

Value Value::Ansi(std::string bytes) {
  Value r;
  r.type = bytes.size() <= 255 ? ValueType::String : ValueType::LString;
  r.bytes = std::move(bytes);
  return r;
}

Value Value::Unicode(std::u16string units) {
  Value r;
  if (Utf8Length(units) < units.size() * 2) {
    r.type = ValueType::UTF8String;
    r.bytes = platform::Utf16ToUtf8(units);
  } else {
    r.type = ValueType::WString;
    r.wide = std::move(units);
  }
  return r;
}

Value Value::Identifier(std::string name) {
  Value r;
  r.type = ValueType::Ident;
  r.bytes = std::move(name);
  return r;
}

Value Value::Boolean(bool v) {
  Value r;
  r.type = v ? ValueType::True : ValueType::False;
  return r;
}

Value Value::FromLongDouble(long double v) {
  static_assert(sizeof(long double) >= 10, "x87 extended precision expected");
  Value r;
  r.type = ValueType::Extended;
  std::memcpy(r.floatBytes.data(), &v, 10);
  return r;
}

std::u16string Value::unicodeText() const {
  if (type == ValueType::WString) return wide;
  if (type == ValueType::UTF8String) return platform::Utf8ToUtf16(bytes);
  return {};
}

long double Value::toLongDouble() const {
  switch (type) {
    case ValueType::Extended: {
      long double v = 0;
      std::memcpy(&v, floatBytes.data(), 10);
      return v;
    }
    case ValueType::Single: {
      float v;
      std::memcpy(&v, floatBytes.data(), 4);
      return v;
    }
    case ValueType::Double:
    case ValueType::Date: {
      double v;
      std::memcpy(&v, floatBytes.data(), 8);
      return v;
    }
    case ValueType::Currency:
      return static_cast<long double>(integer) / 10000.0L;
    default:
      return isInteger() ? static_cast<long double>(integer) : 0.0L;
  }
}

const Property* Object::find(std::string_view propertyName) const {
  for (const Property& p : properties)
    if (EqualNoCase(p.name, propertyName)) return &p;
  return nullptr;
}

}  // namespace vorlect::formfile
