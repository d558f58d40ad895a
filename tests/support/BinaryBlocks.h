// Cutting the translation components out of a binary form file, to compare what a rewrite left
// of the rest of the file with the original.
#pragma once

#include "host/formfile/FormFile.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorlect::test {

inline bool IsTranslationClass(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name.find("vorlect") != std::string::npos;
}

inline void CollectBlocks(const formfile::Object& o, const formfile::ObjectSpan& span,
                          std::vector<std::pair<size_t, size_t>>& out) {
  for (size_t i = 0; i < o.children.size(); ++i) {
    if (IsTranslationClass(o.children[i].className)) out.emplace_back(span.children[i].begin, span.children[i].end);
    else CollectBlocks(o.children[i], span.children[i], out);
  }
}

// The file without the blocks of its translation components, the resource header's size field
// set to what then remains. Walks the binary (throws FormFileError when it cannot be read).
inline std::string WithoutTranslationBlocks(const std::string& bytes) {
  formfile::BinaryInfo info;
  formfile::ObjectSpan layout;
  const formfile::Object root = formfile::ReadBinary(bytes, "cut", &info, &layout);
  std::vector<std::pair<size_t, size_t>> blocks;
  CollectBlocks(root, layout, blocks);
  std::string out;
  size_t at = 0;
  for (const auto& [from, to] : blocks) {
    out.append(bytes, at, from - at);
    at = to;
  }
  out.append(bytes, at, std::string::npos);
  if (info.resourceHeader) {
    const std::uint64_t size = out.size() - info.dataStart;
    for (int i = 0; i < 4; ++i) out[info.sizeAt + static_cast<size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  }
  return out;
}

}  // namespace vorlect::test
