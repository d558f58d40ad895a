#include "ModuleHost.h"

#include "platform/Modules.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

extern "C" void VorlectPackageInitialize();
extern "C" void VorlectPackageRegister();

namespace vorlect::modtest {

namespace {

std::vector<toolservices::TIExpert*> registered;

bool RegisterExpert(toolservices::TIExpert* expert) {
  registered.push_back(expert);
  return true;
}

}  // namespace

std::string ModulePath(const char* fileName) { return std::string(VORLECT_MODULES_DIR) + "/" + fileName; }
std::string FakeExpertPath() { return std::string(VORLECT_FAKE_EXPERT); }

std::vector<toolservices::TIExpert*>& TModuleHost::Registered() { return registered; }

TModuleHost::TModuleHost() { registered.clear(); }

TModuleHost::~TModuleHost() {
  // The IDE releases its experts before unloading them.
  for (toolservices::TIExpert* expert : registered) toolservices::TInterface::Free(expert);
  registered.clear();
  toolservices::SetHostServices(nullptr);
}

void TModuleHost::LoadPackage() {
  VorlectPackageInitialize();
  VorlectPackageRegister();
}

bool TModuleHost::LoadExpert(toolservices::HostServices* services) {
  expert_ = platform::LoadModule(ModulePath("libvorlect-expert.so"));
  auto init = reinterpret_cast<toolservices::TExpertInitProc>(
      platform::GetProcAddress(expert_, toolservices::kExpertEntryPoint));
  if (!init) {
    ADD_FAILURE() << "the expert exports no " << toolservices::kExpertEntryPoint;
    return false;
  }
  toolservices::TExpertTerminateProc terminate = reinterpret_cast<toolservices::TExpertTerminateProc>(1);
  const bool ok = init(services ? services : &services_, &RegisterExpert, &terminate);
  EXPECT_EQ(terminate, nullptr);
  return ok;
}

}  // namespace vorlect::modtest
