#pragma once

#include <optional>
#include <string>

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

// The exam, unit (学校), grade and class boxes of a page, filled from the session and the
// settings. The boxes are named examBox, unitBox, gradeBox and classBox in `parent`, so their
// element ids are the parent's as if the page declared them itself. Choosing an item submits
// nothing: the boxes are read when the page acts.
class ScopeSelector {
 public:
  ScopeSelector(web::Container& parent, const ScopeBoxes& boxes);

  // Lists the session's exams and grades and the settings' units and classes, each after its
  // box's "all" item; chooses the first item, and in the exam box the default exam.
  void fill();
  // Lists only one place in the unit, grade and class boxes and chooses it.
  void fillPlace(const std::string& unit, const std::string& grade, const std::string& cls);

  // The boxes; asking for one the page does not have throws.
  web::ComboBox& exam() { return exam_.value(); }
  web::ComboBox& unit() { return unit_.value(); }
  web::ComboBox& grade() { return grade_.value(); }
  web::ComboBox& cls() { return class_.value(); }
  const web::ComboBox& exam() const { return exam_.value(); }
  const web::ComboBox& unit() const { return unit_.value(); }
  const web::ComboBox& grade() const { return grade_.value(); }
  const web::ComboBox& cls() const { return class_.value(); }
  // The "all" item `box` was declared with; empty for a box without one or not of this
  // selector. Pages read a choice against it instead of spelling the item again.
  const std::string& allItemOf(const web::ComboBox& box) const;

 private:
  ScopeBoxes boxes_;
  // Declared in showing order: each label goes just before its box.
  std::optional<web::Label> examLabel_;
  std::optional<web::ComboBox> exam_;
  std::optional<web::Label> unitLabel_;
  std::optional<web::ComboBox> unit_;
  std::optional<web::Label> gradeLabel_;
  std::optional<web::ComboBox> grade_;
  std::optional<web::Label> classLabel_;
  std::optional<web::ComboBox> class_;
};

}  // namespace zeziza::pages
