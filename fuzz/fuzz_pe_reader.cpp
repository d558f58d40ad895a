// PE string-module reader: parse, look strings up, list every resource.
#include "platform/pe/Resources.h"
#include "platform/pe/StringModule.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string image(reinterpret_cast<const char*>(data), size);
  using namespace vorlect::platform;
  try {
    auto module = StringModule::FromImage(image, "fuzz.dll");
    for (std::uint32_t id : {0u, 1u, 15u, 16u, 1000u, 1001u, 65535u}) {
      (void)module->LoadString(id, 5);
      (void)module->LoadString(id);
      (void)module->LoadStringW(id);
      (void)module->LanguageOf(id);
    }
  } catch (const StringModuleError&) {
  }
  try {
    (void)ReadPeResources(image, "fuzz.dll");
  } catch (const ResourceError&) {
  }
  return 0;
}
