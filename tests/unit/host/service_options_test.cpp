// Options from the service's variables under the command line, and the HTTPS options.
#include <gtest/gtest.h>

#include <map>

#include "host/options.h"

namespace zeziza::host {
namespace {

Environment environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    const auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

TEST(ServiceOptions, VariablesUnderTheCommandLine) {
  const Options options =
      parseOptions({"--port", "8443"}, environmentOf({{"ZEZIZA_PORT", "81"},
                                                      {"ZEZIZA_DATA_DIR", "/var/lib/zeziza"},
                                                      {"ZEZIZA_BACKUP_KEEP", "30"},
                                                      {"ZEZIZA_BACKUP_HOUR", "23"},
                                                      {"ZEZIZA_CLOUD", "host=c"},
                                                      {"ZEZIZA_TLS_CERT", "/etc/c.pem"},
                                                      {"ZEZIZA_TLS_KEY", "/etc/k.pem"},
                                                      {"ZEZIZA_REDIRECT_HTTP", "80"},
                                                      {"ZEZIZA_HTTPS_HOST", "school.example"},
                                                      {"ZEZIZA_REQUEST_DEADLINE", "12"},
                                                      {"ZEZIZA_LOG_FORMAT", "json"},
                                                      {"ZEZIZA_SESSION_TIMEOUT", ""}}));
  EXPECT_EQ(options.port, 8443);
  EXPECT_EQ(options.dataDir, "/var/lib/zeziza");
  EXPECT_EQ(options.backupKeep, 30u);
  EXPECT_EQ(options.backupHour, 23);
  EXPECT_EQ(options.cloud, "host=c");
  EXPECT_EQ(options.tlsCert, "/etc/c.pem");
  EXPECT_EQ(options.tlsKey, "/etc/k.pem");
  EXPECT_EQ(options.redirectHttpPort, 80);
  EXPECT_EQ(options.httpsHost, "school.example");
  EXPECT_EQ(options.requestDeadlineSeconds, 12);
  EXPECT_EQ(options.logFormat, web::LogFormat::Json);
  EXPECT_EQ(options.sessionTimeoutSeconds, 0);  // an empty variable sets nothing
}

TEST(ServiceOptions, Refusals) {
  struct Case {
    std::vector<std::string> args;
    std::map<std::string, std::string> variables;
    std::string named;  // what the message must name
  };
  const std::vector<Case> cases = {
      {{}, {{"ZEZIZA_PORT", "eighty"}}, "ZEZIZA_PORT"},
      {{}, {{"ZEZIZA_BACKUP_HOUR", "24"}}, "ZEZIZA_BACKUP_HOUR"},
      {{"--log-format", "xml"}, {}, "--log-format"},
      {{"--tls-cert", "c.pem"}, {}, "--tls-key"},
      {{}, {{"ZEZIZA_TLS_KEY", "k.pem"}}, "--tls-cert"},
      {{"--redirect-http", "80"}, {}, "--redirect-http"},
      {{"--tls-cert", "c", "--tls-key", "k", "--port", "443", "--redirect-http", "443"},
       {},
       "--redirect-http"},
      {{"--redirect-http", "0", "--tls-cert", "c", "--tls-key", "k"}, {}, "--redirect-http"},
      // A host with a port, a path or a user would put more than a host in the Location.
      {{"--https-host", "school.example:8443"}, {}, "--https-host"},
      {{"--https-host", "evil.example/x"}, {}, "--https-host"},
      {{}, {{"ZEZIZA_HTTPS_HOST", "a@evil.example"}}, "--https-host"},
      {{"--request-deadline", "0"}, {}, "--request-deadline"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    try {
      parseOptions(c.args, environmentOf(c.variables));
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
  }
}

TEST(ServiceOptions, PlainDefaults) {
  const Options options = parseOptions({}, environmentOf({}));
  EXPECT_TRUE(options.tlsCert.empty());
  EXPECT_EQ(options.redirectHttpPort, 0);
  EXPECT_TRUE(options.httpsHost.empty());
  EXPECT_EQ(options.requestDeadlineSeconds, 0);
  EXPECT_EQ(options.logFormat, web::LogFormat::Text);
  EXPECT_EQ(
      parseOptions({"--log-format=text"}, environmentOf({{"ZEZIZA_LOG_FORMAT", "json"}})).logFormat,
      web::LogFormat::Text);
}

}  // namespace
}  // namespace zeziza::host
