// XLIFF 1.2 and 2.0 as translators' tools exchange them: escaping texts into the markup the exports
// write, and reading back the units of a file (through libxml2) with their source, target and state.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle::xliff {

enum class TVersion { V12, V20 };

inline constexpr const char* kNamespace12 = "urn:oasis:names:tc:xliff:document:1.2";
inline constexpr const char* kNamespace20 = "urn:oasis:names:tc:xliff:document:2.0";

// A file that is not XLIFF we can read; the message names the line when the parser knows it.
class TXliffError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TUnit {
  std::string file;      // the original attribute of its <file>
  std::string id;
  std::string source;    // UTF-8, inline code points resolved
  std::string target;
  bool hasTarget = false;
  std::string state;     // of <target> (1.2) or of its segments (2.0, the first one not translated)
  std::size_t line = 0;
};

struct TDocument {
  TVersion version = TVersion::V12;
  std::string sourceLanguage, targetLanguage;
  std::vector<TUnit> units;
};

// Reads a whole document. A document type declaration is refused (no entity expansion, nothing
// loaded from anywhere). Throws TXliffError.
TDocument ReadXliff(std::string_view contents);

// Element content: markup characters as references, CR as "&#13;" (a parser would turn it into
// LF), and characters XML cannot hold as <cp hex="..."/> (2.0) or <x ctype="x-cp-..."/> (1.2),
// numbered from *placeholders.
std::string Content(std::string_view utf8, TVersion version, int* placeholders);
// An attribute value.
std::string Attribute(std::string_view utf8);

// An id for a unit, made of name characters only (NMTOKEN): letters, digits, "." and "-" stand
// as they are, any other byte as "_" and two hex digits.
std::string IdOf(std::string_view text);

}  // namespace vorlect::vle::xliff
