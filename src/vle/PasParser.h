// The unit edit that declares an added translation component: the units go into the unit's
// first uses clause, the field becomes the first line of the form class after its ancestor list.
//
// The edit is byte-exact: the two insertions are the only change, every other byte (line ends,
// blanks, comments, text after the final "end.") stays as it was. A unit in which a requested
// place cannot be found is not rewritten at all, so the caller can say which unit needs a hand.
#pragma once

#include <string>
#include <string_view>

namespace vorlect::vle {

struct TEditPascalFile {
  std::string FileName;   // the unit file
  std::string UsesUnits;  // e.g. "VLBase, VLCore"; empty skips the uses step
  std::string FormClass;  // class name of the form; empty skips the field step
  std::string FieldDecl;  // e.g. "Vorlect1: TVorlect;"; empty skips the field step
};

enum class TEditPascalStatus {
  Edited,        // the unit was rewritten
  Unchanged,     // everything asked for was already there; the unit was not rewritten
  NoUsesClause,  // no uses clause; the unit was left untouched
  NoFormClass,   // no declaration of the form class (with its ancestor list); left untouched
  IOError,       // the unit could not be read or replaced; left untouched
};

struct TEditPascalResult {
  TEditPascalStatus Status = TEditPascalStatus::Unchanged;
  std::string FileName;
  // IOError: the operating system's reason; NoUsesClause: the units to add by hand;
  // NoFormClass: the form class.
  std::string Detail;
  bool Ok() const {
    return Status == TEditPascalStatus::Edited || Status == TEditPascalStatus::Unchanged;
  }
};

// The edit on a unit's text. `Status` tells whether `Text` differs; for NoUsesClause and
// NoFormClass `Text` is the input unchanged.
struct TEditPascalText {
  TEditPascalStatus Status = TEditPascalStatus::Unchanged;
  std::string Text;
};
TEditPascalText EditPascalText(std::string_view unit, const TEditPascalFile& edit);

// Reads the unit, edits it and replaces it atomically (a failure leaves it as it was).
TEditPascalResult EditPascalFile(const TEditPascalFile& edit);

// A one-line (with "\r" between sentences) message naming the unit, for a message box or the
// command line.
std::string EditPascalMessage(const TEditPascalResult& result);

}  // namespace vorlect::vle
