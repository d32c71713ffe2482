#include "web/server_controller.h"

#include <algorithm>
#include <cstdio>

#include "web/client_address.h"
#include "web/compression.h"
#include "web/embedded_file.h"
#include "web/html.h"
#include "web/memory_return.h"
#include "web/page_renderer.h"
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
  return HttpResponse::text(404, "Invalid command");
}

HttpResponse resource(const HttpRequest& request, std::string_view name) {
  for (const auto& file : embeddedFiles_resources()) {
    if (file.name != name) continue;
    const std::string etag = std::string("\"") + kResourceVersion + "\"";
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
    r.headers.emplace_back("X-Content-Type-Options", "nosniff");
    return r;
  }
  return notFound();
}

HttpResponse fromFolder(const std::filesystem::path& root, std::string_view rest, bool cache) {
  auto file = fileInside(root, rest, cache);
  return file ? std::move(*file) : notFound();
}

}  // namespace

ServerController::ServerController(store::DataFolder folder, PageFactory startPage,
                                         AppContext& context, ServerSettings settings)
    : folder_(std::move(folder)),
      startPage_(std::move(startPage)),
      context_(&context),
      settings_(std::move(settings)),
      store_(folder_),
      sessions_(settings_.MaxSessions, settings_.GuestSessionsPerAddress) {}

ServerController::~ServerController() {
  stopHousekeeping();
  endIdleSessions();
}

// Pages are never kept by the browser: nothing of a signed-out user is shown from its cache.
// Reload and the history ask for the page address afresh, which answers the current page.
HttpResponse ServerController::pageResponse(std::string html) const {
  HttpResponse r;
  r.body = std::move(html);
  r.headers.emplace_back("Cache-Control", "no-store");
  r.headers.emplace_back("X-Frame-Options", "SAMEORIGIN");
  r.headers.emplace_back("X-Content-Type-Options", "nosniff");
  if (settings_.ContentSecurityPolicy) {
    r.headers.emplace_back("Content-Security-Policy", kContentSecurityPolicy);
  }
  return r;
}

bool ServerController::answersAtOnce(const HttpRequest& request) {
  return request.method != "POST" && !splitCommand(request.path).first.empty();
}

std::string ServerController::turnKey(const HttpRequest& request) const {
  const std::string session = request.form.value("IW_SessionID_");
  return session.empty() ? "address " + clientAddress(request, settings_.TrustedProxy)
                         : "session " + session;
}

HttpResponse ServerController::handle(const HttpRequest& request) {
  // Another site's page may post to us with ids it learnt; it changes nothing.
  if (crossOriginPost(request)) return HttpResponse::text(403, "Forbidden");
  if (request.method == "POST" && request.form.get("IW_SessionID_")) {
    return request.form.value(kKeepAliveField) == "1" ? keepAlive(request) : event(request);
  }
  const auto [command, rest] = splitCommand(request.path);
  if (command.empty()) {
    return request.method == "POST" ? HttpResponse::redirect(settings_.SessionTimeoutURL)
                                    : startExchange(clientAddress(request, settings_.TrustedProxy));
  }
  if (command == "exec") return pageResponse(renderResumePage());
  if (command == "files") return fromFolder(folder_.files(), rest, true);
  if (command == "filesnc") return fromFolder(folder_.files(), rest, false);
  if (command == "cache") return cacheFile(rest);
  if (command == "js" || command == "css" || command == "gfx") return resource(request, rest);
  if (command == "favicon.ico" && rest.empty()) {
    const auto icon = resolveInside(folder_.files(), "favicon.ico");
    return icon ? fileResponse(*icon, true) : resource(request, "favicon.ico");
  }
  if (command == "stop") return stop(rest);
  return notFound();
}

// Only user/<id>/…, and only while session <id> lives: the id is what the request carries.
HttpResponse ServerController::cacheFile(std::string_view rest) {
  const auto [folder, inside] = splitCommand(rest);
  const auto slash = inside.find('/');
  if (folder != "user" || slash == std::string::npos ||
      !sessions_.contains(std::string_view(inside).substr(0, slash))) {
    return notFound();
  }
  return fromFolder(folder_.cache() / "user", inside, false);
}

std::shared_ptr<LiveSession> ServerController::startSession(const std::string& clientAddress) {
  auto created = sessions_.create(folder_, store_, *context_, clientAddress);
  for (const auto& session : created.displaced) endSession(*session);
  if (!created.session) return nullptr;
  created.session->keepAlive =
      std::max<std::chrono::milliseconds>(settings_.SessionTimeout / 3, std::chrono::seconds(1));
  notifyCount();
  return created.session;
}

HttpResponse ServerController::keepAlive(const HttpRequest& request) {
  const auto session = sessions_.acquire(request.form.value("IW_SessionID_"));
  HttpResponse r;
  r.status = session ? 204 : 410;
  if (session) sessions_.release(*session, session->signedIn);
  r.headers.emplace_back("Cache-Control", "no-store");
  return r;
}

