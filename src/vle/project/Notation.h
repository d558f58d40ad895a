// Table lines in form-file notation (the text between the outer apostrophes of a quoted item:
// "it''s", "Hello'#13#10'World", "'#1055#1088'") and the real texts they stand for.
//
// A line holding a character code of 128 or above is a Unicode string, as the form-file reader
// takes it: its codes are code points and its raw bytes Latin-1. Any other line is an 8-bit
// string: its raw bytes and codes are bytes in the code page of the line's language.
#pragma once

#include <string>
#include <string_view>

namespace vorlect::vle::notation {

struct TDecoded {
  bool unicode = false;   // the line holds a code of 128 or above
  bool valid = true;      // the line reads as one complete quoted item
  std::string bytes;      // the 8-bit value (unicode false)
  std::u16string units;   // the Unicode value (unicode true)
};

// Reads a line leniently: text outside the quoted runs that is not a code is taken as it stands
// and makes the line invalid, so bad input never stops an export.
TDecoded Decode(std::string_view line);

// Whether a text can stand between two apostrophes in a form file as it is.
bool IsValid(std::string_view line);

// The real text of a line in UTF-16; 8-bit values are read in `codePage`.
std::u16string ToUtf16(std::string_view line, int codePage);

// The 8-bit value of a line in `codePage`; a Unicode value is encoded into it ('?' for characters
// the code page lacks).
std::string ToBytes(std::string_view line, int codePage);

// Notation of an 8-bit text: printable bytes in quoted runs, apostrophes doubled, control
// characters as codes ("Hello'#13#10'World").
std::string OfBytes(std::string_view bytes);

// Notation of a real text: 8-bit in `codePage` when every character has a byte there and
// `unicodeStyle` is false; otherwise every UTF-16 unit outside printable ASCII as its code (a
// surrogate pair as two codes), as the form-file writer codes a Unicode string.
std::string OfUtf16(std::u16string_view text, int codePage, bool unicodeStyle = false);

}  // namespace vorlect::vle::notation
