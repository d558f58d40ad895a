// The project manager's window on a copy of the sample project: the list, selection, the exchange
// page's export and import, the project actions, and a form opened in the editor - every message
// checked, and the form files checked afterwards.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "EditorFixture.h"
#include "ProjectWindowFixture.h"
#include "support/TestFiles.h"
#include "UiModal.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "ui/FPressKey.h"
#include "ui/LongWork.h"
#include "ui/project/ExchangePage.h"
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

// A copy of the sample project as the IDE's project; Changed() counts from the copy.
struct SampleProject : ProjectFolder {
  SampleProject() : ProjectFolder("vorlect_ui_project") {
    CopySample();
    TakeSnapshot();
    UseProject("Sample.dpr");
    vle::SetNoticeHandler({});
  }
  TFPrjListWindow& Open() { return ShowWindow(); }
  // Clicks list row `row` (as shown) with the modifiers.
  void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTreeView* list = window->List();
    const QRect r = list->visualRect(list->model()->index(row, 2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, r.center());
  }
  int RowOf(const char* fileName) const {
    for (int i = 0; i < window->Catalogue().Count(); ++i)
      if (fs::path(window->Catalogue().Entry(i).FormFile).filename() == fileName) return i;
    return -1;
  }
  QString Cell(int catalogueRow, int column) const {
    return window->Model().data(window->Model().index(catalogueRow, column), Qt::DisplayRole).toString();
  }
};

using vorlect::uitest::Shot;

// Types a name into the exchange page's name field as a user does.
void TypeName(TExchangePage* page, const QString& name) {
  page->NameEdit()->selectAll();
  QTest::keyClick(page->NameEdit(), Qt::Key_Delete);
  QTest::keyClicks(page->NameEdit(), name);
}

}  // namespace

class ProjectWindowTest : public QObject {
  Q_OBJECT
private slots:
  void opensOnTheProject();
  void openingWarnsAndAsksOnce();
  void noProjectListsNothing();
  void selectionEnablesTheActions();
  void filterIncompleteAndSort();
  void exportCsv();
  void exportResourceScripts();
  void exportWithoutFormsShowsTheNotice();
  void importEditedCsv();
  void importSkipsUnselectedForms();
  void addComponentToAllForms();
  void emptyStringLists();
  void doubleClickOpensTheEditor();
  void exchangePageFilesAndFolders();
  void textEditorForFilesAndUnits();
  void menusAndWarnings();
  void runProjectManager();
  void longWorkShowsProgress();
  void projectLockKeepsOtherRunsOut();
};

void ProjectWindowTest::opensOnTheProject() {
  SampleProject p;
  p.fixture.ports.queueAnswer(ports::mrNo);  // no language names yet: "do this now?"
  TFPrjListWindow& w = p.Open();
  QCOMPARE(w.windowTitle(), QString::fromStdString(p.Path("Sample.dpr")));
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtConfirmation|[mbYes,mbNo]|You should assign language names to be able to use the spell "
                       "checker.\rDo you want to do this now?"});
  QCOMPARE(w.Catalogue().Count(), 3);
  // Project order, each row with its counts; the icon only where a component is.
  const int main = p.RowOf("Main.dfm");
  QCOMPARE(main, 0);
  QCOMPARE(p.Cell(main, TPrjListModel::colLanguages), QString("3"));
  QCOMPARE(p.Cell(main, TPrjListModel::colDone), QString("95%"));
  QCOMPARE(p.Cell(main, TPrjListModel::colForm), QString("TMainForm"));
  QCOMPARE(p.Cell(main, TPrjListModel::colPath), QString::fromStdString(p.Path("Main.dfm")));
  QVERIFY(!w.Model().data(w.Model().index(main, 0), Qt::DecorationRole).isNull());
  const int options = p.RowOf("Options.dfm");  // a binary form
  QCOMPARE(p.Cell(options, TPrjListModel::colLanguages), QString("0"));
  QCOMPARE(p.Cell(options, TPrjListModel::colDone), QString("-"));
  QCOMPARE(p.Cell(options, TPrjListModel::colForm), QString("TOptionsForm"));
  QVERIFY(w.Model().data(w.Model().index(options, 0), Qt::DecorationRole).isNull());
  // Columns as wide as their widest text plus a margin.
  const QFontMetrics m(w.List()->font());
  QCOMPARE(w.List()->header()->sectionSize(TPrjListModel::colForm), m.horizontalAdvance("TOptionsForm") + 20);
  QCOMPARE(w.List()->header()->sectionSize(TPrjListModel::colPath),
           m.horizontalAdvance(QString::fromStdString(p.Path("Options.dfm"))) + 20);
  // The selection page in front; the exchange page shows the project's folder.
  QCOMPARE(w.Pages()->currentIndex(), 0);
  QCOMPARE(w.Exchange()->Folder(), QString::fromStdString(p.dir.string()));
  QVERIFY(p.Changed().isEmpty());
}

