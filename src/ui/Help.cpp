#include "ui/Help.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "ui/HelpWindow.h"
#include "ui/QtText.h"

namespace vorlect::ui {

QString HelpPage() {
  // Set, the variable alone decides: a test or a packager that names a folder gets that page or
  // none, never one found elsewhere by chance.
  if (const QByteArray dir = qgetenv("VORLECT_HELP_DIR"); !dir.isEmpty()) {
    const QFileInfo page(QDir(QFile::decodeName(dir)).filePath(QStringLiteral("VLCore.html")));
    return page.isFile() ? page.canonicalFilePath() : QString();
  }
  if (!QCoreApplication::instance()) return {};
  const QDir appDir(QCoreApplication::applicationDirPath());
  for (const QString& relative : {QStringLiteral("help/VLCore.html"), QStringLiteral("../share/vorlect/help/VLCore.html")}) {
    const QFileInfo page(appDir.filePath(relative));
    if (page.isFile()) return page.canonicalFilePath();
  }
  return {};
}

bool HelpAvailable() { return !HelpPage().isEmpty(); }

QString HelpAnchor(std::string_view keyword) {
  QString anchor;
  bool gap = false;
  for (QChar c : FromAnsi(keyword)) {
    if (c.isLetterOrNumber()) {
      if (gap && !anchor.isEmpty()) anchor += QLatin1Char('-');
      anchor += c.toLower();
      gap = false;
    } else {
      gap = true;
    }
  }
  return anchor;
}

bool OpenHelp(std::string_view keyword) {
  const QString page = HelpPage();
  if (page.isEmpty() || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  THelpWindow* window = THelpWindow::SharedFor(QApplication::activeModalWidget());
  if (!window->ShowTopic(page, HelpAnchor(keyword))) return false;
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

}  // namespace vorlect::ui
