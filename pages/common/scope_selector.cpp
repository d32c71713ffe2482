#include "pages/common/scope_selector.h"

#include <vector>

#include "pages/common/item_lists.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// Makes the label (when captioned) and the box named `name`, in showing order.
void make(web::Container& parent, const std::optional<ScopeBox>& look, const std::string& kind,
          std::optional<web::Label>& label, std::optional<web::ComboBox>& box) {
  if (!look) return;
  if (!look->caption.empty()) {
    label.emplace(parent, kind + "Label");
    label->Caption = look->caption;
  }
  box.emplace(parent, kind + "Box");
  if (!look->noSelectionText.empty()) box->NoSelectionText = look->noSelectionText;
}

// Lists `items` after the box's "all" item and chooses the first.
void list(const std::optional<ScopeBox>& look, std::optional<web::ComboBox>& box,
          const std::vector<std::string>& items) {
  if (!box) return;
  box->Items = look->allItem.empty() ? items : withFirst(look->allItem, items);
  box->ItemIndex = box->Items.empty() ? -1 : 0;
}

void listOnly(std::optional<web::ComboBox>& box, const std::string& item) {
  if (!box) return;
  box->Items = {item};
  box->ItemIndex = 0;
}

}  // namespace

ScopeSelector::ScopeSelector(web::Container& parent, const ScopeBoxes& boxes) : boxes_(boxes) {
  make(parent, boxes_.exam, "exam", examLabel_, exam_);
  make(parent, boxes_.unit, "unit", unitLabel_, unit_);
  make(parent, boxes_.grade, "grade", gradeLabel_, grade_);
  make(parent, boxes_.cls, "class", classLabel_, class_);
}

const std::string& ScopeSelector::allItemOf(const web::ComboBox& box) const {
  static const std::string none;
  const std::pair<const std::optional<web::ComboBox>*, const std::optional<ScopeBox>*> boxes[] = {
      {&exam_, &boxes_.exam},
      {&unit_, &boxes_.unit},
      {&grade_, &boxes_.grade},
      {&class_, &boxes_.cls}};
  for (const auto& [made, look] : boxes) {
    if (*made && &**made == &box) return (*look)->allItem;
  }
  return none;
}

void ScopeSelector::fill() {
  const web::Session& session = web::currentSession();
  const auto settings = session.context().settings().get();
  list(boxes_.exam, exam_, session.login.exams);
  if (exam_) {
    const int first = exam_->ItemIndex;
    exam_->select(session.login.defaultExam);
    if (exam_->ItemIndex < 0 && boxes_.firstExamWithoutDefault) exam_->ItemIndex = first;
  }
  list(boxes_.unit, unit_, settings->units);
  list(boxes_.grade, grade_, session.login.grades);
  list(boxes_.cls, class_, settings->classes);
}

void ScopeSelector::fillPlace(const std::string& unit, const std::string& grade,
                              const std::string& cls) {
  listOnly(unit_, unit);
  listOnly(grade_, grade);
  listOnly(class_, cls);
}

}  // namespace zeziza::pages
