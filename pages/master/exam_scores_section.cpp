#include "pages/master/exam_scores_section.h"

#include "pages/common/rights.h"
#include "store/exams.h"
#include "web/event_log.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

store::Database& data() {
  return web::currentSession().dataConnection.db();
}

std::string quoted(const std::string& exam) {
  return "“" + exam + "”";
}

}  // namespace

ExamScoresSection::ExamScoresSection(web::Container& parent)
    : web::Region(parent, "ExamScoresSection") {
  Css = "exam-scores";
  Exam.NoSelectionText = "选择考试";
  Ask.Caption = "【删除本次考试成绩】";
  Ask.OnClick = [this] { onAsk(); };
  Delete.Caption = "确认删除";
  Delete.OnClick = [this] { onDelete(); };
  Cancel.Caption = "取消";
  Cancel.OnClick = [this] { onCancel(); };
  TypedName.Css = "srk";
  Confirm.Visible = false;
}

void ExamScoresSection::load() {
  Visible = sessionRights() == rights::kSuperAdmin;
  Exam.Items = web::currentSession().login.exams;
  Exam.ItemIndex = -1;
  close();
}

void ExamScoresSection::ask(const std::string& exam, std::int64_t rows) {
  pending_ = Pending{exam, rows};
  Question.Caption = "考试" + quoted(exam) + "共有" + std::to_string(rows) +
                     "条成绩记录，将全部删除（删除前先备份数据）。请输入考试名称" + quoted(exam) +
                     "确认：";
  TypedName.Text.clear();
  Confirm.Visible = true;
  Exam.Enabled = false;
  Ask.Enabled = false;
}

void ExamScoresSection::close() {
  pending_.reset();
  Confirm.Visible = false;
  Exam.Enabled = true;
  Ask.Enabled = true;
}

void ExamScoresSection::onAsk() {
  if (!requireRights({rights::kSuperAdmin})) return;
  if (Exam.ItemIndex < 0) return web::ShowMessage("请先选择要删除成绩的考试");
  const std::string exam = Exam.text();
  const std::int64_t rows = store::examScoreRows(data(), exam);
  if (rows == 0) return web::ShowMessage("考试" + quoted(exam) + "没有成绩记录");
  ask(exam, rows);
}

void ExamScoresSection::onCancel() {
  close();
}

// What is deleted is exactly what the question named: the exam typed over, the rows counted.
void ExamScoresSection::onDelete() {
  if (!requireRights({rights::kSuperAdmin}) || !pending_) return;
  const Pending pending = *pending_;
  if (TypedName.Text != pending.exam) {
    return web::ShowMessage("输入的考试名称与" + quoted(pending.exam) + "不符，没有删除任何成绩");
  }
  web::Session& session = web::currentSession();
  const web::AppContext& context = session.context();
  try {
    context.takeBackup();
  } catch (const std::exception& e) {
    if (context.eventLog())
      context.eventLog()->error(std::string("删除成绩前备份失败: ") + e.what());
    return web::ShowMessage("备份数据失败，没有删除任何成绩");
  }
  const auto deleted = store::deleteExamScores(data(), pending.exam, pending.rows,
                                               {session.login.userName, "ExamsPage"});
  if (!deleted) {
    const std::int64_t now = store::examScoreRows(data(), pending.exam);
    if (now > 0) {
      ask(pending.exam, now);
    } else {
      close();
    }
    return web::ShowMessage("考试" + quoted(pending.exam) + "的成绩记录已变为" +
                            std::to_string(now) + "条，没有删除任何成绩，请重新确认");
  }
  if (context.eventLog()) {
    context.eventLog()->record(
        "exam_scores_deleted", pending.exam,
        {{"user", session.login.userName}, {"rows", std::to_string(*deleted)}});
  }
  close();
  web::ShowMessage("已删除考试" + quoted(pending.exam) + "的" + std::to_string(*deleted) +
                   "条成绩记录（删除前已备份数据），现在可以删除该考试项目");
}

}  // namespace zeziza::pages
