#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeziza::web {
class ComboBox;
}

namespace zeziza::pages {

// The session's exam and grade lists, as read at sign-in.
const std::vector<std::string>& sessionExams();
const std::vector<std::string>& sessionGrades();

// Gives the box `items` and chooses the first (nothing when there are none).
void fillCombo(web::ComboBox& box, std::vector<std::string> items);
// Gives the box `allItem` followed by `items` and chooses the first.
void fillComboWithAll(web::ComboBox& box, std::string_view allItem,
                      const std::vector<std::string>& items);

// True when the box has a chosen item; otherwise shows `message` and the handler stops.
bool requireChoice(const web::ComboBox& box, std::string_view message);

}  // namespace zeziza::pages
