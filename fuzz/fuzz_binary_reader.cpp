// Binary form reader: damaged input must fail cleanly; whatever it accepts must write back to the
// same bytes, survive the text notation (or be refused by it naming the property), and mend back
// to itself when its text is left unedited.
#include "host/formfile/FormFile.h"
#include "host/formfile/FormMend.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace vorlect::formfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  BinaryInfo info;
  ObjectSpan layout;
  Object root;
  try {
    root = ReadBinary(input, "fuzz", &info, &layout);
  } catch (const FormFileError&) {
    return 0;
  }
  std::string bytes = WriteBinary(root, info);
  Object again = ReadBinary(bytes, "rewritten");
  if (WriteBinary(again, info) != bytes) abort();
  for (StringStyle style : {StringStyle::Ansi8Bit, StringStyle::Unicode}) {
    TextOptions options;
    options.style = style;
    try {
      WriteText(root, options);
    } catch (const FormFileError& e) {
      if (e.where().rfind("property ", 0) != 0) abort();  // only a value without notation is refused
    }
    options.placeholders = true;
    std::string text = WriteText(root, options);
    Object before;
    try {
      before = ReadText(text, "our text");
    } catch (const FormFileError&) {
      abort();  // our own text must always parse
    }
    if (style == StringStyle::Ansi8Bit && MendBinary(input, info, layout, before, before) != input) abort();
  }
  return 0;
}
