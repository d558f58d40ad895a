// Records, constants and entry-point types of the speller engine interface.
//
// Shared by the binding (Speller) and our own engine module. The records use the platform's
// natural layout: with 4-byte pointers they are exactly the engines' 32-bit layout, with 8-byte
// pointers every pointer field is simply wider. All entry points use the C calling convention,
// take 32-bit scalars (16-bit values zero-extended) and return a 32-bit code whose low 16 bits
// are the major error (0 = success).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorlect::spell {

using TLanguage = std::uint16_t;

// Special characters given to the engine at initialisation (byte values in the text's code page).
struct TSpellSpecialChars {
  std::uint8_t ignore;          // 0
  std::uint8_t hardHyphen;      // 45
  std::uint8_t softHyphen;      // 31
  std::uint8_t nonBreakHyphen;  // 30
  std::uint8_t emDash;          // 151
  std::uint8_t enDash;          // 150
  std::uint8_t ellipsis;        // 133
  std::uint8_t lineBreak[2];    // 11, 10
  std::uint8_t paragraph[2];    // 13, 10
};

struct TSpellInputRecord {
  std::uint16_t length;      // characters to check from `text`
  std::uint16_t mainCount;   // entries in `mainDicts`
  std::uint16_t userCount;   // entries in `userDicts`
  std::uint16_t spellState;  // kStateNone, kStateContinue, kStateSentence
  const char* text;
  std::uint32_t* mainDicts;
  std::uint32_t* userDicts;
};

struct TSpellReturnRecord {
  std::uint16_t errorOffset;  // from the input record's text pointer
  std::uint16_t errorLength;
  std::uint16_t status;
  std::uint16_t stringCount;  // written by the engine
  std::uint16_t stringUsed;   // bytes written into `strings`, terminators included
  std::uint16_t stringCapacity;
  char* strings;              // zero-terminated strings, ended by an empty string
  std::uint8_t* ratings;      // one byte per string, or null
  std::uint16_t ratingCapacity;
};

struct TSpellMainDictRecord {
  std::uint32_t reference;
  std::uint16_t language;
  std::uint32_t exceptionReference;
};

static_assert(sizeof(TSpellSpecialChars) == 11);
static_assert(offsetof(TSpellInputRecord, text) == 8);
static_assert(offsetof(TSpellInputRecord, mainDicts) == 8 + sizeof(void*));
static_assert(offsetof(TSpellInputRecord, userDicts) == 8 + 2 * sizeof(void*));
static_assert(offsetof(TSpellReturnRecord, strings) == (sizeof(void*) == 4 ? 12 : 16));
static_assert(offsetof(TSpellReturnRecord, ratingCapacity) == (sizeof(void*) == 4 ? 20 : 32));
static_assert(offsetof(TSpellMainDictRecord, language) == 4);
static_assert(offsetof(TSpellMainDictRecord, exceptionReference) == 8);

// Check commands.
constexpr std::uint32_t kCmdVerify = 2;
constexpr std::uint32_t kCmdSuggest = 3;
constexpr std::uint32_t kCmdSuggestMore = 4;

// Spell states of the input record.
constexpr std::uint16_t kStateNone = 0;
constexpr std::uint16_t kStateContinue = 1;
constexpr std::uint16_t kStateSentence = 2;

// Statuses of the return record (`TSpellReturnCode` is the low 8 bits).
using TSpellReturnCode = std::uint8_t;
enum : std::uint16_t {
  kStatusNoErrors = 0,
  kStatusUnknownInputWord = 1,
  kStatusReturningChangeAlways = 2,
  kStatusReturningChangeOnce = 3,
  kStatusInvalidHyphenation = 4,
  kStatusErrorCapitalization = 5,
  kStatusWordConsideredAbbreviation = 6,
  kStatusNoMoreSuggestions = 8,
  kStatusNoSentenceStartCap = 10,
  kStatusRepeatWord = 11,
  kStatusExtraSpaces = 12,
  kStatusMissingSpace = 13,
  kStatusInitialNumeral = 14,
};

// Reserved user dictionary references: the engine's own lists of one speller id.
constexpr std::uint32_t kUdrChangeOnce = 0xFFFC;
constexpr std::uint32_t kUdrChangeAlways = 0xFFFD;
constexpr std::uint32_t kUdrIgnoreAlways = 0xFFFE;

// Option word: bit i is TSpellOption ordinal i.
enum TSpellOption : unsigned {
  spoSuggestFromUserDict,
  spoIgnoreAllCaps,
  spoIgnoreMixedDigits,
  spoIgnoreRomanNumerals,
  spoFindUncappedSentences,
  spoFindMissingSpaces,
  spoFindRepeatWord,
  spoFindExtraSpaces,
  spoFindSpacesBeforePunc,
  spoFindSpacesAfterPunc,
  spoRateSuggestions,
  spoFindInitialNumerals,
};
constexpr std::uint32_t OptionBit(TSpellOption o) { return 1u << o; }

// Major errors our engine returns (low 16 bits); the high 16 bits carry a detail code.
constexpr std::uint32_t kSecOutOfMemory = 1;
constexpr std::uint32_t kSecModuleError = 2;  // bad speller id, bad argument
constexpr std::uint32_t kSecIOErrorMdr = 3;   // main dictionary cannot be read
constexpr std::uint32_t kSecIOErrorUdr = 4;   // user dictionary cannot be read, created or written
constexpr std::uint32_t kSecDetailInvalidId = 1u << 16;
constexpr std::uint32_t kSecDetailInvalidArgument = 2u << 16;
constexpr std::uint32_t kSecDetailInvalidDictionary = 3u << 16;
constexpr std::uint32_t kSecDetailReadOnly = 4u << 16;
constexpr std::uint32_t kSecDetailNotFound = 5u << 16;

extern "C" {
// Scalars are 32-bit; `Bool` arguments are 0 or 1.
using TSpellVer = std::uint32_t (*)(std::uint32_t* version, std::uint32_t* engine, std::uint32_t* spellType);
using TSpellInit = std::uint32_t (*)(std::uint32_t* spellerId, const TSpellSpecialChars* special);
using TSpellOptions = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t options);
using TSpellCheck = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t command, TSpellInputRecord* input,
                                      TSpellReturnRecord* result);
using TSpellTerminate = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t force);
using TSpellVerifyMdr = std::uint32_t (*)(const char* mainPath, std::uint32_t expectedLanguage,
                                          std::uint32_t* language);
using TSpellOpenMdr = std::uint32_t (*)(std::uint32_t spellerId, const char* mainPath, const char* exceptionPath,
                                        std::uint32_t createException, std::uint32_t cache,
                                        std::uint32_t expectedLanguage, TSpellMainDictRecord* record);
using TSpellOpenUdr = std::uint32_t (*)(std::uint32_t spellerId, const char* userPath, std::uint32_t create,
                                        std::uint32_t dictType, std::uint32_t* userDict, std::uint32_t* readOnly);
using TSpellAddUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, const char* word);
using TSpellAddChangeUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, const char* word,
                                             const char* change);
using TSpellDelUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, const char* word);
using TSpellClearUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict);
using TSpellGetSizeUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t* count);
using TSpellGetListUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t first,
                                           TSpellReturnRecord* result);
using TSpellCloseMdr = std::uint32_t (*)(std::uint32_t spellerId, TSpellMainDictRecord* record);
using TSpellCloseUdr = std::uint32_t (*)(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t force);
}

}  // namespace vorlect::spell
