#pragma once

// Shared arrangement of the score entry page tests: a server, a signed-in browser, students
// and a look at their score rows.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pages/common/rights.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/settings.h"
#include "store/users.h"
#include "tests/pages/common/sign_in.h"
#include "tests/support/page_driver.h"
#include "web/user_session.h"

namespace zeziza::testing {

struct ScoreRow {
  std::int64_t id = 0;
  std::vector<double> scores;  // k1 … k12
  double zf = 0;
  double pj = 0;
};

class EntryTest : public ::testing::Test {
 protected:
  static constexpr const char* kExam = "期中";

  // The login state the sign-in would leave, with the default exam it read.
  void signIn(BrowserSession& browser, const std::string& code, const std::string& user) {
    store::writeSetting(server.db(), store::key::kDefaultExam, kExam);
    browser.user().login.rights = pages::parseRightsCode(code);
    browser.user().login.userName = user;
    browser.user().login.defaultExam = kExam;
    browser.user().login.grades = {"七年级", "八年级"};
    browser.user().login.permitted =
        code == "5" ? store::accountPlace(server.db(), user) : store::Scope{};
  }

  std::int64_t addStudent(const std::string& number, const std::string& name,
                          const std::string& unit = "中心校区", const std::string& grade = "七年级",
                          const std::string& cls = "一班") {
    server.db().exec("insert into ks (id,xm,xx,nj,bj) values (?,?,?,?,?)",
                     {number, name, unit, grade, cls});
    return server.db().lastInsertId();
  }

  // A score row as an earlier write left it.
  void putRow(const std::string& number, std::vector<double> first, double zf, double pj,
              const std::string& exam = kExam) {
    store::Query q(connection);
    q.open("select bh from ks where id=?", {number});
    const std::int64_t bh = q.field("bh").asInt();
    first.resize(12);
    std::vector<store::Value> params{exam, bh, exam + "!&" + std::to_string(bh), zf, pj};
    std::string sql = "insert into cj (ks,kh,test,zf,pj";
    for (int j = 1; j <= 12; ++j) sql += ",k" + std::to_string(j);
    sql += ") values (?,?,?,?,?";
    for (int j = 1; j <= 12; ++j) sql += ",?";
    sql += ")";
    for (double v : first) params.emplace_back(v);
    server.db().exec(sql, params);
  }

  // The score row of the student with exam number `number` in the default exam.
  std::optional<ScoreRow> rowOf(const std::string& number, const std::string& exam = kExam) {
    store::Query q(connection);
    q.open(
        "select cj.* from cj join ks on ks.bh=cj.kh where ks.id=? and cj.ks=? and "
        "cj.test=cj.ks||'!&'||cj.kh",
        {number, exam});
    if (q.eof()) return std::nullopt;
    EXPECT_EQ(q.recordCount(), 1u) << number;
    ScoreRow row{q.field("id").asInt(), {}, q.field("zf").asDouble(), q.field("pj").asDouble()};
    for (int j = 1; j <= 12; ++j) row.scores.push_back(q.field("k" + std::to_string(j)).asDouble());
    return row;
  }

  int rowCount() {
    store::Query q(connection);
    q.open("select count(*) as n from cj");
    return static_cast<int>(q.field("n").asInt());
  }

  // A posted value replaced, as a forged post would carry it.
  static void setField(web::PostedForm& form, const std::string& name, const std::string& value) {
    form.fields.erase(name);
    form.fields.emplace(name, value);
  }

  // Twelve score columns from the first few.
  static std::vector<double> scores(std::vector<double> first) {
    first.resize(12);
    return first;
  }

  TestServer server;
  store::Connection connection{server.folder() / "data"};
};

}  // namespace zeziza::testing
