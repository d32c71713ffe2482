#pragma once

#include <string_view>
#include <vector>

namespace zeziza {

// A file carried inside the binary.
struct EmbeddedFile {
  std::string_view name;
  std::string_view bytes;
};

// The static files written into the data folder's files/ when missing.
const std::vector<EmbeddedFile>& embeddedFiles_static();
// The web layer's own scripts and style sheets, served under /js/ and /css/.
const std::vector<EmbeddedFile>& embeddedFiles_resources();
// A digest of those files' bytes: it changes whenever any of them does.
std::string_view embeddedVersion_resources();

}  // namespace zeziza
