// The service's name tables and exam projects.
#include "cloud/service.h"

#include <gtest/gtest.h>

#include "cloud/accounts.h"
#include "tests/cloud/cloud_test_db.h"

namespace zeziza::cloud {
namespace {

class ServiceTest : public testing::CloudTest {};

TEST_F(ServiceTest, NewNameInsertedOnceAndFoundAgainInOrder) {
  auto& db = cloud().db();
  const auto first = lookupOrInsert(db, NameTable::Units, {"东校区", "O'Neil校区"});
  ASSERT_EQ(first.size(), 2u);
  const auto second = lookupOrInsert(db, NameTable::Units, {"O'Neil校区", "西校区", "东校区"});
  EXPECT_EQ(second[0], first[1]);
  EXPECT_EQ(second[2], first[0]);
  EXPECT_EQ(cloud().count("gxdw"), 3);
  EXPECT_TRUE(lookupOrInsert(db, NameTable::Grades, {}).empty());
  // Each kind of name has its own table.
  lookupOrInsert(db, NameTable::Subjects, {"东校区"});
  EXPECT_EQ(cloud().count("gxkm"), 1);
  EXPECT_EQ(cloud().count("gxdw"), 3);
}

TEST_F(ServiceTest, ProjectCreatedOnceKeepsItsPeriod) {
  auto& db = cloud().db();
  const auto account = createAccount(db, "pw");
  EXPECT_FALSE(findProject(db, account, "期中"));
  const auto id = ensureProject(db, account, "期中", 30);
  EXPECT_EQ(ensureProject(db, account, "期中", 365), id);
  EXPECT_EQ(cloud().count("xmb"), 1);
  db.exec("UPDATE xmb SET 上报时间 = '2026-03-01 08:30:05'");
  EXPECT_EQ(findProject(db, account, "期中")->periodEnd, "2026-03-31 08:30:05");
  db.exec("UPDATE xmb SET 上报时间 = '2026-03-01 00:00:00'");
  EXPECT_EQ(findProject(db, account, "期中")->periodEnd, "2026-03-31");
  // Another account's exam of the same name is its own project.
  const auto other = createAccount(db, "pw2");
  EXPECT_NE(ensureProject(db, other, "期中", 15), id);
}

}  // namespace
}  // namespace zeziza::cloud
