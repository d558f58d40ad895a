// The project search and replace dialog over the project manager's catalogue: hits listed, the
// language choice, a running search stopped, replacements saved or not, and a hit's form opened -
// every message checked, and the form files checked byte for byte afterwards.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "EditorFixture.h"
#include "ProjectWindowFixture.h"
#include "UiModal.h"
#include "host/toolservices/ToolServices.h"
#include "support/TestFiles.h"
#include "ui/project/FSearchDlg.h"
#include "ui/project/PrjListModel.h"
#include "ui/project/PrjListWindow.h"
#include "ui/project/ProjectManager.h"
#include "vle/VLSettings.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;
namespace fs = std::filesystem;

namespace {

using vorlect::test::ReadAll;
using vorlect::test::WriteAll;

const char* const kSaveQuestion =
    "mtConfirmation|[mbYes,mbNo]|The changed texts have not been saved, do you want to save them now?";

// A project in a folder of its own (a copy of the sample, or generated) with the sample's three
// languages configured.
struct Project : ProjectFolder {
  Project() : ProjectFolder("vorlect_ui_search") { ConfigureLanguages(); }
  ~Project() { ::unsetenv("VISUAL"); }
  // `forms` forms of two languages, each with `texts` texts holding "needle" in the first language.
  void Generate(int forms, int texts) {
    fs::create_directories(dir);
    std::string dpr = "program Big;\r\n\r\nuses\r\n  Forms";
    for (int f = 1; f <= forms; ++f) {
      const std::string unit = "U" + std::to_string(f);
      dpr += ",\r\n  " + unit + " in '" + unit + ".pas' {Form" + std::to_string(f) + "}";
      std::string dfm = "object Form" + std::to_string(f) + ": TForm" + std::to_string(f) +
                        "\r\n  object Vorlect1: TVorlect\r\n    Languages = 2\r\n    Words.Strings = (";
      for (int t = 0; t < texts; ++t)
        dfm += "\r\n      'Label" + std::to_string(t) + "'\r\n      'a needle " + std::to_string(t) +
               "'\r\n      'eine Nadel'";
      dfm += ")\r\n  end\r\nend\r\n";
      WriteAll(dir / (unit + ".dfm"), dfm);
      WriteAll(dir / (unit + ".pas"), "unit " + unit + ";\r\nend.\r\n");
    }
    WriteAll(dir / "Big.dpr", dpr + ";\r\n\r\nbegin\r\nend.\r\n");
  }
  // The project manager on `projectFile`, shown, every form selected; Changed() counts from here.
  TFPrjListWindow& Open(const char* projectFile) {
    TakeSnapshot();
    UseProject(projectFile);
    ShowWindow().Catalogue().SelectAll();
    return *window;
  }
  // The dialog on the window's catalogue, shown.
  std::unique_ptr<TSearchDlgWindow> Dialog() {
    auto d = std::make_unique<TSearchDlgWindow>(window->Catalogue(), window.get());
    d->show();
    if (!QTest::qWaitForWindowExposed(d.get())) throw std::runtime_error("the dialog was not shown");
    return d;
  }
};

using vorlect::uitest::Shot;

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  TypeText(edit, text);
}

// The result list as shown, one "form|component|text" per row.
QStringList Rows(const TSearchDlgWindow& d) {
  QStringList out;
  for (int i = 0; i < d.ResultList()->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = d.ResultList()->topLevelItem(i);
    out << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
  }
  return out;
}

// The enabled states of the search field, the language list, "&Find" and "Replace".
QList<bool> Enabled(const TSearchDlgWindow& d) {
  return {d.SearchEdit()->isEnabled(), d.Languages()->isEnabled(), d.FindBtn()->isEnabled(),
          d.ReplaceBtn()->isEnabled()};
}

void ClickItem(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

}  // namespace

class ProjectSearchTest : public QObject {
  Q_OBJECT
private slots:
  void findListsEveryHit();
  void selectedLanguagesOnly();
  void stopKeepsTheRowsFoundSoFar();
  void replaceAndSaveFromTheMenu();
  void replaceDeclinedLeavesTheFiles();
  void doubleClickOpensTheForm();
};

