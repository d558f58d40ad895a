// The translation editor's window on long tables: 5,000 and 50,000 rows of 8 languages.
//
//   editor_window_bench   times, at both sizes, what a user waits for in the window: opening the
//                         table (editor, window, first paint), jumping to its end (Ctrl+End and
//                         the repaint), Sort and Translate All from the menu (with the undo step
//                         and the repaint); and the repaint of one screen of rows. The baseline of
//                         each ratio is the same step on the 5,000-row table. A step that is
//                         linear in the rows gives about 10; the repaint should not grow at all
//                         (goal below 2), the others stay below 15. Exits 1 when a goal is missed.
//                         Runs on the offscreen platform unless QT_QPA_PLATFORM is set. Each step
//                         starts with the caches emptied and is the fastest of three runs.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchCaches.h"
#include "host/framework/Streaming.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "ui/QtPorts.h"
#include "ui/editor/VLEditorWindow.h"
#include "vle/VLSettings.h"

using namespace vorlect;

namespace {

constexpr int kLanguages = 8;

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// A form whose component holds `rows` texts: every third one with an empty cell that an earlier
// row can fill, names in no order so that Sort has work to do.
std::unique_ptr<host::TComponent> LoadTable(int rows) {
  std::string text = "object Form1: TForm1\n  Caption = 'Bench'\n  object Vorlect1: TVorlect\n    Languages = " +
                     std::to_string(kLanguages) + "\n    Words.Strings = (";
  for (int r = 0; r < rows; ++r) {
    const int n = (r * 7919) % rows;
    text += "\n      " + Quoted("Key" + std::to_string(n));
    for (int k = 0; k < kLanguages; ++k) {
      const bool empty = k == kLanguages - 1 && r % 3 == 0;
      text += "\n      " + Quoted(empty ? "" : "Text " + std::to_string(n % 500) + " in " + std::to_string(k));
    }
  }
  text += ")\n  end\nend\n";
  host::ReadOptions options;
  options.designing = true;
  return host::LoadForm(text, options);
}

struct Times {
  double open = 0, end = 0, sort = 0, translate = 0, repaint = 0;
};

double Ms(const std::function<void()>& step) {
  if (!getenv("VORLECT_BENCH_WARM")) bench::EvictCaches();
  QElapsedTimer t;
  t.start();
  step();
  return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

Times Measure(int rows) {
  Times best{1e18, 1e18, 1e18, 1e18, 1e18};
  for (int run = 0; run < 3; ++run) {
    auto form = LoadTable(rows);
    auto* component = dynamic_cast<runtime::TBaseVorlect*>(form->FindComponent("Vorlect1"));
    std::unique_ptr<vle::TFEditVorlect> editor;
    std::unique_ptr<ui::TEditVorlectWindow> window;
    Times t;
    t.open = Ms([&] {
      editor = std::make_unique<vle::TFEditVorlect>(*component);
      editor->WriteSettingsOnClose = false;
      window = std::make_unique<ui::TEditVorlectWindow>(*editor);
      window->resize(1000, 700);
      window->show();
      window->GridWidget().viewport()->grab();
    });
    ui::TVLStrGridWidget& grid = window->GridWidget();
    grid.setFocus();
    t.end = Ms([&] {
      QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
      grid.viewport()->grab();
    });
    t.repaint = 1e18;
    for (int i = 0; i < 10; ++i) t.repaint = std::min(t.repaint, Ms([&] { grid.viewport()->grab(); }));
    t.sort = Ms([&] {
      window->Action("Sort1")->trigger();
      grid.viewport()->grab();
    });
    t.translate = Ms([&] {
      window->Action("TranslateAll1")->trigger();
      grid.viewport()->grab();
    });
    window->close();
    best.open = std::min(best.open, t.open);
    best.end = std::min(best.end, t.end);
    best.sort = std::min(best.sort, t.sort);
    best.translate = std::min(best.translate, t.translate);
    best.repaint = std::min(best.repaint, t.repaint);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string dir = (std::filesystem::temp_directory_path() / "vorlect_window_bench").string();
  std::filesystem::create_directories(dir);
  setenv("VORLECT_REGISTRY_DIR", dir.c_str(), 1);
  QApplication app(argc, argv);
  runtime::RegisterClasses();
  ui::QtPorts ports;
  ports::ScopedPorts scope(ports);

  const Times small = Measure(5000), large = Measure(50000);
  struct Row {
    const char* name;
    double a, b, goal;
  } rows[] = {
      {"open the table", small.open, large.open, 15},
      {"Ctrl+End", small.end, large.end, 15},
      {"Sort", small.sort, large.sort, 15},
      {"Translate All", small.translate, large.translate, 15},
      {"repaint one screen", small.repaint, large.repaint, 2},
  };
  std::printf("editor window, %d languages: 5,000 rows (baseline) -> 50,000 rows\n", kLanguages);
  std::printf("%-22s %12s %12s %8s %6s\n", "step", "5,000", "50,000", "ratio", "goal");
  bool ok = true;
  for (const Row& r : rows) {
    const double ratio = r.b / std::max(r.a, 1e-3);
    const bool met = ratio < r.goal;
    ok = ok && met;
    std::printf("%-22s %9.2f ms %9.2f ms %8.1f %5s%s\n", r.name, r.a, r.b, ratio, met ? "<" : ">=",
                (std::to_string(static_cast<int>(r.goal))).c_str());
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return ok ? 0 : 1;
}
