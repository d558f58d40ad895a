// Resource scripts and library sources: any input gives resources or a ScriptError /
// LibrarySourceError, never a crash, hang or unbounded allocation.
#include "rc/LibrarySource.h"
#include "rc/ResourceScript.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    vorlect::rc::ScriptOptions options;
    options.codePage = size % 2 ? 65001 : 1252;
    const auto resources = vorlect::rc::CompileResourceScript(text, options);
    (void)vorlect::platform::WriteResFile(resources);
  } catch (const vorlect::rc::ScriptError&) {
  }
  try {
    (void)vorlect::rc::ParseLibrarySource(text, "fuzz.dpr");
  } catch (const vorlect::rc::LibrarySourceError&) {
  }
  return 0;
}
