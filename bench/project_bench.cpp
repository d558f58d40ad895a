// Project manager over a generated project: reading the catalogue (list), CSV export and import
// of every form, each timed as a ratio to `cat` of the same form files, and how each grows with
// the number of forms. With the command line given, the project spell check of a 2,000-form
// project with its suggestions, as a ratio to the export of the same project by the same program.
//
//   project_bench CORPUS [--large] [--vorlect VORLECT_EXE] [FORMS...]
//                                  default 200 and 2000 forms; --large adds 20000
//
// The forms are copies of the corpus's text forms, each with a translation component holding 20
// texts in 6 languages; one more project of the largest size below 20000 keeps every second form
// binary. Every project runs in its own process so that its peak RSS is its own. The generated
// files are written to the disk before anything is timed, so that no step pays for their
// write-back; `cat`, list and export each run once untimed to warm the caches and are then the
// median of several runs. Goals: list and export within 5x of cat, import within 20x; each step at
// ten times the forms within 12 times the time; memory flat in the forms; the spell check within
// 10 times the export.
#include "BenchProject.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/VLEMain.h"

#include <nuspell/dictionary.hxx>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace vorlect;
namespace fs = std::filesystem;
using namespace vorlect::bench;

namespace {

struct Times {
  double cat = 0, list = 0, exportTime = 0, importTime = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double TimeCat(const fs::path& folder) {
  const std::string cmd = "cat '" + folder.string() + "'/Form*.dfm > /dev/null";
  if (std::system(cmd.c_str()) != 0) return 0;  // warm the cache
  std::vector<double> runs;
  for (int i = 0; i < 5; ++i) {
    const auto t = Clock::now();
    if (std::system(cmd.c_str()) != 0) return 0;
    runs.push_back(Seconds(t));
  }
  return Median(runs);
}

int Run(const fs::path& corpus, int forms, bool binaryHalf, int out) {
  const auto templates = Templates(corpus);
  if (templates.empty()) {
    std::fprintf(stderr, "project_bench: no usable text forms in %s\n", corpus.c_str());
    return 1;
  }
  const fs::path folder = fs::path(platform::TempFolder()) / ("vorlect_project_bench_" + std::to_string(::getpid()));
  const std::string project = Generate(folder, forms, templates, binaryHalf);
  ::sync();  // the new files' write-back would otherwise weigh on whatever runs next
  std::ostringstream sink;
  ports::CliPorts quiet(ports::mrNo, sink);
  ports::ScopedPorts scope(quiet);
  vle::InfoSel = false;

  Times times;
  times.cat = TimeCat(folder);
  toolservices::HeadlessHost host(project);
  toolservices::SetHostServices(&host);

  // List: one untimed run, then the median of three.
  std::unique_ptr<vle::TFPrjList> catalogue;
  std::vector<double> runs;
  for (int i = 0; i < 4; ++i) {
    catalogue.reset();
    const auto t = Clock::now();
    catalogue = std::make_unique<vle::TFPrjList>(false, vle::TProgress{}, /*keepLines=*/false);
    if (i > 0) runs.push_back(Seconds(t));
  }
  times.list = Median(runs);
  catalogue->SelectAll();

  // Export: the same, each run writing a new file.
  const std::string csv = (folder / "All.csv").string();
  int exported = 0;
  runs.clear();
  for (int i = 0; i < 4; ++i) {
    platform::DeleteFile(csv);
    const auto t = Clock::now();
    exported = vle::ExportProject(*catalogue, csv, {}, false);
    if (i > 0) runs.push_back(Seconds(t));
  }
  times.exportTime = Median(runs);

  auto t = Clock::now();
  const int imported = vle::ImportProject(*catalogue, csv);
  times.importTime = Seconds(t);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double cat = std::max(times.cat, 1e-6);
  std::printf("%5d forms%s  cat %.3f s | list %.3f s = %5.1fx cat | export %.3f s = %5.1fx | import %.3f s = %5.1fx "
              "| %d exported, %d imported | peak RSS %ld MB\n",
              forms, binaryHalf ? " (half binary)" : "", times.cat, times.list, times.list / cat, times.exportTime,
              times.exportTime / cat, times.importTime, times.importTime / cat, exported, imported,
              usage.ru_maxrss / 1024);
  std::fflush(stdout);
  if (::write(out, &times, sizeof times) != static_cast<ssize_t>(sizeof times)) return 1;
  toolservices::SetHostServices(nullptr);
  catalogue.reset();
  std::error_code ec;
  fs::remove_all(folder, ec);
  return exported == forms && imported == forms ? 0 : 1;
}

// Runs one project in a child process; false when it failed.
bool RunChild(const char* corpus, int forms, bool binaryHalf, Times& times) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return false;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    _exit(Run(corpus, forms, binaryHalf, pipeFds[1]));
  }
  ::close(pipeFds[1]);
  const bool got = ::read(pipeFds[0], &times, sizeof times) == static_cast<ssize_t>(sizeof times);
  ::close(pipeFds[0]);
  int st = 0;
  waitpid(child, &st, 0);
  return got && WIFEXITED(st) && WEXITSTATUS(st) == 0;
}

