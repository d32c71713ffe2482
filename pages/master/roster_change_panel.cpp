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

ChangeStudentPanel::ChangeStudentPanel(web::Container& parent) : web::Region(parent, "IWRegion2") {
  Css = "panel";
  Visible = false;
  IWLink3.Caption = "×";
  NumberLabel.Caption = "学生编号";
  NameLabel.Caption = "姓名";
  IWButton1.Caption = "确定";
  IWButton4.Caption = "取消";
  thxh.Visible = false;
}

void ChangeStudentPanel::fill(const std::vector<std::string>& units,
                              const std::vector<std::string>& grades,
                              const std::vector<std::string>& classes) {
  IWComboBox1.Items = units;
  IWComboBox2.Items = grades;
  IWComboBox3.Items = classes;
}

void ChangeStudentPanel::open(const store::Query& result, std::size_t row) {
  thxh.Caption = fieldText(result, row, "bh");
  const std::string name = fieldText(result, row, "姓名");
  IWLabel1.Caption = "将 " + name + " 同学信息修改为";
  IWEdit1.Text = name;
  IWEdit2.Text = fieldText(result, row, "学生编号");
  IWComboBox1.select(fieldText(result, row, "学校"));
  IWComboBox2.select(fieldText(result, row, "年级"));
  IWComboBox3.select(fieldText(result, row, "班次"));
  Visible = true;
}

bool ChangeStudentPanel::save() {
  if (!hasRights({0, 1, 2})) {
    web::ShowMessage("您没有修改学生的权限，请以合适身份登录后再试！");
    return false;
  }
  if (IWComboBox1.ItemIndex < 0 || IWComboBox2.ItemIndex < 0 || IWComboBox3.ItemIndex < 0) {
    web::ShowMessage("请选择学生所在的班级！");
    return false;
  }
  const std::string number = trimmed(IWEdit2.Text);
  const std::string name = trimmed(IWEdit1.Text);
  if (number.empty() || name.empty()) {
    web::ShowMessage("学生编号、姓名不能为空!");
    return false;
  }
  const auto key = exactInteger<std::int64_t>(thxh.Caption);
  if (!key) return false;
  const auto result = store::changeStudent(
      web::currentSession().dataConnection.db(),
      {*key, number, name, IWComboBox1.text(), IWComboBox2.text(), IWComboBox3.text()});
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
