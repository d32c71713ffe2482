#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// The file under `root` that `relative` names, or nullopt when it names anything outside
// `root` (.., absolute paths, symlinks leading out) or no regular file.
std::optional<std::filesystem::path> resolveInside(const std::filesystem::path& root,
                                                   std::string_view relative);
// The content of the file under `root` that `relative` names, read through a descriptor the
// kernel resolved without leaving `root`; nullopt for the same names resolveInside refuses.
std::optional<std::string> readInside(const std::filesystem::path& root, std::string_view relative);
// The file under `root` that `relative` names as the answer, or nullopt.
std::optional<HttpResponse> fileInside(const std::filesystem::path& root, std::string_view relative,
                                       bool cacheable);
std::string contentTypeFor(const std::filesystem::path& file);
// A file as the answer; `cacheable` lets the browser keep it.
HttpResponse fileResponse(const std::filesystem::path& file, bool cacheable);
// Marks an answer to be shown inline under `name`.
void setInlineName(HttpResponse& response, std::string_view name);
std::string readFile(const std::filesystem::path& file);

}  // namespace zeziza::web
