#include "sharemem/MyShareMem.h"

#include "platform/Modules.h"

namespace vorlect::sharemem {

namespace {

TEntryPoints entryPoints;
int initCount = 0;

template <class F>
F Resolve(void* module, const char* name) {
  return reinterpret_cast<F>(platform::GetProcAddress(module, name));
}

}  // namespace

const TEntryPoints& EntryPoints() { return entryPoints; }
int InitCount() { return initCount; }

void Initialize() {
  if (initCount++ != 0) return;
  // Without the expert the module keeps its own heap. Look-ups never load a module.
  if (!platform::GetModuleHandle(kExpertModule)) return;
  void* shared = platform::GetModuleHandle(kSharedMemModule);
  if (!shared) return;
  entryPoints.SysGetMem = Resolve<TSysGetMem>(shared, "SysGetMem");
  entryPoints.SysFreeMem = Resolve<TSysFreeMem>(shared, "SysFreeMem");
  entryPoints.SysReallocMem = Resolve<TSysReallocMem>(shared, "SysReallocMem");
  entryPoints.GetHeapStatus = Resolve<TGetHeapStatus>(shared, "GetHeapStatus");
  entryPoints.GetAllocMemCount = Resolve<TGetAllocMemCount>(shared, "GetAllocMemCount");
  entryPoints.GetAllocMemSize = Resolve<TGetAllocMemSize>(shared, "GetAllocMemSize");
}

void Finalize() {
  if (initCount > 0) --initCount;
}

void* SysGetMem(std::int32_t size) { return entryPoints.SysGetMem ? entryPoints.SysGetMem(size) : nullptr; }

std::int32_t SysFreeMem(void* p) { return entryPoints.SysFreeMem ? entryPoints.SysFreeMem(p) : 1; }

void* SysReallocMem(void* p, std::int32_t size) {
  return entryPoints.SysReallocMem ? entryPoints.SysReallocMem(p, size) : nullptr;
}

THeapStatus GetHeapStatus() { return entryPoints.GetHeapStatus ? entryPoints.GetHeapStatus() : THeapStatus{}; }

std::int32_t GetAllocMemCount() { return entryPoints.GetAllocMemCount ? entryPoints.GetAllocMemCount() : 0; }

std::int32_t GetAllocMemSize() { return entryPoints.GetAllocMemSize ? entryPoints.GetAllocMemSize() : 0; }

}  // namespace vorlect::sharemem
