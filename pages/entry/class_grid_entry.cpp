#include "pages/entry/class_grid_entry.h"

#include "analysis/number_format.h"
#include "pages/common/rights.h"
#include "pages/entry/entry_access.h"
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

store::Database& data() {
  return web::currentSession().dataConnection.db();
}

void selectFirst(web::ComboBox& list) {
  list.ItemIndex = list.Items.empty() ? -1 : 0;
}

}  // namespace

ClassGridEntryPage::ClassGridEntryPage() : web::Page("ClassGridEntryPage") {
  Title = "表格录入";
  OnCreate = [this] { onCreate(); };
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWButton2.OnClick = [this] { IWButton2Click(); };
  IWButton3.OnClick = [this] { IWButton3Click(); };
  IWLink1.OnClick = [this] { IWLink1Click(); };
  header.Css = "bar";
  work.Css = "panel";
  IWLabel3.Caption = "当前测试";
  IWLabel6.Caption = "用户：";
  IWLink1.Caption = "【 返回 】";
  IWLabel1.Caption = "表格录入模式";
  IWButton1.Caption = "选择班级";
  IWButton2.Caption = "保存成绩";
  IWButton3.Caption = "取消";
  IWLabel41.Caption = " ";
  IWGrid1.setColumnCount(kGroups * kColumnsPerGroup);
  IWGrid1.setRowCount(1);
  IWGrid1.Visible = false;
  setEditing(false);
}

void ClassGridEntryPage::onCreate() {
  IWLabel4.Caption = web::currentSession().defaultExam;
  const bool allowed = entry::requirePage(
      *this, {rights::kSupervisor, rights::kClerk, rights::kClassTeacher}, header, IWLink1);
  if (!allowed) return;
  fillClassLists();
  iwlabel20.Caption = entry::userCaption();
  IWComboBox1.Items = web::currentSession().context().settings().get()->subjects;
}

void ClassGridEntryPage::fillClassLists() {
  web::Session& session = web::currentSession();
  if (entry::isClassTeacher()) {
    teacherPlace_ = store::accountPlace(data(), session.userName);
    IWComboBox3.Items = {teacherPlace_->unit};
    IWComboBox4.Items = {teacherPlace_->grade};
    IWComboBox5.Items = {teacherPlace_->cls};
  } else {
    const auto settings = web::currentSession().context().settings().get();
    IWComboBox3.Items = settings->units;
    IWComboBox4.Items = session.grades;
    IWComboBox5.Items = settings->classes;
  }
  for (web::ComboBox* list : {&IWComboBox3, &IWComboBox4, &IWComboBox5}) selectFirst(*list);
}

// A class teacher loads the own class, whatever the lists post.
entry::Place ClassGridEntryPage::chosenPlace() const {
  if (teacherPlace_) return *teacherPlace_;
  return {IWComboBox3.text(), IWComboBox4.text(), IWComboBox5.text()};
}

void ClassGridEntryPage::setEditing(bool editing) {
  IWButton1.Enabled = !editing;
  IWButton2.Enabled = editing;
  // The lists show what is loaded while the boxes are edited.
  for (web::ComboBox* list : {&IWComboBox3, &IWComboBox4, &IWComboBox5, &IWComboBox1}) {
    list->Enabled = !editing;
  }
}

void ClassGridEntryPage::emptyGrid() {
  slots_.clear();
  IWGrid1.clear();
}

void ClassGridEntryPage::IWButton1Click() {
  if (!entry::requireEntryRights()) return;
  if (IWComboBox1.ItemIndex < 0) return web::ShowMessage("请选择科目");
  emptyGrid();
  IWGrid1.setRowCount(1);
  const entry::Place place = chosenPlace();
  const auto students = store::classMembers(data(), place);
  const std::size_t count = students.size();
  if (count == 0) {
    IWGrid1.Visible = false;
    return;
  }
  if (count > kMaxStudents) {
    IWGrid1.Visible = false;
    return web::ShowMessage("该班共有" + std::to_string(count) + "名学生，超过表格录入的上限" +
                            std::to_string(kMaxStudents) + "人，请用其它模式录入");
  }
  IWGrid1.Visible = true;
  IWLabel41.Caption = place.unit + place.grade + place.cls + IWComboBox1.text() + "中共有" +
                      std::to_string(count) + "条符合条件的记录";
  fillGrid(students, IWComboBox1.ItemIndex + 1);
  loadedSubject_ = IWComboBox1.ItemIndex;
  setEditing(true);
  for (const Slot& slot : slots_) {
    if (slot.box->Enabled) return setFocus(*slot.box);  // the first score to type
  }
}

