#include "rc/Tools.h"

#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "rc/LibrarySource.h"
#include "rc/ResourceScript.h"

#include <charconv>
#include <optional>

namespace vorlect::rc {

namespace {

// `path` with its extension (after the last dot of the file name) replaced by `ext`.
std::string WithExtension(const std::string& path, std::string_view ext) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExt ? path.substr(0, dot) : path) + std::string(ext);
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return WithExtension(name, "");
}

// Decimal or 0x hexadecimal.
std::optional<std::uint32_t> ParseArgNumber(std::string_view s) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

int RunResourceCompiler(const std::vector<std::string>& args, std::ostream& out) {
  ScriptOptions options;
  options.codePage = platform::AnsiCodePage();
  std::string input;
  const char* usage = "usage: vlrc [--codepage N] [--language LANGID] FILE.rc\n";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--codepage" || a == "--language") {
      const std::uint32_t n = i + 1 < args.size() ? ParseArgNumber(args[++i]).value_or(0xFFFFFFFF) : 0xFFFFFFFF;
      if (a == "--codepage" && platform::IsSupportedCodePage(static_cast<int>(n))) {
        options.codePage = static_cast<int>(n);
      } else if (a == "--language" && n <= 0xFFFF) {
        options.language = static_cast<std::uint16_t>(n);
      } else {
        out << "vlrc: bad value for " << a << "\n" << usage;
        return 1;
      }
    } else if (a.empty() || a[0] == '-' || !input.empty()) {
      out << usage;
      return 1;
    } else {
      input = a;
    }
  }
  if (input.empty()) {
    out << usage;
    return 1;
  }
  options.fileName = input;
  try {
    const std::string script = platform::ReadFile(input);
    const std::string res = platform::WriteResFile(CompileResourceScript(script, options));
    platform::WriteFileAtomic(WithExtension(input, ".res"), res);
    return 0;
  } catch (const std::exception& e) {  // script, file and resource errors all name the file
    out << e.what() << "\n";
    return 1;
  }
}

int RunLibraryCompiler(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    out << "usage: vldcc FILE.dpr\n";
    return 1;
  }
  const std::string& input = args[0];
  try {
    const LibrarySource source = ParseLibrarySource(platform::ReadFile(input), input);
    std::vector<platform::Resource> resources;
    for (const ResourceFileRef& ref : source.resourceFiles) {
      std::string name = ref.name;
      if (name.rfind("*.", 0) == 0) name = BaseName(input) + name.substr(1);  // {$R *.res}
      const std::string path = name.front() == '/' ? name : Folder(input) + name;
      try {
        for (auto& r : platform::ReadResFile(platform::ReadFile(path), path)) {
          // A string table the module's readers would reject is refused here, not linked.
          if (r.type == platform::ResourceId(platform::kRtString))
            platform::DecodeStringBlock(r.data, path + ": string table block " + platform::ToString(r.name) +
                                                    " (language " + std::to_string(r.language) + ")");
          resources.push_back(std::move(r));
        }
      } catch (const std::exception& e) {
        // The message names the .res file (a missing one, a damaged one, a bad block in it).
        const std::string what = e.what();
        out << input << "(" << ref.line << "): " << (what.find(path) == std::string::npos ? path + ": " : "") << what
            << "\n";
        return 1;
      }
    }
    platform::WriteFileAtomic(WithExtension(input, ".dll"), platform::WritePeImage(resources));
    return 0;
  } catch (const std::exception& e) {
    out << e.what() << "\n";
    return 1;
  }
}

}  // namespace vorlect::rc
