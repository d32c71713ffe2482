// The cloud connection string and the maintenance commands on the command line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "host/options.h"

namespace zeziza::host {
namespace {

// Sets or clears ZEZIZA_CLOUD for one test and restores it afterwards.
class CloudEnvironment {
 public:
  explicit CloudEnvironment(const char* value) {
    if (const char* old = getenv("ZEZIZA_CLOUD")) old_ = old;
    if (value) {
      setenv("ZEZIZA_CLOUD", value, 1);
    } else {
      unsetenv("ZEZIZA_CLOUD");
    }
  }
  ~CloudEnvironment() {
    if (old_) {
      setenv("ZEZIZA_CLOUD", old_->c_str(), 1);
    } else {
      unsetenv("ZEZIZA_CLOUD");
    }
  }

 private:
  std::optional<std::string> old_;
};

TEST(CloudOptions, OptionThenEnvironment) {
  struct Case {
    std::vector<std::string> args;
    const char* environment;
    std::string cloud;
  };
  const std::vector<Case> cases = {
      {{"--cloud", "host=a dbname=b"}, nullptr, "host=a dbname=b"},
      {{"--cloud=postgresql://u@h/db"}, "host=env", "postgresql://u@h/db"},
      {{}, "host=env", "host=env"},
      {{}, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cloud);
    CloudEnvironment environment(c.environment);
    EXPECT_EQ(parseOptions(c.args).cloud, c.cloud);
  }
}

TEST(CloudOptions, ResultsSite) {
  EXPECT_EQ(parseOptions({}).resultsSite, "");
  EXPECT_EQ(parseOptions({"--results-site", "https://scores.example.org"}).resultsSite,
            "https://scores.example.org");
  EXPECT_EQ(parseOptions({"--results-site=http://h:8080/"}).resultsSite, "http://h:8080/");
  EXPECT_THROW(parseOptions({"--results-site"}), std::invalid_argument);
}

TEST(CloudOptions, Commands) {
  EXPECT_EQ(parseOptions({}).cloudCommand, CloudCommand::None);
  EXPECT_EQ(parseOptions({"--cloud-create-schema"}).cloudCommand, CloudCommand::CreateSchema);
  EXPECT_EQ(parseOptions({"--cloud-create-account", "--cloud", "x"}).cloudCommand,
            CloudCommand::CreateAccount);
  EXPECT_THROW(parseOptions({"--cloud"}), std::invalid_argument);
}

}  // namespace
}  // namespace zeziza::host
