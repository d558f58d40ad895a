// The IDE's text notation of form files: writer (the IDE's own layout) and parser.
#include "host/formfile/FormFile.h"

#include "host/formfile/Names.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <cstring>

namespace vorlect::formfile {

namespace {

constexpr int kMaxDepth = 1000;
constexpr size_t kLineLength = 64;  // the IDE splits strings after this many characters

// ---------------------------------------------------------------------------------------------
// Floats

struct Digits {
  bool negative = false;
  char d[40];  // significant digits, no point
  int count = 0;
  int exp = 0;  // decimal exponent of d[0]
};

// `v` rounded to `sig` significant digits (finite, non-zero).
Digits Round(long double v, int sig) {
  Digits r;
  char buf[80];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
  const char* p = buf;
  const char* e = res.ptr;
  if (*p == '-') {
    r.negative = true;
    ++p;
  }
  while (p < e && *p != 'e') {
    if (*p != '.') r.d[r.count++] = *p;
    ++p;
  }
  if (p < e) std::from_chars(p + 1 + (p[1] == '+'), e, r.exp);
  return r;
}

void AppendExponentForm(std::string& out, const Digits& g) {
  if (g.negative) out += '-';
  out += g.d[0];
  out += '.';
  out.append(g.d + 1, g.count - 1);
  out += 'E';
  out += g.exp < 0 ? '-' : '+';
  char buf[16];
  int a = g.exp < 0 ? -g.exp : g.exp;
  auto res = std::to_chars(buf, buf + sizeof buf, a);
  for (long n = res.ptr - buf; n < 3; ++n) out += '0';
  out.append(buf, res.ptr);
}

void AppendFixedForm(std::string& out, const Digits& g, int decimals) {
  if (g.negative) out += '-';
  if (g.exp < 0) out += '0';
  for (int i = 0; i <= g.exp; ++i) out += i < g.count ? g.d[i] : '0';
  out += '.';
  for (int k = 1; k <= decimals; ++k) {
    int idx = g.exp + k;
    out += (idx >= 0 && idx < g.count) ? g.d[idx] : '0';
  }
}

// strtold in the "C" locale: from_chars refuses denormals (ERANGE), which must read back too.
bool ParseLongDouble(std::string_view s, long double& v) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  char small[128];
  std::string large;
  const char* text;
  if (s.size() < sizeof small) {
    std::memcpy(small, s.data(), s.size());
    small[s.size()] = 0;
    text = small;
  } else {
    large.assign(s);
    text = large.c_str();
  }
  char* end = nullptr;
  v = strtold_l(text, &end, cLocale);
  return end == text + s.size() && !s.empty();
}

bool SameExtended(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// Infinities and NaN as 1.#INF / -1.#NAN: no finite number reads like that, and unlike a
// leading '+' it cannot be taken for a string continuation inside a list. NaN payloads are not kept.
void AppendNonFinite(std::string& out, long double v) {
  if (std::signbit(v)) out += '-';
  out += std::isnan(v) ? "1.#NAN" : "1.#INF";
}

// The IDE writes FloatToStrF(v, ffFixed, 16, 18). When that text does not read back to the same
// 10 bytes we add significant digits (up to 21, enough for any 64-bit mantissa) instead.
void AppendExtended(std::string& out, long double v) {
  if (!std::isfinite(v)) {
    AppendNonFinite(out, v);
    return;
  }
  size_t start = out.size();
  if (v == 0) {
    if (std::signbit(v)) out += '-';
    out += "0.000000000000000000";
    return;
  }
  {
    Digits g = Round(v, 16);
    if (g.exp >= 16) {
      AppendExponentForm(out, g);
    } else {
      int sig = std::min(16, 18 + g.exp + 1);
      if (sig >= 1) {
        if (sig < 16) g = Round(v, sig);
        AppendFixedForm(out, g, 18);
      } else {
        out += g.negative ? "-0.000000000000000000" : "0.000000000000000000";
      }
    }
    long double back;
    if (ParseLongDouble(std::string_view(out).substr(start), back) && SameExtended(back, v)) return;
  }
  for (int sig = 17; sig <= 21; ++sig) {
    out.resize(start);
    Digits g = Round(v, sig);
    if (g.exp >= 16 || g.exp < -20) AppendExponentForm(out, g);
    else AppendFixedForm(out, g, std::max(18, sig - 1 - g.exp));
    long double back;
    if (ParseLongDouble(std::string_view(out).substr(start), back) && SameExtended(back, v)) return;
  }
  // Only invalid x87 encodings (unnormals) get here; their value is the best we can write.
}

template <class F>
void AppendShortest(std::string& out, F v) {
  if (!std::isfinite(v)) {
    AppendNonFinite(out, v);
    return;
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  for (char* p = buf; p < res.ptr; ++p)
    if (*p == 'e') *p = 'E';
  out.append(buf, res.ptr);
}

// The IDE writes a currency as its raw count of 1/10000 units (the value times 10000) and divides
// by 10000 when it reads the text back.
void AppendCurrency(std::string& out, std::int64_t count) {
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, count);
  out.append(buf, res.ptr);
}

// ---------------------------------------------------------------------------------------------
// Writer

class TextWriter {
public:
  TextWriter(std::string& out, const TextOptions& options, int level = 0)
      : out_(out), options_(options), eol_(options.lineEnd == LineEnd::CRLF ? "\r\n" : "\n"), level_(level) {}

  void WriteObject(const Object& obj) {
    WriteHeader(obj);
    path_.push_back(obj.name.empty() ? std::string_view(obj.className) : std::string_view(obj.name));
    ++level_;
    for (const auto& p : obj.properties) WriteProperty(p);
    for (const auto& c : obj.children) WriteObject(c);
    --level_;
    Indent();
    out_ += "end";
    out_ += eol_;
    path_.pop_back();
  }

  void WriteHeader(const Object& obj) {
    Indent();
    if (obj.flags & ffInherited) out_ += "inherited ";
    else if (obj.flags & ffInline) out_ += "inline ";
    else out_ += "object ";
    if (!obj.name.empty()) {
      out_ += obj.name;
      out_ += ": ";
    }
    out_ += obj.className;
    if (obj.flags & ffChildPos) {
      out_ += " [";
      AppendInt(obj.position);
      out_ += ']';
    }
    out_ += eol_;
  }

  void WriteProperty(const Property& p) {
    path_.push_back(p.name);
    Indent();
    out_ += p.name;
    out_ += " = ";
    WriteValue(p.value);
    out_ += eol_;
    path_.pop_back();
  }

private:
  // Where the writer is, for the message about a value it cannot write: "Form1.Label1.Format".
  std::string PathText() const {
    std::string s;
    for (std::string_view part : path_) {
      if (!s.empty()) s += '.';
      s += part;
    }
    return s;
  }

  void Indent() { out_.append(static_cast<size_t>(level_) * static_cast<size_t>(std::clamp(options_.indentWidth, 0, 16)), ' '); }
  void NewLine() {
    out_ += eol_;
    Indent();
  }
  void AppendInt(std::int64_t v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, res.ptr);
  }

  void WriteValue(const Value& v) {
    switch (v.type) {
      case ValueType::List:
        out_ += '(';
        ++level_;
        for (const auto& e : v.list) {
          NewLine();
          WriteValue(e);
        }
        --level_;
        out_ += ')';
        break;
      case ValueType::Int8:
      case ValueType::Int16:
      case ValueType::Int32:
      case ValueType::Int64:
        AppendInt(v.integer);
        break;
      case ValueType::Extended:
      case ValueType::Double:  // no notation of its own: reads back as Extended
        AppendExtended(out_, v.toLongDouble());
        break;
      case ValueType::Single: {
        float f;
        std::memcpy(&f, v.floatBytes.data(), 4);
        AppendShortest(out_, f);
        out_ += 's';
        break;
      }
      case ValueType::Date: {
        double d;
        std::memcpy(&d, v.floatBytes.data(), 8);
        AppendShortest(out_, d);
        out_ += 'd';
        break;
      }
      case ValueType::Currency:
        AppendCurrency(out_, v.integer);
        out_ += 'c';
        break;
      case ValueType::Ident:
        if (v.bytes.empty()) {
          if (!options_.placeholders)
            throw FormFileError({}, "property " + PathText(),
                                "an empty identifier value has no text notation (the form can only stay binary)");
          out_ += kNoNotationPlaceholder;
          break;
        }
        out_ += v.bytes;
        break;
      case ValueType::False: out_ += "False"; break;
      case ValueType::True: out_ += "True"; break;
      case ValueType::Nil: out_ += "nil"; break;
      case ValueType::Null: out_ += "Null"; break;
      case ValueType::Binary: WriteBinaryData(v.bytes); break;
      case ValueType::Set:
        out_ += '[';
        for (size_t i = 0; i < v.set.size(); ++i) {
          if (i) out_ += ", ";
          out_ += v.set[i];
        }
        out_ += ']';
        break;
      case ValueType::Collection:
        out_ += '<';
        ++level_;
        for (const auto& item : v.items) {
          NewLine();
          out_ += "item";
          if (item.hasIndex) {
            out_ += " [";
            AppendInt(item.index);
            out_ += ']';
          }
          out_ += eol_;
          ++level_;
          for (const auto& p : item.properties) WriteProperty(p);
          --level_;
          Indent();
          out_ += "end";
        }
        --level_;
        out_ += '>';
        break;
      case ValueType::String:
      case ValueType::LString:
        if (options_.style == StringStyle::Ansi8Bit && !options_.byteOrderMark) {
          const auto* b = reinterpret_cast<const unsigned char*>(v.bytes.data());
          WriteUnits(b, v.bytes.size(), false, [](unsigned char c) { return c >= 32 && c != '\''; },
                     DbcsCutter{b, v.bytes.size(), options_.codePage});
        } else {
          // A UTF-8 text (byte-order mark) cannot hold raw 8-bit bytes: code them like the
          // Unicode IDE does.
          std::u16string units = platform::DecodeCodePage(v.bytes, options_.codePage);
          WriteUnits(units.data(), units.size(), false, WidePrintable);
        }
        break;
      case ValueType::WString:
        WriteUnicode(v.wide);
        break;
      case ValueType::UTF8String:
        WriteUnicode(v.unicodeText());
        break;
    }
  }

  static bool WidePrintable(char16_t c) { return c >= 32 && c <= 127 && c != '\''; }

  // A Unicode string that would read back as an 8-bit one (every character below 128, or
  // empty) gets a marker the IDE's parser still reads as the same text: its first character as
  // a #code (#72'ello'), or, when that character is written as a code anyway, an empty piece in
  // front ('' + #13#10'x', '' + '' for the empty string). The IDE never writes either form for
  // an 8-bit string, so the reader can tell them apart.
  void WriteUnicode(std::u16string_view units) {
    bool ascii = true;
    for (char16_t u : units)
      if (u >= 128) {
        ascii = false;
        break;
      }
    if (!ascii) {
      WriteUnits(units.data(), units.size(), false, WidePrintable);
      return;
    }
    if (!units.empty() && units[0] >= 32 && units[0] <= 126 && units[0] != '\'') {
      WriteUnits(units.data(), units.size(), true, WidePrintable);
      return;
    }
    out_ += "'' +";
    if (units.size() <= kLineLength) out_ += ' ';
    if (units.empty()) out_ += "''";
    else WriteUnits(units.data(), units.size(), false, WidePrintable);
  }

  // The 8-bit IDE on a double-byte code page never splits a character between lines: a line
  // that would end on a lead byte ends one byte earlier.
  struct DbcsCutter {
    const unsigned char* s = nullptr;
    size_t len = 0;
    int codePage = 0;
    size_t scan = 0;  // next character boundary at or before the last position asked for

    bool IsLead(unsigned char c) const {
      if (codePage == 932) return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
      return (codePage == 936 || codePage == 949 || codePage == 950) && c >= 0x81 && c <= 0xFE;
    }
    bool IsTrail(size_t i) {
      if (codePage != 932 && codePage != 936 && codePage != 949 && codePage != 950) return false;
      while (scan < i) scan += (IsLead(s[scan]) && scan + 1 < len) ? 2 : 1;
      return scan > i;
    }
  };
  struct NoCutter {
    bool IsTrail(size_t) { return false; }
  };

  template <class Unit, class Printable, class Cutter = NoCutter>
  void WriteUnits(const Unit* c, size_t len, bool codeFirst, Printable printable, Cutter cutter = {}) {
    if (len == 0) {
      out_ += "''";
      return;
    }
    ++level_;
    if (len > kLineLength) NewLine();
    size_t k = 0, i = 0;
    do {
      bool lineBreak = false;
      if (printable(c[i]) && !(codeFirst && i == 0)) {
        size_t j = i;
        do ++i;
        while (i < len && printable(c[i]) && i - k < kLineLength);
        if (i - k >= kLineLength) {
          lineBreak = true;
          if (i < len && i > j + 1 && cutter.IsTrail(i)) --i;
        }
        out_ += '\'';
        for (; j < i; ++j) out_ += static_cast<char>(c[j]);
        out_ += '\'';
      } else {
        out_ += '#';
        AppendInt(static_cast<std::int64_t>(c[i]));
        ++i;
        if (i - k >= kLineLength) lineBreak = true;
      }
      if (lineBreak && i < len) {
        out_ += " +";
        NewLine();
        k = i;
      }
    } while (i < len);
    --level_;
  }

  void WriteBinaryData(std::string_view data) {
    static const char kHex[] = "0123456789ABCDEF";
    out_ += '{';
    ++level_;
    bool multiLine = data.size() >= kLineLength / 2;
    for (size_t i = 0; i < data.size(); i += kLineLength / 2) {
      if (multiLine) NewLine();
      const size_t end = std::min(data.size(), i + kLineLength / 2);
      const size_t at = out_.size();
      out_.resize(at + 2 * (end - i));
      char* hex = out_.data() + at;
      for (size_t j = i; j < end; ++j) {
        const unsigned char b = data[j];
        *hex++ = kHex[b >> 4];
        *hex++ = kHex[b & 15];
      }
    }
    --level_;
    out_ += '}';
  }

  std::string& out_;
  const TextOptions& options_;
  std::string_view eol_;
  int level_ = 0;
  std::vector<std::string_view> path_;
};

size_t EstimateTextSize(const Object& obj) {
  size_t n = 80 + obj.properties.size() * 40;
  for (const auto& c : obj.children) n += EstimateTextSize(c);
  return n;
}

// ---------------------------------------------------------------------------------------------
// Parser

using detail::EqualNoCase;
using detail::IsIdentChar;
using detail::IsIdentStart;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[c] = c >= '0' && c <= '9' ? c - '0' : (c | 32) >= 'a' && (c | 32) <= 'f' ? (c | 32) - 'a' + 10 : -1;
  return t;
}();

