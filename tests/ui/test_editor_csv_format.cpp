// The CSV format dialog, opened from the translation editor's Options menu: the clicked item
// becomes CSVType and the separator on OK, and Cancel leaves both as they were.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "EditorFixture.h"
#include "UiModal.h"
#include "ui/FCSVSetup.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"

using namespace vorlect;
using namespace vorlect::ui::test;
using vorlect::uitest::WhenModal;

namespace {

const std::string kTable = "    Languages = 1\n" + StringsProp("Words", {"%Form%", "Order"});

void ClickRadio(QRadioButton* item) {
  QVERIFY(item);
  // On the indicator: the whole width of the row is not the button's hit area in every style.
  QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
}

}  // namespace

class EditorCsvFormatTest : public QObject {
  Q_OBJECT
private slots:
  void showsTheSettingAndTheCaptions();
  void okStoresTheClickedItem();
  void cancelAndEscapeChangeNothing();
};

void EditorCsvFormatTest::showsTheSettingAndTheCaptions() {
  EditorFixture f;
  vle::CSVType = 2;
  qputenv("VORLECT_HELP_DIR", VORLECT_SOURCE_DIR "/docs/help");
  ui::TFrmCSVSetup dialog;
  qunsetenv("VORLECT_HELP_DIR");
  QVERIFY(dialog.HelpBtn()->isEnabled());
  QCOMPARE(dialog.windowTitle(), QStringLiteral("CSV-Export Format"));
  QVERIFY(dialog.Item(2)->isChecked());
  QVERIFY(!dialog.Item(0)->isChecked() && !dialog.Item(1)->isChecked());
  QCOMPARE(dialog.RegionalLabel()->text(),
           QStringLiteral("Your regional settings are: ") + QLatin1Char(vle::RegionalListSeparator()));
  QCOMPARE(dialog.HelpBtn()->toolTip(), QStringLiteral("Explain about these separators!"));

  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const QImage shot = dialog.grab().toImage();
  QVERIFY(!shot.isNull());
  if (const QByteArray shots = qgetenv("VORLECT_UI_SHOTS"); !shots.isEmpty())
    QVERIFY(shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/csv-format.png")));
}

void EditorCsvFormatTest::okStoresTheClickedItem() {
  EditorFixture f;
  f.Open(kTable);
  // Every item, each from another one; the last goes back to the semicolon.
  for (const int item : {1, 2, 0}) {
    auto ran = WhenModal([item](QWidget* w) {
      auto* dialog = qobject_cast<ui::TFrmCSVSetup*>(w);
      QVERIFY(dialog);
      ClickRadio(dialog->Item(item));
      QCOMPARE(dialog->Model().ItemIndex(), item);
      QTest::mouseClick(dialog->OKBtn(), Qt::LeftButton);
    });
    f.Trigger("CSVFormat1");
    QVERIFY(*ran);
    QCOMPARE(vle::CSVType, item);
    QCOMPARE(vle::CsvSeparator, vle::CsvSeparatorFor(item));
  }
  QCOMPARE(vle::CsvSeparator, ';');
  QVERIFY(f.Messages().isEmpty());
}

void EditorCsvFormatTest::cancelAndEscapeChangeNothing() {
  EditorFixture f;
  f.Open(kTable);
  vle::CSVType = 1;
  vle::RecomputeCsvSeparator();
  for (const bool escape : {false, true}) {
    auto ran = WhenModal([escape](QWidget* w) {
      auto* dialog = qobject_cast<ui::TFrmCSVSetup*>(w);
      QVERIFY(dialog);
      QVERIFY(dialog->Item(1)->isChecked());
      ClickRadio(dialog->Item(0));
      if (escape) QTest::keyClick(dialog, Qt::Key_Escape);
      else QTest::mouseClick(dialog->CancelBtn(), Qt::LeftButton);
    });
    f.Trigger("CSVFormat1");
    QVERIFY(*ran);
    QCOMPARE(vle::CSVType, 1);
    QCOMPARE(vle::CsvSeparator, ',');
  }
}

QTEST_MAIN(EditorCsvFormatTest)
#include "test_editor_csv_format.moc"
