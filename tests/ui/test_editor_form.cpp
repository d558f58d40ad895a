// `vorlect-gui edit`: a form file opened in the editor's window, accepted or cancelled, and what
// reaches the file.
#include <QAction>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EditorFixture.h"
#include "support/TestFiles.h"
#include "host/framework/Streaming.h"
#include "ui/editor/EditForm.h"
#include "vle/settings/TranslatableSettings.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;
namespace fs = std::filesystem;

namespace {

using vorlect::test::ReadAll;
using vorlect::test::WriteAll;

const char* kForm =
    "object Form1: TForm1\r\n"
    "  Caption = 'Order'\r\n"
    "  object Button1: TButton\r\n"
    "    Caption = 'OK'\r\n"
    "  end\r\n"
    "  object Vorlect1: TVorlect\r\n"
    "    Languages = 2\r\n"
    "    Words.Strings = (\r\n"
    "      'Button1'\r\n"
    "      'OK'\r\n"
    "      '')\r\n"
    "  end\r\n"
    "  object Other: TVorlect\r\n"
    "    Languages = 1\r\n"
    "  end\r\n"
    "end\r\n";

// Types a text into a cell as a user does: the first key opens the cell's editor, Enter stores it.
void TypeIntoCell(TEditVorlectWindow& w, int col, int row, const QString& text) {
  TVLStrGridWidget& g = w.GridWidget();
  g.MoveTo(col, row);
  TypeText(&g, text.left(1));
  TypeText(g.InplaceEditor(), text.mid(1));
  QTest::keyClick(g.InplaceEditor(), Qt::Key_Return);
}

// A folder with the form, and the editor's settings of its own.
struct FormFolder {
  FormFolder() : fixture() {
    dir = fs::temp_directory_path() / ("vorlect_ui_form_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    form = dir / "Main.dfm";
    WriteAll(form, kForm);
  }
  ~FormFolder() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  EditorFixture fixture;  // registry folder and scripted ports
  fs::path dir, form;
};

}  // namespace

class EditorFormTest : public QObject {
  Q_OBJECT
private slots:
  void acceptSavesOnlyTheComponent();
  void cancelLeavesTheFileAsItWas();
  void namedComponentAndMissingOnes();
  void settingsFileNamesThirdPartyTexts();
};

void EditorFormTest::acceptSavesOnlyTheComponent() {
  FormFolder folder;
  const TEditFormResult result = EditFormFile(folder.form.string(), "", [&](TEditVorlectWindow& w) {
    QTimer::singleShot(0, &w, [&w] {
      TypeIntoCell(w, 2, 2, "Ja");
      w.Action("ChangeLanguage1")->trigger();  // the active language goes to the file too
      w.Action("Accept1")->trigger();
    });
  });
  QCOMPARE(result.exitStatus, 0);
  QVERIFY(result.error.empty());
  const std::string text = ReadAll(folder.form);
  QVERIFY(text.find("      'Ja')\r\n") != std::string::npos);
  QVERIFY(text.find("    ActiveLanguage = 1\r\n") != std::string::npos);
  // The button's caption the component applied while the editor was open is not saved.
  QVERIFY(text.find("    Caption = 'OK'\r\n") != std::string::npos);
  // The second component is as it was.
  QVERIFY(text.find("  object Other: TVorlect\r\n    Languages = 1\r\n  end\r\n") != std::string::npos);
  host::ReadOptions options;
  options.designing = true;
  QVERIFY(host::LoadFormFile(folder.form.string(), options) != nullptr);
}

void EditorFormTest::cancelLeavesTheFileAsItWas() {
  FormFolder folder;
  const TEditFormResult result = EditFormFile(folder.form.string(), "", [&](TEditVorlectWindow& w) {
    QTimer::singleShot(0, &w, [&w] {
      TypeIntoCell(w, 2, 2, "J");
      w.Action("ChangeLanguage1")->trigger();  // written into the component, never into the file
      w.close();
    });
  });
  QCOMPARE(result.exitStatus, 1);
  QVERIFY(result.error.empty());
  QCOMPARE(ReadAll(folder.form), std::string(kForm));
}

void EditorFormTest::namedComponentAndMissingOnes() {
  FormFolder folder;
  int rows = 0;
  TEditFormResult result = EditFormFile(folder.form.string(), "other", [&](TEditVorlectWindow& w) {
    QTimer::singleShot(0, &w, [&] {
      rows = w.Editor().Grid().RowCount();
      QCOMPARE(w.Editor().Component().Name(), std::string("Other"));
      w.Action("Cancel1")->trigger();
    });
  });
  QCOMPARE(result.exitStatus, 1);
  QCOMPARE(rows, 3);

  folder.fixture.ports.clear();
  result = EditFormFile(folder.form.string(), "Vorlect9");
  QCOMPARE(result.exitStatus, 1);
  QVERIFY(result.error.find("no translation component named Vorlect9") != std::string::npos);
  QCOMPARE(folder.fixture.Messages().size(), 1);

  WriteAll(folder.dir / "Plain.dfm", "object Form2: TForm2\r\n  Caption = 'x'\r\nend\r\n");
  result = EditFormFile((folder.dir / "Plain.dfm").string(), "");
  QCOMPARE(result.exitStatus, 1);
  QVERIFY(result.error.find("Plain.dfm: the form holds no translation component") != std::string::npos);

  result = EditFormFile((folder.dir / "Missing.dfm").string(), "");
  QCOMPARE(result.exitStatus, 1);
  QVERIFY(result.error.find("Missing.dfm") != std::string::npos);
  QCOMPARE(ReadAll(folder.form), std::string(kForm));
}

// `vorlect-gui edit --settings FILE`: the file's "translate" section brings a third-party class's
// property into the table, its "never" section keeps one out; a damaged file stops before the
// window opens, naming its place.
void EditorFormTest::settingsFileNamesThirdPartyTexts() {
  FormFolder folder;
  const std::string form =
      "object Form1: TForm1\r\n"
      "  Caption = 'Sales'\r\n"
      "  object KingLabel1: TKingLabel\r\n"
      "    Caption = 'May'\r\n"
      "  end\r\n"
      "  object Report1: TKingReport\r\n"
      "    Title = 'Totals'\r\n"
      "    Query = 'select 1'\r\n"
      "  end\r\n"
      "  object Shown1: TKingDBLabel\r\n"
      "    Caption = 'a field value'\r\n"
      "    Hint = 'Customer'\r\n"
      "  end\r\n"
      "  object Vorlect1: TVorlect\r\n"
      "    Languages = 2\r\n"
      "  end\r\n"
      "end\r\n";
  WriteAll(folder.form, form);
  const fs::path settings = folder.dir / "Sales.vorlect.json";
  WriteAll(settings, R"({"translate": {"TKingReport": ["Title"]}, "never": {"TKingDBLabel": ["Caption"]}})");

  std::vector<std::string> rows;  // key and language 0 of every row after Update Table
  TEditFormResult result = EditFormFile(
      folder.form.string(), "",
      [&](TEditVorlectWindow& w) {
        QTimer::singleShot(0, &w, [&] {
          w.Action("UpdateTable1")->trigger();
          const auto& g = w.Editor().Grid();
          for (int r = 2; r < g.RowCount(); ++r) rows.push_back(g.Cells(0, r) + "=" + g.Cells(1, r));
          w.Action("Accept1")->trigger();
        });
      },
      settings.string());
  vle::RegisterTranslatableProperties({});  // the registry is the process's: leave it empty
  QCOMPARE(result.exitStatus, 0);
  const auto has = [&](const std::string& row) { return std::find(rows.begin(), rows.end(), row) != rows.end(); };
  QVERIFY2(has("KingLabel1=May"), "an unknown class's caption, as always");
  QVERIFY2(has("Report1=Totals"), "named by the translate section");
  QVERIFY2(has("\".Hint=Customer"), "the hint of the class whose caption is never translated");
  QVERIFY2(!has("Shown1=a field value"), "kept out by the never section");
  QVERIFY(!has("Report1=select 1"));
  const std::string saved = ReadAll(folder.form);
  QVERIFY(saved.find("      'Report1'\r\n      'Totals'\r\n") != std::string::npos);
  QVERIFY(saved.find("    Caption = 'a field value'\r\n") != std::string::npos);  // the label's own, as it was
  QVERIFY(saved.find("      'a field value'") == std::string::npos);

  // Without the settings file the report's title is not a text of the form.
  WriteAll(folder.form, form);
  rows.clear();
  result = EditFormFile(folder.form.string(), "", [&](TEditVorlectWindow& w) {
    QTimer::singleShot(0, &w, [&] {
      w.Action("UpdateTable1")->trigger();
      const auto& g = w.Editor().Grid();
      for (int r = 2; r < g.RowCount(); ++r) rows.push_back(g.Cells(0, r) + "=" + g.Cells(1, r));
      w.Action("Cancel1")->trigger();
    });
  });
  QVERIFY(has("KingLabel1=May"));
  QVERIFY(!has("Report1=Totals"));

  folder.fixture.ports.clear();
  WriteAll(settings, "{\n  \"translate\": {\"TKingReport\": [\"Title\",]}\n}\n");
  bool opened = false;
  result = EditFormFile(folder.form.string(), "", [&](TEditVorlectWindow&) { opened = true; }, settings.string());
  QCOMPARE(result.exitStatus, 1);
  QVERIFY(!opened);
  QVERIFY2(result.error.find(settings.string() + ":2:") != std::string::npos, result.error.c_str());
  QCOMPARE(folder.fixture.Messages().size(), 1);
  QCOMPARE(ReadAll(folder.form), form);
}

QTEST_MAIN(EditorFormTest)
#include "test_editor_form.moc"
