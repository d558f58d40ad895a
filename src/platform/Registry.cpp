#include "platform/Registry.h"

#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlect::platform {
namespace {

constexpr std::string_view kHeader = "VORLECT REGISTRY 1";
constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendHexByte(std::string& out, unsigned char b) {
  out.push_back(kHex[b >> 4]);
  out.push_back(kHex[b & 15]);
}

// Quoted names and data: backslash escapes keep the file ASCII and one line per value.
void AppendQuoted(std::string& out, std::string_view s) {
  out.push_back('"');
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out.push_back('\\');
      out.push_back(c);
    } else if (b < 0x20 || b >= 0x7F) {
      out += "\\x";
      AppendHexByte(out, b);
    } else {
      out.push_back(c);
    }
  }
  out.push_back('"');
}

// Key names sit between '\' separators, so they use %NN escapes instead.
void AppendKeyName(std::string& out, std::string_view s) {
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '%' || c == '[' || c == ']' || c == '\\' || b < 0x20 || b >= 0x7F) {
      out.push_back('%');
      AppendHexByte(out, b);
    } else {
      out.push_back(c);
    }
  }
}

void SerializeKey(std::string& out, const RegKey& key, std::string& path) {
  const size_t mark = path.size();
  path.push_back('\\');
  AppendKeyName(path, key.name);
  out += "\n[";
  out += path;
  out += "]\n";
  for (const RegValue& v : key.values) {
    AppendQuoted(out, v.name);
    out.push_back('=');
    if (v.type == RegValue::Type::String) {
      AppendQuoted(out, v.text);
    } else {
      out += "dword:";
      const auto n = static_cast<uint32_t>(v.number);
      for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kLowerHex[(n >> shift) & 15]);
    }
    out.push_back('\n');
  }
  for (const RegKey& sub : key.subkeys) SerializeKey(out, sub, path);
  path.resize(mark);
}

class HiveParser {
public:
  HiveParser(std::string_view content, std::string_view fileName) : rest_(content), file_(fileName) {}

  RegKey Parse() {
    RegKey root;
    RegKey* current = nullptr;
    bool first = true;
    while (NextLine()) {
      if (first) {
        if (line_ != kHeader) Fail("not a registry hive (header \"" + std::string(kHeader) + "\" missing)");
        first = false;
        continue;
      }
      if (line_.empty() || line_.front() == ';') continue;
      if (line_.front() == '[') {
        current = &OpenHeaderKey(root);
      } else if (line_.front() == '"') {
        if (!current) Fail("value before the first [key] line");
        ParseValue(*current);
      } else {
        Fail("unexpected text");
      }
    }
    if (first) Fail("not a registry hive (empty file)");
    return root;
  }

private:
  bool NextLine() {
    if (done_) return false;
    ++lineNo_;
    const size_t eol = rest_.find('\n');
    if (eol == std::string_view::npos) {
      line_ = rest_;
      done_ = true;
      if (line_.empty()) return false;  // nothing after the last line feed
    } else {
      line_ = rest_.substr(0, eol);
      rest_.remove_prefix(eol + 1);
    }
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
    return true;
  }

  [[noreturn]] void Fail(const std::string& reason) const {
    throw RegistryError(std::string(file_) + ":" + std::to_string(lineNo_) + ": " + reason);
  }

  RegKey& OpenHeaderKey(RegKey& root) {
    if (line_.size() < 3 || line_.back() != ']' || line_[1] != '\\') Fail("bad key line (expected [\\Path\\Key])");
    std::string_view path = line_.substr(2, line_.size() - 3);
    RegKey* key = &root;
    if (path.empty()) return root;
    size_t depth = 0;
    while (true) {
      const size_t sep = path.find('\\');
      const std::string name = UnescapeKeyName(path.substr(0, sep));
      if (++depth > kMaxKeyDepth) Fail("keys nested too deeply");
      RegKey* sub = key->FindSubkey(name);
      if (!sub) {
        key->subkeys.push_back(RegKey{name, {}, {}});
        sub = &key->subkeys.back();
      }
      key = sub;
      if (sep == std::string_view::npos) break;
      path.remove_prefix(sep + 1);
    }
    return *key;
  }

