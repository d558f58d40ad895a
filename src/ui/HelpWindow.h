// The help page inside the program: a small browser window over the HTML page shipped beside
// vorlect-gui, opened at a topic's anchor. One window serves every Help button.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace vorlect::ui {

class THelpWindow : public QWidget {
  Q_OBJECT

public:
  explicit THelpWindow(QWidget* parent = nullptr);

  // Shows `page` scrolled to `anchor` (the top for an empty one); false when the page cannot be
  // read.
  bool ShowTopic(const QString& page, const QString& anchor);
  QTextBrowser* Browser() const { return browser_; }
  // The anchor of the topic shown last.
  QString Anchor() const { return anchor_; }
  // Whether the page as the browser parsed it has this anchor.
  bool HasAnchor(const QString& anchor) const;

  // The window OpenHelp shows, created on first use; null before that or after it was closed
  // with the dialog that owned it.
  static THelpWindow* Shared();
  // The shared window, made ready to be used over `owner` (the modal dialog the user is in, or
  // none): a window outside a modal dialog would take no clicks while the dialog is open.
  static THelpWindow* SharedFor(QWidget* owner);

private:
  QTextBrowser* browser_;
  QString anchor_;
};

}  // namespace vorlect::ui
