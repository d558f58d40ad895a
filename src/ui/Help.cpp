#include "ui/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "ui/QtText.h"

namespace vorlect::ui {

QString HelpPage() {
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
  if (page.isEmpty()) return false;
  QUrl url = QUrl::fromLocalFile(page);
  if (const QString anchor = HelpAnchor(keyword); !anchor.isEmpty()) url.setFragment(anchor);
  return QDesktopServices::openUrl(url);
}

}  // namespace vorlect::ui
