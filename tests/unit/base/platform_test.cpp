#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "base/platform/files.h"
#include "base/platform/text.h"
#include "tests/support/temp_folder.h"

namespace zeziza::platform {
namespace {

std::string contentOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder named in Chinese, as a school names its own.
std::filesystem::path chineseFolder(const testing::TempFolder& temp) {
  const auto folder = temp.path() / pathFromUtf8("成绩系统") / pathFromUtf8("数据");
  std::filesystem::create_directories(folder);
  return folder;
}

TEST(PlatformText, AUtf8PathComesBackAsItWent) {
  for (const std::string text : {"数据", "D:/成绩系统/数据", "plain", "é ü ß"}) {
    EXPECT_EQ(utf8Path(pathFromUtf8(text)), text);
  }
}

TEST(PlatformFiles, ASecondLockOnTheSameFileIsRefusedUntilTheFirstEnds) {
  testing::TempFolder temp;
  const auto file = chineseFolder(temp) / "zeziza.lock";
  {
    const FileLock first(file);
    ASSERT_TRUE(first.held());
    const FileLock second(file);
    EXPECT_FALSE(second.held());
  }
  const FileLock again(file);
  EXPECT_TRUE(again.held());
}

TEST(PlatformFiles, AReplacedFileInAChineseFolderHoldsTheNewBytesAndNoSideFileStays) {
  testing::TempFolder temp;
  const auto folder = chineseFolder(temp);
  const auto target = folder / pathFromUtf8("横幅.jpg");
  replaceFileDurably(target, "old");
  replaceFileDurably(target, std::string("new\0bytes", 9));
  EXPECT_EQ(contentOf(target), std::string("new\0bytes", 9));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
  EXPECT_EQ(files, 1u);
}

TEST(PlatformFiles, UniqueFilesGetNamesOfTheirOwn) {
  testing::TempFolder temp;
  const auto folder = chineseFolder(temp);
  const auto a = createUniqueFile(folder, "excel", ".xlsx");
  const auto b = createUniqueFile(folder, "excel", ".xlsx");
  EXPECT_NE(a, b);
  EXPECT_TRUE(std::filesystem::exists(a));
  EXPECT_EQ(a.extension(), ".xlsx");
  EXPECT_EQ(a.parent_path(), folder);
}

TEST(PlatformFiles, ReadingBeneathARootFindsFilesAndNothingElse) {
  testing::TempFolder temp;
  const auto root = chineseFolder(temp);
  std::filesystem::create_directories(root / "css");
  std::ofstream(root / "css" / "a.css") << "body{}";
  EXPECT_EQ(readFileBeneath(root, "css/a.css"), "body{}");
  EXPECT_EQ(readFileBeneath(root, "css/missing.css"), std::nullopt);
  EXPECT_EQ(readFileBeneath(root, "css"), std::nullopt);  // a folder is not a file
}

}  // namespace
}  // namespace zeziza::platform