void ProjectSearchTest::findListsEveryHit() {
  Project p;
  p.CopySample();
  p.Open("Sample.dpr");
  auto d = p.Dialog();
  QCOMPARE(d->windowTitle(), QString("Search/ replace in selected forms"));
  QCOMPARE(d->ResultsGroup()->title(), QString("&Search Results:"));
  QVERIFY(d->AllLanguagesBtn()->isChecked());
  QVERIFY(d->IgnoreCaseBox()->isChecked());
  QCOMPARE(d->Languages()->count(), 3);
  QCOMPARE(d->Languages()->item(1)->text(), QString("Deutsch"));
  QCOMPARE(Enabled(*d), (QList<bool>{true, false, false, false}));
  Type(d->SearchEdit(), "files");
  QCOMPARE(Enabled(*d), (QList<bool>{true, false, true, true}));

  // A text holding the search text three times (split over two lines of the file) is one hit.
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  const QStringList files{
      "TMainForm|OpenDialog1|Order files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files (*.*)|*.*",
      "TMainForm|SaveDialog1|Comma separated (*.csv)|*.csv|All files (*.*)|*.*"};
  QCOMPARE(Rows(*d), files);
  QCOMPARE(d->Model().Results().size(), size_t(2));
  QCOMPARE(d->Model().Results()[0].Entry, &p.window->Catalogue().Entry(0));
  QCOMPARE(d->FindBtn()->text(), QString("&Find"));
  QCOMPARE(d->ResultsGroup()->title(), QString("&Search Results"));

  // "ignore case" is what it says; a text of another code page is found in its own.
  Type(d->SearchEdit(), "FILES");
  QTest::mouseClick(d->IgnoreCaseBox(), Qt::LeftButton);
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QCOMPARE(Rows(*d), QStringList());
  QTest::mouseClick(d->IgnoreCaseBox(), Qt::LeftButton);
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QCOMPARE(Rows(*d), files);
  Type(d->SearchEdit(), QString::fromUtf8("Готово"));
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QCOMPARE(Rows(*d), QStringList{QString::fromUtf8("TMainForm|StatusBar1|Готово")});

  Type(d->SearchEdit(), "bestell");
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QVERIFY(d->ResultList()->topLevelItemCount() > 8);
  QCOMPARE(p.fixture.Messages(), QStringList());
  QVERIFY(p.Changed().isEmpty());
  d->resize(620, 440);
  Shot(*d, "project-search.png");
}

void ProjectSearchTest::selectedLanguagesOnly() {
  Project p;
  p.CopySample();
  p.Open("Sample.dpr");
  auto d = p.Dialog();
  Type(d->SearchEdit(), "(*.*)");
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QCOMPARE(d->ResultList()->topLevelItemCount(), 6);  // two filters in each of the three languages

  // "selected languages" enables the list; nothing chosen there, nothing to search.
  QTest::mouseClick(d->SelectedLanguagesBtn(), Qt::LeftButton);
  QCOMPARE(Enabled(*d), (QList<bool>{true, true, false, false}));
  ClickItem(d->Languages(), 1);
  QCOMPARE(Enabled(*d), (QList<bool>{true, true, true, true}));
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QCOMPARE(Rows(*d), (QStringList{"TMainForm|OpenDialog1|Bestelldateien (*.ord)|*.ord|Textdateien (*.txt)|*.txt|"
                                  "Alle Dateien (*.*)|*.*",
                                  "TMainForm|SaveDialog1|Kommagetrennt (*.csv)|*.csv|Alle Dateien (*.*)|*.*"}));
  for (const auto& row : d->Model().Results()) QCOMPARE(row.Line % 4, 2);  // the second language's line
  // A second click drops the language again.
  ClickItem(d->Languages(), 1);
  QCOMPARE(Enabled(*d), (QList<bool>{true, true, false, false}));
  QTest::mouseClick(d->AllLanguagesBtn(), Qt::LeftButton);
  QCOMPARE(Enabled(*d), (QList<bool>{true, false, true, true}));
  QCOMPARE(p.fixture.Messages(), QStringList());
}

