#include "platform/Files.h"
#include "platform/FolderSync.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlect::platform {
namespace {

std::string ErrorText(int err) { return std::strerror(err); }

[[noreturn]] void Fail(const std::string& path, int err) { throw FileError(path, ErrorText(err)); }

// Closes the descriptor and removes the temporary file unless released.
class TempGuard {
public:
  TempGuard(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TempGuard() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempGuard(const TempGuard&) = delete;
  TempGuard& operator=(const TempGuard&) = delete;
  int fd() const { return fd_; }
  // Closes explicitly so a failing close (delayed write error) is seen.
  int close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }
  void release() { path_.clear(); }

private:
  int fd_;
  std::string path_;
};

// Six letters or digits that differ from call to call and thread to thread. They only spread the
// names out: a name already taken is detected by O_EXCL and another one drawn, so a mixed clock,
// counter and address serve (a seeded random engine cost a process start-up more than a small
// form's conversion).
std::string RandomSuffix() {
  static std::atomic<uint64_t> counter{0};
  thread_local const uint64_t threadMark = reinterpret_cast<uintptr_t>(&threadMark);
  struct timespec now {};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  // splitmix64 of everything that differs
  uint64_t x = (static_cast<uint64_t>(now.tv_sec) * 1000000007u) ^ static_cast<uint64_t>(now.tv_nsec) ^
               (threadMark << 17) ^ (counter.fetch_add(1, std::memory_order_relaxed) * 0x9e3779b97f4a7c15u);
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
  x ^= x >> 31;
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(6, 'x');
  for (char& c : s) {
    c = kChars[x % (sizeof kChars - 1)];
    x /= sizeof kChars - 1;
  }
  return s;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writing through a symbolic link must replace the file it points to, not the link itself.
std::string ResolveTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return path;  // dangling link: rename replaces the link, as creating a new file would
  std::string result(real);
  std::free(real);
  return result;
}

void WriteAll(int fd, std::string_view data, const std::string& pathForErrors) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(pathForErrors, errno);
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
}

}  // namespace

FileError::FileError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)) {}

std::string ReadFile(const std::string& path) { return ReadFile(path, {}); }

std::string ReadFile(const std::string& path, const THeadCheck& checkHead, size_t headSize) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path, errno);
  TempGuard guard(fd, {});
  struct stat st;
  if (::fstat(fd, &st) != 0) Fail(path, errno);
  if (S_ISDIR(st.st_mode)) Fail(path, EISDIR);
  const bool regular = S_ISREG(st.st_mode);
  std::string data;
  char buf[65536];
  bool checked = !checkHead;
  if (checked && regular && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  auto check = [&] {
    checked = true;
    checkHead(data, regular ? static_cast<uint64_t>(st.st_size) : data.size());
  };
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, errno);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
    if (!checked && data.size() >= headSize) {
      // The head decides before memory for the whole file is taken.
      check();
      if (regular && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    }
  }
  if (!checked) check();
  return data;
}

void WriteFileAtomic(const std::string& path, std::string_view data, NewFile newFile) {
  AtomicFile file(path, newFile);
  file.Write(data);
  file.Commit();
}

// ---- Signal cleanup -----------------------------------------------------------------------------

namespace {

// Paths to remove when a signal stops the run. The handler only reads the slots and calls
// unlink(), both safe in a signal handler.
constexpr int kCleanupSlots = 1024;
std::atomic<char*> cleanupPaths[kCleanupSlots];

void CleanupHandler(int sig) {
  const int savedErrno = errno;
  for (auto& slot : cleanupPaths)
    if (const char* path = slot.load()) ::unlink(path);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  ::sigemptyset(&dfl.sa_mask);
  ::sigaction(sig, &dfl, nullptr);
  errno = savedErrno;
  ::raise(sig);  // delivered when the handler returns: the run ends by the signal it got
}

// When this run started: only temporaries older than that can be left by an earlier run. Read
// from the clock that stamps files, so a file made at once after the start is never older.
const struct timespec kRunStart = [] {
  struct timespec t {};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &t);
  return t;
}();

}  // namespace

