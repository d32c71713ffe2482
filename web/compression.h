#pragma once

#include <string>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// Gzips the body of a text answer (pages, scripts, style sheets) when the client takes gzip
// and the body is worth it; leaves every other answer as it is.
void compressIfAccepted(HttpResponse& response, std::string_view acceptEncoding);

// The gzip stream of `data`.
std::string gzip(std::string_view data);

}  // namespace zeziza::web
