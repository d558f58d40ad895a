// The editor's Find and Replace through the find dialog wrappers: opened by their shortcuts,
// driven by clicks in their windows, checked on the grid, the recorded messages and the windows.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "EditorFixture.h"
#include "ui/MyDialogs.h"
#include "ui/editor/FindReplaceDialog.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;

namespace {

// Rows 2 to 5, then the trailing empty row 6.
std::string Table() {
  return "    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Auftrag", "Button1", "Save", "Speichern",
                                                      "Label1", "name list", "Liste", "Edit1", "Name", "NAME"});
}

const QString kWrapTop = "mtInformation|[mbYes,mbNo]|The string could not be found.\rContinue searching from top?";
const QString kWrapTopBottom =
    "mtInformation|[mbYes,mbNo]|The string could not be found.\rContinue searching from top/bottom?";

TVLFindWindow* OpenFind(EditorFixture& f) {
  QTest::keyClick(&f.Window(), Qt::Key_F, Qt::ControlModifier);
  return f.Window().FindDialog()->FindWindow();
}

TVLFindWindow* OpenReplace(EditorFixture& f) {
  QTest::keyClick(&f.Window(), Qt::Key_R, Qt::ControlModifier);
  return f.Window().FindDialog()->ReplaceWindow();
}

QPoint Cursor(EditorFixture& f) { return {f.Editor().Grid().Col(), f.Editor().Grid().Row()}; }

void Type(QLineEdit* edit, const QString& text) {
  edit->clear();
  TypeText(edit, text);
}

// On its box: a check box takes clicks on its box and text only, not on the rest of its width.
void ClickCheckBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

QString LabelText(TVLFindWindow* w, std::uint16_t id) { return qobject_cast<QLabel*>(w->Control(id))->text(); }

}  // namespace

class EditorFindTest : public QObject {
  Q_OBJECT
private slots:
  void findNextStepsDownAndWrapsFromTheTop();
  void upAndMatchCase();
  void currentColumnOnlyAndItsWrap();
  void columnRangeFollowsTheDialog();
  void replaceAndReplaceAllWithTheirOwnOptions();
  void positionRememberedWhenShownAgain();
  void translatedCaptionsOnTheWindows();
  void windowsShowTheEditorsChoices();
};

void EditorFindTest::findNextStepsDownAndWrapsFromTheTop() {
  EditorFixture f;
  f.Open(Table());
  f.Click(0, 2);
  TVLFindWindow* w = OpenFind(f);
  QVERIFY(w && w->isVisible());
  QVERIFY(!w->FindNextButton()->isEnabled());  // nothing typed yet
  Type(w->FindEdit(), "name");
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 4));
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 5));
  QTest::keyClick(w->FindEdit(), Qt::Key_Return);  // Enter is Find Next
  QCOMPARE(Cursor(f), QPoint(2, 5));
  QVERIFY(f.Messages().isEmpty());
  // Past the trailing row: asked, and on Yes from the top again.
  f.ports.queueAnswer(ports::mrYes);
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(f.Messages(), QStringList{kWrapTop});
  QCOMPARE(Cursor(f), QPoint(1, 4));
  QVERIFY(w->isVisible());
}

void EditorFindTest::upAndMatchCase() {
  EditorFixture f;
  f.Open(Table());
  f.Click(2, 5);
  TVLFindWindow* w = OpenFind(f);
  Type(w->FindEdit(), "Name");
  ClickCheckBox(w->MatchCase());
  QTest::mouseClick(w->Up(), Qt::LeftButton);
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 5));
  // "name list" differs in case: nothing more above; No leaves the cursor.
  f.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(f.Messages(), QStringList{kWrapTop});
  QCOMPARE(Cursor(f), QPoint(1, 5));
  ClickCheckBox(w->MatchCase());
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 4));
}

