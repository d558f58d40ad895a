// Reading and writing form files: the binary streaming format (with or without the 16-bit
// resource header) and the IDE's text notation.
#pragma once

#include "FormTree.h"

#include <string>
#include <string_view>

namespace vorlect::formfile {

// Looks at the first bytes only: 0xFF -> BinaryWithHeader, "TPF0" -> Binary, "object",
// "inherited" or "inline" after blanks (and an optional UTF-8 byte-order mark) -> Text.
FileFormat DetectFormat(std::string_view data);

struct BinaryInfo {
  bool resourceHeader = false;
  std::string resourceName;          // as found in the header (the upper-case class name)
  std::uint16_t memoryFlags = 0x1030;
};

// Parses a binary form file. The object tree must end exactly where the data (or the resource's
// size) ends. Throws FormFileError naming `fileName` and the byte offset.
Object ReadBinary(std::string_view data, std::string_view fileName = {}, BinaryInfo* info = nullptr);

// Streams the tree; with `resourceHeader` the 16-bit resource header is built from the root's
// class name in upper case.
std::string WriteBinary(const Object& root, bool resourceHeader);
// Streams the tree with the given header (as ReadBinary reported it), so that a file whose
// resource name or memory flags differ from the usual ones is rewritten unchanged.
std::string WriteBinary(const Object& root, const BinaryInfo& header);

// How 8-bit strings appear in text: the 8-bit style writes bytes 128..255 raw inside quotes
// (codes only for control characters and apostrophes); the Unicode style writes every character
// above 127 as a #nnn code point, decoding 8-bit strings with the given code page.
enum class StringStyle { Ansi8Bit, Unicode };
enum class LineEnd { CRLF, LF };

struct TextOptions {
  StringStyle style = StringStyle::Ansi8Bit;
  LineEnd lineEnd = LineEnd::CRLF;
  // For the Unicode style; in the 8-bit style a double-byte code page (932, 936, 949, 950)
  // keeps split lines from cutting a character in two, as the IDE on such a system does.
  int codePage = 1252;
  bool byteOrderMark = false;
};

struct TextInfo {
  bool byteOrderMark = false;
  LineEnd lineEnd = LineEnd::CRLF;   // of the first line end found
};

// Parses the text notation. Throws FormFileError naming `fileName` and the line.
Object ReadText(std::string_view data, std::string_view fileName = {}, TextInfo* info = nullptr);

// Writes the text notation with the original IDE's layout.
std::string WriteText(const Object& root, const TextOptions& options = {});

// Reads either format (DetectFormat decides). Throws FormFileError for anything else.
Object ReadForm(std::string_view data, std::string_view fileName = {}, FileFormat* format = nullptr);

// What a file whose first bytes are `head` is when it is no form file, as the message says it
// ("not a form file: a UTF-16 text ..."); empty when DetectFormat takes it for one.
std::string NotAFormFile(std::string_view head);

// Reads a form file whole once its first bytes show it is one (a large file of another kind is
// refused after its head): throws FormFileError naming the file and what it is instead, or
// platform::FileError.
std::string ReadFormFile(const std::string& path);

}  // namespace vorlect::formfile
