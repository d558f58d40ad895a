// The project settings file: any bytes either load with their "translate" and "never" sections
// read, or fail with ProjectSettingsError; nothing else escapes and nothing hangs.
#include "vle/settings/TranslatableSettings.h"

#include "platform/Files.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz-settings-" + std::to_string(::getpid()) + ".vorlect.json";
  vorlect::platform::WriteFileAtomic(path, std::string(reinterpret_cast<const char*>(data), size));
  try {
    vorlect::vle::ReadTranslatableProperties(vorlect::vle::ProjectSettings::Load(path));
  } catch (const vorlect::vle::ProjectSettingsError&) {
  }
  return 0;
}
