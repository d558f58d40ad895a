#include "platform/Modules.h"

#include <dlfcn.h>
#include <link.h>

namespace vorlect::platform {
namespace {

// Full path of a loaded object whose file name (without folder) is `baseName`, or empty.
std::string FindLoadedByBaseName(const std::string& baseName) {
  struct Search {
    const std::string* baseName;
    std::string found;
  } search{&baseName, {}};
  ::dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        const std::string_view path = info->dlpi_name ? info->dlpi_name : "";
        const size_t slash = path.rfind('/');
        if (!path.empty() && path.substr(slash == std::string_view::npos ? 0 : slash + 1) == *s->baseName) {
          s->found = path;
          return 1;
        }
        return 0;
      },
      &search);
  return search.found;
}

}  // namespace

void* GetModuleHandle(std::string_view fileName) {
  if (fileName.empty()) return nullptr;
  std::string name(fileName);
  // Like the original, a bare file name finds the module whatever folder it was loaded from.
  if (name.find('/') == std::string::npos)
    if (std::string full = FindLoadedByBaseName(name); !full.empty()) name = std::move(full);
  void* module = ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  // RTLD_NOLOAD still counts a reference; give it back so only real loads keep the module.
  if (module) ::dlclose(module);
  return module;
}

void* GetProcAddress(void* module, const char* name) {
  if (!module || !name) return nullptr;
  ::dlerror();
  return ::dlsym(module, name);
}

void* LoadModule(std::string_view fileName) {
  const std::string name(fileName);
  ::dlerror();
  void* module = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* reason = ::dlerror();
    throw ModuleError(reason ? std::string(reason) : name + ": cannot load module");
  }
  return module;
}

bool FreeModule(void* module) { return module && ::dlclose(module) == 0; }

}  // namespace vorlect::platform
