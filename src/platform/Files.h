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

// The folder for temporary files: $TMPDIR when set and usable, else /tmp.
std::string TempFolder();

// Creates a new, empty, uniquely named file in TempFolder() whose name starts with `prefix`
// (e.g. "TVL" gives /tmp/TVL1a2b3c.tmp) and returns its full name. Throws FileError.
std::string CreateTempFile(std::string_view prefix);

bool FileExists(const std::string& path);
// Deletes a file; returns false when it could not be deleted (never throws).
bool DeleteFile(const std::string& path);

}  // namespace vorlect::platform
