#include "base/platform/text.h"

namespace zeziza::platform {

std::filesystem::path pathFromUtf8(std::string_view text) {
  return std::filesystem::path(text);
}

std::string utf8Path(const std::filesystem::path& path) {
  return path.string();
}

std::vector<std::string> commandArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void useUtf8Console() {}

}  // namespace zeziza::platform
