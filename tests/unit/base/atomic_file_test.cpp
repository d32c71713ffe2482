#include "base/atomic_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/temp_folder.h"

namespace zeziza::base {
namespace {

std::string contentOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t filesIn(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(AtomicFile, ReplacesTheFileWholeAndLeavesNoSideFile) {
  testing::TempFolder temp;
  const auto target = temp.path() / "bj.jpg";
  writeFileAtomically(target, "old");
  writeFileAtomically(target, std::string("new\0bytes", 9));
  EXPECT_EQ(contentOf(target), std::string("new\0bytes", 9));
  EXPECT_EQ(filesIn(temp.path()), 1u);
  const auto mode = std::filesystem::status(target).permissions();
  EXPECT_NE(mode & std::filesystem::perms::others_read, std::filesystem::perms::none);
}

TEST(AtomicFile, AFolderThatIsNotThereIsAnErrorWithTheCause) {
  testing::TempFolder temp;
  try {
    writeFileAtomically(temp.path() / "missing" / "bj.jpg", "x");
    ADD_FAILURE() << "written";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("cannot create"), std::string::npos) << e.what();
  }
  EXPECT_EQ(filesIn(temp.path()), 0u);
}

}  // namespace
}  // namespace zeziza::base
