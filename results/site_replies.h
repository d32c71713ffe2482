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
web::HttpResponse refusalPage(int status, const std::string& title, const std::string& text);
// A wait as the user reads it: "30秒", "15分钟".
std::string waitText(std::chrono::seconds wait);
// Why a new password cannot be taken; nullopt when it can.
std::optional<std::string> passwordProblem(const std::string& password, const std::string& again);
using base::trimmed;
std::int64_t secondsNow();

}  // namespace zeziza::results
