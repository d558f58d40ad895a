#include "host/toolservices/ModuleLoader.h"

#include "platform/Modules.h"

namespace vorlect::toolservices {

TModuleLoader* TModuleLoader::registering_ = nullptr;

TModuleLoader::~TModuleLoader() { ReleaseExperts(); }

std::string TModuleLoader::PathIn(const std::string& folder, const char* file) {
  if (folder.empty()) return file;
  return folder.back() == '/' ? folder + file : folder + "/" + file;
}

void* TModuleLoader::Load(const std::string& path) {
  try {
    return platform::LoadModule(path);
  } catch (const platform::ModuleError& e) {
    throw ModuleLoadError("The module " + path + " could not be loaded:\r" + e.what());
  }
}

void* TModuleLoader::Entry(void* module, const std::string& path, const char* name) {
  void* entry = platform::GetProcAddress(module, name);
  if (!entry) throw ModuleLoadError("The module " + path + " does not export " + name + ".");
  return entry;
}

void TModuleLoader::LoadSharedMem(const std::string& path) {
  void* module = Load(path);
  for (const char* name : {"SysGetMem", "SysFreeMem", "SysReallocMem", "GetHeapStatus", "GetAllocMemCount",
                           "GetAllocMemSize"})
    Entry(module, path, name);
}

void TModuleLoader::LoadPackage(const std::string& path) {
  void* module = Load(path);
  auto initialize = reinterpret_cast<void (*)()>(Entry(module, path, "VorlectPackageInitialize"));
  auto registerUnits = reinterpret_cast<void (*)()>(Entry(module, path, "VorlectPackageRegister"));
  initialize();
  registerUnits();
}

bool TModuleLoader::Register(TIExpert* expert) {
  if (!registering_ || !expert) return false;
  registering_->experts_.push_back(expert);
  return true;
}

void TModuleLoader::LoadExpert(const std::string& path, HostServices& services) {
  void* module = Load(path);
  auto init = reinterpret_cast<TExpertInitProc>(Entry(module, path, kExpertEntryPoint));
  TExpertTerminateProc terminate = nullptr;
  registering_ = this;
  const bool ok = init(&services, &TModuleLoader::Register, &terminate);
  registering_ = nullptr;
  if (!ok) throw ModuleLoadError("The module " + path + " refused to start (" + kExpertEntryPoint + ").");
}

void TModuleLoader::ReleaseExperts() {
  // The last registered first, as an IDE unloads them.
  while (!experts_.empty()) {
    TIExpert* expert = experts_.back();
    experts_.pop_back();
    TInterface::Free(expert);
  }
}

}  // namespace vorlect::toolservices
