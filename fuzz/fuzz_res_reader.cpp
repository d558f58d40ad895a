// .res reader: whatever reads must write and read back to the same resources.
#include "platform/pe/Resources.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorlect::platform;
  std::vector<Resource> first;
  try {
    first = ReadResFile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.res");
  } catch (const ResourceError&) {
    return 0;
  }
  const std::string written = WriteResFile(first);
  if (ReadResFile(written, "rewritten.res") != first) std::abort();
  // String tables read from it must survive a rebuild too.
  for (std::uint16_t language : {std::uint16_t{0}, std::uint16_t{0x0409}}) {
    try {
      const auto strings = ReadStringTable(first, language);
      if (ReadStringTable(BuildStringTableResources(strings, language), language) != strings) std::abort();
    } catch (const ResourceError&) {
    }
  }
  return 0;
}
