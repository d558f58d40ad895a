// Project manager over a generated project: reading the catalogue (list), CSV export and import
// of every form, each timed as a ratio to `cat` of the same form files, and how each grows with
// the number of forms.
//
//   project_bench CORPUS [--large] [FORMS...]   default 200 and 2000 forms; --large adds 20000
//
// The forms are copies of the corpus's text forms, each with a translation component holding 20
// texts in 6 languages; one more project of the largest size below 20000 keeps every second form
// binary. Every project runs in its own process so that its peak RSS is its own. The `cat`
// baseline is the median of several runs. Goals: list and export within 5x of cat, import within
// 20x; each step at ten times the forms within 12 times the time; memory flat in the forms.
#include "BenchProject.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/VLEMain.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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

double TimeCat(const fs::path& folder) {
  const std::string cmd = "cat '" + folder.string() + "'/Form*.dfm > /dev/null";
  if (std::system(cmd.c_str()) != 0) return 0;  // warm the cache
  std::vector<double> runs;
  for (int i = 0; i < 5; ++i) {
    const auto t = Clock::now();
    if (std::system(cmd.c_str()) != 0) return 0;
    runs.push_back(Seconds(t));
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

int Run(const fs::path& corpus, int forms, bool binaryHalf, int out) {
  const auto templates = Templates(corpus);
  if (templates.empty()) {
    std::fprintf(stderr, "project_bench: no usable text forms in %s\n", corpus.c_str());
    return 1;
  }
  const fs::path folder = fs::path(platform::TempFolder()) / ("vorlect_project_bench_" + std::to_string(::getpid()));
  const std::string project = Generate(folder, forms, templates, binaryHalf);
  std::ostringstream sink;
  ports::CliPorts quiet(ports::mrNo, sink);
  ports::ScopedPorts scope(quiet);
  vle::InfoSel = false;

  Times times;
  times.cat = TimeCat(folder);
  toolservices::HeadlessHost host(project);
  toolservices::SetHostServices(&host);

  auto t = Clock::now();
  auto catalogue = std::make_unique<vle::TFPrjList>(false, vle::TProgress{}, /*keepLines=*/false);
  times.list = Seconds(t);
  catalogue->SelectAll();

  const std::string csv = (folder / "All.csv").string();
  t = Clock::now();
  const int exported = vle::ExportProject(*catalogue, csv, {}, false);
  times.exportTime = Seconds(t);

  t = Clock::now();
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: project_bench CORPUS [--large] [FORMS...]\n");
    return 2;
  }
  std::vector<int> sizes;
  bool large = false;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--large") == 0) large = true;
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
  return status;
}
