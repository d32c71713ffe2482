#include "cloud/upload.h"

#include <map>
#include <unordered_set>

#include "analysis/full_marks.h"
#include "analysis/number_format.h"
#include "cloud/accounts.h"
#include "cloud/batch_sender.h"
#include "cloud/first_passwords.h"
#include "cloud/pg.h"
#include "cloud/progress.h"
#include "cloud/publish_cleanup.h"
#include "cloud/publish_lock.h"
#include "cloud/scratch_index.h"
#include "cloud/service.h"
#include "store/database.h"
#include "store/first_passwords.h"
#include "store/statement.h"

namespace zeziza::cloud {

namespace {

// Finds a loop list entry's id by name, as the local store compares names.
class IdLookup {
 public:
  explicit IdLookup(const LoopList& list) {
    for (std::size_t i = 0; i < list.names.size() && i < list.ids.size(); ++i) {
      ids_.emplace(scopeKey(list.names[i]), std::to_string(list.ids[i]));
    }
  }
  const std::string* find(const std::string& name) const {
    const auto it = ids_.find(scopeKey(name));
    return it == ids_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, std::string> ids_;
};

pg::Param rankParam(const std::optional<std::int64_t>& rank) {
  if (!rank) return std::nullopt;
  return std::to_string(*rank);
}

// The published name of the rate basis: the results site heads the rates with it.
std::string_view rateBasisName(analysis::RateBasis rates) {
  return rates == analysis::RateBasis::Cumulative ? "累计" : "分段";
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One publication's walk over the scopes, sending through the batch sender.
class Publisher {
 public:
  Publisher(const PublishRequest& request, const ScratchIndex& index, BatchSender& sender,
            Progress& progress, std::int64_t project, std::int64_t publication)
      : request_(request),
        index_(index),
        sender_(sender),
        progress_(progress),
        project_(project),
        publication_(publication),
        x_(std::to_string(project)),
        p_(std::to_string(publication)) {
    pmb_ =
        sender_.shape({"pmb", {"xmid", "njid", "dwid", "bcid", "kmid", "pmmx", "发布号"}, 5, {}});
    tjb_ = sender_.shape({"tjb",
                          concat({"xmid", "kmid", "grade", "dwid", "classid"},
                                 concat(statisticsColumns(), {"分数段", "发布号", "比率口径"})),
                          5,
                          {}});
    cjb_ = sender_.shape(
        {"cjb",
         {"stuid", "xmid", "kmid", "成绩", "总排名", "校内排名", "班内排名", "发布号"},
         3,
         {}});
  }

  PublishResult run() {
    const auto& loops = request_.loops;
    const auto& choice = request_.choice;
    for (std::size_t k = 0; k < loops.subjects.names.size(); ++k) {
      const std::string& s = loops.subjects.names[k];
      const std::string K = std::to_string(loops.subjects.ids[k]);
      for (std::size_t n = 0; n < loops.grades.names.size(); ++n) {
        const std::string& g = loops.grades.names[n];
        const std::string N = std::to_string(loops.grades.ids[n]);
        const auto& rows = index_.grade(s, g);
        if (choice.gradeRanking) {
          progress_.log(">>总排序表 " + g + s);
          ranking(rows, K, N, "-1", "-1");
        }
        if (choice.gradeStatistics) {
          progress_.log(">>总统计表 " + g + s);
          statistics(rows, index_.enrolled(g), K, N, "-1", "-1");
        }
        units(s, K, g, N);
      }
    }
    // What this publication did not send goes with its last rows, so the site shows the
    // school's rows as they are, never a mix.
    const PublicationScope scope{request_.account, project_, publication_, request_.loops,
                                 request_.choice};
    sender_.flush([&scope](pg::Connection& service) { removeUnsent(service, scope); });
    return result_;
  }

 private:
  void units(const std::string& s, const std::string& K, const std::string& g,
             const std::string& N) {
    const auto& loops = request_.loops;
    const auto& choice = request_.choice;
    for (std::size_t u = 0; u < loops.units.names.size(); ++u) {
      const std::string& d = loops.units.names[u];
      const std::string D = std::to_string(loops.units.ids[u]);
      const auto& rows = index_.unit(s, g, d);
      if (choice.unitRanking && !rows.empty()) {
        progress_.log(">>排序表|" + d + g + s);
        ranking(rows, K, N, D, "-1");
      }
      if (choice.unitStatistics && rows.size() >= 2) {
        progress_.log(">>统计表|" + d + g + s);
        statistics(rows, index_.enrolled(g, d), K, N, D, "-1");
      }
      for (std::size_t c = 0; c < loops.classes.names.size(); ++c) {
        inClass(s, K, g, N, d, D, loops.classes.names[c], std::to_string(loops.classes.ids[c]));
      }
    }
  }

  void inClass(const std::string& s, const std::string& K, const std::string& g,
               const std::string& N, const std::string& d, const std::string& D,
               const std::string& c, const std::string& C) {
    const auto& choice = request_.choice;
    const auto& rows = index_.inClass(s, g, d, c);
    if (choice.classRanking && !rows.empty()) {
      progress_.log(">>排序表|" + d + g + c + s);
      ranking(rows, K, N, D, C);
    }
    if (choice.classStatistics && rows.size() >= 2) {
      progress_.log(">>统计表|" + d + g + c + s);
      statistics(rows, index_.enrolled(g, d, c), K, N, D, C);
    }
    if (rows.empty()) return;
    progress_.log(">>上传数据:" + d + g + c + s);
    for (const ScratchScore* r : rows) {
      sender_.add(cjb_,
                  {r->stuid, x_, K, analysis::formatGeneral(r->score), rankParam(r->overallRank),
                   rankParam(r->unitRank), rankParam(r->classRank), p_});
      ++result_.scores;
    }
  }

  void ranking(const ScratchIndex::Rows& rows, const std::string& K, const std::string& N,
               const std::string& D, const std::string& C) {
    if (rows.empty()) return;
    sender_.add(pmb_, {x_, N, D, C, K, rankingText(rows, request_.rankMode), p_});
    ++result_.rankings;
  }

  void statistics(const ScratchIndex::Rows& rows, int enrolled, const std::string& K,
                  const std::string& N, const std::string& D, const std::string& C) {
    if (rows.empty()) return;  // no record, and no subject to scale to
    std::vector<double> values;
    values.reserve(rows.size());
    for (const ScratchScore* r : rows) values.push_back(r->score);
    analysis::ScoreLimits limits = analysis::scaledLimits(
        request_.thresholds, request_.bands,
        analysis::columnFullMark(rows.front()->subject, request_.subjectList, request_.fullMarks));
    limits.rates = request_.rates;
    const auto stats = analysis::computeStatistics(values, enrolled, limits);
    if (!stats) return;
    std::vector<pg::Param> params = {x_, K, N, D, C};
    for (auto& v : statisticsValues(*stats)) params.emplace_back(std::move(v));
    params.emplace_back(bandText(limits.bands, *stats));
    params.emplace_back(p_);
    params.emplace_back(std::string(rateBasisName(request_.rates)));
    sender_.add(tjb_, std::move(params));
    ++result_.statistics;
  }

  const PublishRequest& request_;
  const ScratchIndex& index_;
  BatchSender& sender_;
  Progress& progress_;
  std::int64_t project_ = 0;
  std::int64_t publication_ = 0;
  std::string x_;
  std::string p_;
  std::size_t pmb_ = 0, tjb_ = 0, cjb_ = 0;
  PublishResult result_;
};

// Logs where a failed upload stopped, so the user knows running it again completes it.
template <class F>
auto reportingFailure(Progress& progress, const BatchSender& sender, F&& work) {
  try {
    return work();
  } catch (const Cancelled&) {
    throw;
  } catch (const std::exception&) {
    progress.log(">>上传中断：已发送" + std::to_string(sender.sentRows()) +
                 "行，未完成的一批已撤回。重新执行本步骤即可补全");
    throw;
  }
}

}  // namespace

namespace {

// The students the account has on the service already.
std::unordered_set<std::string> knownStudents(pg::Connection& service, std::int64_t account) {
  const auto result = service.exec("SELECT zeziza_known_students($1)", {std::to_string(account)});
  std::unordered_set<std::string> known;
  for (int r = 0; r < result.rows(); ++r) known.insert(result.text(r, 0));
  return known;
}

struct RosterRow {
  std::string student, name, unit, grade, cls;
  bool known = false;
};

}  // namespace

RosterResult uploadRoster(const RosterRequest& request, Progress& progress) {
  progress.log(">>开始上传学生花名册");
  const IdLookup units(request.loops.units), grades(request.loops.grades),
      classes(request.loops.classes);
  pg::Connection service(request.conninfo);
  const auto known = knownStudents(service, request.account);
  RosterResult result;
  std::vector<RosterRow> rows;
  std::vector<store::FirstPassword> given;
  store::Database data(request.dataFile);
  {
    store::Statement students(data, "select id, xm, xx, nj, bj from ks order by bh");
    while (students.step()) {
      const auto* d = units.find(students.column(2).asText());
      const auto* n = grades.find(students.column(3).asText());
      const auto* c = classes.find(students.column(4).asText());
      if (!d || !n || !c) {
        ++result.skipped;
        continue;
      }
      RosterRow row{students.column(0).asText(), students.column(1).asText(), *d, *n, *c};
      row.known = known.contains(row.student);
      if (!row.known) {
        given.push_back({row.student,
                         request.sharedPassword ? *request.sharedPassword : randomFirstPassword()});
      }
      rows.push_back(std::move(row));
    }
  }
  std::vector<std::string> passwords;
  for (const auto& g : given) passwords.push_back(g.password);
  const auto hashes = hashEach(passwords, progress);
  // Kept before they are sent: a slip is never missing for a password the service holds.
  store::keepFirstPasswords(data, request.account, given);
  BatchSender sender(service, progress, request.rowsPerBatch, request.account);
  // The service keeps the password of a student it has; the placeholder of a known student
  // is never stored.
  const auto stu =
      sender.shape({"stu",
                    {"yhmid", "stuid", "姓名", "密码", "须改密码", "dwid", "njid", "bcid"},
                    2,
                    {"密码", "须改密码"}});
  const std::string account = std::to_string(request.account);
  reportingFailure(progress, sender, [&] {
    std::size_t next = 0;
    for (const auto& row : rows) {
      const std::string hash = row.known ? std::string() : hashes[next++];
      sender.add(stu, {account, row.student, row.name, hash, row.known ? "false" : "true", row.unit,
                       row.grade, row.cls});
      ++result.sent;
    }
    sender.flush();
    return 0;
  });
  result.added = given.size();
  if (result.added > 0) {
    progress.log(">>" + std::to_string(result.added) + "名新学生获得初始密码，可打印查询密码单");
  }
  if (result.skipped > 0) {
    progress.log(">>" + std::to_string(result.skipped) +
                 "名学生的单位、年级或班次不在上传范围内，未上传");
  }
  progress.log(">>上传学生花名册完成");
  return result;
}

PublishResult publishExam(const PublishRequest& request, const PublishLock& lock,
                          Progress& progress) {
  if (request.preparation == 0 || request.preparation != lock.currentPreparation()) {
    throw Refusal("本地成绩表已被重新准备，请重新执行第二步：数据准备。");
  }
  progress.log(">>获得项目ID");
  pg::Connection service(request.conninfo);
  const std::int64_t project = ensureProject(service, request.account, request.exam, request.days);
  const ScratchIndex index(request.tempFile, request.dataFile);
  BatchSender sender(service, progress, request.rowsPerBatch, request.account);
  Publisher publisher(request, index, sender, progress, project, newPublication(service));
  PublishResult result = reportingFailure(progress, sender, [&] { return publisher.run(); });
  result.project = project;
  progress.log(">>上报完成！");
  return result;
}

}  // namespace zeziza::cloud
