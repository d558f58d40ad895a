#include "spell/SpellerRegistration.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "host/framework/Classes.h"
#include "platform/Registry.h"
#include "spell/Speller.h"

namespace vorlect::spell {
namespace fs = std::filesystem;
namespace {

constexpr const char* kEngineFileName = "libvorlectspell.so";

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);  // follows links, as Debian's alias dictionaries are links
}

// The user can write the file, or create it in an existing folder.
bool Writable(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  if (fs::exists(path, ec)) return IsFile(path) && ::access(path.c_str(), W_OK) == 0;
  const fs::path folder = fs::path(path).parent_path();
  return !folder.empty() && fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

// "de_DE" -> 1031; "de_DE_frami", "en_US-large" fall back to their leading locale.
TLanguage LanguageOfDictionaryName(std::string name, bool& neutral) {
  std::replace(name.begin(), name.end(), '-', '_');
  while (!name.empty()) {
    if (const TLanguage lcid = LanguageOfLocale(name); lcid != 0) {
      neutral = (lcid >> 10) == 0;
      return neutral ? static_cast<TLanguage>((lcid & 0x3FF) | 0x400) : lcid;
    }
    const size_t cut = name.rfind('_');
    if (cut == std::string::npos) break;
    name.resize(cut);
  }
  return 0;
}

bool IsDecimal(const std::string& s) {
  return !s.empty() && s.size() <= 5 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::string> DictionaryFolders() {
  std::vector<std::string> folders;
  if (const char* dicpath = std::getenv("DICPATH")) {
    std::string_view rest(dicpath);
    while (!rest.empty()) {
      const size_t colon = rest.find(':');
      if (colon != 0) folders.emplace_back(rest.substr(0, colon));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  for (const char* f : {"/usr/share/hunspell", "/usr/share/myspell/dicts", "/usr/share/myspell"}) folders.emplace_back(f);
  return folders;
}

std::vector<TInstalledDictionary> FindInstalledDictionaries(const std::vector<std::string>& folders) {
  std::map<TLanguage, TInstalledDictionary> regional, neutralOnes;
  for (const std::string& folder : folders) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->path().extension() == ".dic") files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& dic : files) {
      fs::path aff = dic;
      aff.replace_extension(".aff");
      if (!IsFile(dic) || !IsFile(aff)) continue;
      bool neutral = false;
      const std::string locale = dic.stem().string();
      const TLanguage lcid = LanguageOfDictionaryName(locale, neutral);
      if (lcid == 0) continue;
      auto& target = neutral ? neutralOnes : regional;
      target.try_emplace(lcid, TInstalledDictionary{lcid, locale, dic.string()});
    }
  }
  for (auto& [lcid, d] : neutralOnes) regional.try_emplace(lcid, d);
  std::vector<TInstalledDictionary> result;
  for (auto& [lcid, d] : regional) result.push_back(d);
  return result;
}

std::string DefaultEnginePath() {
  if (const char* env = std::getenv("VORLECT_SPELL_ENGINE"); env && *env) return env;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path installed = exe.parent_path().parent_path() / "lib" / "vorlect" / kEngineFileName;
    if (IsFile(installed)) return installed.string();
  }
#ifdef VORLECT_SPELL_ENGINE_BUILD_PATH
  return VORLECT_SPELL_ENGINE_BUILD_PATH;
#else
  return (exe.parent_path() / kEngineFileName).string();
#endif
}

std::string DefaultCustomDictionary() {
  std::string base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.local/share";
  }
  return base + "/vorlect/CUSTOM.DIC";
}

int RegisterSpellers(std::string& report) { return RegisterSpellers(report, DictionaryFolders(), DefaultEnginePath()); }

int RegisterSpellers(std::string& report, const std::vector<std::string>& folders, const std::string& enginePath) {
  const std::vector<TInstalledDictionary> found = FindInstalledDictionaries(folders);
  // Every key written and removed here is one change for other processes.
  platform::RegistryLock lock(platform::HKEY_LOCAL_MACHINE);
  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  std::set<unsigned> registered;
  for (const TInstalledDictionary& d : found) {
    if (!reg.OpenKey(SpellerKeyOf(d.language), true)) continue;
    reg.WriteString("Engine", enginePath);
    reg.WriteString("Dictionary", d.dictionary);
    reg.CloseKey();
    registered.insert(d.language);
    report += std::to_string(d.language) + "\t" + d.locale + "\t" + d.dictionary + "\n";
  }
  // Keys of our engine whose dictionary went away; other engines' keys are not ours to touch.
  if (reg.OpenKeyReadOnly(kSpellingKey)) {
    const std::vector<std::string> names = reg.GetKeyNames();
    reg.CloseKey();
    for (const std::string& name : names) {
      if (!IsDecimal(name) || registered.count(static_cast<unsigned>(std::stoul(name)))) continue;
      const std::string key = std::string(kSpellingKey) + "\\" + name;
      if (!reg.OpenKeyReadOnly(key + "\\Normal")) continue;
      const std::string engine = reg.ReadString("Engine");
      reg.CloseKey();
      if (fs::path(engine).filename() == kEngineFileName) {
        reg.DeleteKey(key);
        report += "removed " + name + "\n";
      }
    }
  }
  if (reg.OpenKey(kCustomDictionariesKey, true)) {
    const std::string custom = reg.ReadString("1");
    if (!Writable(custom)) {
      const std::string fallback = DefaultCustomDictionary();
      std::error_code ec;
      fs::create_directories(fs::path(fallback).parent_path(), ec);
      reg.WriteString("1", fallback);
      report += "custom dictionary " + fallback + "\n";
    }
    reg.CloseKey();
  }
  return static_cast<int>(registered.size());
}

std::vector<TSpellerLanguage> SpellerLanguages(TLanguageNameKind kind) {
  std::vector<TSpellerLanguage> result;
  platform::Registry reg(platform::HKEY_LOCAL_MACHINE);
  if (!reg.OpenKeyReadOnly(kSpellingKey)) return result;
  for (const std::string& name : reg.GetKeyNames()) {
    if (!IsDecimal(name)) continue;
    const unsigned long lcid = std::stoul(name);
    if (lcid > 0xFFFF) continue;
    result.push_back({static_cast<TLanguage>(lcid), LanguageName(static_cast<TLanguage>(lcid), kind)});
  }
  return result;
}

void GetSpellerLanguages(host::TStrings& list, int nameKind) {
  list.Clear();
  const auto kind = nameKind >= 0 && nameKind <= 3 ? static_cast<TLanguageNameKind>(nameKind) : lnkLocalized;
  for (const TSpellerLanguage& l : SpellerLanguages(kind))
    list.AddObject(l.name, reinterpret_cast<void*>(static_cast<std::uintptr_t>(l.language)));
}

std::string ListSpellers() {
  std::string out;
  for (const TSpellerLanguage& l : SpellerLanguages()) out += std::to_string(l.language) + "\t" + l.name + "\n";
  return out;
}

}  // namespace vorlect::spell