  std::string UnescapeKeyName(std::string_view s) const {
    if (s.empty()) Fail("empty key name");
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '%') {
        const int hi = i + 2 < s.size() ? HexDigit(s[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(s[i + 2]) : -1;
        if (lo < 0) Fail("bad %-escape in key name");
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
      } else if (c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
        Fail("unescaped character in key name");
      } else {
        out.push_back(c);
      }
    }
    return out;
  }

  // Reads a quoted string at line_[pos]; leaves pos after the closing quote.
  std::string Quoted(size_t& pos) const {
    if (pos >= line_.size() || line_[pos] != '"') Fail("expected '\"'");
    std::string out;
    for (++pos; pos < line_.size(); ++pos) {
      const char c = line_[pos];
      if (c == '"') {
        ++pos;
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) Fail("unescaped character in string");
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (++pos >= line_.size()) break;
      const char e = line_[pos];
      if (e == '\\' || e == '"') {
        out.push_back(e);
      } else if (e == 'x' && pos + 2 < line_.size() && HexDigit(line_[pos + 1]) >= 0 && HexDigit(line_[pos + 2]) >= 0) {
        out.push_back(static_cast<char>(HexDigit(line_[pos + 1]) * 16 + HexDigit(line_[pos + 2])));
        pos += 2;
      } else {
        Fail("bad escape in string");
      }
    }
    Fail("unterminated string");
  }

  void ParseValue(RegKey& key) {
    size_t pos = 0;
    RegValue value;
    value.name = Quoted(pos);
    if (pos >= line_.size() || line_[pos] != '=') Fail("expected '=' after the value name");
    ++pos;
    if (pos < line_.size() && line_[pos] == '"') {
      value.type = RegValue::Type::String;
      value.text = Quoted(pos);
      if (pos != line_.size()) Fail("text after the value");
    } else if (line_.substr(pos, 6) == "dword:") {
      pos += 6;
      const std::string_view digits = line_.substr(pos);
      if (digits.empty() || digits.size() > 8) Fail("bad dword (1 to 8 hex digits expected)");
      uint32_t n = 0;
      for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) Fail("bad dword (1 to 8 hex digits expected)");
        n = n * 16 + static_cast<uint32_t>(d);
      }
      value.type = RegValue::Type::Integer;
      value.number = static_cast<int32_t>(n);
    } else {
      Fail("expected a quoted string or dword: after '='");
    }
    if (key.FindValue(value.name)) Fail("duplicate value \"" + value.name + "\"");
    key.values.push_back(std::move(value));
  }

  std::string_view rest_;
  std::string_view file_;
  std::string_view line_;
  size_t lineNo_ = 0;
  bool done_ = false;
};

std::string StripSlashes(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

const char* RootName(RegRoot root) { return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER"; }

void MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    const std::string part = folder.substr(0, pos);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      throw RegistryError(part + ": " + std::strerror(errno));
  }
}

// flock on "<hive>.lock" beside the hive; released on destruction.
class HiveLock {
public:
  HiveLock(const std::string& lockFile, bool exclusive) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0 && !exclusive) fd_ = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
      // A reader may go without: hives are replaced by rename, so a read never sees half a file.
      if (exclusive) throw RegistryError(lockFile + ": " + std::strerror(errno));
      return;
    }
    while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd_);
      fd_ = -1;
      if (exclusive) throw RegistryError(lockFile + ": " + std::strerror(err));
      return;
    }
  }
  ~HiveLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  HiveLock(const HiveLock&) = delete;
  HiveLock& operator=(const HiveLock&) = delete;

private:
  int fd_ = -1;
};

std::string LockFileName(RegRoot root) { return RegistryFolder() + "/" + RootName(root) + ".lock"; }

