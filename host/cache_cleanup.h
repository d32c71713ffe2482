#pragma once

#include <filesystem>

namespace zeziza::host {

// Deletes every file in `folder` and its sub-folders; the folders themselves stay.
// Files that cannot be deleted are skipped.
void cleanCacheFolder(const std::filesystem::path& folder);

}  // namespace zeziza::host
