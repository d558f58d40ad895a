// `vorlect spell check` with its default suggestions against the Hunspell command line on the
// same text, in one run: `hunspell -a` (every problem with its suggestions, as ours prints them)
// and `hunspell -l` (the problems alone).
//
// The text is made of en_US dictionary words with one problem about every 2 KB, drawn from 34
// distinct misspelt words, as a long document repeats its few mistakes.
//
// Usage: bench_spell_command VORLECT_EXE [megabytes]   (default 0.25)
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kStem = "/usr/share/hunspell/en_US";

std::vector<std::string> DictionaryWords() {
  std::ifstream in(std::string(kStem) + ".dic");
  std::string line;
  std::getline(in, line);  // count
  std::vector<std::string> words;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('/'));
    bool plain = line.size() > 2 && line.size() < 12;
    for (char c : line) plain = plain && c >= 'a' && c <= 'z';
    if (plain) words.push_back(line);
  }
  return words;
}

std::string MakeText(size_t bytes, size_t& problems) {
  const std::vector<std::string> words = DictionaryWords();
  std::mt19937 rng(7);
  std::vector<std::string> typos;
  while (typos.size() < 34) {
    std::string w = words[rng() % words.size()];
    if (w.size() < 6) continue;
    std::swap(w[2], w[4]);
    w += "q";  // no English word ends so
    typos.push_back(w);
  }
  std::string text;
  size_t sinceTypo = 0;
  problems = 0;
  while (text.size() < bytes) {
    std::string w = words[rng() % words.size()];
    if (sinceTypo > 2000) {
      w = typos[rng() % typos.size()];
      sinceTypo = 0;
      ++problems;
    }
    text += w;
    text += rng() % 15 == 0 ? "\n" : " ";
    sinceTypo += w.size() + 1;
  }
  return text;
}

// Seconds `command` takes through the shell; negative when it could not run.
double Time(const std::string& command) {
  const auto t = Clock::now();
  const int rc = std::system(command.c_str());
  const double s = std::chrono::duration<double>(Clock::now() - t).count();
  if (rc == -1 || !WIFEXITED(rc) || WEXITSTATUS(rc) == 127) return -1;
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s VORLECT_EXE [megabytes]\n", argv[0]);
    return 2;
  }
  const std::string vorlect = fs::absolute(argv[1]).string();
  const double megabytes = argc > 2 ? std::max(0.01, std::atof(argv[2])) : 0.25;
  if (!fs::exists(std::string(kStem) + ".dic") || Time("command -v hunspell > /dev/null") < 0) {
    std::printf("bench_spell_command: en_US dictionary or hunspell not installed; skipped\n");
    return 0;
  }
  const fs::path work = fs::temp_directory_path() / ("vorlect-spell-bench-" + std::to_string(getpid()));
  fs::create_directories(work / "registry");
  fs::create_directories(work / "data");
  ::setenv("VORLECT_REGISTRY_DIR", (work / "registry").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
  if (Time("'" + vorlect + "' spellers register > /dev/null 2>&1") < 0) {
    std::fprintf(stderr, "bench_spell_command: cannot run %s\n", vorlect.c_str());
    return 1;
  }
  size_t problems = 0;
  const std::string text = MakeText(static_cast<size_t>(megabytes * 1048576), problems);
  const std::string file = (work / "text.txt").string();
  std::ofstream(file, std::ios::binary) << text;

  const std::string ours = "'" + vorlect + "' spell check --language 1033 '" + file + "' > /dev/null";
  const std::string ask = "hunspell -a -d en_US < '" + file + "' > /dev/null";
  const std::string list = "hunspell -l -d en_US '" + file + "' > /dev/null";
  std::vector<double> oursRuns, listRuns;
  for (int i = 0; i < 3; ++i) {
    oursRuns.push_back(Time(ours));
    listRuns.push_back(Time(list));
  }
  const double askTime = Time(ask);  // slow: once
  const double o = Median(oursRuns), l = Median(listRuns);
  std::printf("text: %.2f MB, %zu problems of 34 distinct words\n", text.size() / 1048576.0, problems);
  std::printf("vorlect spell check (3 suggestions): %.2f s | hunspell -a: %.2f s = %.1fx ours | hunspell -l "
              "(no suggestions): %.2f s = %.2fx ours\n",
              o, askTime, askTime / std::max(o, 1e-6), l, l / std::max(o, 1e-6));
  std::error_code ec;
  fs::remove_all(work, ec);
  return 0;
}
