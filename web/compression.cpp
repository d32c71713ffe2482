#include "web/compression.h"

#include <zlib.h>

#include <stdexcept>

#include "base/text.h"
#include "web/html.h"

namespace zeziza::web {

namespace {

constexpr std::size_t kMinimumBytes = 1024;

bool compressible(const std::string& contentType) {
  return contentType.starts_with("text/") || contentType.find("javascript") != std::string::npos ||
         contentType.find("json") != std::string::npos ||
         contentType.find("svg") != std::string::npos;
}

// A page rendered straight into gzip carries its encoding already.
bool alreadyEncoded(const HttpResponse& response) {
  for (const auto& header : response.headers) {
    if (toLower(header.first) == "content-encoding") return true;
  }
  return false;
}

}  // namespace

struct GzipStream::Impl {
  z_stream stream{};
};

GzipStream::GzipStream() : impl_(std::make_unique<Impl>()) {
  // 15 + 16: a gzip header and trailer around the deflate stream.
  if (deflateInit2(&impl_->stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("zlib could not start");
  }
}

GzipStream::~GzipStream() {
  deflateEnd(&impl_->stream);
}

void GzipStream::deflateInto(std::string_view piece, int flush) {
  z_stream& stream = impl_->stream;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
  stream.avail_in = static_cast<uInt>(piece.size());
  int result = Z_OK;
  do {
    const std::size_t written = out_.size();
    const std::size_t room = deflateBound(&stream, stream.avail_in) + 64;
    out_.resize(written + room);
    stream.next_out = reinterpret_cast<Bytef*>(out_.data() + written);
    stream.avail_out = static_cast<uInt>(room);
    result = deflate(&stream, flush);
    out_.resize(written + room - stream.avail_out);
    if (result == Z_STREAM_ERROR) throw std::runtime_error("zlib could not compress");
  } while (flush == Z_FINISH ? result != Z_STREAM_END : stream.avail_in > 0);
}

void GzipStream::write(std::string_view piece) {
  if (!piece.empty()) deflateInto(piece, Z_NO_FLUSH);
}

std::string GzipStream::finish() {
  deflateInto({}, Z_FINISH);
  out_.shrink_to_fit();
  return std::move(out_);
}

std::string gzip(std::string_view data) {
  GzipStream stream;
  stream.write(data);
  return stream.finish();
}

bool takesGzip(std::string_view acceptEncoding) {
  const std::string accepted = toLower(acceptEncoding);
  std::size_t from = 0;
  while (from <= accepted.size()) {
    const auto comma = std::min(accepted.find(',', from), accepted.size());
    const std::string_view item =
        base::trimmedView(std::string_view(accepted.data() + from, comma - from));
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

void compressIfAccepted(HttpResponse& response, bool acceptsGzip) {
  if (alreadyEncoded(response) || response.status != 200 || response.body.size() < kMinimumBytes ||
      !compressible(response.contentType)) {
    return;
  }
  response.headers.emplace_back("Vary", "Accept-Encoding");
  if (!acceptsGzip) return;
  response.body = gzip(response.body);
  response.headers.emplace_back("Content-Encoding", "gzip");
}

}  // namespace zeziza::web