void EditorFindTest::currentColumnOnlyAndItsWrap() {
  EditorFixture f;
  f.Open(Table());
  f.Click(2, 2);
  TVLFindWindow* w = OpenFind(f);
  QTest::mouseClick(w->Button(dialogs::idRadioCurrent), Qt::LeftButton);
  QVERIFY(!f.Editor().FindAllColumns());
  Type(w->FindEdit(), "list");
  // All columns would stop at "name list" first.
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(2, 4));
  // Going up, the wrap goes on at the last row, in the same column.
  Type(w->FindEdit(), "NAME");
  ClickCheckBox(w->MatchCase());
  QTest::mouseClick(w->Up(), Qt::LeftButton);
  f.ports.queueAnswer(ports::mrYes);
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(f.Messages(), QStringList{kWrapTop});
  QCOMPARE(Cursor(f), QPoint(2, 5));
}

void EditorFindTest::columnRangeFollowsTheDialog() {
  EditorFixture f;
  f.Open(Table());
  TVLFindWindow* w = OpenFind(f);
  QVERIFY(w->Button(dialogs::idRadioAll)->isChecked());
  QTest::mouseClick(w->Button(dialogs::idRadioCurrent), Qt::LeftButton);
  QTest::mouseClick(w->Button(dialogs::idRadioAll), Qt::LeftButton);
  QVERIFY(f.Editor().FindAllColumns());
  w->Button(dialogs::idRadioCurrent)->setChecked(true);  // no click: only closing reads it
  QVERIFY(f.Editor().FindAllColumns());
  QTest::keyClick(w, Qt::Key_Escape);
  QVERIFY(!f.Editor().FindAllColumns());
  QTRY_VERIFY(f.Window().FindDialog()->FindWindow() == nullptr);
  // Shown again it offers "&All", and searches as it shows.
  f.Click(2, 2);
  w = OpenFind(f);
  QVERIFY(w->Button(dialogs::idRadioAll)->isChecked());
  QVERIFY(f.Editor().FindAllColumns());
  Type(w->FindEdit(), "list");
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 4));
}

void EditorFindTest::replaceAndReplaceAllWithTheirOwnOptions() {
  EditorFixture f;
  f.Open("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Auftrag", "Button1", "cabab", "ab"}));
  f.Click(0, 3);
  TVLFindWindow* w = OpenReplace(f);
  QVERIFY(w && w->IsReplace());
  Type(w->FindEdit(), "AB");
  Type(w->ReplaceEdit(), "x");
  // Match case of the replace dialog: "AB" is nowhere.
  ClickCheckBox(w->MatchCase());
  f.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(w->ReplaceButton(), Qt::LeftButton);
  QCOMPARE(f.Messages(), QStringList{kWrapTopBottom});
  QCOMPARE(f.Cell(1, 3), std::string("cabab"));
  f.ports.clear();
  ClickCheckBox(w->MatchCase());
  QTest::mouseClick(w->ReplaceButton(), Qt::LeftButton);
  QCOMPARE(f.Cell(1, 3), std::string("cxab"));
  QCOMPARE(Cursor(f), QPoint(1, 3));
  // Replace All moves on to the next cell each time, until the user stops at the wrap.
  f.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(w->ReplaceAllButton(), Qt::LeftButton);
  QCOMPARE(f.Cell(1, 3), std::string("cxab"));
  QCOMPARE(f.Cell(2, 3), std::string("x"));
  QCOMPARE(f.Messages(), QStringList{kWrapTopBottom});
  // The find dialog's own state plays no part: Find Next of the replace dialog searches down.
  f.Click(0, 2);
  Type(w->FindEdit(), "xa");
  QTest::mouseClick(w->FindNextButton(), Qt::LeftButton);
  QCOMPARE(Cursor(f), QPoint(1, 3));
}

void EditorFindTest::positionRememberedWhenShownAgain() {
  EditorFixture f;
  f.Open(Table());
  TVLFindWindow* w = OpenFind(f);
  w->move(130, 140);
  QTest::mouseClick(w->CancelButton(), Qt::LeftButton);
  QTRY_VERIFY(f.Window().FindDialog()->FindWindow() == nullptr);
  QCOMPARE(f.Window().FindDialog()->Find().Left, 130);
  w = OpenFind(f);
  QCOMPARE(w->pos(), QPoint(130, 140));
  // Shown again while open: the same window, raised.
  QTest::keyClick(&f.Window(), Qt::Key_F, Qt::ControlModifier);
  QCOMPARE(f.Window().FindDialog()->FindWindow(), w);
  w->close();
  // A place no screen shows any more: centred instead.
  f.Window().FindDialog()->Find().Left = 30000;
  w = OpenFind(f);
  QVERIFY(w->screen()->availableGeometry().contains(w->pos()));
}

