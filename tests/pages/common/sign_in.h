#pragma once

#include <string>

#include "store/database.h"
#include "store/settings.h"
#include "store/statement.h"
#include "tests/support/page_driver.h"

namespace zeziza::testing {

// Adds a user straight into `yh` with a hashed password, as the accounts page stores it.
inline void addUser(TestServer& server, const std::string& name, const std::string& password,
                    int code, const std::string& unit = "", const std::string& grade = "",
                    const std::string& className = "") {
  server.db().exec(
      "insert into yh (user, pass, qx, xx, nj, bc) values (?, ?, ?, ?, ?, ?)",
      {store::Value(name), store::Value(server.context().passwordHasher().hash(password)),
       store::Value(std::to_string(code)), store::Value(unit), store::Value(grade),
       store::Value(className)});
}

inline void setSetting(TestServer& server, std::string_view key, const std::string& value) {
  store::writeSetting(server.db(), key, value);
}

// Types the name and password on the login page and presses 登录.
inline void signIn(BrowserSession& browser, const std::string& name, const std::string& password) {
  browser.type("userNameEdit", name);
  browser.type("passwordEdit", password);
  browser.click("signInButton");
}

// The first column of the first row of `sql` as text; empty when there is no row.
inline std::string scalar(TestServer& server, const std::string& sql,
                          std::initializer_list<store::Value> params = {}) {
  store::Statement statement(server.db(), sql);
  statement.bindAll(std::span<const store::Value>(params.begin(), params.size()));
  return statement.step() ? statement.column(0).asText() : std::string();
}

}  // namespace zeziza::testing
