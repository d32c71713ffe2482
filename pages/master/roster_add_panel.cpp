#include "pages/master/roster_add_panel.h"

#include "pages/common/rights.h"
#include "pages/master/student_batch.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

AddStudentsPanel::AddStudentsPanel(web::Container& parent) : web::Region(parent, "addPanel") {
  Css = "panel";
  Visible = false;
  Heading.Caption = "完成增加学生的准备工作";
  Heading.Bold = true;
  addCloseLink.Caption = "×";
  UnitLabel.Caption = "学校";
  GradeLabel.Caption = "年级";
  ClassLabel.Caption = "班次";
  addUnitBox.NoSelectionText = "-- 请选择学校 --";
  addGradeBox.NoSelectionText = "-- 请选择年级 --";
  addClassBox.NoSelectionText = "--  请选择班 --";
  Boxes.Css = "cols";
  for (auto* column : {&NumberColumn, &NameColumn, &HelpColumn}) column->Css = "col";
  NumberLabel.Caption = "学生编号";
  NameLabel.Caption = "学生姓名";
  numbersMemo.Rows = 14;
  namesMemo.Rows = 14;
  Help.Lines = {"要增加学生，你需要", "首先选择学生所在的",   "学校、年级和班次；",
                "然后在学生编号框中", "输入学生编号，在学",   "生姓名框中输入姓名，",
                "每行一个学生，编号", "与姓名按行一一对应。", "从电子表格中复制一",
                "列编号和一列姓名，", "分别粘贴到两个框中，", "是最快捷的方法，能",
                "大大提高工作效率"};
  addButton.Caption = "添加新学生";
}

namespace {

// The numbers shown in the refusal; the rest are counted.
constexpr std::size_t kNumbersNamed = 5;

// Names who holds each taken number (or that it was pasted twice), so the rows to mend can be
// found: "学生编号1001（已是东校区七年级一班张三的编号）已被占用，…".
std::string takenNumbersMessage(const std::vector<std::string>& taken) {
  auto& db = web::currentSession().dataConnection.db();
  std::string listed;
  for (std::size_t i = 0; i < taken.size() && i < kNumbersNamed; ++i) {
    if (i > 0) listed += "、";
    const auto holder = store::findStudent(db, taken[i]);
    listed += taken[i] + (holder ? "（已是" + holder->unit + holder->grade + holder->cls +
                                       holder->name + "的编号）"
                                 : "（在粘贴的编号中出现了不止一次）");
  }
  if (taken.size() > kNumbersNamed) listed += "等" + std::to_string(taken.size()) + "个编号";
  return "学生编号" + listed + "已被占用，本次的学生一个也没有添加。请改正这些编号后再点添加新学生";
}

}  // namespace

void AddStudentsPanel::fill(const std::vector<std::string>& units,
                            const std::vector<std::string>& grades,
                            const std::vector<std::string>& classes) {
  addUnitBox.Items = units;
  addGradeBox.Items = grades;
  addClassBox.Items = classes;
  for (auto* box : {&addUnitBox, &addGradeBox, &addClassBox}) box->ItemIndex = -1;
}

void AddStudentsPanel::addStudents() {
  if (!hasRights({0, 1})) {
    return web::ShowMessage("您没有添加考生的权限，请以合适身份登录后再试！");
  }
  if (addUnitBox.ItemIndex < 0 || addGradeBox.ItemIndex < 0 || addClassBox.ItemIndex < 0) {
    return web::ShowMessage("请选择学生所在的班级！");
  }
  const StudentBatch batch = readStudentBatch(numbersMemo.Lines, namesMemo.Lines);
  if (!batch.refusal.empty()) return web::ShowMessage(batch.refusal);
  const auto taken =
      store::insertStudents(web::currentSession().dataConnection.db(), batch.students,
                            addUnitBox.text(), addGradeBox.text(), addClassBox.text());
  if (!taken.empty()) return web::ShowMessage(takenNumbersMessage(taken));
  numbersMemo.Lines.clear();
  namesMemo.Lines.clear();
  web::ShowMessage("已添加" + std::to_string(batch.students.size()) + "名学生");
}

}  // namespace zeziza::pages
