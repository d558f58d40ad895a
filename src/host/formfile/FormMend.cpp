#include "host/formfile/FormMend.h"

#include "host/formfile/Names.h"

namespace vorlect::formfile {

namespace {

bool SameProperties(const std::vector<Property>& a, const std::vector<Property>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || !SameValue(a[i].value, b[i].value)) return false;
  return true;
}

bool HoldsPlaceholder(const Value& v) {
  if (v.type == ValueType::Ident) return v.bytes == kNoNotationPlaceholder;
  for (const Value& e : v.list)
    if (HoldsPlaceholder(e)) return true;
  for (const CollectionItem& item : v.items)
    for (const Property& p : item.properties)
      if (HoldsPlaceholder(p.value)) return true;
  return false;
}

bool HoldsPlaceholder(const Object& o) {
  for (const Property& p : o.properties)
    if (HoldsPlaceholder(p.value)) return true;
  for (const Object& c : o.children)
    if (HoldsPlaceholder(c)) return true;
  return false;
}

class Mender {
public:
  Mender(std::string_view original, std::string_view fileName, std::string& out)
      : original_(original), file_(fileName), out_(out) {}

  void Object(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    if (SameObject(before, after)) {
      Copy(span.begin, span.end);
      return;
    }
    if (before.flags == after.flags && before.position == after.position && before.className == after.className &&
        before.name == after.name) {
      Copy(span.begin, span.headerEnd);
    } else {
      // A new header: stream the object without properties and children, then drop its two zeros.
      formfile::Object header = after;
      header.properties.clear();
      header.children.clear();
      AppendBinaryObject(out_, header);
      out_.resize(out_.size() - 2);
    }
    Properties(before, span, after);
    out_.push_back(0);
    Children(before, span, after);
    out_.push_back(0);
  }

private:
  void Copy(size_t from, size_t to) { out_.append(original_.substr(from, to - from)); }

  void Fresh(const Property& p) {
    if (HoldsPlaceholder(p.value)) Unwritable(p.name);
    AppendBinaryProperty(out_, p);
  }
  void Fresh(const formfile::Object& o) {
    if (HoldsPlaceholder(o)) Unwritable(o.name);
    AppendBinaryObject(out_, o);
  }
  [[noreturn]] void Unwritable(std::string_view what) const {
    throw FormFileError(std::string(file_), "property " + std::string(what),
                        "a changed value holds one the text notation cannot carry");
  }

  // Each property of `after` takes the original bytes of the next property of `before` with the
  // same name and value; properties of `before` passed over are dropped.
  void Properties(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    size_t cursor = 0;
    for (const Property& p : after.properties) {
      size_t k = cursor;
      while (k < before.properties.size() && !detail::EqualNoCase(before.properties[k].name, p.name)) ++k;
      if (k < before.properties.size()) {
        cursor = k + 1;
        if (before.properties[k].name == p.name && SameValue(before.properties[k].value, p.value)) {
          Copy(span.properties[k].first, span.properties[k].second);
          continue;
        }
      }
      Fresh(p);
    }
  }

  void Children(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    size_t cursor = 0;
    for (const formfile::Object& child : after.children) {
      size_t k = cursor;
      while (k < before.children.size() && !(before.children[k].name == child.name &&
                                             before.children[k].className == child.className))
        ++k;
      if (k < before.children.size()) {
        cursor = k + 1;
        Object(before.children[k], span.children[k], child);
        continue;
      }
      Fresh(child);
    }
  }

  std::string_view original_;
  std::string_view file_;
  std::string& out_;
};

}  // namespace

bool SameValue(const Value& a, const Value& b) {
  if (a.type != b.type) return false;
  switch (a.type) {
    case ValueType::Int8:
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Currency:
      return a.integer == b.integer;
    case ValueType::Extended:
    case ValueType::Single:
    case ValueType::Double:
    case ValueType::Date:
      return a.floatBytes == b.floatBytes;
    case ValueType::String:
    case ValueType::LString:
    case ValueType::Ident:
    case ValueType::Binary:
    case ValueType::UTF8String:
      return a.bytes == b.bytes;
    case ValueType::WString:
      return a.wide == b.wide;
    case ValueType::List:
      if (a.list.size() != b.list.size()) return false;
      for (size_t i = 0; i < a.list.size(); ++i)
        if (!SameValue(a.list[i], b.list[i])) return false;
      return true;
    case ValueType::Set:
      return a.set == b.set;
    case ValueType::Collection:
      if (a.items.size() != b.items.size()) return false;
      for (size_t i = 0; i < a.items.size(); ++i) {
        const CollectionItem &x = a.items[i], &y = b.items[i];
        if (x.hasIndex != y.hasIndex || (x.hasIndex && x.index != y.index) || !SameProperties(x.properties, y.properties))
          return false;
      }
      return true;
    case ValueType::False:
    case ValueType::True:
    case ValueType::Nil:
    case ValueType::Null:
      return true;
  }
  return false;
}

bool SameObject(const Object& a, const Object& b) {
  if (a.flags != b.flags || a.position != b.position || a.className != b.className || a.name != b.name ||
      a.children.size() != b.children.size() || !SameProperties(a.properties, b.properties))
    return false;
  for (size_t i = 0; i < a.children.size(); ++i)
    if (!SameObject(a.children[i], b.children[i])) return false;
  return true;
}

std::string MendBinary(std::string_view original, const BinaryInfo& info, const ObjectSpan& layout,
                       const Object& before, const Object& after, std::string_view fileName) {
  std::string out;
  out.reserve(original.size() + 1024);
  out.append(original.substr(0, info.dataStart + 4));  // header and signature
  Mender(original, fileName, out).Object(before, layout, after);
  if (info.resourceHeader) {
    const std::uint64_t size = out.size() - info.dataStart;
    if (size > 0xFFFFFFFFu) throw std::length_error("form larger than 4 GiB");
    for (int i = 0; i < 4; ++i) out[info.sizeAt + static_cast<size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  }
  return out;
}

}  // namespace vorlect::formfile
