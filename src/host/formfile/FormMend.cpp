#include "host/formfile/FormMend.h"

#include "host/formfile/Names.h"

#include <stdexcept>

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

// The next property of `before` from `cursor` on with the name of `p` (ASCII case ignored), or
// before.size(); objects match by name and class.
size_t NextMatch(const std::vector<Property>& before, size_t cursor, const Property& p) {
  while (cursor < before.size() && !detail::EqualNoCase(before[cursor].name, p.name)) ++cursor;
  return cursor;
}
size_t NextMatch(const std::vector<formfile::Object>& before, size_t cursor, const formfile::Object& o) {
  while (cursor < before.size() && !(before[cursor].name == o.name && before[cursor].className == o.className))
    ++cursor;
  return cursor;
}

// Walks the parts of `after` in order, each with the next part of `before` that matches it:
// `matched(k, part)` keeps part k of `before` (false: write the part anew after all), `fresh(part)`
// writes one that has no match. Parts of `before` passed over are dropped.
template <class Part, class Matched, class Fresh>
void Walk(const std::vector<Part>& before, const std::vector<Part>& after, Matched matched, Fresh fresh) {
  size_t cursor = 0;
  for (const Part& part : after) {
    const size_t k = NextMatch(before, cursor, part);
    if (k < before.size()) {
      cursor = k + 1;
      if (matched(k, part)) continue;
    }
    fresh(part);
  }
}

bool SameHeader(const formfile::Object& a, const formfile::Object& b) {
  return a.flags == b.flags && a.position == b.position && a.className == b.className && a.name == b.name;
}

// When a part of the edited tree counts as the one it was read from, so that it keeps its bytes.
// Strictly: equal values of equal types. By text: written alike in the text notation (Unicode
// style, so no code page loses a difference), for a tree rebuilt from live components, whose
// writer cannot know that a string was stored as UTF-8 or a number as a double.
class Alike {
public:
  Alike() = default;
  explicit Alike(int codePage) : byText_(true) {
    text_.style = StringStyle::Unicode;
    text_.codePage = codePage;
    text_.placeholders = true;
  }
  bool operator()(const Property& a, const Property& b) const {
    return a.name == b.name && (byText_ ? Text(a) == Text(b) : SameValue(a.value, b.value));
  }
  bool operator()(const formfile::Object& a, const formfile::Object& b) const {
    return byText_ ? Text(a) == Text(b) : SameObject(a, b);
  }

private:
  std::string Text(const Property& p) const {
    std::string out;
    AppendTextProperty(out, p, 0, text_);
    return out;
  }
  std::string Text(const formfile::Object& o) const {
    std::string out;
    AppendTextObject(out, o, 0, text_);
    return out;
  }
  bool byText_ = false;
  TextOptions text_;
};

class Mender {
public:
  Mender(std::string_view original, std::string_view fileName, std::string& out, Alike alike = {})
      : original_(original), file_(fileName), out_(out), alike_(alike) {}

