// The IDE's tool services over a Qt main window: its menu bar as the IDE's main menu, its
// documents as the open files, its window as the owner of every dialog an expert shows.
#pragma once

#include "host/toolservices/ToolServices.h"

#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QKeySequence;
class QMenuBar;
class QWidget;

namespace vorlect::ui {

// A Delphi-style short cut (virtual key in the low byte; 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt)
// as a key sequence; empty for 0 or keys without a Qt counterpart.
QKeySequence ShortCutToKeySequence(int shortCut);

// Menu-item handles on a QMenuBar. Items are the bar's actions; an item with a menu holds the
// menu's actions. Handles stay valid when their item is deleted (they then act on nothing).
class TQtMainMenu {
public:
  explicit TQtMainMenu(QMenuBar* bar);
  std::unique_ptr<toolservices::MenuItem> Root();
  // Handles currently held by callers.
  int LiveHandles() const { return *liveHandles_; }

private:
  QPointer<QMenuBar> bar_;
  std::shared_ptr<std::atomic<int>> liveHandles_;
};

// What the IDE's window does with the files it shows; each may be left empty (the file is then
// treated as not open).
struct TIdeDocuments {
  std::function<std::string()> currentFile;
  std::function<bool(const std::string&)> isOpen;
  std::function<bool(const std::string&)> save;
  std::function<bool(const std::string&)> open;    // a unit (with its form)
  std::function<bool(const std::string&)> reload;
};

class TIdeServices : public toolservices::HostServices {
public:
  TIdeServices(QWidget* mainWindow, QMenuBar* menuBar, TIdeDocuments documents);
  ~TIdeServices() override;

  // Takes the project's forms from its uses clause (throws as HeadlessHost does). The services
  // keep their identity: an expert holds them for its whole life.
  void OpenProject(const std::string& projectFile);
  void CloseProject();
  void SetDocuments(TIdeDocuments documents) { documents_ = std::move(documents); }

  void* HostParentWindow() override { return mainWindow_.data(); }
  std::string HostProjectFile() override;
  int HostFormCount() override;
  std::string HostFormFile(int index) override;
  std::string HostFormName(int index) override;
  std::string HostCurrentFile() override;
  bool HostIsFileOpen(const std::string& path) override;
  bool HostSaveFile(const std::string& path) override;
  bool HostOpenFile(const std::string& unitPath) override;
  bool HostReloadFile(const std::string& path) override;
  std::unique_ptr<toolservices::MenuItem> HostMainMenu() override;

  TQtMainMenu& Menu() { return menu_; }

private:
  QPointer<QWidget> mainWindow_;
  TQtMainMenu menu_;
  TIdeDocuments documents_;
  std::unique_ptr<toolservices::HeadlessHost> project_;  // null without a project
};

}  // namespace vorlect::ui
