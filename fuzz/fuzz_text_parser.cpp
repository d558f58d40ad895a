// Text form parser: bad input must fail cleanly, and alike when streamed straight to binary; what
// it accepts must survive being written as text and read again (same tree), and being streamed to
// binary (from the tree and straight from the text, the same bytes); mending the file with its own
// tree gives it back, and mending it with an edited tree gives a text that reads as that tree.
#include "host/formfile/FormFile.h"
#include "host/formfile/FormMend.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace vorlect::formfile;

namespace {

bool AlikeValue(const Value& a, const Value& b);

bool AlikeProperties(const std::vector<Property>& a, const std::vector<Property>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || !AlikeValue(a[i].value, b[i].value)) return false;
  return true;
}

bool AlikeValue(const Value& a, const Value& b) {
  // Double has no notation of its own; NaN payloads are not kept.
  if (a.type != b.type) return false;
  if (a.isFloat() && std::isnan(a.toLongDouble())) return std::isnan(b.toLongDouble());
  if (a.integer != b.integer || a.bytes != b.bytes || a.wide != b.wide || a.floatBytes != b.floatBytes ||
      a.set != b.set || a.list.size() != b.list.size() || a.items.size() != b.items.size())
    return false;
  for (size_t i = 0; i < a.list.size(); ++i)
    if (!AlikeValue(a.list[i], b.list[i])) return false;
  for (size_t i = 0; i < a.items.size(); ++i)
    if (a.items[i].hasIndex != b.items[i].hasIndex || a.items[i].index != b.items[i].index ||
        !AlikeProperties(a.items[i].properties, b.items[i].properties))
      return false;
  return true;
}

bool AlikeObject(const Object& a, const Object& b) {
  if (a.flags != b.flags || a.position != b.position || a.className != b.className || a.name != b.name ||
      !AlikeProperties(a.properties, b.properties) || a.children.size() != b.children.size())
    return false;
  for (size_t i = 0; i < a.children.size(); ++i)
    if (!AlikeObject(a.children[i], b.children[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  TextInfo info;
  Object root;
  ObjectSpan layout;
  try {
    root = ReadText(input, "fuzz", &info, &layout);
  } catch (const FormFileError& e) {
    // Straight to binary, without the tree, the same text is refused with the same message.
    try {
      TextToBinary(input, "fuzz", true);
    } catch (const FormFileError& streamed) {
      if (std::string_view(streamed.what()) != e.what()) abort();
      return 0;
    }
    abort();
  }
  if (layout.end == 0 || layout.properties.size() != root.properties.size() ||
      layout.children.size() != root.children.size())
    abort();
  // What DetectFormat takes for text (the parser also takes control characters for blanks).
  const bool mendable = DetectFormat(input) == FileFormat::Text;
  if (mendable && MendForm(input, root, "fuzz") != input) abort();
  if (mendable && (!root.properties.empty() || !root.children.empty())) {
    Object edited = root;
    if (!edited.properties.empty()) edited.properties.erase(edited.properties.begin());
    else edited.children.pop_back();
    edited.properties.push_back(Property{"Mended", Value::Ansi("yes")});
    try {
      if (!AlikeObject(ReadText(MendForm(input, edited, "fuzz"), "mended"), edited)) abort();
    } catch (const FormFileError&) {
      abort();
    }
  }
  TextOptions options;
  options.byteOrderMark = info.byteOrderMark;
  std::string text = WriteText(root, options);
  Object again;
  try {
    again = ReadText(text, "our text");
  } catch (const FormFileError&) {
    abort();
  }
  if (!AlikeObject(root, again)) abort();
  std::string bytes;
  try {
    bytes = WriteBinary(root, true);
  } catch (const std::logic_error&) {
    return 0;  // a tree the binary format cannot hold
  }
  if (TextToBinary(input, "fuzz", true) != bytes) abort();
  Object fromBinary = ReadBinary(bytes, "our binary");
  if (!AlikeObject(root, fromBinary)) abort();
  return 0;
}
