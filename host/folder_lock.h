#pragma once

#include <filesystem>

#include "base/platform/files.h"

namespace zeziza::host {

// An exclusive lock on the data folder (a lock file held open and locked), so a maintenance
// command never works on a folder that a running server uses.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder);
  bool held() const { return lock_.held(); }

 private:
  platform::FileLock lock_;
};

}  // namespace zeziza::host
