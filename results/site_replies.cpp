#include "results/site_replies.h"

#include <algorithm>

#include "cloud/school_name.h"
#include "results/page_frame.h"
#include "web/html.h"

namespace zeziza::results {

namespace {

constexpr std::size_t kMaxPassword = 64;

}  // namespace

void addSecurityHeaders(web::HttpResponse& response) {
  auto& h = response.headers;
  h.emplace_back("Content-Security-Policy",
                 "default-src 'self'; form-action 'self'; frame-ancestors 'none'; base-uri 'none'");
  h.emplace_back("X-Content-Type-Options", "nosniff");
  h.emplace_back("Referrer-Policy", "same-origin");
  const bool cacheSet = std::any_of(
      h.begin(), h.end(), [](const auto& header) { return header.first == "Cache-Control"; });
  if (response.contentType.starts_with("text/html") && !cacheSet) {
    h.emplace_back("Cache-Control", "no-store");
  }
}

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

bool matchesTag(std::string_view ifNoneMatch, std::string_view tag) {
  auto opaque = [](std::string_view t) { return t.starts_with("W/") ? t.substr(2) : t; };
  while (!ifNoneMatch.empty()) {
    const auto comma = std::min(ifNoneMatch.find(','), ifNoneMatch.size());
    const std::string each = trimmed(ifNoneMatch.substr(0, comma));
    if (each == "*" || (!each.empty() && opaque(each) == opaque(tag))) return true;
    ifNoneMatch.remove_prefix(std::min(comma + 1, ifNoneMatch.size()));
  }
  return false;
}

std::string waitText(std::chrono::seconds wait) {
  if (wait.count() < 120) return std::to_string(wait.count()) + "秒";
  return std::to_string((wait.count() + 59) / 60) + "分钟";
}

std::optional<std::string> passwordProblem(const std::string& password, const std::string& again,
                                           std::size_t minimum) {
  if (password.empty()) return "密码不能为空！";
  // Blanks, tabs and line breaks do not count: eight of them are no password.
  if (cloud::visibleCharacterCount(password) < minimum) {
    return "密码至少需要" + std::to_string(minimum) + "个字符！";
  }
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
