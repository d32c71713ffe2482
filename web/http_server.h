#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "web/http_types.h"
#include "web/limits.h"

namespace zeziza::web {

struct HttpServerOptions {
  // Requests answered at once on the event loop (static files); all others run on the page
  // workers. Unset: every request runs on the workers.
  std::function<bool(const HttpRequest&)> answersAtOnce;
  // The key whose requests run one at a time and take turns with other keys on the workers.
  // Unset: the peer address.
  std::function<std::string(const HttpRequest&)> turnKey;
  // The reverse proxy whose forwarded client address is believed; empty: none.
  std::string trustedProxy;
  // Requests waiting for a worker under one key at most; more are answered `busy`.
  std::size_t queuedPerKey = limits::kQueuedEventsPerKey;
  // Worker threads at most; 0: pageWorkerCount().
  std::size_t workers = 0;
  // Requests that hold a core for a while (password hashes): at most `costlyAtOnce` run at
  // once, the others wait in line without a worker. Unset: none is costly.
  std::function<bool(const HttpRequest&)> costly;
  std::size_t costlyAtOnce = 0;
  // A request that waited longer than this for a worker is answered `busy` instead of run, so
  // an overloaded server still answers everyone at once. Zero: no limit.
  std::chrono::milliseconds queueWaitLimit{0};
  // The answer to a request the workers cannot take. Unset: a plain Chinese 503.
  std::function<HttpResponse(const HttpRequest&)> busy;
  // Open connections from one address at most; 0 for no limit (behind a proxy every
  // connection comes from the proxy).
  unsigned connectionsPerAddress = limits::kConnectionsPerAddress;
  // A request's header and body must arrive, and its answer leave, within this time; the
  // connection is shut otherwise. Also bounds a TLS handshake.
  std::chrono::milliseconds requestDeadline = limits::kRequestDeadline;
  // HTTPS with this certificate chain and private key (PEM text); plain HTTP when empty.
  std::string tlsCertificate;
  std::string tlsKey;
  // Told of a failure no client is told the cause of (a handler that threw); unset: stderr.
  std::function<void(const std::string&)> onError;
};

// The one place that knows the HTTP library: an event loop over epoll whose idle connections
// cost no thread, the page workers, size limits, the request deadline and compression. It
// turns the library's requests into HttpRequest and our responses back.
class HttpServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  explicit HttpServer(Handler handler, HttpServerOptions options = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds to `port` on `host` (0 picks a free port); returns the bound port or throws.
  int bind(const std::string& host, int port);
  // Serves on threads of its own until stop().
  void start();
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The open connections the server allows in all, from the process's open-file limit.
unsigned connectionLimit();
// The transport's own answer when the workers cannot take a request: 503, Chinese, and a
// Retry-After of `retryAfter` seconds.
HttpResponse busyAnswer(std::chrono::seconds retryAfter);

}  // namespace zeziza::web
