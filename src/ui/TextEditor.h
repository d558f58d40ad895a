// Opening a file in the user's text editor: where the original platform started "notepad".
#pragma once

#include <string>

namespace vorlect::ui {

// Starts the user's text editor on `path` without waiting for it: the command in $VISUAL, else in
// $EDITOR (a command line: "code -w", "gedit --new-window"), else the desktop's default application
// for the file. False, with the reason in `error`, when nothing could be started.
bool OpenInTextEditor(const std::string& path, std::string* error = nullptr);

}  // namespace vorlect::ui