// Seconds `command` takes through the shell; negative when it failed (exit status above `okUpTo`).
double TimeCommand(const std::string& command, int okUpTo = 0) {
  const auto t = Clock::now();
  const int rc = std::system(command.c_str());
  const double s = Seconds(t);
  return rc != -1 && WIFEXITED(rc) && WEXITSTATUS(rc) <= okUpTo ? s : -1;
}

// Words of a Hunspell dictionary that it accepts on their own (letters only: many stems are
// listed only to be combined or inflected), and `slipCount` slips it does not accept.
void DictionaryWords(const std::string& dictionary, size_t slipCount, std::vector<std::string>& words,
                     std::vector<std::string>& slips) {
  const std::string stem = "/usr/share/hunspell/" + dictionary;
  nuspell::Dictionary check;
  check.load_aff_dic(stem + ".aff");
  platform::LineReader in(stem + ".dic");
  std::string_view line;
  in.Next(line);  // the count
  while (in.Next(line)) {
    const std::string word(line.substr(0, line.find('/')));
    bool plain = word.size() > 2 && word.size() < 12;
    for (char c : word) plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
    if (plain && check.spell(word)) words.push_back(word);
  }
  std::mt19937 rng(11);
  while (slips.size() < slipCount && !words.empty()) {
    std::string w = words[rng() % words.size()];
    if (w.size() < 6) continue;
    std::swap(w[2], w[4]);
    w += "q";
    if (!check.spell(w)) slips.push_back(w);
  }
}