// The process's hold on a hive's lock: a RegistryLock, or a single change. flock() belongs to
// an open file, so a second lock taken by the same process on a new descriptor would wait for
// itself; every lock of the process goes through this one hold instead.
struct HiveHold {
  std::recursive_mutex mutex;  // the holding thread; other threads wait here
  std::unique_ptr<HiveLock> lock;
  int depth = 0;
  std::thread::id owner;
};

HiveHold& HoldOf(RegRoot root) {
  static HiveHold holds[2];
  return holds[root == HKEY_LOCAL_MACHINE ? 1 : 0];
}

// Whether this thread holds the hive's lock already (reads then take no shared lock).
bool HeldHere(RegRoot root) {
  HiveHold& h = HoldOf(root);
  std::unique_lock guard(h.mutex, std::try_to_lock);
  return guard.owns_lock() && h.depth > 0 && h.owner == std::this_thread::get_id();
}

void Acquire(RegRoot root) {
  HiveHold& h = HoldOf(root);
  h.mutex.lock();
  if (h.depth == 0) {
    try {
      MakeFolders(RegistryFolder());
      h.lock = std::make_unique<HiveLock>(LockFileName(root), true);
    } catch (...) {
      h.mutex.unlock();
      throw;
    }
    h.owner = std::this_thread::get_id();
  }
  ++h.depth;
}

void Release(RegRoot root) {
  HiveHold& h = HoldOf(root);
  if (--h.depth == 0) {
    h.lock.reset();
    h.owner = {};
  }
  h.mutex.unlock();
}

template <class Key>
Key* FindPath(Key& root, const std::vector<std::string>& path) {
  Key* key = &root;
  for (const std::string& name : path)
    if (!(key = key->FindSubkey(name))) return nullptr;
  return key;
}

RegKey& EnsurePath(RegKey& root, const std::vector<std::string>& path) {
  RegKey* key = &root;
  for (const std::string& name : path) {
    RegKey* sub = key->FindSubkey(name);
    if (!sub) {
      key->subkeys.push_back(RegKey{name, {}, {}});
      sub = &key->subkeys.back();
    }
    key = sub;
  }
  return *key;
}

std::string JoinPath(const std::vector<std::string>& path) {
  std::string out;
  for (const std::string& name : path) {
    if (!out.empty()) out.push_back('\\');
    out += name;
  }
  return out;
}

}  // namespace

RegKey* RegKey::FindSubkey(std::string_view keyName) {
  for (RegKey& k : subkeys)
    if (SameName(k.name, keyName)) return &k;
  return nullptr;
}
const RegKey* RegKey::FindSubkey(std::string_view keyName) const {
  return const_cast<RegKey*>(this)->FindSubkey(keyName);
}
RegValue* RegKey::FindValue(std::string_view valueName) {
  for (RegValue& v : values)
    if (SameName(v.name, valueName)) return &v;
  return nullptr;
}
const RegValue* RegKey::FindValue(std::string_view valueName) const {
  return const_cast<RegKey*>(this)->FindValue(valueName);
}

RegKey ParseHive(std::string_view content, std::string_view fileName) { return HiveParser(content, fileName).Parse(); }

std::string SerializeHive(const RegKey& root) {
  std::string out(kHeader);
  out.push_back('\n');
  if (!root.values.empty()) {
    // The root's own values go under "[\]".
    RegKey bare{std::string(), root.values, {}};
    std::string path;
    std::string part;
    SerializeKey(part, bare, path);
    out += part;
  }
  std::string path;
  for (const RegKey& sub : root.subkeys) SerializeKey(out, sub, path);
  return out;
}

std::string RegistryFolder() {
  if (const char* dir = std::getenv("VORLECT_REGISTRY_DIR"); dir && *dir) return StripSlashes(dir);
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return StripSlashes(xdg) + "/vorlect";
  std::string home;
  if (const char* h = std::getenv("HOME"); h && *h) {
    home = h;
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
    home = pw->pw_dir;
  }
  return StripSlashes(home.empty() ? "/tmp" : home) + "/.config/vorlect";
}

