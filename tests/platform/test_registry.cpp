#include "platform/Registry.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

using namespace vorlect::platform;
namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vlregXXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    ::setenv("VORLECT_REGISTRY_DIR", (dir_ / "hives").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VORLECT_REGISTRY_DIR");
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string Hive(const char* name = "HKEY_CURRENT_USER.reg") const { return (dir_ / "hives" / name).string(); }
  void WriteHive(const std::string& content) {
    fs::create_directories(dir_ / "hives");
    WriteFileAtomic(Hive(), content);
  }
  fs::path dir_;
};

std::string AllBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

}  // namespace

TEST_F(RegistryTest, NamesAreCaseInsensitiveButKeepTheirCase) {
  Registry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quillon\\TVorlect", true));
  reg.WriteString("Language", "Deutsch");
  reg.WriteInteger("Count", 10);
  reg.WriteString("LANGUAGE", "English");  // same value, first spelling stays

  Registry other;  // a fresh object reads the file
  ASSERT_TRUE(other.OpenKey("software\\QUILLON\\tvorlect", false));
  EXPECT_EQ(other.ReadString("language"), "English");
  EXPECT_EQ(other.ReadInteger("count"), 10);
  EXPECT_EQ(other.GetValueNames(), (std::vector<std::string>{"Language", "Count"}));
  ASSERT_TRUE(other.OpenKey("\\SOFTWARE", false));
  EXPECT_EQ(other.GetKeyNames(), std::vector<std::string>{"Quillon"});
}

TEST_F(RegistryTest, PathsCurrentKeyAndRoots) {
  Registry reg;
  EXPECT_FALSE(reg.OpenKey("\\Software\\Missing", false));
  EXPECT_FALSE(reg.KeyExists("\\Software"));
  ASSERT_TRUE(reg.OpenKey("\\Software\\A", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A");
  ASSERT_TRUE(reg.OpenKey("B\\C", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B\\C");
  EXPECT_TRUE(reg.KeyExists("\\software\\a\\b"));
  EXPECT_FALSE(reg.OpenKey("Nope", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B\\C");  // a failed open keeps the key
  reg.WriteString("", "default value");
  EXPECT_TRUE(reg.ValueExists(""));
  EXPECT_EQ(reg.ReadString(""), "default value");
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentPath(), "");
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Software"});

  Registry machine(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(machine.KeyExists("\\Software"));
  ASSERT_TRUE(machine.OpenKey("\\Software\\Speller", true));
  machine.WriteString("Path", "/usr/lib/speller.so");
  EXPECT_TRUE(fs::exists(Hive("HKEY_LOCAL_MACHINE.reg")));
  EXPECT_FALSE(reg.KeyExists("\\Software\\Speller"));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(reg.KeyExists("\\Software\\Speller"));
}

TEST_F(RegistryTest, ReadsOfMissingOrMistypedValues) {
  Registry reg;
  ASSERT_TRUE(reg.OpenKey("\\K", true));
  reg.WriteString("S", "text");
  reg.WriteInteger("I", -5);
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(reg.ReadInteger("I"), -5);
  EXPECT_THROW(reg.ReadInteger("missing"), RegistryError);
  EXPECT_THROW(reg.ReadInteger("S"), RegistryError);
  EXPECT_THROW(reg.ReadString("I"), RegistryError);
  reg.WriteBool("B", true);
  EXPECT_TRUE(reg.ReadBool("B"));
  reg.WriteString("I", "now text");  // a value may change its type
  EXPECT_EQ(reg.ReadString("I"), "now text");
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites) {
  Registry reg;
  ASSERT_TRUE(reg.OpenKey("\\K", true));
  reg.WriteString("S", "x");
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
  EXPECT_EQ(reg.ReadString("S"), "x");
  EXPECT_THROW(reg.WriteString("S", "y"), RegistryError);
  EXPECT_THROW(reg.DeleteValue("S"), RegistryError);
  EXPECT_EQ(reg.ReadString("S"), "x");
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\Missing"));
}

TEST_F(RegistryTest, SubkeysKeepCreationOrderAndDeleteRecursively) {
  Registry reg;
  for (const char* name : {"zeta", "Alpha", "mid"}) ASSERT_TRUE(reg.OpenKey(std::string("\\Dicts\\") + name, true));
  ASSERT_TRUE(reg.OpenKey("\\Dicts\\Alpha\\Deep", true));
  reg.WriteInteger("n", 1);
  ASSERT_TRUE(reg.OpenKey("\\Dicts", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"zeta", "Alpha", "mid"}));

  EXPECT_TRUE(reg.DeleteKey("ALPHA"));
  EXPECT_FALSE(reg.DeleteKey("ALPHA"));
  EXPECT_FALSE(reg.KeyExists("\\Dicts\\Alpha\\Deep"));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"zeta", "mid"}));
  ASSERT_TRUE(reg.OpenKey("\\Dicts\\Alpha", true));  // recreated goes last
  ASSERT_TRUE(reg.OpenKey("\\Dicts", false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"zeta", "mid", "Alpha"}));

  ASSERT_TRUE(reg.OpenKey("mid", false));
  reg.WriteString("a", "1");
  reg.WriteString("b", "2");
  EXPECT_TRUE(reg.DeleteValue("A"));
  EXPECT_FALSE(reg.DeleteValue("A"));
  EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{"b"});
  EXPECT_FALSE(reg.DeleteKey("\\"));
}

