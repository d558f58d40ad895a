#include "platform/pe/LanguageCodePages.h"

#include <algorithm>
#include <iterator>

namespace vorlect::platform {
namespace {

struct Entry {
  std::uint16_t primary;
  std::uint16_t codePage;
};

// By primary language, sorted; languages whose code page depends on the sub language are handled
// in AnsiCodePageOfLangId.
constexpr Entry kByPrimary[] = {
    {0x01, 1256}, {0x02, 1251}, {0x03, 1252}, {0x05, 1250}, {0x06, 1252}, {0x07, 1252}, {0x08, 1253},
    {0x09, 1252}, {0x0A, 1252}, {0x0B, 1252}, {0x0C, 1252}, {0x0D, 1255}, {0x0E, 1250}, {0x0F, 1252},
    {0x10, 1252}, {0x11, 932},  {0x12, 949},  {0x13, 1252}, {0x14, 1252}, {0x15, 1250}, {0x16, 1252},
    {0x17, 1252}, {0x18, 1250}, {0x19, 1251}, {0x1B, 1250}, {0x1C, 1250}, {0x1D, 1252}, {0x1E, 874},
    {0x1F, 1254}, {0x20, 1256}, {0x21, 1252}, {0x22, 1251}, {0x23, 1251}, {0x24, 1250}, {0x25, 1257},
    {0x26, 1257}, {0x27, 1257}, {0x28, 1251}, {0x29, 1256}, {0x2A, 1258}, {0x2D, 1252}, {0x2E, 1252},
    {0x2F, 1251}, {0x32, 1252}, {0x34, 1252}, {0x35, 1252}, {0x36, 1252}, {0x38, 1252}, {0x3B, 1252},
    {0x3C, 1252}, {0x3E, 1252}, {0x3F, 1251}, {0x40, 1251}, {0x41, 1252}, {0x42, 1250}, {0x44, 1251},
    {0x52, 1252}, {0x56, 1252}, {0x62, 1252}, {0x64, 1252}, {0x68, 1252}, {0x6A, 1252}, {0x6B, 1252},
    {0x6C, 1252}, {0x6D, 1251}, {0x6E, 1252}, {0x6F, 1252}, {0x70, 1252}, {0x7A, 1252}, {0x7C, 1252},
    {0x7E, 1252}, {0x7F, 1252}, {0x80, 1256}, {0x82, 1252}, {0x83, 1252}, {0x84, 1252}, {0x85, 1251},
    {0x86, 1252}, {0x87, 1252}, {0x88, 1252}, {0x8C, 1256}, {0x91, 1252}, {0x92, 1256},
};

}  // namespace

int AnsiCodePageOfLangId(std::uint16_t langId) {
  const std::uint16_t primary = langId & 0x3FF;
  const std::uint16_t sub = langId >> 10;
  switch (primary) {
    case 0x00:
      return 0;
    case 0x04:  // Chinese: simplified for PRC (2) and Singapore (4) and the plain script form
      return (sub == 2 || sub == 4 || sub == 0) ? 936 : 950;
    case 0x1A:  // Croatian, Serbian, Bosnian: the Cyrillic forms
      return (sub == 3 || sub == 7 || sub == 8 || sub == 10 || sub == 12) ? 1251 : 1250;
    case 0x2C:  // Azeri
    case 0x43:  // Uzbek
      return sub == 2 ? 1251 : 1254;
    case 0x50:  // Mongolian: Cyrillic; the traditional script has no ANSI code page
      return sub == 1 ? 1251 : 0;
    case 0x5D:  // Inuktitut: only the Latin form
    case 0x5F:  // Tamazight
      return sub == 2 ? 1252 : 0;
    case 0x46:  // Punjabi: the Pakistani (Arabic script) form
    case 0x59:  // Sindhi
      return sub == 2 ? 1256 : 0;
    default:
      break;
  }
  const auto it = std::lower_bound(std::begin(kByPrimary), std::end(kByPrimary), primary,
                                   [](const Entry& e, std::uint16_t p) { return e.primary < p; });
  return it != std::end(kByPrimary) && it->primary == primary ? it->codePage : 0;
}

}  // namespace vorlect::platform
