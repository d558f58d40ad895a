// The package module: the translation components, the grid, the component framework they live
// in, and their design-time registration. A form designer loads it, calls its initialization and
// then its registration; a finished application only needs it to be linked.
#include "runtime/VLCore.h"
#include "runtime/design/VLDesign.h"
#include "sharemem/MyShareMem.h"

#define VORLECT_EXPORT extern "C" __attribute__((visibility("default")))

using namespace vorlect;

// The units' initialization, run by whoever loads the package (once per load).
VORLECT_EXPORT void VorlectPackageInitialize() {
  sharemem::Initialize();
  runtime::RegisterClasses();
}

VORLECT_EXPORT void VorlectPackageFinalize() { sharemem::Finalize(); }

// The units' Register procedures: palette page, property and component editors.
VORLECT_EXPORT void VorlectPackageRegister() { runtime::design::RegisterPackage(); }

// MyShareMem's six routines, under the shared module's names.
VORLECT_EXPORT void* SysGetMem(std::int32_t size) { return sharemem::SysGetMem(size); }
VORLECT_EXPORT std::int32_t SysFreeMem(void* p) { return sharemem::SysFreeMem(p); }
VORLECT_EXPORT void* SysReallocMem(void* p, std::int32_t size) { return sharemem::SysReallocMem(p, size); }
VORLECT_EXPORT sharemem::THeapStatus GetHeapStatus() { return sharemem::GetHeapStatus(); }
VORLECT_EXPORT std::int32_t GetAllocMemCount() { return sharemem::GetAllocMemCount(); }
VORLECT_EXPORT std::int32_t GetAllocMemSize() { return sharemem::GetAllocMemSize(); }