void EditorFindTest::translatedCaptionsOnTheWindows() {
  EditorFixture f;
  f.Open(Table());
  dialogs::TVLFindDialog& find = f.Window().FindDialog()->Find();
  find.cFindWhat = "Suchen &nach:";
  find.cOpen = "&Weitersuchen";
  find.cCancel = "Abbrechen";
  find.cDirection = "Richtung";
  find.cUp = "&Aufw\xe4rts";  // the configured code page, 1252
  find.cMatchCase = "Gro\xdf-/Kleinschreibung";
  TVLFindWindow* w = OpenFind(f);
  QCOMPARE(LabelText(w, dialogs::idFindWhat), QString("Suchen &nach:"));
  QCOMPARE(w->FindNextButton()->text(), QString("&Weitersuchen"));
  QCOMPARE(w->CancelButton()->text(), QString("Abbrechen"));
  QCOMPARE(qobject_cast<QGroupBox*>(w->Control(dialogs::idDirection))->title(), QString("Richtung"));
  QCOMPARE(w->Up()->text(), QString("&Aufwärts"));
  QCOMPARE(w->MatchCase()->text(), QString("Groß-/Kleinschreibung"));
  // No caption given: the dialog's own text.
  QCOMPARE(w->Down()->text(), QString("&Down"));
  QCOMPARE(w->WholeWord()->text(), QString("Match &whole word only"));

  dialogs::TVLReplaceDialog& replace = f.Window().FindDialog()->Replace();
  replace.cReplaceWith = "Ersetzen &durch:";
  replace.cReplace = "&Ersetzen";
  replace.cReplaceAll = "&Alle ersetzen";
  TVLFindWindow* r = OpenReplace(f);
  QCOMPARE(LabelText(r, dialogs::idReplaceWith), QString("Ersetzen &durch:"));
  QCOMPARE(r->ReplaceButton()->text(), QString("&Ersetzen"));
  QCOMPARE(r->ReplaceAllButton()->text(), QString("&Alle ersetzen"));
  QCOMPARE(LabelText(r, dialogs::idFindWhat), QString("Fi&nd what:"));
}

void EditorFindTest::windowsShowTheEditorsChoices() {
  EditorFixture f;
  f.Open(Table());
  f.Click(1, 3);
  TVLFindWindow* w = OpenFind(f);
  QVERIFY(!w->WholeWord()->isEnabled());
  QVERIFY(w->Down()->isChecked());
  QVERIFY(w->Control(dialogs::idColumnRange)->isVisible());
  QVERIFY(w->ReplaceEdit() == nullptr);
  Type(w->FindEdit(), "name");
  TVLFindWindow* r = OpenReplace(f);
  QVERIFY(r != w);
  QVERIFY(!r->WholeWord()->isEnabled());
  QVERIFY(!r->Control(dialogs::idDirection)->isVisible());  // the replace dialog always searches down
  QVERIFY(r->Control(dialogs::idColumnRange) == nullptr);
  Type(r->FindEdit(), "Speichern");
  Type(r->ReplaceEdit(), "Sichern");

  const QString dir = qEnvironmentVariable("VORLECT_UI_SHOTS");
  if (!dir.isEmpty()) {
    QDir().mkpath(dir);
    QVERIFY(w->grab().save(dir + "/find.png"));
    QVERIFY(r->grab().save(dir + "/replace.png"));
  }
  // The editor closing closes both, and the range is read from the find window.
  f.Window().close();
  QVERIFY(f.Editor().FindAllColumns());
  QVERIFY(f.Window().FindDialog()->FindWindow() == nullptr);
  QVERIFY(f.Window().FindDialog()->ReplaceWindow() == nullptr);
}

QTEST_MAIN(EditorFindTest)
#include "test_editor_find.moc"
