// The binary streaming format: reader, writer and format detection.
#include "host/formfile/FormFile.h"
#include "host/formfile/Names.h"
#include "platform/Files.h"

#include <cctype>
#include <cstring>
#include <utility>

namespace vorlect::formfile {

namespace {

constexpr int kMaxDepth = 1000;  // nesting of objects, lists and collections together

class BinaryReader {
public:
  BinaryReader(std::string_view data, std::string_view fileName, size_t base)
      : data_(data), file_(fileName), base_(base) {}

  size_t pos() const { return pos_; }
  size_t remaining() const { return data_.size() - pos_; }

  [[noreturn]] void Fail(const std::string& message, size_t at) const {
    throw FormFileError(std::string(file_), "offset " + std::to_string(base_ + at), message);
  }
  [[noreturn]] void Fail(const std::string& message) const { Fail(message, pos_); }

  void Need(size_t n, const char* what) const {
    if (n > remaining())
      Fail(std::string("unexpected end of data in ") + what + " (needs " + std::to_string(n) +
           " bytes, " + std::to_string(remaining()) + " left)");
  }

  std::uint8_t U8(const char* what) {
    Need(1, what);
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint8_t Peek(const char* what) const {
    Need(1, what);
    return static_cast<std::uint8_t>(data_[pos_]);
  }
  std::uint64_t UInt(size_t n, const char* what) {
    Need(n, what);
    std::uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= std::uint64_t(static_cast<std::uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += n;
    return v;
  }
  std::string_view Bytes(size_t n, const char* what) {
    Need(n, what);
    std::string_view r = data_.substr(pos_, n);
    pos_ += n;
    return r;
  }
  std::string ShortString(const char* what) {
    size_t n = U8(what);
    return std::string(Bytes(n, what));
  }
  // Names must be ones the text notation can hold: anything else is damage.
  std::string Name(const char* what, bool allowEmpty = false) {
    size_t at = pos_;
    std::string s = ShortString(what);
    if (!(allowEmpty && s.empty()) && !detail::IsName(s)) Fail(std::string("invalid ") + what, at);
    return s;
  }
  std::string PropertyName() {
    size_t at = pos_;
    std::string s = Name("property name");
    if (detail::IsReservedWord(s)) Fail("reserved word '" + s + "' as a property name", at);
    return s;
  }

  // An integer value (type byte + data) where only Int8/16/32 are allowed.
  std::int64_t SmallInteger(ValueType* type, const char* what) {
    size_t at = pos_;
    auto t = static_cast<ValueType>(U8(what));
    if (type) *type = t;
    switch (t) {
      case ValueType::Int8: return static_cast<std::int8_t>(UInt(1, what));
      case ValueType::Int16: return static_cast<std::int16_t>(UInt(2, what));
      case ValueType::Int32: return static_cast<std::int32_t>(UInt(4, what));
      default: Fail(std::string("expected an integer for ") + what + ", found value type " +
                        std::to_string(static_cast<int>(t)), at);
    }
  }

  Object ReadObject(int depth, ObjectSpan* span = nullptr) {
    if (depth > kMaxDepth) Fail("objects nested too deeply");
    Object obj;
    if (span) span->begin = base_ + pos_;
    std::uint8_t b = Peek("object header");
    if ((b & 0xF0) == 0xF0) {
      ++pos_;
      obj.flags = b & 0x0F;
      if (obj.flags & ffChildPos) obj.position = SmallInteger(&obj.positionType, "child position");
    }
    obj.className = Name("class name");
    obj.name = Name("object name", true);
    if (span) span->headerEnd = base_ + pos_;
    while (Peek("property list") != 0) {
      const size_t first = base_ + pos_;
      Property p;
      p.name = PropertyName();
      ReadValue(p.value, depth + 1);
      obj.properties.push_back(std::move(p));
      if (span) span->properties.emplace_back(first, base_ + pos_);
    }
    if (span) span->propertiesEnd = base_ + pos_;
    ++pos_;
    while (Peek("child list") != 0) {
      ObjectSpan* childSpan = span ? &span->children.emplace_back() : nullptr;
      obj.children.push_back(ReadObject(depth + 1, childSpan));
    }
    ++pos_;
    if (span) span->end = base_ + pos_;
    return obj;
  }

  void ReadValue(Value& v, int depth) {
    if (depth > kMaxDepth) Fail("values nested too deeply");
    size_t at = pos_;
    std::uint8_t t = U8("value type");
    v.type = static_cast<ValueType>(t);
    switch (v.type) {
      case ValueType::List:
        while (Peek("list") != 0) {
          v.list.emplace_back();
          ReadValue(v.list.back(), depth + 1);
        }
        ++pos_;
        break;
      case ValueType::Int8: v.integer = static_cast<std::int8_t>(UInt(1, "integer")); break;
      case ValueType::Int16: v.integer = static_cast<std::int16_t>(UInt(2, "integer")); break;
      case ValueType::Int32: v.integer = static_cast<std::int32_t>(UInt(4, "integer")); break;
      case ValueType::Int64: v.integer = static_cast<std::int64_t>(UInt(8, "integer")); break;
      case ValueType::Extended: std::memcpy(v.floatBytes.data(), Bytes(10, "float").data(), 10); break;
      case ValueType::Single: std::memcpy(v.floatBytes.data(), Bytes(4, "float").data(), 4); break;
      case ValueType::Double:
      case ValueType::Date: std::memcpy(v.floatBytes.data(), Bytes(8, "float").data(), 8); break;
      case ValueType::Currency: v.integer = static_cast<std::int64_t>(UInt(8, "currency")); break;
      case ValueType::String: v.bytes = ShortString("string"); break;
      case ValueType::Ident:
        // Some components store an empty identifier; the binary format carries it, the text
        // notation does not (WriteText says so).
        v.bytes = ShortString("identifier");
        if (!v.bytes.empty() && !detail::IsName(v.bytes, true)) Fail("invalid identifier", at + 1);
        break;
      case ValueType::LString:
      case ValueType::UTF8String:
      case ValueType::Binary: {
        size_t n = UInt(4, "length");
        v.bytes = std::string(Bytes(n, "string data"));
        break;
      }
      case ValueType::WString: {
        size_t n = UInt(4, "length");
        if (n > remaining() / 2) Need(n * 2, "wide string");
        std::string_view raw = Bytes(n * 2, "wide string");
        v.wide.resize(n);
        for (size_t i = 0; i < n; ++i)
          v.wide[i] = static_cast<char16_t>(static_cast<std::uint8_t>(raw[2 * i]) |
                                            (static_cast<std::uint8_t>(raw[2 * i + 1]) << 8));
        break;
      }
      case ValueType::False:
      case ValueType::True:
      case ValueType::Nil:
      case ValueType::Null:  // a Null variant; in lists the same byte ends the list instead
        break;
      case ValueType::Set:
        for (;;) {
          size_t elementAt = pos_;
          std::string name = ShortString("set");
          if (name.empty()) break;
          if (!detail::IsSetElement(name)) Fail("invalid set element", elementAt);
          v.set.push_back(std::move(name));
        }
        break;
      case ValueType::Collection:
        while (Peek("collection") != 0) {
          CollectionItem item;
          std::uint8_t b = Peek("collection item");
          if (b == static_cast<std::uint8_t>(ValueType::Int8) || b == static_cast<std::uint8_t>(ValueType::Int16) ||
              b == static_cast<std::uint8_t>(ValueType::Int32)) {
            item.hasIndex = true;
            item.index = SmallInteger(nullptr, "item index");
          }
          if (U8("collection item") != static_cast<std::uint8_t>(ValueType::List))
            Fail("collection item does not start with a list marker", pos_ - 1);
          while (Peek("item properties") != 0) {
            Property p;
            p.name = PropertyName();
            ReadValue(p.value, depth + 1);
            item.properties.push_back(std::move(p));
          }
          ++pos_;
          v.items.push_back(std::move(item));
        }
        ++pos_;
        break;
      default:
        Fail("unknown value type " + std::to_string(t), at);
    }
  }

private:
  std::string_view data_;
  std::string_view file_;
  size_t base_;  // offset of data_ inside the file, for messages
  size_t pos_ = 0;
};

class BinaryWriter {
public:
  explicit BinaryWriter(std::string& out) : out_(out) {}

  void U8(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
  void UInt(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void ShortString(std::string_view s) {
    // A short string holds at most 255 bytes; longer names cannot be stored.
    if (s.size() > 255) throw std::length_error("name longer than 255 bytes: " + std::string(s.substr(0, 40)));
    U8(static_cast<std::uint8_t>(s.size()));
    out_.append(s);
  }
  void LongBytes(std::string_view s) {
    if (s.size() > 0xFFFFFFFFu) throw std::length_error("value longer than 4 GiB");
    UInt(s.size(), 4);
    out_.append(s);
  }

  // Writes with the stored type, widened when the value does not fit it.
  void Integer(ValueType type, std::int64_t v) {
    ValueType smallest = Value::Integer(v).type;
    if (static_cast<int>(smallest) > static_cast<int>(type) || !(type == ValueType::Int8 || type == ValueType::Int16 ||
        type == ValueType::Int32 || type == ValueType::Int64))
      type = smallest;
    U8(static_cast<std::uint8_t>(type));
    int n = type == ValueType::Int8 ? 1 : type == ValueType::Int16 ? 2 : type == ValueType::Int32 ? 4 : 8;
    UInt(static_cast<std::uint64_t>(v), n);
  }

  void Object(const formfile::Object& obj) {
    Header(obj);
    Properties(obj.properties);
    for (const auto& child : obj.children) Object(child);
    U8(0);
  }

  // Flags, child position, class and name: all of an object but its properties and children.
  void Header(const formfile::Object& obj) {
    std::uint8_t flags = obj.flags & 0x0F;
    // A class name of 240 bytes or more would start with a length byte that reads as a prefix:
    // such an object gets an empty prefix, which readers take as "no flags".
    if (flags || obj.className.size() >= 0xF0) {
      U8(0xF0 | flags);
      if (flags & ffChildPos) {
        ValueType t = obj.positionType;
        if (t == ValueType::Int64) t = ValueType::Int32;
        if (obj.position < INT32_MIN || obj.position > INT32_MAX)
          throw std::length_error("child position out of range");
        Integer(t, obj.position);
      }
    }
    ShortString(obj.className);
    ShortString(obj.name);
  }

  void Properties(const std::vector<Property>& props) {
    for (const Property& p : props) {
      ShortString(p.name);
      WriteValue(p.value);
    }
    U8(0);
  }

  void WriteValue(const Value& v) {
    switch (v.type) {
      case ValueType::List:
        U8(1);
        for (const Value& e : v.list) {
          if (e.type == ValueType::Null) throw std::invalid_argument("a list cannot hold Null: it would end the list");
          WriteValue(e);
        }
        U8(0);
        break;
      case ValueType::Int8:
      case ValueType::Int16:
      case ValueType::Int32:
      case ValueType::Int64:
        Integer(v.type, v.integer);
        break;
      case ValueType::Extended:
        U8(5);
        out_.append(reinterpret_cast<const char*>(v.floatBytes.data()), 10);
        break;
      case ValueType::Single:
        U8(15);
        out_.append(reinterpret_cast<const char*>(v.floatBytes.data()), 4);
        break;
      case ValueType::Double:
      case ValueType::Date:
        U8(static_cast<std::uint8_t>(v.type));
        out_.append(reinterpret_cast<const char*>(v.floatBytes.data()), 8);
        break;
      case ValueType::Currency:
        U8(16);
        UInt(static_cast<std::uint64_t>(v.integer), 8);
        break;
      case ValueType::String:
      case ValueType::LString:
        if (v.type == ValueType::String && v.bytes.size() <= 255) {
          U8(6);
          ShortString(v.bytes);
        } else {
          U8(12);
          LongBytes(v.bytes);
        }
        break;
      case ValueType::Ident:
        U8(7);
        ShortString(v.bytes);
        break;
      case ValueType::False:
      case ValueType::True:
      case ValueType::Nil:
      case ValueType::Null:
        U8(static_cast<std::uint8_t>(v.type));
        break;
      case ValueType::Binary:
      case ValueType::UTF8String:
        U8(static_cast<std::uint8_t>(v.type));
        LongBytes(v.bytes);
        break;
      case ValueType::WString:
        U8(18);
        if (v.wide.size() > 0x7FFFFFFFu) throw std::length_error("wide string too long");
        UInt(v.wide.size(), 4);
        for (char16_t u : v.wide) UInt(u, 2);
        break;
      case ValueType::Set:
        U8(11);
        for (const auto& s : v.set) {
          if (s.empty()) throw std::invalid_argument("empty set element name");
          ShortString(s);
        }
        U8(0);
        break;
      case ValueType::Collection:
        U8(14);
        for (const auto& item : v.items) {
          if (item.hasIndex) {
            if (item.index < INT32_MIN || item.index > INT32_MAX)
              throw std::length_error("collection item index out of range");
            Integer(ValueType::Int8, item.index);
          }
          U8(1);
          Properties(item.properties);
        }
        U8(0);
        break;
    }
  }

private:
  std::string& out_;
};

size_t EstimateSize(const Object& obj) {
  size_t n = 64 + obj.properties.size() * 24;
  for (const auto& c : obj.children) n += EstimateSize(c);
  return n;
}

}  // namespace

FileFormat DetectFormat(std::string_view data) {
  // A resource header starts 0xFF 0x0A (type RCDATA); 0xFF 0xFE is a UTF-16 byte-order mark.
  if (data.substr(0, 2) == "\xFF\xFE") return FileFormat::Unknown;
  if (!data.empty() && static_cast<unsigned char>(data[0]) == 0xFF) return FileFormat::BinaryWithHeader;
  if (data.substr(0, 4) == "TPF0") return FileFormat::Binary;
  size_t i = 0;
  if (data.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
  auto keyword = [&](std::string_view kw) {
    if (data.size() - i < kw.size()) return false;
    for (size_t k = 0; k < kw.size(); ++k) {
      char c = data[i + k];
      if (c >= 'A' && c <= 'Z') c += 32;
      if (c != kw[k]) return false;
    }
    if (i + kw.size() == data.size()) return true;
    unsigned char next = data[i + kw.size()];
    return next <= ' ';
  };
  if (keyword("object") || keyword("inherited") || keyword("inline")) return FileFormat::Text;
  return FileFormat::Unknown;
}

Object ReadBinary(std::string_view data, std::string_view fileName, BinaryInfo* info, ObjectSpan* layout) {
  BinaryInfo local;
  size_t start = 0;
  size_t end = data.size();
  if (!data.empty() && static_cast<unsigned char>(data[0]) == 0xFF) {
    BinaryReader h(data, fileName, 0);
    h.U8("resource header");
    std::uint64_t type = h.UInt(2, "resource type");
    if (type != 10) h.Fail("resource type " + std::to_string(type) + " is not RCDATA (10)", 1);
    if (h.Peek("resource name") == 0xFF) {
      h.U8("resource name");
      local.resourceName = "#" + std::to_string(h.UInt(2, "resource name"));
    } else {
      size_t nameStart = h.pos();
      while (h.U8("resource name") != 0) {
      }
      local.resourceName = std::string(data.substr(nameStart, h.pos() - 1 - nameStart));
    }
    local.memoryFlags = static_cast<std::uint16_t>(h.UInt(2, "resource flags"));
    size_t sizeAt = h.pos();
    local.sizeAt = sizeAt;
    std::uint64_t size = h.UInt(4, "resource size");
    if (size > h.remaining())
      h.Fail("resource size " + std::to_string(size) + " exceeds the " + std::to_string(h.remaining()) +
                 " bytes that follow",
             sizeAt);
    if (size < h.remaining())
      h.Fail(std::to_string(h.remaining() - size) + " bytes follow the end of the resource", h.pos() + size);
    local.resourceHeader = true;
    start = h.pos();
    end = start + size;
  }
  BinaryReader r(data.substr(start, end - start), fileName, start);
  if (r.remaining() < 4 || data.substr(start, 4) != "TPF0") r.Fail("missing form signature 'TPF0'");
  r.Bytes(4, "signature");
  local.dataStart = start;
  ObjectSpan span;
  Object root = r.ReadObject(0, layout ? &span : nullptr);
  if (r.remaining() != 0)
    r.Fail("object tree ends " + std::to_string(r.remaining()) + " bytes before the end of the " +
           (local.resourceHeader ? "resource" : "data") + " (damaged file)");
  if (info) *info = std::move(local);
  if (layout) *layout = std::move(span);
  return root;
}

void AppendBinaryObject(std::string& out, const Object& object) { BinaryWriter(out).Object(object); }

void AppendBinaryProperty(std::string& out, const Property& property) {
  BinaryWriter w(out);
  w.ShortString(property.name);
  w.WriteValue(property.value);
}

namespace {

// The resource header up to its size field; returns where the size goes.
size_t WriteResourceHeader(BinaryWriter& w, std::string& out, const BinaryInfo& header) {
  w.U8(0xFF);
  w.UInt(10, 2);
  if (header.resourceName.size() > 1 && header.resourceName[0] == '#') {
    w.U8(0xFF);
    w.UInt(std::stoul(header.resourceName.substr(1)) & 0xFFFF, 2);
  } else {
    for (char c : header.resourceName) if (c) out.push_back(c);
    w.U8(0);
  }
  w.UInt(header.memoryFlags, 2);
  const size_t sizeAt = out.size();
  w.UInt(0, 4);
  return sizeAt;
}

void FillResourceSize(std::string& out, size_t sizeAt, size_t dataStart) {
  const std::uint64_t size = out.size() - dataStart;
  for (int i = 0; i < 4; ++i) out[sizeAt + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
}

// The header WriteBinary(root, resourceHeader) writes: the class name in capitals names it.
BinaryInfo HeaderFor(const Object& root, bool resourceHeader) {
  // A leading 0xFF would make the name read as a resource number.
  if (resourceHeader && !root.className.empty() && static_cast<unsigned char>(root.className[0]) == 0xFF)
    throw std::invalid_argument("a class name starting with byte 0xFF cannot name a resource");
  BinaryInfo header;
  header.resourceHeader = resourceHeader;
  header.resourceName = root.className;
  for (char& c : header.resourceName)
    if (c >= 'a' && c <= 'z') c -= 32;
  return header;
}

}  // namespace

struct BinaryStreamWriter::Impl {
  std::string out;
  BinaryWriter w{out};
  bool resourceHeader = false;
  size_t sizeAt = 0, dataStart = 0;
  int depth = 0;
};

BinaryStreamWriter::BinaryStreamWriter(bool resourceHeader, size_t expectedSize) : impl_(std::make_unique<Impl>()) {
  impl_->resourceHeader = resourceHeader;
  impl_->out.reserve(expectedSize);
}

BinaryStreamWriter::~BinaryStreamWriter() = default;

void BinaryStreamWriter::BeginObject(const Object& header) {
  Impl& i = *impl_;
  if (i.depth++ == 0) {
    if (i.resourceHeader) i.sizeAt = WriteResourceHeader(i.w, i.out, HeaderFor(header, true));
    i.dataStart = i.out.size();
    i.out += "TPF0";
  }
  i.w.Header(header);
}

void BinaryStreamWriter::WriteProperty(const Property& property) {
  impl_->w.ShortString(property.name);
  impl_->w.WriteValue(property.value);
}

void BinaryStreamWriter::EndProperties() { impl_->w.U8(0); }

void BinaryStreamWriter::EndObject() {
  impl_->w.U8(0);
  --impl_->depth;
}

std::string BinaryStreamWriter::Finish() {
  Impl& i = *impl_;
  if (i.resourceHeader) FillResourceSize(i.out, i.sizeAt, i.dataStart);
  return std::move(i.out);
}

std::string WriteBinary(const Object& root, const BinaryInfo& header) {
  std::string out;
  out.reserve(EstimateSize(root));
  BinaryWriter w(out);
  const size_t sizeAt = header.resourceHeader ? WriteResourceHeader(w, out, header) : 0;
  const size_t dataStart = out.size();
  out += "TPF0";
  w.Object(root);
  if (header.resourceHeader) FillResourceSize(out, sizeAt, dataStart);
  return out;
}

std::string WriteBinary(const Object& root, bool resourceHeader) {
  return WriteBinary(root, HeaderFor(root, resourceHeader));
}

Object ReadForm(std::string_view data, std::string_view fileName, FileFormat* format) {
  FileFormat f = DetectFormat(data);
  if (format) *format = f;
  switch (f) {
    case FileFormat::Binary:
    case FileFormat::BinaryWithHeader:
      return ReadBinary(data, fileName);
    case FileFormat::Text:
      return ReadText(data, fileName);
    default:
      throw FormFileError(std::string(fileName), "offset 0", NotAFormFile(data));
  }
}

std::string NotAFormFile(std::string_view head) {
  if (DetectFormat(head) != FileFormat::Unknown) return {};
  if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF")
    return "not a form file: a UTF-16 text (form files are binary, or text in 8 bits or UTF-8)";
  // A compiled resource file starts with an empty 32-byte entry.
  if (head.size() >= 8 && head.substr(0, 8) == std::string_view("\0\0\0\0\x20\0\0\0", 8))
    return "not a form file: a compiled resource file (.res)";
  size_t i = head.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  while (i < head.size() && static_cast<unsigned char>(head[i]) <= ' ') ++i;
  std::string word;
  for (; i < head.size() && word.size() < 16 && (std::isalpha(static_cast<unsigned char>(head[i])) || head[i] == '#'); ++i)
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(head[i])));
  for (const char* keyword : {"STRINGTABLE", "#INCLUDE", "#DEFINE", "LANGUAGE", "#PRAGMA"})
    if (word == keyword) return "not a form file: a resource script";
  return "not a form file (neither binary nor text)";
}

std::string ReadFormFile(const std::string& path) {
  return platform::ReadFile(path, [&path](std::string_view head, std::uint64_t) {
    const std::string what = NotAFormFile(head);
    if (!what.empty()) throw FormFileError(path, "offset 0", what);
  });
}

}  // namespace vorlect::formfile
