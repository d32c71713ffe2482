#include "results/site_replies.h"

#include "results/page_frame.h"
#include "web/html.h"

namespace zeziza::results {

namespace {

constexpr std::size_t kMinPassword = 6;
constexpr std::size_t kMaxPassword = 64;

}  // namespace

web::HttpResponse htmlPage(int status, std::string body) {
  web::HttpResponse response;
  response.status = status;
  response.body = std::move(body);
  return response;
}

web::HttpResponse seeOther(const std::string& location) {
  auto response = web::HttpResponse::redirect(location);
  response.status = 303;
  return response;
}

web::HttpResponse refusalPage(int status, const std::string& title, const std::string& text) {
  return htmlPage(status, framePage(title, Notice::refusal(text), ""));
}

std::string waitText(std::chrono::seconds wait) {
  if (wait.count() < 120) return std::to_string(wait.count()) + "秒";
  return std::to_string((wait.count() + 59) / 60) + "分钟";
}

std::optional<std::string> passwordProblem(const std::string& password, const std::string& again) {
  if (password.empty()) return "密码不能为空！";
  if (password.size() < kMinPassword) return "密码至少需要6个字符！";
  if (password.size() > kMaxPassword) return "密码不能超过64个字符！";
  if (!web::isValidUtf8(password)) return "密码含有无效字符！";
  if (password != again) return "两次输入的密码不一致！";
  return std::nullopt;
}

std::int64_t secondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace zeziza::results
