// Writing an edited form back into its binary file by changing only the bytes of what changed.
//
// Edits of a binary form go through its text notation, which cannot tell every value type apart
// (a Unicode string stored as UTF-8 or as UTF-16, a double or an extended). Converting the whole
// edited text back would change the bytes of values nobody touched. Mending compares the edited
// tree with the tree the text gave before the edit and copies the original bytes of every object
// and property that is the same in both; only what differs is streamed anew, and the resource
// header takes the new size.
#pragma once

#include "FormFile.h"

#include <string>
#include <string_view>

namespace vorlect::formfile {

// `original` is the binary file's bytes, read by ReadBinary into `info` and `layout`; `before` is
// its text notation read back (ReadText(WriteText(...))) and `after` that tree edited. Objects are
// matched by name and class in order, properties by name in order. Throws FormFileError naming
// `fileName` when a changed value would have to be streamed from a placeholder (TextOptions).
std::string MendBinary(std::string_view original, const BinaryInfo& info, const ObjectSpan& layout,
                       const Object& before, const Object& after, std::string_view fileName = {});

// The bytes of the form file `original` (binary or text) after its tree was edited into `after`.
// A binary file is mended as above; a text file keeps the lines of every part the edit left alone
// and its line ends and byte-order mark, the changed parts written with `options` (a file whose
// parts share lines is written whole). Throws FormFileError for an original of neither format or
// an unreadable one.
std::string MendForm(std::string_view original, const Object& after, std::string_view fileName = {},
                     TextOptions options = {});

// Deep equality of values and objects, value types included.
bool SameValue(const Value& a, const Value& b);
bool SameObject(const Object& a, const Object& b);

}  // namespace vorlect::formfile
