#pragma once

#include <functional>

#include "host/server_host.h"

namespace zeziza::testing {

// The main of a server the browser journeys start: blocks SIGTERM and SIGINT before any
// thread starts, builds the host from the command line with `startPage` and `settings`, lets
// `arrange` put data in place, prints "listening PORT" and serves until a signal.
int runTestServer(int argc, char** argv, web::PageFactory startPage,
                  const std::function<void(host::ServerHost&)>& arrange = nullptr,
                  web::ServerSettings settings = {});

}  // namespace zeziza::testing
