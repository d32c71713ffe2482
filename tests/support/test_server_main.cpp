// The real server with the smoke page as its start page, for the browser journeys that need
// a page of every control kind.

#include "host/server_host.h"
#include "tests/support/smoke_page.h"
#include "tests/support/test_server_runner.h"

int main(int argc, char** argv) {
  return zeziza::testing::runTestServer(
      argc, argv, [] { return std::make_unique<zeziza::testing::SmokePage>(); });
}
