// How a form designer loads the modules: the shared heap, the package and the expert, each
// through its entry points. Every failure names the module and, where it applies, the entry.
#pragma once

#include "host/toolservices/ExptIntf.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace vorlect::toolservices {

class ModuleLoadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kSharedMemFile = "libvorlect-sharedmem.so";
inline constexpr const char* kPackageFile = "libvorlect-package.so";
inline constexpr const char* kExpertFile = "libvorlect-expert.so";

class TModuleLoader {
public:
  TModuleLoader() = default;
  // Releases the registered experts (their menu items leave the menu); the modules stay loaded,
  // as code of theirs may still be referenced by objects the designer holds.
  ~TModuleLoader();
  TModuleLoader(const TModuleLoader&) = delete;
  TModuleLoader& operator=(const TModuleLoader&) = delete;

  // Each throws ModuleLoadError: "The module <path> could not be loaded:\r<reason>" or
  // "The module <path> does not export <entry>.".
  void LoadSharedMem(const std::string& path);
  // Runs the package's initialization and registration.
  void LoadPackage(const std::string& path);
  // Calls the expert's entry with `services`; an entry that refuses is an error too.
  void LoadExpert(const std::string& path, HostServices& services);

  const std::vector<TIExpert*>& Experts() const { return experts_; }
  // Releases every registered expert now.
  void ReleaseExperts();

  // The three paths in `folder`.
  static std::string PathIn(const std::string& folder, const char* file);

private:
  void* Load(const std::string& path);
  void* Entry(void* module, const std::string& path, const char* name);
  static bool Register(TIExpert* expert);

  std::vector<TIExpert*> experts_;
  static TModuleLoader* registering_;
};

}  // namespace vorlect::toolservices
