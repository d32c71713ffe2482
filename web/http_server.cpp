#include "web/http_server.h"

#include <microhttpd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "base/platform/process.h"
#include "base/platform/sockets.h"
#include "web/compression.h"
#include "web/form_reader.h"
#include "web/html.h"
#include "web/request_deadline.h"
#include "web/request_facts.h"
#include "web/work_queue.h"

namespace zeziza::web {

namespace {

// One request from its header to its answer.
struct Exchange {
  HttpRequest request;
  std::unique_ptr<FormReader> reader;
  std::optional<HttpResponse> answer;  // set by a worker before it resumes the connection
  bool malformed = false;
  bool started = false;  // the header has been read into `request`
};

std::string peerAddress(MHD_Connection* connection) {
  const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  if (!info || !info->client_addr) return {};
  char text[INET6_ADDRSTRLEN] = {};
  const sockaddr* addr = info->client_addr;
  if (addr->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(addr)->sin_addr, text, sizeof text);
  } else if (addr->sa_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(addr)->sin6_addr, text, sizeof text);
  }
  return text;
}

MHD_Result collectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
  static_cast<HttpRequest*>(cls)->headers.emplace(toLower(key), value ? value : "");
  return MHD_YES;
}

MHD_Result collectArgument(void* cls, MHD_ValueKind, const char* key, const char* value) {
  static_cast<HttpRequest*>(cls)->form.fields.emplace(key, value ? value : "");
  return MHD_YES;
}

// Refusals that the header alone decides, before any of the body is read: a chunked body
// would bypass the length limit.
std::optional<HttpResponse> refusedFromHeader(const HttpRequest& request) {
  if (request.method != "GET" && request.method != "POST" && request.method != "HEAD") {
    return HttpResponse::text(405, "Method not allowed");
  }
  if (toLower(request.header("transfer-encoding")).find("chunked") != std::string::npos) {
    return HttpResponse::text(411, "Length required");
  }
  const std::string length = request.header("content-length");
  if (length.empty()) return std::nullopt;
  std::uint64_t declared = 0;
  const auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), declared);
  if (error == std::errc::result_out_of_range || declared > limits::kMaxRequestBytes) {
    return HttpResponse::text(413, "Request too large");
  }
  if (error != std::errc() || end != length.data() + length.size()) {
    return HttpResponse::text(400, "Bad request");
  }
  return std::nullopt;
}

void freeBody(void* body) {
  delete static_cast<std::string*>(body);
}

constexpr const char* kNoSniffHeader = "X-Content-Type-Options";

// Browsers that saw an HTTPS answer ask for HTTPS alone for a year, so no later visit starts
// in plain text.
constexpr const char* kStrictTransport = "max-age=31536000";

MHD_Result send(MHD_Connection* connection, HttpResponse response, bool https) {
  auto body = std::make_unique<std::string>(std::move(response.body));
  MHD_Response* out = MHD_create_response_from_buffer_with_free_callback_cls(
      body->size(), body->data(), &freeBody, body.get());
  if (!out) return MHD_NO;
  body.release();  // the response frees it
  MHD_add_response_header(out, "Content-Type", response.contentType.c_str());
  bool nosniff = false;
  for (const auto& [name, value] : response.headers) {
    MHD_add_response_header(out, name.c_str(), value.c_str());
    nosniff = nosniff || name == kNoSniffHeader;
  }
  // Every answer, refusals and errors too: a browser never guesses another type.
  if (!nosniff) MHD_add_response_header(out, kNoSniffHeader, "nosniff");
  if (https) MHD_add_response_header(out, "Strict-Transport-Security", kStrictTransport);
  const MHD_Result queued =
      MHD_queue_response(connection, static_cast<unsigned>(response.status), out);
  MHD_destroy_response(out);
  return queued;
}

}  // namespace

unsigned connectionLimit() {
  const long files = platform::openFileLimit();
  if (files < 0) return static_cast<unsigned>(limits::kMaxConnections);  // no such limit
  const auto limit = static_cast<unsigned long>(files);
  const auto available =
      limit > limits::kFilesKeptFree * 2 ? limit - limits::kFilesKeptFree : limit / 2;
  return static_cast<unsigned>(std::min<unsigned long>(available, limits::kMaxConnections));
}

HttpResponse busyAnswer(std::chrono::seconds retryAfter) {
  auto response = HttpResponse::text(503, "服务器繁忙，请稍后再试。");
  response.headers.emplace_back("Retry-After", std::to_string(retryAfter.count()));
  return response;
}

struct HttpServer::Impl {
  Handler handler;
  HttpServerOptions options;
  platform::Socket listener;
  MHD_Daemon* daemon = nullptr;
  std::unique_ptr<WorkQueue> workers;
  std::unique_ptr<RequestDeadline> deadline;

  void reportFailure(const std::string& text) const {
    if (options.onError) {
      options.onError(text);
    } else {
      std::fprintf(stderr, "%s\n", text.c_str());
    }
  }

