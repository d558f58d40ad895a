#include "ui/TextEditor.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <cstdlib>

namespace vorlect::ui {

bool OpenInTextEditor(const std::string& path, std::string* error) {
  const QString file = QString::fromStdString(path);
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const char* value = std::getenv(variable);
    if (!value || !*value) continue;
    QStringList command = QProcess::splitCommand(QString::fromLocal8Bit(value));
    if (command.isEmpty()) continue;
    const QString program = command.takeFirst();
    command << file;
    if (QProcess::startDetached(program, command)) return true;
    if (error) *error = "The text editor \"" + std::string(value) + "\" (from $" + variable + ") could not be started.";
    return false;
  }
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return true;
  if (error) *error = "No text editor could be started for " + path + ":\rset $VISUAL or $EDITOR to one.";
  return false;
}

}  // namespace vorlect::ui