void ClassGridEntryPage::fillGrid(const std::vector<store::ClassMember>& students, int subject) {
  const int count = static_cast<int>(students.size());
  IWGrid1.setRowCount((count + kGroups - 1) / kGroups + 1);
  for (int g = 0; g < kGroups; ++g) {
    IWGrid1.cell(0, g * kColumnsPerGroup).Text = "考号";
    IWGrid1.cell(0, g * kColumnsPerGroup + 1).Text = "姓名";
    IWGrid1.cell(0, g * kColumnsPerGroup + 2).Text = "成绩";
  }
  int position = 0;
  for (const auto& student : students) {
    addSlot(position / kGroups + 1, position % kGroups, student, subject);
    ++position;
  }
  chainEnterKeys();
}

// The box shows the stored score of the subject; a score clerk sees a valid one locked.
void ClassGridEntryPage::addSlot(int row, int group, const store::ClassMember& student, int subject) {
  auto box = std::make_unique<web::Edit>(IWGrid1, "scoreBox" + std::to_string(slots_.size() + 1));
  box->Css = "srk cell";
  box->MaxLength = 32;
  const double stored = store::storedScore(data(), IWLabel4.Caption, student.key, subject);
  if (stored > 0) {
    box->Text = analysis::formatGeneral(stored);
    box->Enabled = !entry::isClerk();
  }
  IWGrid1.cell(row, group * kColumnsPerGroup).Text = student.number;
  IWGrid1.cell(row, group * kColumnsPerGroup + 1).Text = student.name;
  IWGrid1.cell(row, group * kColumnsPerGroup + 2).Content = box.get();
  slots_.push_back({student.key, student.number, student.name, std::move(box)});
}

// Enter in a box moves on to the next open box, and from the last to the save button.
void ClassGridEntryPage::chainEnterKeys() {
  const web::Control* next = &IWButton2;
  for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
    if (!it->box->Enabled) continue;
    it->box->EnterKey = web::KeyAction::focus(*next, true);
    next = it->box.get();
  }
}

void ClassGridEntryPage::IWButton2Click() {
  if (!entry::requireEntryRights()) return;
  if (slots_.empty()) return web::ShowMessage("未选择学生，请选择学生后才能录入成绩");
  const int subjectCount =
      static_cast<int>(web::currentSession().context().settings().get()->subjects.size());
  std::string invalid;
  std::vector<store::GridScore> scores;
  for (const Slot& slot : slots_) {
    if (!slot.box->Enabled) continue;  // a clerk's locked score
    const auto value = parseNumber(slot.box->Text);
    if (!value) {
      invalid += slot.number + "[" + slot.name + "] ";
      continue;
    }
    scores.push_back({slot.key, *value});
  }
  const store::GridSave save{IWLabel4.Caption,
                             loadedSubject_ + 1,
                             subjectCount,
                             entry::isClerk(),
                             {web::currentSession().userName, className()}};
  bool refused = false;
  try {
    // The grid is saved whole or not at all.
    refused = store::saveClassGrid(data(), save, scores).keptExisting;
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  // The grid stays loaded with 保存成绩 on, so a box found wrong can be mended and saved again.
  if (!invalid.empty()) web::ShowMessage(invalid + "成绩格式有误，请检查！！！");
  if (refused) {
    web::ShowMessage("该科目成绩已存在，您没有修改成绩的权限，请用其它身份登陆");
  } else {
    web::ShowMessage("已保存" + std::to_string(scores.size()) + "个成绩");
  }
}

void ClassGridEntryPage::IWButton3Click() {
  emptyGrid();
  setEditing(false);
}

void ClassGridEntryPage::IWLink1Click() {
  web::currentSession().ShowPage<ScoreEntryPage>();
}

}  // namespace zeziza::pages
