#include "pages/master/subject_list_section.h"

#include "store/settings.h"
#include "store/subject_columns.h"
#include "web/user_session.h"

namespace zeziza::pages {

ListSectionLayout subjectListLayout() {
  return {.region = "SubjectsSection",
          .heading = "SubjectsHeading",
          .help = "SubjectsHelp",
          .edit = "subjectEdit",
          .button = "subjectAddButton",
          .list = "subjectList",
          .grid = "subjectGrid",
          .headingCaption = "科目设置",
          .helpLines = {"最多可以设置12个科目", "", "信息一经设置，即不可删除、修改", "",
                        "除非将系统重置为初始状态"},
          .nameHeader = "科目名称",
          .entryNoun = "科目"};
}

ListSectionRules subjectListRules() {
  return {.store = cachedList(store::key::kSubjects),
          .add = appendTyped("不能添加空字符串", {.duplicateMessage = "科目已存在，请检查后修改！",
                                                  .limit = store::kMaxSubjects,
                                                  .fullMessage = "系统最多可以管理12个科目"}),
          .clearTypedAfterAdd = true,
          .removable = false,
          // Every session's pages take the subjects as they are from its next page.
          .stored = [](const std::vector<std::string>&) {
            web::currentSession().context().officeSettingsChanged();
          }};
}

}  // namespace zeziza::pages
