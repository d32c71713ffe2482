#include "pages/entry/scope_refusal.h"

namespace zeziza::pages::entry {

std::string scopeRefusal(const store::Scope& scope, const Student& student, bool classTeacher) {
  std::string text = "不能录入考生" + student.name + "（" + student.number + "）的成绩：该生在" +
                     student.unit + student.grade + student.cls + "，";
  const std::string place = scope.unit.value_or("不限学校") + scope.grade.value_or("不限年级") +
                            scope.cls.value_or("所有班");
  if (classTeacher) {
    return text + "您只能录入本班（" + place + "）学生的成绩，请核对考号";
  }
  return text + "不在所选的录入范围（" + place + "）内，请先在上方选择该生的学校、年级和班级";
}

}  // namespace zeziza::pages::entry
