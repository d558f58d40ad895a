// What the tool writes, when the target is no regular file, is read-only or someone else's, when a
// run is stopped or runs beside another: every file stays as it was or becomes complete.
#include "CliProjectUtil.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::testing::Result;
using vorlect::testing::VorlectRun;
using vorlect::testing::RunVorlect;
using vorlect::testing::TempFolder;

namespace {

const fs::path& kSample = vorlect::testing::kSampleProject;
using vorlect::testing::Has;

// Every regular file below `folder`, by name relative to it.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = ReadFile(e.path().string());
  return files;
}

std::vector<std::string> Temporaries(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (vorlect::platform::IsTemporaryName(e.path().filename().string()) || e.path().extension() == ".lock")
      found.push_back(e.path().string());
  return found;
}

void Write(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

class CliSafety : public vorlect::testing::WithOwnRegistry {
protected:
  std::string CopySample(const std::string& name = "sample") {
    fs::copy(kSample, dir_.Path(name), fs::copy_options::recursive);
    return dir_.Path(name);
  }
  // A project of `count` text forms, each with a translation component holding `text` in its
  // second language (or none when `withComponent` is false).
  std::string MakeProject(const std::string& name, int count, bool withComponent, const std::string& text = "Eins") {
    const std::string folder = dir_.Path(name);
    fs::create_directories(folder);
    std::string dpr = "program P;\r\nuses\r\n  Forms";
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(i);
      dpr += ",\r\n  U" + n + " in 'U" + n + ".pas' {F" + n + "}";
      std::string form = "object F" + n + ": TF" + n + "\r\n  Caption = 'Form " + n + "'\r\n";
      if (withComponent)
        form += "  object Vorlect1: TVorlect\r\n    Languages = 2\r\n    Words.Strings = (\r\n      '%Form%'\r\n"
                "      'Form " + n + "'\r\n      '" + text + " " + n + "')\r\n    Left = 8\r\n    Top = 8\r\n  end\r\n";
      Write(folder + "/U" + n + ".dfm", form + "end\r\n");
      Write(folder + "/U" + n + ".pas", "unit U" + n + ";\r\ninterface\r\nuses Forms;\r\ntype\r\n  TF" + n +
                                            " = class(TForm)\r\n  end;\r\nimplementation\r\nend.\r\n");
    }
    Write(folder + "/P.dpr", dpr + ";\r\nbegin\r\nend.\r\n");
    return folder;
  }

};

const passwd* Nobody() {
  const passwd* pw = getpwnam("nobody");
  return pw && pw->pw_uid != 0 ? pw : nullptr;
}

// ---- Targets that are no regular files ----------------------------------------------------------