// The project spell check of `forms` forms with its suggestions against the export of the same
// project, both by the command line as a user runs them, in paired runs. Every language column
// holds words that its own speller language accepts, with one slip in every column of every form:
// 34 distinct slips over the project (five or six per language), as the text of the spell
// command's bench repeats its 34, and translators their few mistakes. Returns false when a run
// failed.
bool SpellAgainstExport(const fs::path& corpus, const std::string& vorlect, int forms) {
  static constexpr const char* kDictionaries[kLanguages] = {"en_US", "de_DE", "fr_FR", "fr_CA", "de_LU", "fr_BE"};
  std::vector<std::vector<std::string>> words, slips;
  constexpr size_t kSlips = 34;
  for (size_t b = 0; b < kLanguages; ++b) {
    const char* d = kDictionaries[b];
    const size_t slipCount = kSlips / kLanguages + (b < kSlips % kLanguages ? 1 : 0);
    if (!fs::exists("/usr/share/hunspell/" + std::string(d) + ".dic")) {
      std::printf("project spell check: dictionary %s not installed; skipped\n", d);
      return true;
    }
    DictionaryWords(d, slipCount, words.emplace_back(), slips.emplace_back());
    if (slips.back().size() < slipCount) {
      std::printf("project spell check: too few words in dictionary %s; skipped\n", d);
      return true;
    }
  }
  const TextMaker maker = [&](int form, int t, int b) {
    std::mt19937 rng(static_cast<unsigned>(form * 1000 + t * 10 + b));
    const auto& pool = words[static_cast<size_t>(b - 1)];
    std::string text;
    const int count = 4 + static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i) {
      text += i ? " " : "";
      const auto& slipsOf = slips[static_cast<size_t>(b - 1)];
      text += t == 1 + form % (kTexts - 1) && i == 1 ? slipsOf[static_cast<size_t>(form * 7 + b) % slipsOf.size()]
                                                     : pool[rng() % pool.size()];
    }
    return text;
  };

  const fs::path folder = fs::path(platform::TempFolder()) / ("vorlect_spell_bench_" + std::to_string(::getpid()));
  const std::string project = Generate(folder / "project", forms, Templates(corpus), false, maker);
  ::sync();
  fs::create_directories(folder / "registry");
  fs::create_directories(folder / "data");
  ::setenv("VORLECT_REGISTRY_DIR", (folder / "registry").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  const std::string exe = "'" + vorlect + "' ";
  std::string languages;
  for (const char* d : kDictionaries) languages += (languages.empty() ? "" : ",") + std::string(d);
  bool ok = TimeCommand(exe + "spellers register > /dev/null") >= 0 &&
            TimeCommand(exe + "languages set " + languages + " > /dev/null") >= 0;
  const std::string csv = (folder / "All.csv").string(), report = (folder / "problems.txt").string();
  const std::string exportCommand = exe + "project export '" + project + "' '" + csv + "' > /dev/null 2>&1";
  const std::string spellCommand = exe + "project spell '" + project + "' > '" + report + "'";
  // One untimed run of each warms the caches; then paired runs, so that a busy machine weighs on both alike.
  ok = ok && TimeCommand(exportCommand) >= 0 && TimeCommand(spellCommand, 1) >= 0;
  size_t problems = 0;
  if (ok) {
    const std::string text = platform::ReadFile(report);
    problems = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  std::vector<double> exportRuns, spellRuns;
  for (int i = 0; ok && i < 3; ++i) {
    platform::DeleteFile(csv);
    exportRuns.push_back(TimeCommand(exportCommand));
    spellRuns.push_back(TimeCommand(spellCommand, 1));
    ok = exportRuns.back() >= 0 && spellRuns.back() >= 0;
  }
  if (ok) {
    const double e = Median(exportRuns), sp = Median(spellRuns);
    std::printf("%5d forms, 6 speller languages: vorlect project spell (3 suggestions) %.2f s = %.1fx vorlect project "
                "export %.2f s | %zu problems of %zu distinct words (median of 3 paired runs)\n",
                forms, sp, sp / std::max(e, 1e-6), e, problems, kSlips);
  } else {
    std::fprintf(stderr, "project_bench: the spell check or export of %s failed\n", project.c_str());
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: project_bench CORPUS [--large] [--vorlect VORLECT_EXE] [FORMS...]\n");
    return 2;
  }
  std::vector<int> sizes;
  bool large = false;
  std::string vorlect;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--large") == 0) large = true;
    else if (std::strcmp(argv[i], "--vorlect") == 0 && i + 1 < argc) vorlect = fs::absolute(argv[++i]).string();
    else sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {200, 2000};
  if (large) sizes.push_back(20000);
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());

  int status = 0;
  std::vector<Times> results;
  for (int forms : sizes) {
    Times t;
    if (!RunChild(argv[1], forms, false, t)) status = 1;
    results.push_back(t);
  }
  for (size_t i = 1; i < sizes.size(); ++i) {
    const double grew = static_cast<double>(sizes[i]) / sizes[i - 1];
    auto ratio = [](double a, double b) { return a / std::max(b, 1e-6); };
    std::printf("growth %d -> %d forms (%.0fx the forms): list %.1fx, export %.1fx, import %.1fx, cat %.1fx\n",
                sizes[i - 1], sizes[i], grew, ratio(results[i].list, results[i - 1].list),
                ratio(results[i].exportTime, results[i - 1].exportTime),
                ratio(results[i].importTime, results[i - 1].importTime), ratio(results[i].cat, results[i - 1].cat));
  }
  // Export of a project whose forms are half binary (each binary form is converted to be read).
  int mixed = 0;
  for (int forms : sizes)
    if (forms < 20000) mixed = forms;
  if (mixed > 0) {
    Times t;
    if (!RunChild(argv[1], mixed, true, t)) status = 1;
  }
  if (!vorlect.empty() && !SpellAgainstExport(argv[1], vorlect, 2000)) status = 1;
  return status;
}
