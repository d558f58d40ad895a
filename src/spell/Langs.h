// Language helpers shared by the spell checker and the language setup: names, code pages and
// character sets of Windows locale identifiers, and the locale names dictionaries are filed under.
#pragma once

#include <string>
#include <string_view>

#include "spell/CSAPI.h"

namespace vorlect::spell {

// Kinds of language name: in the user's language, English, native, abbreviated ("DEU").
enum TLanguageNameKind { lnkLocalized = 0, lnkEnglish = 1, lnkNative = 2, lnkAbbreviated = 3 };

// Display name in the user's language, e.g. 1031 -> "German (Germany)"; at most 255 bytes.
// UTF-8, not an ANSI code page: the names are only ever shown (column titles, the speller
// dialog's caption, `spellers list`) and never stored, and one list holds names in many scripts.
// Empty for an identifier no locale answers to.
std::string LanguageName(TLanguage language, TLanguageNameKind kind = lnkLocalized);
// The locale's ANSI code page; the configured ANSI code page when it has none.
int LanguageCodePage(TLanguage language);
// The font character set of LanguageCodePage (1250 -> 238, 1251 -> 204, 1252 -> 0 ...).
int LanguageCharset(TLanguage language);

// The system's default language: the locale of the environment (LC_ALL, LC_MESSAGES, LANG);
// 1033 when it names none.
TLanguage SystemDefaultLanguage();
// Whether an installed locale answers to `language`.
bool IsInstalledLanguage(TLanguage language);

// Code-page texts compared without regard to case (Unicode case folding).
bool SameTextIgnoreCase(std::string_view a, std::string_view b, int codePage);
// The text with its first character in upper case by the rules of `language` ("istanbul" ->
// "İstanbul" in Turkish); bytes in the language's code page. Unchanged when the upper-case
// letter does not exist in that code page.
std::string UpperFirst(std::string_view text, TLanguage language);

// Locale name of a language ("de_DE"), empty when unknown.
std::string LocaleOfLanguage(TLanguage language);
// Language of a locale name ("de_DE", "de-CH", "pt_BR"); 0 when unknown. A name without a
// region ("fr") gives the neutral identifier (primary language only).
TLanguage LanguageOfLocale(std::string_view locale);

}  // namespace vorlect::spell