void ProjectWindowTest::openingWarnsAndAsksOnce() {
  SampleProject p;
  // Two more forms whose components have other language counts: one warning however many differ.
  const std::string form2 = "object F2: TF2\r\n  object Vorlect1: TVorlect\r\n    Languages = 2\r\n  end\r\nend\r\n";
  const std::string form4 = "object F4: TF4\r\n  object Vorlect1: TVorlect\r\n    Languages = 4\r\n  end\r\nend\r\n";
  WriteAll(p.dir / "F2.dfm", form2);
  WriteAll(p.dir / "F4.dfm", form4);
  std::string dpr = ReadAll(p.dir / "Sample.dpr");
  dpr.replace(dpr.find("  About in"), 0, "  F2 in 'F2.pas' {F2},\r\n  F4 in 'F4.pas' {F4},\r\n");
  WriteAll(p.dir / "Sample.dpr", dpr);
  p.host = std::make_unique<TDesktopHost>(p.Path("Sample.dpr"));
  toolservices::SetHostServices(p.host.get());
  // Yes to the language names opens the language setup; it is cancelled here.
  p.fixture.ports.queueAnswer(ports::mrYes);
  auto setup = uitest::WhenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
  TFPrjListWindow& w = p.Open();
  QVERIFY(*setup);
  QCOMPARE(w.Catalogue().Count(), 5);
  QCOMPARE(p.fixture.Messages(),
           (QStringList{"mtInformation|[mbOK]|There are instances of TVorlect with \rdifferent amount of languages.",
                        "mtConfirmation|[mbYes,mbNo]|You should assign language names to be able to use the spell "
                        "checker.\rDo you want to do this now?"}));
}

void ProjectWindowTest::noProjectListsNothing() {
  SampleProject p;
  toolservices::HeadlessHost none;
  toolservices::SetHostServices(&none);
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|You did not save your project file yet or no project is open."});
  QCOMPARE(w.Catalogue().Count(), 0);
  QCOMPARE(w.List()->header()->sectionSize(TPrjListModel::colForm), 90);
  QVERIFY(!w.ImExportBtn()->isEnabled());
  p.window.reset();
  toolservices::SetHostServices(p.host.get());
}

void ProjectWindowTest::selectionEnablesTheActions() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QVERIFY(p.fixture.Messages().isEmpty());
  auto enabled = [&w] {
    return QList<bool>{w.ImExportBtn()->isEnabled(), w.LoadFormsBtn()->isEnabled()};
  };
  QCOMPARE(enabled(), (QList<bool>{false, false}));
  p.ClickRow(1);
  QCOMPARE(w.Catalogue().SelectedCount(), 1);
  QVERIFY(w.Catalogue().Selected(1));
  QCOMPARE(enabled(), (QList<bool>{true, true}));
  p.ClickRow(2, Qt::ControlModifier);
  QCOMPARE(w.Catalogue().SelectedCount(), 2);
  // "Select All" selects every row, and deselects all once all are selected.
  QTest::mouseClick(w.SelectAllBtn(), Qt::LeftButton);
  QCOMPARE(w.Catalogue().SelectedCount(), 3);
  QTest::mouseClick(w.SelectAllBtn(), Qt::LeftButton);
  QCOMPARE(w.Catalogue().SelectedCount(), 0);
  QCOMPARE(enabled(), (QList<bool>{false, false}));
  // "Im/Export >>" shows the exchange page without the Action and Options menus; Back restores them.
  w.SelectRows({0});
  QTest::mouseClick(w.ImExportBtn(), Qt::LeftButton);
  QCOMPARE(w.Pages()->currentWidget(), static_cast<QWidget*>(w.Exchange()));
  QVERIFY(!w.Menu("Action")->menuAction()->isEnabled());
  QVERIFY(!w.Menu("Options")->menuAction()->isEnabled());
  QVERIFY(w.Menu("StringDLL")->menuAction()->isEnabled());
  QTest::mouseClick(w.Exchange()->BackBtn(), Qt::LeftButton);
  QCOMPARE(w.Pages()->currentIndex(), 0);
  QVERIFY(w.Menu("Action")->menuAction()->isEnabled());
  QVERIFY(w.Menu("Options")->menuAction()->isEnabled());
}

