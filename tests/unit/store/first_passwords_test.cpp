#include "store/first_passwords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class FirstPasswordsTest : public ::testing::Test {
 protected:
  FirstPasswordsTest() {
    createDataSchema(folder.path() / "data");
    for (const auto& [id, name, unit, cls] :
         std::vector<std::tuple<const char*, const char*, const char*, const char*>>{
             {"803", "王五", "东校区", "一班"},
             {"801", "张三", "东校区", "一班"},
             {"802", "李四", "东校区", "二班"},
             {"901", "赵六", "西校区", "一班"},
             {"902", "钱七", "西校区", "一班"}}) {
      db.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, '初一', ?)",
              {Value(id), Value(name), Value(unit), Value(cls)});
    }
  }

  static std::vector<std::string> students(const std::vector<PasswordSlip>& slips) {
    std::vector<std::string> out;
    for (const auto& s : slips) out.push_back(s.student);
    return out;
  }

  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(FirstPasswordsTest, SlipsOfAScopeClassByClassInRosterOrder) {
  // 902 has none kept; 999 is no longer on the roster.
  keepFirstPasswords(db, 7,
                     {{"801", "pw801aaa"},
                      {"802", "pw802aaa"},
                      {"803", "pw803aaa"},
                      {"901", "pw901aaa"},
                      {"999", "pw999aaa"}});
  struct Case {
    std::string unit, grade, cls;
    std::vector<std::string> students;
  };
  const std::vector<Case> cases = {
      {"", "", "", {"803", "801", "802", "901"}},
      {"东校区", "", "", {"803", "801", "802"}},
      {"", "", "一班", {"803", "801", "901"}},
      {"东校区", "初一", "二班", {"802"}},
      {"西校区", "初一", "二班", {}},
      {"", "初二", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unit + "/" + c.grade + "/" + c.cls);
    EXPECT_EQ(students(readPasswordSlips(db, c.unit, c.grade, c.cls)), c.students);
  }
  const auto slips = readPasswordSlips(db, "东校区", "初一", "二班");
  ASSERT_EQ(slips.size(), 1u);
  EXPECT_EQ(slips[0].name, "李四");
  EXPECT_EQ(slips[0].account, 7);
  EXPECT_EQ(slips[0].password, "pw802aaa");
}

TEST_F(FirstPasswordsTest, ANewerPasswordReplacesTheOlderOne) {
  keepFirstPasswords(db, 7, {{"801", "first111"}, {"802", "first222"}});
  keepFirstPasswords(db, 7, {{"801", "again111"}});
  // Published later on another account: that account's slip is printed.
  keepFirstPasswords(db, 9, {{"802", "other222"}});
  const auto slips = readPasswordSlips(db, "东校区", "", "");
  ASSERT_EQ(students(slips), (std::vector<std::string>{"801", "802"}));
  EXPECT_EQ(slips[0].password, "again111");
  EXPECT_EQ(slips[0].account, 7);
  EXPECT_EQ(slips[1].password, "other222");
  EXPECT_EQ(slips[1].account, 9);
}

}  // namespace
}  // namespace zeziza::store
