#include "TreeCompare.h"

#include "platform/CodePages.h"

#include <cmath>
#include <cstring>

namespace vorlect::formfile::test {

namespace {

std::string Diff(const Value& a, const Value& b, const CompareOptions& o, const std::string& path);

std::string DiffProperties(const std::vector<Property>& a, const std::vector<Property>& b, const CompareOptions& o,
                           const std::string& path) {
  if (a.size() != b.size())
    return path + ": " + std::to_string(a.size()) + " vs " + std::to_string(b.size()) + " properties";
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name) return path + ": property " + a[i].name + " vs " + b[i].name;
    std::string d = Diff(a[i].value, b[i].value, o, path + "." + a[i].name);
    if (!d.empty()) return d;
  }
  return {};
}

std::u16string TextOf(const Value& v, int codePage) {
  if (v.isWideString()) return v.unicodeText();
  return platform::DecodeCodePage(v.bytes, codePage);
}

std::string Diff(const Value& a, const Value& b, const CompareOptions& o, const std::string& path) {
  auto mismatch = [&] { return path + ": " + Describe(a) + " vs " + Describe(b); };
  if (o.stringsAsText && a.isString() && b.isString()) {
    if (a.isAnsiString() && b.isAnsiString()) return a.bytes == b.bytes ? std::string() : mismatch();
    return TextOf(a, o.codePage) == TextOf(b, o.codePage) ? std::string() : mismatch();
  }
  if (o.numbersByValue && a.isInteger() && b.isInteger())
    return a.integer == b.integer ? std::string() : mismatch();
  bool aExt = a.type == ValueType::Extended || a.type == ValueType::Double || (o.numbersByValue && a.isInteger());
  bool bExt = b.type == ValueType::Extended || b.type == ValueType::Double || (o.numbersByValue && b.isInteger());
  if (o.numbersByValue && aExt && bExt) {
    long double x = a.toLongDouble(), y = b.toLongDouble();
    if (x == y || (std::isnan(x) && std::isnan(y))) return {};
    if (o.floatTolerance > 0 && std::fabs(x - y) <= o.floatTolerance * std::max(std::fabs(x), std::fabs(y))) return {};
    return mismatch();
  }
  if (a.type != b.type) return mismatch();
  switch (a.type) {
    case ValueType::List:
      if (a.list.size() != b.list.size()) return mismatch();
      for (size_t i = 0; i < a.list.size(); ++i) {
        std::string d = Diff(a.list[i], b.list[i], o, path + "[" + std::to_string(i) + "]");
        if (!d.empty()) return d;
      }
      return {};
    case ValueType::Collection:
      if (a.items.size() != b.items.size()) return mismatch();
      for (size_t i = 0; i < a.items.size(); ++i) {
        const auto &x = a.items[i], &y = b.items[i];
        std::string p = path + "<" + std::to_string(i) + ">";
        if (x.hasIndex != y.hasIndex || x.index != y.index) return p + ": item index differs";
        std::string d = DiffProperties(x.properties, y.properties, o, p);
        if (!d.empty()) return d;
      }
      return {};
    case ValueType::Set:
      return a.set == b.set ? std::string() : mismatch();
    case ValueType::WString:
      return a.wide == b.wide ? std::string() : mismatch();
    case ValueType::Extended:
    case ValueType::Single:
    case ValueType::Double:
    case ValueType::Date:
      if (o.floatTolerance > 0) {
        long double x = a.toLongDouble(), y = b.toLongDouble();
        if (std::fabs(x - y) <= o.floatTolerance * std::max(std::fabs(x), std::fabs(y))) return {};
      }
      return a.floatBytes == b.floatBytes ? std::string() : mismatch();
    default:
      return a.integer == b.integer && a.bytes == b.bytes ? std::string() : mismatch();
  }
}

std::string DiffObjects(const Object& a, const Object& b, const CompareOptions& o, const std::string& parent) {
  std::string path = parent + "/" + a.name + ":" + a.className;
  if (a.className != b.className || a.name != b.name)
    return path + ": object " + b.name + ":" + b.className + " instead";
  if (a.flags != b.flags) return path + ": flags " + std::to_string(a.flags) + " vs " + std::to_string(b.flags);
  if ((a.flags & ffChildPos) && a.position != b.position) return path + ": child position differs";
  std::string d = DiffProperties(a.properties, b.properties, o, path);
  if (!d.empty()) return d;
  if (a.children.size() != b.children.size())
    return path + ": " + std::to_string(a.children.size()) + " vs " + std::to_string(b.children.size()) + " children";
  for (size_t i = 0; i < a.children.size(); ++i) {
    d = DiffObjects(a.children[i], b.children[i], o, path);
    if (!d.empty()) return d;
  }
  return {};
}

}  // namespace

std::string Describe(const Value& v) {
  std::string s = "type " + std::to_string(static_cast<int>(v.type));
  if (v.isInteger()) s += " " + std::to_string(v.integer);
  else if (v.isWideString()) s += " \"" + platform::Utf16ToUtf8(v.unicodeText()) + "\"";
  else if (v.isString() || v.type == ValueType::Ident) s += " '" + v.bytes.substr(0, 80) + "'";
  else if (v.isFloat()) {
    char buf[64];
    snprintf(buf, sizeof buf, " %.21Lg", v.toLongDouble());
    s += buf;
  }
  return s;
}

std::string DiffTrees(const Object& a, const Object& b, const CompareOptions& options) {
  return DiffObjects(a, b, options, "");
}

}  // namespace vorlect::formfile::test
