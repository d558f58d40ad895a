#include "ui/HelpWindow.h"

#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vorlect::ui {

namespace {

QPointer<THelpWindow> shared;

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(tr("Vorlect Help"));
  browser_ = new QTextBrowser(this);
  // Links between topics stay here; links to the web go to the user's browser.
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(640, 520);
}

bool THelpWindow::ShowTopic(const QString& page, const QString& anchor) {
  const QFileInfo info(page);
  if (!info.isFile() || !info.isReadable()) return false;
  const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
  anchor_ = anchor;
  // Another page (or the first): load it; the same page only scrolls.
  if (browser_->source().adjusted(QUrl::RemoveFragment) != url) {
    browser_->setSource(url);
    if (browser_->document()->isEmpty()) return false;
  }
  // A topic the page lacks shows the page from its top rather than wherever it was last.
  if (anchor.isEmpty() || !HasAnchor(anchor)) browser_->verticalScrollBar()->setValue(0);
  else browser_->scrollToAnchor(anchor);
  return true;
}

bool THelpWindow::HasAnchor(const QString& anchor) const {
  for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(anchor)) return true;
  return false;
}

THelpWindow* THelpWindow::Shared() { return shared; }

THelpWindow* THelpWindow::SharedFor(QWidget* owner) {
  if (!shared) shared = new THelpWindow(owner);
  if (shared->parentWidget() != owner) {
    // Reparenting hides a window; the caller shows it again.
    const QRect geometry = shared->geometry();
    shared->setParent(owner, Qt::Window);
    shared->setGeometry(geometry);
  }
  // Without an owner nothing else closes it: it goes when the user closes it.
  shared->setAttribute(Qt::WA_DeleteOnClose, owner == nullptr);
  return shared;
}

}  // namespace vorlect::ui
