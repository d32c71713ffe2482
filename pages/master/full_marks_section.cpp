#include "pages/master/full_marks_section.h"

#include "analysis/full_marks.h"
#include "pages/common/item_lists.h"
#include "pages/common/rights.h"
#include "pages/common/session_data.h"
#include "pages/common/text.h"
#include "store/scale_settings.h"
#include "store/settings_cache.h"
#include "store/transaction.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::vector<int> storedFullMarks(std::size_t subjectCount) {
  return analysis::parseFullMarks(store::readFullMarkTexts(data()), subjectCount);
}

}  // namespace

FullMarksSection::FullMarksSection(web::Container& parent)
    : web::Region(parent, "FullMarksSection") {
  Css = "col";
  Heading.Caption = "满分设置";
  Heading.Bold = true;
  HelpBox.Css = "help";
  Help.Lines = {"各科目的满分，默认为100分。", "", "分数等级和分数段按百分制设置，",
                "统计时按各科满分折算，", "总分按各科满分之和折算。"};
  Subject.NoSelectionText = "科目";
  Mark.Css = "srk level";
  Save.Caption = "保存满分";
  Marks.Css = "grid qbk";
  Marks.setColumnCount(2);
}

void FullMarksSection::load(const std::vector<std::string>& subjects) {
  const std::string chosen = chosenText(Subject);
  Subject.Items = subjects;
  Subject.select(chosen);
  if (Subject.ItemIndex < 0 && !subjects.empty()) Subject.ItemIndex = 0;
  const std::vector<int> marks = storedFullMarks(subjects.size());
  Marks.clear();
  Marks.setRowCount(static_cast<int>(subjects.size()) + 1);
  Marks.cell(0, 0).Text = "科目名称";
  Marks.cell(0, 1).Text = "满分";
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    Marks.cell(static_cast<int>(i) + 1, 0).Text = subjects[i];
    Marks.cell(static_cast<int>(i) + 1, 1).Text = std::to_string(marks[i]);
  }
}

void FullMarksSection::save() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  if (Subject.ItemIndex < 0) return web::ShowMessage("请先选择科目！");
  const auto mark = wholeNumber(Mark.Text);
  if (!mark || *mark < 1 || *mark > kHighestFullMark) {
    return web::ShowMessage("满分必须是1到1000之间的整数！");
  }
  const auto subjects = web::currentSession().context().settings().get()->subjects;
  const auto position = static_cast<std::size_t>(Subject.ItemIndex);
  if (position >= subjects.size() || subjects[position] != Subject.text()) {
    return web::ShowMessage("科目列表已改变，请重新打开本页后再设置。");
  }
  {
    store::Transaction transaction(data());
    std::vector<int> marks = storedFullMarks(subjects.size());
    marks[position] = *mark;
    std::vector<std::string> texts;
    for (const int m : marks) texts.push_back(std::to_string(m));
    store::storeFullMarkTexts(data(), texts);
    transaction.commit();
  }
  Mark.Text.clear();
  load(subjects);
}

}  // namespace zeziza::pages
