#include "platform/pe/StringModule.h"

#include "platform/CodePages.h"
#include "platform/pe/LanguageCodePages.h"
#include "platform/pe/Resources.h"

#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlect::platform {
namespace {
std::string ReadModuleFile(const std::string& path);
}

std::string ReadModuleImage(const std::string& path) { return ReadModuleFile(path); }

namespace {

// PE images cannot exceed 4 GB; string modules are far smaller. Refuse anything absurd before
// allocating for it.
constexpr std::uint64_t kMaxModuleSize = 1ull << 30;

std::string ReadModuleFile(const std::string& path) {
  auto fail = [&](const std::string& reason) -> std::string {
    throw StringModuleError("cannot open " + path + ": " + reason);
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return fail("not a regular file");
  // The headers first: a file that is no PE image is refused before it is read whole.
  char head[64];
  auto readAt = [&](char* to, std::size_t size, off_t at) {
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = ::pread(fd, to + got, size - got, at + static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    return true;
  };
  if (!readAt(head, sizeof head, 0) || head[0] != 'M' || head[1] != 'Z') return fail("not a PE image (no MZ header)");
  const std::uint64_t peOffset = static_cast<std::uint8_t>(head[0x3C]) | static_cast<std::uint8_t>(head[0x3D]) << 8 |
                                 static_cast<std::uint8_t>(head[0x3E]) << 16 |
                                 static_cast<std::uint64_t>(static_cast<std::uint8_t>(head[0x3F])) << 24;
  char signature[4];
  if (peOffset + 4 > static_cast<std::uint64_t>(st.st_size) ||
      !readAt(signature, sizeof signature, static_cast<off_t>(peOffset)) ||
      std::string_view(signature, 4) != std::string_view("PE\0\0", 4))
    return fail("not a PE image (no PE header where the MZ header points)");
  if (static_cast<std::uint64_t>(st.st_size) > kMaxModuleSize) return fail("file too large for a module");
  std::string data(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(std::strerror(errno));
    if (n == 0) break;  // shrank while reading
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

bool IsMultiByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 65001;
}

// Converts `text` and cuts it to `limit` bytes. Windows cuts the converted bytes too, but never
// splits a double-byte character: the whole character is left out instead.
std::string EncodeCut(std::u16string_view text, int codePage, std::size_t limit) {
  std::string bytes = EncodeCodePage(text, codePage);
  if (bytes.size() <= limit) return bytes;
  if (!IsMultiByte(codePage)) {
    bytes.resize(limit);
    return bytes;
  }
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = 1;
    if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      n = 2;
    const std::string one = EncodeCodePage(text.substr(i, n), codePage);
    if (out.size() + one.size() > limit) break;
    out += one;
    i += n;
  }
  return out;
}

// Which language's block serves a string when a block exists in several languages: the neutral
// language first, then the user default (0x0400) and the system default (0x0800) forms, then the
// lowest language id. The Windows loader would prefer the thread's UI language; a fixed order
// makes a module read the same on every machine.
std::uint16_t ChooseLanguage(const std::map<std::uint16_t, StringBlock>& byLanguage) {
  for (std::uint16_t preferred : {std::uint16_t{0}, std::uint16_t{0x0400}, std::uint16_t{0x0800}})
    if (byLanguage.count(preferred)) return preferred;
  return byLanguage.begin()->first;
}

class PortableStringModule final : public StringModule {
public:
  PortableStringModule(std::string_view image, std::string_view name) {
    std::map<std::uint16_t, std::map<std::uint16_t, StringBlock>> all;
    ForEachPeResource(image, name, [&](const PeResourceEntry& e) {
      if (e.type != ResourceId(kRtString) || !e.name.IsNumber() || e.name.Number() == 0) return;
      const std::string where = (name.empty() ? std::string("<image>") : std::string(name)) + ": string table block " +
                                ToString(e.name) + " (language " + std::to_string(e.language) + ") at file offset " +
                                std::to_string(e.dataOffset);
      all[e.name.Number()][e.language] = DecodeStringBlock(e.data, where);
    });
    for (auto& [block, byLanguage] : all) {
      const std::uint16_t language = ChooseLanguage(byLanguage);
      blocks_[block] = {language, std::move(byLanguage[language])};
    }
  }

  std::optional<std::string> LoadString(std::uint32_t id, int bufferChars) const override {
    const Block* block = Find(id);
    if (!block) return std::nullopt;
    if (bufferChars <= 1) return std::string();
    int codePage = AnsiCodePageOfLangId(block->language);
    if (codePage == 0 || !IsSupportedCodePage(codePage)) codePage = AnsiCodePage();
    return EncodeCut(block->strings[id % 16], codePage, static_cast<std::size_t>(bufferChars) - 1);
  }

  std::optional<std::u16string> LoadStringW(std::uint32_t id) const override {
    const Block* block = Find(id);
    if (!block) return std::nullopt;
    return block->strings[id % 16];
  }

  std::uint16_t LanguageOf(std::uint32_t id) const override {
    const Block* block = Find(id);
    return block ? block->language : 0;
  }

private:
  struct Block {
    std::uint16_t language = 0;
    StringBlock strings;
  };

  const Block* Find(std::uint32_t id) const {
    const std::uint32_t name = id / 16 + 1;
    if (name > 0xFFFF) return nullptr;
    const auto it = blocks_.find(static_cast<std::uint16_t>(name));
    return it == blocks_.end() ? nullptr : &it->second;
  }

  std::map<std::uint16_t, Block> blocks_;
};

}  // namespace

#ifdef _WIN32
std::unique_ptr<StringModule> LoadSystemStringModule(const std::string& path);  // StringModuleWin32.cpp
#endif

std::unique_ptr<StringModule> StringModule::Load(const std::string& path) {
#ifdef _WIN32
  return LoadSystemStringModule(path);
#else
  return FromImage(ReadModuleFile(path), path);
#endif
}

std::unique_ptr<StringModule> StringModule::FromImage(std::string image, std::string_view name) {
  try {
    return std::make_unique<PortableStringModule>(image, name);
  } catch (const ResourceError& e) {
    throw StringModuleError(e.what());
  }
}

}  // namespace vorlect::platform
