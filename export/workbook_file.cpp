#include "export/workbook_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zeziza::spreadsheet {

namespace {
constexpr const char* kPrefix = "excel";
constexpr const char* kSuffix = ".xlsx";
}  // namespace

std::filesystem::path freshWorkbookFile(const std::filesystem::path& folder) {
  std::string name = (folder / (std::string(kPrefix) + "XXXXXX" + kSuffix)).string();
  // mkstemps fills the Xs and creates the file with O_EXCL, retrying on a clash.
  const int fd = ::mkstemps(name.data(), static_cast<int>(std::strlen(kSuffix)));
  if (fd < 0) {
    throw std::runtime_error("cannot create a workbook file in " + folder.string() + ": " +
                             std::strerror(errno));
  }
  ::close(fd);
  return name;
}

}  // namespace zeziza::spreadsheet
