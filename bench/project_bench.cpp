// Project manager over a generated project: reading the catalogue (list), CSV export and import
// of every form, each timed as a ratio to `cat` of the same form files.
//
//   project_bench CORPUS [FORMS...]   default 200 and 2000 forms
//
// The forms are copies of the corpus's text forms, each with a translation component holding 20
// texts in 6 languages. Every size runs in its own process so that its peak RSS is its own.
// Goals: list and export within 5x of cat, import within 20x; memory flat in the number of forms.
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
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using namespace vorlect;
namespace fs = std::filesystem;
using namespace vorlect::bench;

namespace {

double TimeCat(const fs::path& folder) {
  const std::string cmd = "cat '" + folder.string() + "'/Form*.dfm > /dev/null";
  if (std::system(cmd.c_str()) != 0) return 0;  // warm the cache
  const auto t = Clock::now();
  if (std::system(cmd.c_str()) != 0) return 0;
  return Seconds(t);
}

int Run(const fs::path& corpus, int forms) {
  const auto templates = Templates(corpus);
  if (templates.empty()) {
    std::fprintf(stderr, "project_bench: no usable text forms in %s\n", corpus.c_str());
    return 1;
  }
  const fs::path folder = fs::path(platform::TempFolder()) / ("vorlect_project_bench_" + std::to_string(::getpid()));
  const std::string project = Generate(folder, forms, templates);
  std::ostringstream sink;
  ports::CliPorts quiet(ports::mrNo, sink);
  ports::ScopedPorts scope(quiet);
  vle::InfoSel = false;

  const double cat = TimeCat(folder);
  toolservices::HeadlessHost host(project);
  toolservices::SetHostServices(&host);

  auto t = Clock::now();
  auto catalogue = std::make_unique<vle::TFPrjList>(false, vle::TProgress{}, /*keepLines=*/false);
  const double list = Seconds(t);
  catalogue->SelectAll();

  const std::string csv = (folder / "All.csv").string();
  t = Clock::now();
  const int exported = vle::ExportProject(*catalogue, csv, {}, false);
  const double exportTime = Seconds(t);

  t = Clock::now();
  const int imported = vle::ImportProject(*catalogue, csv);
  const double importTime = Seconds(t);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%5d forms  cat %.3f s | list %.3f s = %5.1fx cat | export %.3f s = %5.1fx | import %.3f s = %5.1fx "
              "| %d exported, %d imported | peak RSS %ld MB\n",
              forms, cat, list, list / cat, exportTime, exportTime / cat, importTime, importTime / cat, exported,
              imported, usage.ru_maxrss / 1024);
  std::fflush(stdout);
  toolservices::SetHostServices(nullptr);
  catalogue.reset();
  std::error_code ec;
  fs::remove_all(folder, ec);
  return exported == forms && imported == forms ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: project_bench CORPUS [FORMS...]\n");
    return 2;
  }
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {200, 2000};
  int status = 0;
  for (int forms : sizes) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) _exit(Run(argv[1], forms));
    int st = 0;
    waitpid(child, &st, 0);
    if (!WIFEXITED(st) || WEXITSTATUS(st) != 0) status = 1;
  }
  return status;
}
