#include "store/banner_file.h"

#include "base/atomic_file.h"

namespace zeziza::store {

namespace {

constexpr const char* kBannerFile = "bj.jpg";

bool startsWith(std::string_view bytes, std::string_view magic) {
  return bytes.substr(0, magic.size()) == magic;
}

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
  base::writeFileAtomically(filesFolder / kBannerFile, bytes);
}

}  // namespace zeziza::store
