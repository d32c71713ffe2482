#pragma once

#include <filesystem>
#include <string_view>

namespace zeziza::base {

// Writes `bytes` to a side file in the target's folder, syncs it and renames it over
// `target`: a reader sees the old file or the new one, never half of either. Throws with the
// cause on failure, leaving no side file behind.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace zeziza::base
