// Help inside the program: every keyword the windows ask for opens the help window at a section
// the page really has, and a Help button inside a modal dialog gives a window the user can use.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QPointer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "UiModal.h"
#include "ui/FCSVSetup.h"
#include "ui/Help.h"
#include "ui/HelpWindow.h"
#include "vle/FSelFont.h"
#include "vle/FSetLang.h"
#include "vle/VLCsv.h"
#include "vle/editor/VLEditor.h"
#include "vle/exchange/FSearchDlg.h"

using namespace vorlect;
using vorlect::uitest::WhenModal;

namespace {

const char* const kKeywords[] = {
    vle::kHelpKeyword,                  // the translation editor's Help menu
    vle::TFrmSelFont::kHelpKeyword,     //
    vle::TFrmCSVSetup::kHelpKeyword,    //
    vle::TFLangDlg::kHelpKeyword,       //
    vle::TSearchDlg::kHelpKeyword,      //
    "project manager",                  // the project manager's Help menu and buttons
};

// Where the browser has laid out the block holding the anchor, in document coordinates.
std::optional<qreal> AnchorTop(const QTextBrowser* browser, const QString& anchor) {
  QTextDocument* document = browser->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(anchor))
        return document->documentLayout()->blockBoundingRect(block).top();
  return std::nullopt;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void everyKeywordOpensItsSection();
  void helpButtonInAModalDialog();
  void noPageNoHelp();
};

void HelpTest::init() { qputenv("VORLECT_HELP_DIR", VORLECT_SOURCE_DIR "/docs/help"); }

void HelpTest::cleanup() {
  qunsetenv("VORLECT_HELP_DIR");
  delete ui::THelpWindow::Shared();
}

void HelpTest::everyKeywordOpensItsSection() {
  QVERIFY(ui::HelpAvailable());
  for (const char* keyword : kKeywords) {
    QVERIFY2(ui::OpenHelp(keyword), keyword);
    ui::THelpWindow* window = ui::THelpWindow::Shared();
    QVERIFY(window && window->isVisible());
    const QString anchor = ui::HelpAnchor(keyword);
    QCOMPARE(window->Anchor(), anchor);
    QVERIFY2(window->HasAnchor(anchor), keyword);
    // Scrolled there: the section's start is in view, at the top unless the page ends first.
    QTextBrowser* browser = window->Browser();
    const std::optional<qreal> top = AnchorTop(browser, anchor);
    QVERIFY(top);
    const QScrollBar* bar = browser->verticalScrollBar();
    QVERIFY2(*top >= bar->value() - 1 && *top < bar->value() + browser->viewport()->height(), keyword);
    if (bar->value() < bar->maximum()) QVERIFY2(qAbs(*top - bar->value()) < 20, keyword);
  }
  // One window serves them all; an empty keyword, or one the page has no section for (a message
  // box's help context), goes to the top of the page.
  QCOMPARE(QApplication::topLevelWidgets().count(ui::THelpWindow::Shared()), 1);
  const QScrollBar* bar = ui::THelpWindow::Shared()->Browser()->verticalScrollBar();
  QVERIFY(bar->value() > 0);
  QVERIFY(ui::OpenHelp("context 12"));
  QCOMPARE(bar->value(), 0);
  QVERIFY(ui::OpenHelp(vle::kHelpKeyword));
  QVERIFY(bar->value() > 0);
  QVERIFY(ui::OpenHelp(""));
  QCOMPARE(bar->value(), 0);

  if (const QByteArray shots = qgetenv("VORLECT_UI_SHOTS"); !shots.isEmpty()) {
    QVERIFY(ui::OpenHelp(vle::TFrmCSVSetup::kHelpKeyword));
    QVERIFY(QTest::qWaitForWindowExposed(ui::THelpWindow::Shared()));
    QVERIFY(ui::THelpWindow::Shared()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/help.png")));
  }
}

void HelpTest::helpButtonInAModalDialog() {
  // Opened from a modal dialog, the help window belongs to it: otherwise the dialog's modality
  // would keep every click and key away from the help.
  QPointer<ui::THelpWindow> help;
  bool usable = false;
  auto ran = WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<ui::TFrmCSVSetup*>(w);
    QVERIFY(dialog);
    QVERIFY(dialog->HelpBtn()->isEnabled());
    QTest::mouseClick(dialog->HelpBtn(), Qt::LeftButton);
    help = ui::THelpWindow::Shared();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->Anchor(), QStringLiteral("csv-format"));
    usable = !QApplication::activeModalWidget() || help->parentWidget() == QApplication::activeModalWidget();
    QTest::mouseClick(dialog->CancelBtn(), Qt::LeftButton);
  });
  QVERIFY(!ui::ExecCsvSetup(nullptr));
  QVERIFY(*ran);
  QVERIFY(usable);
  // Gone with the dialog; the next Help makes a new one.
  QVERIFY(!help);
  QVERIFY(ui::OpenHelp(vle::TFLangDlg::kHelpKeyword));
  QVERIFY(ui::THelpWindow::Shared() && !ui::THelpWindow::Shared()->parentWidget());
}

void HelpTest::noPageNoHelp() {
  QTemporaryDir empty;
  qputenv("VORLECT_HELP_DIR", empty.path().toLocal8Bit());
  QVERIFY(!ui::HelpAvailable());
  QVERIFY(!ui::OpenHelp("CSV Format"));
  QVERIFY(!ui::THelpWindow::Shared());
  ui::TFrmCSVSetup dialog;
  QVERIFY(!dialog.HelpBtn()->isEnabled());
}

QTEST_MAIN(HelpTest)
#include "test_help.moc"