TEST_F(RegistryTest, AnyBytesSurviveTheFileAndTheFileIsAscii) {
  const std::string all = AllBytes();
  const std::string oddKey = std::string("100% [odd] \xe9") + "\x01";
  Registry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\" + oddKey, true));
  reg.WriteString(all, all);
  reg.WriteString("quote\"back\\slash", "\"\\x41\"");
  reg.WriteInteger("min", INT32_MIN);

  const std::string file = ReadFile(Hive());
  for (char c : file) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
  EXPECT_EQ(file.substr(0, 19), "VORLECT REGISTRY 1\n");

  Registry other;
  ASSERT_TRUE(other.OpenKey("\\Software\\" + oddKey, false));
  EXPECT_EQ(other.ReadString(all), all);
  EXPECT_EQ(other.ReadString("quote\"back\\slash"), "\"\\x41\"");
  EXPECT_EQ(other.ReadInteger("min"), INT32_MIN);

  const RegKey hive = ParseHive(file, "f");
  EXPECT_EQ(SerializeHive(hive), file);
}

TEST_F(RegistryTest, ReadsHandWrittenHives) {
  WriteHive(
      "VORLECT REGISTRY 1\r\n"
      "; settings written by hand\r\n"
      "[\\]\r\n"
      "\"RootValue\"=dword:A\r\n"
      "\r\n"
      "[\\Software\\Quillon]\r\n"
      "\"Path\"=\"C:\\\\Tools\\x20x\"\r\n"
      "[\\software\\quillon\\Sub]\r\n");
  Registry reg;
  EXPECT_EQ(reg.ReadInteger("RootValue"), 10);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quillon", false));
  EXPECT_EQ(reg.ReadString("Path"), "C:\\Tools x");
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"Sub"});
}