  HttpResponse answer(const HttpRequest& request) {
    HttpResponse response;
    try {
      response = handler(request);
    } catch (const std::exception& e) {
      reportFailure("request " + request.path + " failed: " + e.what());
      response = HttpResponse::text(500, "Internal server error");
    } catch (...) {
      reportFailure("request " + request.path + " failed");
      response = HttpResponse::text(500, "Internal server error");
    }
    compressIfAccepted(response, request.facts.acceptsGzip);
    return response;
  }

  MHD_Result reply(MHD_Connection* connection, HttpResponse response) const {
    return send(connection, std::move(response), !options.tlsCertificate.empty());
  }

  static RequestDeadline::Connection* watched(MHD_Connection* connection) {
    const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info ? static_cast<RequestDeadline::Connection*>(info->socket_context) : nullptr;
  }

  HttpResponse busy(const HttpRequest& request) const {
    return options.busy ? options.busy(request) : busyAnswer(std::chrono::seconds(5));
  }

  // Runs the page event on a worker while the connection waits, suspended, in the loop.
  MHD_Result dispatch(MHD_Connection* connection, Exchange& exchange) {
    auto* watch = watched(connection);
    if (watch) watch->working = true;
    MHD_suspend_connection(connection);
    const std::string key =
        options.turnKey ? options.turnKey(exchange.request) : exchange.request.remoteAddr;
    const auto cost = options.costly && options.costly(exchange.request) ? WorkQueue::Cost::Costly
                                                                         : WorkQueue::Cost::Cheap;
    const auto queuedAt = std::chrono::steady_clock::now();
    const bool queued = workers->submit(
        key,
        [this, connection, &exchange, watch, queuedAt] {
          const auto waited = std::chrono::steady_clock::now() - queuedAt;
          const bool late = options.queueWaitLimit.count() > 0 && waited > options.queueWaitLimit;
          exchange.answer = late ? busy(exchange.request) : answer(exchange.request);
          if (watch) {
            watch->restart();  // the answer gets a full deadline to leave
            watch->working = false;
          }
          MHD_resume_connection(connection);
        },
        cost);
    if (!queued) {
      exchange.answer = busy(exchange.request);
      if (watch) watch->working = false;
      MHD_resume_connection(connection);
    }
    return MHD_YES;
  }

  MHD_Result onRequest(MHD_Connection* connection, const char* url, const char* method,
                       const char* data, size_t* size, void** context) {
    // The target callback starts every exchange; completedCallback ends it.
    if (!*context) *context = std::make_unique<Exchange>().release();
    auto& exchange = *static_cast<Exchange*>(*context);
    if (!exchange.started) {
      exchange.started = true;
      exchange.request.method = method;
      exchange.request.path = url;
      exchange.request.remoteAddr = peerAddress(connection);
      MHD_get_connection_values(connection, MHD_HEADER_KIND, &collectHeader, &exchange.request);
      MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &collectArgument,
                                &exchange.request);
      if (auto refusal = refusedFromHeader(exchange.request)) {
        return reply(connection, std::move(*refusal));
      }
      if (exchange.request.method == "POST") {
        exchange.reader = std::make_unique<FormReader>(connection, exchange.request.form);
      }
      return MHD_YES;
    }
    if (exchange.answer) {
      auto response = std::move(*exchange.answer);
      exchange.answer.reset();
      return reply(connection, std::move(response));
    }
    if (*size > 0) {
      if (exchange.reader && !exchange.malformed) {
        exchange.malformed = !exchange.reader->feed(data, *size);
      }
      *size = 0;
      return MHD_YES;
    }
    if (exchange.reader) exchange.reader->finish();
    if (exchange.malformed) return reply(connection, HttpResponse::text(400, "Bad request"));
    exchange.request.facts = readRequestFacts(exchange.request, options.trustedProxy);
    if (options.answersAtOnce && options.answersAtOnce(exchange.request)) {
      return reply(connection, answer(exchange.request));
    }
    return dispatch(connection, exchange);
  }

  static MHD_Result accessCallback(void* cls, MHD_Connection* connection, const char* url,
                                   const char* method, const char*, const char* data, size_t* size,
                                   void** context) {
    return static_cast<Impl*>(cls)->onRequest(connection, url, method, data, size, context);
  }

  // Sees the request target before the library splits off and decodes the query; the exchange
  // it starts becomes the request's context.
  static void* targetCallback(void*, const char* uri, MHD_Connection*) {
    auto exchange = std::make_unique<Exchange>();
    exchange->request.target = uri ? uri : "";
    return exchange.release();
  }

  static void completedCallback(void*, MHD_Connection* connection, void** context,
                                MHD_RequestTerminationCode) {
    delete static_cast<Exchange*>(*context);
    *context = nullptr;
    if (auto* watch = watched(connection)) watch->restart();
  }

  static void connectionCallback(void* cls, MHD_Connection* connection, void** socketContext,
                                 MHD_ConnectionNotificationCode code) {
    auto& self = *static_cast<Impl*>(cls);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      const auto* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
      if (info) *socketContext = self.deadline->opened(info->connect_fd);
    } else if (*socketContext) {
      self.deadline->closed(static_cast<RequestDeadline::Connection*>(*socketContext));
      *socketContext = nullptr;
    }
  }
};

