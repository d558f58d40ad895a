#include "ui/LongWork.h"

#include <QApplication>
#include <QProgressDialog>

namespace vorlect::ui {

namespace {
TLongWork* current = nullptr;
}

TLongWork::TLongWork(QWidget* parent, const QString& title, bool canStop)
    : parent_(parent), title_(title), canStop_(canStop), outer_(current) {
  current = this;
  started_.start();
  lastRound_.start();
  QApplication::setOverrideCursor(Qt::BusyCursor);
}

TLongWork::~TLongWork() {
  current = outer_;
  delete dialog_;
  QApplication::restoreOverrideCursor();
}

TLongWork* TLongWork::Current() { return current; }

void TLongWork::Step(int done, int total, const QString& text) {
  if (!dialog_ && started_.elapsed() >= kShowAfterMs && done < total && lastRound_.elapsed() >= kFrameMs) {
    // The dialog blocks the other windows while it shows, so that nothing starts a second work.
    dialog_ = new QProgressDialog(parent_);
    dialog_->setWindowTitle(title_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumDuration(0);
    dialog_->setMinimumWidth(420);
    if (!canStop_) dialog_->setCancelButton(nullptr);
    QObject::connect(dialog_, &QProgressDialog::canceled, [this] { stopped_ = true; });
    dialog_->show();
  }
  if (lastRound_.elapsed() < kFrameMs) return;
  // The dialog's figures a few times a second (a modal dialog processes events as its value changes).
  if (dialog_ && (!shownValue_.isValid() || shownValue_.elapsed() >= kFigureMs)) {
    shownValue_.start();
    dialog_->setMaximum(std::max(total, 1));
    dialog_->setLabelText(text);
    dialog_->setValue(std::min(done, std::max(total, 1)));
  }
  ProcessEvents();
}

void TLongWork::ProcessEvents() {
  // Before the dialog blocks the other windows, a click there must not start a second work.
  QApplication::processEvents(dialog_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, kFrameMs);
  lastRound_.restart();
}

}  // namespace vorlect::ui
