#include "pages/entry/class_grid_entry.h"

#include "analysis/number_format.h"
#include "analysis/typed_number.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/common/session_data.h"
#include "pages/common/text.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/exam_in_use.h"
#include "pages/entry/score_entry.h"
#include "pages/entry/score_text.h"
#include "store/class_grid.h"
#include "store/comma_text.h"
#include "store/score_write.h"
#include "store/settings_cache.h"
#include "store/transaction.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr int kGroups = 4;           // students side by side in a grid row
constexpr int kColumnsPerGroup = 3;  // 序号, 姓名, 成绩
// Every box is a field of the save's post, and the web transport takes at most 1,024 parts
// (with the page's own hidden fields and lists).
constexpr std::size_t kMaxStudents = 1000;

}  // namespace

ClassGridEntryPage::ClassGridEntryPage() : web::Page("ClassGridEntryPage") {
  Title = "表格录入";
  OnCreate = [this] { onCreate(); };
  loadButton.OnClick = [this] { onLoadClass(); };
  saveButton.OnClick = [this] { onSave(); };
  cancelButton.OnClick = [this] { onCancel(); };
  backLink.OnClick = [this] { onBack(); };
  header.Css = "bar";
  work.Css = "panel";
  examTitleCaption.Caption = "当前测试";
  userTitleCaption.Caption = "用户：";
  backLink.Caption = "【 返回 】";
  modeCaption.Caption = "表格录入模式";
  loadButton.Caption = "选择班级";
  saveButton.Caption = "保存成绩";
  cancelButton.Caption = "取消";
  loadedCaption.Caption = " ";
  // A phone lays the groups one under another: one column of boxes.
  scoresGrid.Css = "grid class-grid";
  scoresGrid.setColumnCount(kGroups * kColumnsPerGroup);
  scoresGrid.setRowCount(1);
  scoresGrid.Visible = false;
  setEditing(false);
}

void ClassGridEntryPage::onCreate() {
  examCaption.Caption = web::currentSession().login.defaultExam;
  const bool allowed = entry::requirePage(*this, page_rights::kEntry, header, backLink);
  if (!allowed) return;
  scopeBoxes.fill();  // a class teacher's own class alone
  userCaption.Caption = entry::userCaption();
  subjectBox.Items = web::currentSession().context().settings().get()->subjects;
}

void ClassGridEntryPage::setEditing(bool editing) {
  loadButton.Enabled = !editing;
  saveButton.Enabled = editing;
  // Scores typed but not saved are not lost by leaving the page unawares.
  work.LeaveQuestion = editing ? "表格中有尚未保存的成绩，确定要离开本页吗？" : "";
  cancelButton.DiscardQuestion = editing ? "表格中有尚未保存的成绩，确定要取消吗？" : "";
  // The lists show what is loaded while the boxes are edited.
  for (web::ComboBox* list : {&unitBox, &gradeBox, &classBox, &subjectBox}) {
    list->Enabled = !editing;
  }
}

void ClassGridEntryPage::emptyGrid() {
  slots_.clear();
  scoresGrid.clear();
}

void ClassGridEntryPage::onLoadClass() {
  if (!entry::requireEntryRights() || !entry::examStillDefault(examCaption)) return;
  if (subjectBox.ItemIndex < 0) return web::ShowMessage("请选择科目");
  const store::Scope place = scopeBoxes.scope();  // before anything changes: it may refuse
  emptyGrid();
  scoresGrid.setRowCount(1);
  const auto students = store::classMembers(data(), place);
  const std::size_t count = students.size();
  if (count == 0) {
    scoresGrid.Visible = false;
    return;
  }
  if (count > kMaxStudents) {
    scoresGrid.Visible = false;
    return web::ShowMessage("该班共有" + std::to_string(count) + "名学生，超过表格录入的上限" +
                            std::to_string(kMaxStudents) + "人，请用其它模式录入");
  }
  scoresGrid.Visible = true;
  loadedCaption.Caption = *place.unit + *place.grade + *place.cls + subjectBox.text() + "中共有" +
                          std::to_string(count) + "条符合条件的记录";
  fillGrid(students, subjectBox.ItemIndex + 1);
  loadedSubject_ = subjectBox.ItemIndex;
  setEditing(true);
  for (const Slot& slot : slots_) {
    if (slot.box->Enabled) return setFocus(*slot.box);  // the first score to type
  }
}

void ClassGridEntryPage::fillGrid(const std::vector<store::ClassMember>& students, int subject) {
  const int count = static_cast<int>(students.size());
  scoresGrid.setRowCount((count + kGroups - 1) / kGroups + 1);
  for (int g = 0; g < kGroups; ++g) {
    scoresGrid.cell(0, g * kColumnsPerGroup).Text = "考号";
    scoresGrid.cell(0, g * kColumnsPerGroup + 1).Text = "姓名";
    scoresGrid.cell(0, g * kColumnsPerGroup + 2).Text = "成绩";
  }
  int position = 0;
  for (const auto& student : students) {
    addSlot(position / kGroups + 1, position % kGroups, student, subject);
    ++position;
  }
  chainEnterKeys();
}

