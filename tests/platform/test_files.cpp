#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
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
