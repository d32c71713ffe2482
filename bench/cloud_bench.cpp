// Publishing a generated district to a PostgreSQL service: preparation, roster and upload
// times, batched against one statement per round trip, and the floor of the same service in the
// same run: the published rows by one COPY into a staging table and one merge a table.
// Needs ZEZIZA_CLOUD_BENCH, the
// connection string of an empty database (bench/run-cloud-bench starts a throwaway server).
//
//   cloud_bench [students]   (default 20000; 9 subjects)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <random>

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "cloud/progress.h"
#include "cloud/publish_lock.h"
#include "cloud/schema.h"
#include "cloud/upload.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/transaction.h"

namespace {

using namespace zeziza;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kSubjects = {"语文", "数学", "英语", "物理", "化学",
                                            "生物", "政治", "历史", "地理"};
const std::vector<std::string> kUnits = {"中心校区", "东校区", "西校区", "南校区", "北校区"};
const std::vector<std::string> kGrades = {"初一", "初二", "初三", "高一", "高二", "高三"};
const std::vector<std::string> kClasses = {"一班", "二班", "三班", "四班", "五班",
                                           "六班", "七班", "八班", "九班", "十班"};

// Students spread over units, grades and classes, each with nine scores of the exam.
void generate(store::Database& data, int students) {
  std::mt19937 random(20260101);
  std::normal_distribution<double> score(72, 14);
  store::Transaction transaction(data);
  for (int i = 0; i < students; ++i) {
    const std::string number = std::to_string(100000 + i);
    data.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
              {number, "学生" + number, kUnits[i % kUnits.size()],
               kGrades[(i / kUnits.size()) % kGrades.size()],
               kClasses[(i / (kUnits.size() * kGrades.size())) % kClasses.size()]});
    const auto bh = data.lastInsertId();
    std::vector<store::Value> params = {"期中", bh, "期中!&" + std::to_string(bh)};
    double total = 0;
    for (std::size_t k = 0; k < kSubjects.size(); ++k) {
      const double s = std::clamp(std::round(score(random) * 2) / 2, 1.0, 100.0);
      total += s;
      params.emplace_back(s);
    }
    params.emplace_back(total);
    params.emplace_back(total / static_cast<double>(kSubjects.size()));
    data.exec(
        "insert into cj (ks, kh, test, k1, k2, k3, k4, k5, k6, k7, k8, k9, zf, pj) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        params);
  }
  transaction.commit();
}

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void report(const std::string& what, double secs, std::size_t rows) {
  std::cout << std::left << std::setw(44) << what << std::right << std::fixed
            << std::setprecision(2) << std::setw(8) << secs << " s";
  if (rows > 0) {
    std::cout << std::setw(10) << rows << " rows" << std::setw(10) << std::setprecision(0)
              << rows / secs << " rows/s";
  }
  std::cout << "\n";
}

// The floor: the rows a publication left in the service, sent again by one COPY per table into
// a staging table and one INSERT … SELECT … ON CONFLICT merge into a table defined as the
// original (keys and reference), all in one transaction. Returns the rows sent a second.
double copyMergeFloor(cloud::pg::Connection& service) {
  struct Table {
    const char* name;
    const char* keys;
    std::string rows;
  };
  std::vector<Table> tables = {{"cjb", "stuid, xmid, kmid", {}},
                               {"pmb", "xmid, njid, dwid, bcid, kmid", {}},
                               {"tjb", "xmid, kmid, grade, dwid, classid", {}}};
  std::size_t count = 0;
  service.exec("SET client_min_messages = warning");  // no notice for the first DROP IF EXISTS
  for (auto& t : tables) {
    const std::string name = t.name;
    service.execScript("DROP TABLE IF EXISTS floor_" + name + "; CREATE TABLE floor_" + name +
                       " (LIKE " + name +
                       " INCLUDING ALL, FOREIGN KEY (xmid) REFERENCES xmb (id))");
    count += static_cast<std::size_t>(service.copyOut("COPY " + name + " TO STDOUT", t.rows));
  }
  const auto start = Clock::now();
  cloud::pg::Transaction transaction(service);
  for (const auto& t : tables) {
    const std::string name = t.name;
    service.execScript("CREATE TEMP TABLE stage_floor_" + name +
                       " ON COMMIT DROP AS SELECT * FROM floor_" + name + " WITH NO DATA");
    service.copyIn("COPY stage_floor_" + name + " FROM STDIN", t.rows);
    service.exec("INSERT INTO floor_" + name + " SELECT * FROM stage_floor_" + name +
                 " ON CONFLICT (" + t.keys + ") DO NOTHING");
  }
  transaction.commit();
  const double secs = seconds(start);
  for (const auto& t : tables) service.execScript(std::string("DROP TABLE floor_") + t.name);
  return static_cast<double>(count) / secs;
}

cloud::PublishResult publish(const cloud::PublishRequest& request, const cloud::PublishLock& lock,
                             cloud::Progress& progress) {
  return cloud::publishExam(request, lock, progress);
}

}  // namespace