void ProjectWindowTest::filterIncompleteAndSort() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QTest::mouseClick(w.SelectAllBtn(), Qt::LeftButton);
  QTest::keyClicks(w.FilterBox(), "abou");
  QCOMPARE(w.List()->model()->rowCount(), 1);
  QCOMPARE(w.List()->model()->index(0, 2).data().toString(), QString("TAboutForm"));
  // What the filter hides is not selected: the actions work on what the list shows.
  QCOMPARE(w.Catalogue().SelectedCount(), 1);
  QVERIFY(w.Catalogue().Selected(p.RowOf("About.dfm")));
  w.FilterBox()->clear();
  QCOMPARE(w.List()->model()->rowCount(), 3);
  QTest::mouseClick(w.IncompleteBox(), Qt::LeftButton);
  QCOMPARE(w.List()->model()->rowCount(), 1);
  QCOMPARE(w.List()->model()->index(0, 2).data().toString(), QString("TMainForm"));
  QTest::mouseClick(w.IncompleteBox(), Qt::LeftButton);
  // Sorted by a column's title: "Form" alphabetically, "Done" by the figure ("-" lowest).
  QHeaderView* header = w.List()->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
  QStringList forms;
  for (int r = 0; r < 3; ++r) forms << w.List()->model()->index(r, 2).data().toString();
  QCOMPARE(forms, (QStringList{"TAboutForm", "TMainForm", "TOptionsForm"}));
  w.List()->sortByColumn(TPrjListModel::colDone, Qt::DescendingOrder);
  QCOMPARE(w.List()->model()->index(0, 2).data().toString(), QString("TMainForm"));
}

void ProjectWindowTest::exportCsv() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QTest::mouseClick(w.SelectAllBtn(), Qt::LeftButton);
  QTest::mouseClick(w.ImExportBtn(), Qt::LeftButton);
  TExchangePage* page = w.Exchange();
  TypeName(page, "Strings");  // no extension: the CSV filter's is added
  QVERIFY(page->ExportBtn()->isEnabled());
  p.fixture.ports.queueAnswer(ports::mrYes);  // separate files for each language too
  QTest::mouseClick(page->ExportBtn(), Qt::LeftButton);
  QCOMPARE(page->NameEdit()->text(), QString("Strings.csv"));
  QCOMPARE(p.fixture.Messages(),
           (QStringList{"mtInformation|[mbYes,mbNo,mbCancel]|Do you want additional separate files for each "
                        "language?\rTheir names would be Strings1.csv, Strings2.csv etc..",
                        "mtInformation|[mbOK]|1 Instances of TVorlect have been exported\rin file Strings.csv."}));
  const std::string csv = ReadAll(p.dir / "Strings.csv");
  QVERIFY(csv.starts_with("%;" + p.Path("Main.dfm") + "\r\n\"%Form%\";"));
  QVERIFY(fs::exists(p.dir / "Strings1.csv"));
  QVERIFY(fs::exists(p.dir / "Strings3.csv"));
  QVERIFY(!fs::exists(p.dir / "Strings4.csv"));
  // Back on the selection page; the exchange page lists the new files and the forms in the one chosen.
  QCOMPARE(w.Pages()->currentIndex(), 0);
  QVERIFY(!page->Files()->findItems("Strings2.csv", Qt::MatchExactly).isEmpty());
  QCOMPARE(page->Files()->currentItem()->text(), QString("Strings.csv"));
  QCOMPARE(page->Forms()->count(), 1);
  QCOMPARE(page->Forms()->item(0)->text(), QString("Main.dfm"));
  QVERIFY(p.Changed().isEmpty());
  QVERIFY(!w.Action("CompileDLLs1")->isEnabled());
  w.resize(900, 420);
  Shot(w, "project-selection.png");
  w.ShowExchangePage();
  Shot(w, "project-exchange.png");
}

