// The translation editor's window driven as a user drives it: keys, clicks, menus, shortcuts and
// title drags; checked in the component's lists and in every message shown.
#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "EditorFixture.h"
#include "platform/Registry.h"
#include "ui/FPressKey.h"
#include "ui/QtPorts.h"
#include "ui/QtText.h"
#include "ui/SpellDialogs.h"
#include "spell/SpellerRegistration.h"
#include "ui/MyDialogs.h"
#include "ui/editor/FindReplaceDialog.h"
#include "vle/VLSettings.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;

namespace {

// Three texts in two languages: a caption with its hint, and the form's caption.
std::string TwoLanguages() {
  return "    Languages = 2\n" +
         StringsProp("Words", {"%Form%", "Order", "Auftrag", "Button1", "OK", "", "\".Hint", "Save it", "Speichern",
                               "Label1", "Name", "Name"});
}

const char* kButtons = "  object Button1: TButton\n    Caption = 'OK'\n    Hint = 'Save it'\n  end\n"
                       "  object Label1: TLabel\n    Caption = 'Name'\n  end\n";

QStringList Q(std::initializer_list<const char*> items) {
  QStringList r;
  for (const char* s : items) r << QString::fromLatin1(s);
  return r;
}

}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT
private slots:
  void opensWithTitlesFontRowAndStatus();
  void typingStoresTheCellAndRecounts();
  void escapeDropsTheTyping();
  void cyrillicColumnKeepsItsCodePage();
  void characterOutsideTheCodePageIsReported();
  void acceptWritesWordsCharSetsAndLanguages();
  void cancelAndCloseBoxLeaveTheComponent();
  void updateTableByShortcutAddsNewComponents();
  void updateTableAsksAboutAChangedCaption();
  void insertAndDeleteLanguage();
  void deleteLanguageOnlyInLanguageColumns();
  void pasteIntoKeyColumnIsRefused();
  void shiftArrowsSelectARangeThatCopies();
  void shiftClickStartsARange();
  void cutAndPasteByShortcuts();
  void rowsInsertedAndDeleted();
  void draggingATitleMovesTheLanguageOnOk();
  void draggingATitleBackOnCancel();
  void draggingOntoTheKeyColumnIsRefused();
  void undoAndRedoOfTyping();
  void undoAndRedoOfCommands();
  void doubleClickOnAKeyTogglesTheBlock();
  void findNextFromTheDialog();
  void replaceAllAsksToWrap();
  void duplicatesAndEmptyFieldMessages();
  void statusBarClickJumpsToAnEmptyField();
  void translateAllFillsFromOtherRows();
  void changeLanguageMovesTheMarker();
  void fontRowClickChangesTheLanguagesFont();
  void tableFontApplyThenCancelRestores();
  void filterShowsMatchingRows();
  void compressPositionsReports();
  void arrowKeysKeepOneEmptyRowAtTheEnd();
  void csvExportAndImportThroughFileDialogs();
  void csvImportAsksHowToReadWhatLooksLikeUtf8();
  void menuHintReplacesThePanels();
  void geometryIsSavedAndRestored();
  void disappearHidesUntilEscape();
  void largeTableScrollsToItsEnd();
  void usableAtDoubleScale();
  void spellCheckerWorksThroughTheColumns();
};

void EditorWindowTest::opensWithTitlesFontRowAndStatus() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  QCOMPARE(w.windowTitle(), QString("Edit translations"));
  QCOMPARE(f.Cell(0, 0), std::string("index"));
  QCOMPARE(f.Cell(1, 0), std::string("language 0"));
  QCOMPARE(f.Cell(2, 0), std::string("language 1"));
  QCOMPARE(f.Cell(0, 1), std::string("Font/Charset"));
  QCOMPARE(f.Cell(1, 1), std::string("Arial, ANSI_CHARSET"));
  QCOMPARE(f.Cell(0, 3), std::string("Button1"));
  QCOMPARE(w.ModePanel()->text(), QString("Edit mode"));
  // Button1's German caption and the trailing row's two cells.
  QCOMPARE(w.EmptyPanel()->text(), QString("3 empty fields"));
  // Every command of the menus is there with its shortcut.
  QCOMPARE(w.Action("UpdateTable1")->shortcut(), QKeySequence("Ctrl+U"));
  QCOMPARE(w.Action("DeleteRows1")->shortcut(), QKeySequence("Alt+Del"));
  QCOMPARE(w.Action("Copy1")->shortcut(), QKeySequence("Ctrl+Ins"));
  QCOMPARE(w.Action("Disappear1")->shortcut(), QKeySequence("F9"));
  QCOMPARE(w.Action("TranslateAll1")->statusTip(), QString("Copy all exisiting translations"));
  // The flat tool bar with its hints.
  auto* button = qobject_cast<QToolButton*>(w.ToolBar()->widgetForAction(w.Action("Accept1")));
  QVERIFY(button);
  QCOMPARE(button->size(), QSize(25, 25));
  QVERIFY(button->autoRaise());
  QCOMPARE(w.Action("Accept1")->toolTip(), QString("Accept changes"));
  QVERIFY(!w.ToolBar()->widgetForAction(w.Action("Cut1")));
}

