#pragma once

#include <filesystem>

namespace zeziza::host {

// An exclusive lock on the data folder (a lock file held with flock), so a maintenance
// command never works on a folder that a running server uses.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

}  // namespace zeziza::host
