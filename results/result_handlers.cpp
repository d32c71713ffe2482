// The result page: what students and the school see, sign-out, first passwords and resets.
#include "cloud/accounts.h"
#include "cloud/first_passwords.h"
#include "cloud/results_queries.h"
#include "cloud/student_view_query.h"
#include "results/form_fields.h"
#include "results/request_facts.h"
#include "results/results_site.h"
#include "results/school_pages.h"
#include "results/site_replies.h"
#include "results/student_pages.h"

namespace zeziza::results {

namespace {

// The school's sign-in was made with its present password and has not been signed out.
bool stillSignedIn(const cloud::Account& account, const SignIn& signIn) {
  return passwordStamp(account.passwordHash) == signIn.stamp && account.epoch == signIn.epoch;
}

// The exam `wanted` names when it is in the list, else the newest.
std::int64_t shownExam(const std::vector<cloud::ExamEntry>& exams,
                       std::optional<std::int64_t> wanted) {
  for (const auto& exam : exams) {
    if (wanted && exam.id == *wanted) return exam.id;
  }
  return exams.empty() ? 0 : exams.front().id;
}

}  // namespace

SignIn ResultsSite::newSignIn(SignIn::Role role, std::int64_t school, std::string student,
                              const std::string& passwordHash, std::int64_t epoch) const {
  return {role,
          school,
          std::move(student),
          passwordStamp(passwordHash),
          secondsNow() + settings_.signInLifetime.count(),
          epoch};
}

std::string ResultsSite::signInCookie(const Context& context, const SignIn& signIn) const {
  return std::string(kSignInCookie) + "=" + sealSignIn(signIn, key_) +
         "; Path=/vezav/; Max-Age=" + std::to_string(settings_.signInLifetime.count()) +
         "; HttpOnly; SameSite=Lax" + (context.tls ? "; Secure" : "");
}

std::optional<SignIn> ResultsSite::cookieSignIn(const Context& context, std::int64_t school) const {
  const auto value = cookieValue(context.request, kSignInCookie);
  if (!value) return std::nullopt;
  auto signIn = openSignIn(*value, key_, std::chrono::system_clock::now());
  if (!signIn || signIn->school != school) return std::nullopt;
  return signIn;
}

web::HttpResponse ResultsSite::resultPage(const Context& context, std::int64_t school) {
  Notice notice;
  if (context.value(field::kNotice) == field::kPasswordChanged)
    notice = Notice::done("密码修改成功！");
  if (const auto signIn = cookieSignIn(context, school)) {
    if (auto shown = showSignedIn(context, school, *signIn, notice, reads_)) return *shown;
    // A replica may not have a just-changed password yet: the primary decides then.
    if (&reads_ != &primary_) {
      if (auto shown = showSignedIn(context, school, *signIn, notice, primary_)) return *shown;
    }
  }
  auto db = reads_.lease();
  const auto account = cloud::findAccount(*db, school);
  if (!account) return refusalPage(404, "成绩查询", "该注册编号不存在。");
  return htmlPage(200, signInPage({school, account->schoolName, {}, {}}));
}

std::optional<web::HttpResponse> ResultsSite::showSignedIn(
    const Context& context, std::int64_t school, const SignIn& signIn, const Notice& notice,
    ConnectionPool& pool, std::optional<IssuedPassword> issued) {
  web::HttpResponse response;
  if (signIn.role == SignIn::Role::School) {
    auto db = pool.lease();
    const auto wanted = positiveField(context.request, "xm");
    const auto account = cloud::findAccount(*db, school);
    if (!account) return std::nullopt;
    if (!stillSignedIn(*account, signIn)) return std::nullopt;
    SchoolView view;
    view.school = school;
    view.schoolName = account->schoolName;
    view.notice = notice;
    view.issued = std::move(issued);
    view.exams = cloud::listExams(*db, school, true);
    view.exam = shownExam(view.exams, wanted);
    const auto grade = positiveField(context.request, "nj");
    const auto unit = scopeField(context.request, "dw");
    const auto cls = scopeField(context.request, "bc");
    const auto subject = positiveField(context.request, "km");
    if (view.exam != 0 && grade && unit && cls && subject) {
      const cloud::RankingKey key{*unit, *grade, *cls, *subject};
      for (const auto& entry : cloud::listRankings(*db, school, view.exam)) {
        if (entry.key.unit != key.unit || entry.key.grade != key.grade ||
            entry.key.cls != key.cls || entry.key.subject != key.subject) {
          continue;
        }
        view.rankingCaption = rankingCaption(entry);
        view.rankingText = cloud::rankingText(*db, school, view.exam, key).value_or("");
      }
    }
    if (view.exam != 0 && !view.rankingCaption) {
      view.statistics = cloud::allStatistics(*db, school, view.exam);
      view.rankings = cloud::listRankings(*db, school, view.exam);
    }
    response = htmlPage(200, schoolPage(view));
    // A reset password is on this answer alone.
    if (view.issued) response.headers.emplace_back("Cache-Control", "no-store");
  } else {
    auto shown = studentView(context, school, signIn, notice, pool);
    if (!shown) return std::nullopt;
    response = std::move(*shown);
  }
  // Signed in while reading: the cookie is renewed once half its time has passed.
  if (signIn.expires - secondsNow() < settings_.signInLifetime.count() / 2) {
    SignIn renewed = signIn;
    renewed.expires = secondsNow() + settings_.signInLifetime.count();
    response.headers.emplace_back("Set-Cookie", signInCookie(context, renewed));
  }
  return response;
}

std::optional<web::HttpResponse> ResultsSite::studentView(const Context& context,
                                                          std::int64_t school, const SignIn& signIn,
                                                          const Notice& notice,
                                                          ConnectionPool& pool) const {
  const auto wanted = positiveField(context.request, "xm");
  // The connection goes back before the page is rendered.
  const auto rows =
      cloud::readStudentView(*pool.lease(), school, signIn.student, wanted.value_or(0));
  if (!rows || !rows->student || passwordStamp(rows->student->passwordHash) != signIn.stamp ||
      rows->student->epoch != signIn.epoch) {
    return std::nullopt;
  }
  if (rows->student->mustChange) {
    FirstPasswordView view;
    view.school = school;
    view.schoolName = rows->account.schoolName;
    view.notice = notice;
    view.student = signIn.student;
    view.name = rows->student->name;
    auto response = htmlPage(200, firstPasswordPage(view));
    response.headers.emplace_back("Cache-Control", "no-store");
    return response;
  }
  // The page changes only with its rows (a publication, a new password, an exam's period
  // ending) and its notice, so a browser that holds it is told so and nothing is rendered.
  const std::string tag = "W/\"" + rows->digest + "-" + std::to_string(rows->exam) +
                          (notice.kind == Notice::Kind::None ? "" : "-n") + "\"";
  web::HttpResponse response;
  if (context.request.method == "GET" && matchesTag(context.request.header("if-none-match"), tag)) {
    response.status = 304;
  } else {
    StudentView view;
    view.school = school;
    view.schoolName = rows->account.schoolName;
    view.notice = notice;
    view.student = signIn.student;
    view.name = rows->student->name;
    view.exams = rows->exams;
    view.exam = rows->exam;
    view.scores = rows->scores;
    view.statistics = rows->statistics;
    response = htmlPage(200, studentPage(view));
  }
  response.headers.emplace_back("ETag", tag);
  // Kept by the browser, but asked again each time: a new publication shows at once.
  response.headers.emplace_back("Cache-Control", "private, no-cache");
  return response;
}

web::HttpResponse ResultsSite::resultAction(const Context& context, std::int64_t school) {
  const std::string op = context.value(field::kForm);
  if (op == form::kStudentSignIn) return studentSignIn(context, school);
  if (op == form::kSchoolSignIn) return schoolSignIn(context, school);
  if (op == form::kPasswordChange) return passwordChange(context, school);
  if (op == form::kFirstPassword) return firstPasswordChoice(context, school);
  if (op == form::kPasswordReset) return passwordReset(context, school);
  if (op == form::kSignOut) return signOut(context, school);
  return refusalPage(400, "成绩查询", "无法识别的操作。");
}

web::HttpResponse ResultsSite::signOut(const Context& context, std::int64_t school) {
  // The epoch moves on, so a copy of the cookie kept elsewhere ends as well as this one.
  if (const auto signIn = cookieSignIn(context, school)) {
    auto db = primary_.lease();
    if (signIn->role == SignIn::Role::School) {
      cloud::endSchoolSignIns(*db, school, signIn->epoch);
    } else {
      cloud::endStudentSignIns(*db, school, signIn->student, signIn->epoch);
    }
  }
  auto response = seeOther(resultAddress(school));
  response.headers.emplace_back("Set-Cookie",
                                std::string(kSignInCookie) +
                                    "=; Path=/vezav/; Max-Age=0; HttpOnly; SameSite=Lax" +
                                    (context.tls ? "; Secure" : ""));
  return response;
}

}  // namespace zeziza::results

