#include "platform/pe/Resources.h"

#include "platform/CodePages.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace vorlect::platform {
namespace {

std::string Hex(std::uint64_t v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
  return buf;
}

std::string Where(std::string_view name) { return name.empty() ? std::string("<image>") : std::string(name); }

[[noreturn]] void Fail(std::string_view name, const std::string& what, std::uint64_t offset) {
  throw ResourceError(Where(name) + ": " + what + " at offset " + Hex(offset));
}

std::uint16_t Get16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Get32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(Get16(b, at)) | static_cast<std::uint32_t>(Get16(b, at + 2)) << 16;
}

void Put16(std::string& b, std::uint16_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& b, std::uint32_t v) {
  Put16(b, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(b, static_cast<std::uint16_t>(v >> 16));
}
void Put64(std::string& b, std::uint64_t v) {
  Put32(b, static_cast<std::uint32_t>(v));
  Put32(b, static_cast<std::uint32_t>(v >> 32));
}
void Set16(std::string& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Set32(std::string& b, std::size_t at, std::uint32_t v) {
  Set16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
  Set16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
void PadTo(std::string& b, std::size_t alignment) {
  while (b.size() % alignment) b.push_back('\0');
}
constexpr std::uint64_t AlignUp(std::uint64_t v, std::uint64_t alignment) {
  return (v + alignment - 1) / alignment * alignment;
}

void PutUnits(std::string& b, std::u16string_view s) {
  for (char16_t c : s) Put16(b, c);
}

// A type or name in a .res header: 0xFFFF + number, or zero-terminated UTF-16.
void PutResId(std::string& b, const ResourceId& id) {
  if (id.IsNumber()) {
    Put16(b, 0xFFFF);
    Put16(b, id.Number());
    return;
  }
  const std::u16string& s = id.Name();
  if (s.find(u'\0') != std::u16string::npos)
    throw ResourceError("resource name \"" + ToString(id) + "\" contains a null character");
  if (!s.empty() && s[0] == 0xFFFF) throw ResourceError("resource name starts with U+FFFF");
  PutUnits(b, s);
  Put16(b, 0);
}

}  // namespace

// --- ResourceId ---

const std::u16string& ResourceId::Name() const {
  static const std::u16string empty;
  return IsNumber() ? empty : std::get<1>(value);
}

std::strong_ordering operator<=>(const ResourceId& a, const ResourceId& b) {
  if (a.IsNumber() != b.IsNumber()) return a.IsNumber() ? std::strong_ordering::greater : std::strong_ordering::less;
  if (a.IsNumber()) return a.Number() <=> b.Number();
  return a.Name().compare(b.Name()) <=> 0;
}

std::string ToString(const ResourceId& id) {
  return id.IsNumber() ? std::to_string(id.Number()) : Utf16ToUtf8(id.Name());
}

// --- .res files ---

std::vector<Resource> ReadResFile(std::string_view bytes, std::string_view name) {
  std::vector<Resource> out;
  std::size_t pos = 0;
  bool first = true;
  if (!bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xFF)
    Fail(name, "16-bit resource file (not supported)", 0);
  while (pos < bytes.size()) {
    const std::size_t start = pos;
    const std::size_t left = bytes.size() - pos;
    if (left < 8) {
      // Tolerate zero padding after the last resource; anything else is a cut header.
      if (bytes.substr(pos).find_first_not_of('\0') == std::string_view::npos) break;
      Fail(name, "truncated resource header", start);
    }
    const std::uint32_t dataSize = Get32(bytes, pos);
    const std::uint32_t headerSize = Get32(bytes, pos + 4);
    // Two empty names make the smallest header: 8 + 2 + 2 + 16 bytes.
    if (headerSize < 0x1C || headerSize > left) Fail(name, "bad resource header size " + Hex(headerSize), start);
    if (dataSize > left - headerSize) Fail(name, "resource data size " + Hex(dataSize) + " runs past the end", start);
    const std::string_view header = bytes.substr(pos, headerSize);
    std::size_t h = 8;
    auto readId = [&](ResourceId& id) {
      if (h + 2 > header.size()) Fail(name, "truncated resource header", start + h);
      if (Get16(header, h) == 0xFFFF) {
        if (h + 4 > header.size()) Fail(name, "truncated resource header", start + h);
        id = ResourceId(Get16(header, h + 2));
        h += 4;
        return;
      }
      std::u16string s;
      for (;;) {
        if (h + 2 > header.size()) Fail(name, "unterminated resource name", start + h);
        const char16_t c = Get16(header, h);
        h += 2;
        if (c == 0) break;
        s.push_back(c);
      }
      id = ResourceId(std::move(s));
    };
    Resource r;
    readId(r.type);
    readId(r.name);
    h = AlignUp(h, 4);
    if (h + 16 > header.size()) Fail(name, "truncated resource header", start + h);
    r.dataVersion = Get32(header, h);
    r.memoryFlags = Get16(header, h + 4);
    r.language = Get16(header, h + 6);
    r.version = Get32(header, h + 8);
    r.characteristics = Get32(header, h + 12);
    r.data = std::string(bytes.substr(pos + headerSize, dataSize));
    pos += headerSize;
    pos = std::min<std::size_t>(bytes.size(), AlignUp(pos + dataSize, 4));
    const bool marker = dataSize == 0 && r.type == ResourceId(0) && r.name == ResourceId(0);
    if (!(first && marker)) out.push_back(std::move(r));
    first = false;
  }
  return out;
}

std::string WriteResFile(const std::vector<Resource>& resources) {
  std::string out;
  // The empty entry that tells a 32-bit resource file from a 16-bit one.
  Put32(out, 0);
  Put32(out, 0x20);
  PutResId(out, ResourceId(0));
  PutResId(out, ResourceId(0));
  out.append(16, '\0');
  for (const Resource& r : resources) {
    if (r.data.size() > 0xFFFFFFF0u) throw ResourceError("resource " + ToString(r.name) + " is too large");
    std::string header;
    PutResId(header, r.type);
    PutResId(header, r.name);
    PadTo(header, 4);
    Put32(header, r.dataVersion);
    Put16(header, r.memoryFlags);
    Put16(header, r.language);
    Put32(header, r.version);
    Put32(header, r.characteristics);
    Put32(out, static_cast<std::uint32_t>(r.data.size()));
    Put32(out, static_cast<std::uint32_t>(header.size() + 8));
    out += header;
    out += r.data;
    PadTo(out, 4);
  }
  return out;
}

// --- string tables ---

StringBlock DecodeStringBlock(std::string_view data, std::string_view where) {
  StringBlock block;
  std::size_t pos = 0;
  for (std::u16string& s : block) {
    if (pos + 2 > data.size()) break;
    const std::size_t len = Get16(data, pos);
    if (len * 2 > data.size() - pos - 2)
      Fail(where, "string length " + std::to_string(len) + " runs past the end of its table block", pos);
    pos += 2;
    s.resize(len);
    for (std::size_t i = 0; i < len; ++i) s[i] = Get16(data, pos + 2 * i);
    pos += 2 * len;
  }
  return block;
}

std::string EncodeStringBlock(const StringBlock& block) {
  std::string out;
  for (const std::u16string& s : block) {
    if (s.size() > 0xFFFF) throw ResourceError("string longer than 65535 characters");
    Put16(out, static_cast<std::uint16_t>(s.size()));
    PutUnits(out, s);
  }
  return out;
}

std::vector<Resource> BuildStringTableResources(const std::map<std::uint32_t, std::u16string>& strings,
                                                std::uint16_t language, std::uint16_t memoryFlags) {
  std::vector<Resource> out;
  auto it = strings.begin();
  while (it != strings.end()) {
    if (it->first > 0xFFFF) throw ResourceError("string id " + std::to_string(it->first) + " is above 65535");
    const std::uint32_t blockId = it->first / 16;
    StringBlock block;
    for (; it != strings.end() && it->first / 16 == blockId; ++it) {
      if (it->second.size() > 0xFFFF)
        throw ResourceError("string " + std::to_string(it->first) + " is longer than 65535 characters");
      block[it->first % 16] = it->second;
    }
    Resource r;
    r.type = ResourceId(kRtString);
    r.name = ResourceId(static_cast<std::uint16_t>(blockId + 1));
    r.language = language;
    r.memoryFlags = memoryFlags;
    r.data = EncodeStringBlock(block);
    out.push_back(std::move(r));
  }
  return out;
}

std::map<std::uint32_t, std::u16string> ReadStringTable(const std::vector<Resource>& resources, std::uint16_t language) {
  std::map<std::uint32_t, std::u16string> out;
  for (const Resource& r : resources) {
    if (r.type != ResourceId(kRtString) || !r.name.IsNumber() || r.name.Number() == 0 || r.language != language)
      continue;
    const std::uint32_t base = (static_cast<std::uint32_t>(r.name.Number()) - 1) * 16;
    StringBlock block = DecodeStringBlock(r.data, "string table block " + ToString(r.name));
    for (std::uint32_t i = 0; i < 16; ++i)
      if (!block[i].empty()) out[base + i] = std::move(block[i]);
  }
  return out;
}

// --- PE reading ---

namespace {

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class PeImage {
public:
  PeImage(std::string_view image, std::string_view name) : image_(image), name_(name) { Parse(); }

  std::uint32_t ResourceRva() const { return resourceRva_; }
  std::uint32_t ResourceSize() const { return resourceSize_; }

  // File offset of `size` bytes at `rva`, which must lie in the file part of one section.
  std::uint32_t Map(std::uint32_t rva, std::uint32_t size, const char* what) const {
    for (const Section& s : sections_) {
      const std::uint32_t span = std::max(s.virtualSize, s.rawSize);
      if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
      const std::uint64_t inSection = rva - s.virtualAddress;
      const std::uint64_t rawEnd = std::min<std::uint64_t>(s.rawSize, image_.size() - std::min<std::uint64_t>(s.rawOffset, image_.size()));
      if (inSection + size > rawEnd)
        Fail(name_, std::string(what) + " (RVA " + Hex(rva) + ", " + std::to_string(size) + " bytes) lies outside the file",
             static_cast<std::uint64_t>(s.rawOffset) + inSection);
      return static_cast<std::uint32_t>(s.rawOffset + inSection);
    }
    Fail(name_, std::string(what) + " has RVA " + Hex(rva) + " outside every section", 0);
  }

  std::string_view Bytes(std::uint32_t offset, std::uint32_t size) const { return image_.substr(offset, size); }

private:
  void Need(std::uint64_t offset, std::uint64_t size, const char* what) const {
    if (offset > image_.size() || size > image_.size() - offset)
      Fail(name_, std::string("truncated image: ") + what + " runs past the end of the file (" +
                      std::to_string(image_.size()) + " bytes)", offset);
  }

  void Parse() {
    Need(0, 64, "DOS header");
    if (image_[0] != 'M' || image_[1] != 'Z') Fail(name_, "not a PE image (no MZ signature)", 0);
    const std::uint32_t peOffset = Get32(image_, 0x3C);
    Need(peOffset, 24, "PE header");
    if (image_.substr(peOffset, 4) != std::string_view("PE\0\0", 4)) Fail(name_, "not a PE image (no PE signature)", peOffset);
    const std::uint32_t coff = peOffset + 4;
    const std::uint16_t sectionCount = Get16(image_, coff + 2);
    const std::uint16_t optionalSize = Get16(image_, coff + 16);
    const std::uint32_t opt = coff + 20;
    Need(opt, optionalSize, "optional header");
    if (optionalSize < 2) Fail(name_, "optional header missing", opt);
    const std::uint16_t magic = Get16(image_, opt);
    std::uint32_t dirCountAt;
    if (magic == 0x10b)
      dirCountAt = 92;
    else if (magic == 0x20b)
      dirCountAt = 108;
    else
      Fail(name_, "unknown optional header magic " + Hex(magic), opt);
    if (optionalSize >= dirCountAt + 4) {
      const std::uint32_t dirCount = Get32(image_, opt + dirCountAt);
      const std::uint32_t resourceDir = dirCountAt + 4 + 2 * 8;
      if (dirCount > 2 && optionalSize >= resourceDir + 8) {
        resourceRva_ = Get32(image_, opt + resourceDir);
        resourceSize_ = Get32(image_, opt + resourceDir + 4);
      }
    }
    const std::uint64_t sectionTable = static_cast<std::uint64_t>(opt) + optionalSize;
    Need(sectionTable, static_cast<std::uint64_t>(sectionCount) * 40, "section table");
    sections_.reserve(sectionCount);
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
      const std::size_t at = static_cast<std::size_t>(sectionTable) + i * 40;
      sections_.push_back({Get32(image_, at + 12), Get32(image_, at + 8), Get32(image_, at + 20), Get32(image_, at + 16)});
    }
  }

  std::string_view image_;
  std::string_view name_;
  std::vector<Section> sections_;
  std::uint32_t resourceRva_ = 0;
  std::uint32_t resourceSize_ = 0;
};

class ResourceWalker {
public:
  ResourceWalker(const PeImage& pe, std::string_view image, std::string_view name,
                 const std::function<void(const PeResourceEntry&)>& visit)
      : pe_(pe), name_(name), visit_(visit), entryBudget_(image.size() / 8 + 16) {}

  void Run() { Directory(0, 0); }

private:
  // Reads the directory at `offset` (relative to the resource section start); level 0 = types,
  // 1 = names, 2 = languages.
  void Directory(std::uint32_t offset, int level) {
    if (!visited_.insert(offset).second)
      Fail(name_, "resource directory reached twice (loop or shared subtree)", Rva(offset));
    const std::uint32_t at = pe_.Map(Rva(offset), 16, "resource directory");
    const std::string_view head = pe_.Bytes(at, 16);
    const std::uint32_t count = static_cast<std::uint32_t>(Get16(head, 12)) + Get16(head, 14);
    // Real directories never share entries, so more entries than the image can hold means
    // overlapping tables built to blow up the walk.
    if (count > entryBudget_) Fail(name_, "resource directory has too many entries", at);
    entryBudget_ -= count;
    const std::uint32_t entriesAt = pe_.Map(Rva(offset + 16), count * 8, "resource directory entries");
    const std::string_view entries = pe_.Bytes(entriesAt, count * 8);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t nameField = Get32(entries, i * 8);
      const std::uint32_t target = Get32(entries, i * 8 + 4);
      ResourceId id;
      if (nameField & 0x80000000u)
        id = ReadName(nameField & 0x7FFFFFFFu);
      else
        id = ResourceId(static_cast<std::uint16_t>(nameField & 0xFFFF));
      path_[level] = id;
      const bool isDirectory = target & 0x80000000u;
      if (level < 2) {
        if (!isDirectory) Fail(name_, "resource entry where a directory was expected", entriesAt + i * 8);
        Directory(target & 0x7FFFFFFFu, level + 1);
      } else {
        if (isDirectory) Fail(name_, "resource directory nested too deep", entriesAt + i * 8);
        Leaf(target, id);
      }
    }
  }

  void Leaf(std::uint32_t offset, const ResourceId& languageId) {
    if (!languageId.IsNumber()) Fail(name_, "resource language given as a name", Rva(offset));
    const std::uint32_t at = pe_.Map(Rva(offset), 16, "resource data entry");
    const std::string_view entry = pe_.Bytes(at, 16);
    const std::uint32_t dataRva = Get32(entry, 0);
    const std::uint32_t size = Get32(entry, 4);
    PeResourceEntry e;
    e.type = path_[0];
    e.name = path_[1];
    e.language = languageId.Number();
    e.codePage = Get32(entry, 8);
    e.dataOffset = size ? pe_.Map(dataRva, size, "resource data") : 0;
    e.data = size ? pe_.Bytes(e.dataOffset, size) : std::string_view();
    visit_(e);
  }

  ResourceId ReadName(std::uint32_t offset) {
    const std::uint32_t at = pe_.Map(Rva(offset), 2, "resource name");
    const std::uint16_t len = Get16(pe_.Bytes(at, 2), 0);
    const std::uint32_t charsAt = pe_.Map(Rva(offset + 2), len * 2u, "resource name");
    const std::string_view chars = pe_.Bytes(charsAt, len * 2u);
    std::u16string s(len, u'\0');
    for (std::size_t i = 0; i < len; ++i) s[i] = Get16(chars, i * 2);
    return ResourceId(std::move(s));
  }

  std::uint32_t Rva(std::uint32_t offset) const {
    const std::uint64_t rva = static_cast<std::uint64_t>(pe_.ResourceRva()) + offset;
    if (rva > 0xFFFFFFF0u) Fail(name_, "resource offset " + Hex(offset) + " out of range", 0);
    return static_cast<std::uint32_t>(rva);
  }

  const PeImage& pe_;
  std::string_view name_;
  const std::function<void(const PeResourceEntry&)>& visit_;
  std::uint64_t entryBudget_;
  std::set<std::uint32_t> visited_;
  ResourceId path_[3];
};

}  // namespace

