#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
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

std::string RandomSuffix() {
  static thread_local std::mt19937_64 rng{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(6, 'x');
  for (char& c : s) c = kChars[rng() % (sizeof kChars - 1)];
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

std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path, errno);
  TempGuard guard(fd, {});
  struct stat st;
  if (::fstat(fd, &st) != 0) Fail(path, errno);
  if (S_ISDIR(st.st_mode)) Fail(path, EISDIR);
  std::string data;
  if (S_ISREG(st.st_mode) && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  while (true) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(path, errno);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  return data;
}

void WriteFileAtomic(const std::string& path, std::string_view data) {
  AtomicFile file(path);
  file.Write(data);
  file.Commit();
}

// ---- AtomicFile ---------------------------------------------------------------------------------

namespace {
constexpr size_t kWriteBlock = 1 << 18;
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  if (path_.empty()) Fail(path_, ENOENT);
  target_ = ResolveTarget(path_);
  struct stat st;
  existed_ = ::stat(target_.c_str(), &st) == 0;
  if (existed_ && S_ISDIR(st.st_mode)) Fail(path_, EISDIR);
  mode_ = existed_ ? (st.st_mode & 07777) : 0;

  // Hidden temporary beside the target so the final rename stays on one file system.
  const auto slash = target_.rfind('/');
  const std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  const std::string dirPrefix = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = dirPrefix + "." + base + "." + RandomSuffix() + ".tmp";
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) Fail(path_, errno);
  }
  if (fd_ < 0) Fail(path_, EEXIST);
  if (existed_ && ::fchmod(fd_, mode_) != 0) {
    const int err = errno;
    ::close(fd_);
    fd_ = -1;
    ::unlink(temp_.c_str());
    Fail(path_, err);
  }
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
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
  if (::fsync(fd_) != 0) Fail(path_, errno);
  const int rc = ::close(fd_);  // a failing close reports a delayed write error
  fd_ = -1;
  if (rc != 0) Fail(path_, errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) Fail(path_, errno);
  temp_.clear();

  // Make the rename itself durable; a failure here no longer endangers either version.
  const int dirFd = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
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
