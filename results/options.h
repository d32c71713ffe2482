#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zeziza::results {

struct Options {
  std::string cloud;      // libpq connection string: --cloud, else $ZEZIZA_CLOUD
  std::string cloudRead;  // a streaming replica for the result views; empty: the primary
  int port = 8080;
  std::string listen = "0.0.0.0";
  std::string trustedProxy;
  std::filesystem::path cookieKeyFile = "zeziza-results.key";
  std::optional<std::string> cookieKey;  // $ZEZIZA_RESULTS_KEY, which wins over the file
  std::size_t connections = 8;           // database connections per pool
  bool help = false;
};

// Parses the command line and the environment; throws std::invalid_argument with a message.
Options parseOptions(const std::vector<std::string>& args);
std::string usage();

}  // namespace zeziza::results
