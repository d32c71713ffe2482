#pragma once

#include <filesystem>

namespace zeziza::spreadsheet {

// A new, empty file "excel<random>.xlsx" in `folder`. The file is created exclusively, so two
// exports (of one session or of several) never draw the same name. Throws on failure.
std::filesystem::path freshWorkbookFile(const std::filesystem::path& folder);

}  // namespace zeziza::spreadsheet
