// The real server with the analysis journey page as its start page: sessions start signed in,
// with six students' scores stored, so the analysis journeys need no login.
#include <memory>

#include "tests/support/analysis_journey.h"
#include "tests/support/test_server_runner.h"

int main(int argc, char** argv) {
  return zeziza::testing::runTestServer(
      argc, argv, [] { return std::make_unique<zeziza::testing::AnalysisJourneyPage>(); });
}