HttpServer::HttpServer(Handler handler, HttpServerOptions options)
    : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  impl_->options = std::move(options);
}

HttpServer::~HttpServer() {
  stop();
}

int HttpServer::bind(const std::string& host, int port) {
  auto s = platform::listenOn(host, port, limits::kListenBacklog);
  const int bound = platform::boundPort(s);
  impl_->listener = std::move(s);
  return bound;
}

namespace {

// TLS 1.2 and 1.3 only; key exchanges with forward secrecy only (a stolen key never opens
// recorded traffic); the server's order of preference, not the client's.
constexpr const char* kTlsPriorities =
    "NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:"
    "%SERVER_PRECEDENCE";

// The daemon's HTTPS options, ended by MHD_OPTION_END; only that when serving plain HTTP.
// The strings must outlive the daemon's start (it copies them).
std::vector<MHD_OptionItem> tlsOptions(const HttpServerOptions& options) {
  std::vector<MHD_OptionItem> items;
  if (!options.tlsCertificate.empty()) {
    if (MHD_is_feature_supported(MHD_FEATURE_TLS) != MHD_YES) {
      throw std::runtime_error("此版本的传输层尚不支持 HTTPS");
    }
    items.push_back(
        {MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(options.tlsCertificate.c_str())});
    items.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(options.tlsKey.c_str())});
    items.push_back({MHD_OPTION_HTTPS_PRIORITIES, 0, const_cast<char*>(kTlsPriorities)});
  }
  items.push_back({MHD_OPTION_END, 0, nullptr});
  return items;
}

constexpr std::chrono::milliseconds kDeadlinePeriod{500};

// The library's event loop. Over TLS it is poll: its epoll loop spins on a handshake that
// waits for the client's bytes. Where the library has no epoll (Windows) it picks its best.
unsigned loopFlags(bool https) {
  const unsigned always =
      MHD_USE_INTERNAL_POLLING_THREAD | MHD_ALLOW_SUSPEND_RESUME | MHD_USE_TURBO;
  if (https) return always | MHD_USE_POLL | MHD_USE_TLS;
  return always |
         (MHD_is_feature_supported(MHD_FEATURE_EPOLL) == MHD_YES ? MHD_USE_EPOLL : MHD_USE_AUTO);
}

// The library's idle time-out. Over TLS none: one that ends a connection still in its
// handshake leaves it half closed, never released, and its loop spinning; the request
// deadline ends such a connection instead.
unsigned libraryTimeout(bool https) {
  return https ? 0u : static_cast<unsigned>(limits::kIdleTimeout.count());
}

}  // namespace

void HttpServer::start() {
  if (!impl_->listener.valid()) throw std::logic_error("bind before start");
  auto tls = tlsOptions(impl_->options);
  const bool https = !impl_->options.tlsCertificate.empty();
  const auto& options = impl_->options;
  impl_->deadline = std::make_unique<RequestDeadline>(
      options.requestDeadline, std::min(kDeadlinePeriod, options.requestDeadline / 4));
  impl_->workers =
      std::make_unique<WorkQueue>(options.workers > 0 ? options.workers : pageWorkerCount(),
                                  options.queuedPerKey, keptPageWorkers());
  if (options.costly) impl_->workers->limitCostly(options.costlyAtOnce);
  const unsigned loops = std::max(1u, std::thread::hardware_concurrency());
  impl_->daemon = MHD_start_daemon(
      loopFlags(https), 0, nullptr, nullptr, &Impl::accessCallback, impl_.get(),
      MHD_OPTION_LISTEN_SOCKET, impl_->listener.get(), MHD_OPTION_THREAD_POOL_SIZE, loops,
      MHD_OPTION_CONNECTION_TIMEOUT, libraryTimeout(https), MHD_OPTION_CONNECTION_LIMIT,
      connectionLimit(), MHD_OPTION_PER_IP_CONNECTION_LIMIT, options.connectionsPerAddress,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, limits::kHeaderBytes, MHD_OPTION_NOTIFY_COMPLETED,
      &Impl::completedCallback, impl_.get(), MHD_OPTION_URI_LOG_CALLBACK, &Impl::targetCallback,
      impl_.get(), MHD_OPTION_NOTIFY_CONNECTION, &Impl::connectionCallback, impl_.get(),
      MHD_OPTION_ARRAY, tls.data(), MHD_OPTION_END);
  if (!impl_->daemon) {
    throw std::runtime_error(https ? "HTTPS 无法启动：证书或私钥无效，或二者不匹配"
                                   : "the HTTP server could not start");
  }
  impl_->listener.release();  // the daemon closes it
}

void HttpServer::stop() {
  if (!impl_ || !impl_->daemon) return;
  // The workers finish what they hold and resume their connections before the loop ends.
  impl_->workers->stop();
  MHD_stop_daemon(impl_->daemon);
  impl_->daemon = nullptr;
  impl_->workers.reset();
  impl_->deadline.reset();
}

}  // namespace zeziza::web