int HexValue(unsigned char c) { return kHexValues[c]; }

void AppendCodePoint(std::u16string& out, std::uint32_t cp) {
  if (cp > 0xFFFF) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

class TextParser {
public:
  TextParser(std::string_view data, std::string_view file) : s_(data), file_(file) {
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") {
      bom_ = true;
      p_ = 3;
    }
  }

  bool bom() const { return bom_; }

  Object ParseRoot(ObjectSpan* layout) {
    SkipBlanks();
    Object root = ParseObject(0, layout);
    ExpectEndOfText();
    return root;
  }

  // The same, handed to `sink` part by part (see StreamObject).
  template <class Sink>
  void StreamRoot(Sink& sink) {
    SkipBlanks();
    StreamObject(0, sink);
    ExpectEndOfText();
  }

private:
  void ExpectEndOfText() {
    SkipBlanks();
    if (p_ < s_.size()) Fail("unexpected " + Describe() + " after the final 'end'");
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw FormFileError(std::string(file_), "line " + std::to_string(line_), message);
  }

  // What stands at the current position, for messages.
  std::string Describe() const {
    if (p_ >= s_.size()) return "end of file";
    unsigned char c = s_[p_];
    if (IsIdentStart(c)) {
      size_t e = p_;
      while (e < s_.size() && e - p_ < 40 && IsIdentChar(s_[e])) ++e;
      return "'" + std::string(s_.substr(p_, e - p_)) + "'";
    }
    if (c < 32 || c == 127) return "character #" + std::to_string(c);
    return "'" + std::string(1, static_cast<char>(c)) + "'";
  }

  void SkipBlanks() {
    // Like the IDE's parser, every control character counts as a blank.
    while (p_ < s_.size()) {
      unsigned char c = s_[p_];
      if (c == '\n') ++line_;
      else if (c == '\r') {
        if (p_ + 1 >= s_.size() || s_[p_ + 1] != '\n') ++line_;
      } else if (c > ' ' || c == 0) break;
      ++p_;
    }
  }

  bool At(char c) {
    SkipBlanks();
    return p_ < s_.size() && s_[p_] == c;
  }

  void Expect(char c, const char* context) {
    if (!At(c)) Fail(std::string("expected '") + c + "' " + context + " but found " + Describe());
    ++p_;
  }

  std::string_view PeekIdent() {
    SkipBlanks();
    if (p_ >= s_.size() || !IsIdentStart(s_[p_])) return {};
    size_t e = p_ + 1;
    while (e < s_.size() && IsIdentChar(s_[e])) ++e;
    return s_.substr(p_, e - p_);
  }

  std::string Ident(const char* what) {
    std::string_view id = PeekIdent();
    if (id.empty()) Fail(std::string("expected ") + what + " but found " + Describe());
    if (id.size() > 255) Fail(std::string(what) + " longer than 255 characters");
    p_ += id.size();
    return std::string(id);
  }

  std::int64_t IntegerToken(const char* what) {
    SkipBlanks();
    size_t start = p_;
    bool negative = false;
    if (p_ < s_.size() && s_[p_] == '-') {
      negative = true;
      ++p_;
    }
    std::uint64_t v = 0;
    if (p_ < s_.size() && s_[p_] == '$') {
      ++p_;
      size_t digits = 0;
      while (p_ < s_.size() && HexValue(s_[p_]) >= 0) {
        if (++digits > 16) Fail(std::string(what) + " out of range");
        v = v << 4 | HexValue(s_[p_++]);
      }
      if (digits == 0) Fail("expected hex digits after '$'");
      std::int64_t r = static_cast<std::int64_t>(v);
      return negative ? static_cast<std::int64_t>(0 - v) : r;
    }
    if (p_ >= s_.size() || !IsDigit(s_[p_])) {
      p_ = start;
      Fail(std::string("expected ") + what + " but found " + Describe());
    }
    std::int64_t r = 0;
    auto res = std::from_chars(s_.data() + start, s_.data() + s_.size(), r);
    if (res.ec != std::errc()) Fail(std::string(what) + " out of range");
    p_ = res.ptr - s_.data();
    return r;
  }

  // With `span`, records where the object's parts lie: its keyword, the end of its header, each
  // property from its name to the end of its value, the keyword 'end' and just past it.
  Object ParseObject(int depth, ObjectSpan* span) {
    Object obj;
    ParseHeader(obj, depth, span);
    while (NextIsProperty()) {
      const size_t first = p_;
      obj.properties.push_back(ParseProperty(depth));
      if (span) span->properties.emplace_back(first, p_);
    }
    while (NextIsChild(span)) obj.children.push_back(ParseObject(depth + 1, span ? &span->children.emplace_back() : nullptr));
    if (span) span->end = p_;
    return obj;
  }

  // The same object handed to `sink` part by part as it is read (see BinaryStreamWriter).
  template <class Sink>
  void StreamObject(int depth, Sink& sink) {
    Object header;
    ParseHeader(header, depth, nullptr);
    sink.BeginObject(header);
    Property property;
    while (NextIsProperty()) {
      property = ParseProperty(depth);
      sink.WriteProperty(property);
    }
    sink.EndProperties();
    while (NextIsChild(nullptr)) StreamObject(depth + 1, sink);
    sink.EndObject();
  }

  // The keyword, the names and the child position of an object.
  void ParseHeader(Object& obj, int depth, ObjectSpan* span) {
    if (depth > kMaxDepth) Fail("objects nested too deeply");
    std::string_view kw = PeekIdent();
    if (span) span->begin = p_;
    if (EqualNoCase(kw, "inherited")) obj.flags = ffInherited;
    else if (EqualNoCase(kw, "inline")) obj.flags = ffInline;
    else if (!EqualNoCase(kw, "object"))
      Fail("expected 'object', 'inherited' or 'inline' but found " + Describe());
    p_ += kw.size();
    std::string first = Ident("a class or object name");
    if (At(':')) {
      ++p_;
      obj.name = std::move(first);
      obj.className = Ident("a class name");
    } else {
      obj.className = std::move(first);
    }
    if (span) span->headerEnd = p_;
    if (At('[')) {
      ++p_;
      obj.position = IntegerToken("a child position");
      if (obj.position < INT32_MIN || obj.position > INT32_MAX) Fail("child position out of range");
      obj.positionType = Value::Integer(obj.position).type;
      obj.flags |= ffChildPos;
      Expect(']', "after the child position");
      if (span) span->headerEnd = p_;
    }
  }

  // Whether a property comes next in an object (not a child object nor its 'end').
  bool NextIsProperty() {
    std::string_view id = PeekIdent();
    if (id.empty()) Fail("expected a property, an object or 'end' but found " + Describe());
    return !(EqualNoCase(id, "end") || EqualNoCase(id, "object") || EqualNoCase(id, "inherited") ||
             EqualNoCase(id, "inline"));
  }

  // After the properties: whether a child object comes next; at the object's 'end', passes it.
  bool NextIsChild(ObjectSpan* span) {
    std::string_view id = PeekIdent();
    if (EqualNoCase(id, "end")) {
      if (span) span->propertiesEnd = p_;
      p_ += id.size();
      return false;
    }
    if (!(EqualNoCase(id, "object") || EqualNoCase(id, "inherited") || EqualNoCase(id, "inline")))
      Fail("expected an object or 'end' but found " + Describe());
    return true;
  }

  Property ParseProperty(int depth) {
    Property p;
    p.name = Ident("a property name");
    Expect('=', "after the property name");
    ParseValue(p.value, depth + 1);
    return p;
  }

  void ParseValue(Value& v, int depth) {
    if (depth > kMaxDepth) Fail("values nested too deeply");
    SkipBlanks();
    if (p_ >= s_.size()) Fail("expected a value but found end of file");
    unsigned char c = s_[p_];
    if (c == '\'' || c == '#') {
      ParseString(v);
    } else if (c == '-' || c == '+' || c == '$' || IsDigit(c)) {
      ParseNumber(v);
    } else if (c == '(') {
      ++p_;
      v.type = ValueType::List;
      while (!At(')')) {
        if (p_ >= s_.size()) Fail("expected ')' but found end of file");
        v.list.emplace_back();
        ParseValue(v.list.back(), depth + 1);
        if (v.list.back().type == ValueType::Null) Fail("Null cannot be a list element");
      }
      ++p_;
    } else if (c == '[') {
      ++p_;
      v.type = ValueType::Set;
      if (!At(']')) {
        for (;;) {
          SkipBlanks();
          size_t e = p_;
          while (e < s_.size() && (IsIdentChar(s_[e]) || s_[e] == '-')) ++e;
          if (e == p_) Fail("expected a set element but found " + Describe());
          if (e - p_ > 255) Fail("set element longer than 255 characters");
          v.set.emplace_back(s_.substr(p_, e - p_));
          p_ = e;
          if (At(']')) break;
          Expect(',', "between set elements");
        }
      }
      ++p_;
    } else if (c == '<') {
      ++p_;
      v.type = ValueType::Collection;
      while (!At('>')) {
        std::string_view id = PeekIdent();
        if (!EqualNoCase(id, "item")) Fail("expected 'item' or '>' but found " + Describe());
        p_ += id.size();
        CollectionItem item;
        if (At('[')) {
          ++p_;
          item.hasIndex = true;
          item.index = IntegerToken("an item index");
          if (item.index < INT32_MIN || item.index > INT32_MAX) Fail("item index out of range");
          Expect(']', "after the item index");
        }
        for (;;) {
          std::string_view pid = PeekIdent();
          if (EqualNoCase(pid, "end")) {
            p_ += pid.size();
            break;
          }
          item.properties.push_back(ParseProperty(depth));
        }
        v.items.push_back(std::move(item));
      }
      ++p_;
    } else if (c == '{') {
      ++p_;
      v.type = ValueType::Binary;
      const size_t close = s_.find('}', p_);
      if (close != std::string_view::npos) v.bytes.reserve((close - p_) / 2);
      int high = -1;
      for (;;) {
        // Lines of data are mostly whole pairs of digits: taken two at a time.
        if (high < 0) {
          // Found first, then converted into the string's own bytes: a byte at a time through
          // push_back took twice as long.
          const size_t runStart = p_;
          while (p_ + 1 < s_.size() && (HexValue(s_[p_]) | HexValue(s_[p_ + 1])) >= 0) p_ += 2;
          const size_t at = v.bytes.size();
          v.bytes.resize(at + (p_ - runStart) / 2);
          char* out = v.bytes.data() + at;
          for (size_t i = runStart; i < p_; i += 2) *out++ = static_cast<char>(HexValue(s_[i]) << 4 | HexValue(s_[i + 1]));
        }
        SkipBlanks();
        if (p_ >= s_.size()) Fail("expected '}' but found end of file");
        unsigned char h = s_[p_];
        if (h == '}') break;
        int d = HexValue(h);
        if (d < 0) Fail("invalid character in binary data: " + Describe());
        ++p_;
        if (high < 0) high = d;
        else {
          v.bytes += static_cast<char>(high << 4 | d);
          high = -1;
        }
      }
      if (high >= 0) Fail("odd number of hex digits in binary data");
      ++p_;
    } else if (IsIdentStart(c) || c == '.') {
      // Identifiers may start with a dot (".Owner" references in some third-party forms).
      size_t e = p_ + 1;
      while (e < s_.size() && IsIdentChar(s_[e])) ++e;
      if (e - p_ > 255) Fail("identifier longer than 255 characters");
      std::string id(s_.substr(p_, e - p_));
      p_ = e;
      if (EqualNoCase(id, "False")) v.type = ValueType::False;
      else if (EqualNoCase(id, "True")) v.type = ValueType::True;
      else if (EqualNoCase(id, "nil")) v.type = ValueType::Nil;
      else if (EqualNoCase(id, "Null")) v.type = ValueType::Null;
      else v = Value::Identifier(std::move(id));
    } else {
      Fail("expected a value but found " + Describe());
    }
  }

  void SetFloat(Value& v, char suffix, long double x) {
    switch (suffix | 32) {
      case 's': {
        v.type = ValueType::Single;
        float f = static_cast<float>(x);
        if (std::isinf(f) && !std::isinf(x)) Fail("number out of range for a single");
        std::memcpy(v.floatBytes.data(), &f, 4);
        break;
      }
      case 'd': {
        v.type = ValueType::Date;
        double d = static_cast<double>(x);
        if (std::isinf(d) && !std::isinf(x)) Fail("number out of range for a date");
        std::memcpy(v.floatBytes.data(), &d, 8);
        break;
      }
      case 'c': {
        v.type = ValueType::Currency;
        long double scaled = x;  // the text holds the count of 1/10000 units
        if (!(scaled >= -9223372036854775808.0L && scaled < 9223372036854775808.0L))
          Fail("currency value out of range");
        v.integer = std::llroundl(scaled);
        break;
      }
      default:
        v = Value::FromLongDouble(x);
    }
  }

  void ParseNumber(Value& v) {
    size_t start = p_;
    unsigned char c = s_[p_];
    {
      size_t q = p_ + (c == '-');
      std::string_view word = s_.substr(q, 6);
      bool inf = EqualNoCase(word, "1.#inf"), nan = EqualNoCase(word, "1.#nan");
      if (inf || nan) {
        p_ = q + 6;
        char suffix = 0;
        if (p_ < s_.size() && ((s_[p_] | 32) == 's' || (s_[p_] | 32) == 'd')) suffix = s_[p_++];
        if (p_ < s_.size() && IsIdentChar(s_[p_])) Fail("invalid number " + std::string(s_.substr(start, p_ + 1 - start)));
        long double x = inf ? HUGE_VALL : NAN;
        SetFloat(v, suffix, c == '-' ? -x : x);
        return;
      }
    }
    if (c == '+') Fail("expected a value but found '+'");
    if (c == '-') ++p_;
    if (p_ < s_.size() && s_[p_] == '$') {
      p_ = start;
      v = Value::Integer(IntegerToken("an integer"));
    } else {
      if (p_ >= s_.size() || !IsDigit(s_[p_])) Fail("invalid number: expected a digit after '-'");
      bool isFloat = false;
      while (p_ < s_.size() && IsDigit(s_[p_])) ++p_;
      if (p_ < s_.size() && s_[p_] == '.') {
        isFloat = true;
        ++p_;
        while (p_ < s_.size() && IsDigit(s_[p_])) ++p_;
      }
      if (p_ < s_.size() && (s_[p_] | 32) == 'e') {
        isFloat = true;
        ++p_;
        if (p_ < s_.size() && (s_[p_] == '+' || s_[p_] == '-')) ++p_;
        if (p_ >= s_.size() || !IsDigit(s_[p_])) Fail("invalid number: exponent without digits");
        while (p_ < s_.size() && IsDigit(s_[p_])) ++p_;
      }
      std::string_view text = s_.substr(start, p_ - start);
      char suffix = 0;
      if (p_ < s_.size() && ((s_[p_] | 32) == 's' || (s_[p_] | 32) == 'c' || (s_[p_] | 32) == 'd')) {
        suffix = s_[p_++];
        isFloat = true;
      }
      if (isFloat) {
        long double x;
        if (!ParseLongDouble(text, x)) Fail("invalid number " + std::string(text));
        // Digits read as infinity are beyond the type's range, not the infinity the file never wrote.
        if (std::isinf(x)) Fail("number out of range: " + std::string(text));
        SetFloat(v, suffix, x);
        if ((suffix | 32) == 'c') v.integer = ExactCurrency(text, v.integer);
      } else {
        std::int64_t x = 0;
        auto res = std::from_chars(text.data(), text.data() + text.size(), x);
        if (res.ec != std::errc()) Fail("integer out of range: " + std::string(text));
        v = Value::Integer(x);
      }
    }
    if (p_ < s_.size() && IsIdentChar(s_[p_])) Fail("invalid number " + std::string(s_.substr(start, p_ + 1 - start)));
  }

  // A currency count written as a plain integer is taken exactly, beyond a long double's digits.
  static std::int64_t ExactCurrency(std::string_view text, std::int64_t fallback) {
    std::int64_t r = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), r);
    return res.ec == std::errc() && res.ptr == text.data() + text.size() ? r : fallback;
  }

  // Walks the pieces of a string value ('..', #nn, joined by '+'), calling raw(bytes) and
  // code(value). Returns with p_ after the last piece.
  template <class Raw, class Code>
  void WalkString(Raw&& raw, Code&& code, bool& firstIsCode, std::uint32_t& firstCode, bool& emptyFirstSegment,
                  int& segments) {
    segments = 0;
    firstIsCode = false;
    emptyFirstSegment = false;
    for (;;) {
      int pieces = 0;
      bool empty = true;
      while (p_ < s_.size() && (s_[p_] == '\'' || s_[p_] == '#')) {
        if (s_[p_] == '\'') {
          ++p_;
          for (;;) {
            size_t e = p_;
            while (e < s_.size() && s_[e] != '\'' && s_[e] != '\n' && s_[e] != '\r') ++e;
            if (e >= s_.size() || s_[e] != '\'') {
              p_ = e;
              Fail("unterminated string");
            }
            if (e > p_) {
              raw(s_.substr(p_, e - p_));
              empty = false;
            }
            p_ = e + 1;
            if (p_ < s_.size() && s_[p_] == '\'') {
              raw(s_.substr(e, 1));
              empty = false;
              ++p_;
              continue;
            }
            break;
          }
        } else {
          ++p_;
          std::uint32_t value = 0;
          size_t digits = 0;
          if (p_ < s_.size() && s_[p_] == '$') {
            ++p_;
            while (p_ < s_.size() && HexValue(s_[p_]) >= 0) {
              value = value * 16 + HexValue(s_[p_++]);
              if (++digits > 8 || value > 0x10FFFF) Fail("character code out of range");
            }
          } else {
            while (p_ < s_.size() && IsDigit(s_[p_])) {
              value = value * 10 + (s_[p_++] - '0');
              if (++digits > 8 || value > 0x10FFFF) Fail("character code out of range");
            }
          }
          if (digits == 0) Fail("expected a character code after '#'");
          if (segments == 0 && pieces == 0) {
            firstIsCode = true;
            firstCode = value;
          }
          code(value);
          empty = false;
        }
        ++pieces;
      }
      if (segments == 0) emptyFirstSegment = empty && pieces == 1;
      ++segments;
      size_t save = p_;
      int saveLine = line_;
      SkipBlanks();
      if (p_ < s_.size() && s_[p_] == '+') {
        ++p_;
        SkipBlanks();
        if (p_ >= s_.size() || (s_[p_] != '\'' && s_[p_] != '#')) Fail("expected a string after '+' but found " + Describe());
        continue;
      }
      p_ = save;
      line_ = saveLine;
      return;
    }
  }

  void ParseString(Value& v) {
    size_t start = p_;
    int startLine = line_;
    bool unicode = false;
    bool firstIsCode, emptyFirst;
    std::uint32_t firstCode = 0;
    int segments;
    WalkString(
        [&](std::string_view run) {
          if (bom_ && !unicode)
            for (unsigned char ch : run)
              if (ch >= 128) unicode = true;
        },
        [&](std::uint32_t value) {
          if (value >= 128) unicode = true;
        },
        firstIsCode, firstCode, emptyFirst, segments);
    if (firstIsCode && firstCode >= 32 && firstCode <= 126 && firstCode != '\'') unicode = true;
    if (emptyFirst && segments > 1) unicode = true;
    size_t end = p_;
    int endLine = line_;
    p_ = start;
    line_ = startLine;
    if (unicode) {
      std::u16string units;
      units.reserve(end - start);
      WalkString(
          [&](std::string_view run) {
            // Raw bytes in a Unicode string: UTF-8 in a file with a byte-order mark, else Latin-1.
            if (bom_) units += platform::Utf8ToUtf16(run);
            else
              for (unsigned char ch : run) units += static_cast<char16_t>(ch);
          },
          [&](std::uint32_t value) { AppendCodePoint(units, value); }, firstIsCode, firstCode, emptyFirst,
          segments);
      v = Value::Unicode(std::move(units));
    } else {
      std::string bytes;
      bytes.reserve(end - start);
      WalkString([&](std::string_view run) { bytes += run; },
                 [&](std::uint32_t value) { bytes += static_cast<char>(value); }, firstIsCode, firstCode,
                 emptyFirst, segments);
      v = Value::Ansi(std::move(bytes));
    }
    (void)endLine;
  }

  std::string_view s_;
  std::string_view file_;
  size_t p_ = 0;
  int line_ = 1;
  bool bom_ = false;
};

}  // namespace

