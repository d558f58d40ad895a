// Translation editor: the table-wide commands on tables of 2,000 and 20,000 rows of 8 languages.
//
//   editor_bench     prints each command's time at both sizes and their ratio; a linear command
//                    gives about 10, a quadratic one 100. Every step starts with the caches
//                    emptied, so that the smaller table does not run from the caches while the
//                    larger one runs from memory. The baseline is one read of every cell of the
//                    grid: its ratio shows what the memory still adds at the larger size. Exits 1
//                    when a command's ratio reaches 15 and twice the baseline's (a quadratic
//                    command gives ten times the baseline). Times are the fastest of several runs.
#include "BenchCaches.h"
#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/editor/VLEditor.h"

#include <malloc.h>
#include <stdlib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace vorlect;

namespace {

constexpr int kLanguages = 8;

// A form of rows / 2 buttons (caption and hint rows each) whose table holds most of them; a tenth
// of the buttons are new to the table. Some cells are empty: every fourth caption in the last
// language (an earlier row has the same text in the first language), every tenth hint in two
// languages with nothing to take them from.
struct BenchTable {
  std::unique_ptr<host::TForm> form = std::make_unique<host::TForm>(nullptr);
  runtime::TVorlect* vorlect = nullptr;

  explicit BenchTable(int rows) {
    form->SetName("BenchForm");
    host::SetStrProp(*form, "Caption", "Bench");
    const host::ClassInfo& button = host::FindClass("TButton");
    vorlect = new runtime::TVorlect(form.get());
    vorlect->SetName("Vorlect1");
    vorlect->SetStateFlag(host::csLoading, true);
    vorlect->SetLanguages(kLanguages);
    vorlect->SetStateFlag(host::csLoading, false);
    host::TStringList* words = vorlect->Words();
    words->BeginUpdate();
    const int components = rows / 2;
    for (int c = 0; c < components; ++c) {
      host::TComponent* b = button.CreateComponent(form.get());
      const std::string name = "Button" + std::to_string(c + 1);
      b->SetName(name);
      const std::string caption = "Caption " + std::to_string(c / 2);  // pairs share their text
      host::SetStrProp(*b, "Caption", caption);
      host::SetStrProp(*b, "Hint", "Hint " + std::to_string(c));
      if (c % 10 == 9) continue;  // new to the table
      words->Add(name);
      for (int l = 0; l < kLanguages; ++l)
        words->Add(l == 0 ? caption : (c % 4 == 3 && l == kLanguages - 1) ? "" : caption + " in " + std::to_string(l));
      words->Add("\".Hint");
      for (int l = 0; l < kLanguages; ++l)
        words->Add(l == 0 ? "Hint " + std::to_string(c) : (c % 10 == 5 && l >= kLanguages - 2) ? "" : "Hint in " + std::to_string(l) + " " + std::to_string(c));
    }
    words->EndUpdate();
  }
};

// CPU time of this thread: other processes on a busy machine do not count.
double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

using bench::EvictCaches;

using Step = std::function<void(vle::TFEditVorlect&, const std::string& csv)>;

// The fastest of `runs` fresh runs of every step, in order, on a table of `rows` rows.
std::map<std::string, double> Measure(int rows, int runs, const std::vector<std::pair<std::string, Step>>& steps,
                                      const std::string& csv) {
  std::map<std::string, double> best;
  for (int run = 0; run < runs; ++run) {
    BenchTable table(rows);
    vle::TFEditVorlect editor(*table.vorlect);
    for (const auto& [name, step] : steps) {
      EvictCaches();
      const double start = CpuSeconds();
      step(editor, csv);
      const double s = CpuSeconds() - start;
      auto [it, added] = best.try_emplace(name, s);
      if (!added) it->second = std::min(it->second, s);
    }
  }
  return best;
}

}  // namespace

int main() {
  // Freed memory stays with the process: a run at 20,000 rows must not pay the first touch of
  // fresh pages that the runs at 2,000 rows reuse.
  ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
  ::mallopt(M_MMAP_THRESHOLD, 1 << 30);
  runtime::RegisterClasses();
  const std::string dir = (std::filesystem::temp_directory_path() / ("vorlect_editor_bench_" + std::to_string(::getpid()))).string();
  std::filesystem::create_directories(dir);
  ::setenv("VORLECT_REGISTRY_DIR", dir.c_str(), 1);
  std::ostringstream quiet;
  ports::CliPorts cli(ports::mrNo, quiet);
  ports::ScopedPorts scope(cli);
  vle::CSVType = 0;

  const std::vector<std::pair<std::string, Step>> steps = {
      // Baseline: one read of every cell of the grid, which every command makes at least once.
      {"(grid read)", [](vle::TFEditVorlect& e, const std::string&) { (void)vle::ReadRows(e.Grid()); }},
      {"(row heights)", [](vle::TFEditVorlect& e, const std::string&) { e.Grid().CalcAllRowHeights(); }},
      {"Duplicates", [](vle::TFEditVorlect& e, const std::string&) { e.Duplicates(); }},
      {"Translate All", [](vle::TFEditVorlect& e, const std::string&) { e.TranslateAll(); }},
      {"Sort", [](vle::TFEditVorlect& e, const std::string&) { e.Sort(); }},
      {"Update Table", [](vle::TFEditVorlect& e, const std::string&) { e.UpdateTable(); }},
      {"CSV export", [](vle::TFEditVorlect& e, const std::string& csv) { e.ExportCsvTo(csv); }},
      {"CSV import", [](vle::TFEditVorlect& e, const std::string& csv) { e.ImportCsvFrom(csv); }},
  };
  const std::string csv = dir + "/table.csv";
  Measure(20000, 1, steps, csv);  // warm-up
  const auto small = Measure(2000, 15, steps, csv);
  const auto large = Measure(20000, 7, steps, csv);
  std::filesystem::remove_all(dir);

  std::printf("%-14s %12s %12s %8s   (%d languages)\n", "command", "2,000 rows", "20,000 rows", "ratio", kLanguages);
  bool linear = true;
  const double baseline = large.at("(grid read)") / std::max(small.at("(grid read)"), 1e-6);
  const double limit = std::max(15.0, 2 * baseline);
  for (const auto& [name, step] : steps) {
    const double a = small.at(name), b = large.at(name);
    const double ratio = b / std::max(a, 1e-6);
    std::printf("%-14s %10.2f ms %10.2f ms %8.1f\n", name.c_str(), a * 1e3, b * 1e3, ratio);
    if (ratio >= limit) linear = false;
  }
  if (!linear) std::printf("FAIL: a command grows faster than the table (ratio %.1f or more)\n", limit);
  return linear ? 0 : 1;
}