void ProjectWindowTest::exportResourceScripts() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  // "Export to *.rc" selects every form and shows the resource scripts for a name to be typed.
  w.Action("ExportRc1")->trigger();
  QCOMPARE(w.Catalogue().SelectedCount(), 3);
  TExchangePage* page = w.Exchange();
  QCOMPARE(w.Pages()->currentWidget(), static_cast<QWidget*>(page));
  QCOMPARE(page->FilterIndex(), 1);
  QCOMPARE(page->NameEdit()->text(), QString("*.rc"));
  QCOMPARE(page->Mask(), QString("*.rc"));
  QVERIFY(!page->ExportBtn()->isEnabled());
  TypeName(page, "Texts12");
  QTest::mouseClick(page->ExportBtn(), Qt::LeftButton);
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|1 Instances of TVorlect have been exported\rin file Texts12.rc."});
  QCOMPARE(w.Catalogue().DllBaseName, std::string("Texts"));
  for (const char* name : {"Texts1.rc", "Texts2.rc", "Texts3.rc"}) QVERIFY2(fs::exists(p.dir / name), name);
  const std::string rc = ReadAll(p.dir / "Texts2.rc");
  QVERIFY(rc.starts_with("STRINGTABLE\r\nBEGIN\r\n    1000, \"%TMainForm\"\r\n    1001, \"%Form%\"\r\n"));
  QVERIFY(rc.ends_with("END\r\n"));
  QCOMPARE(page->Files()->count(), 3);
  QVERIFY(p.Changed().isEmpty());
}

void ProjectWindowTest::exportWithoutFormsShowsTheNotice() {
  SampleProject p;
  p.ConfigureLanguages();
  vle::InfoSel = true;
  InstallNoticeDialog();
  TFPrjListWindow& w = p.Open();
  w.SelectRows({p.RowOf("About.dfm")});  // a form without a component
  w.ShowExchangePage();
  TypeName(w.Exchange(), "None.csv");
  p.fixture.ports.queueAnswer(ports::mrNo);
  // The notice comes in its dialog; ticking its box turns it off.
  QString notice;
  auto shown = uitest::WhenModal([&](QWidget* dialog) {
    auto* d = qobject_cast<TFrmPressKey*>(dialog);
    QVERIFY(d);
    notice = d->NoticeText()->text();
    QTest::mouseClick(d->CheckBox(), Qt::LeftButton);
    QTest::mouseClick(d->OKBtn(), Qt::LeftButton);
  });
  QTest::mouseClick(w.Exchange()->ExportBtn(), Qt::LeftButton);
  QVERIFY(*shown);
  QCOMPARE(notice, QString("You have to select the forms which are to be exported."));
  QVERIFY(!vle::InfoSel);
  QCOMPARE(p.fixture.Messages().last(),
           QString("mtInformation|[mbOK]|0 Instances of TVorlect have been exported\rin file None.csv."));
  QCOMPARE(ReadAll(p.dir / "None.csv"), std::string());
  vle::SetNoticeHandler({});
}