TEST_F(RegistryTest, DamagedHiveIsReportedAndNeverOverwritten) {
  struct Case {
    std::string content;
    std::string where;
  };
  const Case cases[] = {
      {"", ":1: "},
      {std::string(64, '\0'), ":1: "},
      {"REGEDIT4\n[\\A]\n", ":1: "},
      {"VORLECT REGISTRY 1\n[\\A]\n\"x\"=\"ok\"\n\"y\"=\"bad\\q\"\n", ":4: "},
      {"VORLECT REGISTRY 1\n[\\A]\n\"x\"=\"unterminated\n", ":3: "},
      {"VORLECT REGISTRY 1\n\"x\"=\"before any key\"\n", ":2: "},
      {"VORLECT REGISTRY 1\n[\\A]\ngarbage\n", ":3: "},
      {"VORLECT REGISTRY 1\n[\\A]\n\"n\"=dword:123456789\n", ":3: "},
      {"VORLECT REGISTRY 1\n[\\A\\\\B]\n", ":2: "},
      {"VORLECT REGISTRY 1\n[\\A%4]\n", ":2: "},
      {"VORLECT REGISTRY 1\n[\\A]\n\"x\"=\"1\"\n\"X\"=\"2\"\n", ":4: "},
      {"VORLECT REGISTRY 1\n[\\A]\n\"x\"=\"\xe9\"\n", ":3: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    WriteHive(c.content);
    Registry reg;
    try {
      reg.KeyExists("\\A");
      FAIL() << "damage not reported";
    } catch (const RegistryError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(Hive() + c.where, 0), 0u) << e.what();
    }
    EXPECT_THROW(reg.OpenKey("\\New", true), RegistryError);
    EXPECT_THROW(reg.WriteString("v", "x"), RegistryError);
    EXPECT_EQ(ReadFile(Hive()), c.content);
  }
}

TEST_F(RegistryTest, ExcessiveNestingIsRefused) {
  std::string deep = "VORLECT REGISTRY 1\n[";
  for (size_t i = 0; i <= kMaxKeyDepth; ++i) deep += "\\k";
  deep += "]\n";
  EXPECT_THROW(ParseHive(deep, "deep.reg"), RegistryError);
  Registry reg;
  std::string path;
  for (size_t i = 0; i <= kMaxKeyDepth; ++i) path += "\\k";
  EXPECT_THROW(reg.OpenKey(path, true), RegistryError);
}

TEST_F(RegistryTest, ConcurrentWritersFromSeveralProcessesLoseNothing) {
  constexpr int kProcesses = 4;
  constexpr int kWrites = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int rc = 0;
      try {
        Registry reg;
        if (!reg.OpenKey("\\Shared", true)) rc = 2;
        for (int i = 0; i < kWrites; ++i) reg.WriteInteger("p" + std::to_string(p) + "_" + std::to_string(i), i);
        if (!reg.OpenKey("\\Own" + std::to_string(p), true)) rc = 3;
      } catch (...) {
        rc = 1;
      }
      ::_exit(rc);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  Registry reg;
  ASSERT_TRUE(reg.OpenKey("\\Shared", false));
  EXPECT_EQ(reg.GetValueNames().size(), static_cast<size_t>(kProcesses * kWrites));
  for (int p = 0; p < kProcesses; ++p) {
    EXPECT_EQ(reg.ReadInteger("p" + std::to_string(p) + "_" + std::to_string(kWrites - 1)), kWrites - 1);
    EXPECT_TRUE(reg.KeyExists("\\Own" + std::to_string(p)));
  }
  // Only the hive and its lock file remain: no temporaries left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "hives"), fs::directory_iterator()), 2);
}

TEST(RegistryFolderTest, FollowsTheEnvironment) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = xdg ? xdg : "";
  ::unsetenv("VORLECT_REGISTRY_DIR");
  ::setenv("XDG_CONFIG_HOME", "/somewhere/config/", 1);
  EXPECT_EQ(RegistryFolder(), "/somewhere/config/vorlect");
  EXPECT_EQ(HiveFileName(HKEY_LOCAL_MACHINE), "/somewhere/config/vorlect/HKEY_LOCAL_MACHINE.reg");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryFolder(), std::string(std::getenv("HOME")) + "/.config/vorlect");
  ::setenv("VORLECT_REGISTRY_DIR", "/r", 1);
  EXPECT_EQ(HiveFileName(HKEY_CURRENT_USER), "/r/HKEY_CURRENT_USER.reg");
  ::unsetenv("VORLECT_REGISTRY_DIR");
  if (xdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}
