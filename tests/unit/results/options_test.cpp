// The results site's command line.
#include "results/options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace zeziza::results {
namespace {

// Clears the site's variables for one test and restores them afterwards.
class CleanEnvironment {
 public:
  CleanEnvironment() {
    for (const char* name : {"ZEZIZA_CLOUD", "ZEZIZA_RESULTS_KEY"}) {
      if (const char* old = getenv(name)) saved_.emplace_back(name, old);
      unsetenv(name);
    }
  }
  ~CleanEnvironment() {
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST(ResultsOptions, ValuesAndRefusals) {
  const CleanEnvironment clean;
  const auto options = parseOptions({"--cloud", "host=db", "--port=9000", "--trusted-proxy",
                                     "127.0.0.1", "--cookie-key-file", "/etc/k", "--cloud-read",
                                     "host=replica", "--connections", "4"});
  EXPECT_EQ(options.cloud, "host=db");
  EXPECT_EQ(options.cloudRead, "host=replica");
  EXPECT_EQ(options.port, 9000);
  EXPECT_EQ(options.trustedProxy, "127.0.0.1");
  EXPECT_EQ(options.cookieKeyFile, "/etc/k");
  EXPECT_EQ(options.connections, 4u);
  EXPECT_EQ(options.cookieKey, std::nullopt);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{},
                                             {"--port", "9000"},
                                             {"--cloud", "x", "--port", "70000"},
                                             {"--cloud"},
                                             {"--cloud", "x", "--connections", "0"},
                                             {"--cloud", "x", "--what"}}) {
    EXPECT_THROW(parseOptions(bad), std::invalid_argument) << bad.size();
  }
  EXPECT_TRUE(parseOptions({"--help"}).help);
}

TEST(ResultsOptions, EnvironmentFillsInTheDatabaseAndTheKey) {
  const CleanEnvironment clean;
  setenv("ZEZIZA_CLOUD", "host=env", 1);
  setenv("ZEZIZA_RESULTS_KEY", "abc", 1);
  EXPECT_EQ(parseOptions({}).cloud, "host=env");
  EXPECT_EQ(parseOptions({"--cloud", "host=option"}).cloud, "host=option");
  EXPECT_EQ(parseOptions({}).cookieKey, "abc");
  unsetenv("ZEZIZA_CLOUD");
  unsetenv("ZEZIZA_RESULTS_KEY");
}

}  // namespace
}  // namespace zeziza::results