void ProjectWindowTest::importEditedCsv() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QTest::mouseClick(w.SelectAllBtn(), Qt::LeftButton);
  w.ShowExchangePage();
  TypeName(w.Exchange(), "All.csv");
  p.fixture.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(w.Exchange()->ExportBtn(), Qt::LeftButton);
  // A translator's change, then the file read back.
  std::string csv = ReadAll(p.dir / "All.csv");
  const std::string before = ";Bereit;";
  QVERIFY(csv.find(before) != std::string::npos);
  csv.replace(csv.find(before), before.size(), ";Fertig;");
  WriteAll(p.dir / "All.csv", csv);
  const std::string mainBefore = ReadAll(p.dir / "Main.dfm");
  p.fixture.ports.clear();
  w.ShowExchangePage();
  QVERIFY(w.Exchange()->SelectFile("All.csv"));
  QVERIFY(w.Exchange()->ImportBtn()->isEnabled());
  QTest::mouseClick(w.Exchange()->ImportBtn(), Qt::LeftButton);
  QCOMPARE(p.fixture.Messages(), QStringList{"mtInformation|[mbOK]|1 Instances of TVorlect have been imported."});
  QCOMPARE(w.Pages()->currentIndex(), 0);
  QCOMPARE(p.Changed(), QStringList{"Main.dfm"});
  std::string expected = mainBefore;
  expected.replace(expected.find("      'Bereit'\r\n"), 16, "      'Fertig'\r\n");
  QCOMPARE(ReadAll(p.dir / "Main.dfm"), expected);
  QCOMPARE(p.Cell(0, TPrjListModel::colDone), QString("95%"));
}

void ProjectWindowTest::importSkipsUnselectedForms() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  w.SelectRows({0});
  w.ShowExchangePage();
  TypeName(w.Exchange(), "Main.csv");
  p.fixture.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(w.Exchange()->ExportBtn(), Qt::LeftButton);
  p.fixture.ports.clear();
  w.SelectRows({p.RowOf("About.dfm")});
  w.ShowExchangePage();
  QVERIFY(w.Exchange()->SelectFile("Main.csv"));
  p.fixture.ports.queueAnswer(ports::mrIgnore);
  QTest::mouseClick(w.Exchange()->ImportBtn(), Qt::LeftButton);
  QCOMPARE(p.fixture.Messages(),
           (QStringList{"mtError|[mbIgnore]|Skipping unit " + QString::fromStdString(p.Path("Main.dfm")),
                        "mtInformation|[mbOK]|0 Instances of TVorlect have been imported.",
                        "mtInformation|[mbOK]|You have to select the forms which are to be imported."}));
  QVERIFY(p.Changed().isEmpty());
}

void ProjectWindowTest::addComponentToAllForms() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  p.fixture.ports.queueAnswer(ports::mrYes);
  w.Action("AddTVorlect1")->trigger();
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtConfirmation|[mbYes,mbNo]|Do you want to add an instance of TVorlect to all forms\rthat do "
                       "not have one yet?\rOpen files will be saved first automatically."});
  QStringList changed = p.Changed();
  changed.sort();
  QCOMPARE(changed, (QStringList{"About.dfm", "About.pas", "Options.dfm", "Options.pas"}));
  for (const char* form : {"About.dfm", "Options.dfm"}) {
    const int row = p.RowOf(form);
    QCOMPARE(p.Cell(row, TPrjListModel::colLanguages), QString("3"));
    // "%Form%", the class name and two empty texts.
    QCOMPARE(p.Cell(row, TPrjListModel::colDone), QString("50%"));
    QVERIFY(!w.Model().data(w.Model().index(row, 0), Qt::DecorationRole).isNull());
  }
  QVERIFY(ReadAll(p.dir / "About.pas").find("Vorlect1: TVorlect;") != std::string::npos);
  // Declined: nothing is written.
  p.fixture.ports.clear();
  const std::string about = ReadAll(p.dir / "About.dfm");
  p.fixture.ports.queueAnswer(ports::mrNo);
  w.Action("AddTVorlect1")->trigger();
  QCOMPARE(p.fixture.Messages().size(), 1);
  QCOMPARE(ReadAll(p.dir / "About.dfm"), about);
}

