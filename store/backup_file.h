#pragma once

#include <filesystem>
#include <string>

namespace zeziza::store {

// Copies the live database `from` into `target` as one self-contained file (no journal
// beside it), through a side file renamed into place, so a half-written backup never
// carries the target's name.
void writeBackup(const std::filesystem::path& from, const std::filesystem::path& target);

// SQLite's own check of a database file: "ok", or what it found wrong (or why the file
// could not be read).
std::string integrityOf(const std::filesystem::path& file);

}  // namespace zeziza::store
