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
  if (path.empty()) Fail(path, ENOENT);
  const std::string target = ResolveTarget(path);
  const std::string folder = FolderOf(target);

  struct stat st;
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) Fail(path, EISDIR);

  // Hidden temporary beside the target so the final rename stays on one file system.
  const auto slash = target.rfind('/');
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  const std::string dirPrefix = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string tempPath;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tempPath = dirPrefix + "." + base + "." + RandomSuffix() + ".tmp";
    fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(path, errno);
  }
  if (fd < 0) Fail(path, EEXIST);
  TempGuard guard(fd, tempPath);

  if (exists && ::fchmod(fd, st.st_mode & 07777) != 0) Fail(path, errno);
  WriteAll(fd, data, path);
  if (::fsync(fd) != 0) Fail(path, errno);
  if (guard.close() != 0) Fail(path, errno);
  if (::rename(tempPath.c_str(), target.c_str()) != 0) Fail(path, errno);
  guard.release();

  // Make the rename itself durable; a failure here no longer endangers either version.
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
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
