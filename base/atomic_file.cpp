#include "base/atomic_file.h"

#include "base/platform/files.h"

namespace zeziza::base {

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  platform::replaceFileDurably(target, bytes);
}

}  // namespace zeziza::base
