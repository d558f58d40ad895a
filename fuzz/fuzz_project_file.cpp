// Fuzz target: the uses clause of a project file.
#include "host/toolservices/ToolServices.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    vorlect::toolservices::ParseProjectUses(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.dpr");
  } catch (const vorlect::toolservices::ProjectFileError&) {
  }
  return 0;
}