namespace zeziza::results {

web::HttpResponse ResultsSite::firstPasswordChoice(const Context& context, std::int64_t school) {
  const auto signIn = cookieSignIn(context, school);
  if (!signIn || signIn->role != SignIn::Role::Student) return seeOther(resultAddress(school));
  std::optional<cloud::StudentRecord> record;
  {
    auto db = primary_.lease();
    record = cloud::findStudent(*db, school, signIn->student);
  }
  if (!record || passwordStamp(record->passwordHash) != signIn->stamp ||
      record->epoch != signIn->epoch || !record->mustChange) {
    return seeOther(resultAddress(school));
  }
  auto refuse = [&](const std::string& text) {
    auto response = showSignedIn(context, school, *signIn, Notice::refusal(text), primary_);
    return response ? *response : seeOther(resultAddress(school));
  };
  const std::string password = context.value(field::kNewPassword);
  if (const auto problem = passwordProblem(password, context.value(field::kNewPasswordAgain))) {
    return refuse(*problem);
  }
  // The first password is on a slip that others may have seen.
  if (verifyPassword(record->passwordHash, password)) {
    return refuse("新密码不能与初始密码相同！");
  }
  const std::string hash = hashPassword(password);
  auto db = primary_.lease();
  const auto epoch = cloud::setStudentPassword(*db, school, signIn->student, hash);
  if (!epoch) return seeOther(resultAddress(school));
  auto response = seeOther(resultAddress(school) + "&" + std::string(field::kNotice) + "=" +
                           std::string(field::kPasswordChanged));
  response.headers.emplace_back(
      "Set-Cookie", signInCookie(context, newSignIn(SignIn::Role::Student, school, signIn->student,
                                                    hash, *epoch)));
  return response;
}

web::HttpResponse ResultsSite::passwordReset(const Context& context, std::int64_t school) {
  const auto signIn = cookieSignIn(context, school);
  if (!signIn || signIn->role != SignIn::Role::School) return seeOther(resultAddress(school));
  auto show = [&](const Notice& notice, std::optional<IssuedPassword> issued = {}) {
    auto response = showSignedIn(context, school, *signIn, notice, primary_, std::move(issued));
    return response ? *response : seeOther(resultAddress(school));
  };
  const std::string student = trimmed(context.value(field::kStudent));
  if (student.empty()) return show(Notice::refusal("请输入考号！"));
  std::optional<cloud::StudentRecord> record;
  {
    auto db = primary_.lease();
    const auto account = cloud::findAccount(*db, school);
    if (!account || !stillSignedIn(*account, *signIn)) return seeOther(resultAddress(school));
    record = cloud::findStudent(*db, school, student);
  }
  if (!record) return show(Notice::refusal("没有考号为" + student + "的学生！"));
  IssuedPassword issued{student, record->name, cloud::randomFirstPassword()};
  const std::string hash = hashPassword(issued.password);
  {
    auto db = primary_.lease();
    if (!cloud::setStudentPassword(*db, school, student, hash, true)) {
      return show(Notice::refusal("没有考号为" + student + "的学生！"));
    }
  }
  return show(Notice::done("密码已重置。"), std::move(issued));
}

}  // namespace zeziza::results
