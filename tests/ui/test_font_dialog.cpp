#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "UiModal.h"
#include "ui/FSelFont.h"
#include "ui/FontListBox.h"

using namespace vorlect;
using vorlect::uitest::WhenModal;

namespace {

// A one-glyph bitmap font: installed, but no outline font.
constexpr const char* kBitmapFont =
    "STARTFONT 2.1\nFONT -misc-VorlectBitmap-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\n"
    "FONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 5\nFAMILY_NAME \"VorlectBitmap\"\nFONT_ASCENT 8\nFONT_DESCENT 0\n"
    "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS 1\nSTARTCHAR A\nENCODING 65\n"
    "SWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 8 0 0\nBITMAP\n18\n24\n42\n42\n7E\n42\n42\n00\nENDCHAR\nENDFONT\n";

QStringList Entries(const QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

QString SelectedEntry(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? QString() : selected.front()->text();
}

void ClickEntry(QListWidget* list, const QString& text) {
  QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
  QVERIFY(item);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

}  // namespace

class TestFontDialog : public QObject {
  Q_OBJECT

private slots:
  void fontListBox();
  void trueTypeGlyph();
  void preselection();
  void fontNotInstalledLeavesNoSelection();
  void clicksAndKeysSetTheSample();
  void okAndCancel();

private:
  QTemporaryDir dir_;
};

void TestFontDialog::fontListBox() {
  ui::TFontListBox list;
  QStringList entries = Entries(&list);
  QVERIFY(entries.contains(QStringLiteral("DejaVu Sans")));
  QVERIFY(!entries.contains(QStringLiteral("Default")));
  for (qsizetype i = 1; i < entries.size(); ++i)
    QVERIFY2(QString::compare(entries[i - 1], entries[i], Qt::CaseInsensitive) <= 0, qPrintable(entries[i]));
  QCOMPARE(SelectedEntry(&list), entries.front());
  QCOMPARE(list.sizeHintForRow(0), ui::TFontListBox::kItemHeight);

  QFile file(dir_.filePath(QStringLiteral("bitmap.bdf")));
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kBitmapFont) > 0);
  file.close();
  const QString bitmap = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(file.fileName())).value(0);
  if (bitmap.isEmpty()) QSKIP("the bitmap test font could not be installed");
  list.SetUseItemFont(true);  // fills the list again: now with the new font
  QVERIFY(Entries(&list).contains(bitmap));
  list.SetTTonly(true);
  QVERIFY(!Entries(&list).contains(bitmap));
  QVERIFY(Entries(&list).contains(QStringLiteral("DejaVu Sans")));
  QCOMPARE(list.currentRow(), 0);
}

void TestFontDialog::trueTypeGlyph() {
  const QImage glyph = ui::TFontListBox::TrueTypeGlyph(Qt::white);
  QCOMPARE(glyph.size(), QSize(12, 12));
  auto at = [&](int x, int y) { return qGray(glyph.pixel(x, y)); };
  // Grey T at (0, 0), black T at (4, 3) over it; every line path stops short of its end point.
  QCOMPARE(at(7, 2), 128);
  QCOMPARE(at(0, 3), 255);
  QCOMPARE(at(5, 8), 128);
  QCOMPARE(at(6, 8), 255);
  QCOMPARE(at(4, 5), 0);
  QCOMPARE(at(11, 5), 0);
  QCOMPARE(at(11, 6), 255);
  QCOMPARE(at(8, 11), 0);
  QCOMPARE(at(10, 11), 255);
}

void TestFontDialog::preselection() {
  ui::TFrmSelFont dialog;
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Select a Font and Character Set"));
  QCOMPARE(dialog.CharsetList()->count(), 19);
  dialog.Preselect("dejavu SANS", "russian_charset");
  QCOMPARE(SelectedEntry(dialog.FontList()), QStringLiteral("DejaVu Sans"));
  QCOMPARE(SelectedEntry(dialog.CharsetList()), QStringLiteral("RUSSIAN_CHARSET"));
  QVERIFY(dialog.OKBtn()->isEnabled());
  QCOMPARE(dialog.Choice(), (vle::TSelFontChoice{"DejaVu Sans", "RUSSIAN_CHARSET"}));
  QCOMPARE(QFontInfo(dialog.Sample()->font()).pixelSize(), 16);

  // The lead's screenshots: grab() draws the real dialog under the offscreen platform.
  dialog.show();
  const QImage shot = dialog.grab().toImage();
  QVERIFY(!shot.isNull() && shot.pixel(shot.width() / 2, shot.height() / 2) != shot.pixel(1, 1));
  if (const QByteArray shots = qgetenv("VORLECT_UI_SHOTS"); !shots.isEmpty())
    QVERIFY(shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/font-dialog.png")));
}

void TestFontDialog::fontNotInstalledLeavesNoSelection() {
  ui::TFrmSelFont dialog;
  dialog.Preselect("MS Sans Serif", "RUSSIAN_CHARSET");
  dialog.show();
  // Focus on the list must not select an entry behind the user's back.
  dialog.FontList()->setFocus(Qt::TabFocusReason);
  QVERIFY(dialog.FontList()->selectedItems().isEmpty());
  QVERIFY(!dialog.OKBtn()->isEnabled());
  QTest::keyClick(&dialog, Qt::Key_Return);
  QVERIFY(dialog.isVisible());

  ClickEntry(dialog.FontList(), QStringLiteral("DejaVu Serif"));
  QVERIFY(dialog.OKBtn()->isEnabled());
}

void TestFontDialog::clicksAndKeysSetTheSample() {
  ui::TFrmSelFont dialog;
  dialog.Preselect("DejaVu Sans Mono", "ANSI_CHARSET");
  dialog.show();
  QCOMPARE(dialog.Model().SampleFontName(), std::string("MS Sans Serif"));
  // A click on the selected entry counts as well.
  ClickEntry(dialog.FontList(), QStringLiteral("DejaVu Sans Mono"));
  QCOMPARE(QFontInfo(dialog.Sample()->font()).family(), QStringLiteral("DejaVu Sans Mono"));

  ClickEntry(dialog.CharsetList(), QStringLiteral("GREEK_CHARSET"));
  QCOMPARE(dialog.Model().SampleCharset(), 161);
  QTest::keyClick(dialog.CharsetList(), Qt::Key_Down);
  QCOMPARE(dialog.Model().SampleCharset(), 162);
  QCOMPARE(dialog.Choice(), (vle::TSelFontChoice{"DejaVu Sans Mono", "TURKISH_CHARSET"}));
}

void TestFontDialog::okAndCancel() {
  auto ran = WhenModal([](QWidget* w) {
    auto* dialog = qobject_cast<ui::TFrmSelFont*>(w);
    ClickEntry(dialog->CharsetList(), QStringLiteral("GREEK_CHARSET"));
    dialog->OKBtn()->click();
  });
  const auto choice = ui::SelectFontAndCharset(nullptr, "DejaVu Sans Mono", "RUSSIAN_CHARSET");
  QVERIFY(*ran);
  QCOMPARE(choice, (vle::TSelFontChoice{"DejaVu Sans Mono", "GREEK_CHARSET"}));

  ran = WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  QVERIFY(!ui::SelectFontAndCharset(nullptr, "DejaVu Sans", "ANSI_CHARSET"));
  QVERIFY(*ran);
}

QTEST_MAIN(TestFontDialog)
#include "test_font_dialog.moc"
