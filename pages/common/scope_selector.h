#pragma once

#include <optional>
#include <string>

#include "store/scope.h"
#include "web/controls/display.h"
#include "web/controls/lists.h"

namespace zeziza::web {
class Container;
}

namespace zeziza::pages {

// How one box of a scope selector looks. (Every member has an initialiser so that pages may
// leave any out of a designated initialiser without a warning.)
struct ScopeBox {
  std::string allItem{};          // listed first, meaning "all"; empty: none
  std::string noSelectionText{};  // shown while nothing is chosen; empty: the box's default
  std::string caption{};          // of a label before the box ("examLabel"…); empty: no label
};

// Which boxes a page has (in this order) and how each looks; a box left out is not made.
struct ScopeBoxes {
  std::optional<ScopeBox> exam{};
  std::optional<ScopeBox> unit{};
  std::optional<ScopeBox> grade{};
  std::optional<ScopeBox> cls{};
  // Without the default exam in the list, the first exam stays chosen (else none is).
  bool firstExamWithoutDefault = false;
};

// A unit, grade or class box. While it lists a locked part alone, a post choosing anything
// else (nothing, an item past the one) is refused with the rest of the post.
class ScopeComboBox : public web::ComboBox {
 public:
  using web::ComboBox::ComboBox;
  void checkPost(const web::PostedForm& form) const override;

  bool locked = false;
};

// The exam, unit (学校), grade and class boxes of a page, filled from the session and the
// settings. The boxes are named examBox, unitBox, gradeBox and classBox in `parent`, so their
// element ids are the parent's as if the page declared them itself. Choosing an item submits
// nothing: the boxes are read when the page acts, through scope().
//
// The unit, grade and class never reach further than the session's permitted scope (a class
// teacher's class): a part it locks is listed alone, without the "all" item, and scope()
// keeps it whatever was posted.
class ScopeSelector {
 public:
  ScopeSelector(web::Container& parent, const ScopeBoxes& boxes);

  // Lists the session's exams and grades and the settings' units and classes, each after its
  // box's "all" item; chooses the first item, and in the exam box the default exam. A part
  // the permitted scope locks is listed alone and chosen.
  void fill();

  // The unit, grade and class the boxes choose, within the permitted scope: a box on its
  // "all" item, or a box the page does not have, leaves its part as the permitted scope has
  // it. Throws web::BadPost (refused as any bad value) when a box holds nothing it may: no
  // item where a value is needed, or another value than the one a locked part allows.
  store::Scope scope() const;
  // The exam the exam box chooses; none on its "all" item.
  std::optional<std::string> chosenExam() const;

  // The boxes; asking for one the page does not have throws.
  web::ComboBox& exam() { return exam_.value(); }
  web::ComboBox& unit() { return unit_.value(); }
  web::ComboBox& grade() { return grade_.value(); }
  web::ComboBox& cls() { return class_.value(); }
  const web::ComboBox& exam() const { return exam_.value(); }
  const web::ComboBox& unit() const { return unit_.value(); }
  const web::ComboBox& grade() const { return grade_.value(); }
  const web::ComboBox& cls() const { return class_.value(); }

 private:
  ScopeBoxes boxes_;
  // Declared in showing order: each label goes just before its box.
  std::optional<web::Label> examLabel_;
  std::optional<web::ComboBox> exam_;
  std::optional<web::Label> unitLabel_;
  std::optional<ScopeComboBox> unit_;
  std::optional<web::Label> gradeLabel_;
  std::optional<ScopeComboBox> grade_;
  std::optional<web::Label> classLabel_;
  std::optional<ScopeComboBox> class_;
};

}  // namespace zeziza::pages