int main(int argc, char** argv) {
  const char* conninfo = std::getenv("ZEZIZA_CLOUD_BENCH");
  if (!conninfo) {
    std::cerr << "ZEZIZA_CLOUD_BENCH is not set (see bench/run-cloud-bench)\n";
    return 2;
  }
  const int students = argc > 1 ? std::atoi(argv[1]) : 20000;
  const auto folder =
      std::filesystem::temp_directory_path() / ("zeziza-cloud-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  store::createDataSchema(folder / "data");
  store::createTempSchema(folder / "temp");
  {
    store::Database data(folder / "data");
    generate(data, students);
  }
  cloud::pg::Connection service(conninfo);
  cloud::createSchema(service);
  const auto account = cloud::createAccount(service, "bench");
  cloud::Progress progress;
  std::cout << students << " students, " << kSubjects.size() << " subjects\n";

  cloud::PublishLock lock;
  auto lease = lock.tryAcquire();
  std::vector<std::string> subjects = kSubjects;
  subjects.insert(subjects.end(), {"平均分", "总分"});
  cloud::PreparationRequest prep{folder / "data", folder / "temp", conninfo, account,
                                 "期中",          kSubjects,       {},       kUnits,
                                 kGrades,         kClasses,        subjects};
  auto start = Clock::now();
  const auto prepared = cloud::prepare(prep, *lease, progress);
  report("preparation (scratch rows, 3 ranks, ids)", seconds(start), prepared.rows);

  // The first upload hashes a first password per student (argon2id, every core); the second
  // finds every student known and measures the batched transfer alone.
  const cloud::RosterRequest rosterRequest{folder / "data", conninfo, account, {}, prepared.loops};
  start = Clock::now();
  auto roster = cloud::uploadRoster(rosterRequest, progress);
  report("roster, first upload with first passwords", seconds(start), roster.sent);
  start = Clock::now();
  roster = cloud::uploadRoster(rosterRequest, progress);
  report("roster again, batched", seconds(start), roster.sent);

  cloud::PublishRequest request{folder / "data",
                                folder / "temp",
                                conninfo,
                                account,
                                "期中",
                                30,
                                prepared.loops,
                                {},
                                {90, 80, 60},
                                {60, 70, 80, 90},
                                prepared.preparation};
  start = Clock::now();
  auto sent = progress.sent();
  const std::clock_t cpu = std::clock();
  publish(request, lock, progress);
  const double publishSeconds = seconds(start);
  const double publishCpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
  const std::size_t published = progress.sent() - sent;
  report("publication, COPY batches of " + std::to_string(cloud::kRowsPerBatch) + " rows",
         publishSeconds, published);
  const double floor = copyMergeFloor(service);
  std::cout << "floor, the same rows by one COPY and one merge a table: " << std::fixed
            << std::setprecision(0) << floor << " rows/s; publication " << std::setprecision(2)
            << static_cast<double>(published) / publishSeconds / floor << "x of it (client CPU "
            << publishCpu << " s of the publication's " << publishSeconds << " s)\n";

  // The same kind of rows one statement per round trip, on one unit and grade to keep it short.
  cloud::PublishRequest part = request;
  part.loops.units = {{prepared.loops.units.names[0]}, {prepared.loops.units.ids[0]}};
  part.loops.grades = {{prepared.loops.grades.names[0]}, {prepared.loops.grades.ids[0]}};
  for (const int rowsPerBatch : {1, static_cast<int>(cloud::kRowsPerBatch)}) {
    service.exec("TRUNCATE cjb, pmb, tjb");
    part.rowsPerBatch = static_cast<std::size_t>(rowsPerBatch);
    start = Clock::now();
    sent = progress.sent();
    publish(part, lock, progress);
    report(std::string("one unit and grade, ") +
               (rowsPerBatch == 1 ? "one row per round trip" : "batched"),
           seconds(start), progress.sent() - sent);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
