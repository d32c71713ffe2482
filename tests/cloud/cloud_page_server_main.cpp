// The real server for the cloud upload journey in a browser: the login page of a fresh install
// whose default exam 期中 has a few scored students, and a cloud service that is a fresh schema
// on the test server holding account 1 with the password "secret". Prints "cloud CONNINFO"
// (for the results site of the journey) and "listening PORT" once it listens.
#include <iostream>

#include "cloud/accounts.h"
#include "host/server_host.h"
#include "pages/common/start_page.h"
#include "store/database.h"
#include "store/settings.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/support/score_rows.h"
#include "tests/support/test_server_runner.h"

namespace {

using namespace zeziza;

void seedScores(const std::filesystem::path& dataFile) {
  store::Database data(dataFile);
  store::writeListSetting(data, store::key::kGrades, {"初一"});
  store::writeListSetting(data, store::key::kExams, {"期中"});
  store::writeSetting(data, store::key::kDefaultExam, "期中");
  const std::vector<std::pair<zeziza::testing::StudentRow, std::vector<double>>> students = {
      {{"801", "张三", "东校区", "初一", "一班"}, {90, 85, 70}},
      {{"802", "李四", "东校区", "初一", "一班"}, {85, 0, 95}},
      {{"803", "王五", "西校区", "初一", "二班"}, {60, 75, 80}},
  };
  for (const auto& [student, scores] : students) {
    zeziza::testing::addScores(data, zeziza::testing::addStudent(data, student), "期中", scores);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (zeziza::testing::cloudTestConninfo().empty()) {
    std::cerr << "ZEZIZA_CLOUD_TEST is not set\n";
    return 2;
  }
  zeziza::testing::CloudTestDatabase cloud;
  cloud::createAccount(cloud.db(), "secret");
  std::cout << "cloud " << cloud.conninfo() << std::endl;
  web::ServerSettings settings;
  settings.CloudConnection = cloud.conninfo();
  return zeziza::testing::runTestServer(
      argc, argv, pages::startPage(), [](host::ServerHost& host) { seedScores(host.folder().data()); },
      settings);
}
