#include "rc/ResourceScript.h"

#include "platform/CodePages.h"

#include <map>
#include <utility>

namespace vorlect::rc {

using platform::Resource;
using platform::ResourceId;

namespace {

constexpr std::uint64_t kMaxNumber = 0xFFFFFFFF;

enum class Tok { End, Word, Number, String, Comma, LBrace, RBrace };

struct Token {
  Tok kind = Tok::End;
  int line = 1;
  std::string_view text;  // words and numbers as written
  std::uint64_t number = 0;
  std::u16string string;
};

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string Shown(std::string_view text) {
  std::string out;
  for (char c : text.substr(0, 40)) out += (static_cast<unsigned char>(c) < 32 || c == 127) ? '?' : c;
  return out;
}

class Lexer {
public:
  Lexer(std::string_view src, const ScriptOptions& options)
      : src_(src), file_(options.fileName), codePage_(options.codePage), defaultCodePage_(options.codePage) {
    if (!platform::IsSupportedCodePage(codePage_)) Fail(1, "unsupported code page " + std::to_string(codePage_));
    if (src_.substr(0, 3) == "\xEF\xBB\xBF") {  // an editor's UTF-8 signature says what the bytes are
      pos_ = 3;
      codePage_ = 65001;
    }
  }

  [[noreturn]] void Fail(int line, const std::string& message) const {
    throw ScriptError(file_ + "(" + std::to_string(line) + "): " + message);
  }

  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (pos_ >= src_.size()) return t;
    const char c = src_[pos_];
    if (c == ',' || c == '{' || c == '}') {
      ++pos_;
      t.kind = c == ',' ? Tok::Comma : c == '{' ? Tok::LBrace : Tok::RBrace;
      t.text = src_.substr(pos_ - 1, 1);
      return t;
    }
    if (c == '"' || ((c == 'L' || c == 'l') && pos_ + 1 < src_.size() && src_[pos_ + 1] == '"')) {
      t.kind = Tok::String;
      t.string = ReadString(c != '"');
      return t;
    }
    if (IsAlpha(c) || IsDigit(c)) {
      const std::size_t start = pos_;
      while (pos_ < src_.size() && (IsAlpha(src_[pos_]) || IsDigit(src_[pos_]))) ++pos_;
      t.text = src_.substr(start, pos_ - start);
      if (IsDigit(c)) {
        t.kind = Tok::Number;
        t.number = ParseNumber(t.text, t.line);
      } else {
        t.kind = Tok::Word;
      }
      return t;
    }
    Fail(line_, "unexpected character '" + Shown(src_.substr(pos_, 1)) + "'");
  }

private:
  void SkipBlanks() {
    while (pos_ < src_.size()) {
      const char c = src_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
        lineStart_ = true;
      } else if (IsSpace(c)) {
        ++pos_;
      } else if (src_.compare(pos_, 2, "//") == 0) {
        while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
      } else if (src_.compare(pos_, 2, "/*") == 0) {
        const int startLine = line_;
        const std::size_t end = src_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) Fail(startLine, "comment not closed");
        for (std::size_t i = pos_; i < end; ++i) line_ += src_[i] == '\n';
        pos_ = end + 2;
      } else if (c == '#' && lineStart_) {
        Directive();
      } else {
        lineStart_ = false;
        return;
      }
    }
  }

  // `#pragma code_page(N)` or `(DEFAULT)`; every other directive needs a preprocessor we lack.
  void Directive() {
    std::size_t end = src_.find('\n', pos_);
    if (end == std::string_view::npos) end = src_.size();
    std::string_view rest = src_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end;
    auto skip = [&rest] {
      while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
    };
    auto word = [&rest, &skip] {
      skip();
      std::size_t n = 0;
      while (n < rest.size() && (IsAlpha(rest[n]) || IsDigit(rest[n]))) ++n;
      std::string_view w = rest.substr(0, n);
      rest.remove_prefix(n);
      return w;
    };
    auto punct = [&rest, &skip](char p) {
      skip();
      if (rest.empty() || rest.front() != p) return false;
      rest.remove_prefix(1);
      return true;
    };
    const std::string_view directive = word();
    if (directive != "pragma") Fail(line_, "unsupported preprocessor directive '#" + Shown(directive) + "'");
    const std::string_view pragma = word();
    if (pragma != "code_page") Fail(line_, "unsupported pragma '" + Shown(pragma) + "'");
    if (!punct('(')) Fail(line_, "'(' expected after code_page");
    const std::string_view arg = word();
    int codePage = 0;
    if (IEquals(arg, "DEFAULT")) {
      codePage = defaultCodePage_;
    } else if (!arg.empty() && IsDigit(arg.front())) {
      const std::uint64_t n = ParseNumber(arg, line_);
      codePage = n > 100000 ? 0 : static_cast<int>(n);
      if (!platform::IsSupportedCodePage(codePage)) Fail(line_, "unsupported code page " + std::string(arg));
    } else {
      Fail(line_, "code page number expected in code_page pragma");
    }
    if (!punct(')')) Fail(line_, "')' expected after the code page");
    skip();
    if (!rest.empty() && rest.substr(0, 2) != "//") Fail(line_, "unexpected text after the code_page pragma");
    codePage_ = codePage;
  }

  std::uint64_t ParseNumber(std::string_view text, int line) const {
    std::string_view digits = text;
    while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' || digits.back() == 'U' ||
                               digits.back() == 'u'))
      digits.remove_suffix(1);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
      base = 16;
      digits.remove_prefix(2);
    } else if (digits.size() > 1 && digits[0] == '0') {
      base = 8;
    }
    std::uint64_t value = 0;
    for (char c : digits) {
      const int d = HexValue(c);
      if (d < 0 || d >= base) Fail(line, "bad number '" + Shown(text) + "'");
      value = value * base + d;
      if (value > kMaxNumber) Fail(line, "number '" + Shown(text) + "' too large");
    }
    if (digits.empty()) Fail(line, "bad number '" + Shown(text) + "'");
    return value;
  }

  // One quoted string with the escapes of the GNU resource compiler. A narrow string's bytes,
  // escapes included, are in the script's code page; a wide string's escapes are UTF-16 units.
  std::u16string ReadString(bool wide) {
    const int startLine = line_;
    pos_ += wide ? 2 : 1;
    std::string bytes;
    std::u16string out;
    auto flush = [&] {
      out += platform::DecodeCodePage(bytes, codePage_);
      bytes.clear();
    };
    auto unit = [&](std::uint32_t v) {
      if (wide) {
        flush();
        out += static_cast<char16_t>(v);
      } else {
        bytes += static_cast<char>(v & 0xFF);
      }
    };
    for (;;) {
      if (pos_ >= src_.size() || src_[pos_] == '\n' || src_[pos_] == '\r') Fail(startLine, "string not closed");
      const char c = src_[pos_++];
      if (c == '"') {
        if (pos_ < src_.size() && src_[pos_] == '"') {
          ++pos_;
          unit('"');
          continue;
        }
        break;
      }
      if (c != '\\') {
        bytes += c;
        continue;
      }
      if (pos_ >= src_.size()) Fail(startLine, "string not closed");
      const char e = src_[pos_++];
      switch (e) {
        case 'n': unit('\n'); break;
        case 't': unit('\t'); break;
        case 'r': unit('\r'); break;
        case 'a':  // the GNU compiler gives backspace for \a too
        case 'b': unit('\b'); break;
        case 'f': unit('\f'); break;
        case 'v': unit('\v'); break;
        case '\\': unit('\\'); break;
        case '"': unit('"'); break;
        case '\r':
        case '\n': Fail(line_, "backslash at end of line inside a string");
        case 'x':
        case 'X': {
          std::uint32_t v = 0;
          for (int n = 0; n < (wide ? 4 : 2) && pos_ < src_.size() && HexValue(src_[pos_]) >= 0; ++n)
            v = v * 16 + HexValue(src_[pos_++]);
          unit(v);
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            std::uint32_t v = e - '0';
            for (int n = 1; n < 3 && pos_ < src_.size() && src_[pos_] >= '0' && src_[pos_] <= '7'; ++n)
              v = v * 8 + (src_[pos_++] - '0');
            unit(v);
          } else {  // unknown escapes stay as written
            bytes += '\\';
            bytes += e;
          }
      }
    }
    flush();
    return out;
  }

  std::string_view src_;
  std::string file_;
  int codePage_;
  int defaultCodePage_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool lineStart_ = true;
};

