// Reading and writing form files: the binary streaming format (with or without the 16-bit
// resource header) and the IDE's text notation.
#pragma once

#include "FormTree.h"

#include <memory>
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
  size_t sizeAt = 0;                 // offset of the header's 32-bit size field
  size_t dataStart = 0;              // offset of the signature "TPF0"
};

// Where an object of a form file lies, as offsets into the data ReadBinary or ReadText was given.
// In a text form: its keyword, just past its header, each property from its name to the end of
// its value, the keyword 'end', and just past that keyword.
struct ObjectSpan {
  size_t begin = 0;                  // its prefix byte or class name
  size_t headerEnd = 0;              // just past its name: its first property
  size_t propertiesEnd = 0;          // the zero that ends its properties
  size_t end = 0;                    // just past the zero that ends its children
  std::vector<std::pair<size_t, size_t>> properties;  // each property, name and value: [first, last)
  std::vector<ObjectSpan> children;
};

// Parses a binary form file. The object tree must end exactly where the data (or the resource's
// size) ends. Throws FormFileError naming `fileName` and the byte offset. With `layout`, also
// reports where each object and property lies.
Object ReadBinary(std::string_view data, std::string_view fileName = {}, BinaryInfo* info = nullptr,
                  ObjectSpan* layout = nullptr);

// One object (with its children) or one property as the binary format streams them.
void AppendBinaryObject(std::string& out, const Object& object);
void AppendBinaryProperty(std::string& out, const Property& property);

// Streams the tree; with `resourceHeader` the 16-bit resource header is built from the root's
// class name in upper case.
std::string WriteBinary(const Object& root, bool resourceHeader);
// Streams the tree with the given header (as ReadBinary reported it), so that a file whose
// resource name or memory flags differ from the usual ones is rewritten unchanged.
std::string WriteBinary(const Object& root, const BinaryInfo& header);

// Streams objects as they come, without a tree: each object's header, then its properties, the
// end of its properties, its children and its end, in that order. Gives the bytes WriteBinary
// gives for the tree these calls describe.
class BinaryStreamWriter {
public:
  explicit BinaryStreamWriter(bool resourceHeader, size_t expectedSize = 0);
  ~BinaryStreamWriter();
  BinaryStreamWriter(const BinaryStreamWriter&) = delete;
  BinaryStreamWriter& operator=(const BinaryStreamWriter&) = delete;

  void BeginObject(const Object& header);  // properties and children of `header` are not written
  void WriteProperty(const Property& property);
  void EndProperties();
  void EndObject();
  std::string Finish();

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

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
  // A value the notation cannot carry (an empty identifier, which some components store) makes
  // WriteText throw FormFileError naming the property. With placeholders it is written as the
  // identifier kNoNotationPlaceholder instead: for a text that is only read, or edited and mended
  // back into the binary file (FormMend.h), never for one saved as a form.
  bool placeholders = false;
  // Spaces per level of nesting; the IDE writes 2.
  int indentWidth = 2;
};

inline constexpr std::string_view kNoNotationPlaceholder = "VorlectValueWithoutNotation";

struct TextInfo {
  bool byteOrderMark = false;
  LineEnd lineEnd = LineEnd::CRLF;   // of the first line end found
};

// Parses the text notation. Throws FormFileError naming `fileName` and the line. With `layout`,
// also reports where each object and property lies.
Object ReadText(std::string_view data, std::string_view fileName = {}, TextInfo* info = nullptr,
                ObjectSpan* layout = nullptr);

// The text notation straight to the binary format: the bytes of WriteBinary(ReadText(data),
// resourceHeader), and the same error for a damaged text, without building the tree. This is
// what converting a text form costs least.
std::string TextToBinary(std::string_view data, std::string_view fileName, bool resourceHeader);

// One object (with its children), its header line alone, or one property, in the text notation
// at an indentation of `level` steps, each line ended as `options` say.
void AppendTextObject(std::string& out, const Object& object, int level, const TextOptions& options);
void AppendTextHeader(std::string& out, const Object& object, int level, const TextOptions& options);
void AppendTextProperty(std::string& out, const Property& property, int level, const TextOptions& options);

// Writes the text notation with the original IDE's layout. Throws FormFileError (no file name,
// the place "property Object.Name") for a value the notation cannot carry, unless
// `options.placeholders`.
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