TEST_F(CliSafety, ConvertWritesDevicesAndFifosInPlace) {
  const std::string form = (kSample / "Main.dfm").string();
  const Result text = RunVorlect({"convert", form, "-", "--to", "text"});
  ASSERT_EQ(text.status, 0) << text.err;

  const std::string fifo = dir_.Path("out.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  const Result toFifo = RunVorlect({"convert", form, fifo, "--to", "text"});
  reader.join();
  EXPECT_EQ(toFifo.status, 0) << toFifo.err;
  EXPECT_EQ(received, text.out);
  EXPECT_TRUE(fs::is_fifo(fifo));

  // A device node of our own where we may make one, so that a fault never hits the system's.
  std::string device = "/dev/null";
  if (geteuid() == 0) {
    device = dir_.Path("null");
    ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  const Result toDevice = RunVorlect({"convert", form, device, "--to", "binary"});
  EXPECT_EQ(toDevice.status, 0) << toDevice.err;
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_TRUE(Temporaries(dir_.Path("")).empty());
}

// ---- Read-only files and owners -----------------------------------------------------------------

TEST_F(CliSafety, ReadOnlyUnitOrFormIsRefusedNamingIt) {
  auto check = [&](const std::string& folder, uid_t uid, gid_t gid) {
    fs::permissions(folder + "/Options.pas", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(folder + "/About.dfm", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto before = Snapshot(folder);
    const Result r = VorlectRun({"project", "add-component", folder + "/Sample.dpr", "--languages", "2", "--yes"}, {}, uid, gid)
                         .Wait();
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(Has(r.err, folder + "/Options.pas: read-only file")) << r.err;
    EXPECT_TRUE(Has(r.err, folder + "/About.dfm: read-only file")) << r.err;
    EXPECT_TRUE(Has(r.out, "FAILED\t" + folder + "/Options.dfm")) << r.out;
    const auto after = Snapshot(folder);
    for (const char* same : {"Options.pas", "Options.dfm", "About.pas", "About.dfm"})
      EXPECT_EQ(after.at(same), before.at(same)) << same;
  };
  check(CopySample("as-runner"), uid_t(-1), gid_t(-1));
  if (geteuid() != 0) GTEST_SKIP() << "the unprivileged run needs the tests to run as root";
  const passwd* pw = Nobody();
  if (!pw) GTEST_SKIP() << "no user 'nobody' to run as";
  const std::string folder = CopySample("as-nobody");
  for (const auto& e : fs::recursive_directory_iterator(folder)) chown(e.path().c_str(), pw->pw_uid, pw->pw_gid);
  chown(folder.c_str(), pw->pw_uid, pw->pw_gid);
  check(folder, pw->pw_uid, pw->pw_gid);
}

TEST_F(CliSafety, RootKeepsTheOwnersOfAUsersFiles) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can write files of another user";
  const passwd* pw = Nobody();
  if (!pw) GTEST_SKIP() << "no user 'nobody' to own the files";
  const std::string folder = CopySample();
  for (const auto& e : fs::recursive_directory_iterator(folder)) chown(e.path().c_str(), pw->pw_uid, pw->pw_gid);
  const Result r = RunVorlect({"project", "add-component", folder + "/Sample.dpr", "--languages", "2", "--yes"});
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* name : {"Options.dfm", "Options.pas", "About.dfm", "About.pas"}) {
    struct stat st {};
    ASSERT_EQ(stat((folder + "/" + name).c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, pw->pw_uid) << name;
    EXPECT_EQ(st.st_gid, pw->pw_gid) << name;
  }
}

// ---- Stopped and killed runs --------------------------------------------------------------------

TEST_F(CliSafety, StoppedRunLeavesEveryFileOldOrNewAndNoTemporaries) {
  const std::string folder = MakeProject("stopped", 120, false);
  const auto before = Snapshot(folder);
  VorlectRun run({"project", "add-component", folder + "/P.dpr", "--languages", "2", "--yes"});
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  kill(run.Pid(), SIGTERM);
  const Result r = run.Wait();
  EXPECT_TRUE(r.signal == SIGTERM || r.status == 0) << r.err;
  EXPECT_EQ(Temporaries(folder), std::vector<std::string>{});
  const auto stopped = Snapshot(folder);
  // The run may have left off between a form and its unit: the next run completes the pair.
  const Result again = RunVorlect({"project", "add-component", folder + "/P.dpr", "--languages", "2", "--yes"});
  EXPECT_EQ(again.status, 0) << again.err;
  const auto complete = Snapshot(folder);
  for (const auto& [name, bytes] : stopped) EXPECT_TRUE(bytes == before.at(name) || bytes == complete.at(name)) << name;
  for (int i = 0; i < 120; ++i)
    EXPECT_TRUE(Has(complete.at("U" + std::to_string(i) + ".pas"), "Vorlect1: TVorlect;")) << i;
}

TEST_F(CliSafety, TemporariesOfAKilledRunGoWithTheNextRun) {
  const std::string folder = CopySample();
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);
  const std::string ours = folder + "/.Options.dfm.vl" + std::to_string(dead) + "_k1ll3d.tmp";
  const std::string theirs = folder + "/.Options.dfm.k1ll3d.tmp";
  for (const std::string& f : {ours, theirs}) {
    Write(f, "left over");
    const timespec old[2] = {{time(nullptr) - 600, 0}, {time(nullptr) - 600, 0}};
    utimensat(AT_FDCWD, f.c_str(), old, 0);
  }
  const Result r = RunVorlect({"project", "add-component", folder + "/Sample.dpr", "--languages", "2", "--yes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(ours));
  EXPECT_TRUE(fs::exists(theirs)) << "another program's file was removed";
}

// ---- Names and outputs that would clash ---------------------------------------------------------

TEST_F(CliSafety, AddedComponentTakesAFreeNameAndTheFormLoads) {
  const std::string folder = MakeProject("clash", 1, false);
  Write(folder + "/U0.dfm", "object F0: TF0\r\n  Caption = 'Form 0'\r\n  object Vorlect1: TButton\r\n    Caption = 'OK'\r\n"
                            "  end\r\nend\r\n");
  const Result r = RunVorlect({"project", "add-component", folder + "/P.dpr", "--languages", "2", "--yes"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Has(ReadFile(folder + "/U0.pas"), "    Vorlect2: TVorlect;"));
  const Result dump = RunVorlect({"form", "dump", folder + "/U0.dfm"});
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_TRUE(Has(dump.out, "Vorlect2: TVorlect")) << dump.out;
  EXPECT_TRUE(Has(dump.out, "Vorlect1: TButton")) << dump.out;
}

TEST_F(CliSafety, ProjectConvertRefusesToWriteOverItsSources) {
  const std::string folder = MakeProject("convert", 3, true);
  const auto before = Snapshot(folder);
  for (const std::string& out : {folder, folder + "/."}) {
    const Result r = RunVorlect({"project", "convert", folder + "/P.dpr", "--out", out});
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(Has(r.err, "is a form file of the project")) << r.err;
    EXPECT_EQ(Snapshot(folder), before);
  }
  const Result elsewhere = RunVorlect({"project", "convert", folder + "/P.dpr", "--out", dir_.Path("converted")});
  EXPECT_EQ(elsewhere.status, 0) << elsewhere.err;
  EXPECT_TRUE(fs::exists(dir_.Path("converted/U0.dfm")));
}

// ---- Runs side by side --------------------------------------------------------------------------

TEST_F(CliSafety, ProjectCommandsThatWriteFormsTakeTurns) {
  const std::string folder = MakeProject("turns", 120, true);
  const std::string dpr = folder + "/P.dpr";
  ASSERT_EQ(RunVorlect({"project", "export", dpr, dir_.Path("a.csv"), "--no"}).status, 0);
  std::string b = ReadFile(dir_.Path("a.csv"));
  for (size_t at = b.find("Eins"); at != std::string::npos; at = b.find("Eins", at)) b.replace(at, 4, "Zwei");
  Write(dir_.Path("b.csv"), b);

  // While another run holds the project, an import waits and changes nothing.
  {
    auto held = std::make_unique<vorlect::platform::FileLock>(dpr + ".lock");
    VorlectRun waiting({"project", "import", dpr, dir_.Path("b.csv"), "--no"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(waiting.Running());
    EXPECT_TRUE(Has(waiting.ErrSoFar(), "waiting for another run on " + dpr)) << waiting.ErrSoFar();
    EXPECT_FALSE(Has(ReadFile(folder + "/U7.dfm"), "Zwei"));
    held.reset();
    EXPECT_EQ(waiting.Wait().status, 0);
    EXPECT_TRUE(Has(ReadFile(folder + "/U7.dfm"), "'Zwei 7'"));
  }

  // Two imports at once: every form ends with the texts of one file.
  for (int round = 0; round < 3; ++round) {
    VorlectRun first({"project", "import", dpr, dir_.Path(round % 2 ? "a.csv" : "b.csv"), "--no"});
    VorlectRun second({"project", "import", dpr, dir_.Path(round % 2 ? "b.csv" : "a.csv"), "--no"});
    EXPECT_EQ(first.Wait().status, 0);
    EXPECT_EQ(second.Wait().status, 0);
    int eins = 0, zwei = 0;
    for (int i = 0; i < 120; ++i) {
      const std::string form = ReadFile(folder + "/U" + std::to_string(i) + ".dfm");
      eins += Has(form, "'Eins ");
      zwei += Has(form, "'Zwei ");
    }
    EXPECT_TRUE((eins == 120 && zwei == 0) || (eins == 0 && zwei == 120)) << eins << " / " << zwei;
  }
  EXPECT_FALSE(fs::exists(dpr + ".lock"));
}

}  // namespace
