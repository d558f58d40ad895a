#include "rc/StringListing.h"

#include "platform/CodePages.h"
#include "platform/pe/Resources.h"

#include <map>

namespace vorlect::rc {

namespace {

int LanguageRank(std::uint16_t language) {
  switch (language) {
    case 0: return 0;
    case 0x400: return 1;
    case 0x800: return 2;
    default: return 3;
  }
}

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char c : platform::Utf16ToUtf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (u < 32 || u == 127) {
      static const char* hex = "0123456789abcdef";
      out += "\\x";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string ListModuleStrings(std::string_view image, std::string_view name) {
  std::map<std::uint16_t, platform::PeResourceEntry> chosen;  // block name -> entry
  platform::ForEachPeResource(image, name, [&](const platform::PeResourceEntry& e) {
    if (e.type != platform::ResourceId(platform::kRtString) || !e.name.IsNumber() || e.name.Number() == 0) return;
    auto [it, fresh] = chosen.try_emplace(e.name.Number(), e);
    const auto better = std::pair{LanguageRank(e.language), e.language};
    if (!fresh && better < std::pair{LanguageRank(it->second.language), it->second.language}) it->second = e;
  });
  std::string out;
  for (const auto& [block, entry] : chosen) {
    const platform::StringBlock strings =
        platform::DecodeStringBlock(entry.data, std::string(name) + ": string table block " + std::to_string(block));
    for (std::uint32_t i = 0; i < 16; ++i)
      if (!strings[i].empty())
        out += std::to_string((block - 1u) * 16 + i) + "\t" + Escaped(strings[i]) + "\n";
  }
  return out;
}

}  // namespace vorlect::rc
