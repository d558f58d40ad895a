// Which bytes make a name in form files (shared by the binary reader and the text parser).
#pragma once

#include <string_view>

namespace vorlect::formfile::detail {

// Letters, '_' and any byte >= 128 (identifiers of the Unicode IDEs arrive as UTF-8).
inline bool IsIdentStart(unsigned char c) {
  return ((c | 32) >= 'a' && (c | 32) <= 'z') || c == '_' || c >= 128;
}
inline bool IsIdentChar(unsigned char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '.'; }

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// A name the text notation can hold: identifier characters, not starting with a digit.
// `leadingDot` admits ".Owner"-style identifier values.
inline bool IsName(std::string_view s, bool leadingDot = false) {
  if (s.empty() || !(IsIdentStart(s[0]) || (leadingDot && s[0] == '.'))) return false;
  for (unsigned char c : s.substr(1))
    if (!IsIdentChar(c)) return false;
  return true;
}

// Words that end a property list in the text notation, so no property may be called that.
inline bool IsReservedWord(std::string_view s) {
  return EqualNoCase(s, "end") || EqualNoCase(s, "object") || EqualNoCase(s, "inherited") ||
         EqualNoCase(s, "inline");
}

// Set elements: identifiers or (for sets of numbers) integers.
inline bool IsSetElement(std::string_view s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (!IsIdentChar(c) && c != '-') return false;
  return true;
}

}  // namespace vorlect::formfile::detail
