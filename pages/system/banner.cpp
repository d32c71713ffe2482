#include "pages/system/banner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zeziza::pages {

namespace {

constexpr const char* kBannerFile = "bj.jpg";

bool startsWith(std::string_view bytes, std::string_view magic) {
  return bytes.substr(0, magic.size()) == magic;
}

// Closes a file descriptor and removes the side file unless it was renamed into place.
class SideFile {
 public:
  explicit SideFile(const std::filesystem::path& folder)
      : path_((folder / (std::string(kBannerFile) + ".XXXXXX")).string()) {
    fd_ = mkstemp(path_.data());
    if (fd_ < 0) fail("cannot create");
  }
  ~SideFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  SideFile(const SideFile&) = delete;
  SideFile& operator=(const SideFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail("cannot write");
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // Readable for the static file server like the other files.
    if (fchmod(fd_, 0644) != 0 || fsync(fd_) != 0) fail("cannot flush");
  }
  void renameTo(const std::filesystem::path& target) {
    std::filesystem::rename(path_, target);
    kept_ = true;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::runtime_error(std::string(what) + " " + path_ + ": " + std::strerror(errno));
  }

  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

PictureKind pictureKind(std::string_view bytes) {
  if (startsWith(bytes, "\xFF\xD8\xFF")) return PictureKind::Jpeg;
  if (startsWith(bytes, std::string_view("\x89PNG\r\n\x1A\n", 8))) return PictureKind::Png;
  return PictureKind::Unknown;
}

std::string bannerAddress(const std::filesystem::path& filesFolder) {
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(filesFolder / kBannerFile, ec);
  const std::string address = std::string("/files/") + kBannerFile;
  if (ec) return address;
  return address + "?v=" + std::to_string(written.time_since_epoch().count());
}

void saveBanner(const std::filesystem::path& filesFolder, std::string_view bytes) {
  SideFile side(filesFolder);
  side.write(bytes);
  side.renameTo(filesFolder / kBannerFile);
}

}  // namespace zeziza::pages
