#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zeziza::web {
class Control;
}

namespace zeziza::pages::entry {

// The refusal of the score entry pages.
inline constexpr std::string_view kNoRightsMessage = "您没有权限进行此项操作";

// Rights codes of the session that reach the score entry pages: supervisor, score clerk and
// class teacher.
bool mayEnterScores();
bool isSupervisor();
bool isClerk();
bool isClassTeacher();

// For handlers: true when the session may enter scores; otherwise the refusal is shown.
bool requireEntryRights();
// For a page's creation: hides `parts` and shows the refusal; the page keeps only what is
// left (its way back).
void refusePage(std::initializer_list<web::Control*> parts);

// The session user name followed by the role tag, "张三[成绩录入员]".
std::string userCaption();

}  // namespace zeziza::pages::entry
