#include "vle/exchange/PoFile.h"

#include "platform/CodePages.h"

#include <algorithm>
#include <cctype>

namespace vorlect::vle::po {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  s = TrimLeft(s);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one quoted string at the start of `s` (blanks before it skipped) and appends its value;
// nothing but blanks may follow it.
void ReadQuoted(std::string_view s, std::size_t line, std::string& out) {
  s = TrimLeft(s);
  if (s.empty() || s.front() != '"') throw TPoError(line, "a string in double quotes was expected");
  std::size_t i = 1;
  for (;;) {
    if (i >= s.size()) throw TPoError(line, "the string is not closed");
    const char c = s[i++];
    if (c == '"') break;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i >= s.size()) throw TPoError(line, "the string is not closed");
    const char e = s[i++];
    switch (e) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'v': out += '\v'; break;
      case '\\': case '"': case '\'': case '?': out += e; break;
      case 'x': {
        int value = 0, digits = 0;
        while (i < s.size() && digits < 2 && HexDigit(s[i]) >= 0) value = value * 16 + HexDigit(s[i++]), ++digits;
        if (digits == 0) throw TPoError(line, "\\x without hexadecimal digits");
        out += static_cast<char>(value);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          int value = e - '0', digits = 1;
          while (i < s.size() && digits < 3 && s[i] >= '0' && s[i] <= '7') value = value * 8 + (s[i++] - '0'), ++digits;
          out += static_cast<char>(value & 0xFF);
          break;
        }
        throw TPoError(line, std::string("invalid escape \\") + e);
    }
  }
  if (!Trim(s.substr(i)).empty()) throw TPoError(line, "text after the closing double quote");
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The charset a header names in its Content-Type line; empty without one.
std::string HeaderCharset(const std::string& header) {
  const std::string lower = Lower(header);
  std::size_t at = lower.find("content-type:");
  if (at == std::string::npos) return {};
  const std::size_t eol = lower.find('\n', at);
  const std::string field = lower.substr(at, eol == std::string::npos ? std::string::npos : eol - at);
  at = field.find("charset=");
  if (at == std::string::npos) return {};
  std::string cs = field.substr(at + 8);
  const std::size_t end = cs.find_first_of("; \t\r");
  if (end != std::string::npos) cs.resize(end);
  return cs;
}

class TReader {
public:
  std::vector<TPoEntry> entries;

  void Line(std::string_view raw, std::size_t n) {
    std::string_view s = Trim(raw);
    if (s.empty()) return;
    if (s.front() == '#') {
      Comment(s, n);
      return;
    }
    if (s.front() == '"') {
      if (!target_) throw TPoError(n, "a string without a keyword before it");
      ReadQuoted(s, n, *target_);
      return;
    }
    std::size_t end = 0;
    while (end < s.size() && !IsBlank(s[end]) && s[end] != '"') ++end;
    const std::string_view word = s.substr(0, end);
    const std::string_view rest = s.substr(end);
    if (word == "msgctxt") {
      FinishIfComplete();
      if (haveMsgid_) throw TPoError(n, "msgctxt after msgid");
      if (cur_.hasContext) throw TPoError(n, "a second msgctxt");
      Start(n);
      cur_.hasContext = true;
      target_ = &cur_.context;
    } else if (word == "msgid") {
      FinishIfComplete();
      if (haveMsgid_) throw TPoError(n, "msgid without msgstr before it");
      Start(n);
      haveMsgid_ = true;
      target_ = &cur_.msgid;
    } else if (word == "msgid_plural") {
      if (!haveMsgid_ || !cur_.msgstr.empty()) throw TPoError(n, "msgid_plural without msgid before it");
      if (cur_.plural) throw TPoError(n, "a second msgid_plural");
      cur_.plural = true;
      target_ = &cur_.msgidPlural;
    } else if (word.starts_with("msgstr")) {
      if (!haveMsgid_) throw TPoError(n, "msgstr without msgid before it");
      std::string_view index = word.substr(6);
      if (!index.empty()) {
        if (index.size() < 3 || index.front() != '[' || index.back() != ']') throw TPoError(n, "bad msgstr index");
        index = index.substr(1, index.size() - 2);
        std::size_t k = 0;
        if (index.size() > 4 || !std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; }))
          throw TPoError(n, "bad msgstr index");
        for (char c : index) k = k * 10 + static_cast<std::size_t>(c - '0');
        if (k != cur_.msgstr.size()) throw TPoError(n, "msgstr[" + std::string(index) + "] out of order");
      } else if (!cur_.msgstr.empty()) {
        throw TPoError(n, "a second msgstr");
      }
      cur_.msgstr.emplace_back();
      target_ = &cur_.msgstr.back();
    } else {
      throw TPoError(n, "unknown keyword \"" + std::string(word.substr(0, 40)) + "\"");
    }
    ReadQuoted(rest, n, *target_);
  }

  void Finish() {
    if (started_ && cur_.msgstr.empty()) throw TPoError(cur_.line, "msgid without msgstr");
    FinishIfComplete();
  }

