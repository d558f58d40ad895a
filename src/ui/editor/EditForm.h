// `vorlect-gui edit`: one form file's translation component in the translation editor's window,
// saved into the form file when the user accepts.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

namespace vorlect::ui {

class TEditVorlectWindow;

struct TEditFormResult {
  int exitStatus = 1;   // 0 accepted and saved, 1 cancelled or failed
  std::string error;    // what failed, naming the file; empty otherwise
};

// Loads the form, opens the editor on its translation component named `componentName` (the first
// one when empty) and runs the window. Accept saves what the editor wrote into the component
// (languages, active language, texts, character sets, hidden components, positions) through the
// table rewrite: the form file keeps its format and every other byte. Cancel leaves the file
// untouched. Failures are shown through the message port and returned.
// `onWindow` sees the window once it exists (tests drive it from there). A `settingsFile` (a
// project settings file) registers its translatable and never-translated properties per class
// before the form is read; a damaged one is a failure naming its line and column.
TEditFormResult EditFormFile(const std::string& formFile, const std::string& componentName,
                             const std::function<void(TEditVorlectWindow&)>& onWindow = {},
                             const std::string& settingsFile = {});

}  // namespace vorlect::ui
