#include "cloud/preparation.h"

#include "cloud/pg.h"
#include "cloud/progress.h"
#include "cloud/publish_lock.h"
#include "store/database.h"

namespace zeziza::cloud {

namespace {

LoopList loopList(pg::Connection& connection, NameTable table,
                  const std::vector<std::string>& names) {
  return {names, lookupOrInsert(connection, table, names)};
}

}  // namespace

PreparationResult prepare(const PreparationRequest& request, PublishLease& lease,
                          Progress& progress) {
  PreparationResult result;
  pg::Connection service(request.conninfo);
  {
    store::Database data(request.dataFile);
    store::Database temp(request.tempFile);
    progress.log(">>生成本地成绩表");
    lease.discardPreparation();
    result.rows =
        fillScratchTable(data, temp, request.exam, request.subjectList, progress, request.averages);
    progress.log(">>本地成绩表共" + std::to_string(result.rows) + "行");
    progress.log(">>本地成绩表排序");
    rankScratchTable(temp, request.ranks, progress);
  }
  result.project = findProject(service, request.account, request.exam);
  progress.log(">>梳理循环数据");
  result.loops.units = loopList(service, NameTable::Units, request.units);
  result.loops.grades = loopList(service, NameTable::Grades, request.grades);
  result.loops.classes = loopList(service, NameTable::Classes, request.classes);
  result.loops.subjects = loopList(service, NameTable::Subjects, request.subjects);
  result.preparation = lease.markPrepared();
  progress.log(">>梳理循环数据结束");
  return result;
}

}  // namespace zeziza::cloud
