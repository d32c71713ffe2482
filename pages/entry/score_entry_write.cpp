// The writing handlers of the score entry page: direct entry, computed entry and the delete
// link of the last-score panel.
#include <functional>

#include "analysis/number_format.h"
#include "pages/common/text.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/score_entry.h"
#include "pages/entry/score_text.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kFailed = "操作错误,指令没有完成";

// Whatever fails while writing is reported as the one failure message.
void guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception&) {
    web::ShowMessage(kFailed);
  }
}

int subjectCount() {
  return static_cast<int>(web::currentSession().context().settings().get()->subjects.size());
}

// Score changes of this page are kept in the history under the signed-in user.
store::ScoreAuthor author() {
  return {web::currentSession().userName, "ScoreEntryPage"};
}

store::Database& data() {
  return web::currentSession().dataConnection.db();
}

}  // namespace

std::optional<entry::Student> ScoreEntryPage::admittedStudent(const std::string& number,
                                                        const web::ComboBox& subjects) {
  auto student = store::findStudent(data(), number);
  if (!student) {
    web::ShowMessage("考生不存在,请核对后再试！");
    return std::nullopt;
  }
  if (!currentScope().admits(*student)) {
    web::ShowMessage("您不能录入该学生成绩");
    return std::nullopt;
  }
  if (subjects.ItemIndex < 0) {
    web::ShowMessage("请选择科目");
    return std::nullopt;
  }
  return student;
}

store::ScoreWriteOutcome ScoreEntryPage::record(const entry::Student& student, int subjectIndex,
                                          double value) {
  const auto outcome = store::writeScore(data(), {exam_, student.key, subjectIndex + 1, value,
                                                  subjectCount(), entry::isClerk(), author()});
  if (outcome.result == store::ScoreWriteResult::KeptExisting) {
    web::ShowMessage("该科目成绩已存在，您没有修改成绩的权限，请用其它身份登陆");
  } else if (outcome.result == store::ScoreWriteResult::RowDeleted) {
    web::ShowMessage("该学生已经没有有效成绩");
  }
  return outcome;
}

void ScoreEntryPage::showLastScore(const std::string& number, const std::string& name, int subjectIndex,
                             double value, std::int64_t rowId) {
  IWEdit4.Text = number;
  IWEdit5.Text = name;
  IWComboBox6.ItemIndex = subjectIndex;
  IWEdit7.Text = analysis::formatGeneral(value);
  IWEdit3.Text = std::to_string(rowId);
  const std::string subject = IWComboBox6.ItemIndex >= 0 ? IWComboBox6.text() : std::string();
  IWLink1.Confirmation = "确定删除" + number + " " + name + "的" + subject + "成绩？";
}

// Ready for the next student: the second part of the number is emptied, or advanced when
// the box is ticked (then only the score is left to type).
void ScoreEntryPage::nextDirectEntry() {
  const auto next = IWCheckBox1.Checked ? nextNumberPart(trimmed(IWEdit1.Text)) : std::nullopt;
  if (next) {
    IWEdit1.Text = *next;
    IWEdit2.Text.clear();
    setFocus(IWEdit2);
  } else {
    IWEdit1.Text.clear();
    setFocus(IWEdit1);
  }
}

void ScoreEntryPage::IWButton1Click() {
  if (!entry::requireEntryRights()) return;
  const std::string number = trimmed(IWEdit6.Text) + trimmed(IWEdit1.Text);
  guarded([&] {
    const auto student = admittedStudent(number, IWComboBox1);
    // After a refusal the number is typed again: the focus goes back to its box.
    if (!student) return setFocus(IWEdit1);
    const auto value = parseNumber(IWEdit2.Text);
    if (!value) {
      setFocus(IWEdit2);
      return web::ShowMessage("请正确录入成绩");
    }
    const auto outcome = record(*student, IWComboBox1.ItemIndex, *value);
    if (outcome.result == store::ScoreWriteResult::KeptExisting) {
      IWEdit1.Text.clear();
      setFocus(IWEdit1);
    }
    if (outcome.rowId == 0) return;
    showLastScore(number, student->name, IWComboBox1.ItemIndex, *value, outcome.rowId);
    nextDirectEntry();
  });
}

void ScoreEntryPage::IWButton2Click() {
  if (!entry::requireEntryRights()) return;
  guarded([&] {
    const auto student = admittedStudent(IWEdit9.Text, IWComboBox2);
    if (!student) return setFocus(IWEdit9);
    const auto fullMark = parseNumber(IWEdit8.Text);
    if (!fullMark) return web::ShowMessage("请正确录入总分");
    if (trimmed(IWMemo1.text()).empty()) return web::ShowMessage("请正确录入成绩");
    double deductions = 0;
    for (const std::string& line : IWMemo1.Lines) deductions += parseNumber(line).value_or(0);
    const double value = *fullMark - deductions;
    const auto outcome = record(*student, IWComboBox2.ItemIndex, value);
    if (outcome.rowId == 0) return;
    showLastScore(IWEdit9.Text, student->name, IWComboBox2.ItemIndex, value, outcome.rowId);
    IWEdit9.Text.clear();
    IWMemo1.Lines.clear();
    setFocus(IWEdit9);
  });
}

void ScoreEntryPage::IWLink1Click() {
  if (!entry::requireEntryRights()) return;
  guarded([&] {
    // The row id the last-score panel shows; none when the panel is empty.
    const auto rowId = exactInteger<std::int64_t>(IWEdit3.Text);
    const int subject = IWComboBox6.ItemIndex + 1;
    if (!rowId || subject < 1 ||
        !store::clearScore(data(), *rowId, subject, subjectCount(), author())) {
      return web::ShowMessage("无学生无法删除！");
    }
    for (web::Edit* e : {&IWEdit3, &IWEdit4, &IWEdit5, &IWEdit7}) e->Text.clear();
    web::ShowMessage("该成绩已删除");
  });
}

}  // namespace zeziza::pages
