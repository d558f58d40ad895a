// File-backed stand-in for the Windows registry: settings, tool paths and speller locations.
//
// Each root key is one text file (a "hive") in $VORLECT_REGISTRY_DIR, else
// $XDG_CONFIG_HOME/vorlect, else ~/.config/vorlect. Key and value names compare ASCII
// case-insensitively and keep the case they were created with. Every change re-reads the hive
// under an exclusive lock and replaces it atomically, so several processes may write at once.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::platform {

class RegistryError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

enum RegRoot { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

// The in-memory form of one hive file.
struct RegValue {
  enum class Type { String, Integer };
  std::string name;
  Type type = Type::String;
  std::string text;      // Type::String
  int32_t number = 0;    // Type::Integer
  bool operator==(const RegValue&) const = default;
};

struct RegKey {
  std::string name;
  std::vector<RegValue> values;  // in creation order
  std::vector<RegKey> subkeys;   // in creation order
  bool operator==(const RegKey&) const = default;

  RegKey* FindSubkey(std::string_view keyName);
  const RegKey* FindSubkey(std::string_view keyName) const;
  RegValue* FindValue(std::string_view valueName);
  const RegValue* FindValue(std::string_view valueName) const;
};

// Deeper keys are refused: the tree is walked recursively.
constexpr size_t kMaxKeyDepth = 512;

// Parses a hive file's content; throws RegistryError "<fileName>:<line>: <reason>".
RegKey ParseHive(std::string_view content, std::string_view fileName);
// Writes a hive in the format ParseHive reads; the result is pure ASCII.
std::string SerializeHive(const RegKey& root);

// Folder and file of a root key's hive (the folder need not exist).
std::string RegistryFolder();
std::string HiveFileName(RegRoot root);

struct RegHiveCache {
  std::string file;
  uint64_t device = 0, inode = 0, size = 0;
  int64_t mtimeNs = 0;
  bool exists = false;
  RegKey hive;
};

// Holds a hive's exclusive lock while it lives, so that a change made of several reads and
// writes (a whole list of values) is one change to every other process: they wait, and see the
// hive as it was before or after it. Nests within a process and a thread; Registry objects of
// the holding thread keep working under it (other threads of the process wait for it).
// Throws RegistryError when the lock cannot be taken.
class RegistryLock {
public:
  explicit RegistryLock(RegRoot root);
  ~RegistryLock();
  RegistryLock(const RegistryLock&) = delete;
  RegistryLock& operator=(const RegistryLock&) = delete;

private:
  RegRoot root_;
};

// Modelled on the original platform's registry class so calling code reads the same.
// Without an open key, operations apply to the root key itself.
class Registry {
public:
  explicit Registry(RegRoot root = HKEY_CURRENT_USER) : root_(root) {}

  RegRoot RootKey() const { return root_; }
  void SetRootKey(RegRoot root);

  // A leading '\' makes the path absolute; otherwise it is relative to the open key.
  bool OpenKey(std::string_view path, bool canCreate);
  bool OpenKeyReadOnly(std::string_view path);
  void CloseKey();
  bool KeyExists(std::string_view path);
  // The open key's path without a leading '\', e.g. "Software\quillon\TVorlect".
  std::string CurrentPath() const;

  bool ValueExists(std::string_view name);
  // Empty when the value is missing; throws RegistryError when it is not a string.
  std::string ReadString(std::string_view name);
  // Throws RegistryError when the value is missing or not an integer.
  int32_t ReadInteger(std::string_view name);
  // Stored as an integer, as the original does.
  bool ReadBool(std::string_view name) { return ReadInteger(name) != 0; }

  void WriteString(std::string_view name, std::string_view value);
  void WriteInteger(std::string_view name, int32_t value);
  void WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }
  bool DeleteValue(std::string_view name);
  // Deletes the key with all its subkeys.
  bool DeleteKey(std::string_view path);

  std::vector<std::string> GetKeyNames();
  std::vector<std::string> GetValueNames();

private:
  std::vector<std::string> Resolve(std::string_view path) const;
  const RegKey* CurrentKey(const RegKey& root) const;
  const RegKey& Load();
  const RegKey& LoadLocked();  // caller holds the hive lock
  template <class Change>
  bool Modify(Change change);
  void CheckWritable(std::string_view valueName) const;
  void SetValue(RegValue value);

  RegRoot root_;
  std::vector<std::string> current_;
  bool readOnly_ = false;

  std::optional<RegHiveCache> cache_;  // last hive read, reused while the file is unchanged
};

}  // namespace vorlect::platform
