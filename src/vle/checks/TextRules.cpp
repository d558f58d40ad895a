#include "vle/checks/TextRules.h"

#include "platform/CodePages.h"
#include "vle/spellcheck/SpellTranslations.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>

namespace vorlect::vle::checks {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Digits or "*" at `j`; returns the number read (-1 for none or "*").
int ReadCount(std::string_view text, size_t& j, bool& any) {
  any = false;
  if (j < text.size() && text[j] == '*') {
    any = true;
    ++j;
    return -1;
  }
  long value = 0;
  while (j < text.size() && IsDigit(text[j])) {
    any = true;
    if (value < 100000) value = value * 10 + (text[j] - '0');
    ++j;
  }
  return any ? static_cast<int>(value) : -1;
}

bool IsTypeLetter(char c) {
  switch (c | 0x20) {
    case 'd': case 'u': case 'e': case 'f': case 'g': case 'n': case 'm': case 'p': case 's': case 'x':
      return true;
    default:
      return false;
  }
}

std::string Spellings(const std::vector<Placeholder>& list) {
  if (list.empty()) return "none";
  std::string s;
  for (const Placeholder& p : list) {
    if (!s.empty()) s += ' ';
    s += p.spelling;
  }
  return s;
}

}  // namespace

std::vector<Placeholder> Placeholders(std::string_view text) {
  std::vector<Placeholder> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;  // a literal percent sign
      continue;
    }
    size_t j = i + 1;
    bool any = false;
    const int first = ReadCount(text, j, any);
    Placeholder p;
    const bool firstIsNumber = any && text[i + 1] != '*';
    if (firstIsNumber && j < text.size() && text[j] == ':') {
      p.index = first;
      ++j;
    } else if (firstIsNumber && (j >= text.size() || (text[j] != '-' && text[j] != '.' && !IsTypeLetter(text[j])))) {
      // "%1": a numbered insert, which a translation may move like an indexed argument.
      p.index = first;
      p.kind = '#';
      p.spelling = std::string(text.substr(i, j - i));
      found.push_back(std::move(p));
      i = j - 1;
      continue;
    } else {
      j = i + 1;
    }
    if (j < text.size() && text[j] == '-') ++j;
    ReadCount(text, j, any);
    if (j < text.size() && text[j] == '.') {
      ++j;
      ReadCount(text, j, any);
    }
    if (j >= text.size() || !IsTypeLetter(text[j])) continue;  // a "%" that starts nothing
    p.kind = static_cast<char>(text[j] | 0x20);
    p.spelling = std::string(text.substr(i, j + 1 - i));
    found.push_back(std::move(p));
    i = j;
  }
  return found;
}

std::string ComparePlaceholders(const std::vector<Placeholder>& source, const std::vector<Placeholder>& translation) {
  std::vector<char> plainS, plainT;
  std::vector<std::pair<int, char>> indexedS, indexedT;
  for (const Placeholder& p : source) {
    if (p.index < 0) plainS.push_back(p.kind);
    else indexedS.emplace_back(p.index, p.kind);
  }
  for (const Placeholder& p : translation) {
    if (p.index < 0) plainT.push_back(p.kind);
    else indexedT.emplace_back(p.index, p.kind);
  }
  std::sort(indexedS.begin(), indexedS.end());
  std::sort(indexedT.begin(), indexedT.end());
  if (plainS == plainT && indexedS == indexedT) return {};
  return "format arguments " + Spellings(translation) + " where language 0 has " + Spellings(source);
}

std::vector<int> AcceleratorMarkers(std::string_view text) {
  std::vector<int> markers;
  size_t offset = 0;
  while (offset < text.size()) {
    const int m = AcceleratorMarker(text.substr(offset));
    if (m <= 0) break;
    markers.push_back(static_cast<int>(offset) + m);
    offset += static_cast<size_t>(m) + 1;  // past the marker and the character it marks
  }
  return markers;
}

