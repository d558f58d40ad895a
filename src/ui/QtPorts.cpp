#include "ui/QtPorts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "ui/Help.h"
#include "ui/QtText.h"

namespace vorlect::ui {

using namespace ports;

namespace {

bool OnGuiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Widgets, the clipboard and fonts belong to the GUI thread; a port called elsewhere hands its
// work over and waits.
void OnGui(Ports& ports, const std::function<void()>& fn) {
  if (OnGuiThread()) {
    fn();
    return;
  }
  ports.Synchronize(fn);
}

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(MsgDlgType type) {
  switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
  }
  return QMessageBox::NoIcon;
}

std::optional<MsgDlgBtn> FirstOf(const std::vector<MsgDlgBtn>& offered, std::initializer_list<MsgDlgBtn> wanted) {
  for (MsgDlgBtn b : wanted)
    if (std::find(offered.begin(), offered.end(), b) != offered.end()) return b;
  return std::nullopt;
}

int ShowMessageBox(const std::string& msg, MsgDlgType type, ButtonSet set, int helpCtx) {
  QMessageBox box(DialogParent());
  box.setWindowTitle(MessageDlgCaption(type));
  box.setIcon(IconOf(type));
  // Messages quote file names and user texts; none of it is markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageText(msg));

  // A box without buttons could not be closed but by the window manager; it gets OK.
  std::vector<MsgDlgBtn> offered = set.Empty() ? std::vector<MsgDlgBtn>{mbOK} : set.Buttons();
  std::vector<std::pair<QPushButton*, MsgDlgBtn>> buttons;
  for (MsgDlgBtn b : offered) {
    // One role for all keeps them in the framework's order whatever the desktop's button layout.
    QPushButton* button = box.addButton(MessageDlgButtonCaption(b), QMessageBox::ActionRole);
    if (b == mbHelp) button->setEnabled(HelpAvailable());
    buttons.emplace_back(button, b);
  }
  auto buttonOf = [&](MsgDlgBtn b) -> QPushButton* {
    for (auto& [button, kind] : buttons)
      if (kind == b) return button;
    return nullptr;
  };

  const MsgDlgBtn defaultButton = FirstOf(offered, {mbOK, mbYes, mbRetry}).value_or(offered.front());
  box.setDefaultButton(buttonOf(defaultButton));
  const std::optional<MsgDlgBtn> escapeButton = FirstOf(offered, {mbCancel, mbNo, mbAbort, mbOK});
  // Without one, Escape and the window's close button do nothing.
  box.setEscapeButton(escapeButton ? buttonOf(*escapeButton) : nullptr);

  for (;;) {
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [button, kind] : buttons) {
      if (button != clicked) continue;
      // Help answers nothing: it opens the help and the question stays.
      if (kind == mbHelp) {
        OpenHelp(helpCtx ? "context " + std::to_string(helpCtx) : std::string());
        break;
      }
      return ResultOfButton(kind);
    }
    if (clicked == nullptr) return escapeButton ? ResultOfButton(*escapeButton) : mrCancel;
  }
}

// The framework's InputQuery: caption, prompt, an edit of at most 255 characters, OK and Cancel.
std::optional<QString> ShowInputBox(const QString& caption, const QString& prompt, const QString& value) {
  QDialog dialog(DialogParent());
  dialog.setWindowTitle(caption);
  auto* label = new QLabel(prompt, &dialog);
  label->setTextFormat(Qt::PlainText);
  auto* edit = new QLineEdit(&dialog);
  edit->setMaxLength(255);
  edit->setText(value);
  edit->selectAll();
  label->setBuddy(edit);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(edit);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edit->setMinimumWidth(220);
  edit->setFocus();

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return edit->text();
}

// Windows face names and installed look-alikes, best first.
struct Substitutes {
  std::initializer_list<const char*> names;
  std::initializer_list<const char*> candidates;
};
const Substitutes kSubstitutes[] = {
    {{"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Arial", "Tahoma", "Verdana",
      "Segoe UI", "Helvetica", "Small Fonts", "System"},
     {"Liberation Sans", "Arimo", "DejaVu Sans", "Noto Sans", "FreeSans"}},
    {{"MS Serif", "Times New Roman", "Times", "Georgia", "Book Antiqua"},
     {"Liberation Serif", "Tinos", "DejaVu Serif", "Noto Serif", "FreeSerif"}},
    {{"Courier New", "Courier", "Lucida Console", "Consolas", "Fixedsys", "Terminal"},
     {"Liberation Mono", "Cousine", "DejaVu Sans Mono", "Noto Sans Mono", "FreeMono"}},
};