void ForEachPeResource(std::string_view image, std::string_view name,
                       const std::function<void(const PeResourceEntry&)>& visit) {
  const PeImage pe(image, name);
  if (pe.ResourceRva() == 0) return;
  ResourceWalker(pe, image, name, visit).Run();
}

std::vector<Resource> ReadPeResources(std::string_view image, std::string_view name) {
  std::vector<Resource> out;
  // Data may be shared between entries; cap the copies so a crafted image cannot multiply itself.
  std::uint64_t budget = static_cast<std::uint64_t>(image.size()) * 4 + 4096;
  ForEachPeResource(image, name, [&](const PeResourceEntry& e) {
    if (e.data.size() > budget) Fail(name, "resource data entries overlap beyond the image size", e.dataOffset);
    budget -= e.data.size();
    Resource r;
    r.type = e.type;
    r.name = e.name;
    r.language = e.language;
    r.data = std::string(e.data);
    out.push_back(std::move(r));
  });
  return out;
}

// --- PE writing ---

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kPeOffset = 0x80;

// The usual DOS header and stub, so tools that look for it are content.
std::string DosHeader() {
  static const unsigned char header[0x40] = {
      'M', 'Z', 0x90, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0};
  static const unsigned char stub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
  std::string out(reinterpret_cast<const char*>(header), sizeof header);
  Set32(out, 0x3C, kPeOffset);
  out.append(reinterpret_cast<const char*>(stub), sizeof stub);
  out += "This program cannot be run in DOS mode.\r\r\n$";
  out.resize(kPeOffset, '\0');
  return out;
}