struct Block {
  std::uint16_t memoryFlags = 0;
  std::uint32_t version = 0;
  std::uint32_t characteristics = 0;
  platform::StringBlock strings;
};

class Parser {
public:
  Parser(std::string_view src, const ScriptOptions& options) : lex_(src, options), language_(options.language) {
    tok_ = lex_.Next();
  }

  std::vector<Resource> Run() {
    while (tok_.kind != Tok::End) {
      if (IsWord("STRINGTABLE")) {
        Table();
      } else if (IsWord("LANGUAGE")) {
        language_ = Language();
      } else {
        lex_.Fail(tok_.line, "STRINGTABLE or LANGUAGE expected, found " + Describe());
      }
    }
    std::vector<Resource> out;
    for (auto& [key, block] : blocks_) {
      Resource r;
      r.type = ResourceId(platform::kRtString);
      r.name = ResourceId(static_cast<std::uint16_t>(key.first + 1));
      r.language = key.second;
      r.memoryFlags = block.memoryFlags;
      r.dataVersion = block.version;  // the GNU compiler writes VERSION into both fields
      r.version = block.version;
      r.characteristics = block.characteristics;
      r.data = platform::EncodeStringBlock(block.strings);
      out.push_back(std::move(r));
    }
    return out;
  }

private:
  bool IsWord(std::string_view w) const { return tok_.kind == Tok::Word && IEquals(tok_.text, w); }
  void Advance() { tok_ = lex_.Next(); }

