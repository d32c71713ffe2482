// Every sign-in and failed sign-in is a line of the event log: who and from where, never
// the password or the session.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/pages/common/sign_in.h"
#include "web/event_log.h"

namespace zeziza::testing {
namespace {

TEST(SignInLog, NamesUserAndAddressNeverThePassword) {
  struct Case {
    std::string name;
    std::string password;
    std::string event;
  };
  const std::vector<Case> cases = {
      {"boss", "Wrong-Pass-9", "signin-failed"},
      {"nobody", "Right-Pass-7", "signin-failed"},
      {"boss", "Right-Pass-7", "signin"},
  };
  TestServer server;
  addUser(server, "boss", "Right-Pass-7", 0);
  std::ostringstream out;
  web::EventLog log(out, web::LogFormat::Text);
  server.host().setEventLog(&log);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + "/" + c.password);
    out.str("");
    auto browser = server.browser();
    signIn(browser, c.name, c.password);
    const std::string line = out.str();
    EXPECT_NE(line.find(" " + c.event + " "), std::string::npos) << line;
    EXPECT_NE(line.find(" user=" + c.name + " address=127.0.0.1\n"), std::string::npos) << line;
    EXPECT_EQ(line.find(c.password), std::string::npos) << line;
    EXPECT_EQ(line.find(browser.id()), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace zeziza::testing