std::string HiveFileName(RegRoot root) { return RegistryFolder() + "/" + RootName(root) + ".reg"; }

// --- RegistryLock -----------------------------------------------------------------------------

RegistryLock::RegistryLock(RegRoot root) : root_(root) { Acquire(root_); }

RegistryLock::~RegistryLock() { Release(root_); }

// --- Registry ---------------------------------------------------------------------------------

void Registry::SetRootKey(RegRoot root) {
  CloseKey();
  root_ = root;
}

std::vector<std::string> Registry::Resolve(std::string_view path) const {
  const std::string_view original = path;
  std::vector<std::string> result;
  if (path.empty() || path.front() != '\\') result = current_;
  while (!path.empty()) {
    const size_t sep = path.find('\\');
    if (sep != 0) result.emplace_back(path.substr(0, sep));
    if (sep == std::string_view::npos) break;
    path.remove_prefix(sep + 1);
  }
  if (result.size() > kMaxKeyDepth) throw RegistryError("Registry key nested too deeply: " + std::string(original));
  return result;
}

const RegKey* Registry::CurrentKey(const RegKey& root) const {
  return FindPath(root, current_);
}

const RegKey& Registry::Load() {
  if (HeldHere(root_)) return LoadLocked();
  HiveLock lock(LockFileName(root_), false);
  return LoadLocked();
}

const RegKey& Registry::LoadLocked() {
  const std::string file = HiveFileName(root_);
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) throw RegistryError(file + ": " + std::strerror(errno));
    cache_.emplace();
    cache_->file = file;
    return cache_->hive;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw RegistryError(file + ": " + std::strerror(err));
  }
  const int64_t mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  if (cache_ && cache_->exists && cache_->file == file && cache_->device == st.st_dev && cache_->inode == st.st_ino &&
      cache_->size == static_cast<uint64_t>(st.st_size) && cache_->mtimeNs == mtimeNs) {
    ::close(fd);
    return cache_->hive;
  }
  std::string content;
  char buf[16384];
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throw RegistryError(file + ": " + std::strerror(err));
    }
    if (n == 0) break;
    content.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  cache_.reset();
  RegKey hive = ParseHive(content, file);
  cache_.emplace();
  cache_->file = file;
  cache_->device = st.st_dev;
  cache_->inode = st.st_ino;
  cache_->size = static_cast<uint64_t>(st.st_size);
  cache_->mtimeNs = mtimeNs;
  cache_->exists = true;
  cache_->hive = std::move(hive);
  return cache_->hive;
}

// Applies one change to the hive as it is on disk now, under an exclusive lock.
template <class Change>
bool Registry::Modify(Change change) {
  const std::string file = HiveFileName(root_);
  RegistryLock lock(root_);
  cache_.reset();  // always re-read: another process may have written since
  RegKey hive = LoadLocked();
  const bool changed = change(hive);
  if (changed) {
    try {
      WriteFileAtomic(file, SerializeHive(hive), NewFile::kDurable);  // settings exist nowhere else
    } catch (const FileError& e) {
      throw RegistryError(e.what());
    }
    cache_.reset();
  }
  return changed;
}

bool Registry::OpenKey(std::string_view path, bool canCreate) {
  std::vector<std::string> target = Resolve(path);
  if (!FindPath(Load(), target)) {
    if (!canCreate) return false;
    Modify([&](RegKey& hive) {
      const bool existed = FindPath(hive, target) != nullptr;
      EnsurePath(hive, target);
      return !existed;
    });
  }
  current_ = std::move(target);
  readOnly_ = false;
  return true;
}

bool Registry::OpenKeyReadOnly(std::string_view path) {
  std::vector<std::string> target = Resolve(path);
  if (!FindPath(Load(), target)) return false;
  current_ = std::move(target);
  readOnly_ = true;
  return true;
}

void Registry::CloseKey() {
  current_.clear();
  readOnly_ = false;
}

