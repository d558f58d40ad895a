// Feeds arbitrary bytes to the registry hive parser; whatever parses must survive
// serialize -> parse unchanged, and serializing must be stable.
#include "platform/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace vorlect::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  RegKey hive;
  try {
    hive = ParseHive(input, "fuzz.reg");
  } catch (const RegistryError&) {
    return 0;
  }
  const std::string text = SerializeHive(hive);
  RegKey again;
  try {
    again = ParseHive(text, "serialized.reg");
  } catch (const RegistryError&) {
    std::abort();  // our own output must always parse
  }
  if (!(again == hive) || SerializeHive(again) != text) std::abort();
  return 0;
}