std::string WriteText(const Object& root, const TextOptions& options) {
  std::string out;
  out.reserve(EstimateTextSize(root));
  if (options.byteOrderMark) out += "\xEF\xBB\xBF";
  TextWriter(out, options).WriteObject(root);
  return out;
}

void AppendTextObject(std::string& out, const Object& object, int level, const TextOptions& options) {
  TextWriter(out, options, level).WriteObject(object);
}

void AppendTextHeader(std::string& out, const Object& object, int level, const TextOptions& options) {
  TextWriter(out, options, level).WriteHeader(object);
}

void AppendTextProperty(std::string& out, const Property& property, int level, const TextOptions& options) {
  TextWriter(out, options, level).WriteProperty(property);
}

namespace {

// Hands the parts to the binary writer. What the writer refuses (a name too long for the binary
// format) is reported only once the whole text has been read, as WriteBinary(ReadText(...))
// would: a damaged text is named as such even after such a name.
class BinarySink {
public:
  BinarySink(bool resourceHeader, size_t expectedSize) : writer_(resourceHeader, expectedSize) {}
  void BeginObject(const Object& header) {
    Guard([&] { writer_.BeginObject(header); });
  }
  void WriteProperty(const Property& property) {
    Guard([&] { writer_.WriteProperty(property); });
  }
  void EndProperties() {
    Guard([&] { writer_.EndProperties(); });
  }
  void EndObject() {
    Guard([&] { writer_.EndObject(); });
  }
  std::string Finish() {
    if (refused_) std::rethrow_exception(refused_);
    return writer_.Finish();
  }

private:
  template <class Step>
  void Guard(Step step) {
    if (refused_) return;
    try {
      step();
    } catch (const std::exception&) {
      refused_ = std::current_exception();
    }
  }
  BinaryStreamWriter writer_;
  std::exception_ptr refused_;
};

}  // namespace

std::string TextToBinary(std::string_view data, std::string_view fileName, bool resourceHeader) {
  TextParser parser(data, fileName);
  BinarySink sink(resourceHeader, data.size());
  parser.StreamRoot(sink);
  return sink.Finish();
}

Object ReadText(std::string_view data, std::string_view fileName, TextInfo* info, ObjectSpan* layout) {
  TextParser parser(data, fileName);
  Object root = parser.ParseRoot(layout);
  if (info) {
    info->byteOrderMark = parser.bom();
    size_t lf = data.find('\n');
    info->lineEnd = (lf != std::string_view::npos && (lf == 0 || data[lf - 1] != '\r')) ? LineEnd::LF : LineEnd::CRLF;
  }
  return root;
}

}  // namespace vorlect::formfile
