#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

namespace zeziza::web {
class Page;
}

namespace zeziza::pages {

// Rights codes, stored as the text "0" to "5" in `yh.qx`.
namespace rights {
inline constexpr int kSuperAdmin = 0;    // 超级管理员
inline constexpr int kAdmin = 1;         // 管理员
inline constexpr int kSupervisor = 2;    // 主管
inline constexpr int kClerk = 3;         // 成绩录入员
inline constexpr int kViewer = 4;        // 普通用户
inline constexpr int kClassTeacher = 5;  // 班主任
}  // namespace rights

// The refusal shown when the session's rights code does not allow an action or a page.
inline constexpr std::string_view kNoRightsMessage = "您没有使用此功能的权限！";
inline constexpr std::string_view kNoPageRightsMessage =
    "您没有访问此页面的权限！请用有权限的用户名重新登录。";

// A rights code as `yh.qx` stores it; nullopt for a text that is no single digit.
std::optional<int> parseRightsCode(std::string_view text);
// The session's rights code; nullopt before any sign-in or for a stored code that is invalid.
std::optional<int> sessionRights();
// The role name of a code ("超级管理员" …); empty for an unknown code.
std::string_view roleName(int code);

// True when the session's code is one of `allowed`; for pages with refusals of their own.
bool hasRights(std::initializer_list<int> allowed);
// For handlers: true when the session's code is one of `allowed`; otherwise shows
// kNoRightsMessage and returns false, and the handler stops.
bool requireRights(std::initializer_list<int> allowed);
// For a page's OnCreate: as requireRights, but a refused page also hides everything of its
// own (the frames stay, so the user can navigate away) and shows kNoPageRightsMessage.
bool requirePageRights(web::Page& page, std::initializer_list<int> allowed);

}  // namespace zeziza::pages
