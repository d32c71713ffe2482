#include "pages/common/scope_selector.h"

#include <stdexcept>
#include <vector>

#include "pages/common/item_lists.h"
#include "store/settings_cache.h"
#include "web/control.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// Makes the label (when captioned) and the box named `name`, in showing order.
template <class Box>
void make(web::Container& parent, const std::optional<ScopeBox>& look, const std::string& kind,
          std::optional<web::Label>& label, std::optional<Box>& box) {
  if (!look) return;
  if (!look->caption.empty()) {
    label.emplace(parent, kind + "Label");
    label->Caption = look->caption;
  }
  box.emplace(parent, kind + "Box");
  if (!look->noSelectionText.empty()) box->NoSelectionText = look->noSelectionText;
}

// Lists `items` after the box's "all" item and chooses the first.
void list(const std::optional<ScopeBox>& look, web::ComboBox& box,
          const std::vector<std::string>& items) {
  box.Items = look->allItem.empty() ? items : withFirst(look->allItem, items);
  box.ItemIndex = box.Items.empty() ? -1 : 0;
}

// Lists the permitted value alone when the part is locked, else all `items`.
void listPart(const std::optional<ScopeBox>& look, std::optional<ScopeComboBox>& box,
              const std::vector<std::string>& items, const std::optional<std::string>& locked) {
  if (!box) return;
  box->locked = locked.has_value();
  if (!locked) return list(look, *box, items);
  box->Items = {*locked};
  box->ItemIndex = 0;
}

// The part a box chooses; `locked` is the permitted scope's part.
template <class Box>
std::optional<std::string> chosenPart(const std::optional<ScopeBox>& look,
                                      const std::optional<Box>& box,
                                      const std::optional<std::string>& locked) {
  if (!box) return locked;
  const int index = box->ItemIndex;
  const bool chosen = index >= 0 && index < static_cast<int>(box->Items.size());
  if (locked) {
    if (chosen && box->Items[static_cast<std::size_t>(index)] == *locked) return locked;
    throw web::BadPost("scope box " + box->fullName() + " outside the permitted scope");
  }
  const bool hasAll = !look->allItem.empty();
  if (hasAll && (index == -1 || (chosen && index == 0 && box->Items.front() == look->allItem))) {
    return std::nullopt;
  }
  if (!chosen) throw web::BadPost("scope box " + box->fullName() + " holds no item");
  return box->Items[static_cast<std::size_t>(index)];
}

}  // namespace

void ScopeComboBox::checkPost(const web::PostedForm& form) const {
  web::ComboBox::checkPost(form);
  const std::string* posted = form.get(elementId());
  if (locked && posted && *posted != "0") {
    throw web::BadPost("locked scope box " + fullName() + " posted " + *posted);
  }
}

ScopeSelector::ScopeSelector(web::Container& parent, const ScopeBoxes& boxes) : boxes_(boxes) {
  make(parent, boxes_.exam, "exam", examLabel_, exam_);
  make(parent, boxes_.unit, "unit", unitLabel_, unit_);
  make(parent, boxes_.grade, "grade", gradeLabel_, grade_);
  make(parent, boxes_.cls, "class", classLabel_, class_);
}

void ScopeSelector::fill() {
  const web::Session& session = web::currentSession();
  const auto settings = session.context().settings().get();
  if (exam_) list(boxes_.exam, *exam_, session.login.exams);
  if (exam_) {
    const int first = exam_->ItemIndex;
    exam_->select(session.login.defaultExam);
    if (exam_->ItemIndex < 0 && boxes_.firstExamWithoutDefault) exam_->ItemIndex = first;
  }
  const store::Scope& permitted = session.login.permitted;
  listPart(boxes_.unit, unit_, settings->units, permitted.unit);
  listPart(boxes_.grade, grade_, session.login.grades, permitted.grade);
  listPart(boxes_.cls, class_, settings->classes, permitted.cls);
}

store::Scope ScopeSelector::scope() const {
  const store::Scope& permitted = web::currentSession().login.permitted;
  return {chosenPart(boxes_.unit, unit_, permitted.unit),
          chosenPart(boxes_.grade, grade_, permitted.grade),
          chosenPart(boxes_.cls, class_, permitted.cls)};
}

std::optional<std::string> ScopeSelector::chosenExam() const {
  if (!exam_) throw std::logic_error("the page has no exam box");
  return chosenPart(boxes_.exam, exam_, std::nullopt);
}

}  // namespace zeziza::pages
