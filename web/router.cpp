#include "web/router.h"

#include <algorithm>
#include <filesystem>

#include "base/embedded_file.h"
#include "web/client_address.h"
#include "web/hidden_fields.h"
#include "web/html.h"
#include "web/memory_return.h"
#include "web/origin_check.h"
#include "web/page_renderer.h"
#include "web/security_headers.h"
#include "web/static_files.h"

namespace zeziza::web {

namespace {

// Splits "/Files/a/b.css" into "files" and "a/b.css".
std::pair<std::string, std::string> splitCommand(std::string_view path) {
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  const auto slash = path.find('/');
  if (slash == std::string_view::npos) return {toLower(path), {}};
  return {toLower(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

HttpResponse notFound() {
  return HttpResponse::text(404, "找不到该页面或文件。");
}

HttpResponse resource(const HttpRequest& request, std::string_view name) {
  for (const auto& file : embeddedFiles_resources()) {
    if (file.name != name) continue;
    const std::string etag = "\"" + std::string(resourceVersion()) + "\"";
    if (request.header("if-none-match") == etag) {
      HttpResponse r;
      r.status = 304;
      r.body.clear();
      return r;
    }
    HttpResponse r;
    r.contentType = contentTypeFor(std::string(name));
    r.body = std::string(file.bytes);
    r.headers.emplace_back("ETag", etag);
    r.headers.emplace_back("Cache-Control", "max-age=86400");
    return r;
  }
  return notFound();
}

HttpResponse fromFolder(const std::filesystem::path& root, std::string_view rest, bool cache) {
  auto file = fileInside(root, rest, cache);
  return file ? std::move(*file) : notFound();
}

}  // namespace

bool Router::answersAtOnce(const HttpRequest& request) {
  return request.method != "POST" && !splitCommand(request.path).first.empty();
}

std::string Router::turnKey(const HttpRequest& request) {
  const auto& session = request.facts.sessionId;
  return session && !session->empty() ? "session " + *session
                                      : "address " + request.facts.clientAddress;
}

// The page headers go on every answer, files and refusals too: an HTML file such as the
// error page is a page a frame or a script could abuse as well.
HttpResponse Router::handle(const HttpRequest& request) {
  HttpResponse response = route(request);
  addPageHeaders(response);
  return response;
}

void Router::addPageHeaders(HttpResponse& response) const {
  const auto has = [&response](std::string_view name) {
    return std::any_of(response.headers.begin(), response.headers.end(),
                       [name](const auto& header) { return header.first == name; });
  };
  const auto add = [&](const char* name, const char* value) {
    if (!has(name)) response.headers.emplace_back(name, value);
  };
  add("X-Frame-Options", "SAMEORIGIN");
  add("X-Content-Type-Options", "nosniff");
  if (settings_.ContentSecurityPolicy) add("Content-Security-Policy", kContentSecurityPolicy);
}

HttpResponse Router::route(const HttpRequest& request) {
  // Another site's page may post to us with ids it learnt; it changes nothing.
  if (crossOriginPost(request)) return HttpResponse::text(403, "Forbidden");
  if (request.facts.sessionId) {
    return request.form.value(field::kKeepAlive) == "1" ? keepAlive(*request.facts.sessionId)
                                                        : event(request);
  }
  const auto [command, rest] = splitCommand(request.path);
  if (command.empty()) {
    return request.method == "POST" ? HttpResponse::redirect(settings_.SessionTimeoutURL)
                                    : startExchange(request.facts.clientAddress);
  }
  if (command == "exec") return pageResponse(renderResumePage());
  if (command == "files") return fromFolder(folder_.files(), rest, true);
  if (command == "filesnc") return fromFolder(folder_.files(), rest, false);
  if (command == "js" || command == "css" || command == "gfx") return resource(request, rest);
  if (command == "favicon.ico" && rest.empty()) {
    const auto icon = resolveInside(folder_.files(), "favicon.ico");
    return icon ? fileResponse(*icon, true) : resource(request, "favicon.ico");
  }
  if (command == "stop") {
    sessions_.stop(rest);
    return HttpResponse::redirect(settings_.SessionTimeoutURL);
  }
  return notFound();
}

// Pages are never kept by the browser: nothing of a signed-out user is shown from its cache.
// Reload and the history ask for the page address afresh, which answers the current page.
HttpResponse Router::pageResponse(std::string html) const {
  HttpResponse r;
  r.body = std::move(html);
  r.headers.emplace_back("Cache-Control", "no-store");
  return r;
}

HttpResponse Router::keepAlive(const std::string& sessionId) {
  HttpResponse r;
  r.status = sessions_.keepAlive(sessionId) ? 204 : 410;
  r.headers.emplace_back("Cache-Control", "no-store");
  return r;
}

HttpResponse Router::startExchange(const std::string& clientAddress) {
  const auto session = sessions_.startSession(clientAddress);
  if (!session) {
    return HttpResponse::text(503, "在线人数已满，请稍后再试。");
  }
  std::lock_guard lock(session->serving);
  return pageResponse(renderStartPage({session->id, ++session->trackId, {}, {}}));
}

HttpResponse Router::event(const HttpRequest& request) {
  const auto& facts = request.facts;
  const auto started = Clock::now();
  auto outcome =
      sessions_.postEvent(request.form, *facts.sessionId, facts.clientAddress, facts.acceptsGzip);
  if (Clock::now() - started >= kReturnMemoryAfter) returnFreedMemory();
  if (!outcome && request.form.value(field::kResync) == "1") {
    return startExchange(facts.clientAddress);
  }
  if (!outcome) return HttpResponse::redirect(settings_.SessionTimeoutURL);
  if (outcome->kind == EventOutcome::Kind::File) {
    HttpResponse r = fileResponse(outcome->file->path, false);
    setInlineName(r, outcome->file->downloadName);
    // An export is the click's answer alone: once read, no later request finds it.
    if (outcome->file->removeOnceRead) std::filesystem::remove(outcome->file->path);
    return r;
  }
  HttpResponse r = pageResponse(std::move(outcome->html));
  if (outcome->gzipped) {
    r.headers.emplace_back("Vary", "Accept-Encoding");
    r.headers.emplace_back("Content-Encoding", "gzip");
  }
  return r;
}

}  // namespace zeziza::web