// The `.rsrc` section contents for a section at `sectionRva`: directory tables breadth first,
// then the data entries, the names, and the data (each aligned to 8).
std::string BuildResourceSection(const std::vector<Resource>& resources, std::uint32_t sectionRva) {
  std::vector<const Resource*> sorted;
  for (const Resource& r : resources) sorted.push_back(&r);
  auto key = [](const Resource* r) { return std::tie(r->type, r->name, r->language); };
  std::stable_sort(sorted.begin(), sorted.end(), [&](auto* a, auto* b) { return key(a) < key(b); });
  for (std::size_t i = 1; i < sorted.size(); ++i)
    if (key(sorted[i - 1]) == key(sorted[i]))
      throw ResourceError("duplicate resource: type " + ToString(sorted[i]->type) + ", name " + ToString(sorted[i]->name) +
                          ", language " + std::to_string(sorted[i]->language));

  // Tree: types -> names -> languages (indices into `sorted`).
  struct NameNode { ResourceId id; std::vector<std::size_t> leaves; };
  struct TypeNode { ResourceId id; std::vector<NameNode> names; };
  std::vector<TypeNode> types;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const Resource& r = *sorted[i];
    if (types.empty() || !(types.back().id == r.type)) types.push_back({r.type, {}});
    auto& names = types.back().names;
    if (names.empty() || !(names.back().id == r.name)) names.push_back({r.name, {}});
    names.back().leaves.push_back(i);
  }

  // Sizes and positions.
  auto dirSize = [](std::size_t entries) { return static_cast<std::uint32_t>(16 + 8 * entries); };
  std::uint32_t pos = dirSize(types.size());
  std::vector<std::uint32_t> nameDirAt, langDirAt;
  for (const TypeNode& t : types) {
    nameDirAt.push_back(pos);
    pos += dirSize(t.names.size());
  }
  for (const TypeNode& t : types)
    for (const NameNode& n : t.names) {
      langDirAt.push_back(pos);
      pos += dirSize(n.leaves.size());
    }
  const std::uint32_t dataEntriesAt = pos;
  pos += static_cast<std::uint32_t>(16 * sorted.size());
  std::map<std::u16string, std::uint32_t> stringAt;
  auto addString = [&](const ResourceId& id) {
    if (id.IsNumber() || stringAt.count(id.Name())) return;
    if (id.Name().size() > 0xFFFF) throw ResourceError("resource name longer than 65535 characters");
    stringAt[id.Name()] = pos;
    pos += static_cast<std::uint32_t>(2 + 2 * id.Name().size());
  };
  for (const TypeNode& t : types) {
    addString(t.id);
    for (const NameNode& n : t.names) addString(n.id);
  }
  pos = static_cast<std::uint32_t>(AlignUp(pos, 8));
  std::vector<std::uint32_t> dataAt;
  for (const Resource* r : sorted) {
    if (r->data.size() > 0x7FFFFFF0u - pos) throw ResourceError("resources too large for one image");
    dataAt.push_back(pos);
    pos = static_cast<std::uint32_t>(AlignUp(pos + r->data.size(), 8));
  }

  std::string out;
  out.reserve(pos);
  auto putDir = [&](std::size_t namedCount, std::size_t idCount) {
    Put32(out, 0);  // characteristics
    Put32(out, 0);  // time stamp
    Put32(out, 0);  // version
    Put16(out, static_cast<std::uint16_t>(namedCount));
    Put16(out, static_cast<std::uint16_t>(idCount));
  };
  auto putEntry = [&](const ResourceId& id, std::uint32_t target) {
    Put32(out, id.IsNumber() ? id.Number() : (0x80000000u | stringAt.at(id.Name())));
    Put32(out, target);
  };
  auto countNamed = [](auto& nodes) {
    return static_cast<std::size_t>(std::count_if(nodes.begin(), nodes.end(), [](auto& n) { return !n.id.IsNumber(); }));
  };
  auto checkCount = [](std::size_t n) {
    if (n > 0xFFFF) throw ResourceError("more than 65535 entries in one resource directory");
  };
  checkCount(types.size());
  putDir(countNamed(types), types.size() - countNamed(types));
  for (std::size_t t = 0; t < types.size(); ++t) putEntry(types[t].id, 0x80000000u | nameDirAt[t]);
  std::size_t langIndex = 0;
  for (const TypeNode& t : types) {
    checkCount(t.names.size());
    putDir(countNamed(t.names), t.names.size() - countNamed(t.names));
    for (const NameNode& n : t.names) putEntry(n.id, 0x80000000u | langDirAt[langIndex++]);
  }
  for (const TypeNode& t : types)
    for (const NameNode& n : t.names) {
      checkCount(n.leaves.size());
      putDir(0, n.leaves.size());
      for (std::size_t leaf : n.leaves)
        putEntry(ResourceId(sorted[leaf]->language), dataEntriesAt + static_cast<std::uint32_t>(16 * leaf));
    }
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    Put32(out, sectionRva + dataAt[i]);
    Put32(out, static_cast<std::uint32_t>(sorted[i]->data.size()));
    Put32(out, 0);  // code page
    Put32(out, 0);
  }
  // Names in the order their offsets were given out.
  std::vector<std::pair<std::uint32_t, const std::u16string*>> strings;
  for (auto& [s, at] : stringAt) strings.emplace_back(at, &s);
  std::sort(strings.begin(), strings.end());
  for (auto& [at, s] : strings) {
    Put16(out, static_cast<std::uint16_t>(s->size()));
    PutUnits(out, *s);
  }
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    PadTo(out, 8);
    out += sorted[i]->data;
  }
  PadTo(out, 8);
  return out;
}

