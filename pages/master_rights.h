#pragma once

#include <initializer_list>
#include <string_view>

namespace zeziza::pages {

// The refusal of the settings pages (units, exams) for users below administrator.
inline constexpr std::string_view kNoSettingsRightsMessage =
    "您没有修改此项设置的权限，请以管理员身份登录后再试！";

// True when the signed-in user's rights code is one of `allowed`. A code that is not a
// single digit (nobody signed in) allows nothing.
bool sessionRightsIn(std::initializer_list<int> allowed);

}  // namespace zeziza::pages
