#include "host/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zeziza::host {

FolderLock::FolderLock(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  fd_ = ::open((folder / "zeziza.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace zeziza::host
