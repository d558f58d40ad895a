#include "SpellTestUtil.h"

#include <stdlib.h>

#include <cstdlib>

#include <filesystem>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>

#include "platform/CodePages.h"
#include "platform/Registry.h"
#include "spell/Langs.h"
#include "spell/SpellerRegistration.h"

namespace vorlect::spell::test {
namespace fs = std::filesystem;

bool HasDictionary(const std::string& locale) {
  return fs::exists(std::string(kSystemDictionaries) + "/" + locale + ".dic") &&
         fs::exists(std::string(kSystemDictionaries) + "/" + locale + ".aff");
}

void SpellTest::SetUp() {
  std::string templ = fs::temp_directory_path() / "vorlect_spell_XXXXXX";
  ASSERT_NE(::mkdtemp(templ.data()), nullptr);
  dir_ = templ;
  fs::create_directories(dir_ + "/registry");
  fs::create_directories(dir_ + "/data");
  ::setenv("VORLECT_REGISTRY_DIR", (dir_ + "/registry").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
}

void SpellTest::TearDown() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

bool SpellTest::RegisterSystem(const std::string& locale) {
  if (!HasDictionary(locale)) return false;
  // Registration writes a few dozen registry files, each flushed to disk; it runs once and each
  // test starts from a copy, with the custom dictionary in its own data folder.
  // Kept until exit (and then removed); never destroyed, so the exit handler can still read it.
  static const std::string* registered = [] {
    std::string templ = fs::temp_directory_path() / "vorlect_spell_registered_XXXXXX";
    if (!::mkdtemp(templ.data())) return new std::string();
    const std::string registry = std::getenv("VORLECT_REGISTRY_DIR");
    ::setenv("VORLECT_REGISTRY_DIR", templ.c_str(), 1);
    std::string report;
    RegisterSpellers(report, {kSystemDictionaries}, DefaultEnginePath());
    ::setenv("VORLECT_REGISTRY_DIR", registry.c_str(), 1);
    auto* path = new std::string(templ);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(*registered, ec);
    });
    return path;
  }();
  fs::copy(*registered, dir_ + "/registry", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  {
    platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
    const std::string custom = DefaultCustomDictionary();
    fs::create_directories(fs::path(custom).parent_path());
    if (reg.OpenKey(kCustomDictionariesKey, true)) reg.WriteString("1", custom);
  }
  // One engine per dictionary stays open for the whole run: the engine shares loaded
  // dictionaries between its spellers, so later tests do not load them again (~0.5 s each).
  // They are never closed: at exit the engine module may be torn down before them.
  static auto* keepers = new std::map<std::string, std::unique_ptr<TSpeller>>();
  if (!keepers->count(locale)) {
    auto keeper = std::make_unique<TSpeller>();
    keeper->Open(LanguageOfLocale(locale), 0);
    (*keepers)[locale] = std::move(keeper);
  }
  return true;
}

void PrintTo(const Found& f, std::ostream* os) {
  *os << "{" << f.status << ", \"" << f.text << "\", " << f.offset << ", \"" << f.firstString << "\"}";
}

std::vector<Found> VerifyAll(TSpeller& speller, const std::string& text) {
  std::vector<Found> found;
  std::vector<char> strings(256);
  size_t pos = 0;
  std::uint16_t state = kStateSentence;
  while (pos <= text.size()) {
    TSpellInputRecord in = speller.InputRecord(text.data() + pos, static_cast<std::uint16_t>(text.size() - pos), state);
    TSpellReturnRecord out{};
    out.strings = strings.data();
    out.stringCapacity = 255;
    speller.Check(kCmdVerify, in, out);
    if (out.status == kStatusNoErrors) break;
    found.push_back({out.status, text.substr(pos + out.errorOffset, out.errorLength),
                     static_cast<unsigned>(pos + out.errorOffset), out.stringCount ? std::string(strings.data()) : ""});
    pos += out.errorOffset + out.errorLength;
    state = kStateContinue;
    if (found.size() > 1000) break;
  }
  return found;
}

std::vector<std::string> SuggestAll(TSpeller& speller, const std::string& word) {
  std::vector<std::string> list;
  std::vector<char> strings(2048);
  std::vector<std::uint8_t> ratings(256);
  TSpellInputRecord in = speller.InputRecord(word.data(), static_cast<std::uint16_t>(word.size()), kStateNone);
  TSpellReturnRecord out{};
  out.strings = strings.data();
  out.stringCapacity = 2047;
  out.ratings = ratings.data();
  out.ratingCapacity = 255;
  speller.Check(kCmdSuggest, in, out);
  for (int rounds = 0; out.status != kStatusNoMoreSuggestions && rounds < 100; ++rounds) {
    for (const char* s = strings.data(); *s; s += std::strlen(s) + 1) list.emplace_back(s);
    speller.Check(kCmdSuggestMore, in, out);
  }
  return list;
}

std::string ToCp(const std::string& utf8, int codePage) {
  return platform::EncodeCodePage(platform::Utf8ToUtf16(utf8), codePage);
}
std::string FromCp(const std::string& bytes, int codePage) {
  return platform::Utf16ToUtf8(platform::DecodeCodePage(bytes, codePage));
}

}  // namespace vorlect::spell::test