void RegisterSubstitutes() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const Substitutes& s : kSubstitutes) {
      QStringList installed;
      for (const char* candidate : s.candidates)
        if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) installed << QString::fromLatin1(candidate);
      if (installed.isEmpty()) continue;
      for (const char* name : s.names)
        if (!QFontDatabase::hasFamily(QString::fromLatin1(name)))
          QFont::insertSubstitutions(QString::fromLatin1(name), installed);
    }
  });
}

bool SameSpec(const FontSpec& a, const FontSpec& b) {
  return a.name == b.name && a.size == b.size && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut && a.charset == b.charset;
}

}  // namespace

// --- Captions -------------------------------------------------------------------------------------

QString MessageDlgCaption(MsgDlgType type) {
  switch (type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirm");
    case mtCustom: break;
  }
  return QGuiApplication::applicationDisplayName();
}

QString MessageDlgButtonCaption(MsgDlgBtn button) {
  switch (button) {
    case mbYes: return QStringLiteral("&Yes");
    case mbNo: return QStringLiteral("&No");
    case mbOK: return QStringLiteral("OK");
    case mbCancel: return QStringLiteral("Cancel");
    case mbAbort: return QStringLiteral("&Abort");
    case mbRetry: return QStringLiteral("&Retry");
    case mbIgnore: return QStringLiteral("&Ignore");
    case mbAll: return QStringLiteral("&All");
    case mbNoToAll: return QStringLiteral("N&o to All");
    case mbYesToAll: return QStringLiteral("Yes to &All");
    case mbHelp: return QStringLiteral("&Help");
  }
  return {};
}

// --- File dialogs -----------------------------------------------------------------------------------

QStringList QtNameFilters(std::string_view filter) {
  const QStringList parts = FromAnsi(filter).split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString name = parts[i].trimmed();
    QStringList patterns;
    if (i + 1 < parts.size()) {
      for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        if (pattern.isEmpty()) continue;
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
      }
    }
    if (name.isEmpty() && patterns.isEmpty()) continue;
    if (patterns.isEmpty()) patterns << QStringLiteral("*");
    // Qt reads the patterns from the last parentheses; the dialog hides them again, so the
    // list shows the framework's names as they are.
    result << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return result;
}

std::string WithDefaultExt(std::string path, std::string_view ext) {
  while (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  if (ext.empty()) return path;
  const size_t slash = path.find_last_of('/');
  const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.empty() || name.find('.') != std::string_view::npos) return path;
  path += '.';
  path += ext;
  return path;
}

std::optional<std::string> QtPorts::FileDialog(bool save, const FileDialogOptions& options) {
  QFileDialog dialog(DialogParent(), FromAnsi(options.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (const QStringList filters = QtNameFilters(options.filter); !filters.isEmpty()) dialog.setNameFilters(filters);
  std::string_view ext = options.defaultExt;
  while (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  if (!ext.empty()) dialog.setDefaultSuffix(QFile::decodeName(QByteArray(ext.data(), qsizetype(ext.size()))));
  // Paths are file-system names, not texts in a code page.
  if (!options.initialDir.empty()) dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(options.initialDir)));
  if (!options.fileName.empty()) dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(options.fileName)));

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  std::string path = QFile::encodeName(files.front()).toStdString();
  return save ? WithDefaultExt(std::move(path), ext) : path;
}

// --- QtPorts ------------------------------------------------------------------------------------------

QtPorts::QtPorts() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
    throw std::logic_error("The windows' ports need a QApplication; create it first.");
}

int QtPorts::MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) {
  int result = mrCancel;
  OnGui(*this, [&] { result = ShowMessageBox(msg, type, buttons, helpCtx); });
  return result;
}

bool QtPorts::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::optional<QString> answer;
  OnGui(*this, [&] { answer = ShowInputBox(FromAnsi(caption), FromAnsi(prompt), FromAnsi(value)); });
  if (!answer) return false;
  value = ToAnsi(*answer);
  return true;
}

