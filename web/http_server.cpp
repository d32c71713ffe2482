#include "web/http_server.h"

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "web/limits.h"

namespace zeziza::web {

namespace {

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

HttpRequest toRequest(const httplib::Request& req) {
  HttpRequest out;
  out.method = req.method;
  out.path = req.path;
  out.remoteAddr = req.remote_addr;
  for (const auto& [name, value] : req.headers) out.headers.emplace(lowered(name), value);
  for (const auto& [name, value] : req.params) out.form.fields.emplace(name, value);
  for (const auto& [name, part] : req.files) {
    if (part.filename.empty()) {
      out.form.fields.emplace(name, part.content);
    } else {
      out.form.files.push_back({name, part.filename, part.content_type, part.content});
    }
  }
  return out;
}

void toResponse(const HttpResponse& response, httplib::Response& res) {
  res.status = response.status;
  for (const auto& [name, value] : response.headers) res.set_header(name, value);
  res.set_content(response.body, response.contentType);
}

}  // namespace

struct HttpServer::Impl {
  httplib::Server server;
  Handler handler;
  std::thread thread;
};

HttpServer::HttpServer(Handler handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  auto& server = impl_->server;
  server.new_task_queue = [] { return new httplib::ThreadPool(limits::kWorkerThreads); };
  server.set_tcp_nodelay(true);
  server.set_keep_alive_max_count(limits::kKeepAliveMaxCount);
  server.set_keep_alive_timeout(limits::kKeepAliveTimeout.count());
  server.set_read_timeout(limits::kReadTimeout.count(), 0);
  server.set_write_timeout(limits::kWriteTimeout.count(), 0);
  server.set_payload_max_length(limits::kMaxRequestBytes);
  // Runs before the body is read: a chunked body would bypass the length limit.
  server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    const bool chunked =
        lowered(req.get_header_value("Transfer-Encoding")).find("chunked") != std::string::npos;
    const auto length = req.get_header_value<std::uint64_t>("Content-Length");
    if (chunked || length > limits::kMaxRequestBytes) {
      res.status = chunked ? 411 : 413;
      res.set_content(chunked ? "Length required" : "Request too large", "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  auto route = [this](const httplib::Request& req, httplib::Response& res) {
    toResponse(impl_->handler(toRequest(req)), res);
  };
  server.Get(".*", route);
  server.Post(".*", route);
  server.set_exception_handler(
      [](const httplib::Request& req, httplib::Response& res, std::exception_ptr error) {
        try {
          if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
          std::fprintf(stderr, "request %s failed: %s\n", req.path.c_str(), e.what());
        } catch (...) {
          std::fprintf(stderr, "request %s failed\n", req.path.c_str());
        }
        res.status = 500;
        res.set_content("Internal server error", "text/plain");
      });
}

HttpServer::~HttpServer() {
  stop();
}

int HttpServer::bind(const std::string& host, int port) {
  const bool ok = port == 0 ? (port = impl_->server.bind_to_any_port(host)) > 0
                            : impl_->server.bind_to_port(host, port);
  if (!ok) throw std::runtime_error("cannot listen on port " + std::to_string(port));
  return port;
}

void HttpServer::start() {
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
}

void HttpServer::stop() {
  if (!impl_ || !impl_->thread.joinable()) return;
  // stop() is ignored until the accept loop runs, so wait for it first.
  for (int i = 0; i < 5000 && !impl_->server.is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  impl_->server.stop();
  impl_->thread.join();
}

}  // namespace zeziza::web
