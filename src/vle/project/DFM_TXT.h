// Rewriting the translation components of form files without loading the forms: new tables,
// an added component, emptied tables. A form file keeps its format: a binary file is converted
// to text, edited and converted back; a text file is edited in place (only the changed lines
// change). The form file is replaced only once the new file is complete.
#pragma once

#include "host/framework/Classes.h"
#include "vle/project/VLEMain.h"

#include <optional>
#include <string>
#include <vector>

namespace vorlect::vle {

// Writes `lines` (form-file notation, languages + 1 lines per text) as the table of the
// translation component of form file `formFile`, and `languages` as its language count. With a
// catalogue, the form must be a selected row of it (messages otherwise) and the row takes the
// lines. Returns true when the form file was rewritten.
bool RewriteTables(const std::string& formFile, int languages, TFPrjList* catalogue, const host::TStrings& lines);

// Adds a translation component to every form of the catalogue without one, and declares it in
// the form's unit. `languages` 0 takes the count of configured language names (message and
// nothing done when there are none). A form whose unit cannot take the declaration is left as it
// was, with its unit. `selectedOnly` limits the run to the selected rows. Returns the number of
// forms that got a component, -1 when nothing was done (declined, no languages).
int AddVorlectToAllForms(TFPrjList& catalogue, int languages = 0, bool selectedOnly = false);

// Clears every table of the catalogue's forms (asks first). Returns true when every form was
// cleared, false when declined or a form failed.
bool EmptyAllTables(TFPrjList& catalogue, bool selectedOnly = false);

// What the translation editor writes into a translation component, as a form file stores it.
struct TComponentProperties {
  int languages = 2;
  int activeLanguage = 0;
  // Form-file notation (the text between the outer apostrophes), languages + 1 lines per text.
  std::vector<std::string> words;
  // Lines as the component holds them (8-bit bytes); nullopt leaves the property as the file has it.
  std::optional<std::vector<std::string>> doNot, positions, charSets;
  bool operator==(const TComponentProperties&) const = default;
};

// Writes the properties into the translation component `componentName` of form file `formFile`
// (empty name: the form's first translation component). A property the file already holds with
// the same value keeps its bytes, and a form whose component does not change is not written at
// all; a missing property is inserted where the component streams it, an empty list and
// ActiveLanguage 0 (the defaults) are removed. Components that do not store DoNot, Positions and
// CharSets (TSmallVorlect) never get them. Throws std::runtime_error naming the file when it
// cannot (no such component, an ActiveLanguage outside the languages, a layout it cannot edit, a
// failed write); the file is then unchanged. Returns true when the file was written.
bool RewriteComponent(const std::string& formFile, const std::string& componentName, const TComponentProperties& p);

// Only Languages and Words of one component (the rest as the file has it); throws as above.
void RewriteComponentTable(const std::string& formFile, const std::string& componentName, int languages,
                           const host::TStrings& lines);

}  // namespace vorlect::vle
