// A developer's session in the IDE, start to finish: a translation component dropped on a form,
// its table filled in the translation editor, the form switched to language 1 and a button moved
// there, the form saved and read again, and the project manager opened from the Tools menu.
#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "runtime/VLBase.h"
#include "ui/formview/FormView.h"
#include "ui/ide/ComponentPalette.h"
#include "ui/ide/FormDesigner.h"
#include "ui/ide/IdeServices.h"
#include "ui/ide/IdeWindow.h"
#include "ui/ide/ObjectInspector.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;
using namespace vorlect;

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_ide";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void Shot(QWidget& w, const char* name) {
  if (const char* dir = std::getenv("VORLECT_UI_SHOTS")) w.grab().save(QString(dir) + "/" + name);
}

// Runs `act` on the top-level window of that object name once it is shown.
void WhenShown(const QString& name, std::function<void(QWidget&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, name, act] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name && w->isVisible()) {
        poll->stop();
        poll->deleteLater();
        act(*w);
        return;
      }
  });
  poll->start();
}

// The project manager's exchange page: the file typed, then Export or Import clicked.
void Exchange(QWidget& manager, const char* file, const char* button) {
  QTest::mouseClick(manager.findChild<QAbstractButton*>("BtnImExport"), Qt::LeftButton);
  auto* name = manager.findChild<QLineEdit*>("FileEdit");
  name->selectAll();
  QTest::keyClicks(name, file);
  QTest::mouseClick(manager.findChild<QAbstractButton*>(button), Qt::LeftButton);
}

// A point of the designer where an icon dropped there touches nothing but the form.
QPoint FreeSpot(ui::TFormDesigner& d) {
  for (int y = d.height() - 40; y > 0; y -= 8)
    for (int x = 8; x < d.width() - 40; x += 8)
      if (d.ComponentAt(QPoint(x, y)) == &d.Form() && d.ComponentAt(QPoint(x + 32, y + 32)) == &d.Form())
        return QPoint(x, y);
  return QPoint(4, 4);
}

void Click(ui::TFormDesigner& d, const QPoint& p, bool twice = false) {
  QWidget* w = d.childAt(p);
  if (!w) w = &d;
  if (twice) QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(&d, p));
  else QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&d, p));
}

void RunVerb(ui::TFormDesigner& d, host::TComponent& c, const QString& caption, const char* shot = nullptr) {
  auto menu = d.VerbMenu(c);
  ASSERT_TRUE(menu);
  if (shot && std::getenv("VORLECT_UI_SHOTS")) {
    // The menu as the right mouse button shows it, over the form.
    QWidget* top = d.window();
    menu->popup(d.mapToGlobal(d.RectOf(c).center()));
    QApplication::processEvents();
    QPixmap picture = top->grab();
    QPainter p(&picture);
    p.drawPixmap(top->mapFromGlobal(menu->pos()), menu->grab());
    p.end();
    picture.save(QString(std::getenv("VORLECT_UI_SHOTS")) + "/" + shot);
    menu->hide();
  }
  for (QAction* a : menu->actions())
    if (a->text() == caption) {
      a->trigger();
      return;
    }
  ADD_FAILURE() << "no verb " << caption.toStdString();
}

