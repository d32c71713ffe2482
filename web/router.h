#pragma once

#include <string>
#include <string_view>

#include "store/data_folder.h"
#include "web/http_types.h"
#include "web/security_headers.h"
#include "web/session_host.h"

namespace zeziza::web {

struct RouterSettings {
  bool ContentSecurityPolicy = kContentSecurityPolicyOn;
  std::string SessionTimeoutURL = "/files/err.html";
};

// Where a request goes: a page session's post, the start exchange, the static files of the
// data folder, the embedded resources, a session's cache files, or nowhere (404).
class Router {
 public:
  Router(const store::DataFolder& folder, SessionHost& sessions, RouterSettings settings)
      : folder_(folder), sessions_(sessions), settings_(std::move(settings)) {}

  // The answer, with the page headers (frames, types, content policy) on every one.
  HttpResponse handle(const HttpRequest& request);
  // Requests the event loop answers at once: files and resources, no page.
  static bool answersAtOnce(const HttpRequest& request);
  // Requests of one session, else of one client, run one at a time and take turns.
  static std::string turnKey(const HttpRequest& request);

 private:
  HttpResponse route(const HttpRequest& request);
  void addPageHeaders(HttpResponse& response) const;
  HttpResponse startExchange(const std::string& clientAddress);
  HttpResponse event(const HttpRequest& request);
  HttpResponse keepAlive(const std::string& sessionId);
  HttpResponse pageResponse(std::string html) const;

  const store::DataFolder& folder_;
  SessionHost& sessions_;
  RouterSettings settings_;
};

}  // namespace zeziza::web
