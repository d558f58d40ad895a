// Help for the windows: the HTML page shipped with the program, shown in the help window at a
// keyword's anchor. Windows offer their Help button only when the page is installed.
#pragma once

#include <QString>

#include <string_view>

namespace vorlect::ui {

// The installed help page: "VLCore.html" in $VORLECT_HELP_DIR when that is set, else in "help"
// beside the program or in "../share/vorlect/help" from it; empty when there is none.
QString HelpPage();
bool HelpAvailable();
// The anchor a keyword's topic has in the page: letters and digits in lower case, every other run
// of characters one '-' ("CSV Format" -> "csv-format").
QString HelpAnchor(std::string_view keyword);
// Shows the page in the help window at the keyword's topic (the top for an empty keyword); false
// without a readable page.
bool OpenHelp(std::string_view keyword);

}  // namespace vorlect::ui
