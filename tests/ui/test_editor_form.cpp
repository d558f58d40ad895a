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

QTEST_MAIN(EditorFormTest)
#include "test_editor_form.moc"
