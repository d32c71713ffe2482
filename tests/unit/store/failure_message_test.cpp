#include "store/failure_message.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "store/database.h"

namespace zeziza::store {
namespace {

TEST(FailureMessage, SaysWhatHappenedAndThatNothingWasSavedNeverTheStatement) {
  const std::vector<std::pair<int, std::string>> cases = {
      {SQLITE_FULL, "磁盘空间不足，本次操作未保存。"},
      {SQLITE_BUSY, "数据库正忙，本次操作未保存，请稍后再试。"},
      {SQLITE_BUSY_SNAPSHOT, "数据库正忙，本次操作未保存，请稍后再试。"},  // extended code
      {SQLITE_READONLY, "数据文件无法写入，本次操作未保存，请联系管理员。"},
      {SQLITE_IOERR_WRITE, "读写数据文件出错，本次操作未保存，请联系管理员。"},
      {SQLITE_CORRUPT, "读写数据文件出错，本次操作未保存，请联系管理员。"},
      {SQLITE_CONSTRAINT_UNIQUE, "数据库操作失败，本次操作未保存。"},
  };
  for (const auto& [code, message] : cases) {
    SCOPED_TRACE(code);
    const DatabaseError error("database or disk is full [insert into ks (id) values (?)]", code);
    EXPECT_EQ(failureMessage(error), message);
  }
}

}  // namespace
}  // namespace zeziza::store
