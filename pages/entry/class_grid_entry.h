#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/common/footer.h"
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
  };

  void onCreate();
  void IWButton1Click();  // load the class
  void IWButton2Click();  // save the grid
  void IWButton3Click();  // empty the grid
  void IWLink1Click();

  void fillClassLists();
  entry::Place chosenPlace() const;
  void fillGrid(const std::vector<store::ClassMember>& students, int subject);
  void addSlot(int row, int group, const store::ClassMember& student, int subject);
  void chainEnterKeys();
  void emptyGrid();
  // Selecting a class, or editing the loaded one.
  void setEditing(bool editing);

  std::optional<entry::Place> teacherPlace_;
  int loadedSubject_ = -1;  // the subject the boxes show and a save stores

  web::Region header{*this, "header"};
  web::Label IWLabel3{header, "IWLabel3"};
  web::Label IWLabel4{header, "IWLabel4"};
  web::Label IWLabel6{header, "IWLabel6"};
  web::Label iwlabel20{header, "iwlabel20"};
  web::Link IWLink1{header, "IWLink1"};

  web::Region work{*this, "work"};
  web::Label IWLabel1{work, "IWLabel1"};
  web::ComboBox IWComboBox3{work, "IWComboBox3"};
  web::ComboBox IWComboBox4{work, "IWComboBox4"};
  web::ComboBox IWComboBox5{work, "IWComboBox5"};
  web::ComboBox IWComboBox1{work, "IWComboBox1"};
  web::Button IWButton1{work, "IWButton1"};
  web::Button IWButton2{work, "IWButton2"};
  web::Button IWButton3{work, "IWButton3"};
  web::Region loadedClass{work, "loadedClass"};
  web::Label IWLabel41{loadedClass, "IWLabel41"};
  web::Grid IWGrid1{loadedClass, "IWGrid1"};
  // After the grid: the boxes are its children and go first.
  std::vector<Slot> slots_;

  Footer footer{*this};
};

}  // namespace zeziza::pages