void EditorWindowTest::typingStoresTheCellAndRecounts() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Type(2, 3, "Bestätigen");
  QCOMPARE(f.Cell(2, 3), std::string("Best\xE4tigen"));  // cp1252
  QCOMPARE(w.EmptyPanel()->text(), QString("2 empty fields"));
  QCOMPARE(f.Grid().DisplayText(2, 3), QString("Bestätigen"));
  // F2 edits the text as it stands; Shift+Enter starts a second line stored as CR LF.
  f.Click(1, 2);
  QTest::keyClick(&f.Grid(), Qt::Key_F2);
  QTest::keyClick(f.Grid().InplaceEditor(), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(f.Grid().InplaceEditor(), "form");
  QTest::keyClick(f.Grid().InplaceEditor(), Qt::Key_Return);
  QCOMPARE(f.Cell(1, 2), std::string("Order\r\nform"));
  QVERIFY(f.Editor().Grid().RowHeights(2) > f.Editor().Grid().RowHeights(4));
}

void EditorWindowTest::escapeDropsTheTyping() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.Click(2, 3);
  QTest::keyClicks(&f.Grid(), "X");
  QVERIFY(f.Grid().Editing());
  QTest::keyClick(f.Grid().InplaceEditor(), Qt::Key_Escape);
  QVERIFY(!f.Grid().Editing());
  QCOMPARE(f.Cell(2, 3), std::string());
  QVERIFY(!f.Window().History().CanUndo());
}

void EditorWindowTest::cyrillicColumnKeepsItsCodePage() {
  EditorFixture f;
  f.Open("    Languages = 2\n" + StringsProp("CharSets", {"Arial,0", "Arial,204"}) +
         StringsProp("Words", {"Button1", "OK", "\xCE\xCA"}), kButtons);
  QCOMPARE(f.Cell(2, 1), std::string("Arial, RUSSIAN_CHARSET"));
  QCOMPARE(f.Grid().DisplayText(2, 2), QString::fromUtf8("ОК"));
  f.Type(2, 2, QString::fromUtf8("Да"));
  QCOMPARE(f.Cell(2, 2), std::string("\xC4\xE0"));  // cp1251
  f.Trigger("Accept1");
  QCOMPARE(f.Words(), (std::vector<std::string>{"Button1", "OK", "\xC4\xE0"}));
  QCOMPARE(Lines(*f.Vorlect().CharSets()), (std::vector<std::string>{"Arial,0", "Arial,204"}));
}

void EditorWindowTest::characterOutsideTheCodePageIsReported() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Type(2, 3, QString::fromUtf8("Ω"));
  QCOMPARE(f.Cell(2, 3), std::string("?"));
  QVERIFY(w.statusBar()->currentMessage().contains("\"?\""));
}

void EditorWindowTest::acceptWritesWordsCharSetsAndLanguages() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Type(2, 3, "Ja");
  f.Click(2, 3);
  f.Trigger("InsertLanguage1");
  f.Type(3, 3, "Oui");
  f.Trigger("Accept1");
  QVERIFY(!w.isVisible());
  QVERIFY(f.Editor().Accepted());
  QCOMPARE(int(f.Vorlect().Languages()), 3);
  QCOMPARE(f.Words(), (std::vector<std::string>{"%Form%", "Order", "Auftrag", "", "Button1", "OK", "Ja", "Oui",
                                                "\".Hint", "Save it", "Speichern", "", "Label1", "Name", "Name", ""}));
  QCOMPARE(Lines(*f.Vorlect().CharSets()), (std::vector<std::string>{"Arial,0", "Arial,0", "MS Sans Serif,1"}));
  QVERIFY(f.Messages().isEmpty());
}

void EditorWindowTest::cancelAndCloseBoxLeaveTheComponent() {
  {
    EditorFixture f;
    f.Open(TwoLanguages(), kButtons);
    const auto before = f.Words();
    f.Type(2, 3, "Ja");
    f.Trigger("Cancel1");
    QVERIFY(f.Editor().Closed());
    QVERIFY(!f.Editor().Accepted());
    QCOMPARE(f.Words(), before);
  }
  {
    EditorFixture f;
    TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
    const auto before = f.Words();
    f.Type(2, 3, "Ja");
    w.close();
    QVERIFY(f.Editor().Closed());
    QVERIFY(!f.Editor().Accepted());
    QCOMPARE(f.Words(), before);
  }
}

void EditorWindowTest::updateTableByShortcutAddsNewComponents() {
  EditorFixture f;
  f.Open(TwoLanguages(), std::string(kButtons) + "  object Button2: TButton\n    Caption = 'Cancel'\n  end\n");
  QTest::keyClick(&f.Window(), Qt::Key_U, Qt::ControlModifier);
  bool found = false;
  for (int r = 2; r < f.Editor().Grid().RowCount(); ++r)
    if (f.Cell(0, r) == "Button2") {
      found = true;
      QCOMPARE(f.Cell(1, r), std::string("Cancel"));
    }
  QVERIFY(found);
  QVERIFY(f.Messages().isEmpty());
  QVERIFY(f.Window().History().CanUndo());
}