void ProjectWindowTest::emptyStringLists() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QVERIFY(!w.Action("EmptyStringLists1")->isEnabled());  // until string DLLs were built
  w.Catalogue().EmptyStringListsEnabled = true;
  w.UpdateEnabled();
  QVERIFY(w.Action("EmptyStringLists1")->isEnabled());
  p.fixture.ports.queueAnswer(ports::mrNo);
  w.Action("EmptyStringLists1")->trigger();
  QCOMPARE(p.fixture.Messages().last(), QString("mtCustom|[mbOK]|Cancelled."));
  QVERIFY(w.isVisible());
  QVERIFY(p.Changed().isEmpty());
  p.fixture.ports.queueAnswer(ports::mrYes);
  w.Action("EmptyStringLists1")->trigger();
  QCOMPARE(p.fixture.Messages().last(), QString("mtCustom|[mbOK]|All TVorlect instances are cleared."));
  QVERIFY(!w.isVisible());
  QCOMPARE(p.Changed(), QStringList{"Main.dfm"});
  const std::string main = ReadAll(p.dir / "Main.dfm");
  QVERIFY(main.find("Words.Strings") == std::string::npos);
  QVERIFY(main.find("    Languages = 1\r\n") != std::string::npos);
}

void ProjectWindowTest::doubleClickOpensTheEditor() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  const std::string mainBefore = ReadAll(p.dir / "Main.dfm");
  int rows = 0;
  w.OnEditorWindow = [&](TEditVorlectWindow& editor) {
    QTimer::singleShot(0, &editor, [&] {
      rows = editor.Editor().Grid().RowCount();
      // The empty cells of the status bar's block: a translation typed into each, then Accept.
      vle::TFEditVorlect& e = editor.Editor();
      for (int r = 2; r < e.Grid().RowCount(); ++r)
        for (int c = 1; c < e.Grid().ColCount(); ++c)
          if (e.Grid().Cells(c, r).empty()) e.Grid().SetCells(c, r, "x");
      editor.Action("Accept1")->trigger();
    });
  };
  const QRect r = w.List()->visualRect(w.List()->model()->index(0, 2));
  // A double click as the system delivers it: a click, then the second press as a double click.
  QTest::mouseClick(w.List()->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(w.List()->viewport(), Qt::LeftButton, {}, r.center());
  QCOMPARE(p.fixture.Messages(), QStringList());
  QVERIFY(rows > 2);
  QCOMPARE(p.Changed(), QStringList{"Main.dfm"});
  QCOMPARE(p.Cell(0, TPrjListModel::colDone), QString("100%"));
  // Cancel leaves the form as it was.
  const std::string saved = ReadAll(p.dir / "Main.dfm");
  w.OnEditorWindow = [](TEditVorlectWindow& editor) {
    QTimer::singleShot(0, &editor, [&editor] { editor.Action("Cancel1")->trigger(); });
  };
  w.EditRow(0);
  QCOMPARE(ReadAll(p.dir / "Main.dfm"), saved);
  // A form without a component says so.
  p.fixture.ports.clear();
  w.EditRow(p.RowOf("About.dfm"));
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|The form " + QString::fromStdString(p.Path("About.dfm")) +
                       "\rholds no TVorlect yet: add one with Action | Add TVorlect."});
}

