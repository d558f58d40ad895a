// The project manager's tool windows: where the compilers are, the string-module build with the
// tools' output as they write it and a stop that ends a tool that never ends, and the spell check
// of the selected forms with a correction written into its form file.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "EditorFixture.h"
#include "ProjectWindowFixture.h"
#include "UiModal.h"
#include "host/toolservices/ToolServices.h"
#include "spell/SpellerRegistration.h"
#include "support/TestFiles.h"
#include "ui/SpellDialogs.h"
#include "ui/project/ExchangePage.h"
#include "ui/project/FConfig.h"
#include "ui/project/FDllMaker.h"
#include "ui/project/PrjListWindow.h"
#include "ui/project/ProjectManager.h"
#include "vle/VLSettings.h"
#include "vle/dllmaker/FConfig.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;
using vorlect::test::ReadAll;
using vorlect::test::WriteAll;
namespace fs = std::filesystem;

namespace {

using vorlect::uitest::Shot;

void WriteScript(const fs::path& path, const std::string& body) {
  WriteAll(path, "#!/bin/sh\n" + body);
  ::chmod(path.c_str(), 0755);
}

// A folder with a project of its own (the sample's copy unless another is named; `dpr` in it),
// and the project manager's window on it with its tools.
struct Project : ProjectFolder {
  explicit Project(bool sample = true, const char* dpr = "Sample.dpr") : ProjectFolder("vorlect_ui_tools"), dpr(dpr) {
    if (sample) CopySample();
    else fs::create_directories(dir);
  }
  ~Project() {
    window.reset();
    vle::ToolPaths() = savedTools;
  }
  TFPrjListWindow& Open() {
    UseProject(dpr);
    return ShowWindow([](TFPrjListWindow& w) { InstallProjectTools(w); });
  }

  const char* dpr;
  vle::TToolPaths savedTools = vle::ToolPaths();
};

// Writes the sample's resource scripts Texts1.rc ... Texts3.rc through the window.
void ExportScripts(TFPrjListWindow& w) {
  w.Action("ExportRc1")->trigger();
  w.Exchange()->NameEdit()->setText("Texts1");
  QTest::mouseClick(w.Exchange()->ExportBtn(), Qt::LeftButton);
}

}  // namespace

class ProjectToolsTest : public QObject {
  Q_OBJECT
private slots:
  void toolConfiguration();
  void buildShowsToolOutputWhileItRuns();
  void cancelStopsAToolThatNeverEnds();
  void spellCheckWritesTheCorrection();
};

void ProjectToolsTest::toolConfiguration() {
  Project p;
  const std::string missing = (p.dir / "no-such-tool").string();
  vle::TToolPaths paths{missing, VORLECT_VLRC};
  TFrmConfigToolsWindow dialog(paths);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(dialog.windowTitle(), QString("Configure Borland Tools"));
  QCOMPARE(dialog.ResourceCompilerEdit()->text(), QString(VORLECT_VLRC));
  QCOMPARE(dialog.ResourceCompilerMark()->objectName(), QString("ResourceCompilerFound"));
  QCOMPARE(dialog.CompilerMark()->objectName(), QString("CompilerMissing"));
  QVERIFY(!dialog.OKBtn()->isEnabled());
  // The field is checked when it loses the focus.
  dialog.CompilerEdit()->setFocus();
  dialog.CompilerEdit()->selectAll();
  QTest::keyClicks(dialog.CompilerEdit(), VORLECT_VLDCC);
  QVERIFY(!dialog.OKBtn()->isEnabled());
  dialog.ResourceCompilerEdit()->setFocus();
  QTRY_VERIFY(dialog.OKBtn()->isEnabled());
  QCOMPARE(dialog.CompilerMark()->objectName(), QString("CompilerFound"));
  // Cancel keeps the old paths; OK stores both.
  dialog.reject();
  QCOMPARE(paths.Compiler, missing);
  dialog.accept();
  QCOMPARE(paths.Compiler, std::string(VORLECT_VLDCC));
  QCOMPARE(paths.ResourceCompiler, std::string(VORLECT_VLRC));
  Shot(dialog, "project-config.png");
}