void EditorWindowTest::updateTableAsksAboutAChangedCaption() {
  EditorFixture f;
  f.Open(TwoLanguages(), "  object Button1: TButton\n    Caption = 'Okay'\n    Hint = 'Save it'\n  end\n"
                         "  object Label1: TLabel\n    Caption = 'Name'\n  end\n");
  f.ports.queueAnswer(ports::mrYes);
  f.Trigger("UpdateTable1");
  QCOMPARE(f.Messages(), QStringList{"mtConfirmation|[mbYes,mbNo,mbIgnore,mbAll]|String has changed from\r\"OK\"\rto\"\rOkay\"\rUpdate the table?"});
  QCOMPARE(f.Cell(1, 3), std::string("Okay"));
}

void EditorWindowTest::insertAndDeleteLanguage() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.Click(1, 2);
  f.Trigger("InsertLanguage1");
  QCOMPARE(f.Editor().Grid().ColCount(), 4);
  QCOMPARE(f.Cell(2, 1), std::string("MS Sans Serif, DEFAULT_CHARSET"));
  QCOMPARE(f.Cell(3, 2), std::string("Auftrag"));
  f.Click(3, 2);
  f.ports.queueAnswer(ports::mrNo);
  f.Trigger("DeleteLanguage1");
  QCOMPARE(f.Editor().Grid().ColCount(), 4);
  f.ports.queueAnswer(ports::mrYes);
  f.Trigger("DeleteLanguage1");
  QCOMPARE(f.Editor().Grid().ColCount(), 3);
  // Inserting does not retitle: the column right of the new one keeps its title.
  QCOMPARE(f.Messages(), (QStringList{"mtConfirmation|[mbYes,mbNo]|Do you really want to delete\rlanguage \"language 1\"?",
                                      "mtConfirmation|[mbYes,mbNo]|Do you really want to delete\rlanguage \"language 1\"?"}));
  QCOMPARE(f.Cell(2, 2), std::string());  // the inserted, empty column is left
}

void EditorWindowTest::deleteLanguageOnlyInLanguageColumns() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(0, 3);
  QVERIFY(!w.Action("DeleteLanguage1")->isEnabled());
  QTest::keyClick(&f.Grid(), Qt::Key_Right);
  QVERIFY(w.Action("DeleteLanguage1")->isEnabled());
}

void EditorWindowTest::pasteIntoKeyColumnIsRefused() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.ports.SetClipboardText("x");
  f.Click(0, 3);
  f.ports.queueAnswer(ports::mrAbort);
  QTest::keyClick(&f.Window(), Qt::Key_Insert, Qt::ShiftModifier);
  QCOMPARE(f.Messages(), QStringList{"mtError|[mbAbort]|You must not paste into this column."});
  QCOMPARE(f.Cell(0, 3), std::string("Button1"));
}

void EditorWindowTest::shiftArrowsSelectARangeThatCopies() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(1, 2);
  QTest::keyClick(&f.Grid(), Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(w.ModePanel()->text(), QString("Select range mode"));
  QTest::keyClick(&f.Grid(), Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(f.Editor().Grid().Selection(), (grid::TGridRect{1, 2, 2, 3}));
  QTest::keyClick(&f.Window(), Qt::Key_Insert, Qt::ControlModifier);
  QCOMPARE(f.ports.GetClipboardText(), std::string("Order\tAuftrag\r\nOK\t\r\n"));
  QCOMPARE(w.ModePanel()->text(), QString("Edit mode"));
  // An arrow without Shift leaves the range mode too.
  QTest::keyClick(&f.Grid(), Qt::Key_Down, Qt::ShiftModifier);
  QCOMPARE(w.ModePanel()->text(), QString("Select range mode"));
  QTest::keyClick(&f.Grid(), Qt::Key_Up);
  QCOMPARE(w.ModePanel()->text(), QString("Edit mode"));
}

void EditorWindowTest::shiftClickStartsARange() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(1, 2);
  // The logic reads the shift state of the last mouse move.
  QTest::mouseMove(f.Grid().viewport(), f.Grid().CellRect(2, 4).center());
  QMouseEvent move(QEvent::MouseMove, f.Grid().CellRect(2, 4).center(), f.Grid().viewport()->mapToGlobal(f.Grid().CellRect(2, 4).center()),
                   Qt::NoButton, Qt::NoButton, Qt::ShiftModifier);
  QApplication::sendEvent(f.Grid().viewport(), &move);
  f.Click(2, 4, Qt::ShiftModifier);
  QCOMPARE(w.ModePanel()->text(), QString("Select range mode"));
  QCOMPARE(f.Editor().Grid().Selection(), (grid::TGridRect{1, 2, 2, 4}));
  // A plain click ends it.
  QMouseEvent plain(QEvent::MouseMove, f.Grid().CellRect(1, 3).center(), f.Grid().viewport()->mapToGlobal(f.Grid().CellRect(1, 3).center()),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f.Grid().viewport(), &plain);
  f.Click(1, 3);
  QCOMPARE(w.ModePanel()->text(), QString("Edit mode"));
}

