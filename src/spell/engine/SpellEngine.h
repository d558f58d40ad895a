// The sixteen entry points of our speller engine module (libvorlectspell.so), over Nuspell.
//
// Texts arrive in the ANSI code page of the language the main dictionary was opened for and are
// converted to UTF-8 for Nuspell; strings handed back are in that code page again. Suggestions
// that code page cannot hold are left out.
//
// Thread safety: every entry point may be called from any thread. Calls naming one speller id are
// serialised by that speller's lock; different speller ids run in parallel and share loaded
// dictionaries read-only. Terminating an id while another thread is inside a call on it is safe:
// that call finishes on its own copy of the state.
//
// The custom dictionary is a plain word file: UTF-8, one word per line (LF; CR LF and a byte-order
// mark are accepted on reading). Added words are appended at once, so the file is complete after
// every call; deletions rewrite it atomically.
#pragma once

#include "spell/CSAPI.h"

#define VORLECT_SPELL_EXPORT extern "C" __attribute__((visibility("default")))

namespace vorlect::spell::engine {
// Engine version reported by SpellVer.
constexpr std::uint32_t kEngineVersion = 0x0100;
constexpr std::uint32_t kEngineId = 0x564C;  // "VL"
// Words longer than this are reported unknown without a dictionary look-up.
constexpr std::size_t kMaxWordChars = 100;
}  // namespace vorlect::spell::engine

using vorlect::spell::TSpellInputRecord;
using vorlect::spell::TSpellMainDictRecord;
using vorlect::spell::TSpellReturnRecord;
using vorlect::spell::TSpellSpecialChars;

VORLECT_SPELL_EXPORT std::uint32_t SpellVer(std::uint32_t* version, std::uint32_t* engine, std::uint32_t* spellType);
VORLECT_SPELL_EXPORT std::uint32_t SpellInit(std::uint32_t* spellerId, const TSpellSpecialChars* special);
VORLECT_SPELL_EXPORT std::uint32_t SpellOptions(std::uint32_t spellerId, std::uint32_t options);
VORLECT_SPELL_EXPORT std::uint32_t SpellCheck(std::uint32_t spellerId, std::uint32_t command,
                                              TSpellInputRecord* input, TSpellReturnRecord* result);
VORLECT_SPELL_EXPORT std::uint32_t SpellTerminate(std::uint32_t spellerId, std::uint32_t force);
VORLECT_SPELL_EXPORT std::uint32_t SpellVerifyMdr(const char* mainPath, std::uint32_t expectedLanguage,
                                                  std::uint32_t* language);
VORLECT_SPELL_EXPORT std::uint32_t SpellOpenMdr(std::uint32_t spellerId, const char* mainPath,
                                                const char* exceptionPath, std::uint32_t createException,
                                                std::uint32_t cache, std::uint32_t expectedLanguage,
                                                TSpellMainDictRecord* record);
VORLECT_SPELL_EXPORT std::uint32_t SpellOpenUdr(std::uint32_t spellerId, const char* userPath, std::uint32_t create,
                                                std::uint32_t dictType, std::uint32_t* userDict,
                                                std::uint32_t* readOnly);
VORLECT_SPELL_EXPORT std::uint32_t SpellAddUdr(std::uint32_t spellerId, std::uint32_t userDict, const char* word);
VORLECT_SPELL_EXPORT std::uint32_t SpellAddChangeUdr(std::uint32_t spellerId, std::uint32_t userDict,
                                                     const char* word, const char* change);
VORLECT_SPELL_EXPORT std::uint32_t SpellDelUdr(std::uint32_t spellerId, std::uint32_t userDict, const char* word);
VORLECT_SPELL_EXPORT std::uint32_t SpellClearUdr(std::uint32_t spellerId, std::uint32_t userDict);
VORLECT_SPELL_EXPORT std::uint32_t SpellGetSizeUdr(std::uint32_t spellerId, std::uint32_t userDict,
                                                   std::uint32_t* count);
VORLECT_SPELL_EXPORT std::uint32_t SpellGetListUdr(std::uint32_t spellerId, std::uint32_t userDict,
                                                   std::uint32_t first, TSpellReturnRecord* result);
VORLECT_SPELL_EXPORT std::uint32_t SpellCloseMdr(std::uint32_t spellerId, TSpellMainDictRecord* record);
VORLECT_SPELL_EXPORT std::uint32_t SpellCloseUdr(std::uint32_t spellerId, std::uint32_t userDict,
                                                 std::uint32_t force);
