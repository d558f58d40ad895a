#include "platform/Files.h"
#include "platform/FolderSync.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorlect::platform;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vlfilesXXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  fs::path dir_;
};

}  // namespace

TEST_F(FilesTest, WriteAndReadBinaryData) {
  std::string data("a\0b\r\n\xff", 6);
  data += std::string(200000, 'x');  // longer than one read buffer
  WriteFileAtomic(Path("f.bin"), data);
  EXPECT_EQ(ReadFile(Path("f.bin")), data);
  WriteFileAtomic(Path("f.bin"), "");
  EXPECT_EQ(ReadFile(Path("f.bin")), "");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesTest, RewriteKeepsPermissions) {
  const std::string f = Path("script.sh");
  WriteFileAtomic(f, "old");
  ASSERT_EQ(::chmod(f.c_str(), 0750), 0);
  WriteFileAtomic(f, "new");
  struct stat st;
  ASSERT_EQ(::stat(f.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_EQ(ReadFile(f), "new");
}

TEST_F(FilesTest, FailedWriteLeavesOriginalAndNoTemporary) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  const std::string f = Path("keep.txt");
  WriteFileAtomic(f, "original");
  ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
  try {
    WriteFileAtomic(f, "replacement");
    FAIL() << "write into a read-only folder succeeded";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), f);
    EXPECT_EQ(std::string(e.what()), f + ": Permission denied");
  }
  ::chmod(dir_.c_str(), 0755);
  EXPECT_EQ(ReadFile(f), "original");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesTest, FailureWhileWritingLeavesOriginalAndNoTemporary) {
  // A file-size limit makes write() fail half way, after the temporary exists; works as root too.
  const std::string f = Path("big.dfm");
  WriteFileAtomic(f, "original");
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(WriteFileAtomic(f, std::string(100000, 'z')), FileError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(ReadFile(f), "original");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesTest, FailedWriteIntoMissingFolderOrOverFolder) {
  EXPECT_THROW(WriteFileAtomic(Path("no/such/file"), "x"), FileError);
  fs::create_directory(Path("sub"));
  EXPECT_THROW(WriteFileAtomic(Path("sub"), "x"), FileError);
  EXPECT_TRUE(fs::is_directory(Path("sub")));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesTest, WriteThroughSymlinkReplacesTarget) {
  WriteFileAtomic(Path("real.txt"), "a");
  fs::create_symlink(Path("real.txt"), Path("link.txt"));
  WriteFileAtomic(Path("link.txt"), "b");
  EXPECT_TRUE(fs::is_symlink(Path("link.txt")));
  EXPECT_EQ(ReadFile(Path("real.txt")), "b");
}

TEST_F(FilesTest, ReadErrorsNameTheFile) {
  const std::string missing = Path("missing.dfm");
  try {
    ReadFile(missing);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), missing + ": No such file or directory");
  }
  EXPECT_THROW(ReadFile(dir_.string()), FileError);
}

TEST_F(FilesTest, ExistsAndDelete) {
  const std::string f = Path("x");
  EXPECT_FALSE(FileExists(f));
  WriteFileAtomic(f, "1");
  EXPECT_TRUE(FileExists(f));
  EXPECT_FALSE(FileExists(dir_.string()));  // folders are not files
  EXPECT_TRUE(DeleteFile(f));
  EXPECT_FALSE(DeleteFile(f));
  EXPECT_FALSE(FileExists(f));
}

TEST_F(FilesTest, TempFilesAreUniqueAndInTmpdir) {
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", (dir_.string() + "/").c_str(), 1);
  EXPECT_EQ(TempFolder(), dir_.string());
  const std::string a = CreateTempFile("TVL");
  const std::string b = CreateTempFile("TVL");
  EXPECT_NE(a, b);
  for (const std::string& t : {a, b}) {
    EXPECT_EQ(fs::path(t).parent_path(), dir_);
    const std::string name = fs::path(t).filename().string();
    EXPECT_EQ(name.substr(0, 3), "TVL");
    EXPECT_EQ(name.size(), 3u + 6u + 4u);
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    EXPECT_EQ(fs::file_size(t), 0u);
  }
  ::setenv("TMPDIR", (dir_.string() + "/nonexistent").c_str(), 1);
  EXPECT_EQ(TempFolder(), "/tmp");
  EXPECT_THROW(CreateTempFile("a/b"), FileError);
  if (old) ::setenv("TMPDIR", saved.c_str(), 1); else ::unsetenv("TMPDIR");
}

