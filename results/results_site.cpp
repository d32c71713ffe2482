#include "results/results_site.h"

#include <cstdio>

#include "cloud/accounts.h"
#include "cloud/results_queries.h"
#include "cloud/school_name.h"
#include "results/form_fields.h"
#include "results/page_frame.h"
#include "results/registration_page.h"
#include "results/request_facts.h"
#include "results/school_pages.h"
#include "results/site_files.h"
#include "results/site_replies.h"
#include "results/student_pages.h"
#include "web/html.h"

namespace zeziza::results {

ResultsSite::ResultsSite(ConnectionPool& primary, ConnectionPool& reads, const CookieKey& key,
                         SiteSettings settings)
    : primary_(primary),
      reads_(reads),
      key_(key),
      settings_(std::move(settings)),
      hasher_(settings_.hashSlots),
      hashPool_(hasher_.slots()),
      signInThrottle_(settings_.signInRule),
      registrationThrottle_(settings_.registrationRule),
      checkBudget_(settings_.checkBudget) {}

bool ResultsSite::verifyPassword(const std::string& stored, const std::string& password) {
  bool right = false;
  hashPool_.run([&] { right = hasher_.verify(stored, password); });
  return right;
}

void ResultsSite::spendVerification(const std::string& password) {
  hashPool_.run([&] { hasher_.verifyNobody(password); });
}

std::string ResultsSite::hashPassword(const std::string& password) {
  std::string hash;
  hashPool_.run([&] { hash = hasher_.hash(password); });
  return hash;
}

web::HttpResponse ResultsSite::handle(const web::HttpRequest& request) {
  web::HttpResponse response;
  try {
    response = route(request);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s %s failed: %s\n", request.method.c_str(), request.path.c_str(),
                 e.what());
    response = refusalPage(500, "服务暂时不可用", "服务器暂时无法完成请求，请稍后再试。");
  }
  addSecurityHeaders(response);
  return response;
}

web::HttpResponse ResultsSite::route(const web::HttpRequest& request) {
  const Context context{request, clientAddress(request, settings_.trustedProxy),
                        servedOverTls(request, settings_.trustedProxy)};
  if (request.path == "/" || request.path == "/vezav" || request.path == "/vezav/") {
    return seeOther(std::string(kRegistrationPath));
  }
  if (auto file = siteFile(request.path)) return *file;
  const bool post = request.method == "POST";
  if (post && !sameOrigin(request)) {
    return refusalPage(403, "请求被拒绝", "请求来源与本站不符，已拒绝。请从本站页面重新提交。");
  }
  if (request.path == kRegistrationPath) {
    if (post) return registration(context);
    return htmlPage(200, registrationPage({}));
  }
  if (request.path == kResultPath) {
    const auto school = positiveField(request, field::kSchool);
    if (!school) return refusalPage(404, "成绩查询", "地址中缺少注册编号。");
    return post ? resultAction(context, *school) : resultPage(context, *school);
  }
  return refusalPage(404, "页面不存在", "您访问的页面不存在。");
}

web::HttpResponse ResultsSite::registration(const Context& context) {
  RegistrationView view;
  view.schoolName = trimmed(context.value(field::kSchoolName));
  const std::string throttleKey = "reg|" + context.address;
  {
    auto db = primary_.lease();
    if (const auto wait = registrationThrottle_.waitFor(*db, throttleKey); wait.count() > 0) {
      view.notice = Notice::refusal("注册过于频繁，请" + waitText(wait) + "后再试。");
      return htmlPage(429, registrationPage(view));
    }
  }
  auto problem = cloud::schoolNameProblem(view.schoolName);
  if (!problem) {
    problem = passwordProblem(context.value(field::kPassword), context.value(field::kPasswordAgain),
                              cloud::kMinSchoolPassword);
  }
  if (problem) {
    view.notice = Notice::refusal(*problem);
    return htmlPage(200, registrationPage(view));
  }
  const std::string hash = hashPassword(context.value(field::kPassword));
  auto db = primary_.lease();
  // Counted before the account is made, so registrations at once never pass the limit together.
  if (const auto wait = registrationThrottle_.admit(*db, throttleKey); wait.count() > 0) {
    view.notice = Notice::refusal("注册过于频繁，请" + waitText(wait) + "后再试。");
    return htmlPage(429, registrationPage(view));
  }
  const auto account =
      cloud::registerAccount(*db, context.value(field::kPassword), hash, view.schoolName);
  if (!account) {
    registrationThrottle_.refund(*db, throttleKey);
    view.notice = Notice::refusal("该学校名称已经注册过了，请勿重复注册。");
    return htmlPage(200, registrationPage(view));
  }
  view.created = account->number;
  view.role = account->role;
  const std::string host = context.request.header("host");
  if (!host.empty()) view.siteOrigin = (context.tls ? "https://" : "http://") + host;
  view.notice = Notice::done("注册成功！");
  return htmlPage(200, registrationPage(view));
}

}  // namespace zeziza::results
