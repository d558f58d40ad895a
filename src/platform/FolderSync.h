// Syncing folders once for many replaced files.
#pragma once

#include <string>
#include <vector>

namespace vorlect::platform {

// While one lives on a thread, files that WriteFileAtomic and AtomicFile replace there sync their
// folder once, when it ends, instead of once per file: for a run that rewrites the thousands of
// forms of a project. Every file is still synced before it replaces its old version, so a crash
// leaves each file whole, old or new; until the batch ends a crash may only bring back old
// versions. Batches may nest (the outermost one syncs).
class FolderSyncBatch {
public:
  FolderSyncBatch();
  ~FolderSyncBatch();
  FolderSyncBatch(const FolderSyncBatch&) = delete;
  FolderSyncBatch& operator=(const FolderSyncBatch&) = delete;

  // Takes `folder` to sync when the outermost batch of this thread ends; false without one.
  static bool Defer(const std::string& folder);

private:
  FolderSyncBatch* outer_ = nullptr;
  std::vector<std::string> folders_;
};

}  // namespace vorlect::platform
