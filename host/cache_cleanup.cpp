#include "host/cache_cleanup.h"

namespace zeziza::host {

void cleanCacheFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code entryError;
    // A symlink is removed as a link; what it points to is never followed.
    if (it->is_directory(entryError) && !it->is_symlink(entryError)) continue;
    std::filesystem::remove(it->path(), entryError);
  }
}

}  // namespace zeziza::host
