// Converting a form file on disk between its binary form and its text form.
#pragma once

#include "FormFile.h"

#include <string>

namespace vorlect::formfile {

enum class ConvertDirection { ToText, ToBinary };

struct ConvertOptions {
  TextOptions text;                 // for ToText
  // For ToBinary: write the 16-bit resource header. Unset keeps the source's choice when the
  // source is binary and writes the header when it is text.
  enum class Header { Keep, With, Without } header = Header::Keep;
};

// Converts `source` into `target`. When `target` is empty a new temporary file with the prefix
// "TVL" is made first and its name is returned in `target`. Returns false on a stream error
// (a file that cannot be opened or created, binary content that cannot be read); a syntax error in
// a text form throws FormFileError naming the file and the line, and so does a binary form holding a
// value the text notation cannot carry (naming the property). The target is written atomically:
// on failure it keeps its previous content (a temporary target stays empty).
bool ConvertFormFile(const std::string& source, std::string& target, ConvertDirection direction,
                     const ConvertOptions& options = {});

}  // namespace vorlect::formfile