TEST_F(FilesTest, PieceByPieceFileAppearsOnlyWhenCommitted) {
  const std::string f = Path("out.csv");
  WriteFileAtomic(f, "old");
  std::string expected;
  {
    AtomicFile file(f);
    for (int i = 0; i < 20000; ++i) {  // several times the write buffer
      const std::string piece = "line " + std::to_string(i) + "\r\n";
      file.Write(piece);
      expected += piece;
    }
    file.Write(std::string(300000, 'x'));  // one piece larger than the buffer
    expected += std::string(300000, 'x');
    EXPECT_EQ(ReadFile(f), "old");
    file.Commit();
  }
  EXPECT_EQ(ReadFile(f), expected);
  EXPECT_EQ(EntryCount(), 1u);
  {
    AtomicFile abandoned(f);
    abandoned.Write("never");
  }
  EXPECT_EQ(ReadFile(f), expected);
  EXPECT_EQ(EntryCount(), 1u);
}

// A new file waits for no disk sync but is still whole under its name, with the usual mode; a
// replaced file is synced before the rename and its folder after; durable new files and
// VORLECT_SYNC=always sync as a replacement does.
TEST_F(FilesTest, OnlyWritesWithSomethingToLoseWaitForTheDisk) {
  const char* savedSync = std::getenv("VORLECT_SYNC");
  const std::string restoreSync = savedSync ? savedSync : "";
  ::unsetenv("VORLECT_SYNC");
  const mode_t savedMask = ::umask(027);
  const std::string big(600000, 'n');  // more than one write block

  uint64_t before = SyncCount();
  WriteFileAtomic(Path("new.txt"), big);
  EXPECT_EQ(SyncCount(), before) << "a new file is not synced";
  EXPECT_EQ(ReadFile(Path("new.txt")), big);
  EXPECT_EQ(fs::status(Path("new.txt")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(EntryCount(), 1u);

  before = SyncCount();
  WriteFileAtomic(Path("new.txt"), "replaced");
  EXPECT_EQ(SyncCount(), before + 2) << "the replacing file and its folder";
  EXPECT_EQ(ReadFile(Path("new.txt")), "replaced");

  before = SyncCount();
  WriteFileAtomic(Path("settings.json"), "{}", NewFile::kDurable);
  EXPECT_EQ(SyncCount(), before + 2);

  ::setenv("VORLECT_SYNC", "always", 1);
  before = SyncCount();
  WriteFileAtomic(Path("forced.txt"), "x");
  EXPECT_EQ(SyncCount(), before + 2);
  ::setenv("VORLECT_SYNC", "never", 1);  // only "always" means anything
  before = SyncCount();
  WriteFileAtomic(Path("plain.txt"), "x");
  EXPECT_EQ(SyncCount(), before);
  ::unsetenv("VORLECT_SYNC");

  // A file made under the name by someone else while ours was being written is replaced, so it
  // gets the replacing write's syncs.
  {
    AtomicFile file(Path("raced.txt"));
    file.Write("ours");
    std::ofstream(Path("raced.txt")) << "theirs";
    before = SyncCount();
    file.Commit();
    EXPECT_EQ(SyncCount(), before + 2);
  }
  EXPECT_EQ(ReadFile(Path("raced.txt")), "ours");

  // In a batch the replaced files' folder is synced once, at its end; new files add nothing.
  before = SyncCount();
  {
    FolderSyncBatch batch;
    WriteFileAtomic(Path("new.txt"), "1");
    WriteFileAtomic(Path("plain.txt"), "2");
    WriteFileAtomic(Path("batch-new.txt"), "3");
    EXPECT_EQ(SyncCount(), before + 2);
  }
  EXPECT_EQ(SyncCount(), before + 3);
  EXPECT_EQ(EntryCount(), 6u);

  ::umask(savedMask);
  if (savedSync) ::setenv("VORLECT_SYNC", restoreSync.c_str(), 1);
}

TEST_F(FilesTest, LineReaderEndsLinesAsTheWholeFileReaderDoes) {
  // Line ends of every kind, a CR LF split across the reader's 64 KiB blocks, a long line and a
  // last line without a break.
  std::string text = "a\r\nb\nc\rd\r\n\r\n";
  const std::string filler(65536 - text.size() - 1, 'p');  // its CR ends the first block
  text += filler + "\r\nq\n";
  text += std::string(200000, 'L') + "\r" + "last";
  const std::string f = Path("lines.txt");
  WriteFileAtomic(f, text);
  std::vector<std::string> got;
  LineReader reader(f);
  std::string_view line;
  while (reader.Next(line)) got.emplace_back(line);
  const std::vector<std::string> want = {"a", "b", "c", "d", "", filler, "q",
                                         std::string(200000, 'L'), "last"};
  EXPECT_EQ(got, want);
  EXPECT_FALSE(reader.Next(line));

  WriteFileAtomic(f, "one\n");
  LineReader single(f);
  ASSERT_TRUE(single.Next(line));
  EXPECT_EQ(line, "one");
  EXPECT_FALSE(single.Next(line));
  EXPECT_THROW(LineReader(Path("missing")), FileError);
  EXPECT_THROW(LineReader(dir_.string()), FileError);
}

// ---- Targets a rename must not replace, read-only files, owners ---------------------------------

namespace {

// Runs `body` in a child process and returns its exit status (-signal when a signal ended it).
template <class Body>
int InChild(Body body) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    int rc = 1;
    try {
      rc = body();
    } catch (...) {
      rc = 100;
    }
    ::_exit(rc);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// The unprivileged user the root-run cases switch to; nullptr when there is none.
const passwd* Nobody() {
  const passwd* pw = ::getpwnam("nobody");
  return pw && pw->pw_uid != 0 ? pw : nullptr;
}

// `body` run as the unprivileged user (exit status 0 = passed); skipped unless the tests run as
// root, which alone can switch users.
#define RUN_AS_NOBODY(...)                                                                       \
  do {                                                                                           \
    if (::geteuid() != 0) GTEST_SKIP() << "the unprivileged run needs the tests to run as root"; \
    const passwd* pw = Nobody();                                                                 \
    if (!pw) GTEST_SKIP() << "no user 'nobody' to switch to";                                    \
    const uid_t uid = pw->pw_uid;                                                                \
    const gid_t gid = pw->pw_gid;                                                                \
    EXPECT_EQ(InChild([&] {                                                                      \
                if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)    \
                  return 99;                                                                     \
                return (__VA_ARGS__)();                                                             \
              }),                                                                                \
              0);                                                                                \
  } while (0)

}  // namespace

TEST_F(FilesTest, TargetsThatAreNotRegularFilesAreWrittenInPlace) {
  // A device of our own when we may make one: a mistake must never replace the system's.
  std::string device = "/dev/null";
  if (::geteuid() == 0) {
    device = Path("null");
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  }
  fs::create_symlink(device, Path("to-null"));
  for (const std::string& target : {device, Path("to-null")}) {
    WriteFileAtomic(target, "discarded");
    struct stat st;
    ASSERT_EQ(::stat(device.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << target << " was replaced";
  }

  // A FIFO, directly and through a link: its reader gets the data and it stays a FIFO.
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_symlink(Path("fifo"), Path("to-fifo"));
  for (const std::string& target : {Path("fifo"), Path("to-fifo")}) {
    const std::string data = "through " + target + std::string(300000, '.');
    const pid_t reader = ::fork();
    if (reader == 0) ::_exit(ReadFile(Path("fifo")) == data ? 0 : 1);
    WriteFileAtomic(target, data);
    int status = 0;
    ::waitpid(reader, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << target;
    EXPECT_TRUE(fs::is_fifo(Path("fifo")));
  }
  EXPECT_EQ(EntryCount(), 4u) << "no temporary file is left";

  // /dev/stdout redirected to a file: the data goes where the descriptor points, the file is not
  // replaced under it.
  const std::string out = Path("stdout.txt");
  EXPECT_EQ(InChild([&] {
              if (!std::freopen(out.c_str(), "w", stdout)) return 2;
              std::printf("before ");
              std::fflush(stdout);
              WriteFileAtomic("/dev/stdout", "data");
              return 0;
            }),
            0);
  EXPECT_EQ(ReadFile(out), "before data");
}

TEST_F(FilesTest, ReadOnlyFileIsRefusedAndLeftAsItWas) {
  const std::string f = Path("Main.dfm");
  WriteFileAtomic(f, "original");
  ASSERT_EQ(::chmod(f.c_str(), 0444), 0);
  auto check = [&] {
    try {
      WriteFileAtomic(f, "replacement");
      return 1;
    } catch (const FileError& e) {
      if (std::string(e.what()) != f + ": read-only file") return 2;
    }
    return ReadFile(f) == "original" && EntryCount() == 1 ? 0 : 3;
  };
  EXPECT_EQ(check(), 0);  // as whoever runs the tests, root included
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  RUN_AS_NOBODY(check);

  // Someone else's file in a folder open to all: not ours to replace.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(f.c_str(), 0644), 0);
    RUN_AS_NOBODY([&] {
      try {
        WriteFileAtomic(f, "replacement");
        return 1;
      } catch (const FileError& e) {
        return std::string(e.what()) == f + ": Permission denied" && ReadFile(f) == "original" ? 0 : 2;
      }
    });
  }
}

TEST_F(FilesTest, RewriteKeepsOwnerAndGroup) {
  const std::string f = Path("Unit1.pas");
  WriteFileAtomic(f, "old");
  const passwd* pw = Nobody();
  if (::geteuid() == 0 && pw) {
    // Root rewrites a user's file: it stays the user's.
    ASSERT_EQ(::chown(f.c_str(), pw->pw_uid, pw->pw_gid), 0);
    WriteFileAtomic(f, "new");
    struct stat st;
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, pw->pw_uid);
    EXPECT_EQ(st.st_gid, pw->pw_gid);
    EXPECT_EQ(ReadFile(f), "new");
  }
  // A user in a folder whose files take the folder's group: a rewritten file keeps the group it
  // had where the user may set it.
  ASSERT_EQ(::chmod(dir_.c_str(), 02777), 0);
  RUN_AS_NOBODY([&] {
    if (::chown(f.c_str(), ::getuid(), ::getgid()) != 0 && ::chmod(f.c_str(), 0644) != 0) return 5;
    struct stat before, after, folder;
    if (::stat(f.c_str(), &before) != 0 || ::stat(dir_.c_str(), &folder) != 0) return 6;
    WriteFileAtomic(f, "by nobody");
    if (::stat(f.c_str(), &after) != 0) return 7;
    return after.st_gid == ::getgid() && after.st_uid == ::getuid() ? 0 : 8;
  });
}

// ---- Runs that are stopped ----------------------------------------------------------------------

TEST_F(FilesTest, StoppedRunRemovesItsTemporariesAndEndsByTheSignal) {
  const std::string f = Path("Main.dfm"), g = Path("Other.dfm"), lock = Path("Sample.lock");
  WriteFileAtomic(f, "old");
  for (int sig : {SIGINT, SIGTERM}) {
    EXPECT_EQ(InChild([&] {
                InstallSignalCleanup();
                WriteFileAtomic(g, "committed");
                FileLock held(lock);
                AtomicFile pending(f);
                pending.Write(std::string(1 << 20, 'n'));
                ::kill(::getpid(), sig);
                return 0;  // not reached
              }),
              -sig);
    EXPECT_EQ(ReadFile(f), "old");
    EXPECT_EQ(ReadFile(g), "committed");
    EXPECT_FALSE(fs::exists(lock));
    EXPECT_EQ(EntryCount(), 2u) << "temporary or lock file left after signal " << sig;
  }
  // Over the file-size limit the write fails as an error (rolled back) instead of killing the run.
  EXPECT_EQ(InChild([&] {
              InstallSignalCleanup();
              struct rlimit small {4096, 4096};
              ::setrlimit(RLIMIT_FSIZE, &small);
              try {
                WriteFileAtomic(f, std::string(100000, 'z'));
              } catch (const FileError&) {
                return 0;
              }
              return 1;
            }),
            0);
  EXPECT_EQ(ReadFile(f), "old");
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(FilesTest, TemporariesOfKilledRunsAreRemovedByTheNextWrite) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const std::string d = std::to_string(dead), live = std::to_string(::getppid());
  const struct timespec old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  const struct timespec young[2] = {{::time(nullptr) + 1, 0}, {::time(nullptr) + 1, 0}};
  auto make = [&](const std::string& name, bool aged) {
    std::ofstream(Path(name)) << "x";  // not through WriteFileAtomic: that would sweep the folder now
    ::utimensat(AT_FDCWD, Path(name).c_str(), aged ? old : young, 0);
  };
  make(".Main.dfm.vl" + d + "_a1b2c3.tmp", true);        // left by a killed run: goes
  make(".Main.pas.vl" + d + "_zz9zz9.tmp", true);        // goes
  make(".Main.dfm.vl" + live + "_a1b2c3.tmp", true);     // its process still runs
  make(".Main.dfm.vl" + d + "_q1w2e3.tmp", false);       // newer than this run
  make(".Main.dfm.a1b2c3.tmp", true);                    // another program's pattern
  make("Main.dfm.vl" + d + "_a1b2c3.tmp", true);         // not hidden: not ours
  make(".Main.dfm.vl" + d + "_A1B2C3.tmp", true);        // not our alphabet
  fs::create_directory(Path(".Sub.vl" + d + "_a1b2c3.tmp"));  // a folder is never removed
  std::ofstream(Path("Main.dfm")) << "old";
  const size_t before = EntryCount();
  long pid = 0;
  EXPECT_TRUE(IsTemporaryName(".Main.dfm.vl" + d + "_a1b2c3.tmp", &pid));
  EXPECT_EQ(pid, dead);
  EXPECT_FALSE(IsTemporaryName(".vl12_a1b2c3.tmp"));  // names no file

  // A new file is written without a name until it is complete, and searches no folder.
  WriteFileAtomic(Path("New.dfm"), "new");
  EXPECT_EQ(EntryCount(), before + 1);
  // A replacement is written into a temporary, and so sweeps the folder first.
  WriteFileAtomic(Path("Main.dfm"), "new");
  EXPECT_EQ(EntryCount(), before + 1 - 2);
  EXPECT_FALSE(fs::exists(Path(".Main.dfm.vl" + d + "_a1b2c3.tmp")));
  EXPECT_FALSE(fs::exists(Path(".Main.pas.vl" + d + "_zz9zz9.tmp")));
  EXPECT_TRUE(fs::exists(Path(".Main.dfm.vl" + live + "_a1b2c3.tmp")));
  EXPECT_TRUE(fs::exists(Path(".Main.dfm.vl" + d + "_q1w2e3.tmp")));
}

// Not even a run killed outright leaves a part of a new file: it has no name until complete.
TEST_F(FilesTest, NewFileOfAKilledRunLeavesNothing) {
  const size_t before = EntryCount();
  EXPECT_EQ(InChild([&] {
              AtomicFile pending(Path("New.dfm"));
              pending.Write(std::string(1 << 20, 'n'));
              ::kill(::getpid(), SIGKILL);
              return 0;  // not reached
            }),
            -SIGKILL);
  EXPECT_EQ(EntryCount(), before);
}

TEST_F(FilesTest, FileLockMakesProcessesTakeTurns) {
  const std::string lock = Path("Sample.dpr.lock");
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    FileLock held(lock);
    WriteFileAtomic(Path("order"), "first");
    char c = 1;
    (void)!::write(pipeFds[1], &c, 1);
    ::usleep(200 * 1000);
    WriteFileAtomic(Path("order"), ReadFile(Path("order")) + " done");
    ::_exit(0);
  }
  char c;
  ASSERT_EQ(::read(pipeFds[0], &c, 1), 1);
  bool waited = false;
  {
    FileLock mine(lock, [&] { waited = true; });
    EXPECT_EQ(ReadFile(Path("order")), "first done");
    EXPECT_TRUE(fs::exists(lock));
  }
  ::waitpid(holder, nullptr, 0);
  EXPECT_TRUE(waited);
  EXPECT_FALSE(fs::exists(lock));

  // A holder killed outright leaves its file; the lock is free and the file taken over.
  const pid_t killed = ::fork();
  if (killed == 0) {
    FileLock held(lock);
    (void)!::write(pipeFds[1], &c, 1);
    ::pause();
    ::_exit(0);
  }
  ASSERT_EQ(::read(pipeFds[0], &c, 1), 1);
  ::kill(killed, SIGKILL);
  ::waitpid(killed, nullptr, 0);
  EXPECT_TRUE(fs::exists(lock));
  { FileLock again(lock); }
  EXPECT_FALSE(fs::exists(lock));
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}