  void Object(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    if (alike_(before, after)) {
      Copy(span.begin, span.end);
      return;
    }
    if (SameHeader(before, after)) {
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
  // same name and value.
  void Properties(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    Walk(
        before.properties, after.properties,
        [&](size_t k, const Property& p) {
          if (!alike_(before.properties[k], p)) return false;
          Copy(span.properties[k].first, span.properties[k].second);
          return true;
        },
        [&](const Property& p) { Fresh(p); });
  }

  void Children(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after) {
    Walk(
        before.children, after.children,
        [&](size_t k, const formfile::Object& child) {
          Object(before.children[k], span.children[k], child);
          return true;
        },
        [&](const formfile::Object& child) { Fresh(child); });
  }

  std::string_view original_;
  std::string_view file_;
  std::string& out_;
  Alike alike_;
};

// The text notation's counterpart: every object, property and 'end' that the edit left alone keeps
// its lines, with the blank lines before it; only what changed is written anew, at its object's
// indentation. A file whose parts do not each stand on lines of their own (hand-written forms
// may put several on one line) cannot be mended line by line: NotLineShaped.
struct NotLineShaped {};

class TextMender {
public:
  TextMender(std::string_view original, const TextOptions& options, std::string& out)
      : original_(original), options_(options), out_(out), alike_(options.codePage) {}

  // `lead`: where the lines of this object (with the blank lines before it) begin.
  void Object(const formfile::Object& before, const ObjectSpan& span, const formfile::Object& after, size_t lead,
              int level, bool root = false) {
    const size_t last = root ? original_.size() : LineEnd(span.end);
    if (alike_(before, after)) {
      Copy(lead, last);
      return;
    }
    const size_t headerEnd = LineEnd(span.headerEnd);
    if (SameHeader(before, after)) {
      Copy(lead, headerEnd);
    } else {
      Copy(lead, LineStart(span.begin));
      AppendTextHeader(out_, after, level, options_);
    }
    Walk(
        before.properties, after.properties,
        [&](size_t k, const Property& p) {
          if (!alike_(before.properties[k], p)) return false;
          Copy(k == 0 ? headerEnd : LineEnd(span.properties[k - 1].second), LineEnd(span.properties[k].second));
          return true;
        },
        [&](const Property& p) { AppendTextProperty(out_, p, level + 1, options_); });
    const size_t childrenLead =
        before.properties.empty() ? headerEnd : LineEnd(span.properties.back().second);
    Walk(
        before.children, after.children,
        [&](size_t k, const formfile::Object& child) {
          Object(before.children[k], span.children[k], child,
                 k == 0 ? childrenLead : LineEnd(span.children[k - 1].end), level + 1);
          return true;
        },
        [&](const formfile::Object& child) { AppendTextObject(out_, child, level + 1, options_); });
    Copy(before.children.empty() ? childrenLead : LineEnd(span.children.back().end), last);
  }

private:
  void Copy(size_t from, size_t to) { out_.append(original_.substr(from, to - from)); }

  // Just past the line end that follows `at` after blanks (or the file's end); a part after it on
  // the same line makes the file not line-shaped.
  size_t LineEnd(size_t at) const {
    while (at < original_.size() && (original_[at] == ' ' || original_[at] == '\t')) ++at;
    if (at == original_.size()) return at;
    if (original_[at] == '\n') return at + 1;
    if (original_[at] == '\r') return at + 1 < original_.size() && original_[at + 1] == '\n' ? at + 2 : at + 1;
    throw NotLineShaped{};
  }
  // Where the line of the part at `at` begins; only blanks may stand before it.
  size_t LineStart(size_t at) const {
    while (at > 0 && (original_[at - 1] == ' ' || original_[at - 1] == '\t')) --at;
    if (at > 0 && original_[at - 1] != '\n' && original_[at - 1] != '\r' && original_.substr(0, at) != "\xEF\xBB\xBF")
      throw NotLineShaped{};
    return at;
  }

  std::string_view original_;
  const TextOptions& options_;
  std::string& out_;
  Alike alike_;
};

std::string Mend(std::string_view original, const BinaryInfo& info, const ObjectSpan& layout,
                 const formfile::Object& before, const formfile::Object& after, std::string_view fileName,
                 Alike alike) {
  std::string out;
  out.reserve(original.size() + 1024);
  out.append(original.substr(0, info.dataStart + 4));  // header and signature
  Mender(original, fileName, out, alike).Object(before, layout, after);
  if (info.resourceHeader) {
    const std::uint64_t size = out.size() - info.dataStart;
    if (size > 0xFFFFFFFFu) throw std::length_error("form larger than 4 GiB");
    for (int i = 0; i < 4; ++i) out[info.sizeAt + static_cast<size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  }
  return out;
}

// The file's step of indentation: how far the root's first part stands in from the root.
int IndentWidth(std::string_view text, const ObjectSpan& root, int otherwise) {
  size_t first = std::string_view::npos;
  if (!root.properties.empty()) first = root.properties.front().first;
  else if (!root.children.empty()) first = root.children.front().begin;
  if (first == std::string_view::npos) return otherwise;
  size_t column = 0;
  while (column < first && text[first - column - 1] == ' ') ++column;
  const bool ownLine = column < first && (text[first - column - 1] == '\n' || text[first - column - 1] == '\r');
  return ownLine && column > 0 && column <= 16 ? static_cast<int>(column) : otherwise;
}

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
  return Mend(original, info, layout, before, after, fileName, Alike());
}

std::string MendForm(std::string_view original, const Object& after, std::string_view fileName,
                     TextOptions options) {
  switch (DetectFormat(original)) {
    case FileFormat::Binary:
    case FileFormat::BinaryWithHeader: {
      BinaryInfo info;
      ObjectSpan layout;
      const Object before = ReadBinary(original, fileName, &info, &layout);
      return Mend(original, info, layout, before, after, fileName, Alike(options.codePage));
    }
    case FileFormat::Text: {
      TextInfo info;
      ObjectSpan layout;
      const Object before = ReadText(original, fileName, &info, &layout);
      options.lineEnd = info.lineEnd;
      options.byteOrderMark = info.byteOrderMark;
      options.indentWidth = IndentWidth(original, layout, options.indentWidth);
      std::string out;
      out.reserve(original.size() + 1024);
      try {
        TextMender(original, options, out).Object(before, layout, after, 0, 0, true);
      } catch (const NotLineShaped&) {
        out = WriteText(after, options);
      }
      return out;
    }
    default:
      throw FormFileError(std::string(fileName), "start", "neither a binary nor a text form file");
  }
}

}  // namespace vorlect::formfile