void InstallSignalCleanup() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;  // e.g. nohup
    struct sigaction sa {};
    sa.sa_handler = CleanupHandler;
    ::sigemptyset(&sa.sa_mask);
    ::sigaction(sig, &sa, nullptr);
  }
  std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

// The stop signals wait while this lives (on this thread), and arrive when it ends.
class StopSignalsHeld {
public:
  StopSignalsHeld() {
    sigset_t stop;
    ::sigemptyset(&stop);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaddset(&stop, sig);
    ::pthread_sigmask(SIG_BLOCK, &stop, &previous_);
  }
  ~StopSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
  sigset_t previous_;
};

}  // namespace

int RemoveOnSignal(const std::string& path) {
  char* copy = ::strdup(path.c_str());
  if (!copy) return -1;
  for (int i = 0; i < kCleanupSlots; ++i) {
    char* expected = nullptr;
    if (cleanupPaths[i].compare_exchange_strong(expected, copy)) return i;
  }
  std::free(copy);
  return -1;
}

void ForgetOnSignal(int slot) {
  if (slot < 0 || slot >= kCleanupSlots) return;
  std::free(cleanupPaths[slot].exchange(nullptr));
}

// ---- Temporaries left by a killed run -------------------------------------------------------------

namespace {

constexpr std::string_view kTempMark = ".vl";    // ".<name>.vl<pid>_<random>.tmp"
constexpr std::string_view kTempEnd = ".tmp";
constexpr size_t kRandomLength = 6;

std::string TemporaryName(const std::string& base) {
  return "." + base + std::string(kTempMark) + std::to_string(::getpid()) + "_" + RandomSuffix() +
         std::string(kTempEnd);
}

bool ProcessAlive(long pid) {
  if (pid <= 0 || pid > INT_MAX) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Each folder is swept once per process.
void SweepOnce(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  RemoveStaleTemporaries(folder);
}

}  // namespace

bool IsTemporaryName(std::string_view name, long* pid) {
  // "." + base + ".vl" + digits + "_" + 6 of [a-z0-9] + ".tmp", base not empty
  if (name.size() < 2 + kTempMark.size() + 1 + 1 + kRandomLength + kTempEnd.size() || name[0] != '.') return false;
  if (name.substr(name.size() - kTempEnd.size()) != kTempEnd) return false;
  name.remove_suffix(kTempEnd.size());
  for (size_t i = 0; i < kRandomLength; ++i) {
    const char c = name[name.size() - 1 - i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  name.remove_suffix(kRandomLength);
  if (name.back() != '_') return false;
  name.remove_suffix(1);
  size_t digits = 0;
  while (digits < name.size() && digits < 10 && name[name.size() - 1 - digits] >= '0' &&
         name[name.size() - 1 - digits] <= '9')
    ++digits;
  if (digits == 0) return false;
  const std::string_view number = name.substr(name.size() - digits);
  name.remove_suffix(digits);
  if (name.size() < 1 + 1 + kTempMark.size() || name.substr(name.size() - kTempMark.size()) != kTempMark)
    return false;
  if (pid) *pid = std::strtol(std::string(number).c_str(), nullptr, 10);
  return true;
}

int RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    long pid = 0;
    if (!IsTemporaryName(entry->d_name, &pid) || pid == ::getpid() || ProcessAlive(pid)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool older = st.st_mtim.tv_sec < kRunStart.tv_sec ||
                       (st.st_mtim.tv_sec == kRunStart.tv_sec && st.st_mtim.tv_nsec < kRunStart.tv_nsec);
    if (older && ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

// ---- AtomicFile ---------------------------------------------------------------------------------

namespace {
thread_local FolderSyncBatch* currentSyncBatch = nullptr;
std::atomic<uint64_t> syncCount{0};

int Sync(int fd) {
  syncCount.fetch_add(1, std::memory_order_relaxed);
  return ::fsync(fd);
}

void SyncFolder(const std::string& folder) {
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    Sync(dirFd);
    ::close(dirFd);
  }
}

// VORLECT_SYNC=always: new files are synced as replaced ones are (read at every file, so that a
// program or test may set it at any time).
bool AlwaysSync() {
  const char* env = std::getenv("VORLECT_SYNC");
  return env && std::strcmp(env, "always") == 0;
}

constexpr size_t kWriteBlock = 1 << 18;

// A name for an open descriptor (/dev/stdout, /dev/fd/3, /proc/self/fd/1): written through the
// descriptor's file even when that is a regular file, since renaming over it would leave the
// descriptor's holder (the shell that redirected it) writing to a file no one sees.
bool NamesDescriptor(const std::string& path) {
  for (std::string_view p : {"/dev/stdout", "/dev/stderr", "/dev/fd/", "/proc/self/fd/", "/proc/thread-self/fd/"})
    if (path.rfind(p, 0) == 0) return true;
  if (path.rfind("/proc/", 0) == 0) {
    const size_t fd = path.find("/fd/", 6);
    return fd != std::string::npos && path.find_first_not_of("0123456789", 6) == fd;
  }
  return false;
}
}  // namespace

uint64_t SyncCount() { return syncCount.load(std::memory_order_relaxed); }

AtomicFile::AtomicFile(std::string path, NewFile newFile)
    : path_(std::move(path)), durable_(newFile == NewFile::kDurable || AlwaysSync()) {
  if (path_.empty()) Fail(path_, ENOENT);
  target_ = ResolveTarget(path_);
  struct stat st;
  existed_ = ::stat(target_.c_str(), &st) == 0;
  if (existed_ && S_ISDIR(st.st_mode)) Fail(path_, EISDIR);
  if (NamesDescriptor(path_)) {
    OpenInPlace(existed_ && S_ISREG(st.st_mode));
    return;
  }
  if (existed_ && !S_ISREG(st.st_mode)) {
    OpenInPlace(false);
    return;
  }
  mode_ = existed_ ? (st.st_mode & 07777) : 0;
  if (existed_) {
    // Without a write bit the file is read-only even to root; otherwise the user must be able
    // to write the file itself, not only the folder that holds it.
    if ((mode_ & 0222) == 0) throw FileError(path_, kReadOnly);
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) Fail(path_, errno);
  }

  // A new file is written as a file without a name in its folder and given its name when
  // complete: a run that is killed leaves nothing behind, so there is no temporary to clean up
  // and no folder to search for those of killed runs.
  if (!existed_ && OpenUnnamed()) return;
  OpenTemporary();
  if (existed_) {
    // The owner first: a change of owner clears the set-user and set-group bits that fchmod
    // sets again. Who may not give the file away keeps at least its group where possible.
    struct stat made;
    if (::fstat(fd_, &made) == 0 && (made.st_uid != st.st_uid || made.st_gid != st.st_gid))
      if (::fchown(fd_, st.st_uid, st.st_gid) != 0) (void)::fchown(fd_, static_cast<uid_t>(-1), st.st_gid);
    if (::fchmod(fd_, mode_) != 0) {
      const int err = errno;
      ::close(fd_);
      fd_ = -1;
      ::unlink(temp_.c_str());
      ForgetOnSignal(cleanupSlot_);
      temp_.clear();
      Fail(path_, err);
    }
  }
}

namespace {
// A file opened without a name is named through its entry in /proc; without /proc (a chroot, an
// early boot script) new files take the named temporary as replacements do.
bool CanNameUnnamedFiles() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

std::string ProcEntry(int fd) { return "/proc/self/fd/" + std::to_string(fd); }
}  // namespace

bool AtomicFile::OpenUnnamed() {
  if (!CanNameUnnamedFiles()) return false;
  do fd_ = ::open(FolderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) {
    // A file system that cannot (EOPNOTSUPP, EISDIR on old kernels) takes the named temporary;
    // any other error (no such folder, no permission) is the one to report.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
    Fail(path_, errno);
  }
  unnamed_ = true;
  temp_ = ProcEntry(fd_);
  return true;
}

void AtomicFile::OpenTemporary() {
  // Hidden temporary beside the target so the final rename stays on one file system.
  const auto slash = target_.rfind('/');
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  const std::string dirPrefix = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  SweepOnce(FolderOf(target_));
  // A stop signal between creating the temporary and registering it would leave it behind.
  StopSignalsHeld held;
  const int unnamed = fd_;  // a complete unnamed file whose name was taken meanwhile: linked
  fd_ = -1;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = dirPrefix + TemporaryName(base);
    if (unnamed >= 0) {
      if (::linkat(AT_FDCWD, ProcEntry(unnamed).c_str(), AT_FDCWD, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0) fd_ = unnamed;
    } else {
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    }
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int err = errno;
    if (unnamed >= 0) ::close(unnamed);
    temp_.clear();
    Fail(path_, err);
  }
  unnamed_ = false;
  cleanupSlot_ = RemoveOnSignal(temp_);
}

void AtomicFile::OpenInPlace(bool append) {
  inPlace_ = true;
  // No O_TRUNC: a device or a FIFO has nothing to truncate, and a descriptor's file belongs to
  // whoever opened it.
  do fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (append ? O_APPEND : 0));
  while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) Fail(path_, errno);
  temp_ = path_;  // marks the file as open for Write and Commit; never removed
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty() && !inPlace_ && !unnamed_) ::unlink(temp_.c_str());
  ForgetOnSignal(cleanupSlot_);
}

