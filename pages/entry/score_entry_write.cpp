// The writing handlers of the score entry page: direct entry, computed entry and the delete
// link of the last-score panel.
#include <functional>

#include "analysis/number_format.h"
#include "analysis/typed_number.h"
#include "pages/common/item_lists.h"
#include "pages/common/session_data.h"
#include "pages/common/text.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/exam_in_use.h"
#include "pages/entry/scope_refusal.h"
#include "pages/entry/score_entry.h"
#include "pages/entry/score_text.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/control.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kFailed = "操作错误,指令没有完成";

// Whatever fails while writing is reported as the one failure message.
void guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const web::BadPost&) {
    throw;  // a forged scope is refused as any bad value
  } catch (const std::exception&) {
    web::ShowMessage(kFailed);
  }
}

int subjectCount() {
  return static_cast<int>(web::currentSession().context().settings().get()->subjects.size());
}

// Score changes of this page are kept in the history under the signed-in user.
store::ScoreAuthor author() {
  return {web::currentSession().login.userName, "ScoreEntryPage"};
}

}  // namespace

std::optional<entry::Student> ScoreEntryPage::admittedStudent(const std::string& number,
                                                              const web::ComboBox& subjects) {
  auto student = store::findStudent(data(), number);
  if (!student) {
    web::ShowMessage("考生不存在,请核对后再试！");
    return std::nullopt;
  }
  // The boxes' scope, which never reaches past the account's permitted one.
  const store::Scope scope = scopeBoxes.scope();
  if (!scope.admits(student->unit, student->grade, student->cls)) {
    web::ShowMessage(entry::scopeRefusal(scope, *student, entry::isClassTeacher()));
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
  switch (outcome.result) {
    case store::ScoreWriteResult::KeptExisting:
      web::ShowMessage("该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录");
      break;
    case store::ScoreWriteResult::RowDeleted:
    case store::ScoreWriteResult::NoRow:
      web::ShowMessage("该学生已经没有有效成绩");
      break;
    case store::ScoreWriteResult::Refused: {
      const auto settings = web::currentSession().context().settings().get();
      web::ShowMessage(
          refusedScoreText(student.number, student.name,
                           settings->subjects.at(static_cast<std::size_t>(subjectIndex)), value,
                           outcome.fault, outcome.fullMark));
      break;
    }
    case store::ScoreWriteResult::Inserted:
    case store::ScoreWriteResult::Updated:
    case store::ScoreWriteResult::Unchanged:
      break;
  }
  return outcome;
}

void ScoreEntryPage::showLastScore(const std::string& number, const std::string& name,
                                   int subjectIndex, double value, std::int64_t rowId) {
  lastNumberEdit.Text = number;
  lastNameEdit.Text = name;
  lastSubjectBox.ItemIndex = subjectIndex;
  lastScoreEdit.Text = analysis::formatGeneral(value);
  rowIdEdit.Text = std::to_string(rowId);
  const std::string subject = chosenText(lastSubjectBox);
  deleteLastLink.Confirmation = "确定删除" + number + " " + name + "的" + subject + "成绩？";
}

// Ready for the next student: the second part of the number is emptied, or advanced when
// the box is ticked (then only the score is left to type).
void ScoreEntryPage::nextDirectEntry() {
  const auto next =
      autoIncrementBox.Checked ? nextNumberPart(trimmed(directNumberEdit.Text)) : std::nullopt;
  if (next) {
    directNumberEdit.Text = *next;
    directScoreEdit.Text.clear();
    setFocus(directScoreEdit);
  } else {
    directNumberEdit.Text.clear();
    setFocus(directNumberEdit);
  }
}

// The page goes on with the stored default when the office switched it; nothing is written.
bool ScoreEntryPage::examStillDefault() {
  if (entry::examStillDefault(examCaption)) return true;
  exam_ = examCaption.Caption;
  return false;
}

void ScoreEntryPage::onDirectEntry() {
  if (!entry::requireEntryRights() || !examStillDefault()) return;
  const std::string number = trimmed(numberPrefixEdit.Text) + trimmed(directNumberEdit.Text);
  guarded([&] {
    const auto student = admittedStudent(number, directSubjectBox);
    // After a refusal the number is typed again: the focus goes back to its box.
    if (!student) return setFocus(directNumberEdit);
    const auto value = analysis::typedNumber(directScoreEdit.Text);
    if (!value) {
      setFocus(directScoreEdit);
      return web::ShowMessage(notAScoreText(directScoreEdit.Text));
    }
    const auto outcome = record(*student, directSubjectBox.ItemIndex, *value);
    if (outcome.result == store::ScoreWriteResult::KeptExisting) {
      directNumberEdit.Text.clear();
      setFocus(directNumberEdit);
    }
    // A refused score is typed again for the same student.
    if (outcome.result == store::ScoreWriteResult::Refused) setFocus(directScoreEdit);
    if (outcome.rowId == 0) return;
    showLastScore(number, student->name, directSubjectBox.ItemIndex, *value, outcome.rowId);
    nextDirectEntry();
  });
}

void ScoreEntryPage::onComputedEntry() {
  if (!entry::requireEntryRights() || !examStillDefault()) return;
  guarded([&] {
    const auto student = admittedStudent(computedNumberEdit.Text, computedSubjectBox);
    if (!student) return setFocus(computedNumberEdit);
    const auto fullMark = analysis::typedNumber(fullMarkEdit.Text);
    if (!fullMark || *fullMark <= 0) return web::ShowMessage(notAFullMarkText(fullMarkEdit.Text));
    if (analysis::blankTyped(deductionsMemo.text())) return web::ShowMessage("请正确录入成绩");
    const auto deductions = deductionSum();
    if (!deductions) return;
    // Deductions that reach the full mark leave no score, never a negative one.
    double value = *fullMark - *deductions;
    if (value <= 0) {
      web::ShowMessage("扣分合计达到或超过满分" + analysis::formatGeneral(*fullMark) +
                       "，该科记为没有成绩");
      value = 0;
    }
    const auto outcome = record(*student, computedSubjectBox.ItemIndex, value);
    if (outcome.rowId == 0) return;
    showLastScore(computedNumberEdit.Text, student->name, computedSubjectBox.ItemIndex, value,
                  outcome.rowId);
    computedNumberEdit.Text.clear();
    deductionsMemo.Lines.clear();
    setFocus(computedNumberEdit);
  });
}

// The sum of the deduction lines; blank lines are passed over. A line that is not a
// deduction is named and nothing is summed.
std::optional<double> ScoreEntryPage::deductionSum() {
  double sum = 0;
  for (std::size_t n = 0; n < deductionsMemo.Lines.size(); ++n) {
    const std::string& line = deductionsMemo.Lines[n];
    if (analysis::blankTyped(line)) continue;
    const auto deduction = analysis::typedNumber(line);
    if (!deduction || *deduction < 0) {
      setFocus(deductionsMemo);
      web::ShowMessage(notADeductionText(n + 1, line));
      return std::nullopt;
    }
    sum += *deduction;
  }
  return sum;
}

void ScoreEntryPage::onDeleteLast() {
  if (!entry::requireEntryRights()) return;
  guarded([&] {
    // The row id the last-score panel shows; none when the panel is empty.
    const auto rowId = exactInteger<std::int64_t>(rowIdEdit.Text);
    const int subject = lastSubjectBox.ItemIndex + 1;
    if (!rowId || subject < 1 ||
        !store::clearScore(data(), *rowId, subject, subjectCount(), author())) {
      return web::ShowMessage("无学生无法删除！");
    }
    for (web::Edit* e : {&rowIdEdit, &lastNumberEdit, &lastNameEdit, &lastScoreEdit})
      e->Text.clear();
    web::ShowMessage("该成绩已删除");
  });
}

}  // namespace zeziza::pages
