// Whole-file reads, atomic rewrites and temporary files.
//
// Every rewrite of a user's file goes through WriteFileAtomic: the new content goes to a
// temporary file in the same folder, is flushed, and only then replaces the original by rename.
// A failure at any point leaves the original as it was.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vorlect::platform {

// An operating-system failure on a file; what() names the file and the reason.
class FileError : public std::runtime_error {
public:
  FileError(std::string path, std::string reason);
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

// Reads the whole file. Throws FileError.
std::string ReadFile(const std::string& path);

// Replaces (or creates) `path` with `data` atomically; keeps the permissions of an existing file.
// Throws FileError; on failure `path` is untouched and no temporary file is left behind.
void WriteFileAtomic(const std::string& path, std::string_view data);

// The same for content written piece by piece: Write appends (buffered), Commit replaces `path`
// by the complete file. Destroyed without Commit (an error, a cancelled run), it leaves `path`
// untouched and no temporary file behind. Errors throw FileError naming `path`.
class AtomicFile {
public:
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view data);
  void Commit();
  const std::string& Path() const { return path_; }

private:
  void Flush();
  std::string path_, target_, temp_;
  int fd_ = -1;
  bool existed_ = false;
  unsigned mode_ = 0;
  std::string buffer_;
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