  std::string Describe() const {
    switch (tok_.kind) {
      case Tok::End: return "end of file";
      case Tok::String: return "a string";
      default: return "'" + Shown(tok_.text) + "'";
    }
  }

  std::uint64_t Number(std::string_view what) {
    if (tok_.kind != Tok::Number) lex_.Fail(tok_.line, std::string(what) + " expected, found " + Describe());
    const std::uint64_t n = tok_.number;
    Advance();
    return n;
  }

  std::uint16_t Language() {
    Advance();
    const int line = tok_.line;
    const std::uint64_t primary = Number("language number");
    if (tok_.kind != Tok::Comma) lex_.Fail(tok_.line, "',' expected after the language number");
    Advance();
    const std::uint64_t sub = Number("sublanguage number");
    if (primary > 0x3FF || sub > 0x3F) lex_.Fail(line, "language or sublanguage out of range");
    return static_cast<std::uint16_t>(primary | (sub << 10));
  }

  void Table() {
    const int tableLine = tok_.line;
    Advance();
    Block attrs;
    attrs.memoryFlags = platform::kStringTableMemoryFlags;
    std::uint16_t language = language_;
    for (;;) {
      if (tok_.kind == Tok::LBrace || IsWord("BEGIN")) break;
      if (IsWord("MOVEABLE")) attrs.memoryFlags |= 0x10;
      else if (IsWord("FIXED")) attrs.memoryFlags &= ~0x10;
      else if (IsWord("PURE")) attrs.memoryFlags |= 0x20;
      else if (IsWord("IMPURE")) attrs.memoryFlags &= ~0x20;
      else if (IsWord("PRELOAD")) attrs.memoryFlags |= 0x40;
      else if (IsWord("LOADONCALL")) attrs.memoryFlags &= ~0x40;
      else if (IsWord("DISCARDABLE")) attrs.memoryFlags |= 0x1000;
      else if (IsWord("LANGUAGE")) {
        language = Language();
        continue;
      } else if (IsWord("VERSION") || IsWord("CHARACTERISTICS")) {
        const bool version = IsWord("VERSION");
        Advance();
        (version ? attrs.version : attrs.characteristics) = static_cast<std::uint32_t>(Number("number"));
        continue;
      } else {
        lex_.Fail(tok_.line, "BEGIN expected after STRINGTABLE, found " + Describe());
      }
      Advance();
    }
    Advance();
    while (!(tok_.kind == Tok::RBrace || IsWord("END"))) {
      if (tok_.kind == Tok::End) lex_.Fail(tok_.line, "END missing for the STRINGTABLE of line " + std::to_string(tableLine));
      const int line = tok_.line;
      const std::uint64_t id = Number("string id");
      if (id > 0xFFFF) lex_.Fail(line, "string id " + std::to_string(id) + " out of range (0 to 65535)");
      if (tok_.kind == Tok::Comma) Advance();
      if (tok_.kind != Tok::String) lex_.Fail(tok_.line, "string expected, found " + Describe());
      std::u16string text;
      while (tok_.kind == Tok::String) {
        text += tok_.string;
        if (text.size() > 0xFFFF) lex_.Fail(line, "string longer than 65535 characters");
        Advance();
      }
      // A second definition would silently replace the first; a translator's slip, so refuse it.
      const auto [seen, fresh] = lines_.emplace(std::pair{language, static_cast<std::uint16_t>(id)}, line);
      if (!fresh)
        lex_.Fail(line, "string id " + std::to_string(id) + " already defined in line " + std::to_string(seen->second));
      auto [it, created] = blocks_.try_emplace(std::pair{static_cast<std::uint16_t>(id / 16), language}, attrs);
      it->second.strings[id % 16] = std::move(text);
    }
    Advance();
  }

  Lexer lex_;
  Token tok_;
  std::uint16_t language_;
  std::map<std::pair<std::uint16_t, std::uint16_t>, Block> blocks_;  // (block, language): directory order
  std::map<std::pair<std::uint16_t, std::uint16_t>, int> lines_;      // (language, id) -> line
};

}  // namespace

std::vector<Resource> CompileResourceScript(std::string_view script, const ScriptOptions& options) {
  return Parser(script, options).Run();
}

}  // namespace vorlect::rc
