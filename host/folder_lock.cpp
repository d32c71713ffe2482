#include "host/folder_lock.h"

namespace zeziza::host {

namespace {

const std::filesystem::path& created(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder)
    : lock_(created(folder) / "zeziza.lock") {}

}  // namespace zeziza::host
