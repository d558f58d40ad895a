// String modules: the numbered strings of a Windows module's string-table resources.
//
// A string table is stored in blocks of 16 strings (resource type 6, name = id / 16 + 1), each
// string a 16-bit length followed by that many UTF-16 units. LoadString converts a string to 8-bit
// with the code page of its table's resource language, or the configured ANSI code page for a
// language-neutral table, as the original platform's loader does. The reader here is portable (it
// parses the PE file itself); on Windows the system loader can serve instead.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::platform {

// The module cannot be opened or is not a readable PE image; what() names the file and the reason.
class StringModuleError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Reads a module file whole once its MZ and PE headers show it is a PE image. Throws
// StringModuleError naming the file.
std::string ReadModuleImage(const std::string& path);

class StringModule {
public:
  // Opens and parses the module. Throws StringModuleError.
  static std::unique_ptr<StringModule> Load(const std::string& path);
  // Parses a module image held in memory (for tests and fuzzing). Throws StringModuleError.
  static std::unique_ptr<StringModule> FromImage(std::string image, std::string_view name = {});

  virtual ~StringModule() = default;

  // The string `id` converted to 8-bit, cut to bufferChars - 1 characters as the original loader
  // cuts it into a buffer of that many characters. std::nullopt when the module has no string
  // table block holding `id` (the original loader reports an error then); an empty string when the
  // block exists but the string is empty.
  // The cut counts bytes of the converted text, like the original; a double-byte character that
  // does not fit whole is left out rather than split. bufferChars <= 1 gives an empty string.
  // When a block exists in several languages, the neutral one (0) serves, else the user default
  // (0x0400), else the system default (0x0800), else the lowest language id: the same on every
  // machine, where the Windows loader would look at the thread's UI language.
  virtual std::optional<std::string> LoadString(std::uint32_t id, int bufferChars = 300) const = 0;

  // The string as UTF-16, uncut; std::nullopt as above.
  virtual std::optional<std::u16string> LoadStringW(std::uint32_t id) const = 0;

  // Resource language of the block holding `id` (0 when neutral or absent).
  virtual std::uint16_t LanguageOf(std::uint32_t id) const = 0;
};

}  // namespace vorlect::platform
