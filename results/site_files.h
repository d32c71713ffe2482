#pragma once

#include <optional>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::results {

// The style sheets and picture the pages use, carried in the binary; nullopt for other paths.
std::optional<web::HttpResponse> siteFile(std::string_view path);

}  // namespace zeziza::results
