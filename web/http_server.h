#pragma once

#include <functional>
#include <memory>
#include <string>

#include "web/http_types.h"

namespace zeziza::web {

// The one place that knows the HTTP library: turns its requests into HttpRequest and our
// responses back, with the worker pool, size limits and timeouts of limits.h.
class HttpServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  explicit HttpServer(Handler handler);
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds to `port` on all addresses (0 picks a free port); returns the bound port or throws.
  int bind(const std::string& host, int port);
  // Serves on a thread of its own until stop().
  void start();
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zeziza::web
