#include "spell/Langs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <unicode/uloc.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/uchar.h>

#include "platform/CodePages.h"
#include "platform/pe/LanguageCodePages.h"

namespace vorlect::spell {
namespace {

constexpr size_t kMaxName = 255;

std::string FromUChars(const UChar* text, int32_t length) {
  std::string out = platform::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
  if (out.size() > kMaxName) {
    size_t cut = kMaxName;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

}  // namespace

std::string LocaleOfLanguage(TLanguage language) {
  if (language == 0) return {};
  char buffer[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = uloc_getLocaleForLCID(language, buffer, sizeof buffer - 1, &status);
  if (U_FAILURE(status) || n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

TLanguage LanguageOfLocale(std::string_view locale) {
  std::string name(locale);
  std::replace(name.begin(), name.end(), '-', '_');
  if (name.empty() || name.size() >= ULOC_FULLNAME_CAPACITY) return 0;
  const uint32_t lcid = uloc_getLCID(name.c_str());
  return lcid <= 0xFFFF ? static_cast<TLanguage>(lcid) : 0;
}

std::string LanguageName(TLanguage language, TLanguageNameKind kind) {
  const std::string locale = LocaleOfLanguage(language);
  if (locale.empty()) return {};
  UChar buffer[512];
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = 0;
  switch (kind) {
    case lnkLocalized:
      n = uloc_getDisplayName(locale.c_str(), nullptr, buffer, 511, &status);
      break;
    case lnkEnglish:
      n = uloc_getDisplayLanguage(locale.c_str(), "en", buffer, 511, &status);
      break;
    case lnkNative:
      n = uloc_getDisplayLanguage(locale.c_str(), locale.c_str(), buffer, 511, &status);
      break;
    case lnkAbbreviated: {
      std::string abbreviation = uloc_getISO3Language(locale.c_str());
      for (auto& c : abbreviation) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      return abbreviation;
    }
  }
  if (U_FAILURE(status) || n <= 0) return {};
  return FromUChars(buffer, std::min<int32_t>(n, 511));
}

TLanguage SystemDefaultLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of(".@"));  // "de_DE.UTF-8" -> "de_DE"
    if (locale == "C" || locale == "POSIX") break;
    if (const TLanguage language = LanguageOfLocale(locale); language != 0) return language;
    break;
  }
  return 1033;
}

bool IsInstalledLanguage(TLanguage language) {
  const std::string locale = LocaleOfLanguage(language);
  if (locale.empty()) return false;
  // ICU maps identifiers it only half knows to a bare language; accept what round-trips.
  return uloc_getLCID(locale.c_str()) == language;
}

bool SameTextIgnoreCase(std::string_view a, std::string_view b, int codePage) {
  if (a == b) return true;
  auto fold = [&](std::string_view s) {
    std::u16string u = platform::DecodeCodePage(s, codePage);
    std::u16string out(u.size() * 3 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = u_strFoldCase(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(u.size()),
                                    U_FOLD_CASE_DEFAULT, &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
    return U_SUCCESS(status) ? out : u;
  };
  return fold(a) == fold(b);
}

std::string UpperFirst(std::string_view text, TLanguage language) {
  if (text.empty()) return {};
  const int codePage = LanguageCodePage(language);
  const std::u16string u = platform::DecodeCodePage(text, codePage);
  if (u.empty()) return std::string(text);
  const size_t firstLen = U16_IS_LEAD(u[0]) && u.size() > 1 ? 2 : 1;
  UChar upper[8];
  UErrorCode status = U_ZERO_ERROR;
  const std::string locale = LocaleOfLanguage(language);
  const int32_t n = u_strToUpper(upper, 8, reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(firstLen),
                                 locale.c_str(), &status);
  if (U_FAILURE(status) || n <= 0 || n > 8) return std::string(text);
  std::u16string changed(reinterpret_cast<const char16_t*>(upper), static_cast<size_t>(n));
  changed += u.substr(firstLen);
  bool lossy = false;
  std::string out = platform::EncodeCodePage(changed, codePage, &lossy);
  return lossy ? std::string(text) : out;
}

int LanguageCodePage(TLanguage language) {
  const int cp = platform::AnsiCodePageOfLangId(language);
  return cp != 0 ? cp : platform::AnsiCodePage();
}

int LanguageCharset(TLanguage language) {
  switch (LanguageCodePage(language)) {
    case 1250: return 238;
    case 1251: return 204;
    case 1252: return 0;
    case 1253: return 161;
    case 1254: return 162;
    case 1255: return 177;
    case 1256: return 178;
    case 1257: return 186;
    case 1258: return 163;
    case 874: return 222;
    case 932: return 128;
    case 936: return 134;
    case 949: return 129;
    case 950: return 136;
    default: return 1;  // DEFAULT_CHARSET: the configured ANSI code page
  }
}

}  // namespace vorlect::spell