HttpResponse ServerController::startExchange(const std::string& clientAddress) {
  const auto session = startSession(clientAddress);
  if (!session) {
    return HttpResponse::text(503, "在线人数已满，请稍后再试。");
  }
  std::lock_guard lock(session->serving);
  return pageResponse(renderStartPage({session->id, ++session->trackId, {}, {}}));
}

std::optional<EventOutcome> ServerController::postEvent(const PostedForm& form,
                                                           const std::string& address, bool gzip) {
  const auto session = sessions_.acquire(form.value("IW_SessionID_"));
  if (!session) return std::nullopt;
  std::optional<EventOutcome> outcome;
  bool signedIn = false;
  try {
    std::lock_guard lock(session->serving);
    session->user->clientAddress = address;
    outcome = serveEvent(*session, form, startPage_, gzip);
    signedIn = session->user->signedIn();
  } catch (...) {
    sessions_.release(*session, signedIn);
    throw;
  }
  sessions_.release(*session, signedIn);
  return outcome;
}

HttpResponse ServerController::event(const HttpRequest& request) {
  const std::string address = clientAddress(request, settings_.TrustedProxy);
  const auto started = Clock::now();
  auto outcome = postEvent(request.form, address, takesGzip(request.header("accept-encoding")));
  if (Clock::now() - started >= kReturnMemoryAfter) returnFreedMemory();
  if (!outcome && request.form.value(kResyncField) == "1") return startExchange(address);
  if (!outcome) return HttpResponse::redirect(settings_.SessionTimeoutURL);
  if (outcome->kind == EventOutcome::Kind::File) {
    HttpResponse r = fileResponse(outcome->file->path, false);
    setInlineName(r, outcome->file->downloadName);
    return r;
  }
  HttpResponse r = pageResponse(std::move(outcome->html));
  if (outcome->gzipped) {
    r.headers.emplace_back("Vary", "Accept-Encoding");
    r.headers.emplace_back("Content-Encoding", "gzip");
  }
  return r;
}

HttpResponse ServerController::stop(std::string_view id) {
  const auto ended = sessions_.takeIdle([&](const LiveSession& s) { return s.id == id; });
  for (const auto& session : ended) endSession(*session);
  return HttpResponse::redirect(settings_.SessionTimeoutURL);
}

void ServerController::endSession(LiveSession& session) {
  {
    std::lock_guard lock(session.serving);
    session.user.reset();  // pages first, then the connections
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_.cache() / "user" / session.id, ec);
  notifyCount();
}

std::size_t ServerController::endIdleSessions() {
  const auto ended = sessions_.takeIdle([](const LiveSession&) { return true; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

std::size_t ServerController::setAsideIdlePages(Clock::time_point now) {
  std::size_t setAside = 0;
  for (const auto& session : sessions_.idleGuests(now - settings_.SetAsideIdlePagesAfter)) {
    // A session a request has just taken keeps its page.
    std::unique_lock lock(session->serving, std::try_to_lock);
    if (lock && session->user && session->user->setAsideIdlePage()) ++setAside;
  }
  return setAside;
}

std::size_t ServerController::expireSessions(Clock::time_point now) {
  const auto ended = sessions_.takeIdle(
      [&](const LiveSession& s) { return now - s.lastRequest >= settings_.SessionTimeout; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

void ServerController::purgeCache(std::filesystem::file_time_type now) {
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(folder_.cache(), ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    const auto written = it->last_write_time(fileError);
    if (!fileError && now - written >= settings_.CacheExpiry) {
      std::filesystem::remove(it->path(), fileError);
    }
  }
}

void ServerController::startHousekeeping() {
  housekeepingStop_ = false;
  housekeeping_ = std::thread([this] { housekeepingLoop(); });
}

void ServerController::stopHousekeeping() {
  {
    std::lock_guard lock(housekeepingMutex_);
    housekeepingStop_ = true;
  }
  housekeepingWake_.notify_all();
  if (housekeeping_.joinable()) housekeeping_.join();
}

void ServerController::housekeepingLoop() {
  std::unique_lock lock(housekeepingMutex_);
  while (!housekeepingWake_.wait_for(lock, settings_.HousekeepingInterval,
                                     [this] { return housekeepingStop_; })) {
    lock.unlock();
    try {
      expireSessions(Clock::now());
      setAsideIdlePages(Clock::now());
      purgeCache(std::filesystem::file_time_type::clock::now());
      returnFreedMemory();  // what ended sessions held
    } catch (const std::exception& e) {
      // The next round tries again; the failure is reported, never hidden.
      if (eventLog_) {
        eventLog_->error(std::string("会话清理失败: ") + e.what());
      } else {
        std::fprintf(stderr, "housekeeping failed: %s\n", e.what());
      }
    }
    lock.lock();
  }
}

void ServerController::setSessionCountListener(std::function<void(std::size_t)> listener) {
  std::lock_guard lock(listenerMutex_);
  countListener_ = std::move(listener);
}

void ServerController::notifyCount() {
  std::lock_guard lock(listenerMutex_);
  if (countListener_) countListener_(sessions_.count());
}

}  // namespace zeziza::web
