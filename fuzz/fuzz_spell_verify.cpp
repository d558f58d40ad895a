// The engine's verify (and suggest) on random bytes at random window positions, en_US dictionary.
// Input: byte 0 = options low, byte 1 = options high, byte 2 = spell state, bytes 3-4 = window
// start, bytes 5-6 = window length, byte 7 = language selector, the rest = text.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "spell/engine/SpellEngine.h"

namespace {

constexpr const char* kAff = "/usr/share/hunspell/en_US.aff";

struct Engine {
  std::uint32_t id = 0;
  std::uint32_t mdr[2] = {};
  std::uint32_t udr[2] = {vorlect::spell::kUdrIgnoreAlways, vorlect::spell::kUdrIgnoreAlways};
  bool ok = false;
  Engine() {
    if (::access(kAff, R_OK) != 0) {
      std::fprintf(stderr, "fuzz_spell_verify: %s is not installed, nothing to fuzz\n", kAff);
      return;
    }
    const TSpellSpecialChars special{0, 45, 31, 30, 151, 150, 133, {11, 10}, {13, 10}};
    if (SpellInit(&id, &special)) return;
    TSpellMainDictRecord record{};
    // One dictionary read as 1252 text, one as 932 (double-byte) text.
    if (SpellOpenMdr(id, kAff, nullptr, 0, 1, 1033, &record)) return;
    mdr[0] = record.reference;
    if (SpellOpenMdr(id, kAff, nullptr, 0, 1, 1041, &record)) return;
    mdr[1] = record.reference;
    SpellAddChangeUdr(id, vorlect::spell::kUdrChangeAlways, "teh", "the");
    SpellAddUdr(id, vorlect::spell::kUdrIgnoreAlways, "zzq");
    ok = true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static Engine engine;
  if (!engine.ok || size < 8) return 0;
  const std::uint32_t options = data[0] | (data[1] << 8);
  const std::uint16_t state = data[2] % 3;
  const std::string text(reinterpret_cast<const char*>(data + 8), size - 8);
  const size_t start = text.empty() ? 0 : (data[3] | (data[4] << 8)) % (text.size() + 1);
  const size_t length = std::min<size_t>((data[5] | (data[6] << 8)), text.size() - start);
  const int which = data[7] & 1;
  SpellOptions(engine.id, options);
  // Exactly the window, so reads outside it are caught.
  std::string window = text.substr(start, length);
  char* heap = new char[window.size() + 1];
  std::memcpy(heap, window.data(), window.size());
  std::uint32_t mdr = engine.mdr[which];
  TSpellInputRecord in{static_cast<std::uint16_t>(window.size()), 1, 1, state, heap, &mdr, &engine.udr[0]};
  char strings[64];
  std::uint8_t ratings[4];
  TSpellReturnRecord out{};
  out.strings = strings;
  out.stringCapacity = sizeof strings;
  out.ratings = ratings;
  out.ratingCapacity = sizeof ratings;
  // Walk the window as a background check does; every result must lie inside it.
  size_t pos = 0;
  for (int steps = 0; steps < 64 && pos <= window.size(); ++steps) {
    in.text = heap + pos;
    in.length = static_cast<std::uint16_t>(window.size() - pos);
    if (SpellCheck(engine.id, vorlect::spell::kCmdVerify, &in, &out) != 0) __builtin_trap();
    if (out.status == 0) break;
    if (out.errorOffset + out.errorLength > in.length || out.errorLength == 0) __builtin_trap();
    if (steps == 0 && (data[7] & 2) && out.errorLength <= 24) {
      TSpellInputRecord word = in;
      word.text = in.text + out.errorOffset;
      word.length = out.errorLength;
      SpellCheck(engine.id, vorlect::spell::kCmdSuggest, &word, &out);
      SpellCheck(engine.id, vorlect::spell::kCmdSuggestMore, &word, &out);
    }
    pos += out.errorOffset + out.errorLength;
    in.spellState = vorlect::spell::kStateContinue;
  }
  delete[] heap;
  return 0;
}
