#include "UiModal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace vorlect::uitest {

std::shared_ptr<bool> WhenModal(std::function<void(QWidget*)> answer, int timeoutMs) {
  auto ran = std::make_shared<bool>(false);
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, ran, answer = std::move(answer), timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      *ran = true;
      answer(modal);
      return;
    }
    if (clock->elapsed() > timeoutMs) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
  return ran;
}

QAbstractButton* ButtonWithText(QWidget* window, const QString& caption) {
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
    if (b->text() == caption) return b;
  return nullptr;
}

void Shot(QWidget& window, const char* name) {
  const QString dir = qEnvironmentVariable("VORLECT_UI_SHOTS");
  if (dir.isEmpty()) return;
  QApplication::processEvents();
  QVERIFY(window.grab().save(dir + "/" + name, "PNG"));
}

}  // namespace vorlect::uitest
