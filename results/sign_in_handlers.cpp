// Sign-in of students and of the school, and the student's password change: every password
// check is counted against the address before it is made, and waits its turn in the account's
// budget of checks.
#include <thread>

#include "cloud/accounts.h"
#include "cloud/results_queries.h"
#include "results/form_fields.h"
#include "results/request_facts.h"
#include "results/results_site.h"
#include "results/site_replies.h"
#include "results/student_pages.h"

namespace zeziza::results {

namespace {

std::string throttleKey(std::string_view kind, std::int64_t school, std::string_view who,
                        const std::string& address) {
  return std::string(kind) + "|" + std::to_string(school) + "|" + std::string(who) + "|" + address;
}

// The key of an account's budget of checks: the school, or one of its students.
std::string budgetKey(std::int64_t school, const std::optional<std::string>& student) {
  return student ? "stu|" + std::to_string(school) + "|" + student->substr(0, 64)
                 : "sch|" + std::to_string(school);
}

// Longest student number looked up; a longer one cannot be any student's.
constexpr std::size_t kMaxStudentNumber = 64;

// Why a check was not made: this address waits after its failures (`attempts` names them),
// or the account's budget of checks is booked up.
std::string refusalText(std::chrono::seconds wait, const std::string& attempts) {
  if (wait.count() == 0) return "尝试过于频繁，请稍后再试。";
  return attempts + "次数过多，请" + waitText(wait) + "后再试。";
}

}  // namespace

std::optional<std::chrono::seconds> ResultsSite::admitCheck(const std::string& address,
                                                            const std::string& account) {
  std::optional<std::chrono::milliseconds> turn;
  {
    auto db = primary_.lease();
    if (const auto wait = signInThrottle_.admit(*db, address); wait.count() > 0) return wait;
    turn = checkBudget_.book(*db, account);
    // Not this address's failure: the account is being tried from elsewhere.
    if (!turn) signInThrottle_.refund(*db, address);
  }
  if (!turn) return std::chrono::seconds(0);
  // No connection is held while waiting.
  std::this_thread::sleep_for(*turn);
  return std::nullopt;
}

web::HttpResponse ResultsSite::studentSignIn(const Context& context, std::int64_t school) {
  const std::string student = trimmed(context.value(field::kStudent));
  const std::string password = context.value(field::kStudentPassword);
  const std::string key = throttleKey("stu", school, student.substr(0, 32), context.address);
  SignInView view;  // filled member by member: GCC 12 misreads the braced form as uninitialised
  view.school = school;
  view.student = student;
  {
    auto db = primary_.lease();
    const auto account = cloud::findAccount(*db, school);
    if (!account) return refusalPage(404, "成绩查询", "该注册编号不存在。");
    view.schoolName = account->schoolName;
  }
  if (student.empty() || password.empty()) {
    view.notice = Notice::refusal("请输入考号和密码！");
    return htmlPage(200, signInPage(view));
  }
  if (const auto refused = admitCheck(key, budgetKey(school, student))) {
    view.notice = Notice::refusal(refusalText(*refused, "登录失败"));
    return htmlPage(429, signInPage(view));
  }
  std::optional<cloud::StudentRecord> record;
  if (student.size() <= kMaxStudentNumber) {
    auto db = primary_.lease();
    record = cloud::findStudent(*db, school, student);
  }
  // No connection is held while the hash is computed.
  const bool right = record ? verifyPassword(record->passwordHash, password)
                            : (spendVerification(password), false);
  if (!right) {
    view.notice = Notice::refusal("考号或密码错误！");
    return htmlPage(200, signInPage(view));
  }
  {
    auto db = primary_.lease();
    signInThrottle_.forget(*db, key);
    checkBudget_.giveBack(*db, budgetKey(school, student));
  }
  auto response = seeOther(resultAddress(school));
  response.headers.emplace_back(
      "Set-Cookie", signInCookie(context, newSignIn(SignIn::Role::Student, school, student,
                                                    record->passwordHash, record->epoch)));
  return response;
}

web::HttpResponse ResultsSite::schoolSignIn(const Context& context, std::int64_t school) {
  const std::string number = trimmed(context.value(field::kAccountNumber));
  const std::string key = throttleKey("sch", school, "", context.address);
  std::optional<cloud::Account> account;
  SignInView view{school, {}, {}, {}};
  {
    auto db = primary_.lease();
    account = cloud::findAccount(*db, school);
    if (!account) return refusalPage(404, "成绩查询", "该注册编号不存在。");
    view.schoolName = account->schoolName;
  }
  if (const auto refused = admitCheck(key, budgetKey(school, std::nullopt))) {
    view.notice = Notice::refusal(refusalText(*refused, "登录失败"));
    return htmlPage(429, signInPage(view));
  }
  const bool right = cloud::parseRegistrationNumber(number) == school &&
                     verifyPassword(account->passwordHash, context.value(field::kAccountPassword));
  if (!right) {
    view.notice = Notice::refusal("注册编号或密码错误！");
    return htmlPage(200, signInPage(view));
  }
  {
    auto db = primary_.lease();
    signInThrottle_.forget(*db, key);
    checkBudget_.giveBack(*db, budgetKey(school, std::nullopt));
  }
  auto response = seeOther(resultAddress(school));
  response.headers.emplace_back(
      "Set-Cookie", signInCookie(context, newSignIn(SignIn::Role::School, school, {},
                                                    account->passwordHash, account->epoch)));
  return response;
}

web::HttpResponse ResultsSite::passwordChange(const Context& context, std::int64_t school) {
  const auto signIn = cookieSignIn(context, school);
  if (!signIn || signIn->role != SignIn::Role::Student) return seeOther(resultAddress(school));
  auto refuse = [&](const std::string& text, int status = 200) {
    auto response = showSignedIn(context, school, *signIn, Notice::refusal(text), primary_);
    if (!response) return seeOther(resultAddress(school));
    response->status = status;
    return *response;
  };
  const std::string key = throttleKey("stu", school, signIn->student, context.address);
  std::optional<cloud::StudentRecord> record;
  {
    auto db = primary_.lease();
    record = cloud::findStudent(*db, school, signIn->student);
    if (!record || passwordStamp(record->passwordHash) != signIn->stamp ||
        record->epoch != signIn->epoch) {
      return seeOther(resultAddress(school));
    }
  }
  if (const auto refused = admitCheck(key, budgetKey(school, signIn->student))) {
    return refuse(refusalText(*refused, "尝试"), 429);
  }
  if (!verifyPassword(record->passwordHash, context.value(field::kOldPassword))) return refuse("原密码错误！");
  if (const auto problem = passwordProblem(context.value(field::kNewPassword), context.value(field::kNewPasswordAgain))) {
    return refuse(*problem);
  }
  // A first password is on a slip others may have seen: keeping it is no change at all.
  if (context.value(field::kNewPassword) == context.value(field::kOldPassword)) {
    return refuse(record->mustChange ? "新密码不能与初始密码相同！" : "新密码不能与原密码相同！");
  }
  const std::string hash = hashPassword(context.value(field::kNewPassword));
  auto db = primary_.lease();
  // Every other sign-in of the student ends; this browser's goes on under the new epoch.
  const auto epoch = cloud::setStudentPassword(*db, school, signIn->student, hash);
  if (!epoch) return seeOther(resultAddress(school));
  signInThrottle_.forget(*db, key);
  checkBudget_.giveBack(*db, budgetKey(school, signIn->student));
  auto response = seeOther(resultAddress(school) + "&msg=pw");
  response.headers.emplace_back(
      "Set-Cookie", signInCookie(context, newSignIn(SignIn::Role::Student, school, signIn->student,
                                                    hash, *epoch)));
  return response;
}

}  // namespace zeziza::results
