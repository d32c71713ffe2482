#include "web/compression.h"

#include <zlib.h>

#include <stdexcept>

#include "web/html.h"

namespace zeziza::web {

namespace {

constexpr std::size_t kMinimumBytes = 1024;

bool compressible(const std::string& contentType) {
  return contentType.starts_with("text/") || contentType.find("javascript") != std::string::npos ||
         contentType.find("json") != std::string::npos ||
         contentType.find("svg") != std::string::npos;
}

// "gzip" named with a weight above zero ("gzip;q=0" refuses it).
bool takesGzip(std::string_view acceptEncoding) {
  const std::string accepted = toLower(acceptEncoding);
  std::size_t from = 0;
  while (from <= accepted.size()) {
    const auto comma = std::min(accepted.find(',', from), accepted.size());
    std::string_view item(accepted.data() + from, comma - from);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    if (item.starts_with("gzip")) {
      const auto q = item.find("q=");
      if (q == std::string_view::npos) return true;
      const std::string weight(item.substr(q + 2));
      return std::strtod(weight.c_str(), nullptr) > 0;
    }
    from = comma + 1;
  }
  return false;
}

}  // namespace

std::string gzip(std::string_view data) {
  z_stream stream{};
  // 15 + 16: a gzip header and trailer around the deflate stream.
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    throw std::runtime_error("zlib could not start");
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("zlib could not compress");
  return out;
}

void compressIfAccepted(HttpResponse& response, std::string_view acceptEncoding) {
  if (response.status != 200 || response.body.size() < kMinimumBytes ||
      !compressible(response.contentType)) {
    return;
  }
  response.headers.emplace_back("Vary", "Accept-Encoding");
  if (!takesGzip(acceptEncoding)) return;
  response.body = gzip(response.body);
  response.headers.emplace_back("Content-Encoding", "gzip");
}

}  // namespace zeziza::web