void ProjectWindowTest::exchangePageFilesAndFolders() {
  SampleProject p;
  p.ConfigureLanguages();
  WriteAll(p.dir / "a.csv", "%;" + p.Path("Main.dfm") + "\r\n\"%Form%\";x;y;z\r\n$;" + p.Path("About.dfm") + "\r\n");
  WriteAll(p.dir / "b.rc", "STRINGTABLE\r\nBEGIN\r\n    1000, \"%TMainForm\"\r\nEND\r\n");
  fs::create_directories(p.dir / "sub");
  WriteAll(p.dir / "sub" / "c.csv", "");
  TFPrjListWindow& w = p.Open();
  TExchangePage* page = w.Exchange();
  // On showing, the first file is chosen: its name in the field, its forms listed.
  QCOMPARE(page->NameEdit()->text(), QString("a.csv"));
  QCOMPARE(page->Forms()->count(), 2);
  QCOMPARE(page->Forms()->item(1)->text(), QString("About.dfm"));
  QVERIFY(page->ContainsBtn()->isEnabled());
  // A mask typed into the name field lists what it matches; no export under a mask.
  TypeName(page, "*.rc");
  QCOMPARE(page->Files()->count(), 1);
  QCOMPARE(page->Files()->item(0)->text(), QString("b.rc"));
  QVERIFY(!page->ExportBtn()->isEnabled());
  QVERIFY(!page->ImportBtn()->isEnabled());
  QVERIFY(page->SelectFile("b.rc"));
  QCOMPARE(page->Forms()->item(0)->text(), QString("TMainForm"));
  for (const char* bad : {".hidden", "x*", "dir/"}) {
    TypeName(page, bad);
    QVERIFY2(!page->ExportBtn()->isEnabled(), bad);
  }
  // A folder typed and entered is opened; the folder list goes up again.
  TypeName(page, "sub");
  QTest::keyClick(page->NameEdit(), Qt::Key_Return);
  QCOMPARE(page->Folder(), QString::fromStdString((p.dir / "sub").string()));
  QCOMPARE(page->NameEdit()->text(), QString());
  page->ChooseFilter(0);
  QCOMPARE(page->Files()->count(), 1);
  QListWidget* folders = page->Folders();
  QListWidgetItem* parent = nullptr;
  for (int i = 0; i < folders->count(); ++i)
    if (folders->item(i)->data(Qt::UserRole).toString() == QString::fromStdString(p.dir.string()))
      parent = folders->item(i);
  QVERIFY(parent);
  emit folders->itemActivated(parent);
  QCOMPARE(page->Folder(), QString::fromStdString(p.dir.string()));
  QVERIFY(page->Drives()->count() >= 1);
  // A file of another kind cannot list its forms: said so.
  WriteAll(p.dir / "notes.txt", "x");
  TypeName(page, "*.txt");
  p.fixture.ports.clear();
  QVERIFY(page->SelectFile("notes.txt"));
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|The forms of notes.txt cannot be listed:\rthis file format cannot be "
                       "listed yet."});
}

void ProjectWindowTest::textEditorForFilesAndUnits() {
  SampleProject p;
  p.ConfigureLanguages();
  // The user's editor: a script that notes the files it was started on.
  const fs::path log = p.dir / "opened.log";
  const fs::path editor = p.dir / "editor.sh";
  WriteAll(editor, "#!/bin/sh\necho \"$1\" >> '" + log.string() + "'\n");
  ::chmod(editor.c_str(), 0755);
  ::setenv("VISUAL", editor.c_str(), 1);
  WriteAll(p.dir / "a.csv", "");
  TFPrjListWindow& w = p.Open();
  QVERIFY(w.Exchange()->SelectFile("a.csv"));
  QTest::mouseClick(w.Exchange()->ContainsBtn(), Qt::LeftButton);
  QTRY_COMPARE(ReadAll(log), p.Path("a.csv") + "\n");
  fs::remove(log);
  // "Load Forms" opens the units of the selected forms and closes the window.
  w.SelectRows({0, 2});
  QTest::mouseClick(w.LoadFormsBtn(), Qt::LeftButton);
  QVERIFY(!w.isVisible());
  QTRY_COMPARE(ReadAll(log).size(), p.Path("Main.pas").size() + p.Path("About.pas").size() + 2);
  const std::string opened = ReadAll(log);
  QVERIFY(opened.find(p.Path("Main.pas")) != std::string::npos);
  QVERIFY(opened.find(p.Path("About.pas")) != std::string::npos);
  // An editor that cannot be started is named.
  ::setenv("VISUAL", "/nonexistent/editor", 1);
  p.fixture.ports.clear();
  QVERIFY(!p.host->HostOpenFile(p.Path("Main.pas")));
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtError|[mbOK]|The text editor \"/nonexistent/editor\" (from $VISUAL) could not be started."});
  ::unsetenv("VISUAL");
}