void AtomicFile::Write(std::string_view data) {
  if (temp_.empty()) Fail(path_, EBADF);
  if (buffer_.size() + data.size() < kWriteBlock) {
    buffer_.append(data);
    return;
  }
  Flush();
  if (data.size() >= kWriteBlock) WriteAll(fd_, data, path_);
  else buffer_.assign(data);
}

void AtomicFile::Flush() {
  WriteAll(fd_, buffer_, path_);
  buffer_.clear();
}

void AtomicFile::Commit() {
  if (temp_.empty()) Fail(path_, EBADF);
  Flush();
  if (inPlace_) {
    const int rc = ::close(fd_);
    fd_ = -1;
    temp_.clear();
    if (rc != 0) Fail(path_, errno);
    return;
  }
  bool synced = false;
  if (unnamed_) {
    if (durable_ && Sync(fd_) != 0) Fail(path_, errno);
    synced = durable_;
    if (::linkat(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp_.clear();
      const int rc = ::close(fd_);
      fd_ = -1;
      if (rc != 0) {
        // A delayed write error: the name given must not stay on a damaged file.
        const int err = errno;
        ::unlink(target_.c_str());
        Fail(path_, err);
      }
      if (durable_ && !FolderSyncBatch::Defer(FolderOf(target_))) SyncFolder(FolderOf(target_));
      return;
    }
    if (errno != EEXIST) Fail(path_, errno);
    // Another process made a file under the name since this one was opened: it is replaced as
    // any existing file is, through a named temporary.
    OpenTemporary();
  }
  // Whether something is there to lose is asked again now: a file another process made under the
  // name since this one was opened is replaced, and so gets the replacing write's syncs.
  struct stat st;
  const bool replaces = existed_ || ::lstat(target_.c_str(), &st) == 0;
  const bool sync = replaces || durable_;
  if (sync && !synced && Sync(fd_) != 0) Fail(path_, errno);
  const int rc = ::close(fd_);  // a failing close reports a delayed write error
  fd_ = -1;
  if (rc != 0) Fail(path_, errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(path_, errno);
  temp_.clear();
  ForgetOnSignal(cleanupSlot_);
  cleanupSlot_ = -1;

  // Make the rename itself durable, so that after a crash the folder does not name the old
  // version again once the new one was reported written. A failure here no longer endangers
  // either version. A new file that need not be durable skips both syncs (see NewFile).
  if (!sync) return;
  const std::string folder = FolderOf(target_);
  if (!FolderSyncBatch::Defer(folder)) SyncFolder(folder);
}

FolderSyncBatch::FolderSyncBatch() : outer_(currentSyncBatch) {
  if (!outer_) currentSyncBatch = this;
}

FolderSyncBatch::~FolderSyncBatch() {
  if (outer_) return;
  currentSyncBatch = nullptr;
  for (const std::string& folder : folders_) SyncFolder(folder);
}

bool FolderSyncBatch::Defer(const std::string& folder) {
  if (!currentSyncBatch) return false;
  std::vector<std::string>& folders = currentSyncBatch->folders_;
  if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  return true;
}

// ---- FileLock -----------------------------------------------------------------------------------

FileLock::FileLock(std::string path, const std::function<void()>& waiting) : FileLock(std::move(path), true, waiting) {}

std::unique_ptr<FileLock> FileLock::TryLock(std::string path) {
  std::unique_ptr<FileLock> lock(new FileLock(std::move(path), false, {}));
  if (lock->fd_ < 0) return nullptr;
  return lock;
}

FileLock::FileLock(std::string path, bool wait, const std::function<void()>& waiting) : path_(std::move(path)) {
  bool told = false;
  for (;;) {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0) Fail(path_, errno);
    int rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    if (rc != 0 && errno == EWOULDBLOCK && !wait) {
      ::close(fd_);
      fd_ = -1;
      return;
    }
    if (rc != 0 && errno == EWOULDBLOCK) {
      if (waiting && !told) waiting();
      told = true;
      do rc = ::flock(fd_, LOCK_EX);
      while (rc != 0 && errno == EINTR);
    }
    if (rc != 0) {
      const int err = errno;
      ::close(fd_);
      fd_ = -1;
      Fail(path_, err);
    }
    // The holder before us removes the file as it lets go: a lock on a removed file locks
    // nothing, so start again on the file that is there now.
    struct stat held, named;
    if (::fstat(fd_, &held) == 0 && ::stat(path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino)
      break;
    ::close(fd_);
    fd_ = -1;
  }
  cleanupSlot_ = RemoveOnSignal(path_);
}

FileLock::~FileLock() {
  if (fd_ < 0) return;  // never held (TryLock found it taken)
  ForgetOnSignal(cleanupSlot_);
  ::unlink(path_.c_str());  // while still held, so no one locks a file that is about to go
  ::close(fd_);
}

// ---- LineReader ---------------------------------------------------------------------------------

LineReader::LineReader(const std::string& path) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) Fail(path, errno);
  struct stat st;
  if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd_);
    fd_ = -1;
    Fail(path, err);
  }
}

