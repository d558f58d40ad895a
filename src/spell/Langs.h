// Language helpers shared by the spell checker and the language setup: names, code pages and
// character sets of Windows locale identifiers, and the locale names dictionaries are filed under.
#pragma once

#include <string>
#include <string_view>

#include "spell/CSAPI.h"

namespace vorlect::spell {

// Kinds of language name: in the user's language, English, native, abbreviated ("DEU").
enum TLanguageNameKind { lnkLocalized = 0, lnkEnglish = 1, lnkNative = 2, lnkAbbreviated = 3 };

// Display name in the user's language, e.g. 1031 -> "German (Germany)"; at most 255 bytes, UTF-8.
// Empty for an identifier no locale answers to.
std::string LanguageName(TLanguage language, TLanguageNameKind kind = lnkLocalized);
// The locale's ANSI code page; the configured ANSI code page when it has none.
int LanguageCodePage(TLanguage language);
// The font character set of LanguageCodePage (1250 -> 238, 1251 -> 204, 1252 -> 0 ...).
int LanguageCharset(TLanguage language);

// Locale name of a language ("de_DE"), empty when unknown.
std::string LocaleOfLanguage(TLanguage language);
// Language of a locale name ("de_DE", "de-CH", "pt_BR"); 0 when unknown. A name without a
// region ("fr") gives the neutral identifier (primary language only).
TLanguage LanguageOfLocale(std::string_view locale);

}  // namespace vorlect::spell
