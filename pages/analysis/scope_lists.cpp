#include "pages/analysis/scope_lists.h"

#include "pages/common/item_lists.h"
#include "store/comma_text.h"
#include "web/controls/lists.h"
#include "web/user_session.h"

namespace zeziza::pages {

const std::vector<std::string>& sessionExams() {
  return web::currentSession().login.exams;
}

const std::vector<std::string>& sessionGrades() {
  return web::currentSession().login.grades;
}

void fillCombo(web::ComboBox& box, std::vector<std::string> items) {
  box.Items = std::move(items);
  box.ItemIndex = box.Items.empty() ? -1 : 0;
}

void fillComboWithAll(web::ComboBox& box, std::string_view allItem,
                      const std::vector<std::string>& items) {
  fillCombo(box, withFirst(std::string(allItem), items));
}

bool requireChoice(const web::ComboBox& box, std::string_view message) {
  if (box.ItemIndex >= 0 && box.ItemIndex < static_cast<int>(box.Items.size())) return true;
  web::ShowMessage(std::string(message));
  return false;
}

}  // namespace zeziza::pages