// The box shows the stored score of the subject; a score clerk sees a valid one locked.
void ClassGridEntryPage::addSlot(int row, int group, const store::ClassMember& student,
                                 int subject) {
  auto box =
      std::make_unique<web::Edit>(scoresGrid, "scoreBox" + std::to_string(slots_.size() + 1));
  box->Css = "srk cell";
  box->InputMode = "decimal";
  box->MaxLength = 32;
  const double stored = store::storedScore(data(), examCaption.Caption, student.key, subject);
  if (stored > 0) {
    box->Text = analysis::formatGeneral(stored);
    box->Enabled = !entry::isClerk();
  }
  scoresGrid.cell(row, group * kColumnsPerGroup).Text = student.number;
  scoresGrid.cell(row, group * kColumnsPerGroup + 1).Text = student.name;
  scoresGrid.cell(row, group * kColumnsPerGroup + 2).Content = box.get();
  std::string shown = box->Text;
  slots_.push_back({student.key, student.number, student.name, std::move(box), std::move(shown)});
}

// A typed score stays for the user to save again into the exam now shown, unless a clerk may
// no longer change the box.
void ClassGridEntryPage::showExamScores() {
  for (Slot& slot : slots_) {
    const double stored =
        store::storedScore(data(), examCaption.Caption, slot.key, loadedSubject_ + 1);
    const bool typed = slot.box->Text != slot.shown;
    slot.shown = stored > 0 ? analysis::formatGeneral(stored) : std::string();
    slot.box->Enabled = !(stored > 0 && entry::isClerk());
    if (!typed || !slot.box->Enabled) slot.box->Text = slot.shown;
  }
  chainEnterKeys();
}

// Enter in a box moves on to the next open box, and from the last to the save button.
void ClassGridEntryPage::chainEnterKeys() {
  const web::Control* next = &saveButton;
  for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
    if (!it->box->Enabled) continue;
    it->box->EnterKey = web::KeyAction::focus(*next, true);
    next = it->box.get();
  }
}

// A blank box is no score, like 0: a stored score taken out of its box goes. The message
// counts what the save did.
void ClassGridEntryPage::onSave() {
  if (!entry::requireEntryRights()) return;
  if (slots_.empty()) return web::ShowMessage("未选择学生，请选择学生后才能录入成绩");
  if (!entry::examStillDefault(examCaption)) return showExamScores();
  const auto settings = web::currentSession().context().settings().get();
  const int subjectCount = static_cast<int>(settings->subjects.size());
  std::string invalid;
  std::vector<store::GridScore> scores;
  std::vector<const Slot*> saved;  // the slot of each score
  for (const Slot& slot : slots_) {
    if (!slot.box->Enabled) continue;  // a clerk's locked score
    const std::string& typed = slot.box->Text;
    const auto value =
        analysis::blankTyped(typed) ? std::optional<double>(0) : analysis::typedNumber(typed);
    if (!value) {
      invalid += slot.number + "[" + slot.name + "]“" + analysis::quotedTyped(typed) + "” ";
      continue;
    }
    scores.push_back({slot.key, *value});
    saved.push_back(&slot);
  }
  const store::GridSave save{examCaption.Caption,
                             loadedSubject_ + 1,
                             subjectCount,
                             entry::isClerk(),
                             {web::currentSession().login.userName, className()}};
  store::GridSaveOutcome outcome;
  try {
    outcome = store::saveClassGrid(data(), save, scores);
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  // The grid stays loaded with 保存成绩 on, so a box found wrong can be mended and saved again.
  if (!invalid.empty()) web::ShowMessage(invalid + "成绩格式有误，" + kScoreHint);
  if (!outcome.refused.empty()) {
    std::string refused;
    const std::string& subject = settings->subjects.at(static_cast<std::size_t>(loadedSubject_));
    for (const store::RefusedBox& box : outcome.refused) {
      const Slot& slot = *saved.at(box.box);
      refused += refusedScoreText(slot.number, slot.name, subject, scores[box.box].value, box.fault,
                                  box.fullMark) +
                 "\n";
    }
    web::ShowMessage(refused + "以上成绩未保存，请检查！");
  }
  if (outcome.keptExisting) {
    web::ShowMessage("该科目成绩已存在，您没有修改成绩的权限，请用其它身份登录");
  } else {
    web::ShowMessage("已保存：" + writeCountsText(outcome.counts));
  }
}

void ClassGridEntryPage::onCancel() {
  emptyGrid();
  setEditing(false);
}

void ClassGridEntryPage::onBack() {
  web::currentSession().ShowPage<ScoreEntryPage>();
}

}  // namespace zeziza::pages
