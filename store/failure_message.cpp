#include "store/failure_message.h"

#include <sqlite3.h>

#include "store/database.h"

namespace zeziza::store {

std::string failureMessage(const DatabaseError& error) {
  switch (error.code() & 0xff) {  // the primary code of an extended one
    case SQLITE_FULL:
      return "磁盘空间不足，本次操作未保存。";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "数据库正忙，本次操作未保存，请稍后再试。";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
      return "数据文件无法写入，本次操作未保存，请联系管理员。";
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return "读写数据文件出错，本次操作未保存，请联系管理员。";
    default:
      return "数据库操作失败，本次操作未保存。";
  }
}

}  // namespace zeziza::store
