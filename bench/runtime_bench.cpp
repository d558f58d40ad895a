// Translation runtime: language switching of large forms, and GetText against a plain scan.
//
//   runtime_bench            prints the figures; exits 1 when switching is not linear in the
//                            table (time per 1,000 entries more than 1.5x apart)
#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vorlect;
using Clock = std::chrono::steady_clock;
using host::TStringList;

namespace {

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// A form of `components` buttons (caption and hint: two entries each) and a table of `languages`.
struct BenchForm {
  std::unique_ptr<host::TForm> form = std::make_unique<host::TForm>(nullptr);
  runtime::TVorlect* vorlect = nullptr;

  BenchForm(int components, int languages) {
    form->SetName("BenchForm");
    const host::ClassInfo& button = host::FindClass("TButton");
    vorlect = new runtime::TVorlect(form.get());
    vorlect->SetName("Vorlect1");
    vorlect->SetStateFlag(host::csLoading, true);
    vorlect->SetLanguages(static_cast<std::uint8_t>(languages));
    vorlect->SetStateFlag(host::csLoading, false);
    TStringList* words = vorlect->Words();
    words->BeginUpdate();
    for (int c = 0; c < components; ++c) {
      host::TComponent* b = button.CreateComponent(form.get());
      const std::string name = "Button" + std::to_string(c + 1);
      b->SetName(name);
      words->Add(name);
      for (int l = 0; l < languages; ++l) words->Add("Caption " + std::to_string(c) + " in " + std::to_string(l));
      words->Add("\".Hint");
      for (int l = 0; l < languages; ++l) words->Add("Hint " + std::to_string(c) + " in " + std::to_string(l));
    }
    words->EndUpdate();
  }
  int Entries() const { return vorlect->Words()->Count() / (vorlect->Languages() + 1); }
};

// Seconds per switch, switching through all languages `rounds` times.
double SwitchTime(BenchForm& f, int rounds) {
  const int languages = f.vorlect->Languages();
  auto start = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (int l = 0; l < languages; ++l) f.vorlect->SetActiveLanguage(static_cast<std::uint8_t>((l + 1) % languages));
  return Seconds(start) / (rounds * languages);
}

}  // namespace

int main() {
  ports::CliPorts quiet(ports::mrCancel);
  ports::ScopedPorts scope(quiet);
  runtime::RegisterClasses();

  {
    BenchForm f(2000, 10);
    const double t = SwitchTime(f, 3);
    std::printf("switch: 2,000 components x 10 languages (%d entries): %.3f ms per switch\n", f.Entries(), t * 1e3);
  }

  // Each size switches the same amount of data (100 tables of 1k entries, 10 of 10k, 1 of 100k),
  // so that the figures compare the cost per entry, not how much of the data fits in the caches.
  std::vector<double> perThousand;
  for (int entries : {1000, 10000, 100000}) {
    std::vector<std::unique_ptr<BenchForm>> forms;
    for (int k = 0; k < 100000 / entries; ++k) forms.push_back(std::make_unique<BenchForm>(entries / 2, 2));
    double best = 1e9;
    for (int repeat = 0; repeat < 5; ++repeat) {
      auto start = Clock::now();
      for (auto& f : forms) {
        f->vorlect->SetActiveLanguage(1);
        f->vorlect->SetActiveLanguage(0);
      }
      best = std::min(best, Seconds(start) / (2.0 * forms.size() * forms[0]->Entries()) * 1000);
    }
    perThousand.push_back(best);
    std::printf("switch: %6d entries: %.4f ms per 1,000 entries\n", forms[0]->Entries(), best * 1e3);
  }
  const double spread = *std::max_element(perThousand.begin(), perThousand.end()) /
                        *std::min_element(perThousand.begin(), perThousand.end());
  std::printf("switch: largest / smallest time per 1,000 entries = %.2f (linear when <= 1.5)\n", spread);

  {
    host::TForm form(nullptr);
    auto* v = new runtime::TVorlect(&form);
    TStringList* words = v->Words();
    const int ids = 20000;
    words->BeginUpdate();
    for (int i = 0; i < ids; ++i) {
      words->Add("ErrMessage" + std::to_string(i));
      words->Add("Text " + std::to_string(i));
      words->Add("Texte " + std::to_string(i));
    }
    words->EndUpdate();
    std::string res;
    auto start = Clock::now();
    std::size_t check = 0;
    for (int i = 0; i < ids; ++i) {
      v->GetText("ERRMESSAGE" + std::to_string(i), res);
      check += res.size();
    }
    const double indexed = Seconds(start) / ids;

    // The rule written out: lower-case every key until the first match.
    const int sample = 500;
    start = Clock::now();
    for (int s = 0; s < sample; ++s) {
      const std::string key = runtime::AnsiLowerCase("ERRMESSAGE" + std::to_string(s * (ids / sample)));
      for (int i = 0; i + 2 < words->Count(); i += 3)
        if (runtime::AnsiLowerCase(words->Strings(i)) == key) {
          check += words->Strings(i + 1).size();
          break;
        }
    }
    const double scanned = Seconds(start) / sample;
    std::printf("GetText: %d identifiers: %.3f us per look-up; plain scan %.1f us; scan / GetText = %.0fx (%zu)\n",
                ids, indexed * 1e6, scanned * 1e6, scanned / indexed, check % 10);
  }
  return spread <= 1.5 ? 0 : 1;
}
