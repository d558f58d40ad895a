// Loaded-module look-ups in the manner of the original platform, over dlopen/dlsym.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::platform {

class ModuleError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The module loaded from `fileName` if the process has ALREADY loaded it, else null. Never loads
// anything; the handle stays valid as long as the module stays loaded.
void* GetModuleHandle(std::string_view fileName);

// Address of an exported symbol, or null.
void* GetProcAddress(void* module, const char* name);

// Loads a module with all symbols bound now; throws ModuleError with the loader's reason.
void* LoadModule(std::string_view fileName);
// Releases one LoadModule reference; false (never throws) on failure.
bool FreeModule(void* module);

}  // namespace vorlect::platform
