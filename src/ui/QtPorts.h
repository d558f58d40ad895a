// The real ports for the windows: message boxes, the input box, file dialogs, the clipboard,
// "run this on the main thread" and text metrics, all with Qt.
//
// Create one after the QApplication, on its thread, and make it current with SetCurrentPorts.
// A port called from another thread runs its work on the GUI thread through Synchronize, since
// widgets, the clipboard and fonts belong to that thread.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "host/ports/Ports.h"

namespace vorlect::ui {

class QtPorts : public ports::Ports {
public:
  QtPorts();

  int MessageDlg(const std::string& msg, ports::MsgDlgType type, ports::ButtonSet buttons, int helpCtx) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::optional<std::string> OpenFileDialog(const ports::FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const ports::FileDialogOptions& options) override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void Synchronize(const std::function<void()>& fn) override;
  int ProcessSynchronizeQueue() override;
  ports::TextExtent MeasureText(std::string_view text, const ports::FontSpec& font) override;
  // Lines times the font's height, without laying the text out: the row heights of a long table.
  int MeasureTextHeight(std::string_view text, const ports::FontSpec& font) override;

private:
  std::optional<std::string> FileDialog(bool save, const ports::FileDialogOptions& options);

  std::atomic<int> synchronized_{0};  // calls run for other threads, for ProcessSynchronizeQueue
  std::optional<std::pair<ports::FontSpec, QFontMetrics>> metrics_;  // of the last font measured
};

// The font a FontSpec stands for. Windows face names that are not installed ("MS Sans Serif",
// "Arial", "Courier New", ...) go to an installed look-alike through QFont's substitution table.
QFont QtFont(const ports::FontSpec& fontSpec);

// The caption a message box of that type gets; mtCustom takes the application's name.
QString MessageDlgCaption(ports::MsgDlgType type);
// A button's caption with its accelerator ("&Yes", "N&o to All").
QString MessageDlgButtonCaption(ports::MsgDlgBtn button);

// The framework's filter "Text files (*.txt)|*.txt|All files|*.*" as Qt's name filters, one per
// pair: "Text files (*.txt) (*.txt)", "All files (*)". A pattern list separated by ';' becomes
// Qt's blank-separated one; "*.*" becomes "*" because it also means names without a dot.
QStringList QtNameFilters(std::string_view filter);
// `path` with ".ext" appended when its file name has no extension (and `ext` is not empty).
std::string WithDefaultExt(std::string path, std::string_view ext);

}  // namespace vorlect::ui
