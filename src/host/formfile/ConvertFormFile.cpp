#include "host/formfile/ConvertFormFile.h"

#include "platform/Files.h"

namespace vorlect::formfile {

bool ConvertFormFile(const std::string& source, std::string& target, ConvertDirection direction,
                     const ConvertOptions& options) {
  try {
    if (target.empty()) target = platform::CreateTempFile("TVL");
    std::string data = platform::ReadFile(source);
    FileFormat format = DetectFormat(data);
    std::string output;
    if (format == FileFormat::Text) {
      // A syntax error propagates as FormFileError, naming the file and line.
      if (direction == ConvertDirection::ToText) {
        ReadText(data, source);
        output = std::move(data);  // already text: keep it exactly as written
      } else {
        output = TextToBinary(data, source, options.header != ConvertOptions::Header::Without);
      }
    } else if (format == FileFormat::Binary || format == FileFormat::BinaryWithHeader) {
      BinaryInfo info;
      Object root;
      try {
        root = ReadBinary(data, source, &info);
      } catch (const FormFileError&) {
        return false;  // damaged binary content is a stream error
      }
      if (direction == ConvertDirection::ToText) {
        try {
          output = WriteText(root, options.text);
        } catch (const FormFileError& e) {
          // A value the text notation cannot carry: the caller learns which, in which file.
          throw FormFileError(source, e.where(), e.detail());
        }
      } else {
        if (options.header == ConvertOptions::Header::With && !info.resourceHeader) {
          output = WriteBinary(root, true);
        } else if (options.header == ConvertOptions::Header::Without) {
          output = WriteBinary(root, false);
        } else {
          output = WriteBinary(root, info);
        }
      }
    } else {
      return false;
    }
    platform::WriteFileAtomic(target, output);
    return true;
  } catch (const platform::FileError&) {
    return false;
  } catch (const std::logic_error&) {
    return false;  // a tree the binary format cannot hold (over-long names)
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace vorlect::formfile
