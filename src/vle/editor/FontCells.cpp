#include "vle/editor/FontCells.h"

#include <algorithm>
#include <cctype>

namespace vorlect::vle {

const std::array<TCharsetName, 19>& CharsetTable() {
  static const std::array<TCharsetName, 19> table{{
      {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},   {"SYMBOL_CHARSET", 2},     {"MAC_CHARSET", 77},
      {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130},    {"GB2312_CHARSET", 134},
      {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
      {"HEBREW_CHARSET", 177},    {"ARABIC_CHARSET", 178},  {"BALTIC_CHARSET", 186},   {"RUSSIAN_CHARSET", 204},
      {"THAI_CHARSET", 222},      {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
  }};
  return table;
}

namespace {

bool SameAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// A character-set code in decimal: digits only, 0..255.
std::optional<int> DecimalCode(std::string_view s) {
  if (s.empty() || s.size() > 3) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > 255) return std::nullopt;
  return v;
}

std::string Shown(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

std::optional<int> CharsetCodeOf(std::string_view name) {
  for (const TCharsetName& c : CharsetTable())
    if (SameAscii(c.name, name)) return c.code;
  return std::nullopt;
}

std::string CharsetNameOf(int code) {
  for (const TCharsetName& c : CharsetTable())
    if (c.code == code) return c.name;
  return std::to_string(code);
}

TDisplayFontCell FontCellOfEntry(std::string_view entry) {
  const auto comma = entry.find(',');
  if (comma == std::string_view::npos) throw EFontCell("CharSets entry " + Shown(entry) + " has no comma");
  const auto code = DecimalCode(entry.substr(comma + 1));
  if (!code) throw EFontCell("CharSets entry " + Shown(entry) + " has no character set code after its comma");
  return {std::string(entry.substr(0, comma + 1)) + " " + CharsetNameOf(*code), *code};
}

std::string EntryOfFontCell(std::string_view cell) {
  const auto comma = cell.find(',');
  if (comma == std::string_view::npos)
    throw EFontCell("The font cell " + Shown(cell) + " has no comma between font name and character set.");
  std::string_view rest = cell.substr(comma + 1);
  if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  std::string entry(cell.substr(0, comma + 1));
  if (auto code = CharsetCodeOf(rest)) return entry + std::to_string(*code);
  if (DecimalCode(rest)) return entry + std::string(rest);
  throw EFontCell("The font cell " + Shown(cell) + " names no character set.");
}

std::string DefaultFontCell() { return FontCellOfEntry(kDefaultCharSetsEntry).text; }

}  // namespace vorlect::vle
