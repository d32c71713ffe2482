#include "pages/master/units.h"

#include "pages/common/rights.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

PlaceColumnSpec unitsSpec() {
  return {.region = "UnitsColumn",
          .title = "IWLabel1",
          .list = "IWList1",
          .edit = "IWEdit2",
          .button = "IWButton2",
          .grid = "IWGrid1",
          .titleCaption = "『管理单位』",
          .help = {"此处设置系统管理的单位，系统支持", "", "同时管理多个单位如多所学校。"},
          .nameHeader = "单位名称",
          .key = store::key::kUnits,
          .studentColumn = "xx",
          .emptyMessage = "添加失败，不能添加空字符串",
          .duplicateMessage = "添加失败，该单位已存在！"};
}

PlaceColumnSpec gradesSpec() {
  return {.region = "GradesColumn",
          .title = "IWLabel2",
          .list = "IWList2",
          .edit = "IWEdit3",
          .button = "IWButton3",
          .grid = "IWGrid2",
          .titleCaption = "『管理年级』",
          .help = {"此处设置系统管理的年级，系统支持同时管理多个年级", "",
                   "建议使用2010级、2011级这样的年级形式，以避免学生", "",
                   "升级带来的麻烦；各个单位都具有相同的年级。"},
          .nameHeader = "年级",
          .key = store::key::kGrades,
          .studentColumn = "nj",
          .emptyMessage = "不能添加空字符串",
          .duplicateMessage = "添加失败，该年级已存在！",
          .sessionCopy = &web::TIWUserSession::grades};
}

PlaceColumnSpec classesSpec() {
  return {.region = "ClassesColumn",
          .title = "IWLabel3",
          .list = "IWList3",
          .edit = "IWEdit4",
          .button = "IWButton4",
          .grid = "IWGrid3",
          .titleCaption = "『管理班次』",
          .help = {"此处设置系统管理的班次，系统支持同时管理多个班次", "",
                   "各个年级都具有相同的班次。"},
          .nameHeader = "班次",
          .key = store::key::kClasses,
          .studentColumn = "bj",
          .emptyMessage = "不能添加空字符串",
          .duplicateMessage = "添加失败，该班次已存在！"};
}

}  // namespace

Tdwset::Tdwset()
    : web::Page("Tdwset"),
      units_(Columns, unitsSpec()),
      grades_(Columns, gradesSpec()),
      classes_(Columns, classesSpec()) {
  Title = "单位设置";
  Columns.Css = "cols";
  OnCreate = [this] { IWAppFormCreate(); };
  units_.Add.OnClick = [this] { IWButton2Click(); };
  grades_.Add.OnClick = [this] { IWButton3Click(); };
  classes_.Add.OnClick = [this] { IWButton4Click(); };
  units_.Entries.OnCellClick = [this](int row, int column) { IWGrid1CellClick(row, column); };
  grades_.Entries.OnCellClick = [this](int row, int column) { IWGrid2CellClick(row, column); };
  classes_.Entries.OnCellClick = [this](int row, int column) { IWGrid3CellClick(row, column); };
}

void Tdwset::IWAppFormCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const auto settings = web::UserSession().context().settings().get();
  units_.load(settings->units);
  grades_.load(web::UserSession().grades);
  classes_.load(settings->classes);
}

}  // namespace zeziza::pages