void EditorWindowTest::cutAndPasteByShortcuts() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.Click(2, 2);
  QTest::keyClick(&f.Window(), Qt::Key_Delete, Qt::ShiftModifier);  // Cut
  QCOMPARE(f.Cell(2, 2), std::string());
  QCOMPARE(f.ports.GetClipboardText(), std::string("Auftrag"));
  f.Click(2, 3);
  QTest::keyClick(&f.Window(), Qt::Key_Insert, Qt::ShiftModifier);  // Paste
  QCOMPARE(f.Cell(2, 3), std::string("Auftrag"));
  QTest::keyClick(&f.Window(), Qt::Key_Delete, Qt::ControlModifier);  // Delete
  QCOMPARE(f.Cell(2, 3), std::string());
  QCOMPARE(f.ports.GetClipboardText(), std::string("Auftrag"));
}

void EditorWindowTest::rowsInsertedAndDeleted() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  const int rows = f.Editor().Grid().RowCount();
  f.Click(1, 3);
  f.Trigger("InsertRow1");
  QCOMPARE(f.Editor().Grid().RowCount(), rows + 1);
  QCOMPARE(f.Cell(0, 3), std::string());
  QCOMPARE(f.Cell(0, 4), std::string("Button1"));
  f.Click(1, 4);
  QTest::keyClick(&f.Window(), Qt::Key_Delete, Qt::AltModifier);  // Button1 with its hint row
  QCOMPARE(f.Editor().Grid().RowCount(), rows - 1);
  QCOMPARE(f.Cell(0, 4), std::string("Label1"));
}

void EditorWindowTest::draggingATitleMovesTheLanguageOnOk() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.ports.queueAnswer(ports::mrOk);
  const QRect from = f.Grid().CellRect(2, 0), to = f.Grid().CellRect(1, 0);
  QTest::mousePress(f.Grid().viewport(), Qt::LeftButton, {}, from.center());
  QTest::mouseMove(f.Grid().viewport(), from.center() - QPoint(20, 0));
  QTest::mouseMove(f.Grid().viewport(), to.center());
  QTest::mouseRelease(f.Grid().viewport(), Qt::LeftButton, {}, to.center());
  QCOMPARE(f.Messages(), QStringList{"mtConfirmation|[mbOK,mbCancel]|You just moved column 2 to 1. You should\rdo so in "
                                     "all other forms in your project also.\r\rIs this intended or do you want to cancel?"});
  // Written to the component at once: the texts of the two languages changed places.
  QCOMPARE(f.Words(), (std::vector<std::string>{"%Form%", "Auftrag", "Order", "Button1", "", "OK", "\".Hint", "Speichern",
                                                "Save it", "Label1", "Name", "Name"}));
  QCOMPARE(f.Cell(1, 0), std::string("language 0"));
}

void EditorWindowTest::draggingATitleBackOnCancel() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  const auto before = f.Words();
  f.ports.queueAnswer(ports::mrCancel);
  const QRect from = f.Grid().CellRect(1, 0), to = f.Grid().CellRect(2, 0);
  QTest::mousePress(f.Grid().viewport(), Qt::LeftButton, {}, from.center());
  QTest::mouseMove(f.Grid().viewport(), to.center());
  QTest::mouseRelease(f.Grid().viewport(), Qt::LeftButton, {}, to.center());
  QCOMPARE(f.Messages().size(), 1);
  QCOMPARE(f.Cell(1, 2), std::string("Order"));
  QCOMPARE(f.Words(), before);
}

void EditorWindowTest::draggingOntoTheKeyColumnIsRefused() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.ports.queueAnswer(ports::mrAbort);
  const QRect from = f.Grid().CellRect(1, 0), to = f.Grid().CellRect(0, 0);
  QTest::mousePress(f.Grid().viewport(), Qt::LeftButton, {}, from.center());
  QTest::mouseMove(f.Grid().viewport(), to.center());
  QTest::mouseRelease(f.Grid().viewport(), Qt::LeftButton, {}, to.center());
  QCOMPARE(f.Messages(), QStringList{"mtError|[mbAbort]|You must not move a language to this column."});
  QCOMPARE(f.Cell(0, 2), std::string("%Form%"));
  QCOMPARE(f.Cell(1, 2), std::string("Order"));
}