bool Registry::KeyExists(std::string_view path) { return FindPath(Load(), Resolve(path)) != nullptr; }

std::string Registry::CurrentPath() const { return JoinPath(current_); }

bool Registry::ValueExists(std::string_view name) {
  const RegKey* key = CurrentKey(Load());
  return key && key->FindValue(name);
}

std::string Registry::ReadString(std::string_view name) {
  const RegKey* key = CurrentKey(Load());
  const RegValue* value = key ? key->FindValue(name) : nullptr;
  if (!value) return {};
  if (value->type != RegValue::Type::String)
    throw RegistryError("Invalid data type for '" + std::string(name) + "' in '\\" + CurrentPath() + "'");
  return value->text;
}

int32_t Registry::ReadInteger(std::string_view name) {
  const RegKey* key = CurrentKey(Load());
  const RegValue* value = key ? key->FindValue(name) : nullptr;
  if (!value) throw RegistryError("Value '" + std::string(name) + "' not found in '\\" + CurrentPath() + "'");
  if (value->type != RegValue::Type::Integer)
    throw RegistryError("Invalid data type for '" + std::string(name) + "' in '\\" + CurrentPath() + "'");
  return value->number;
}

void Registry::CheckWritable(std::string_view valueName) const {
  if (readOnly_)
    throw RegistryError("Failed to set data for '" + std::string(valueName) + "': '\\" + CurrentPath() +
                        "' is open read-only");
}

void Registry::SetValue(RegValue value) {
  CheckWritable(value.name);
  Modify([&](RegKey& hive) {
    RegKey& key = EnsurePath(hive, current_);
    if (RegValue* existing = key.FindValue(value.name)) {
      value.name = existing->name;  // the first spelling of a name stays
      if (*existing == value) return false;
      *existing = std::move(value);
    } else {
      key.values.push_back(std::move(value));
    }
    return true;
  });
}

void Registry::WriteString(std::string_view name, std::string_view value) {
  RegValue v;
  v.name = name;
  v.type = RegValue::Type::String;
  v.text = value;
  SetValue(std::move(v));
}

void Registry::WriteInteger(std::string_view name, int32_t value) {
  RegValue v;
  v.name = name;
  v.type = RegValue::Type::Integer;
  v.number = value;
  SetValue(std::move(v));
}

bool Registry::DeleteValue(std::string_view name) {
  CheckWritable(name);
  if (!ValueExists(name)) return false;
  return Modify([&](RegKey& hive) {
    RegKey* key = FindPath(hive, current_);
    if (!key) return false;
    auto it = std::find_if(key->values.begin(), key->values.end(), [&](const RegValue& v) { return SameName(v.name, name); });
    if (it == key->values.end()) return false;
    key->values.erase(it);
    return true;
  });
}

bool Registry::DeleteKey(std::string_view path) {
  std::vector<std::string> target = Resolve(path);
  if (target.empty()) return false;  // the root key itself cannot go
  if (readOnly_) throw RegistryError("Failed to delete key '" + std::string(path) + "': '\\" + CurrentPath() + "' is open read-only");
  if (!KeyExists("\\" + JoinPath(target))) return false;
  return Modify([&](RegKey& hive) {
    const std::string name = target.back();
    target.pop_back();
    RegKey* parent = FindPath(hive, target);
    if (!parent) return false;
    auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(), [&](const RegKey& k) { return SameName(k.name, name); });
    if (it == parent->subkeys.end()) return false;
    parent->subkeys.erase(it);
    return true;
  });
}

std::vector<std::string> Registry::GetKeyNames() {
  std::vector<std::string> names;
  if (const RegKey* key = CurrentKey(Load()))
    for (const RegKey& sub : key->subkeys) names.push_back(sub.name);
  return names;
}

std::vector<std::string> Registry::GetValueNames() {
  std::vector<std::string> names;
  if (const RegKey* key = CurrentKey(Load()))
    for (const RegValue& v : key->values) names.push_back(v.name);
  return names;
}

}  // namespace vorlect::platform
