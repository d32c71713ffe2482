#include "store/users.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class UsersTest : public ::testing::Test {
 protected:
  UsersTest() { createDataSchema(folder.path() / "data"); }
  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(UsersTest, AddRefusesATakenNameAndASecondFirstAdmin) {
  struct Case {
    std::string name;
    NewUser user;
    bool onlyWithoutSuperAdmin;
    AddUserResult result;
  };
  const std::vector<Case> cases = {
      {"first admin", {"Boss", "h1", 0, "", "", ""}, true, AddUserResult::Added},
      {"another first admin",
       {"boss2", "h2", 0, "", "", ""},
       true,
       AddUserResult::SuperAdminExists},
      {"name in other letter case", {"BOSS", "h3", 3, "", "", ""}, false, AddUserResult::NameTaken},
      {"class teacher",
       {"teacher", "h4", 5, "东校区", "2010级", "一班"},
       false,
       AddUserResult::Added},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(addUser(db, c.user, c.onlyWithoutSuperAdmin), c.result);
  }
  const auto boss = findUser(db, "boss");
  ASSERT_TRUE(boss);
  EXPECT_EQ(boss->name, "Boss");
  EXPECT_EQ(boss->passwordHash, "h1");
  EXPECT_EQ(boss->rightsCode, "0");
  EXPECT_EQ(accountPlace(db, "TEACHER"), Scope::place("东校区", "2010级", "一班"));
}

TEST_F(UsersTest, PasswordChangeAndRemovalOfOneUser) {
  addUser(db, {"boss", "old", 0, "", "", ""}, false);
  addUser(db, {"clerk", "kept", 3, "", "", ""}, false);
  EXPECT_TRUE(setPasswordHash(db, "Boss", "new"));
  EXPECT_FALSE(setPasswordHash(db, "nobody", "x"));
  EXPECT_EQ(findUser(db, "boss")->passwordHash, "new");
  EXPECT_EQ(findUser(db, "clerk")->passwordHash, "kept");
  deleteUser(db, "boss");
  EXPECT_FALSE(hasSuperAdmin(db));
  EXPECT_FALSE(findUser(db, "boss"));
  EXPECT_TRUE(findUser(db, "clerk"));
  EXPECT_EQ(accountPlace(db, "boss"), Scope::place("", "", ""));
}

// The stamp a session keeps from its sign-in: it changes with the account's rights, place and
// password, and an account made again under the same name, rights and hash is another one.
TEST_F(UsersTest, TheRightsStampNamesTheAccountItself) {
  addUser(db, {"teacher", "h1", 5, "东校区", "七年级", "一班"}, false);
  addUser(db, {"other", "h2", 3, "", "", ""}, false);
  const struct {
    std::string name;
    void (*change)(Database&);
  } cases[] = {
      {"made again",
       [](Database& d) {
         deleteUser(d, "teacher");
         addUser(d, {"teacher", "h1", 5, "东校区", "七年级", "一班"}, false);
       }},
      {"password", [](Database& d) { setPasswordHash(d, "teacher", "h9"); }},
      {"rights", [](Database& d) { changeRights(d, "teacher", 3, {}); }},
      {"class",
       [](Database& d) {
         changeRights(d, "teacher", 5, {"东校区", "七年级", "二班"});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = rightsStamp(db, "Teacher");
    const auto otherBefore = rightsStamp(db, "other");
    ASSERT_TRUE(before);
    c.change(db);
    EXPECT_NE(rightsStamp(db, "teacher"), before);
    EXPECT_EQ(rightsStamp(db, "other"), otherBefore);
  }
  deleteUser(db, "teacher");
  EXPECT_FALSE(rightsStamp(db, "teacher"));
}

}  // namespace
}  // namespace zeziza::store
