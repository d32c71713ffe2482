#include "export/workbook_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "base/platform/files.h"
#include "export/workbook_writer.h"

namespace zeziza::spreadsheet {

namespace {
constexpr const char* kPrefix = "excel";
constexpr const char* kSuffix = ".xlsx";

bool meansAll(std::string_view part) {
  return part.starts_with("全部") || part.starts_with("所有");
}

std::string fileNameSafe(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool refused = static_cast<unsigned char>(c) < 0x20 || c == 0x7f ||
                         std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    out += refused ? '_' : c;
  }
  return out;
}

}  // namespace

std::string workbookDownloadName(std::string_view title, const std::vector<std::string>& parts) {
  std::string name(title);
  for (const auto& part : parts) {
    if (!part.empty() && !meansAll(part)) name += "_" + part;
  }
  return fileNameSafe(name) + kSuffix;
}

std::filesystem::path freshWorkbookFile(const std::filesystem::path& folder) {
  errno = 0;
  try {
    return platform::createUniqueFile(folder, kPrefix, kSuffix);
  } catch (const std::runtime_error& e) {
    throw ExportError(std::string("cannot create a workbook file: ") + e.what(), errno);
  }
}

}  // namespace zeziza::spreadsheet
