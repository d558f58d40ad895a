#include "vle/VLSettings.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "platform/Registry.h"
#include "spell/Langs.h"

namespace vorlect::vle {

using platform::Registry;
using platform::RegistryError;
using platform::RegValue;

bool InfoEsc = true;
bool InfoSel = true;
int CSVType = 2;

host::TStringList& LanguageNames() {
  static host::TStringList list;
  return list;
}

host::TStringList& LanguageIds() {
  static host::TStringList list;
  return list;
}

std::string LanguageColumnTitle(int k, const std::vector<std::string>& names) {
  if (k >= 1 && static_cast<size_t>(k) <= names.size()) return names[static_cast<size_t>(k - 1)];
  return "language " + std::to_string(k - 1);
}

std::string LanguageColumnTitle(int k) {
  const host::TStringList& configured = LanguageNames();
  std::vector<std::string> names;
  for (int i = 0; i < configured.Count() && i < k; ++i) names.push_back(configured.Strings(i));
  return LanguageColumnTitle(k, names);
}

namespace {

// Opens the settings key in `root`, creating it when missing; false when the hive is unusable, so
// that reading keeps the defaults instead of stopping the editor.
bool OpenSettings(Registry& reg) {
  try {
    return reg.OpenKey(kSettingsKey, true);
  } catch (const RegistryError&) {
    return false;
  }
}

// A value of the wrong type counts as missing: a damaged setting must not keep the editor shut.
int ReadInt(Registry& reg, std::string_view name, int fallback) {
  try {
    return reg.ValueExists(name) ? reg.ReadInteger(name) : fallback;
  } catch (const RegistryError&) {
    return fallback;
  }
}

bool ReadBool(Registry& reg, std::string_view name, bool fallback) { return ReadInt(reg, name, fallback ? 1 : 0) != 0; }

std::string ReadStr(Registry& reg, std::string_view name, std::string fallback) {
  try {
    return reg.ValueExists(name) ? reg.ReadString(name) : fallback;
  } catch (const RegistryError&) {
    return fallback;
  }
}

// A list of values is read whole, between two changes of another process, where the hive can
// be locked; a hive that cannot (a folder without write permission) is still read.
std::unique_ptr<platform::RegistryLock> LockForReading(platform::RegRoot root) {
  try {
    return std::make_unique<platform::RegistryLock>(root);
  } catch (const RegistryError&) {
    return nullptr;
  }
}

// abs() of the smallest integer overflows.
int Absolute(int v) { return v == INT_MIN ? INT_MAX : (v < 0 ? -v : v); }

std::string LangValueName(int n) { return "Lang" + std::to_string(n); }

}  // namespace

// ---- Editor ---------------------------------------------------------------------------------------

TEditorSettings ReadEditorSettings(int languages, int clientWidth) {
  TEditorSettings s;
  languages = std::max(languages, 0);
  const int columns = languages + 1;
  s.ColWidths.assign(static_cast<size_t>(columns), clientWidth / columns - 1);

  Registry reg(platform::HKEY_CURRENT_USER);
  if (!OpenSettings(reg)) return s;
  s.x = Absolute(ReadInt(reg, "x", s.x));
  s.y = Absolute(ReadInt(reg, "y", s.y));
  s.w = std::max(ReadInt(reg, "w", s.w), kMinWindowExtent);
  s.h = std::max(ReadInt(reg, "h", s.h), kMinWindowExtent);
  s.Max = ReadBool(reg, "Max", s.Max);
  s.FindAllColumns = ReadBool(reg, "FindAllColumns", s.FindAllColumns);
  for (int n = 0; n < columns; ++n) {
    const std::string name = "Col" + std::to_string(n);
    if (!reg.ValueExists(name)) break;
    int width = std::max(ReadInt(reg, name, s.ColWidths[n]), kMinColWidth);
    if (width > s.w) width = s.w / 2;
    s.ColWidths[n] = width;
  }
  s.FontSize = std::clamp(ReadInt(reg, "FontSize", s.FontSize), kMinFontSize, kMaxFontSize);
  s.FontName = ReadStr(reg, "FontName", s.FontName).substr(0, kMaxFontNameLength);
  // Only the four style bits mean anything.
  s.FontStyle = ReadInt(reg, "FontStyle", s.FontStyle) & 0xF;
  return s;
}

void WriteEditorSettings(const TEditorSettings& s, int languages) {
  // One change for other editors closing at the same time: no mix of two windows' values.
  platform::RegistryLock lock(platform::HKEY_CURRENT_USER);
  Registry reg(platform::HKEY_CURRENT_USER);
  reg.OpenKey(kSettingsKey, true);
  reg.WriteInteger("x", s.x);
  reg.WriteInteger("y", s.y);
  reg.WriteInteger("w", s.w);
  reg.WriteInteger("h", s.h);
  reg.WriteBool("Max", s.Max);
  reg.WriteBool("FindAllColumns", s.FindAllColumns);
  const int last = std::min(languages, static_cast<int>(s.ColWidths.size()) - 1);
  for (int n = 0; n <= last; ++n) reg.WriteInteger("Col" + std::to_string(n), s.ColWidths[n]);
  reg.WriteInteger("FontSize", s.FontSize);
  reg.WriteString("FontName", s.FontName);
  reg.WriteInteger("FontStyle", s.FontStyle);
}

// ---- Expert-wide values -------------------------------------------------------------------------

void LoadExpertSettings() {
  Registry reg(platform::HKEY_CURRENT_USER);
  if (OpenSettings(reg)) {
    InfoEsc = ReadBool(reg, "InfoEsc", true);
    InfoSel = ReadBool(reg, "InfoSel", true);
    const int type = ReadInt(reg, "CSVType", 2);
    // Only three choices exist; anything else would leave the separator undefined.
    CSVType = type >= 0 && type <= 2 ? type : 2;
  }
  LoadLanguages(LanguageNames(), LanguageIds());
}

void SaveExpertSettings() {
  {
    platform::RegistryLock lock(platform::HKEY_CURRENT_USER);
    Registry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(kSettingsKey, true);
    reg.WriteBool("InfoEsc", InfoEsc);
    reg.WriteBool("InfoSel", InfoSel);
    reg.WriteInteger("CSVType", CSVType);
  }
  SaveLanguages(LanguageNames(), LanguageIds());
}

void ResetNotices() {
  InfoEsc = true;
  InfoSel = true;
}

namespace {
TNoticeHandler& NoticeHandler() {
  static TNoticeHandler handler;
  return handler;
}
}  // namespace

TNoticeHandler SetNoticeHandler(TNoticeHandler handler) {
  TNoticeHandler previous = std::move(NoticeHandler());
  NoticeHandler() = std::move(handler);
  return previous;
}

void ShowNotice(const std::string& notice, bool& flag) {
  if (!flag) return;
  if (NoticeHandler()) NoticeHandler()(notice, flag);
  else ports::MessageDlg(notice, ports::mtInformation, {ports::mbOK});
}

// ---- Language list ------------------------------------------------------------------------------

unsigned LanguageIdOf(std::string_view text) {
  if (text.empty() || text.size() > 5 || text[0] < '1' || text[0] > '9') return 0;
  unsigned value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value <= 0xFFFF ? value : 0;
}

TStoredLanguage DecodeLanguageValue(const std::string& stored) {
  const unsigned id = LanguageIdOf(stored);
  if (id == 0) return {stored, "0"};
  // An identifier no locale answers to keeps its number as the name rather than an empty title.
  std::string name = spell::LanguageName(static_cast<spell::TLanguage>(id), spell::lnkLocalized);
  if (name.empty()) name = stored;
  return {std::move(name), stored};
}

void LoadLanguages(host::TStrings& names, host::TStrings& ids) {
  names.Clear();
  ids.Clear();
  const auto lock = LockForReading(platform::HKEY_LOCAL_MACHINE);
  Registry reg(platform::HKEY_LOCAL_MACHINE);
  if (!OpenSettings(reg)) return;
  // The hive bounds the number of values, so the walk ends.
  for (int n = 1;; ++n) {
    const std::string valueName = LangValueName(n);
    if (!reg.ValueExists(valueName)) break;
    std::string text;
    try {
      text = reg.ReadString(valueName);
    } catch (const RegistryError&) {
      // A number stored as such still names its language.
      text = std::to_string(ReadInt(reg, valueName, 0));
    }
    TStoredLanguage entry = DecodeLanguageValue(text);
    names.Add(entry.name);
    ids.Add(entry.id);
  }
}

void SaveLanguages(const host::TStrings& names, const host::TStrings& ids) {
  // The whole list is one change: two saves at once give one list or the other, never a mix.
  platform::RegistryLock lock(platform::HKEY_LOCAL_MACHINE);
  Registry reg(platform::HKEY_LOCAL_MACHINE);
  reg.OpenKey(kSettingsKey, true);
  const int count = names.Count();
  for (int i = 0; i < count; ++i) {
    // Only a real identifier is stored as one; anything else would read back as a name.
    const unsigned id = i < ids.Count() ? LanguageIdOf(ids.Strings(i)) : 0;
    reg.WriteString(LangValueName(i + 1), id != 0 ? std::to_string(id) : names.Strings(i));
  }
  reg.DeleteValue(LangValueName(count + 1));
}

}  // namespace vorlect::vle
