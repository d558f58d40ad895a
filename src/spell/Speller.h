// Binding to a speller engine found through the proofing-tools registry keys: the engine state
// a spell checker holds, and how it is found, loaded, initialised and shut down.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "spell/CSAPI.h"

namespace vorlect::spell {

// Every engine failure: texts from SpellRes.
class ESpellError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Registry keys (under HKEY_LOCAL_MACHINE) the engines are registered under.
inline constexpr const char* kSpellingKey = "\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing Tools\\Spelling";
inline constexpr const char* kCustomDictionariesKey =
    "\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries";
// "<kSpellingKey>\<lcid>\Normal"
std::string SpellerKeyOf(unsigned lcid);

// Raises ESpellError "Spelling error No %d" unless the low 16 bits of an engine result are 0.
void CheckSpellResult(std::uint32_t result);

// The special-character record every checker gives its engine.
TSpellSpecialChars DefaultSpecialChars();

struct TSpellEntryPoints {
  TSpellVer SpellVer = nullptr;
  TSpellInit SpellInit = nullptr;
  TSpellOptions SpellOptions = nullptr;
  TSpellCheck SpellCheck = nullptr;
  TSpellTerminate SpellTerminate = nullptr;
  TSpellVerifyMdr SpellVerifyMdr = nullptr;
  TSpellOpenMdr SpellOpenMdr = nullptr;
  TSpellOpenUdr SpellOpenUdr = nullptr;
  TSpellAddUdr SpellAddUdr = nullptr;
  TSpellAddChangeUdr SpellAddChangeUdr = nullptr;
  TSpellDelUdr SpellDelUdr = nullptr;
  TSpellClearUdr SpellClearUdr = nullptr;
  TSpellGetSizeUdr SpellGetSizeUdr = nullptr;
  TSpellGetListUdr SpellGetListUdr = nullptr;
  TSpellCloseMdr SpellCloseMdr = nullptr;
  TSpellCloseUdr SpellCloseUdr = nullptr;
};

// The engine state of one spell checker: one engine library per opening, one language.
// Not thread-safe: a checker makes all engine calls from one thread.
class TSpeller {
public:
  TSpeller();
  ~TSpeller();  // closes, swallowing errors
  TSpeller(const TSpeller&) = delete;
  TSpeller& operator=(const TSpeller&) = delete;

  // Finds, loads, binds and initialises the engine for `language` and opens its main and custom
  // dictionaries; `onOpen` runs between setting the options and opening the dictionaries.
  // Without a registered speller (nor one for the primary language) it stays closed silently.
  // Throws ESpellError; after a failure past loading it stays open so that Close shuts it down.
  void Open(TLanguage language, std::uint16_t options, const std::function<void()>& onOpen = {});
  // Terminates the engine and unloads it. The library is unloaded even when termination fails;
  // that failure is raised afterwards.
  void Close();
  bool IsOpen() const { return open_; }

  // Sends a new option word when open.
  void SetOptions(std::uint16_t options);

  // Checked calls on the open engine.
  void Check(std::uint32_t command, TSpellInputRecord& input, TSpellReturnRecord& result);
  void AddUdr(std::uint32_t dictionary, const std::string& word);
  void AddChangeUdr(std::uint32_t dictionary, const std::string& word, const std::string& change);
  // An input record over `text` with this engine's dictionaries.
  TSpellInputRecord InputRecord(const char* text, std::uint16_t length, std::uint16_t state);

  // Called before every engine call after loading, with the entry point's name (instrumentation).
  std::function<void(const char* entryPoint)> OnEngineCall;

  std::uint32_t SpellerId() const { return spellerId_; }
  std::uint32_t& MainDictionary() { return mainDict_.reference; }
  std::uint32_t& UserDictionary() { return userDict_; }
  const TSpellMainDictRecord& MainDictRecord() const { return mainDict_; }
  const TSpellEntryPoints& EntryPoints() const { return entry_; }
  const TSpellSpecialChars& SpecialChars() const { return special_; }
  const std::string& EnginePath() const { return enginePath_; }
  const std::string& DictionaryPath() const { return dictionaryPath_; }
  const std::string& CustomDictionaryPath() const { return customPath_; }

private:
  void Unload();
  void Calling(const char* entryPoint) {
    if (OnEngineCall) OnEngineCall(entryPoint);
  }

  void* module_ = nullptr;
  std::string enginePath_, dictionaryPath_, customPath_;
  bool open_ = false;
  bool initialised_ = false;  // SpellInit succeeded: the id names a live engine instance
  std::uint32_t spellerId_ = 0;
  TSpellMainDictRecord mainDict_{};
  std::uint32_t userDict_ = 0;
  TSpellSpecialChars special_;
  TSpellEntryPoints entry_;
};

}  // namespace vorlect::spell
