// MyShareMem: routes a module's heap to the shared memory-manager module whenever the expert is
// in the process, so that strings, lists and objects can cross between the package and the
// expert and be freed on either side.
//
// Compiled into both modules; each has its own copy of the state below. Initialize() is the
// unit's initialization: only its first call in a module does anything.
//
// On Linux every module of a process allocates through the one C++ runtime allocator already, so
// memory crossing between the modules is safe without switching allocators; the unit therefore
// binds the shared module's six routines (which the modules export and the tests observe) and
// leaves the process allocator in place.
#pragma once

#include <cstdint>

namespace vorlect::sharemem {

inline constexpr const char* kExpertModule = "libvorlect-expert.so";
inline constexpr const char* kSharedMemModule = "libvorlect-sharedmem.so";

// The shared module's heap status record: ten 32-bit counters.
struct THeapStatus {
  std::uint32_t TotalAddrSpace;
  std::uint32_t TotalUncommitted;
  std::uint32_t TotalCommitted;
  std::uint32_t TotalAllocated;
  std::uint32_t TotalFree;
  std::uint32_t FreeSmall;
  std::uint32_t FreeBig;
  std::uint32_t Unused;
  std::uint32_t Overhead;
  std::uint32_t HeapErrorCode;
};

using TSysGetMem = void* (*)(std::int32_t size);
using TSysFreeMem = std::int32_t (*)(void* p);
using TSysReallocMem = void* (*)(void* p, std::int32_t size);
using TGetHeapStatus = THeapStatus (*)();
using TGetAllocMemCount = std::int32_t (*)();
using TGetAllocMemSize = std::int32_t (*)();

// The six entry points, each null until bound.
struct TEntryPoints {
  TSysGetMem SysGetMem = nullptr;
  TSysFreeMem SysFreeMem = nullptr;
  TSysReallocMem SysReallocMem = nullptr;
  TGetHeapStatus GetHeapStatus = nullptr;
  TGetAllocMemCount GetAllocMemCount = nullptr;
  TGetAllocMemSize GetAllocMemSize = nullptr;

  bool AllBound() const {
    return SysGetMem && SysFreeMem && SysReallocMem && GetHeapStatus && GetAllocMemCount && GetAllocMemSize;
  }
  bool NoneBound() const {
    return !SysGetMem && !SysFreeMem && !SysReallocMem && !GetHeapStatus && !GetAllocMemCount && !GetAllocMemSize;
  }
};

// This module's entry points.
const TEntryPoints& EntryPoints();
// How often Initialize() ran in this module.
int InitCount();

// The unit's initialization: at the first call only, when the expert module is already loaded,
// binds the six routines of the (already loaded) shared module, in the order of TEntryPoints.
void Initialize();
// The unit's finalization: counts down; what was bound stays bound.
void Finalize();

// The six routines, forwarding to the bound entry points. Unbound: null, failure (non-zero),
// an empty status, 0.
void* SysGetMem(std::int32_t size);
std::int32_t SysFreeMem(void* p);
void* SysReallocMem(void* p, std::int32_t size);
THeapStatus GetHeapStatus();
std::int32_t GetAllocMemCount();
std::int32_t GetAllocMemSize();

}  // namespace vorlect::sharemem
