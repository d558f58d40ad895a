#include "ModuleHost.h"

#include <gtest/gtest.h>

namespace vorlect::modtest {

std::string ModulePath(const char* fileName) { return std::string(VORLECT_MODULES_DIR) + "/" + fileName; }
std::string FakeExpertPath() { return std::string(VORLECT_FAKE_EXPERT); }

TModuleHost::TModuleHost() = default;

TModuleHost::~TModuleHost() {
  loader_.ReleaseExperts();
  toolservices::SetHostServices(nullptr);
}

void TModuleHost::LoadPackage() { loader_.LoadPackage(ModulePath(toolservices::kPackageFile)); }

bool TModuleHost::LoadExpert(toolservices::HostServices* services) {
  try {
    loader_.LoadExpert(ModulePath(toolservices::kExpertFile), services ? *services : services_);
  } catch (const toolservices::ModuleLoadError& e) {
    ADD_FAILURE() << e.what();
    return false;
  }
  return true;
}

}  // namespace vorlect::modtest
