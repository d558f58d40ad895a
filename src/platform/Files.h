// Whole-file reads, atomic rewrites and temporary files.
//
// Every rewrite of a user's file goes through WriteFileAtomic: the new content goes to a
// temporary file in the same folder, is flushed, and only then replaces the original by rename.
// A failure at any point leaves the original as it was.
//
// What a rename must not replace is written in place instead: a target that is not a regular file
// (a device, a FIFO, /dev/stdout) or names an open descriptor. A regular file without write
// permission is refused as a read-only file, as the original platform refuses to write one; a
// replaced file keeps its permissions and, where the process may set them, its owner and group.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::platform {

// An operating-system failure on a file; what() names the file and the reason.
inline constexpr const char* kReadOnly = "read-only file";

class FileError : public std::runtime_error {
public:
  FileError(std::string path, std::string reason);
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

// Reads the whole file. Throws FileError.
std::string ReadFile(const std::string& path);

// The same, with a look at the file's first `headSize` bytes (fewer when the file is shorter) and
// its size before the rest is read: `checkHead` throws to refuse a file that its header shows is
// not what the caller reads, so that a large file of another kind is never read whole.
using THeadCheck = std::function<void(std::string_view head, uint64_t fileSize)>;
std::string ReadFile(const std::string& path, const THeadCheck& checkHead, size_t headSize = 4096);

// What a write waits for the disk to hold. A file that REPLACES an existing one is always synced
// before the rename, and its folder after it: a crash never loses the old content, it finds the
// old version or the new one. A NEW file (nothing under its name before) is written to a
// temporary and renamed too, so a failed or killed run never leaves a part of it under its name,
// but by default neither it nor its folder is synced: a crash of the machine may then lose the new
// file or leave it empty, as it does the outputs of compilers and build tools, and nothing is lost
// that its inputs cannot make again. That sync cost more than a whole conversion of a form.
// A new file that holds the only copy of what a user entered (settings, a custom dictionary) asks
// for kDurable. VORLECT_SYNC=always in the environment makes every new file durable.
enum class NewFile { kUnsynced, kDurable };

// Replaces (or creates) `path` with `data` atomically; keeps the permissions of an existing file.
// Throws FileError (a read-only file: reason kReadOnly); on failure `path` is untouched and no
// temporary file is left behind.
void WriteFileAtomic(const std::string& path, std::string_view data, NewFile newFile = NewFile::kUnsynced);

// How many times this process has synced a written file or its folder to the disk (for tests
// that check which writes wait for the disk).
uint64_t SyncCount();

// The same for content written piece by piece: Write appends (buffered), Commit replaces `path`
// by the complete file. Destroyed without Commit (an error, a cancelled run), it leaves `path`
// untouched and no temporary file behind. Errors throw FileError naming `path`.
class AtomicFile {
public:
  explicit AtomicFile(std::string path, NewFile newFile = NewFile::kUnsynced);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view data);
  void Commit();
  const std::string& Path() const { return path_; }

private:
  void Flush();
  void OpenInPlace(bool append);
  bool OpenUnnamed();
  void OpenTemporary();
  std::string path_, target_, temp_;
  int fd_ = -1;
  int cleanupSlot_ = -1;  // the temporary's entry in the signal cleanup
  bool existed_ = false;
  bool durable_ = false;  // synced even when new
  bool inPlace_ = false;  // written straight into the target (not a regular file)
  bool unnamed_ = false;  // a new file without a name until Commit links it
  unsigned mode_ = 0;
  std::string buffer_;
};

// ---- A run that is stopped ------------------------------------------------------------------------
//
// A run stopped by SIGINT, SIGTERM or SIGHUP removes the temporary files of every AtomicFile not
// yet committed (and every file given to RemoveOnSignal) and then ends by that signal, so each
// file it was writing is either as it was or complete. SIGXFSZ is ignored: a write beyond the
// file-size limit then fails as an error and is rolled back. Programs that write users' files
// call this once at their start; a signal that was ignored when it is called stays ignored.
void InstallSignalCleanup();

// Files removed by the signal cleanup besides the temporaries (a lock file). Returns a slot for
// ForgetOnSignal, -1 when none was free (the file is then not removed).
int RemoveOnSignal(const std::string& path);
void ForgetOnSignal(int slot);

// Temporary files of AtomicFile carry the writing process's id. Those left in `folder` by a run
// that was killed (its process is gone, the file older than this run) are removed; nothing else
// is touched. AtomicFile does this once per folder and process; returns the number removed.
int RemoveStaleTemporaries(const std::string& folder);

// Whether `name` (without folder) is the name of an AtomicFile temporary; its process id in *pid.
bool IsTemporaryName(std::string_view name, long* pid = nullptr);

// An exclusive lock held through a lock file: waits while another process holds it (calling
// `waiting` once first), and the system releases it when its holder ends, however it ends. The
// file is removed on release and by the signal cleanup; one left by a killed holder is taken
// over. Throws FileError when the lock file cannot be created.
class FileLock {
public:
  explicit FileLock(std::string path, const std::function<void()>& waiting = {});
  // The lock only when nobody holds it (a window must not wait): null while another process does.
  // Throws FileError as the constructor does.
  static std::unique_ptr<FileLock> TryLock(std::string path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  const std::string& Path() const { return path_; }

private:
  FileLock(std::string path, bool wait, const std::function<void()>& waiting);

  std::string path_;
  int fd_ = -1;
  int cleanupSlot_ = -1;
};

// Reads a file line by line in blocks, so that memory does not grow with the file. CR LF, LF or
// CR end a line; a final line break gives no empty last line. Errors throw FileError.
class LineReader {
public:
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  // The next line, valid until the next call; false at the end of the file.
  bool Next(std::string_view& line);

private:
  bool Fill();  // reads more; false at the end of the file
  std::string path_;
  int fd_ = -1;
  std::string buffer_;
  size_t pos_ = 0;
  bool eof_ = false;
};

// The folder for temporary files: $TMPDIR when set and usable, else /tmp.
std::string TempFolder();

// Creates a new, empty, uniquely named file in TempFolder() whose name starts with `prefix`
// (e.g. "TVL" gives /tmp/TVL1a2b3c.tmp) and returns its full name. Throws FileError.
std::string CreateTempFile(std::string_view prefix);

bool FileExists(const std::string& path);
// Deletes a file; returns false when it could not be deleted (never throws).
bool DeleteFile(const std::string& path);

}  // namespace vorlect::platform