void ProjectToolsTest::buildShowsToolOutputWhileItRuns() {
  Project p;
  p.ConfigureLanguages();
  // The resource compiler announces each script before it compiles it.
  WriteScript(p.dir / "rc.sh", "for script; do :; done\necho \"compiling $script\"\n"
                               "echo \"  string table of $(basename \"$script\")\"\nexec '" +
                                   std::string(VORLECT_VLRC) + "' \"$@\"\n");
  vle::ToolPaths() = {VORLECT_VLDCC, (p.dir / "rc.sh").string()};
  TFPrjListWindow& w = p.Open();
  QVERIFY(!w.Action("CompileDLLs1")->isEnabled());
  ExportScripts(w);
  QCOMPARE(w.Catalogue().DllBaseName, std::string("Texts"));
  QVERIFY(w.Action("CompileDLLs1")->isEnabled());
  QVERIFY(!w.Action("EmptyStringLists1")->isEnabled());

  QString caption, outputAtFirstScript;
  QStringList progress;
  bool okBefore = true, okAfter = false;
  auto done = uitest::WhenModal([&](QWidget* modal) {
    auto* d = qobject_cast<TFrmDLLProgressWindow*>(modal);
    QVERIFY(d);
    caption = d->windowTitle();
    okBefore = d->OKBtn()->isEnabled();
    // What the tool wrote is there when the first progress line arrives: it came while it ran.
    connect(d->ProgressList()->model(), &QAbstractItemModel::rowsInserted, d, [d, &outputAtFirstScript] {
      if (outputAtFirstScript.isEmpty()) outputAtFirstScript = d->ToolOutput()->toPlainText();
    });
    QTest::mouseClick(d->GoBtn(), Qt::LeftButton);
    for (int i = 0; i < d->ProgressList()->count(); ++i) progress << d->ProgressList()->item(i)->text();
    okAfter = d->OKBtn()->isEnabled();
    Shot(*d, "project-build.png");
    QTest::mouseClick(d->OKBtn(), Qt::LeftButton);
  });
  w.Action("CompileDLLs1")->trigger();
  QVERIFY(*done);
  QCOMPARE(caption, QString("Create Texts*.dll"));
  QVERIFY(!okBefore);
  QVERIFY(okAfter);
  QCOMPARE(outputAtFirstScript, QString::fromStdString("compiling " + (p.dir / "Texts1.rc").string() +
                                                       "\n  string table of Texts1.rc"));
  QCOMPARE(progress.size(), 9);
  QCOMPARE(progress.front(), QString("Compiled script Texts1.rc to Texts1.res"));
  QCOMPARE(progress.back(), QString("Compiled DLL Texts3.dpr to Texts3.dll"));
  for (const char* dll : {"Texts1.dll", "Texts2.dll", "Texts3.dll"}) QVERIFY2(fs::exists(p.dir / dll), dll);
  QVERIFY(w.Action("EmptyStringLists1")->isEnabled());
}