void EditorWindowTest::undoAndRedoOfTyping() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  QVERIFY(!w.Action("Undo1")->isEnabled());
  f.Type(2, 3, "Ja");
  QVERIFY(w.Action("Undo1")->isEnabled());
  QTest::keyClick(&f.Window(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(f.Cell(2, 3), std::string());
  QCOMPARE(w.EmptyPanel()->text(), QString("3 empty fields"));
  QTest::keyClick(&f.Window(), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(f.Cell(2, 3), std::string("Ja"));
  f.Trigger("Accept1");
  QCOMPARE(f.Words()[5], std::string("Ja"));
}

void EditorWindowTest::undoAndRedoOfCommands() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Trigger("Sort1");
  QCOMPARE(f.Cell(0, 2), std::string("%Form%"));
  f.Click(1, 3);
  QTest::keyClick(&f.Window(), Qt::Key_Delete, Qt::AltModifier);
  QCOMPARE(f.Cell(0, 3), std::string("Label1"));
  QVERIFY(w.Action("Undo1")->text().contains("Delete Row(s)"));
  f.Trigger("Undo1");
  QCOMPARE(f.Cell(0, 3), std::string("Button1"));
  QCOMPARE(f.Cell(0, 4), std::string("\".Hint"));
  f.Trigger("Redo1");
  QCOMPARE(f.Cell(0, 3), std::string("Label1"));
  f.Trigger("Undo1");
  // A new change drops what could be redone.
  f.Type(2, 3, "Ja");
  QVERIFY(!w.Action("Redo1")->isEnabled());
}

void EditorWindowTest::doubleClickOnAKeyTogglesTheBlock() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  const QRect key = f.Grid().CellRect(0, 4);  // Button1's hint row: the block's key is Button1
  QTest::mouseClick(f.Grid().viewport(), Qt::LeftButton, {}, key.center());
  QTest::mouseDClick(f.Grid().viewport(), Qt::LeftButton, {}, key.center());
  QCOMPARE(Lines(*f.Vorlect().DoNot()), std::vector<std::string>{"Button1"});
  f.Trigger("Undo1");
  QCOMPARE(Lines(*f.Vorlect().DoNot()), std::vector<std::string>{});
  QTest::keyClick(&f.Window(), Qt::Key_F8);
  QCOMPARE(Lines(*f.Vorlect().DoNot()), std::vector<std::string>{"Button1"});
}

void EditorWindowTest::findNextFromTheDialog() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(0, 2);
  QTest::keyClick(&f.Window(), Qt::Key_F, Qt::ControlModifier);
  TVLFindWindow* d = w.FindDialog()->FindWindow();
  QVERIFY(d && d->isVisible());
  QVERIFY(d->Button(dialogs::idRadioAll)->isChecked());
  d->FindEdit()->setText("speich");
  QTest::mouseClick(d->FindNextButton(), Qt::LeftButton);
  QCOMPARE(f.Editor().Grid().Col(), 2);
  QCOMPARE(f.Editor().Grid().Row(), 4);
  // Current column only: from the key column nothing below matches "name" but Label1's key.
  QTest::mouseClick(d->Button(dialogs::idRadioCurrent), Qt::LeftButton);
  QVERIFY(!f.Editor().FindAllColumns());
  d->close();
  QVERIFY(!f.Editor().FindAllColumns());
}

void EditorWindowTest::replaceAllAsksToWrap() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(0, 2);
  f.Trigger("Replace1");
  TVLFindWindow* d = w.FindDialog()->ReplaceWindow();
  QVERIFY(d);
  d->FindEdit()->setText("Name");
  d->ReplaceEdit()->setText("Nom");
  f.ports.queueAnswer(ports::mrNo);
  QTest::mouseClick(d->ReplaceAllButton(), Qt::LeftButton);
  QCOMPARE(f.Cell(1, 5), std::string("Nom"));
  QCOMPARE(f.Cell(2, 5), std::string("Nom"));
  QCOMPARE(f.Messages(), QStringList{"mtInformation|[mbYes,mbNo]|The string could not be found.\rContinue searching from top/bottom?"});
  f.Trigger("Undo1");
  QCOMPARE(f.Cell(1, 5), std::string("Name"));
}

void EditorWindowTest::duplicatesAndEmptyFieldMessages() {
  EditorFixture f;
  f.Open("    Languages = 1\n" + StringsProp("Words", {"Button1", "a", "Label1", "b", "BUTTON1", "c"}), kButtons);
  QTest::keyClick(&f.Window(), Qt::Key_D, Qt::ControlModifier);
  QCOMPARE(f.Messages(), QStringList{"mtWarning|[mbOK]|A duplicate was found 2 lines above."});
  QCOMPARE(f.Editor().Grid().Row(), 4);
  f.ports.clear();
  f.Type(1, 5, "d");  // the trailing row: no empty field left
  QTest::keyClick(&f.Window(), Qt::Key_E, Qt::ControlModifier);
  QCOMPARE(f.Messages(), QStringList{"mtInformation|[mbOK]|There are no empty entries in this table."});
}

void EditorWindowTest::statusBarClickJumpsToAnEmptyField() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(1, 2);
  QTest::mouseClick(w.EmptyPanel(), Qt::LeftButton);
  QCOMPARE(f.Editor().Grid().Col(), 2);
  QCOMPARE(f.Editor().Grid().Row(), 3);
}

void EditorWindowTest::translateAllFillsFromOtherRows() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open("    Languages = 2\n" + StringsProp("Words", {"Button1", "Yes", "Ja", "Button2", "Yes", ""}));
  f.Trigger("TranslateAll1");
  QCOMPARE(f.Cell(2, 3), std::string("Ja"));
  QVERIFY(f.Messages().isEmpty());
  QCOMPARE(w.EmptyPanel()->text(), QString("2 empty fields"));
}

