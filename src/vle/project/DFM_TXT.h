// Rewriting the translation components of form files without loading the forms: new tables,
// an added component, emptied tables. A form file keeps its format: a binary file is converted
// to text, edited and converted back; a text file is edited in place (only the changed lines
// change). The form file is replaced only once the new file is complete.
#pragma once

#include "host/framework/Classes.h"
#include "vle/project/VLEMain.h"

#include <string>

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

// The same rewrite for one translation component of a form file, chosen by its name (empty: the
// first one); the command line's per-form CSV import saves through it. Throws on failure with a
// message naming the file; the form file is then unchanged.
void RewriteComponentTable(const std::string& formFile, const std::string& componentName, int languages,
                           const host::TStrings& lines);


}  // namespace vorlect::vle
