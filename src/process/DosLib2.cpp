#include "process/DosLib2.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vorlect::process {

namespace {

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
bool IsDelimiter(char c) { return c == '/' || c == '\\' || c == ':'; }
bool IsAbsolute(std::string_view p) {
  return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}
#else
constexpr char kPathListSeparator = ':';
bool IsDelimiter(char c) { return c == '/'; }
bool IsAbsolute(std::string_view p) { return !p.empty() && p[0] == '/'; }
#endif

bool HasExtension(std::string_view name) {
  for (std::size_t i = name.size(); i-- > 0;) {
    if (name[i] == '.') return true;
    if (IsDelimiter(name[i])) return false;
  }
  return false;
}

bool IsProgramFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
#ifdef _WIN32
  return true;
#else
  // A file we may not execute would only fail later with a less helpful error.
  return ::access(path.c_str(), X_OK) == 0;
#endif
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string full(folder);
  if (!IsDelimiter(full.back())) full += '/';
  full += name;
  return full;
}

}  // namespace

ProgramAndRest SplitProgram(std::string_view command) {
  ProgramAndRest r;
  if (!command.empty() && command[0] == '"') {
    std::size_t close = command.find('"', 1);
    if (close == std::string_view::npos) {
      r.program = std::string(command.substr(1));
      r.rest = command.substr(command.size());
    } else {
      r.program = std::string(command.substr(1, close - 1));
      r.rest = command.substr(close + 1);
    }
    r.quoted = true;
    return r;
  }
  std::size_t blank = command.find(' ');
  if (blank == std::string_view::npos) blank = command.size();
  r.program = std::string(command.substr(0, blank));
  r.rest = command.substr(blank);
  return r;
}

std::string SearchProgram(std::string_view program, bool preferExe,
                          const std::vector<std::string>& folders, bool tryExtensions) {
  if (program.empty()) return {};
  std::vector<std::string> names;
  if (!tryExtensions || HasExtension(program)) {
    names.emplace_back(program);
  } else {
    static constexpr std::array<const char*, 3> kExeFirst{".EXE", ".COM", ".BAT"};
    static constexpr std::array<const char*, 3> kComFirst{".COM", ".EXE", ".BAT"};
    for (const char* ext : preferExe ? kExeFirst : kComFirst)
      names.push_back(std::string(program) + ext);
  }
  if (IsAbsolute(program)) {
    for (const std::string& n : names)
      if (IsProgramFile(n)) return n;
    return {};
  }
  // Folder by folder: an earlier folder wins over a better extension in a later one.
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    for (const std::string& n : names) {
      std::string full = Join(folder, n);
      if (IsProgramFile(full)) return full;
    }
  }
  return {};
}

std::vector<std::string> ProgramSearchFolders() {
  std::vector<std::string> folders;
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) folders.push_back(cwd.string());
#ifndef _WIN32
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) folders.push_back(exe.parent_path().string());
#endif
  // The whole PATH: long ones are common, and cutting it would silently drop folders.
  if (const char* path = std::getenv("PATH")) {
    std::string_view list(path);
    while (!list.empty()) {
      std::size_t sep = list.find(kPathListSeparator);
      std::string_view item = list.substr(0, sep);
      if (!item.empty()) folders.emplace_back(item);
      if (sep == std::string_view::npos) break;
      list.remove_prefix(sep + 1);
    }
  }
  return folders;
}

std::string FindProgram(std::string_view name, bool preferExe) {
  ProgramAndRest split = SplitProgram(name);
  if (split.program.empty()) return {};
  return SearchProgram(split.program, preferExe, ProgramSearchFolders(), kProgramExtensions);
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (true) {
    while (i < n && blank(text[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !blank(text[i]))) {
      char c = text[i];
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && text[i] == '\\') ++count, ++i;
        if (i < n && text[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even count leaves the quote to group.
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && text[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteProgram(std::string_view path) {
  if (path.find_first_of(" \t") == std::string_view::npos) return std::string(path);
  std::string quoted;
  quoted.reserve(path.size() + 2);
  quoted += '"';
  quoted += path;
  quoted += '"';
  return quoted;
}

}  // namespace vorlect::process