void EditorWindowTest::changeLanguageMovesTheMarker() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  f.Type(2, 3, "Ja");
  QTest::keyClick(&f.Window(), Qt::Key_F6);
  QCOMPARE(int(f.Vorlect().ActiveLanguage()), 1);
  // Written at once, and the form shows the second language.
  QCOMPARE(f.Words()[5], std::string("Ja"));
  const QImage shot = f.Grid().grab().toImage();
  QVERIFY(!shot.isNull());
  const auto marker = f.Editor().ActiveMarker(2, {0, 0, 100, 20}, 30);
  QVERIFY(marker.has_value());
  QVERIFY(!f.Editor().ActiveMarker(1, {0, 0, 100, 20}, 30).has_value());
  QTest::keyClick(&f.Window(), Qt::Key_F6);
  QCOMPARE(int(f.Vorlect().ActiveLanguage()), 0);
}

void EditorWindowTest::fontRowClickChangesTheLanguagesFont() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  std::string askedFont, askedCharset;
  w.SelectFont = [&](const std::string& font, const std::string& charset) -> std::optional<vle::TFontChoice> {
    askedFont = font;
    askedCharset = charset;
    return vle::TFontChoice{"Courier New", "RUSSIAN_CHARSET"};
  };
  f.Click(2, 1);
  QCOMPARE(askedFont, std::string("Arial"));
  QCOMPARE(askedCharset, std::string("ANSI_CHARSET"));
  QCOMPARE(f.Cell(2, 1), std::string("Courier New, RUSSIAN_CHARSET"));
  // A click on a column border sizes the column instead.
  askedFont.clear();
  const QRect r = f.Grid().CellRect(1, 1);
  QTest::mouseClick(f.Grid().viewport(), Qt::LeftButton, {}, QPoint(r.right() - 3, r.center().y()));
  QVERIFY(askedFont.empty());
  f.Trigger("Accept1");
  QCOMPARE(Lines(*f.Vorlect().CharSets()), (std::vector<std::string>{"Arial,0", "Courier New,204"}));
}

void EditorWindowTest::tableFontApplyThenCancelRestores() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  const int before = f.Editor().Grid().GridFont.size;
  int appliedHeight = 0;
  w.SelectTableFont = [&](const ports::FontSpec& font, const std::function<void(const ports::FontSpec&)>& apply)
      -> std::optional<ports::FontSpec> {
    ports::FontSpec big = font;
    big.size = 20;
    apply(big);
    appliedHeight = f.Editor().Grid().DefaultRowHeight;
    return std::nullopt;  // Cancel
  };
  f.Trigger("Font1");
  ports::FontSpec twenty;
  twenty.size = 20;
  QCOMPARE(appliedHeight, twenty.PixelHeight() * 3 / 2);
  QCOMPARE(f.Editor().Grid().GridFont.size, before);
  w.SelectTableFont = [&](const ports::FontSpec& font, const std::function<void(const ports::FontSpec&)>&)
      -> std::optional<ports::FontSpec> {
    ports::FontSpec big = font;
    big.size = 14;
    return big;
  };
  f.Trigger("Font1");
  QCOMPARE(f.Editor().Grid().GridFont.size, 14);
  QVERIFY(f.Editor().Grid().RowHeights(2) >= 14);
}

void EditorWindowTest::filterShowsMatchingRows() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  f.Click(1, 2);
  w.FilterBox()->setText("speich");
  QVERIFY(f.Grid().Filtered());
  // The hint row and the row being worked on.
  QCOMPARE(f.Grid().VisibleDataRows(), 2);
  QVERIFY(!f.Grid().CellRect(1, 4).isEmpty());
  QVERIFY(f.Grid().CellRect(1, 3).isEmpty());
  w.SetFilter(true, "");
  // Button1 (German empty) and the trailing row, with the current row.
  QCOMPARE(f.Grid().VisibleDataRows(), 3);
  w.SetFilter(false, "");
  QVERIFY(!f.Grid().Filtered());
  QCOMPARE(f.Grid().VisibleDataRows(), f.Editor().Grid().RowCount() - 2);
}

void EditorWindowTest::compressPositionsReports() {
  EditorFixture f;
  f.Open(TwoLanguages() + StringsProp("Positions", {"button1,1.2.3.4,1.2.3.4", "label1,1.2.3.4,5.6.7.8", "gone,1.1.1.1,2.2.2.2"}),
         kButtons);
  QTest::keyClick(&f.Window(), Qt::Key_P, Qt::ControlModifier);
  QCOMPARE(f.Messages(), QStringList{"mtInformation|[mbOK]|2 positions removed,\r1 positions remain"});
  QCOMPARE(Lines(*f.Vorlect().Positions()), std::vector<std::string>{"label1,1.2.3.4,5.6.7.8"});
  f.Trigger("Undo1");
  QCOMPARE(f.Vorlect().Positions()->Count(), 3);
}

