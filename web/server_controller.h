#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "store/data_folder.h"
#include "web/app_context.h"
#include "web/http_types.h"
#include "web/limits.h"
#include "web/router.h"
#include "web/session_host.h"

namespace zeziza::web {

// The school server's settings: the session host's, the router's and these.
struct ServerSettings : SessionSettings, RouterSettings {
  int Port = 81;
  // The address of the reverse proxy in front of the server; empty when there is none.
  std::string TrustedProxy;
  // Read by the host into the application context: the address of the maker's web site
  // (help and home pages) and the libpq connection string of the cloud score service; empty
  // when not configured.
  std::string Site;
  // Address of the results site (registration, students' result pages); empty: none.
  std::string ResultsSite;
  std::string CloudConnection;
};

// The school server's request handling: the store every session borrows from, the session
// host and the router. Every session it starts is handed the host's application context.
class ServerController {
 public:
  ServerController(store::DataFolder folder, PageFactory startPage, AppContext& context,
                   ServerSettings settings = {});
  ServerController(const ServerController&) = delete;
  ServerController& operator=(const ServerController&) = delete;

  HttpResponse handle(const HttpRequest& request) { return router_.handle(request); }
  SessionHost& sessions() { return sessions_; }

  const ServerSettings& settings() const { return settings_; }
  const store::DataFolder& dataFolder() const { return folder_; }
  AppContext& context() const { return *context_; }
  // The writer of `data` and the connections requests borrow.
  store::SharedStore& store() { return store_; }

 private:
  store::DataFolder folder_;
  AppContext* context_;
  ServerSettings settings_;
  store::SharedStore store_;  // before the sessions, which borrow from it
  SessionHost sessions_;
  Router router_;
};

}  // namespace zeziza::web
