// Verify throughput of our engine through the sixteen-entry-point binding, against Nuspell called
// directly on the same words and against `hunspell -l` on the same text, in one run.
//
// The text is ~1 MB of sentences made from en_US dictionary words with about 2 % misspelt ones.
// The binding is driven as a background check drives it: windows of up to 64 KB, each problem
// moves the text pointer behind it with spell state "continues".
//
// Usage: bench_spell [megabytes]
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nuspell/dictionary.hxx>

#include "spell/Speller.h"
#include "spell/SpellerRegistration.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace vorlect::spell;

constexpr const char* kStem = "/usr/share/hunspell/en_US";

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

std::vector<std::string> DictionaryWords() {
  std::ifstream in(std::string(kStem) + ".dic");
  std::string line;
  std::getline(in, line);  // count
  std::vector<std::string> words;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('/'));
    bool plain = !line.empty() && line.size() < 14;
    for (char c : line) plain = plain && c >= 'a' && c <= 'z';
    if (plain) words.push_back(line);
  }
  return words;
}

std::string MakeText(size_t bytes) {
  const std::vector<std::string> words = DictionaryWords();
  std::mt19937 rng(42);
  std::string text;
  bool start = true;
  while (text.size() < bytes) {
    std::string w = words[rng() % words.size()];
    if (rng() % 50 == 0 && w.size() > 3) std::swap(w[1], w[2]);  // a typo
    if (start) w[0] = static_cast<char>(w[0] - 'a' + 'A');
    text += w;
    const unsigned r = rng() % 12;
    start = r == 0;
    text += r == 0 ? ". " : r == 1 ? ", " : " ";
    if (rng() % 40 == 0) text += "\r\n";
  }
  return text;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string w;
  for (char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'') {
      w += c;
    } else if (!w.empty()) {
      words.push_back(std::move(w));
      w.clear();
    }
  }
  if (!w.empty()) words.push_back(w);
  return words;
}

// Problems found through the binding over the whole text.
size_t VerifyThroughBinding(TSpeller& speller, const std::string& text) {
  size_t problems = 0, pos = 0;
  std::vector<char> strings(256);
  while (pos < text.size()) {
    size_t end = std::min(text.size(), pos + 65535);
    if (end < text.size())
      while (end > pos && text[end - 1] != ' ') --end;  // whole words per window
    std::uint16_t state = kStateSentence;
    while (pos < end) {
      TSpellInputRecord in = speller.InputRecord(text.data() + pos, static_cast<std::uint16_t>(end - pos), state);
      TSpellReturnRecord out{};
      out.strings = strings.data();
      out.stringCapacity = 255;
      speller.Check(kCmdVerify, in, out);
      if (out.status == kStatusNoErrors) break;
      ++problems;
      pos += out.errorOffset + out.errorLength;
      state = kStateContinue;
    }
    pos = end;
  }
  return problems;
}

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
  if (!fs::exists(std::string(kStem) + ".aff")) {
    std::printf("spell bench: %s.aff is not installed, skipped\n", kStem);
    return 0;
  }
  std::string scratch = (fs::temp_directory_path() / "vorlect_spell_bench_XXXXXX").string();
  if (!::mkdtemp(scratch.data())) return 1;
  ::setenv("VORLECT_REGISTRY_DIR", scratch.c_str(), 1);
  ::setenv("XDG_DATA_HOME", scratch.c_str(), 1);
  std::string report;
  RegisterSpellers(report, {"/usr/share/hunspell"}, DefaultEnginePath());

  const std::string text = MakeText(static_cast<size_t>(megabytes * 1024 * 1024));
  const std::vector<std::string> words = Words(text);
  const std::string textFile = scratch + "/text.txt";
  std::ofstream(textFile, std::ios::binary) << text;

  TSpeller speller;
  speller.Open(1033, 0);
  if (!speller.IsOpen()) {
    std::printf("spell bench: no speller registered for 1033\n");
    return 1;
  }
  nuspell::Dictionary direct;
  direct.load_aff_dic(std::string(kStem) + ".aff");

  double best[3] = {1e9, 1e9, 1e9};
  size_t problems = 0, unknown = 0;
  for (int round = 0; round < 3; ++round) {
    // Nuspell first, so neither side profits from the other's warm caches more than once.
    auto t0 = Clock::now();
    unknown = 0;
    for (const std::string& w : words) unknown += !direct.spell(w);
    auto t1 = Clock::now();
    problems = VerifyThroughBinding(speller, text);
    auto t2 = Clock::now();
    const std::string command = "hunspell -d " + std::string(kStem) + " -l < " + textFile + " > /dev/null";
    if (std::system(command.c_str()) != 0) std::printf("(hunspell -l failed)\n");
    auto t3 = Clock::now();
    best[1] = std::min(best[1], Seconds(t0, t1));
    best[0] = std::min(best[0], Seconds(t1, t2));
    best[2] = std::min(best[2], Seconds(t2, t3));
  }
  speller.Close();
  fs::remove_all(scratch);

  const double n = static_cast<double>(words.size());
  std::printf("spell verify, %.2f MB, %zu words (best of 3)\n", text.size() / 1048576.0, words.size());
  std::printf("  binding (16 entry points): %7.3f s  %6.2f M words/s  %zu problems\n", best[0], n / best[0] / 1e6, problems);
  std::printf("  Nuspell direct:            %7.3f s  %6.2f M words/s  %zu unknown\n", best[1], n / best[1] / 1e6, unknown);
  std::printf("  hunspell -l:               %7.3f s  %6.2f M words/s\n", best[2], n / best[2] / 1e6);
  std::printf("  ratio binding / Nuspell direct: %.2f (goal >= 0.7)\n", best[1] / best[0]);
  std::printf("  ratio binding / hunspell -l:    %.2f (goal >= 3)\n", best[2] / best[0]);
  return 0;
}
