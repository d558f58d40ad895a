#include "spell/Speller.h"

#include <cstdio>

#include "platform/Modules.h"
#include "platform/Registry.h"
#include "spell/SpellRes.h"

namespace vorlect::spell {
namespace {

std::string FormatRes(int id, const std::string& argument) {
  std::string text = SpellResString(id);
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

// Directory part of a path including its separator; both separators are accepted because
// registry values may come from the other world.
std::string DirectoryOf(const std::string& path) {
  const size_t at = path.find_last_of("/\\");
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace

std::string SpellerKeyOf(unsigned lcid) { return std::string(kSpellingKey) + "\\" + std::to_string(lcid) + "\\Normal"; }

void CheckSpellResult(std::uint32_t result) {
  const unsigned major = result & 0xFFFF;
  if (major == 0) return;
  std::string text = SpellResString(SpellErrorNo);
  text.replace(text.find("%d"), 2, std::to_string(major));
  throw ESpellError(text);
}

TSpellSpecialChars DefaultSpecialChars() { return {0, 45, 31, 30, 151, 150, 133, {11, 10}, {13, 10}}; }

TSpeller::TSpeller() : special_(DefaultSpecialChars()) {}

TSpeller::~TSpeller() {
  try {
    Close();
  } catch (...) {
  }
}

void TSpeller::Open(TLanguage language, std::uint16_t options, const std::function<void()>& onOpen) {
  if (open_) return;
  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  bool found = false;
  enginePath_.clear();
  dictionaryPath_.clear();
  for (const unsigned lcid : {unsigned(language), unsigned((language & 0x3FF) | 0x400)}) {
    if (reg.OpenKeyReadOnly(SpellerKeyOf(lcid))) {
      enginePath_ = reg.ReadString("Engine");
      dictionaryPath_ = reg.ReadString("Dictionary");
      found = true;
      break;
    }
  }
  reg.CloseKey();
  if (reg.OpenKey(kCustomDictionariesKey, true)) {
    customPath_ = reg.ReadString("1");
    // Without a speller there is no folder to derive from: storing a bare "CUSTOM.DIC" would
    // stick for every later opening.
    if (customPath_.empty() && found && !dictionaryPath_.empty()) {
      customPath_ = DirectoryOf(dictionaryPath_) + "CUSTOM.DIC";
      reg.WriteString("1", customPath_);
    }
  }
  if (!found) return;

  void* module = nullptr;
  try {
    module = platform::LoadModule(enginePath_);
  } catch (const platform::ModuleError&) {
    throw ESpellError(FormatRes(SpellDllLoadError, enginePath_));
  }
  TSpellEntryPoints e;
  bool complete = true;
  auto bind = [&](auto& slot, const char* name) {
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(platform::GetProcAddress(module, name));
    if (!slot) complete = false;
  };
  bind(e.SpellVer, "SpellVer");
  bind(e.SpellInit, "SpellInit");
  bind(e.SpellOptions, "SpellOptions");
  bind(e.SpellCheck, "SpellCheck");
  bind(e.SpellTerminate, "SpellTerminate");
  bind(e.SpellVerifyMdr, "SpellVerifyMdr");
  bind(e.SpellOpenMdr, "SpellOpenMdr");
  bind(e.SpellOpenUdr, "SpellOpenUdr");
  bind(e.SpellAddUdr, "SpellAddUdr");
  bind(e.SpellAddChangeUdr, "SpellAddChangeUdr");
  bind(e.SpellDelUdr, "SpellDelUdr");
  bind(e.SpellClearUdr, "SpellClearUdr");
  bind(e.SpellGetSizeUdr, "SpellGetSizeUdr");
  bind(e.SpellGetListUdr, "SpellGetListUdr");
  bind(e.SpellCloseMdr, "SpellCloseMdr");
  bind(e.SpellCloseUdr, "SpellCloseUdr");
  if (!complete) {
    platform::FreeModule(module);
    throw ESpellError(FormatRes(SpellDllLoadError, enginePath_));
  }
  module_ = module;
  entry_ = e;
  open_ = true;
  initialised_ = false;

  Calling("SpellInit");
  CheckSpellResult(entry_.SpellInit(&spellerId_, &special_));
  initialised_ = true;
  Calling("SpellOptions");
  CheckSpellResult(entry_.SpellOptions(spellerId_, options));
  if (onOpen) onOpen();
  mainDict_ = {};
  Calling("SpellOpenMdr");
  CheckSpellResult(entry_.SpellOpenMdr(spellerId_, dictionaryPath_.c_str(), nullptr, 0, 1, language, &mainDict_));
  std::uint32_t readOnly = 0;
  Calling("SpellOpenUdr");
  CheckSpellResult(entry_.SpellOpenUdr(spellerId_, customPath_.c_str(), 1, kUdrIgnoreAlways, &userDict_, &readOnly));
}

void TSpeller::Close() {
  if (!open_) return;
  open_ = false;
  std::uint32_t result = 0;
  if (initialised_) {
    Calling("SpellTerminate");
    result = entry_.SpellTerminate(spellerId_, 1);
  }
  initialised_ = false;
  Unload();
  CheckSpellResult(result);
}

void TSpeller::Unload() {
  void* module = module_;
  module_ = nullptr;
  entry_ = {};
  if (module && !platform::FreeModule(module)) throw ESpellError(FormatRes(SpellDllUnloadError, enginePath_));
}

void TSpeller::SetOptions(std::uint16_t options) {
  if (!open_ || !initialised_) return;
  Calling("SpellOptions");
  CheckSpellResult(entry_.SpellOptions(spellerId_, options));
}

void TSpeller::Check(std::uint32_t command, TSpellInputRecord& input, TSpellReturnRecord& result) {
  if (!open_) throw std::logic_error("speller engine is not open");
  Calling("SpellCheck");
  CheckSpellResult(entry_.SpellCheck(spellerId_, command, &input, &result));
}

void TSpeller::AddUdr(std::uint32_t dictionary, const std::string& word) {
  if (!open_) throw std::logic_error("speller engine is not open");
  Calling("SpellAddUdr");
  CheckSpellResult(entry_.SpellAddUdr(spellerId_, dictionary, word.c_str()));
}

void TSpeller::AddChangeUdr(std::uint32_t dictionary, const std::string& word, const std::string& change) {
  if (!open_) throw std::logic_error("speller engine is not open");
  Calling("SpellAddChangeUdr");
  CheckSpellResult(entry_.SpellAddChangeUdr(spellerId_, dictionary, word.c_str(), change.c_str()));
}

TSpellInputRecord TSpeller::InputRecord(const char* text, std::uint16_t length, std::uint16_t state) {
  return {length, 1, 1, state, text, &mainDict_.reference, &userDict_};
}

}  // namespace vorlect::spell