// The image checksum as the Windows image-help library computes it.
std::uint32_t PeChecksum(const std::string& image, std::size_t checksumAt) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < image.size(); i += 2) {
    if (i == checksumAt || i == checksumAt + 2) continue;
    std::uint32_t word = static_cast<unsigned char>(image[i]);
    if (i + 1 < image.size()) word |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[i + 1])) << 8;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + image.size());
}

}  // namespace

std::string WritePeImage(const std::vector<Resource>& resources, const PeWriteOptions& options) {
  const bool plus = options.pe32plus;
  const std::uint16_t optionalSize = plus ? 240 : 224;
  const std::uint32_t headersEnd = kPeOffset + 4 + 20 + optionalSize + 40;
  const std::uint32_t sizeOfHeaders = static_cast<std::uint32_t>(AlignUp(headersEnd, kFileAlignment));
  const std::uint32_t sectionRva = static_cast<std::uint32_t>(AlignUp(sizeOfHeaders, kSectionAlignment));

  const std::string rsrc = BuildResourceSection(resources, sectionRva);
  const std::uint32_t rawSize = static_cast<std::uint32_t>(AlignUp(rsrc.size(), kFileAlignment));
  const std::uint32_t sizeOfImage = static_cast<std::uint32_t>(AlignUp(sectionRva + rsrc.size(), kSectionAlignment));

  std::string out = DosHeader();
  out.append("PE\0\0", 4);
  // COFF header.
  Put16(out, plus ? 0x8664 : 0x014C);
  Put16(out, 1);  // sections
  Put32(out, options.timeDateStamp);
  Put32(out, 0);  // symbol table
  Put32(out, 0);  // symbols
  Put16(out, optionalSize);
  // Executable, line numbers, local symbols and debug info stripped, DLL; 32-bit machine or
  // large-address aware.
  Put16(out, static_cast<std::uint16_t>(0x2000 | 0x0200 | 0x0008 | 0x0004 | 0x0002 | (plus ? 0x0020 : 0x0100)));
  // Optional header.
  const std::size_t opt = out.size();
  Put16(out, plus ? 0x20B : 0x10B);
  out.push_back(2);   // linker version
  out.push_back(40);
  Put32(out, 0);            // size of code
  Put32(out, rawSize);      // size of initialised data
  Put32(out, 0);            // size of uninitialised data
  Put32(out, 0);            // entry point: none, so the loader calls nothing
  Put32(out, sectionRva);   // base of code
  if (plus) {
    Put64(out, options.imageBase);
  } else {
    Put32(out, sectionRva);  // base of data
    Put32(out, static_cast<std::uint32_t>(options.imageBase));
  }
  Put32(out, kSectionAlignment);
  Put32(out, kFileAlignment);
  Put16(out, 4);  // OS version
  Put16(out, 0);
  Put16(out, 0);  // image version
  Put16(out, 0);
  Put16(out, plus ? 5 : 4);  // subsystem version
  Put16(out, plus ? 2 : 0);
  Put32(out, 0);  // Win32 version
  Put32(out, sizeOfImage);
  Put32(out, sizeOfHeaders);
  const std::size_t checksumAt = out.size();
  Put32(out, 0);
  Put16(out, 2);  // Windows GUI
  // No relocations are needed (there is no code), so the image may load anywhere.
  Put16(out, static_cast<std::uint16_t>(0x0100 | 0x0040 | (plus ? 0x0020 : 0)));  // NX, dynamic base, high-entropy VA
  if (plus) {
    Put64(out, 0x200000);
    Put64(out, 0x1000);
    Put64(out, 0x100000);
    Put64(out, 0x1000);
  } else {
    Put32(out, 0x200000);
    Put32(out, 0x1000);
    Put32(out, 0x100000);
    Put32(out, 0x1000);
  }
  Put32(out, 0);   // loader flags
  Put32(out, 16);  // data directories
  for (int i = 0; i < 16; ++i) {
    Put32(out, i == 2 ? sectionRva : 0);
    Put32(out, i == 2 ? static_cast<std::uint32_t>(rsrc.size()) : 0);
  }
  if (out.size() != opt + optionalSize) throw std::logic_error("PE optional header size");
  // Section table.
  out.append(".rsrc\0\0\0", 8);
  Put32(out, static_cast<std::uint32_t>(rsrc.size()));
  Put32(out, sectionRva);
  Put32(out, rawSize);
  Put32(out, sizeOfHeaders);
  Put32(out, 0);
  Put32(out, 0);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, 0x40000040);  // initialised data, readable
  out.resize(sizeOfHeaders, '\0');
  out += rsrc;
  out.resize(sizeOfHeaders + rawSize, '\0');
  if (options.computeChecksum) Set32(out, checksumAt, PeChecksum(out, checksumAt));
  return out;
}

std::string BuildStringModule(const std::map<std::uint32_t, std::u16string>& strings, std::uint16_t language) {
  return WritePeImage(BuildStringTableResources(strings, language));
}

}  // namespace vorlect::platform