LineReader::~LineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool LineReader::Fill() {
  if (eof_) return false;
  buffer_.erase(0, pos_);
  pos_ = 0;
  const size_t had = buffer_.size();
  buffer_.resize(had + 65536);
  ssize_t n;
  do n = ::read(fd_, buffer_.data() + had, 65536);
  while (n < 0 && errno == EINTR);
  if (n < 0) {
    buffer_.resize(had);
    Fail(path_, errno);
  }
  buffer_.resize(had + static_cast<size_t>(n));
  if (n == 0) eof_ = true;
  return n > 0;
}

bool LineReader::Next(std::string_view& line) {
  size_t end;
  while (true) {
    end = buffer_.find_first_of("\r\n", pos_);
    // A CR at the end of what was read may be the first half of CR LF.
    if (end != std::string::npos && (buffer_[end] == '\n' || end + 1 < buffer_.size() || eof_)) break;
    if (!Fill()) {
      end = buffer_.find_first_of("\r\n", pos_);
      if (end == std::string::npos) end = buffer_.size();
      break;
    }
  }
  if (pos_ >= buffer_.size()) return false;
  line = std::string_view(buffer_).substr(pos_, end - pos_);
  pos_ = end;
  if (pos_ < buffer_.size() && buffer_[pos_++] == '\r' && pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
  return true;
}

std::string TempFolder() {
  const char* env = std::getenv("TMPDIR");
  if (env && *env) {
    std::string folder(env);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0)
      return folder;
  }
  return "/tmp";
}

std::string CreateTempFile(std::string_view prefix) {
  const std::string folder = TempFolder();
  if (prefix.find('/') != std::string_view::npos) Fail(folder + "/" + std::string(prefix), EINVAL);
  std::string name = folder + "/" + std::string(prefix) + "XXXXXX.tmp";
  const int fd = ::mkostemps(name.data(), 4, O_CLOEXEC);
  if (fd < 0) Fail(folder + "/" + std::string(prefix), errno);
  ::close(fd);
  return name;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

}  // namespace vorlect::platform
