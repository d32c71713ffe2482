#include "results/student_pages.h"

#include <array>

#include "results/form_fields.h"

namespace zeziza::results {

namespace {

void openForm(web::HtmlWriter& out, std::int64_t school, std::string_view op,
              std::string_view css = "panel rs-form") {
  out.raw("<form method=\"post\"")
      .attr("class", css)
      .attr("action", resultAddress(school))
      .raw(">");
  hiddenInput(out, field::kForm, op);
}

std::string average(const std::vector<cloud::ScoreLine>& scores) {
  for (const auto& line : scores) {
    if (line.subject == "平均分") return line.score;
  }
  return {};
}

std::string scopeCaption(const cloud::StatisticsLine& line) {
  std::string scope = line.grade;
  if (!line.unit.empty()) scope += " " + line.unit;
  if (!line.cls.empty()) scope += " " + line.cls;
  return scope;
}

// Each rank named by what it covers: the grade over every unit, the unit's grade, the class.
void scoreTable(web::HtmlWriter& out, const std::vector<cloud::ScoreLine>& scores) {
  static constexpr std::array<const char*, 5> kHeads = {"科目", "成绩", "年级名次", "校内名次",
                                                        "班级名次"};
  out.raw("<div class=\"rs-scroll\"><table class=\"qbk rs-table\" id=\"scores\"><tr>");
  for (const char* head : kHeads) headCell(out, head);
  out.raw("</tr>");
  for (const auto& line : scores) {
    out.raw(line.subject == "总分" || line.subject == "平均分" ? "<tr class=\"rs-sum\">" : "<tr>");
    const std::array<const std::string*, kHeads.size()> values = {
        &line.subject, &line.score, &line.overallRank, &line.unitRank, &line.classRank};
    for (std::size_t c = 0; c < values.size(); ++c) cell(out, *values[c], kHeads[c]);
    out.raw("</tr>");
  }
  out.raw("</table></div>");
}

void passwordForm(web::HtmlWriter& out, std::int64_t school) {
  out.raw("<details class=\"rs-details\"><summary>修改密码</summary>");
  openForm(out, school, form::kPasswordChange);
  labelledInput(out, "原密码", field::kOldPassword, "password");
  labelledInput(out, "新密码", field::kNewPassword, "password");
  labelledInput(out, "确认新密码", field::kNewPasswordAgain, "password");
  submitButton(out, "修改密码");
  out.raw("</form></details>");
}

}  // namespace

std::string schoolTitle(std::int64_t school, const std::string& schoolName) {
  return (schoolName.empty() ? "注册编号" + std::to_string(school) : schoolName) + " 成绩查询";
}

void signOutForm(web::HtmlWriter& out, std::int64_t school) {
  openForm(out, school, form::kSignOut, "rs-inline");
  submitButton(out, "退出");
  out.raw("</form>");
}

std::string signInPage(const SignInView& view) {
  web::HtmlWriter out;
  openForm(out, view.school, form::kStudentSignIn);
  out.raw("<h2>学生登录</h2>");
  labelledInput(out, "考号", field::kStudent, "text", view.student);
  labelledInput(out, "密码", field::kStudentPassword, "password");
  submitButton(out, "查询成绩");
  out.raw("</form><details class=\"rs-details\"><summary>学校管理员登录</summary>");
  openForm(out, view.school, form::kSchoolSignIn);
  labelledInput(out, "注册编号", field::kAccountNumber, "text");
  labelledInput(out, "密码", field::kAccountPassword, "password");
  submitButton(out, "登录");
  out.raw("</form></details>");
  return framePage(schoolTitle(view.school, view.schoolName), view.notice, out.str());
}

void examList(web::HtmlWriter& out, std::int64_t school, const std::vector<cloud::ExamEntry>& exams,
              std::int64_t shown) {
  out.raw("<ul class=\"rs-exams\" id=\"exams\">");
  for (const auto& exam : exams) {
    out.raw(exam.id == shown ? "<li class=\"rs-shown\">" : "<li>")
        .raw("<a")
        .attr("href", resultAddress(school) + "&xm=" + std::to_string(exam.id))
        .raw(">")
        .text(exam.name)
        .raw("</a> <span class=\"rs-period\">")
        .text(exam.current ? "查询截止：" + exam.periodEnd : "已过期：" + exam.periodEnd)
        .raw("</span></li>");
  }
  out.raw("</ul>");
}

namespace {

// The basis the rows share: "分段", "累计", or "" when they differ or were published without it.
std::string sharedRateBasis(const std::vector<cloud::StatisticsLine>& lines) {
  if (lines.empty()) return {};
  for (const auto& line : lines) {
    if (line.rateBasis != lines.front().rateBasis) return {};
  }
  return lines.front().rateBasis;
}

// A rate as a percentage; a row whose basis the heading does not name carries its own.
std::string rateText(const std::string& rate, const std::string& basis, bool headed) {
  if (rate.empty()) return rate;
  return rate + "%" + (headed || basis.empty() ? "" : "(" + basis + ")");
}

// What the good and pass rates count under the basis shown.
void rateNote(web::HtmlWriter& out, const std::string& basis) {
  if (basis != "分段" && basis != "累计") return;
  out.raw("<p class=\"rs-note\" id=\"ratenote\">")
      .text(basis == "累计"
                ? "累计：良好率含优秀，及格率含良好和优秀。"
                : "分段：良好率只计良好的一段，及格率只计及格的一段（不含良好、优秀）。")
      .raw("</p>");
}

}  // namespace

void statisticsTable(web::HtmlWriter& out, const std::vector<cloud::StatisticsLine>& lines) {
  const std::string basis = sharedRateBasis(lines);
  const std::string qualifier = basis.empty() ? "" : "(" + basis + ")";
  const std::string good = "良好率" + qualifier, pass = "及格率" + qualifier;
  const std::array<std::string_view, 11> heads = {"科目",   "范围",   "实有人数", "参考人数",
                                                  "平均分", "最高分", "最低分",   "中位数",
                                                  "优秀率", good,     pass};
  out.raw("<div class=\"rs-scroll\"><table class=\"qbk rs-table\" id=\"statistics\"><tr>");
  for (const auto head : heads) headCell(out, head);
  out.raw("</tr>");
  for (const auto& line : lines) {
    const std::string scope = scopeCaption(line);
    const bool headed = !basis.empty();
    const std::array<std::string, heads.size()> values = {
        line.subject,
        scope,
        line.enrolled,
        line.participants,
        line.mean,
        line.highest,
        line.lowest,
        line.median,
        rateText(line.excellentRate, {}, true),
        rateText(line.goodRate, line.rateBasis, headed),
        rateText(line.passRate, line.rateBasis, headed)};
    out.raw("<tr>");
    for (std::size_t c = 0; c < values.size(); ++c) cell(out, values[c], heads[c]);
    out.raw("</tr>");
  }
  out.raw("</table></div>");
  rateNote(out, basis);
}

std::string studentPage(const StudentView& view) {
  web::HtmlWriter out;
  out.raw("<div class=\"rs-who\">").text(view.name).raw("（考号 ").text(view.student).raw("）");
  signOutForm(out, view.school);
  out.raw("</div>");
  if (view.exams.empty()) {
    out.raw("<p class=\"panel\" id=\"noexam\">目前没有可查询的考试成绩。</p>");
  } else {
    examList(out, view.school, view.exams, view.exam);
    for (const auto& exam : view.exams) {
      if (exam.id != view.exam) continue;
      out.raw("<h2 id=\"examname\">").text(exam.name).raw("</h2>");
    }
    if (view.scores.empty()) {
      out.raw("<p class=\"panel\">本次考试没有您的成绩。</p>");
    } else {
      const std::string mean = average(view.scores);
      if (!mean.empty()) out.raw("<p>平均分：<strong>").text(mean).raw("</strong></p>");
      scoreTable(out, view.scores);
    }
    if (!view.statistics.empty()) {
      out.raw("<h3>成绩统计</h3>");
      statisticsTable(out, view.statistics);
    }
  }
  passwordForm(out, view.school);
  return framePage(schoolTitle(view.school, view.schoolName), view.notice, out.str());
}

std::string firstPasswordPage(const FirstPasswordView& view) {
  web::HtmlWriter out;
  out.raw("<div class=\"rs-who\">").text(view.name).raw("（考号 ").text(view.student).raw("）");
  signOutForm(out, view.school);
  out.raw("</div>");
  openForm(out, view.school, form::kFirstPassword);
  out.raw("<h2>设置自己的密码</h2><p id=\"firstpassword\">")
      .text(
          "您使用的是学校发给的初始密码。请先设置一个只有自己知道的新密码（至少6个字符），"
          "然后即可查询成绩。")
      .raw("</p>");
  labelledInput(out, "新密码", field::kNewPassword, "password");
  labelledInput(out, "确认新密码", field::kNewPasswordAgain, "password");
  submitButton(out, "设置密码并查询成绩");
  out.raw("</form>");
  return framePage(schoolTitle(view.school, view.schoolName), view.notice, out.str());
}

}  // namespace zeziza::results