void ProjectSearchTest::stopKeepsTheRowsFoundSoFar() {
  // Enough forms that the search lets events through many times before it ends.
  const int kForms = 1500, kTexts = 20;
  Project p;
  p.Generate(kForms, kTexts);
  TFPrjListWindow& w = p.Open("Big.dpr");
  QCOMPARE(w.Catalogue().SelectedCount(), kForms);
  auto d = p.Dialog();
  Type(d->SearchEdit(), "needle");

  // The user's click on "St&op" once the first rows are listed, seen among the events the running
  // search lets through.
  QList<bool> whileRunning;
  QString groupWhileRunning;
  int listedAtStop = -1;
  QTimer user;
  user.setInterval(0);
  connect(&user, &QTimer::timeout, [&] {
    if (d->FindBtn()->text() != "St&op" || d->ResultList()->topLevelItemCount() == 0) return;
    user.stop();
    whileRunning = Enabled(*d) << d->CancelBtn()->isEnabled() << d->ResultList()->isEnabled();
    groupWhileRunning = d->ResultsGroup()->title();
    listedAtStop = d->ResultList()->topLevelItemCount();
    QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  });
  user.start();
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QVERIFY(listedAtStop > 0);
  // Everything but "St&op" waited; the group said which form was being read.
  QCOMPARE(whileRunning, (QList<bool>{false, false, true, false, false, false}));
  QVERIFY2(groupWhileRunning.startsWith("scanning " + QString::fromStdString(p.dir.string())),
           qPrintable(groupWhileRunning));
  // Stopped early; the rows found so far stay, as many as the model kept.
  const int found = static_cast<int>(d->Model().Results().size());
  QVERIFY(found >= listedAtStop);
  QVERIFY2(found < kForms * kTexts, qPrintable(QString::number(found)));
  QCOMPARE(d->ResultList()->topLevelItemCount(), found);
  QCOMPARE(d->FindBtn()->text(), QString("&Find"));
  QCOMPARE(d->ResultsGroup()->title(), QString("&Search Results"));
  QCOMPARE(Enabled(*d), (QList<bool>{true, false, true, true}));

  // Escape while a search runs stops it; the dialog stays.
  QTimer escape;
  escape.setInterval(0);
  connect(&escape, &QTimer::timeout, [&] {
    if (d->FindBtn()->text() != "St&op" || d->ResultList()->topLevelItemCount() == 0) return;
    escape.stop();
    QTest::keyClick(d.get(), Qt::Key_Escape);
  });
  escape.start();
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QVERIFY(d->isVisible());
  QVERIFY(d->Model().Results().size() < size_t(kForms * kTexts));
  QCOMPARE(d->FindBtn()->text(), QString("&Find"));
  // Escape when no search runs closes it.
  QTest::keyClick(d.get(), Qt::Key_Escape);
  QVERIFY(!d->isVisible());
  QCOMPARE(p.fixture.Messages(), QStringList());
  QVERIFY(p.Changed().isEmpty());
}

