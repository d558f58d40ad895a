// Binary form reader: damaged input must fail cleanly; whatever it accepts must write back to the
// same bytes and survive the text notation.
#include "host/formfile/FormFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace vorlect::formfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  BinaryInfo info;
  Object root;
  try {
    root = ReadBinary(input, "fuzz", &info);
  } catch (const FormFileError&) {
    return 0;
  }
  std::string bytes = WriteBinary(root, info);
  Object again = ReadBinary(bytes, "rewritten");
  if (WriteBinary(again, info) != bytes) abort();
  for (StringStyle style : {StringStyle::Ansi8Bit, StringStyle::Unicode}) {
    TextOptions options;
    options.style = style;
    std::string text = WriteText(root, options);
    try {
      ReadText(text, "our text");
    } catch (const FormFileError&) {
      abort();  // our own text must always parse
    }
  }
  return 0;
}
