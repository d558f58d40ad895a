// On Windows, string modules are read through the system loader, as the original does: the module
// is mapped as a data file and each string comes from LoadStringA, converted by the system with the
// ANSI code page. Built only for Windows; elsewhere StringModule.cpp reads the image itself.
#ifdef _WIN32

#include "platform/pe/StringModule.h"

#include <windows.h>
#undef LoadString  // the system header's A/W switch would rename our member

#include <vector>

namespace vorlect::platform {
namespace {

class SystemStringModule final : public StringModule {
public:
  explicit SystemStringModule(HMODULE module) : module_(module) {}
  ~SystemStringModule() override { FreeLibrary(module_); }

  std::optional<std::string> LoadString(std::uint32_t id, int bufferChars) const override {
    if (bufferChars <= 1) return Exists(id) ? std::optional<std::string>(std::string()) : std::nullopt;
    std::vector<char> buffer(static_cast<std::size_t>(bufferChars));
    SetLastError(0);
    const int n = LoadStringA(module_, id, buffer.data(), bufferChars);
    if (n <= 0 && GetLastError() != 0) return std::nullopt;
    return std::string(buffer.data(), static_cast<std::size_t>(n > 0 ? n : 0));
  }

  std::optional<std::u16string> LoadStringW(std::uint32_t id) const override {
    const wchar_t* text = nullptr;
    SetLastError(0);
    // With a zero buffer size the loader hands out a pointer into the mapped resource.
    const int n = ::LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0) {
      if (GetLastError() != 0) return std::nullopt;
      return std::u16string();
    }
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(n));
  }

  std::uint16_t LanguageOf(std::uint32_t) const override { return 0; }

private:
  bool Exists(std::uint32_t id) const { return LoadStringW(id).has_value(); }

  HMODULE module_;
};

}  // namespace

std::unique_ptr<StringModule> LoadSystemStringModule(const std::string& path) {
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) throw StringModuleError("cannot open " + path + ": error " + std::to_string(GetLastError()));
  return std::make_unique<SystemStringModule>(module);
}

}  // namespace vorlect::platform

#endif  // _WIN32
