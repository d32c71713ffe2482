#include "web/server_controller.h"

#include <cstdio>

#include "web/embedded_file.h"
#include "web/html.h"
#include "web/page_renderer.h"
#include "web/static_files.h"

namespace zeziza::web {

namespace {

TIWServerController* currentController = nullptr;

// Splits "/Files/a/b.css" into "files" and "a/b.css".
std::pair<std::string, std::string> splitCommand(std::string_view path) {
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  const auto slash = path.find('/');
  if (slash == std::string_view::npos) return {toLower(path), {}};
  return {toLower(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

// Pages may be kept for the back button (an older page then resyncs when used), but are
// always asked for afresh.
HttpResponse pageResponse(std::string html) {
  HttpResponse r;
  r.body = std::move(html);
  r.headers.emplace_back("Cache-Control", "no-cache, private");
  r.headers.emplace_back("X-Frame-Options", "SAMEORIGIN");
  r.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return r;
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
    return r;
  }
  return notFound();
}

HttpResponse fromFolder(const std::filesystem::path& root, std::string_view rest, bool cache) {
  const auto file = resolveInside(root, rest);
  return file ? fileResponse(*file, cache) : notFound();
}

}  // namespace

std::string clientAddress(const HttpRequest& request) {
  const bool localProxy = request.remoteAddr == "127.0.0.1" || request.remoteAddr == "::1";
  if (localProxy) {
    std::string forwarded = request.header("x-forwarded-for");
    if (forwarded.empty()) forwarded = request.header("client-ip");
    if (!forwarded.empty()) return forwarded.substr(0, forwarded.find(','));
  }
  return request.remoteAddr;
}

TIWServerController::TIWServerController(store::DataFolder folder, PageFactory startPage,
                                         ServerSettings settings)
    : folder_(std::move(folder)),
      startPage_(std::move(startPage)),
      settings_(settings),
      store_(folder_),
      sessions_(settings.MaxSessions),
      previousInstance_(currentController) {
  currentController = this;
}

TIWServerController::~TIWServerController() {
  stopHousekeeping();
  endIdleSessions();
  currentController = previousInstance_;
}

TIWServerController* TIWServerController::instance() {
  return currentController;
}

HttpResponse TIWServerController::handle(const HttpRequest& request) {
  if (request.method == "POST" && request.form.get("IW_SessionID_")) return event(request);
  const auto [command, rest] = splitCommand(request.path);
  if (command.empty()) {
    return request.method == "POST" ? HttpResponse::redirect(settings_.SessionTimeoutURL)
                                    : startExchange();
  }
  if (command == "exec") return HttpResponse::redirect(settings_.SessionTimeoutURL);
  if (command == "files") return fromFolder(folder_.files(), rest, true);
  if (command == "filesnc") return fromFolder(folder_.files(), rest, false);
  if (command == "cache") return fromFolder(folder_.cache(), rest, false);
  if (command == "js" || command == "css" || command == "gfx") return resource(request, rest);
  if (command == "favicon.ico" && rest.empty()) {
    const auto icon = resolveInside(folder_.files(), "favicon.ico");
    return icon ? fileResponse(*icon, true) : resource(request, "favicon.ico");
  }
  if (command == "stop") return stop(rest);
  return notFound();
}

std::shared_ptr<Session> TIWServerController::startSession() {
  auto session = sessions_.create(folder_, store_);
  if (session) notifyCount();
  return session;
}

HttpResponse TIWServerController::startExchange() {
  const auto session = startSession();
  if (!session) {
    return HttpResponse::text(503, "在线人数已满，请稍后再试。");
  }
  std::lock_guard lock(session->serving);
  return pageResponse(renderStartPage({session->id, ++session->trackId, {}, {}}));
}

std::optional<EventOutcome> TIWServerController::postEvent(const PostedForm& form,
                                                           const std::string& address) {
  const auto session = sessions_.acquire(form.value("IW_SessionID_"));
  if (!session) return std::nullopt;
  std::optional<EventOutcome> outcome;
  try {
    std::lock_guard lock(session->serving);
    session->user->clientAddress = address;
    outcome = serveEvent(*session, form, startPage_);
  } catch (...) {
    sessions_.release(*session);
    throw;
  }
  sessions_.release(*session);
  return outcome;
}

HttpResponse TIWServerController::event(const HttpRequest& request) {
  auto outcome = postEvent(request.form, clientAddress(request));
  if (!outcome) return HttpResponse::redirect(settings_.SessionTimeoutURL);
  if (outcome->kind == EventOutcome::Kind::File) {
    HttpResponse r = fileResponse(outcome->file->path, false);
    setInlineName(r, outcome->file->downloadName);
    return r;
  }
  return pageResponse(std::move(outcome->html));
}

HttpResponse TIWServerController::stop(std::string_view id) {
  const auto ended = sessions_.takeIdle([&](const Session& s) { return s.id == id; });
  for (const auto& session : ended) endSession(*session);
  return HttpResponse::redirect(settings_.SessionTimeoutURL);
}

void TIWServerController::endSession(Session& session) {
  {
    std::lock_guard lock(session.serving);
    session.user.reset();  // pages first, then the connections
  }
  std::error_code ec;
  std::filesystem::remove_all(folder_.cache() / "user" / session.id, ec);
  notifyCount();
}

std::size_t TIWServerController::endIdleSessions() {
  const auto ended = sessions_.takeIdle([](const Session&) { return true; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

std::size_t TIWServerController::expireSessions(Clock::time_point now) {
  const auto ended = sessions_.takeIdle(
      [&](const Session& s) { return now - s.lastRequest >= settings_.SessionTimeout; });
  for (const auto& session : ended) endSession(*session);
  return ended.size();
}

void TIWServerController::purgeCache(std::filesystem::file_time_type now) {
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

void TIWServerController::startHousekeeping() {
  housekeepingStop_ = false;
  housekeeping_ = std::thread([this] { housekeepingLoop(); });
}

void TIWServerController::stopHousekeeping() {
  {
    std::lock_guard lock(housekeepingMutex_);
    housekeepingStop_ = true;
  }
  housekeepingWake_.notify_all();
  if (housekeeping_.joinable()) housekeeping_.join();
}

void TIWServerController::housekeepingLoop() {
  std::unique_lock lock(housekeepingMutex_);
  while (!housekeepingWake_.wait_for(lock, settings_.HousekeepingInterval,
                                     [this] { return housekeepingStop_; })) {
    lock.unlock();
    try {
      expireSessions(Clock::now());
      purgeCache(std::filesystem::file_time_type::clock::now());
    } catch (const std::exception& e) {
      // The next round tries again; the failure is reported, never hidden.
      std::fprintf(stderr, "housekeeping failed: %s\n", e.what());
    }
    lock.lock();
  }
}

void TIWServerController::setSessionCountListener(std::function<void(std::size_t)> listener) {
  std::lock_guard lock(listenerMutex_);
  countListener_ = std::move(listener);
}

void TIWServerController::notifyCount() {
  std::lock_guard lock(listenerMutex_);
  if (countListener_) countListener_(sessions_.count());
}

void TIWServerController::runSystemReset() {
  if (!systemReset_) throw std::logic_error("no system reset is installed");
  systemReset_();
}

}  // namespace zeziza::web
