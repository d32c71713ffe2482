#include "results/school_pages.h"

#include "results/form_fields.h"
#include "results/student_pages.h"

namespace zeziza::results {

namespace {

std::string rankingAddress(std::int64_t school, std::int64_t exam, const cloud::RankingKey& key) {
  return resultAddress(school) + "&xm=" + std::to_string(exam) +
         "&nj=" + std::to_string(key.grade) + "&dw=" + std::to_string(key.unit) +
         "&bc=" + std::to_string(key.cls) + "&km=" + std::to_string(key.subject);
}

void rankingList(web::HtmlWriter& out, const SchoolView& view) {
  out.raw("<h3>名次表</h3><ul class=\"rs-rankings\" id=\"rankings\">");
  for (const auto& entry : view.rankings) {
    out.raw("<li><a")
        .attr("href", rankingAddress(view.school, view.exam, entry.key))
        .raw(">")
        .text(rankingCaption(entry))
        .raw("</a></li>");
  }
  out.raw("</ul>");
}

// Resetting a student's password: the new one is random and shown once, on this answer only.
void resetForm(web::HtmlWriter& out, const SchoolView& view) {
  if (view.issued) {
    out.raw("<p class=\"panel\" id=\"issued\">")
        .text(view.issued->name + "（考号 " + view.issued->student + "）的新初始密码：")
        .raw("<strong id=\"issuedpassword\">")
        .text(view.issued->password)
        .raw("</strong>")
        .text("。只显示这一次，请记下后交给学生；学生登录后须设置自己的密码。")
        .raw("</p>");
  }
  out.raw("<details class=\"rs-details\"><summary>重置学生密码</summary><form method=\"post\"")
      .attr("class", "panel rs-form")
      .attr("action", resultAddress(view.school))
      .raw(">");
  hiddenInput(out, field::kForm, form::kPasswordReset);
  labelledInput(out, "考号", field::kStudent, "text");
  submitButton(out, "重置密码");
  out.raw("</form></details>");
}

}  // namespace

std::string rankingCaption(const cloud::RankingEntry& entry) {
  std::string caption = entry.grade;
  for (const auto* part : {&entry.unit, &entry.cls, &entry.subject}) {
    if (!part->empty()) caption += " " + *part;
  }
  return caption;
}

std::string schoolPage(const SchoolView& view) {
  web::HtmlWriter out;
  out.raw("<div class=\"rs-who rs-school\">学校管理员（注册编号 ")
      .text(std::to_string(view.school))
      .raw("）");
  signOutForm(out, view.school);
  out.raw("</div>");
  resetForm(out, view);
  if (view.exams.empty()) {
    out.raw("<p class=\"panel\" id=\"noexam\">尚未上传任何考试成绩。</p>");
    return framePage(schoolTitle(view.school, view.schoolName), view.notice, out.str());
  }
  examList(out, view.school, view.exams, view.exam);
  for (const auto& exam : view.exams) {
    if (exam.id == view.exam) out.raw("<h2 id=\"examname\">").text(exam.name).raw("</h2>");
  }
  if (view.rankingCaption) {
    out.raw("<h3>名次表：").text(*view.rankingCaption).raw("</h3>");
    out.raw("<pre class=\"panel rs-ranking\" id=\"ranking\">").text(view.rankingText).raw("</pre>");
    out.raw("<p><a")
        .attr("href", resultAddress(view.school) + "&xm=" + std::to_string(view.exam))
        .raw(">返回本次考试</a></p>");
  } else {
    out.raw("<h3>成绩统计</h3>");
    statisticsTable(out, view.statistics);
    rankingList(out, view);
  }
  return framePage(schoolTitle(view.school, view.schoolName), view.notice, out.str());
}

}  // namespace zeziza::results
