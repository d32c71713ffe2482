// zeziza-results: the site where students look up what their school published.
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <memory>
#include <thread>

#include "results/connection_pool.h"
#include "results/cookie_key.h"
#include "results/options.h"
#include "results/results_site.h"
#include "results/site_transport.h"
#include "web/http_server.h"

namespace {

using namespace zeziza;

// Blocks the stop signals in every thread, so that the main thread alone takes them.
sigset_t stopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

// Every student's connection is a file: the soft limit goes up to the hard one.
void raiseOpenFileLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= files.rlim_max) return;
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);  // a refusal leaves the old limit, which still works
}

int serve(const results::Options& options, const sigset_t& signals) {
  const auto key = results::loadCookieKey(options.cookieKey, options.cookieKeyFile);
  results::ConnectionPool primary(options.cloud, options.connections);
  std::unique_ptr<results::ConnectionPool> replica;
  if (!options.cloudRead.empty()) {
    replica = std::make_unique<results::ConnectionPool>(options.cloudRead, options.connections);
  }
  // Fails at start, not at the first visitor, when the database cannot be reached.
  { auto check = primary.lease(); }
  results::SiteSettings settings;
  settings.trustedProxy = options.trustedProxy;
  results::ResultsSite site(primary, replica ? *replica : primary, key, settings);
  results::TransportSizes sizes;
  sizes.cores = std::max(1u, std::thread::hardware_concurrency());
  raiseOpenFileLimit();
  web::HttpServer server([&site](const web::HttpRequest& request) { return site.handle(request); },
                         results::siteTransport(key, sizes));
  const int port = server.bind(options.listen, options.port);
  server.start();
  std::cout << "listening " << port << std::endl;
  int signal = 0;
  sigwait(&signals, &signal);
  server.stop();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const sigset_t signals = stopSignals();
  try {
    const auto options = results::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << results::usage();
      return 0;
    }
    return serve(options, signals);
  } catch (const std::invalid_argument& e) {
    std::cerr << e.what() << "\n" << results::usage();
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
