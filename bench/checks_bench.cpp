// Translation checks: checking a whole table against reading it once, and rechecking one changed
// cell in a large table against a small one.
//
//   checks_bench   prints both ratios; exits 1 when the check of 20,000 rows x 8 languages takes
//                  15 times one read of the grid or more, or when rechecking a cell at 20,000 rows
//                  takes twice as long as at 2,000 or more
#include "vle/checks/Checks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace vorlect::vle::checks;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

constexpr int kLanguages = 8;

// Texts as tables hold them: captions with accelerators, messages with arguments, hints; some
// translations missing, some left as in language 0. Menus of ten items share accelerators.
FormModel Table(int rows) {
  FormModel m;
  m.name = "BenchForm";
  m.languages = kLanguages;
  m.fonts.assign(kLanguages, vorlect::ports::FontSpec{});
  for (int r = 0; r < rows; ++r) {
    Row row;
    row.key = "Component" + std::to_string(r);
    const std::string n = std::to_string(r);
    std::string source;
    switch (r % 4) {
      case 0: source = "&Open item " + n + "..."; break;
      case 1: source = "%d of %s copied to item " + n + "."; break;
      case 2: source = "Show the details of item " + n; break;
      default: source = "Item " + n + ":"; break;
    }
    row.texts.push_back(source);
    for (int l = 1; l < kLanguages; ++l) {
      if ((r + l) % 13 == 0) row.texts.emplace_back();
      else if ((r + l) % 17 == 0) row.texts.push_back(source);
      else row.texts.push_back("Sprache " + std::to_string(l) + ": " + source);
    }
    if (r % 4 == 0) row.clashGroup = r / 40;
    m.rows.push_back(std::move(row));
  }
  return m;
}

// One read of the grid: every cell's text copied out once, as a reader of the table does.
double ReadTime(const FormModel& m) {
  std::vector<std::string> cells;
  cells.reserve(m.rows.size() * kLanguages);
  const auto start = Clock::now();
  for (const Row& r : m.rows)
    for (const std::string& t : r.texts) cells.push_back(t);
  const double s = Seconds(start);
  if (cells.size() != m.rows.size() * kLanguages) std::printf("?\n");
  return s;
}

double CheckTime(const FormModel& m, int* problems) {
  FormModel copy = m;
  const auto start = Clock::now();
  Checker checker;
  checker.AddForm(std::move(copy));
  const double s = Seconds(start);
  *problems = checker.Count();
  return s;
}

// Seconds per recheck of one cell in the middle of a table of `rows`.
double RecheckTime(int rows) {
  Checker checker;
  checker.AddForm(Table(rows));
  const int row = (rows / 2) / 4 * 4;  // a menu item, so its clash group is rechecked too
  const int rounds = 20000;
  const auto start = Clock::now();
  for (int i = 0; i < rounds; ++i)
    checker.SetText(0, row, 1 + i % (kLanguages - 1), i % 2 ? "&Offnen..." : "%d &Offnen");
  return Seconds(start) / rounds;
}

template <class F>
double Best(int runs, F f) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, f());
  return best;
}

}  // namespace

int main() {
  const FormModel table = Table(20000);
  int problems = 0;
  const double read = Best(5, [&] { return ReadTime(table); });
  const double check = Best(3, [&] { return CheckTime(table, &problems); });
  const double ratio = check / read;
  std::printf("check of 20,000 rows x %d languages: %.1f ms, %d problems; one read of the grid: %.2f ms; ratio %.1f "
              "(goal below 15)\n",
              kLanguages, check * 1000, problems, read * 1000, ratio);

  const double small = Best(3, [] { return RecheckTime(2000); });
  const double large = Best(3, [] { return RecheckTime(20000); });
  const double recheck = large / small;
  std::printf("recheck of one cell: %.2f us at 20,000 rows, %.2f us at 2,000; ratio %.2f (goal below 2)\n",
              large * 1e6, small * 1e6, recheck);
  return ratio < 15 && recheck < 2 ? 0 : 1;
}
