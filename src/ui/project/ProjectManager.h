// `vorlect-gui project`: the project manager's window on a project file, with the IDE's services
// served from the file system.
#pragma once

#include <functional>

class QWidget;
#include <string>

#include "host/toolservices/ToolServices.h"

namespace vorlect::ui {

class TFPrjListWindow;

// The IDE's services for a project on disk, as the command line has them, except that opening a
// unit starts the user's text editor on it.
class TDesktopHost : public toolservices::HeadlessHost {
public:
  using HeadlessHost::HeadlessHost;
  bool HostOpenFile(const std::string& unitPath) override;
};

// The tool windows every project manager window gets (search and replace, spell check, string
// DLLs); set by the program that has them.
void InstallProjectTools(TFPrjListWindow& window);

// The project manager on the project of the current host, owned by `parent`, run until closed.
// 0 when it was shown, 1 when the settings could not be read.
int ShowProjectManager(QWidget* parent = nullptr, const std::function<void(TFPrjListWindow&)>& onWindow = {});

// Opens the project manager on `projectFile` and runs it until closed. 0 when it was shown and
// closed, 1 when the project could not be read (the message names the file).
// `onWindow` sees the window once it exists (tests drive it from there).
int RunProjectManager(const std::string& projectFile, const std::function<void(TFPrjListWindow&)>& onWindow = {});

}  // namespace vorlect::ui
