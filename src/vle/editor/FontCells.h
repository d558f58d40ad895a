// Font cells of the editor's table: a language's CharSets entry "Arial,204" is shown as
// "Arial, RUSSIAN_CHARSET" and converted back when the table is written.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::vle {

struct TCharsetName {
  const char* name;
  int code;
};

// The Windows character sets, in the order the font dialog lists them.
const std::array<TCharsetName, 19>& CharsetTable();
// The code of a character-set name (letter case ignored); nullopt when the table has no such name.
std::optional<int> CharsetCodeOf(std::string_view name);
// The table's name of a code, or the code in decimal.
std::string CharsetNameOf(int code);

// A font cell or CharSets entry that cannot be converted.
class EFontCell : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kDefaultCharSetsEntry = "MS Sans Serif,1";

struct TDisplayFontCell {
  std::string text;  // "Arial, ANSI_CHARSET"
  int code = 0;      // the character set the column is drawn in
};

// Store form -> display form. Throws EFontCell when the entry has no comma or its code is not a
// decimal number from 0 to 255.
TDisplayFontCell FontCellOfEntry(std::string_view entry);
// Display form -> store form. Throws EFontCell when the cell has no comma, or when what follows
// it is neither a character-set name nor a code: stored, such an entry would keep the editor
// from opening the component again.
std::string EntryOfFontCell(std::string_view cell);
// The default font cell of a new language column.
std::string DefaultFontCell();

}  // namespace vorlect::vle