void ProjectToolsTest::cancelStopsAToolThatNeverEnds() {
  Project p;
  p.ConfigureLanguages();
  WriteScript(p.dir / "hang.sh", "echo started\nexec sleep 600\n");
  vle::ToolPaths() = {VORLECT_VLDCC, (p.dir / "hang.sh").string()};
  TFPrjListWindow& w = p.Open();
  ExportScripts(w);
  QElapsedTimer clock;
  QString output;
  bool goAfter = true, okAfter = true, closedByCancel = false;
  auto done = uitest::WhenModal([&](QWidget* modal) {
    auto* d = qobject_cast<TFrmDLLProgressWindow*>(modal);
    QVERIFY(d);
    // Cancel once the tool has written its first line: the window takes the click while it runs.
    auto* poll = new QTimer(d);
    connect(poll, &QTimer::timeout, d, [d, poll] {
      if (d->ToolOutput()->toPlainText().isEmpty()) return;
      poll->stop();
      QTest::mouseClick(d->CancelBtn(), Qt::LeftButton);
    });
    poll->start(20);
    clock.start();
    QTest::mouseClick(d->GoBtn(), Qt::LeftButton);
    output = d->ToolOutput()->toPlainText();
    goAfter = d->GoBtn()->isEnabled();
    okAfter = d->OKBtn()->isEnabled();
    QVERIFY(d->isVisible());  // the stop ends the build, not the dialog
    QTest::mouseClick(d->CancelBtn(), Qt::LeftButton);
    closedByCancel = !d->isVisible();
  });
  w.Action("CompileDLLs1")->trigger();
  QVERIFY(*done);
  QVERIFY2(clock.elapsed() < 30000, "the tool was not stopped");
  QCOMPARE(output, QString("started"));
  QVERIFY(!goAfter);
  QVERIFY(!okAfter);
  QVERIFY(closedByCancel);
  QVERIFY(!fs::exists(p.dir / "Texts1.res"));
  QVERIFY(!w.Action("EmptyStringLists1")->isEnabled());
}

void ProjectToolsTest::spellCheckWritesTheCorrection() {
  if (!QFile::exists("/usr/share/hunspell/de_DE.dic")) QSKIP("the de_DE.dic dictionary (hunspell-de-de) is not installed");
  QTemporaryDir data;  // words added go to a dictionary of this test
  qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
  Project p(false, "Spell.dpr");
  std::string report;
  QVERIFY(spell::RegisterSpellers(report, {"/usr/share/hunspell"}, spell::DefaultEnginePath()) > 0);
  vle::LanguageNames().Add("Deutsch");
  vle::LanguageIds().Add("1031");
  const std::string form =
      "object Form1: TForm1\r\n  Caption = 'Bestellung'\r\n  object Vorlect1: TVorlect\r\n    Languages = 1\r\n"
      "    Words.Strings = (\r\n      'Label1'\r\n      'Das ist ein Fehlr im Text')\r\n  end\r\nend\r\n";
  WriteAll(p.dir / "Unit1.dfm", form);
  WriteAll(p.dir / "Unit1.pas", "unit Unit1;\r\n");
  WriteAll(p.dir / "Spell.dpr", "program Spell;\r\nuses\r\n  Unit1 in 'Unit1.pas' {Form1};\r\nbegin\r\nend.\r\n");
  TFPrjListWindow& w = p.Open();
  QVERIFY(!w.SpellCheckBtn()->isEnabled());
  w.SelectRows({0});
  QVERIFY(w.SpellCheckBtn()->isEnabled());
  QVERIFY(w.Action("SpellCheck1")->isEnabled());
  QString red;
  auto answered = uitest::WhenModal([&](QWidget* modal) {
    auto* s = qobject_cast<TSpellerWindow*>(modal);
    QVERIFY(s);
    red = s->RedText();
    const auto items = s->Variants()->findItems("Fehler", Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    s->Variants()->setCurrentItem(items.first());
    Shot(*s, "project-spell.png");
    s->Button("ChangeButton")->click();
  });
  QTest::mouseClick(w.SpellCheckBtn(), Qt::LeftButton);
  QVERIFY(*answered);
  QCOMPARE(red, QString("Fehlr"));
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|Spell checking completed, 1 forms checked, 1 forms updated."});
  std::string expected = form;
  expected.replace(expected.find("Fehlr"), 5, "Fehler");
  QCOMPARE(ReadAll(p.dir / "Unit1.dfm"), expected);
}

QTEST_MAIN(ProjectToolsTest)
#include "test_project_tools.moc"
