#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "pages/signin/login_state.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/grid.h"

namespace zeziza::testing {

// A signed-in administrator with the subjects 数学 and 语文, the exams 期中 and 期末 and the
// grades 初一 and 初二; students and scores are added by each test.
class AnalysisTest : public ::testing::Test {
 protected:
  AnalysisTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.subjects = {"数学", "语文"};
      s.excellent = "90";
      s.good = "80";
      s.pass = "60";
      s.bands = {"60", "70", "80", "90"};
    });
    auto& user = b.user();
    user.login.userName = "admin";
    user.login.rights = 0;
    // As the sign-in builds them.
    user.login.subjects = store::numberSubjects({"数学", "语文"});
    user.login.exams = {"期中", "期末"};
    user.login.grades = {"初一", "初二"};
    user.login.defaultExam = "期中";
  }

  // Adds a student to the roster; returns its key `bh`.
  std::int64_t student(const std::string& id, const std::string& name,
                       const std::string& unit = "中心校区", const std::string& grade = "初一",
                       const std::string& cls = "一班") {
    server.db().exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
                     {id, name, unit, grade, cls});
    return server.db().lastInsertId();
  }

  // Stores a score row as the score write would: zf sums the scores above 0 and pj is their
  // mean with three decimals.
  void score(const std::string& exam, std::int64_t bh, double k1, double k2) {
    double sum = 0;
    int count = 0;
    for (const double v : {k1, k2}) {
      if (v > 0) {
        sum += v;
        ++count;
      }
    }
    const double mean =
        count > 0 ? static_cast<double>(std::llround(sum / count * 1000)) / 1000 : 0;
    scoreRow(exam, bh, k1, k2, sum, mean);
  }
  void scoreRow(const std::string& exam, std::int64_t bh, double k1, double k2, double zf,
                double pj) {
    server.db().exec("insert into cj (ks, kh, k1, k2, zf, pj, test) values (?, ?, ?, ?, ?, ?, ?)",
                     {exam, bh, k1, k2, zf, pj, exam + "!&" + std::to_string(bh)});
  }

  // The texts of a grid row, stored or read from the grid's row source.
  static std::vector<std::string> row(const web::Grid& grid, int r) { return grid.rowTexts(r); }
  static std::vector<std::vector<std::string>> rows(const web::Grid& grid) {
    std::vector<std::vector<std::string>> all;
    for (int r = 0; r < grid.rowCount(); ++r) all.push_back(row(grid, r));
    return all;
  }

  // Compares row by row, so a failure names the row that differs.
  static void expectRows(const web::Grid& grid,
                         const std::vector<std::vector<std::string>>& expected) {
    EXPECT_EQ(grid.rowCount(), static_cast<int>(expected.size()));
    for (int r = 0; r < grid.rowCount() && r < static_cast<int>(expected.size()); ++r) {
      SCOPED_TRACE("row " + std::to_string(r));
      EXPECT_EQ(row(grid, r), expected[static_cast<std::size_t>(r)]);
    }
  }

  TestServer server;
  BrowserSession b = server.browser();
};

}  // namespace zeziza::testing
