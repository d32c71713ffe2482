#include "pages/master/roster_change_panel.h"

#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::string fieldText(const store::Query& result, std::size_t row, const char* name) {
  return result.fieldAt(row, result.fieldIndex(name)).asText();
}

}  // namespace

ChangeStudentPanel::ChangeStudentPanel(web::Container& parent)
    : web::Region(parent, "changePanel") {
  Css = "panel";
  Visible = false;
  changeCloseLink.Caption = "×";
  NumberLabel.Caption = "学生编号";
  NameLabel.Caption = "姓名";
  saveChangeButton.Caption = "确定";
  cancelChangeButton.Caption = "取消";
  changedKey.Visible = false;
}

void ChangeStudentPanel::fill(const std::vector<std::string>& units,
                              const std::vector<std::string>& grades,
                              const std::vector<std::string>& classes) {
  changeUnitBox.Items = units;
  changeGradeBox.Items = grades;
  changeClassBox.Items = classes;
}

void ChangeStudentPanel::open(const store::Query& result, std::size_t row) {
  changedKey.Caption = fieldText(result, row, "bh");
  const std::string name = fieldText(result, row, "姓名");
  changeHeading.Caption = "将 " + name + " 同学信息修改为";
  changeNameEdit.Text = name;
  changeNumberEdit.Text = fieldText(result, row, "学生编号");
  changeUnitBox.select(fieldText(result, row, "学校"));
  changeGradeBox.select(fieldText(result, row, "年级"));
  changeClassBox.select(fieldText(result, row, "班次"));
  Visible = true;
}

bool ChangeStudentPanel::save() {
  if (!hasRights({0, 1, 2})) {
    web::ShowMessage("您没有修改学生的权限，请以合适身份登录后再试！");
    return false;
  }
  if (changeUnitBox.ItemIndex < 0 || changeGradeBox.ItemIndex < 0 || changeClassBox.ItemIndex < 0) {
    web::ShowMessage("请选择学生所在的班级！");
    return false;
  }
  const std::string number = trimmed(changeNumberEdit.Text);
  const std::string name = trimmed(changeNameEdit.Text);
  if (number.empty() || name.empty()) {
    web::ShowMessage("学生编号、姓名不能为空!");
    return false;
  }
  const auto key = exactInteger<std::int64_t>(changedKey.Caption);
  if (!key) return false;
  const auto result = store::changeStudent(
      web::currentSession().dataConnection.db(),
      {*key, number, name, changeUnitBox.text(), changeGradeBox.text(), changeClassBox.text()});
  if (result == store::StudentChangeResult::NumberTaken) {
    web::ShowMessage("操作失败，请检查学生编号是否已经存在!");
    return false;
  }
  if (result == store::StudentChangeResult::Missing) {
    web::ShowMessage("没有记录被更新，请检查该学生是否已被删除!");
  }
  Visible = false;
  return true;
}

}  // namespace zeziza::pages
