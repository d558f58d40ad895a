// The shared memory-manager module: one heap for every module that binds it, with the counters a
// heap status reports. Blocks carry their size in a header so that the counters follow frees and
// reallocations.
#include "sharemem/MyShareMem.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct alignas(16) Header {
  std::int64_t size;
  std::uint64_t magic;
};
constexpr std::uint64_t kMagic = 0x564c4d454d424c4bULL;  // block in use
constexpr std::uint64_t kFreed = 0x564c4d454d465245ULL;  // block given back

std::atomic<std::int32_t> blockCount{0};
std::atomic<std::int64_t> blockBytes{0};

Header* HeaderOf(void* p) { return static_cast<Header*>(p) - 1; }

}  // namespace

using vorlect::sharemem::THeapStatus;

extern "C" {

__attribute__((visibility("default"))) void* SysGetMem(std::int32_t size) {
  if (size < 0) return nullptr;
  auto* h = static_cast<Header*>(std::malloc(sizeof(Header) + static_cast<size_t>(size)));
  if (!h) return nullptr;
  h->size = size;
  h->magic = kMagic;
  blockCount.fetch_add(1);
  blockBytes.fetch_add(size);
  return h + 1;
}

__attribute__((visibility("default"))) std::int32_t SysFreeMem(void* p) {
  if (!p) return 1;
  Header* h = HeaderOf(p);
  if (h->magic != kMagic) return 1;  // not a block of this heap, or freed twice
  h->magic = kFreed;
  blockCount.fetch_sub(1);
  blockBytes.fetch_sub(h->size);
  std::free(h);
  return 0;
}

__attribute__((visibility("default"))) void* SysReallocMem(void* p, std::int32_t size) {
  if (!p) return SysGetMem(size);
  if (size < 0) return nullptr;
  Header* h = HeaderOf(p);
  if (h->magic != kMagic) return nullptr;
  const std::int64_t old = h->size;
  auto* moved = static_cast<Header*>(std::realloc(h, sizeof(Header) + static_cast<size_t>(size)));
  if (!moved) return nullptr;  // the old block stays valid
  moved->size = size;
  blockBytes.fetch_add(size - old);
  return moved + 1;
}

__attribute__((visibility("default"))) THeapStatus GetHeapStatus() {
  THeapStatus s{};
  const auto bytes = static_cast<std::uint32_t>(blockBytes.load());
  const auto count = static_cast<std::uint32_t>(blockCount.load());
  s.TotalAllocated = bytes;
  s.Overhead = count * static_cast<std::uint32_t>(sizeof(Header));
  s.TotalCommitted = s.TotalAllocated + s.Overhead;
  s.TotalAddrSpace = s.TotalCommitted;
  return s;
}

__attribute__((visibility("default"))) std::int32_t GetAllocMemCount() { return blockCount.load(); }

__attribute__((visibility("default"))) std::int32_t GetAllocMemSize() {
  return static_cast<std::int32_t>(blockBytes.load());
}

}  // extern "C"
