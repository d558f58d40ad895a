// The text notation of a form file as lines: where the translation components are and what their
// tables hold. Shared by the catalogue scan and the rewrites, so both see the same components.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle::formlines {

// One line of the text: content [begin, end), line end [end, next).
struct TextLine {
  size_t begin = 0, end = 0, next = 0;
};

// Lines end at "\n" (a "\r" before it belongs to the line end). A last line without a line end
// counts too.
std::vector<TextLine> SplitLines(std::string_view text);

// One item of a string list, possibly split over several lines with " +".
struct TableItem {
  int first = 0, last = 0;   // line indices
  std::string notation;      // the item's whole value in form-file notation
};

// The properties a translation component stores, in the order it streams them (its declaration
// order): a property the file lacks is written at its place in this order.
enum class VorlectProperty {
  DefaultLanguage,
  DefaultEnabled,
  Languages,
  ActiveLanguage,
  Words,
  DoNot,
  SwitchPositions,
  TranslateEdits,
  Positions,
  CharSets,
};
inline constexpr int kVorlectPropertyCount = 10;

// One string list of the component ("Words.Strings = (" ... ")").
struct StringListLines {
  int first = -1;            // line of "Name.Strings = ("; -1 when the file has none
  int last = -1;             // the line holding the list's closing ")"; -1 when the file ends first
  size_t closeOffset = 0;    // offset of that ")" in the text
  bool unusualLayout = false;  // items on the first line itself: read, never rewritten
  std::vector<TableItem> items;
};

// One translation component of the form.
struct VorlectBlock {
  std::string name, className;
  int header = -1;           // line of "object Name: TClass"
  int end = -1;              // its "end"; -1 when the file ends first
  int languages = 0;         // 0 when the line is missing or holds no number
  int activeLanguage = 0;    // 0 when the line is missing, -1 when it holds no number
  // First line of each stored property (indexed by VorlectProperty), -1 when the file lacks it.
  // A property written twice counts where it was written last: that value is the one that loads.
  int propertyLines[kVorlectPropertyCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  unsigned repeated = 0;     // bit k: property k is written more than once
  StringListLines words, doNot, positions, charSets;

  int Line(VorlectProperty p) const { return propertyLines[static_cast<int>(p)]; }
  bool Repeated(VorlectProperty p) const { return (repeated >> static_cast<int>(p)) & 1u; }
  // The property's last line (a list's closing line); -1 when missing.
  int LastLine(VorlectProperty p) const;
  const StringListLines* List(VorlectProperty p) const;
  // Convenience for the most used ones.
  int LanguagesLine() const { return Line(VorlectProperty::Languages); }
  int ActiveLine() const { return Line(VorlectProperty::ActiveLanguage); }
};

struct FormScan {
  std::string className;     // of the form, from its first line
  std::vector<VorlectBlock> blocks;
  int rootEnd = -1;          // the form's own closing "end"
  bool hasCaption = false;
  std::string caption;       // the form's Caption in form-file notation
};

FormScan ScanLines(std::string_view text, const std::vector<TextLine>& lines);

// The notation of one quoted piece as written in the file: the text between the outer
// apostrophes, with leading or trailing codes kept ('#13'abc for #13'abc'), so that quoting it
// again reads as the same value.
std::string NotationOfPiece(std::string_view piece);

// The piece to write for a notation: quoted, without the empty runs the notation needs to keep
// codes at its ends. False when `notation` is not valid form-file notation (broken quoting, a
// line break, a bad character code).
bool QuoteNotation(std::string_view notation, std::string& quoted);

// Leading blanks of a line.
std::string_view IndentOf(std::string_view line);
// Trims blanks and control characters at both ends.
std::string_view Trim(std::string_view s);

// Keywords and names of form files compare without regard to ASCII case, whatever the locale
// (and without a library call per character: the scan of every line of a project's forms does it).
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
constexpr bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace vorlect::vle::formlines