TEST(IdeSession, DropTranslateSwitchMoveSaveReopenAndExport) {
  App();
  const fs::path folder = fs::path(::testing::TempDir()) / ("vorlect-ide-session-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::copy(fs::path(VORLECT_SOURCE_DIR) / "examples/sample-project", folder, fs::copy_options::recursive);
  for (const auto& e : fs::recursive_directory_iterator(folder))
    fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  const std::string registry = (folder / ".registry").string();
  ::setenv("VORLECT_REGISTRY_DIR", registry.c_str(), 1);
  const std::string about = (folder / "About.dfm").string();

  ports::ScriptedPorts ports;
  ports::ScopedPorts scope(ports);
  ui::TIdeWindow ide;
  ide.show();
  ASSERT_TRUE(ide.LoadModules(VORLECT_MODULES_DIR));
  ASSERT_TRUE(ide.OpenProject((folder / "Sample.dpr").string()));
  ASSERT_TRUE(ide.OpenForm(about));
  ui::TFormDesigner* d = ide.DesignerOf(about);
  ASSERT_TRUE(d);

  // Drop a translation component from the palette.
  QTest::mouseClick(ide.Palette()->Button("TVorlect"), Qt::LeftButton);
  Click(*d, FreeSpot(*d));
  auto* vorlect = dynamic_cast<runtime::TBaseVorlect*>(d->Form().FindComponent("Vorlect1"));
  ASSERT_TRUE(vorlect);
  EXPECT_EQ(vorlect->Languages(), 2);
  Shot(ide, "ide-designer.png");

  // Positions per language for the controls, typed into the inspector.
  d->Select(vorlect);
  QTreeWidgetItem* row = ide.Inspector()->Row("SwitchPositions");
  ASSERT_TRUE(row);
  row->setText(1, "spControlsOnly");
  EXPECT_EQ(host::GetEnumProp(*vorlect, "SwitchPositions"), "spControlsOnly");

  // The editor by double-click on the icon: Update Table, a translation typed, Accept.
  bool edited = false;
  WhenShown("FEditVorlect", [&](QWidget& w) {
    w.findChild<QAction*>("UpdateTable1")->trigger();
    QWidget* grid = w.findChild<QWidget*>("StringGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);  // language 1 of the first text: the form's caption
    // The first key opens the cell's editor with it; the rest goes to that editor.
    QTest::keyClicks(grid, QString::fromUtf8("Ü"));
    auto* editor = grid->findChild<QPlainTextEdit*>();
    if (!editor) {
      ADD_FAILURE() << "typing opened no editor in the grid";
      return;
    }
    QTest::keyClicks(editor, "ber Bestellungen");
    QTest::keyClick(editor, Qt::Key_Return);
    Shot(w, "ide-editor.png");
    w.findChild<QAction*>("Accept1")->trigger();
    edited = true;
  });
  Click(*d, d->RectOf(*vorlect).center(), true);
  for (const auto& m : ports.messages()) ADD_FAILURE() << m.text;
  ASSERT_TRUE(edited) << d->RectOf(*vorlect).x() << "," << d->RectOf(*vorlect).y() << " in " << d->width() << "x" << d->height();
  EXPECT_TRUE(d->IsModified());
  std::string words;
  for (int i = 0; i < vorlect->Words()->Count(); ++i) words += vorlect->Words()->Strings(i) + "\n";
  EXPECT_NE(words.find("\xDC" "ber Bestellungen"), std::string::npos) << words;

  // Language 1 from the verb; the form shows its translation.
  RunVerb(*d, *vorlect, "Language &1", "ide-verbs.png");
  EXPECT_EQ(host::GetStrProp(d->Form(), "Caption"), "\xDC" "ber Bestellungen");
  Shot(ide, "ide-language1.png");

  // Move the Close button in language 1, then go back to language 0.
  auto* button = dynamic_cast<host::TControl*>(d->Form().FindComponent("BtnClose"));
  ASSERT_TRUE(button);
  const int left0 = button->Left();
  d->Select(button);
  for (int i = 0; i < 12; ++i) QTest::keyClick(d, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(button->Left(), left0 - 12);
  RunVerb(*d, *vorlect, "Language &0");
  EXPECT_EQ(button->Left(), left0);

  ASSERT_TRUE(ide.SaveForm(about));
  ASSERT_TRUE(ide.ReloadForm(about));
  d = ide.DesignerOf(about);
  vorlect = dynamic_cast<runtime::TBaseVorlect*>(d->Form().FindComponent("Vorlect1"));
  button = dynamic_cast<host::TControl*>(d->Form().FindComponent("BtnClose"));
  ASSERT_TRUE(vorlect && button);
  EXPECT_EQ(host::GetStrProp(d->Form(), "Caption"), "About Orders");
  EXPECT_EQ(button->Left(), left0);
  RunVerb(*d, *vorlect, "Language &1");
  EXPECT_EQ(host::GetStrProp(d->Form(), "Caption"), "\xDC" "ber Bestellungen");
  EXPECT_EQ(button->Left(), left0 - 12);
  RunVerb(*d, *vorlect, "Language &0");

  // The project manager from the expert's menu item: its search finds a text of a form that is
  // not open, and a double-click on the hit opens that form in a designer; its export writes a CSV.
  const std::string main = (folder / "Main.dfm").string();
  ASSERT_FALSE(ide.DesignerOf(main));
  bool searched = false;
  WhenShown("SearchDlg", [&](QWidget& dlg) {
    QTest::keyClicks(dlg.findChild<QLineEdit*>("EdSearch"), "Kunde");
    QTest::mouseClick(dlg.findChild<QAbstractButton*>("BtnFind"), Qt::LeftButton);
    auto* hits = dlg.findChild<QTreeWidget*>("LvResults");
    QTRY_VERIFY(hits->topLevelItemCount() > 0);
    const QRect first = hits->visualItemRect(hits->topLevelItem(0));
    QTest::mouseClick(hits->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(hits->viewport(), Qt::LeftButton, {}, first.center());
    searched = true;
    dlg.close();
  });
  bool managed = false;
  WhenShown("FPrjList", [&](QWidget& w) {
    Shot(w, "ide-project-manager.png");
    QTest::mouseClick(w.findChild<QAbstractButton*>("BtnSelectAll"), Qt::LeftButton);
    w.findChild<QAction*>("FindReplace1")->trigger();
    Exchange(w, "Strings", "BtnExport");
    managed = true;
    w.close();
  });
  auto item = ide.Services()->HostMainMenu()->FindItem("VLItem");
  ASSERT_TRUE(item);
  ports.queueAnswer(ports::mrNo);  // no language names for the speller now
  ports.queueAnswer(ports::mrNo);  // no separate files per language
  item->Click();
  EXPECT_TRUE(managed);
  EXPECT_TRUE(searched);
  ASSERT_TRUE(ide.DesignerOf(main)) << "the search hit's form was not opened";
  EXPECT_EQ(ide.CurrentFormFile(), (folder / "Main.pas").string());
  std::ifstream in(folder / "Strings.csv", std::ios::binary);
  const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(csv.find(about), std::string::npos) << csv.substr(0, 400);
  EXPECT_NE(csv.find("\xDC" "ber Bestellungen"), std::string::npos) << csv.substr(0, 400);

  // A translator's edit comes back through the project manager's import while the form is open
  // with an unsaved move: the IDE saves the form first, and shows it as the import rewrote it.
  {
    std::string edited = csv;
    edited.replace(edited.find("\xDC" "ber Bestellungen"), 17, "\xDC" "ber alle Bestellungen");
    std::ofstream(folder / "Strings.csv", std::ios::binary) << edited;
  }
  d = ide.DesignerOf(about);
  button = dynamic_cast<host::TControl*>(d->Form().FindComponent("BtnClose"));
  d->Select(button);
  QTest::keyClick(d, Qt::Key_Down, Qt::ControlModifier);
  const int top0 = button->Top();
  ASSERT_TRUE(d->IsModified());
  bool imported = false;
  WhenShown("FPrjList", [&](QWidget& w) {
    QTest::mouseClick(w.findChild<QAbstractButton*>("BtnSelectAll"), Qt::LeftButton);
    Exchange(w, "Strings.csv", "BtnImport");
    imported = true;
    w.close();
  });
  ports.queueAnswer(ports::mrNo);
  ports.queueAnswer(ports::mrNo);
  item->Click();
  ASSERT_TRUE(imported);
  d = ide.DesignerOf(about);
  ASSERT_TRUE(d);
  EXPECT_FALSE(d->IsModified());
  vorlect = dynamic_cast<runtime::TBaseVorlect*>(d->Form().FindComponent("Vorlect1"));
  button = dynamic_cast<host::TControl*>(d->Form().FindComponent("BtnClose"));
  ASSERT_TRUE(vorlect && button);
  EXPECT_EQ(button->Top(), top0) << "the unsaved move was lost";
  RunVerb(*d, *vorlect, "Language &1");
  EXPECT_EQ(host::GetStrProp(d->Form(), "Caption"), "\xDC" "ber alle Bestellungen");
  ide.Loader().ReleaseExperts();
  ::unsetenv("VORLECT_REGISTRY_DIR");
}

}  // namespace