void EditorWindowTest::arrowKeysKeepOneEmptyRowAtTheEnd() {
  EditorFixture f;
  f.Open("    Languages = 1\n" + StringsProp("Words", {"Button1", "a"}), kButtons);
  QCOMPARE(f.Editor().Grid().RowCount(), 4);  // titles, fonts, Button1, the trailing row
  f.Type(0, 3, "Label1");
  f.Click(0, 3);
  QTest::keyClick(&f.Grid(), Qt::Key_Down);
  QCOMPARE(f.Editor().Grid().RowCount(), 5);
  QCOMPARE(f.Editor().Grid().Row(), 4);
  QTest::keyClick(&f.Grid(), Qt::Key_Up);
  QCOMPARE(f.Editor().Grid().RowCount(), 4);
  QCOMPARE(f.Editor().Grid().Row(), 3);
}

void EditorWindowTest::csvExportAndImportThroughFileDialogs() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  const QString path = QDir::temp().filePath(QStringLiteral("vorlect_ui_%1.csv").arg(QCoreApplication::applicationPid()));
  f.ports.queueFile(path.toStdString());
  f.Trigger("ExportCSV1");
  QVERIFY(QFile::exists(path));
  f.Type(2, 2, "changed");
  f.ports.queueFile(path.toStdString());
  f.Trigger("ImportCSV1");
  QCOMPARE(f.Cell(2, 2), std::string("Auftrag"));
  QCOMPARE(f.ports.fileDialogs().size(), size_t(2));
  QVERIFY(f.ports.fileDialogs()[0].save);
  QFile::remove(path);
}

void EditorWindowTest::csvImportAsksHowToReadWhatLooksLikeUtf8() {
  EditorFixture f;
  f.Open(TwoLanguages(), kButtons);
  const QString path = QDir::temp().filePath(QStringLiteral("vorlect_ui_utf8_%1.csv").arg(QCoreApplication::applicationPid()));
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("$;D:\\App\\Main.dfm\r\n%Form%;Order;Auftr\xC3\xA4ge\r\n");
  }
  const QString question = "mtConfirmation|[mbYes,mbNo,mbCancel]|File " + path + "\rlooks like UTF-8 - read it as UTF-8?";
  f.ports.queueFile(path.toStdString());
  f.ports.queueAnswer(ports::mrCancel);
  f.Trigger("ImportCSV1");
  QCOMPARE(f.Messages(), QStringList{question});
  QCOMPARE(f.Cell(2, 2), std::string("Auftrag"));
  QCOMPARE(f.Cell(0, 3), std::string("Button1"));

  f.ports.queueFile(path.toStdString());
  f.ports.queueAnswer(ports::mrYes);
  f.Trigger("ImportCSV1");
  QCOMPARE(f.Messages(), (QStringList{question, question}));
  QCOMPARE(f.Cell(2, 2), std::string("Auftr\xE4ge"));
  QFile::remove(path);
}

void EditorWindowTest::menuHintReplacesThePanels() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  QStatusTipEvent tip(QStringLiteral("Sort Entries"));
  QApplication::sendEvent(&w, &tip);
  QCOMPARE(f.Editor().ApplicationHint, std::string("Sort Entries"));
  QCOMPARE(w.statusBar()->currentMessage(), QString("Sort Entries"));
  QVERIFY(!w.ModePanel()->isVisible());
  QStatusTipEvent none{QString()};
  QApplication::sendEvent(&w, &none);
  QVERIFY(f.Editor().ApplicationHint.empty());
  QVERIFY(w.ModePanel()->isVisible());
}

void EditorWindowTest::geometryIsSavedAndRestored() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  w.move(40, 60);
  w.resize(640, 420);
  QApplication::processEvents();
  f.Editor().Grid().SetColWidths(1, 77);
  f.Trigger("Cancel1");
  platform::Registry reg(platform::HKEY_CURRENT_USER);
  QVERIFY(reg.OpenKey(vle::kSettingsKey, false));
  QCOMPARE(reg.ReadInteger("w"), 640);
  QCOMPARE(reg.ReadInteger("h"), 420);
  QCOMPARE(reg.ReadInteger("Col1"), 77);
  // A second editor opens where the first one was left.
  vle::TFEditVorlect again(f.Vorlect());
  TEditVorlectWindow w2(again);
  QCOMPARE(again.Settings().w, 640);
  QCOMPARE(again.Grid().ColWidths(1), 77);
  QCOMPARE(w2.size(), QSize(640, 420));
  again.WriteSettingsOnClose = false;
}

