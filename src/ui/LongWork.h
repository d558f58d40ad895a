// Long work on the GUI thread that leaves the window alive: a progress dialog that appears when the
// work lasts, and the window's events processed between two steps, so that it repaints and can be
// stopped where the work allows it.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace vorlect::ui {

class TLongWork {
public:
  // `canStop`: the dialog has a Cancel button, and Stopped() tells when it was pressed.
  TLongWork(QWidget* parent, const QString& title, bool canStop = false);
  ~TLongWork();
  TLongWork(const TLongWork&) = delete;
  TLongWork& operator=(const TLongWork&) = delete;

  // One step done of `total`; `text` says what is being worked on. Processes events when the last
  // round was a frame ago.
  void Step(int done, int total, const QString& text);
  bool Stopped() const { return stopped_; }

  // The work in progress, if any (tests drive its dialog).
  static TLongWork* Current();
  QProgressDialog* Dialog() const { return dialog_; }

  // The dialog shows only once the work has lasted this long (milliseconds).
  static constexpr int kShowAfterMs = 400;
  // Events are processed at least this often (milliseconds).
  static constexpr int kFrameMs = 16;
  // The dialog's figures change at most this often (milliseconds).
  static constexpr int kFigureMs = 100;

private:
  void ProcessEvents();

  QPointer<QWidget> parent_;
  QString title_;
  bool canStop_;
  bool stopped_ = false;
  QProgressDialog* dialog_ = nullptr;
  QElapsedTimer started_, lastRound_, shownValue_;
  TLongWork* outer_;
};

}  // namespace vorlect::ui
