#include "pages/master/units.h"

#include "pages/common/rights.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kStudentsStillListed =
    "该列表项下还有学生，请先删除该列表项下所有学生，然后才能删除列表项！";

// A place is removed only when no student is listed under it; `field` of the roster names it.
std::function<std::string(const std::string&)> refuseWhileStudentsListed(store::PlaceField field) {
  return [field](const std::string& name) {
    return store::placeInUse(web::currentSession().dataConnection.db(), field, name)
               ? std::string(kStudentsStillListed)
               : std::string();
  };
}

// A column names its controls by the role of its entries: unitEdit, unitAddButton, unitGrid...
ListSectionLayout placeLayout(std::string region, const std::string& role, std::string caption,
                              std::vector<std::string> help, std::string nameHeader,
                              std::string noun) {
  return {.region = region,
          .heading = role + "Heading",
          .help = region + "Help",
          .edit = role + "Edit",
          .button = role + "AddButton",
          .list = role + "List",
          .grid = role + "Grid",
          .headingCaption = std::move(caption),
          .helpLines = std::move(help),
          .nameHeader = std::move(nameHeader),
          .entryNoun = std::move(noun)};
}

ListSectionRules placeRules(ListUpdater updater, store::PlaceField field, std::string emptyMessage,
                            std::string duplicateMessage) {
  return {.store = std::move(updater),
          .add = appendTyped(std::move(emptyMessage),
                             {.duplicateMessage = std::move(duplicateMessage)}),
          .refuseRemoval = refuseWhileStudentsListed(field)};
}

ListSectionRules gradesRules() {
  auto rules = placeRules(sessionList(store::key::kGrades), store::PlaceField::Grade,
                          "不能添加空字符串", "添加失败，该年级已存在！");
  // The session keeps its own copy of the grades.
  rules.stored = [](const std::vector<std::string>& grades) {
    web::currentSession().login.grades = grades;
  };
  return rules;
}

}  // namespace

UnitsPage::UnitsPage()
    : web::Page(kName),
      units_(Columns,
             placeLayout("UnitsColumn", "unit", "『管理单位』",
                         {"此处设置系统管理的单位，系统支持", "", "同时管理多个单位如多所学校。"},
                         "单位名称", "单位"),
             placeRules(cachedList(store::key::kUnits), store::PlaceField::Unit,
                        "添加失败，不能添加空字符串", "添加失败，该单位已存在！")),
      grades_(Columns,
              placeLayout("GradesColumn", "grade", "『管理年级』",
                          {"此处设置系统管理的年级，系统支持同时管理多个年级", "",
                           "建议使用2010级、2011级这样的年级形式，以避免学生", "",
                           "升级带来的麻烦；各个单位都具有相同的年级。"},
                          "年级", "年级"),
              gradesRules()),
      classes_(Columns,
               placeLayout("ClassesColumn", "class", "『管理班次』",
                           {"此处设置系统管理的班次，系统支持同时管理多个班次", "",
                            "各个年级都具有相同的班次。"},
                           "班次", "班次"),
               placeRules(cachedList(store::key::kClasses), store::PlaceField::Class,
                          "不能添加空字符串", "添加失败，该班次已存在！")) {
  Title = "单位设置";
  Columns.Css = "cols";
  OnCreate = [this] { onCreate(); };
}

void UnitsPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = web::currentSession().context().settings().get();
  units_.load(settings->units);
  grades_.load(web::currentSession().login.grades);
  classes_.load(settings->classes);
}

}  // namespace zeziza::pages