void ProjectWindowTest::menusAndWarnings() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  QStringList items;
  for (const char* menu : {"Action", "StringDLL", "Options", "Help"})
    for (QAction* a : w.Menu(menu)->actions())
      if (!a->isSeparator()) items << a->text();
  QCOMPARE(items, (QStringList{"&Find && Replace", "&Spell-Check", "&Add TVorlect", "E&xit", "Export to *.rc",
                               "Compile DLLs", "Empty StringLists", "Configuration...", "&Warnings", "&CSV Format",
                               "&Language Setup", "&Spell Checker", "&Project Manager"}));
  QVERIFY(!w.Action("CompileDLLs1")->isEnabled());
  vle::InfoEsc = vle::InfoSel = false;
  w.Action("Warnings1")->trigger();
  QVERIFY(vle::InfoEsc && vle::InfoSel);
  QCOMPARE(p.fixture.Messages(),
           QStringList{"mtInformation|[mbOK]|All those informational messages\rwill appear again."});
  // The language setup opens from its menu item.
  auto setup = uitest::WhenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
  w.Action("LanguageSetup1")->trigger();
  QVERIFY(*setup);
  w.Action("Exit1")->trigger();
  QVERIFY(!w.isVisible());
}

void ProjectWindowTest::runProjectManager() {
  SampleProject p;
  p.ConfigureLanguages();
  vle::SaveExpertSettings();
  QCOMPARE(RunProjectManager(p.Path("Missing.dpr")), 1);
  QCOMPARE(p.fixture.Messages().size(), 1);
  QVERIFY(p.fixture.Messages().front().contains("Missing.dpr"));
  p.fixture.ports.clear();
  int forms = 0;
  const int status = RunProjectManager(p.Path("Sample.dpr"), [&](TFPrjListWindow& w) {
    forms = w.Catalogue().Count();
    QTimer::singleShot(0, &w, [&w] {
      vle::InfoSel = false;  // remembered when the window closes
      QTest::mouseClick(w.OKBtn(), Qt::LeftButton);
    });
  });
  QCOMPARE(status, 0);
  QCOMPARE(forms, 3);
  QVERIFY(p.fixture.Messages().isEmpty());
  vle::InfoSel = true;
  vle::LoadExpertSettings();
  QVERIFY(!vle::InfoSel);
}

void ProjectWindowTest::longWorkShowsProgress() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  // Work that lasts: the dialog comes, the window keeps processing its events, and the dialog goes.
  int ticks = 0;
  QTimer ticker;
  ticker.setInterval(0);
  connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start();
  bool dialogShown = false;
  const int result = w.RunWithProgress("Work", [&] {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; clock.elapsed() < 2 * TLongWork::kShowAfterMs; ++i) {
      QTest::qSleep(5);
      w.Catalogue().Progress(i, 1000, "/x/Form.dfm");
      if (TLongWork::Current() && TLongWork::Current()->Dialog())
        dialogShown = dialogShown || TLongWork::Current()->Dialog()->isVisible();
    }
    return 7;
  });
  QCOMPARE(result, 7);
  QVERIFY(dialogShown);
  QVERIFY(ticks > 10);
  QVERIFY(!TLongWork::Current());
  QVERIFY(!w.Catalogue().Progress);
  // The window does not close while work runs.
  bool closed = true;
  w.RunWithProgress("Work", [&] {
    closed = w.close();
    return 0;
  });
  QVERIFY(!closed);
}

void ProjectWindowTest::projectLockKeepsOtherRunsOut() {
  SampleProject p;
  p.ConfigureLanguages();
  TFPrjListWindow& w = p.Open();
  {
    // Another run (the command line) is writing the project's forms: the window does not wait.
    platform::FileLock other(p.Path("Sample.dpr") + ".lock");
    w.Action("AddTVorlect1")->trigger();
    QCOMPARE(p.fixture.Messages(),
             QStringList{"mtWarning|[mbOK]|Another run is changing the forms of " +
                         QString::fromStdString(p.Path("Sample.dpr")) + ".\rTry again when it has finished."});
    QVERIFY(p.Changed().isEmpty());
  }
  p.fixture.ports.clear();
  p.fixture.ports.queueAnswer(ports::mrYes);
  w.Action("AddTVorlect1")->trigger();
  QCOMPARE(p.fixture.Messages().size(), 1);
  QVERIFY(!p.Changed().isEmpty());
  QVERIFY(!fs::exists(p.Path("Sample.dpr") + ".lock"));  // let go once the action ended
}

QTEST_MAIN(ProjectWindowTest)
#include "test_project_window.moc"
