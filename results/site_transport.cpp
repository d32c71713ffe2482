#include "results/site_transport.h"

#include <atomic>
#include <memory>

#include "results/form_fields.h"
#include "results/page_frame.h"
#include "results/request_facts.h"
#include "results/sign_in_cookie.h"
#include "results/site_replies.h"
#include "web/html.h"

namespace zeziza::results {

namespace {

// Views mostly wait on the database: workers enough for every pooled connection to stay busy
// while others render.
constexpr std::size_t kWorkersPerCore = 32;

// Where the retry page leads: the result page it came from (a post's form is not sent again).
std::string retryAddress(const web::HttpRequest& request) {
  if (request.path != kResultPath) return std::string(kRegistrationPath);
  const auto school = positiveField(request, field::kSchool);
  if (!school) return std::string(kRegistrationPath);
  std::string address = resultAddress(*school);
  if (request.method == "GET") {
    if (const auto exam = positiveField(request, "xm")) address += "&xm=" + std::to_string(*exam);
  }
  return address;
}

}  // namespace

std::string turnKey(const web::HttpRequest& request, const CookieKey& key,
                    std::uint64_t requestNumber) {
  if (const auto value = cookieValue(request, kSignInCookie)) {
    if (const auto signIn = openSignIn(*value, key, std::chrono::system_clock::now())) {
      return signIn->role == SignIn::Role::School
                 ? "school|" + std::to_string(signIn->school)
                 : "student|" + std::to_string(signIn->school) + "|" + signIn->student;
    }
  }
  return "request|" + std::to_string(requestNumber);
}

bool hashesAPassword(const web::HttpRequest& request) {
  if (request.method != "POST") return false;
  if (request.path == kRegistrationPath) return true;
  if (request.path != kResultPath) return false;
  const std::string op = request.form.value(field::kForm);
  return op == form::kStudentSignIn || op == form::kSchoolSignIn || op == form::kPasswordChange;
}

web::HttpResponse retryPage(const web::HttpRequest& request, std::chrono::seconds after) {
  const std::string address = retryAddress(request);
  const std::string wait = std::to_string(after.count());
  web::HtmlWriter head;
  head.raw("<meta http-equiv=\"refresh\"").attr("content", wait + ";url=" + address).raw(">");
  web::HtmlWriter body;
  body.raw("<p>页面将在")
      .text(wait)
      .raw("秒后自动重试；也可<a")
      .attr("href", address)
      .raw(">点此立即重试</a>。</p>");
  const std::string text = hashesAPassword(request) ? "当前登录的人数较多，请稍候，稍后请重新登录。"
                                                    : "当前查询的人数较多，请稍候。";
  auto response =
      htmlPage(503, framePage("请稍候", Notice::refusal(text), body.take(), head.take()));
  response.headers.emplace_back("Retry-After", wait);
  addSecurityHeaders(response);
  return response;
}

web::HttpServerOptions siteTransport(const CookieKey& key, const TransportSizes& sizes) {
  web::HttpServerOptions options;
  auto counter = std::make_shared<std::atomic<std::uint64_t>>(0);
  options.turnKey = [key, counter](const web::HttpRequest& request) {
    return turnKey(request, key, counter->fetch_add(1, std::memory_order_relaxed));
  };
  options.workers = kWorkersPerCore * sizes.cores;
  options.costly = &hashesAPassword;
  // One hash a core, and as many again on their way in or out of the database.
  options.costlyAtOnce = 2 * sizes.cores;
  options.queueWaitLimit = sizes.queueWaitLimit;
  options.busy = [](const web::HttpRequest& request) {
    return retryPage(request, std::chrono::seconds(5));
  };
  options.connectionsPerAddress = 0;
  return options;
}

}  // namespace zeziza::results
