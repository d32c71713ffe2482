#include "pages/master/exam_list_section.h"

#include <stdexcept>

#include "pages/common/rights.h"
#include "pages/master/list_entries.h"
#include "store/comma_text.h"
#include "store/exams.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kDefaultExamMessage = "您不能删除默认考试项目，请先修改默认考试项目再删除！";
constexpr const char* kExamHasScoresMessage =
    "还有该考试项目的成绩信息，请先删除对应的成绩信息，然后才能删除考试项目！";

// Why a stored exam may not be deleted now; read inside the list's transaction.
std::string deletionRefusal(const std::string& exam) {
  auto& db = web::currentSession().dataConnection.db();
  // Another session may have made it the default since this one signed in.
  if (store::sameEntry(store::readSetting(db, store::key::kDefaultExam), exam)) {
    return kDefaultExamMessage;
  }
  return store::examHasScores(db, exam) ? kExamHasScoresMessage : "";
}

void writeDefaultExam(const std::string& exam) {
  if (!store::writeSetting(web::currentSession().dataConnection.db(), store::key::kDefaultExam,
                           exam)) {
    throw std::runtime_error("系统设置表中缺少设置项mrtest，无法保存");
  }
}

}  // namespace

ListSectionLayout examListLayout() {
  return {.region = "ExamsSection",
          .heading = "ExamsHeading",
          .help = "ExamsHelp",
          .edit = "examEdit",
          .button = "examAddButton",
          .list = "examList",
          .grid = "examGrid",
          .headingCaption = "考试项目设置",
          .helpLines = {"此处设置考试项目,新增加的项目将自动设置", "",
                        "为默认项目，同时取消原来的默认考试设置。"},
          .nameHeader = "考试项目名称",
          .entryNoun = "考试"};
}

ListSectionRules examListRules() {
  return {.store = sessionList(store::key::kExams),
          .add = appendTyped("不能添加空字符串", {.duplicateMessage = "项目已存在，请检查后修改！",
                                                  .alsoWrite = writeDefaultExam}),
          .clearTypedAfterAdd = true,
          .refuseRemovalEarly =
              [](const std::string& exam) {
                return exam == web::currentSession().login.defaultExam ? kDefaultExamMessage : "";
              },
          .refuseRemoval = deletionRefusal,
          .stored =
              [](const std::vector<std::string>& exams) {
                web::currentSession().login.exams = exams;
                // Other sessions' pages show the exams (and a new default) from their next page.
                web::currentSession().context().officeSettingsChanged();
              },
          .added = [](const std::string& exam) { web::currentSession().login.defaultExam = exam; }};
}

}  // namespace zeziza::pages
