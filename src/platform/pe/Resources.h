// Windows resources: the resource model, 32-bit `.res` files, string-table blocks and PE images
// holding resources (read any PE32/PE32+ image, write resource-only DLLs).
//
// Everything works on bytes in memory, so it runs on any OS and byte order.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorlect::platform {

// Bad resource data or an unrepresentable resource; what() names the file and the offset.
class ResourceError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A resource type or name: a 16-bit number or a UTF-16 name.
struct ResourceId {
  std::variant<std::uint16_t, std::u16string> value{std::uint16_t{0}};

  ResourceId() = default;
  ResourceId(std::uint16_t id) : value(id) {}  // NOLINT: numbers are the common case
  ResourceId(std::u16string name) : value(std::move(name)) {}

  bool IsNumber() const { return value.index() == 0; }
  std::uint16_t Number() const { return IsNumber() ? std::get<0>(value) : 0; }
  const std::u16string& Name() const;

  // The order of a resource directory: names first (by UTF-16 units), then numbers ascending.
  friend std::strong_ordering operator<=>(const ResourceId& a, const ResourceId& b);
  friend bool operator==(const ResourceId& a, const ResourceId& b) = default;
};

// Display form: the number in decimal, or the name in UTF-8.
std::string ToString(const ResourceId& id);

inline constexpr std::uint16_t kRtString = 6;
// MOVEABLE | PURE | DISCARDABLE, what resource compilers give string tables.
inline constexpr std::uint16_t kStringTableMemoryFlags = 0x1030;

struct Resource {
  ResourceId type;
  ResourceId name;
  std::uint16_t language = 0;
  std::uint16_t memoryFlags = 0;
  std::uint32_t dataVersion = 0;
  std::uint32_t version = 0;
  std::uint32_t characteristics = 0;
  std::string data;

  friend bool operator==(const Resource&, const Resource&) = default;
};

// --- .res files (Win32 format) ---

// Reads every resource; the leading empty entry that marks the 32-bit format is dropped.
// `name` is only used in error messages. Throws ResourceError.
std::vector<Resource> ReadResFile(std::string_view bytes, std::string_view name = {});
// Writes the leading empty entry and then every resource in the given order, as resource
// compilers do. Throws ResourceError for a name that cannot be stored (contains U+0000, or
// starts with U+FFFF) or data over 4 GB.
std::string WriteResFile(const std::vector<Resource>& resources);

// --- string tables ---

using StringBlock = std::array<std::u16string, 16>;

// Decodes one RT_STRING block: 16 strings, each a 16-bit length and that many UTF-16 units.
// Strings missing at the end of a short block are empty; a length running past the block's end
// throws ResourceError (`where` names the block in the message).
StringBlock DecodeStringBlock(std::string_view data, std::string_view where = {});
std::string EncodeStringBlock(const StringBlock& block);

// RT_STRING resources for the strings (id -> text): blocks of 16 ids, block name id / 16 + 1,
// in ascending order. A block is written when at least one of its strings is in the map, even an
// empty one (as resource compilers do for an explicitly listed empty string). Ids must be below
// 65536 and texts shorter than 65536 units; otherwise throws ResourceError.
std::vector<Resource> BuildStringTableResources(const std::map<std::uint32_t, std::u16string>& strings,
                                                std::uint16_t language = 0,
                                                std::uint16_t memoryFlags = kStringTableMemoryFlags);

// The non-empty strings of every RT_STRING block of `language`. Throws ResourceError for a
// damaged block.
std::map<std::uint32_t, std::u16string> ReadStringTable(const std::vector<Resource>& resources,
                                                        std::uint16_t language = 0);

// --- PE images ---

struct PeWriteOptions {
  bool pe32plus = false;          // PE32+ for x86-64 instead of PE32 for i386
  std::uint64_t imageBase = 0x10000000;
  std::uint32_t timeDateStamp = 0;  // 0 keeps builds reproducible
  bool computeChecksum = true;
};

// A resource-only DLL: no code, no imports, no entry point, one `.rsrc` section. Only type, name,
// language and data of each resource are kept (a PE image has no place for the rest). Throws
// ResourceError for two resources with the same type, name and language.
std::string WritePeImage(const std::vector<Resource>& resources, const PeWriteOptions& options = {});

// One resource found in a PE image, its data pointing into the image.
struct PeResourceEntry {
  ResourceId type;
  ResourceId name;
  std::uint16_t language = 0;
  std::uint32_t codePage = 0;
  std::uint32_t dataOffset = 0;  // file offset of the data
  std::string_view data;
};

// Walks the resource directory of a PE32 or PE32+ image (type -> name -> language) and calls
// `visit` for each resource. An image without resources visits nothing. Every offset, size and
// count is checked against the image; a directory reached twice (a loop or a shared subtree)
// is an error. Throws ResourceError naming `name` and the offset.
void ForEachPeResource(std::string_view image, std::string_view name,
                       const std::function<void(const PeResourceEntry&)>& visit);

// Every resource of a PE image, data copied, in directory order.
std::vector<Resource> ReadPeResources(std::string_view image, std::string_view name = {});

// A resource-only PE32 DLL holding the strings as string table of `language`: what the DLL
// builder writes, and a handy way for tests to make string modules.
std::string BuildStringModule(const std::map<std::uint32_t, std::u16string>& strings, std::uint16_t language = 0);

}  // namespace vorlect::platform
