#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// Gzips the body of a text answer (pages, scripts, style sheets) when the client takes gzip
// and the body is worth it; leaves every other answer as it is.
void compressIfAccepted(HttpResponse& response, bool acceptsGzip);

// The gzip stream of `data`.
std::string gzip(std::string_view data);

// True when an Accept-Encoding header takes gzip ("gzip;q=0" refuses it).
bool takesGzip(std::string_view acceptEncoding);

// Gzips a text written in pieces, so a big answer never exists whole before it is compressed.
class GzipStream {
 public:
  GzipStream();
  ~GzipStream();
  GzipStream(const GzipStream&) = delete;
  GzipStream& operator=(const GzipStream&) = delete;

  void write(std::string_view piece);
  // The whole gzip stream; the stream takes nothing after it.
  std::string finish();

 private:
  void deflateInto(std::string_view piece, int flush);

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string out_;
};

}  // namespace zeziza::web
