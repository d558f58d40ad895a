#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "UiModal.h"
#include "ui/FPressKey.h"

using namespace vorlect;
using vorlect::uitest::WhenModal;

class TestNotice : public QObject {
  Q_OBJECT

private slots:
  void tickingChangesTheFlagAtOnce();
  void falseFlagShowsNothing();
};

void TestNotice::tickingChangesTheFlagAtOnce() {
  bool flag = true;
  QString text;
  bool tickedAtFirst = true, frameless = false;
  std::vector<bool> flagAfterClicks;
  auto ran = WhenModal([&](QWidget* w) {
    auto* notice = qobject_cast<ui::TFrmPressKey*>(w);
    text = notice->NoticeText()->text();
    tickedAtFirst = notice->CheckBox()->isChecked();
    frameless = notice->windowFlags().testFlag(Qt::FramelessWindowHint);
    if (const QByteArray dir = qgetenv("VORLECT_UI_SHOTS"); !dir.isEmpty())
      notice->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/notice.png"));
    for (int i = 0; i < 3; ++i) {
      QTest::mouseClick(notice->CheckBox(), Qt::LeftButton);
      flagAfterClicks.push_back(flag);
    }
    QTest::keyClick(notice, Qt::Key_Return);  // "&OK" is the default button
  });
  QVERIFY(ui::TFrmPressKey::ShowNotice(vle::kNoticeEsc, flag));
  QVERIFY(*ran);
  QCOMPARE(text, QStringLiteral("Hit ESC to return to the editor."));
  QVERIFY(!tickedAtFirst);
  QVERIFY(frameless);
  QCOMPARE(flagAfterClicks, (std::vector<bool>{false, true, false}));
  QVERIFY(!flag);
}

void TestNotice::falseFlagShowsNothing() {
  bool flag = false;
  // Should a notice open after all, close it so the test fails instead of hanging.
  auto shown = WhenModal([](QWidget* w) { w->close(); }, 2000);
  QVERIFY(!ui::TFrmPressKey::ShowNotice(vle::kNoticeSelExport, flag));
  QVERIFY(!*shown);

  // Made for a false flag, the box starts ticked; unticking turns the notice on again.
  ui::TFrmPressKey notice(vle::kNoticeSelImport, flag);
  QVERIFY(notice.CheckBox()->isChecked());
  notice.show();
  QTest::mouseClick(notice.CheckBox(), Qt::LeftButton);
  QVERIFY(flag);
}

QTEST_MAIN(TestNotice)
#include "test_notice.moc"
