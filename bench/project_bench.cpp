// Project manager over a generated project: reading the catalogue (list), CSV export and import
// of every form, each timed as a ratio to `cat` of the same form files.
//
//   project_bench CORPUS [FORMS...]   default 200 and 2000 forms
//
// The forms are copies of the corpus's text forms, each with a translation component holding 20
// texts in 6 languages. Every size runs in its own process so that its peak RSS is its own.
// Goals: list and export within 5x of cat, import within 20x; memory flat in the number of forms.
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
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLanguages = 6;
constexpr int kTexts = 20;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Text forms of the corpus that start with an object and end with its "end" line.
std::vector<std::string> Templates(const fs::path& corpus) {
  std::vector<fs::path> files;
  for (const auto& f : fs::directory_iterator(corpus / "dfm" / "text"))
    if (f.path().extension() == ".dfm") files.push_back(f.path());
  std::sort(files.begin(), files.end());
  std::vector<std::string> out;
  for (const auto& f : files) {
    std::string text = platform::ReadFile(f.string());
    if (!text.starts_with("object ")) continue;
    if (text.find("vorlect") != std::string::npos || text.find("Vorlect") != std::string::npos) continue;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (!text.ends_with("\nend")) continue;
    out.push_back(std::move(text));
    if (out.size() == 20) break;
  }
  return out;
}

// A template with a translation component as the form's last child.
std::string WithComponent(const std::string& text, int form) {
  const std::string eol = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  std::string block = "  object Vorlect1: TVorlect" + eol + "    Languages = " + std::to_string(kLanguages) + eol +
                      "    ActiveLanguage = 0" + eol + "    Words.Strings = (";
  for (int t = 0; t < kTexts; ++t) {
    block += eol + "      '" + (t == 0 ? std::string("%Form%") : "Label" + std::to_string(t)) + "'";
    for (int b = 1; b <= kLanguages; ++b)
      block += eol + "      'Text " + std::to_string(t) + " of form " + std::to_string(form) + " in language " +
               std::to_string(b) + (t % 5 == 0 ? " isn''t'#13#10'split" : "") + "'";
  }
  block += ")" + eol + "  end" + eol;
  const size_t last = text.rfind("\nend") + 1;
  return text.substr(0, last) + block + "end" + eol;
}

std::string Generate(const fs::path& folder, int forms, const std::vector<std::string>& templates) {
  fs::create_directories(folder);
  std::string dpr = "program Bench;\r\n\r\nuses\r\n  Forms";
  for (int i = 0; i < forms; ++i) {
    const std::string name = "Form" + std::to_string(i);
    platform::WriteFileAtomic((folder / (name + ".dfm")).string(),
                              WithComponent(templates[i % templates.size()], i));
    platform::WriteFileAtomic((folder / (name + ".pas")).string(), "unit " + name + ";\r\n");
    dpr += ",\r\n  " + name + " in '" + name + ".pas' {" + name + "}";
  }
  dpr += ";\r\n\r\nbegin\r\nend.\r\n";
  const std::string project = (folder / "Bench.dpr").string();
  platform::WriteFileAtomic(project, dpr);
  return project;
}

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
