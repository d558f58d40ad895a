// What the translation checks look at in one text: format arguments, accelerator markers, the
// ending punctuation, blanks and line breaks, letters. Texts are bytes in a language's code page;
// every character these rules look for is ASCII, which no double-byte code page uses as a
// trail byte, so they scan bytes and decode only where a character beyond ASCII matters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle::checks {

// One format argument: "%s", "%-8d", "%5.2f", "%0:s", "%*d", or a numbered insert "%1".
struct Placeholder {
  int index = -1;        // the explicit index of "%0:s" and "%1"; -1 for a plain argument
  char kind = 0;         // the type letter in lower case; '#' for a numbered insert
  std::string spelling;  // as written
  bool operator==(const Placeholder&) const = default;
};

// The format arguments of a text in order; "%%" is a literal percent sign and a "%" that starts
// no argument ("50 %") is text.
std::vector<Placeholder> Placeholders(std::string_view text);

// Empty when `translation` takes the same arguments as `source`: plain ones in the same order
// and kind, indexed ones the same set in any order. Otherwise what differs, for a message.
std::string ComparePlaceholders(const std::vector<Placeholder>& source, const std::vector<Placeholder>& translation);

// 1-based positions of every accelerator marker, by the spell checker's rule applied again after
// each marker found: an "&" that is neither half of "&&" nor the last character.
std::vector<int> AcceleratorMarkers(std::string_view text);

// The character a marker at 1-based `marker` marks, case-folded (0 when none).
char32_t MarkedCharacter(std::string_view text, int marker, int codePage);

// The text as drawn: the first marker dropped and every "&&" shown as "&".
std::string WithoutAccelerator(std::string_view text);

enum class Ending { None, FullStop, Colon, Exclamation, Question, Ellipsis };
const char* EndingName(Ending e);
// The punctuation a text ends in, after its trailing blanks. "..." and the ellipsis character
// are one ellipsis; in Chinese, Japanese and Korean code pages the full-width forms (and the
// ideographic full stop) count as their half-width ones; a Greek ";" and an Arabic question mark
// are question marks.
Ending EndingOf(std::string_view text, int codePage);

// Blanks (spaces and tabs) at the start and at the end, and line breaks (CR LF, CR or LF).
struct Blanks {
  int leading = 0;
  int trailing = 0;
  int lineBreaks = 0;
  bool operator==(const Blanks&) const = default;
};
Blanks BlanksOf(std::string_view text);

// Does the text hold a letter of any script?
bool HasLetter(std::string_view text, int codePage);

// True for the code pages of Chinese, Japanese and Korean (932, 936, 949, 950).
bool IsEastAsianCodePage(int codePage);

// The text in UTF-8 (for messages).
std::string ToUtf8(std::string_view text, int codePage);

}  // namespace vorlect::vle::checks