private:
  void Comment(std::string_view s, std::size_t n) {
    FinishIfComplete();
    target_ = nullptr;
    if (started_) {
      // A comment between the keywords of one entry: the gettext tools never write one there.
      if (s.starts_with("#~")) throw TPoError(n, "an obsolete line inside an entry");
      return;
    }
    if (s.starts_with("#,")) {
      std::string_view list = s.substr(2);
      while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view flag = Trim(list.substr(0, comma));
        if (!flag.empty()) pendingFlags_.emplace_back(flag);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
      }
    }
    // "#~" (obsolete entries), "#|" (previous strings), "#.", "#:" and "# " carry nothing to import.
  }

  void Start(std::size_t n) {
    if (!started_) {
      started_ = true;
      cur_.line = n;
      cur_.flags = std::move(pendingFlags_);
      pendingFlags_.clear();
    }
  }

  void FinishIfComplete() {
    if (!started_ || cur_.msgstr.empty()) return;
    entries.push_back(std::move(cur_));
    cur_ = TPoEntry();
    started_ = haveMsgid_ = false;
    target_ = nullptr;
  }

  TPoEntry cur_;
  bool started_ = false, haveMsgid_ = false;
  std::string* target_ = nullptr;
  std::vector<std::string> pendingFlags_;
};

void CheckUtf8(const std::string& s, std::size_t line) {
  if (platform::FirstInvalidUtf8(s) != std::string::npos) throw TPoError(line, "a string that is not UTF-8");
}

}  // namespace

bool TPoEntry::HasFlag(std::string_view flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::string& TPoEntry::Translation() const {
  static const std::string none;
  return msgstr.empty() ? none : msgstr.front();
}

std::vector<TPoEntry> ReadPo(std::string_view contents) {
  if (contents.starts_with("\xEF\xBB\xBF")) contents.remove_prefix(3);
  TReader reader;
  std::size_t n = 0, p = 0;
  while (p < contents.size()) {
    std::size_t e = contents.find('\n', p);
    if (e == std::string_view::npos) e = contents.size();
    reader.Line(contents.substr(p, e - p), ++n);
    p = e + 1;
  }
  reader.Finish();
  for (const TPoEntry& e : reader.entries) {
    if (!e.IsHeader()) continue;
    const std::string cs = HeaderCharset(e.Translation());
    if (!cs.empty() && cs != "utf-8" && cs != "utf8" && cs != "charset")
      throw TPoError(e.line, "the file's charset is " + cs + "; only UTF-8 is read");
    break;
  }
  for (const TPoEntry& e : reader.entries) {
    CheckUtf8(e.context, e.line);
    CheckUtf8(e.msgid, e.line);
    CheckUtf8(e.msgidPlural, e.line);
    for (const std::string& s : e.msgstr) CheckUtf8(s, e.line);
  }
  return std::move(reader.entries);
}

std::string PoQuote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\a': out += "\\a"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\v': out += "\\v"; break;
      default: {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
          const char oct[] = {'\\', static_cast<char>('0' + (u >> 6)), static_cast<char>('0' + ((u >> 3) & 7)),
                              static_cast<char>('0' + (u & 7))};
          out.append(oct, 4);
        } else {
          out += c;
        }
      }
    }
  }
  out += '"';
  return out;
}

std::string PoLine(std::string_view keyword, std::string_view text) {
  std::string out(keyword);
  const std::size_t inner = text.find('\n');
  if (inner == std::string_view::npos || inner + 1 == text.size()) {
    out += ' ';
    out += PoQuote(text);
    out += '\n';
    return out;
  }
  out += " \"\"\n";
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t e = text.find('\n', p);
    e = e == std::string_view::npos ? text.size() : e + 1;
    out += PoQuote(text.substr(p, e - p));
    out += '\n';
    p = e;
  }
  return out;
}

}  // namespace vorlect::vle::po
