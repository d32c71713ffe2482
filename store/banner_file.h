#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zeziza::store {

// The banner picture at the top of the login page and the navigation bar: files/bj.jpg.
inline constexpr std::size_t kMaxBannerBytes = 2 * 1024 * 1024;

enum class PictureKind { Unknown, Jpeg, Png };
// What a file is, judged by its first bytes (never by its name).
PictureKind pictureKind(std::string_view bytes);

// The banner's address for an image control; it changes when the banner is replaced, so
// browsers do not keep showing the old picture from their cache.
std::string bannerAddress(const std::filesystem::path& filesFolder);

// Replaces files/bj.jpg with `bytes`: written to a side file, flushed, then renamed over the
// old one, so a reader sees the old or the new picture, never a part.
void saveBanner(const std::filesystem::path& filesFolder, std::string_view bytes);

}  // namespace zeziza::store
