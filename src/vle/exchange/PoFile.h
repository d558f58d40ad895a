// The gettext PO syntax: writing entries as the gettext tools write them, and reading what any of
// them (or a translator's editor) may have made of a file: strings split over several lines, escapes,
// contexts, flags, obsolete entries, plural forms and CR LF line ends.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle::po {

// A file that is not PO: the message names the line (from 1).
class TPoError : public std::runtime_error {
public:
  TPoError(std::size_t line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  std::size_t line() const { return line_; }

private:
  std::size_t line_;
};

struct TPoEntry {
  bool hasContext = false;
  std::string context;
  std::string msgid;
  bool plural = false;               // has msgid_plural
  std::string msgidPlural;
  std::vector<std::string> msgstr;   // msgstr, or msgstr[0], msgstr[1] ... of a plural entry
  std::vector<std::string> flags;    // of the "#," lines
  std::size_t line = 0;              // of the entry's first keyword
  bool HasFlag(std::string_view flag) const;
  bool Fuzzy() const { return HasFlag("fuzzy"); }
  bool IsHeader() const { return !hasContext && msgid.empty() && !plural; }
  // msgstr, or msgstr[0]; empty without one.
  const std::string& Translation() const;
};

// Every live entry of a PO file in file order, the header included; obsolete ("#~") entries are
// dropped. Strings are the bytes the file holds (escapes undone); the header's charset is checked:
// anything but UTF-8 (or the template's "CHARSET") is refused, and so is a string that is not UTF-8.
// Throws TPoError.
std::vector<TPoEntry> ReadPo(std::string_view contents);

// One keyword line with its string, as the gettext tools write it: a text holding a line break
// before its end is written as "" followed by one line per line of the text. Ends in "\n".
std::string PoLine(std::string_view keyword, std::string_view text);

// A string between double quotes with the PO escapes.
std::string PoQuote(std::string_view text);

}  // namespace vorlect::vle::po
