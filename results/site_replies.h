#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "web/http_types.h"

namespace zeziza::results {

// Answers and checks shared by the site's handlers.
web::HttpResponse htmlPage(int status, std::string body);
web::HttpResponse seeOther(const std::string& location);
// The headers every answer of the site carries.
void addSecurityHeaders(web::HttpResponse& response);
web::HttpResponse refusalPage(int status, const std::string& title, const std::string& text);
// True when an If-None-Match header value names `tag` (weak comparison) or is "*".
bool matchesTag(std::string_view ifNoneMatch, std::string_view tag);
// A wait as the user reads it: "30秒", "15分钟".
std::string waitText(std::chrono::seconds wait);
// Students' passwords are at least this many characters; schools' at least 8.
inline constexpr std::size_t kMinStudentPassword = 6;
// Why a new password cannot be taken; nullopt when it can.
std::optional<std::string> passwordProblem(const std::string& password, const std::string& again,
                                           std::size_t minimum = kMinStudentPassword);
using base::trimmed;
std::int64_t secondsNow();

}  // namespace zeziza::results
