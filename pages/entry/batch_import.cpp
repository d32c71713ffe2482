#include "pages/entry/batch_import.h"

#include "pages/common/rights.h"
#include "pages/entry/batch_import_check.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/score_entry.h"
#include "store/score_import.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

TIWFormdr::TIWFormdr() : web::Page("TIWFormdr") {
  Title = "批量导入成绩";
  OnCreate = [this] { IWAppFormCreate(); };
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWLink1.OnClick = [this] { IWLink1Click(); };
  header.Css = "bar";
  work.Css = "panel";
  columns.Css = "cols";
  numbersColumn.Css = "col";
  scoresColumn.Css = "col";
  IWLabel15.Caption = "当前位置：";
  IWLabel84.Caption = "批量导入成绩";
  IWLabel8.Caption = "当前测试";
  IWLabel7.Caption = "当前用户：";
  IWLink1.Caption = "【 返回 】";
  numbersCaption.Caption = "考号[学号]";
  scoresCaption.Caption = "成绩";
  subjectCaption.Caption = "科目";
  Memo1.Rows = 20;
  Memo2.Rows = 20;
  IWButton1.Caption = "导入成绩";
  IWText1.Lines = {
      "此功能适用于已有成绩表格，需要将成绩导入系统的情况。",
      "使用说明：",
      "1、从其它来源将考号或学号粘贴至考号[学号]文本框，每个考号一行。",
      "2、从其它来源将成绩粘贴至成绩文本框，每个考号一行。",
      "3、无论考号还是成绩均需严格一一对应、行数一致、不允许出现空行。",
  };
}

// Supervisors only: the score entry page opens the import for them alone.
void TIWFormdr::IWAppFormCreate() {
  IWLabel4.Caption = web::UserSession().defaultExam;
  if (!entry::requirePage(*this, {rights::kSupervisor}, header, IWLink1)) return;
  IWLabel20.Caption = entry::userCaption();
  IWComboBox1.Items = web::UserSession().context().settings().get()->subjects;
}

void TIWFormdr::IWButton1Click() {
  if (!requireRights({rights::kSupervisor})) return;
  if (IWComboBox1.ItemIndex < 0) return web::ShowMessage("请选择录入成绩的科目");
  web::TIWUserSession& session = web::UserSession();
  const ImportCheck check = checkImport(Memo1.Lines, Memo2.Lines, [&](const std::string& n) {
    return store::numberStored(session.ADOConnection1.db(), n);
  });
  if (!check.refusal.empty()) return web::ShowMessage(check.refusal);
  const int subjectCount =
      static_cast<int>(web::UserSession().context().settings().get()->subjects.size());
  try {
    // One transaction: a student gone since the check, or a store failure, writes nothing.
    const auto vanished = store::importScores(session.ADOConnection1.db(), IWLabel4.Caption,
                                              IWComboBox1.ItemIndex + 1, subjectCount, check.lines,
                                              {session.userName, className()});
    if (vanished) return web::ShowMessage("考生不存在,请核对后再试！");
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  web::ShowMessage("操作成功！");
  Memo2.Lines.clear();
}

void TIWFormdr::IWLink1Click() {
  web::UserSession().ShowPage<TIWForm2>();
}

}  // namespace zeziza::pages
