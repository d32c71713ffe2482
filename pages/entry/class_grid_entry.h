#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/common/footer.h"
#include "pages/common/scope_selector.h"
#include "pages/entry/entry_student.h"
#include "store/class_grid.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Score entry for a whole class in a grid: one subject, four students to a grid row.
class ClassGridEntryPage : public web::Page {
 public:
  ClassGridEntryPage();

 private:
  // One student of the loaded class and the box holding the score.
  struct Slot {
    std::int64_t key = 0;
    std::string number;
    std::string name;
    std::unique_ptr<web::Edit> box;
    std::string shown;  // the box's text as loaded: anything else was typed
  };

  void onCreate();
  void onLoadClass();
  void onSave();
  void onCancel();  // empties the grid
  void onBack();

  void fillGrid(const std::vector<store::ClassMember>& students, int subject);
  void addSlot(int row, int group, const store::ClassMember& student, int subject);
  void chainEnterKeys();
  // After the default exam was switched: the boxes not typed into show the new exam's scores.
  void showExamScores();
  void emptyGrid();
  // Selecting a class, or editing the loaded one.
  void setEditing(bool editing);

  int loadedSubject_ = -1;  // the subject the boxes show and a save stores

  web::Region header{*this, "header"};
  web::Label examTitleCaption{header, "examTitleCaption"};
  web::Label examCaption{header, "examCaption"};
  web::Label userTitleCaption{header, "userTitleCaption"};
  web::Label userCaption{header, "userCaption"};
  web::Link backLink{header, "backLink"};

  web::Region work{*this, "work"};
  web::Label modeCaption{work, "modeCaption"};
  ScopeSelector scopeBoxes{work, {.unit = ScopeBox{}, .grade = ScopeBox{}, .cls = ScopeBox{}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::ComboBox subjectBox{work, "subjectBox"};
  web::Button loadButton{work, "loadButton"};
  web::Button saveButton{work, "saveButton"};
  web::Button cancelButton{work, "cancelButton"};
  web::Region loadedClass{work, "loadedClass"};
  web::Label loadedCaption{loadedClass, "loadedCaption"};
  web::Grid scoresGrid{loadedClass, "scoresGrid"};
  // After the grid: the boxes are its children and go first.
  std::vector<Slot> slots_;

  Footer footer{*this};
};

}  // namespace zeziza::pages