std::optional<std::string> QtPorts::OpenFileDialog(const FileDialogOptions& options) {
  std::optional<std::string> path;
  OnGui(*this, [&] { path = FileDialog(false, options); });
  return path;
}

std::optional<std::string> QtPorts::SaveFileDialog(const FileDialogOptions& options) {
  std::optional<std::string> path;
  OnGui(*this, [&] { path = FileDialog(true, options); });
  return path;
}

std::string QtPorts::GetClipboardText() {
  std::string text;
  OnGui(*this, [&] { text = ToAnsi(QGuiApplication::clipboard()->text()); });
  return text;
}

void QtPorts::SetClipboardText(const std::string& text) {
  OnGui(*this, [&] { QGuiApplication::clipboard()->setText(FromAnsi(text)); });
}

void QtPorts::Synchronize(const std::function<void()>& fn) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) throw std::logic_error("Synchronize: the application has ended.");
  if (QThread::currentThread() == app->thread()) {
    fn();
    return;
  }
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      app,
      [&] {
        try {
          fn();
        } catch (...) {
          error = std::current_exception();
        }
        ++synchronized_;
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

int QtPorts::ProcessSynchronizeQueue() {
  if (!OnGuiThread()) return 0;
  const int before = synchronized_;
  // Only the queued calls: user input must not reach windows from inside a logic loop.
  QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
  return synchronized_ - before;
}

TextExtent QtPorts::MeasureText(std::string_view text, const FontSpec& font) {
  TextExtent extent;
  OnGui(*this, [&] {
    // The grid measures every cell in one font; building the metrics once per font saves most.
    if (!metrics_ || !SameSpec(metrics_->first, font)) metrics_.emplace(font, QFontMetrics(QtFont(font)));
    const QFontMetrics& metrics = metrics_->second;

    // As the framework's text drawing measures: CR, LF and CR LF each end a line, no wrapping,
    // each line as high as the font (its external leading is not added).
    const QString s = FromCharset(text, font.charset);
    int lines = 1, width = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= s.size(); ++i) {
      if (i < s.size() && s[i] != QLatin1Char('\r') && s[i] != QLatin1Char('\n')) continue;
      width = std::max(width, metrics.horizontalAdvance(s.mid(start, i - start)));
      if (i == s.size()) break;
      if (s[i] == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n')) ++i;
      start = i + 1;
      ++lines;
    }
    extent = {width, lines * metrics.height()};
  });
  return extent;
}

int QtPorts::MeasureTextHeight(std::string_view text, const FontSpec& font) {
  // CR, LF and CR LF each end a line; no code page puts those bytes inside a character.
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      ++lines;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      ++lines;
    }
  }
  int height = 0;
  auto measure = [&] {
    if (!metrics_ || !SameSpec(metrics_->first, font)) metrics_.emplace(font, QFontMetrics(QtFont(font)));
    height = metrics_->second.height();
  };
  // Called once a cell for whole tables: no detour through a std::function on the GUI thread.
  if (OnGuiThread()) measure();
  else OnGui(*this, measure);
  return lines * height;
}

// --- Fonts ----------------------------------------------------------------------------------------------

QFont QtFont(const FontSpec& fontSpec) {
  RegisterSubstitutes();
  QFont font(FromAnsi(fontSpec.name));
  if (fontSpec.height < 0) {
    font.setPixelSize(-fontSpec.height);
  } else if (fontSpec.height > 0) {
    // A positive height is the whole cell, internal leading included: scale the character
    // height until the cell fits.
    font.setPixelSize(fontSpec.height);
    const int cell = QFontMetrics(font).height();
    if (cell > 0 && cell != fontSpec.height)
      font.setPixelSize(std::max(1, static_cast<int>(std::lround(double(fontSpec.height) * fontSpec.height / cell))));
  } else if (fontSpec.size > 0) {
    font.setPointSize(fontSpec.size);
  } else if (fontSpec.size < 0) {
    font.setPixelSize(fontSpec.PixelHeight());
  }
  font.setWeight(fontSpec.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(fontSpec.italic);
  font.setUnderline(fontSpec.underline);
  font.setStrikeOut(fontSpec.strikeOut);
  return font;
}

}  // namespace vorlect::ui
