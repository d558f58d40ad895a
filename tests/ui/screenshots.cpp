// Pictures of the windows for the README: the translation editor on the sample's main form (its
// German and Russian columns and a Greek one added) and the font and character-set dialog.
//
//   ui_screenshots SOURCE_DIR OUT_DIR     (on the offscreen platform unless QT_QPA_PLATFORM is set)
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPixmap>
#include <QTest>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "host/framework/Streaming.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "ui/FSelFont.h"
#include "ui/QtPorts.h"
#include "ui/QtText.h"
#include "ui/editor/VLEditorWindow.h"
#include "vle/VLSettings.h"

using namespace vorlect;

namespace {

bool Save(QWidget& widget, const QString& path) {
  const QPixmap shot = widget.grab();
  if (shot.isNull() || !shot.save(path, "PNG")) {
    std::fprintf(stderr, "ui_screenshots: %s could not be written\n", qPrintable(path));
    return false;
  }
  std::printf("%s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ui_screenshots SOURCE_DIR OUT_DIR\n");
    return 2;
  }
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::filesystem::path registry = std::filesystem::temp_directory_path() / "vorlect_screenshots";
  std::filesystem::create_directories(registry);
  setenv("VORLECT_REGISTRY_DIR", registry.c_str(), 1);
  QApplication app(argc, argv);
  ui::QtPorts ports;
  ports::ScopedPorts scope(ports);
  runtime::RegisterClasses();
  vle::LanguageNames().Clear();
  for (const char* name : {"English", "Deutsch", "Русский"}) vle::LanguageNames().Add(name);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(out);

  host::ReadOptions options;
  options.designing = true;
  const std::string form = std::string(argv[1]) + "/examples/sample-project/Main.dfm";
  auto root = host::LoadFormFile(form, options);
  auto* component = dynamic_cast<runtime::TBaseVorlect*>(root->FindComponent("Vorlect1"));
  if (!component) {
    std::fprintf(stderr, "ui_screenshots: %s holds no Vorlect1\n", form.c_str());
    return 1;
  }
  vle::TFEditVorlect editor(*component);
  editor.WriteSettingsOnClose = false;
  ui::TEditVorlectWindow window(editor);
  window.resize(980, 460);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;

  // A Greek column right of the Russian one, filled where the English text is a known word.
  grid::TVLStrGrid& g = editor.Grid();
  g.SetCurrent(3, 2);
  editor.InsertLanguage();
  editor.ChangeFontCell(4, "Arial", "GREEK_CHARSET");
  g.SetCells(4, 0, "Ελληνικά");
  const std::map<std::string, const char*> greek = {
      {"Ready", "Έτοιμο"}, {"Customers", "Πελάτες"}, {"Europe", "Ευρώπη"}, {"Orders", "Παραγγελίες"},
      {"Open", "Ανοιχτές"}, {"Closed", "Κλειστές"}, {"Order", "Παραγγελία"}, {"Customer", "Πελάτης"},
      {"&Search:", "&Αναζήτηση:"}, {"Browse customers and orders", "Περιήγηση σε πελάτες και παραγγελίες"}};
  for (int r = 2; r < g.RowCount(); ++r) {
    auto it = greek.find(g.Cells(1, r));
    if (it != greek.end()) g.SetCells(4, r, ui::ToCharset(QString::fromUtf8(it->second), 161));
  }
  editor.SizeColumns();
  g.SetColWidths(0, 90);
  g.SetCurrent(2, 6);
  window.Refresh();
  QApplication::processEvents();
  bool ok = Save(window, out + "/editor.png");

  ui::TFrmSelFont dialog;
  dialog.Preselect("DejaVu Sans", "GREEK_CHARSET");
  dialog.show();
  if (QTest::qWaitForWindowExposed(&dialog)) {
    if (auto* item = dialog.CharsetList()->currentItem()) dialog.CharsetList()->scrollToItem(item);
    QApplication::processEvents();
    ok = Save(dialog, out + "/font-dialog.png") && ok;
  }
  std::error_code ec;
  std::filesystem::remove_all(registry, ec);
  return ok ? 0 : 1;
}
