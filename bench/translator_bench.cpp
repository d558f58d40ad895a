// Translators' formats over a generated project: PO (and XLIFF) export and import of every form,
// timed as a ratio to the CSV export and import of the same project in the same run.
//
//   translator_bench CORPUS [FORMS]   default 2000 forms
//
// The forms are copies of the corpus's text forms, each with a translation component holding 20
// texts in 6 languages (BenchProject.h). Every run imports the files it just exported, so no form
// changes. Goal: PO export + import within 2x of CSV export + import.
#include "BenchProject.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/VLSettings.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/exchange/TranslatorExchange.h"
#include "vle/project/VLEMain.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

using namespace vorlect;
namespace fs = std::filesystem;
using namespace vorlect::bench;

namespace {

struct TTimes {
  double exportTime = 0, importTime = 0;
  double Total() const { return exportTime + importTime; }
};

TTimes Translator(vle::TFPrjList& catalogue, const fs::path& folder, vle::TTranslatorFormat format, const char* name) {
  vle::TTranslatorOptions o;
  o.format = format;
  TTimes t;
  vle::TTranslatorReport exported, imported;
  auto start = Clock::now();
  {
    const auto forms = vle::ProjectForms(catalogue, folder.string());
    vle::ExportTranslations(*forms, (folder / name).string(), o, exported);
  }
  t.exportTime = Seconds(start);
  start = Clock::now();
  {
    const auto forms = vle::ProjectForms(catalogue, folder.string());
    vle::ImportTranslations(*forms, (folder / name).string(), o, imported);
  }
  t.importTime = Seconds(start);
  if (imported.unchanged != exported.forms || imported.failed != 0)
    std::fprintf(stderr, "translator_bench: %s: %d forms exported, %d unchanged on import, %d failed\n", name,
                 exported.forms, imported.unchanged, imported.failed);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: translator_bench CORPUS [FORMS]\n");
    return 2;
  }
  const int forms = argc > 2 ? std::atoi(argv[2]) : 2000;
  const auto templates = Templates(argv[1]);
  if (templates.empty()) {
    std::fprintf(stderr, "translator_bench: no usable text forms in %s\n", argv[1]);
    return 1;
  }
  const fs::path folder = fs::path(platform::TempFolder()) / ("vorlect_translator_bench_" + std::to_string(::getpid()));
  const std::string project = Generate(folder, forms, templates);
  std::ostringstream sink;
  ports::CliPorts quiet(ports::mrNo, sink);
  ports::ScopedPorts scope(quiet);
  vle::InfoSel = false;
  toolservices::HeadlessHost host(project);
  toolservices::SetHostServices(&host);
  auto catalogue = std::make_unique<vle::TFPrjList>(false, vle::TProgress{}, /*keepLines=*/false);
  catalogue->SelectAll();

  const std::string csv = (folder / "All.csv").string();
  TTimes base;
  auto start = Clock::now();
  const int exported = vle::ExportProject(*catalogue, csv, {}, false);
  base.exportTime = Seconds(start);
  start = Clock::now();
  const int imported = vle::ImportProject(*catalogue, csv);
  base.importTime = Seconds(start);

  const TTimes po = Translator(*catalogue, folder, vle::TTranslatorFormat::Po, "po");
  const TTimes xlf = Translator(*catalogue, folder, vle::TTranslatorFormat::Xliff12, "xliff");

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%5d forms  CSV export %.3f s + import %.3f s | PO export %.3f s + import %.3f s = %4.2fx CSV | "
              "XLIFF export %.3f s + import %.3f s = %4.2fx CSV | peak RSS %ld MB\n",
              forms, base.exportTime, base.importTime, po.exportTime, po.importTime, po.Total() / base.Total(),
              xlf.exportTime, xlf.importTime, xlf.Total() / base.Total(), usage.ru_maxrss / 1024);
  toolservices::SetHostServices(nullptr);
  catalogue.reset();
  std::error_code ec;
  fs::remove_all(folder, ec);
  return exported == forms && imported == forms ? 0 : 1;
}