char32_t MarkedCharacter(std::string_view text, int marker, int codePage) {
  if (marker <= 0 || static_cast<size_t>(marker) >= text.size()) return 0;
  const std::string_view rest = text.substr(static_cast<size_t>(marker));
  UChar32 c = 0;
  if (static_cast<unsigned char>(rest[0]) < 0x80) {
    c = static_cast<unsigned char>(rest[0]);
  } else {
    // A double-byte character takes at most two bytes; decoding four covers every code page.
    const std::u16string units = platform::DecodeCodePage(rest.substr(0, std::min<size_t>(rest.size(), 4)), codePage);
    if (units.empty()) return 0;
    int32_t k = 0;
    U16_NEXT(units.data(), k, static_cast<int32_t>(units.size()), c);
  }
  return static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
}

std::string WithoutAccelerator(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const int marker = AcceleratorMarker(text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<int>(i) + 1 == marker) continue;
    out += text[i];
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
  }
  return out;
}

const char* EndingName(Ending e) {
  switch (e) {
    case Ending::FullStop: return "a full stop";
    case Ending::Colon: return "a colon";
    case Ending::Exclamation: return "an exclamation mark";
    case Ending::Question: return "a question mark";
    case Ending::Ellipsis: return "an ellipsis";
    case Ending::None: break;
  }
  return "no punctuation";
}

bool IsEastAsianCodePage(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

Ending EndingOf(std::string_view text, int codePage) {
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  if (text.empty()) return Ending::None;
  const unsigned char last = static_cast<unsigned char>(text.back());
  // In the double-byte code pages a byte from 0x40 up may be the second half of a character.
  if (last < 0x80 && (last < 0x40 || !IsEastAsianCodePage(codePage) || IsAscii(text))) {
    switch (last) {
      case '.':
        return text.size() >= 3 && text.substr(text.size() - 3) == "..." ? Ending::Ellipsis : Ending::FullStop;
      case ':': return Ending::Colon;
      case '!': return Ending::Exclamation;
      case '?': return Ending::Question;
      case ';': return codePage == 1253 ? Ending::Question : Ending::None;  // the Greek question mark
      default: return Ending::None;
    }
  }
  const std::u16string units = platform::DecodeCodePage(text, codePage);
  if (units.empty()) return Ending::None;
  const char16_t c = units.back();
  if (c == 0x2026 || c == 0x22EF) return Ending::Ellipsis;
  if (c == 0x061F) return Ending::Question;  // Arabic
  if (!IsEastAsianCodePage(codePage) && codePage != 65001) return Ending::None;
  switch (c) {
    case 0xFF0E: case 0x3002: case 0xFF61: {
      // Three full stops in a row are an ellipsis, as "..." is.
      const size_t n = units.size();
      if (n >= 3 && units[n - 2] == c && units[n - 3] == c) return Ending::Ellipsis;
      return Ending::FullStop;
    }
    case 0xFF1A: return Ending::Colon;
    case 0xFF01: return Ending::Exclamation;
    case 0xFF1F: return Ending::Question;
    default: return Ending::None;
  }
}

Blanks BlanksOf(std::string_view text) {
  Blanks b;
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  b.leading = static_cast<int>(i);
  if (i < text.size()) {
    size_t j = text.size();
    while (j > i && IsBlank(text[j - 1])) --j;
    b.trailing = static_cast<int>(text.size() - j);
  }
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r') {
      ++b.lineBreaks;
      if (k + 1 < text.size() && text[k + 1] == '\n') ++k;
    } else if (text[k] == '\n') {
      ++b.lineBreaks;
    }
  }
  return b;
}

bool HasLetter(std::string_view text, int codePage) {
  const bool doubleByte = IsEastAsianCodePage(codePage);
  bool wide = false;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x80) wide = true;
    else if (!doubleByte && (c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
  }
  if (!wide) {
    for (char ch : text)
      if ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'z') return true;
    return false;
  }
  const std::u16string units = platform::DecodeCodePage(text, codePage);
  for (int32_t k = 0; k < static_cast<int32_t>(units.size());) {
    UChar32 c;
    U16_NEXT(units.data(), k, static_cast<int32_t>(units.size()), c);
    if (u_isalpha(c)) return true;
  }
  return false;
}

std::string ToUtf8(std::string_view text, int codePage) {
  if (IsAscii(text)) return std::string(text);
  return platform::Utf16ToUtf8(platform::DecodeCodePage(text, codePage));
}

}  // namespace vorlect::vle::checks