void ProjectSearchTest::replaceAndSaveFromTheMenu() {
  Project p;
  p.CopySample();
  TFPrjListWindow& w = p.Open("Sample.dpr");
  QVERIFY(!w.Action("FindReplace1")->isEnabled());  // no tool yet
  TFPrjListWindow::TTools tools;
  tools.findReplace = OpenProjectSearch;
  w.InstallTools(tools);
  w.SelectRows({0});
  QVERIFY(w.Action("FindReplace1")->isEnabled());
  QSignalSpy shownAgain(&w.Model(), &QAbstractItemModel::dataChanged);

  QStringList shown, listedWhenAsked;
  auto answered = uitest::WhenModal([&](QWidget* modal) {
    auto* d = qobject_cast<TSearchDlgWindow*>(modal);
    QVERIFY(d);
    // Only the first of three occurrences in a text is replaced; Yes saves.
    Type(d->SearchEdit(), "files");
    Type(d->ReplaceEdit(), "Files");
    p.fixture.ports.queueAnswer(ports::mrYes);
    QTest::mouseClick(d->ReplaceBtn(), Qt::LeftButton);
    shown = Rows(*d);  // the texts as they were
    // A text replaced by nothing.
    Type(d->SearchEdit(), "Bereit");
    Type(d->ReplaceEdit(), "");
    p.fixture.ports.queueAnswer(ports::mrYes);
    QTest::mouseClick(d->ReplaceBtn(), Qt::LeftButton);
    shown += Rows(*d);
    QCOMPARE(shownAgain.size(), 0);
    QTest::mouseClick(d->CancelBtn(), Qt::LeftButton);
  });
  w.Action("FindReplace1")->trigger();
  QVERIFY(*answered);
  QCOMPARE(shown, (QStringList{"TMainForm|OpenDialog1|Order files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files "
                               "(*.*)|*.*",
                               "TMainForm|SaveDialog1|Comma separated (*.csv)|*.csv|All files (*.*)|*.*",
                               "TMainForm|StatusBar1|Bereit"}));
  QCOMPARE(p.fixture.Messages(), (QStringList{kSaveQuestion, kSaveQuestion}));
  QCOMPARE(p.fixture.ports.pendingAnswers(), size_t(0));

  // The form file changed there and nowhere else.
  QCOMPARE(p.Changed(), QStringList{"Main.dfm"});
  std::string expected = p.before.at("Main.dfm");
  auto change = [&expected](const std::string& from, const std::string& to) {
    const size_t at = expected.find(from);
    QVERIFY2(at != std::string::npos && expected.find(from, at + 1) == std::string::npos, from.c_str());
    expected.replace(at, from.size(), to);
  };
  change("        'Order files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files (*.' +\r\n",
         "        'Order Files (*.ord)|*.ord|Text files (*.txt)|*.txt|All files (*.' +\r\n");
  change("      'Comma separated (*.csv)|*.csv|All files (*.*)|*.*'\r\n      'Kommagetrennt",
         "      'Comma separated (*.csv)|*.csv|All Files (*.*)|*.*'\r\n      'Kommagetrennt");
  change("      'Bereit'\r\n", "      ''\r\n");
  QCOMPARE(ReadAll(p.dir / "Main.dfm"), expected);
  // The rows are shown again once the dialog is closed.
  QCOMPARE(shownAgain.size(), 1);
}

void ProjectSearchTest::replaceDeclinedLeavesTheFiles() {
  Project p;
  p.CopySample();
  TFPrjListWindow& w = p.Open("Sample.dpr");
  auto d = p.Dialog();
  Type(d->SearchEdit(), "Bereit");
  Type(d->ReplaceEdit(), "Fertig");
  p.fixture.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(d->ReplaceBtn(), Qt::LeftButton);
  QCOMPARE(p.fixture.Messages(), QStringList{kSaveQuestion});
  QCOMPARE(Rows(*d), QStringList{"TMainForm|StatusBar1|Bereit"});
  QVERIFY(p.Changed().isEmpty());
  // The catalogue holds the replaced text until the project manager closes.
  const auto& hit = d->Model().Results().at(0);
  QCOMPARE(w.Catalogue().Entry(0).Lines.Strings(hit.Line), std::string("Fertig"));
}

void ProjectSearchTest::doubleClickOpensTheForm() {
  Project p;
  p.CopySample();
  // The user's editor: a script that notes the files it was started on.
  const fs::path log = p.dir / "opened.log";
  const fs::path editor = p.dir / "editor.sh";
  WriteAll(editor, "#!/bin/sh\necho \"$1\" >> '" + log.string() + "'\n");
  ::chmod(editor.c_str(), 0755);
  ::setenv("VISUAL", editor.c_str(), 1);
  p.Open("Sample.dpr");
  auto d = p.Dialog();
  Type(d->SearchEdit(), "Kunde");
  QTest::mouseClick(d->FindBtn(), Qt::LeftButton);
  QTreeWidget* list = d->ResultList();
  QVERIFY(list->topLevelItemCount() > 1);
  // Below the rows: nothing opens.
  const QRect last = list->visualItemRect(list->topLevelItem(list->topLevelItemCount() - 1));
  QVERIFY(last.bottom() + 10 < list->viewport()->height());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 8));
  // A hit: its form file, in the user's editor.
  const QRect second = list->visualItemRect(list->topLevelItem(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
  QTRY_COMPARE(ReadAll(log), p.Path("Main.dfm") + "\n");
  QTest::qWait(200);  // nothing else comes
  QCOMPARE(ReadAll(log), p.Path("Main.dfm") + "\n");
  QCOMPARE(p.fixture.Messages(), QStringList());
}

QTEST_MAIN(ProjectSearchTest)
#include "test_project_search.moc"