void EditorWindowTest::disappearHidesUntilEscape() {
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  // First the notice, its box ticked: it is not shown the next time.
  QString notice;
  bool hiddenMeanwhile = false;
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<TFrmPressKey*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    notice = dialog->NoticeText()->text();
    hiddenMeanwhile = !w.isVisible();
    dialog->CheckBox()->click();
    dialog->OKBtn()->click();
    QTimer::singleShot(50, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
  });
  QTest::keyClick(&w, Qt::Key_F9);
  QCOMPARE(notice, QString("Hit ESC to return to the editor."));
  QVERIFY(hiddenMeanwhile);
  QVERIFY(!vle::InfoEsc);
  QVERIFY(w.isVisible());
  // Without the notice, Escape alone brings the window back.
  bool wasHidden = false;
  QTimer::singleShot(50, [&] {
    wasHidden = !w.isVisible();
    QWidget* waiting = QApplication::activeModalWidget();
    QVERIFY(waiting && !qobject_cast<TFrmPressKey*>(waiting));
    QTest::keyClick(waiting, Qt::Key_Escape);
  });
  w.Action("Disappear1")->trigger();
  QVERIFY(wasHidden);
  QVERIFY(w.isVisible());
}

void EditorWindowTest::largeTableScrollsToItsEnd() {
  EditorFixture f;
  std::vector<std::string> words;
  for (int i = 0; i < 5000; ++i) {
    words.push_back("Key" + std::to_string(i));
    words.push_back("Text " + std::to_string(i));
    words.push_back(i % 7 ? "Text" : "");
  }
  f.Open("    Languages = 2\n" + StringsProp("Words", words));
  f.Click(1, 2);
  QTest::keyClick(&f.Grid(), Qt::Key_End, Qt::ControlModifier);
  const int last = f.Editor().Grid().RowCount() - 1;
  QCOMPARE(f.Editor().Grid().Row(), last);
  QVERIFY(!f.Grid().CellRect(1, last).isEmpty());
  QVERIFY(f.Grid().TopRow() > 4000);
  QTest::keyClick(&f.Grid(), Qt::Key_PageUp);
  QVERIFY(f.Editor().Grid().Row() < last);
  QVERIFY(!f.Grid().CellRect(1, f.Editor().Grid().Row()).isEmpty());
}

// Run with QT_SCALE_FACTOR=2 (its own ctest entry): the window at 200 %.
void EditorWindowTest::usableAtDoubleScale() {
  if (qgetenv("QT_SCALE_FACTOR") != "2") QSKIP("needs QT_SCALE_FACTOR=2");
  EditorFixture f;
  TEditVorlectWindow& w = f.Open(TwoLanguages(), kButtons);
  QCOMPARE(w.devicePixelRatio(), 2.0);
  const QImage shot = w.grab().toImage();
  QCOMPARE(shot.width(), 2 * w.width());
  // Rows are tall enough for their text at any scale; the flat buttons keep their size.
  const QFontMetrics metrics(QtFont(f.Editor().Grid().GridFont));
  for (int r = 1; r < f.Editor().Grid().RowCount(); ++r) QVERIFY(f.Editor().Grid().RowHeights(r) >= metrics.height());
  QCOMPARE(w.ToolBar()->widgetForAction(w.Action("Accept1"))->size(), QSize(25, 25));
  // Clicks land on the cells they aim at.
  f.Type(2, 3, "Ja");
  QCOMPARE(f.Cell(2, 3), std::string("Ja"));
  const QRect r = f.Grid().CellRect(1, 5);
  QCOMPARE(f.Grid().CellAt(r.center().x(), r.center().y()), std::make_pair(1, 5));
}

void EditorWindowTest::spellCheckerWorksThroughTheColumns() {
  if (!QFile::exists("/usr/share/hunspell/en_US.dic")) QSKIP("the en_US dictionary (hunspell-en-us) is not installed");
  EditorFixture f;
  std::string report;
  QVERIFY(spell::RegisterSpellers(report, {"/usr/share/hunspell"}, spell::DefaultEnginePath()) > 0);
  vle::LanguageIds().Add("1033");
  TEditVorlectWindow& w = f.Open("    Languages = 1\n" + StringsProp("Words", {"Label1", "Helo world"}), kButtons);
  QString info, context;
  QStringList variants;
  QTimer::singleShot(100, [&] {
    auto* speller = qobject_cast<TSpellerWindow*>(QApplication::activeModalWidget());
    QVERIFY(speller);
    info = speller->InfoMsg()->text();
    context = speller->Misspelling()->toPlainText();
    for (int i = 0; i < speller->Variants()->count(); ++i) variants << speller->Variants()->item(i)->text();
    const auto hello = speller->Variants()->findItems("Hello", Qt::MatchExactly);
    QVERIFY(!hello.isEmpty());
    speller->Variants()->setCurrentItem(hello.first());
    speller->Button("ChangeButton")->click();
  });
  QTest::keyClick(&w, Qt::Key_F7);
  QCOMPARE(info, QString("Unknown word"));
  QCOMPARE(context, QString("Helo world"));
  QVERIFY(variants.contains("Hello"));
  QCOMPARE(f.Cell(1, 2), std::string("Hello world"));
  QCOMPARE(f.Messages(), QStringList{"mtInformation|[mbOK]|Spell checking completed."});
  f.Trigger("Undo1");
  QCOMPARE(f.Cell(1, 2), std::string("Helo world"));
}

QTEST_MAIN(EditorWindowTest)
#include "test_editor_window.moc"
