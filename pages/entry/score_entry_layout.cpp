// The fixed captions, help texts and Enter keys of the score entry page.
#include "pages/entry/score_entry.h"

namespace zeziza::pages {

namespace {

// The note on 0 stands once, under the panels (zeroScoreNote).
const std::vector<std::string> kSpecialNote = {
    "特别说明：",
    "如果对成绩限定做出设置，则不符合条件的班级的学生的成绩将不能",
    "录入并给出提示。",
};

std::vector<std::string> withSpecialNote(std::vector<std::string> lines) {
  lines.emplace_back();
  lines.insert(lines.end(), kSpecialNote.begin(), kSpecialNote.end());
  return lines;
}

}  // namespace

void ScoreEntryPage::buildCaptions() {
  locationCaption.Caption = "当前位置：成绩录入";
  examTitleCaption.Caption = "当前测试：";
  userTitleCaption.Caption = "用户名";
  analysisLink.Caption = "成绩分析";
  passwordLink.Caption = "修改密码";
  signOutLink.Caption = "退出";
  directModeLink.Caption = "直接录入模式 |";
  computedModeLink.Caption = "计算录入模式 |";
  gridModeLink.Caption = "列表录入模式 |";
  importModeLink.Caption = "导入录入模式";
  scopeCaption.Caption = "成绩限定";

  lastScoreTitle.Lines = {"上", "一", "学", "生", "成", "绩"};
  rowIdCaption.Caption = "流水号";
  lastNumberCaption.Caption = "考    号";
  lastNameCaption.Caption = "姓    名";
  lastSubjectCaption.Caption = "科    目";
  lastScoreCaption.Caption = "成    绩";
  for (web::Edit* e : {&rowIdEdit, &lastNumberEdit, &lastNameEdit, &lastScoreEdit})
    e->ReadOnly = true;
  deleteLastLink.Caption = "[删除该成绩]";

  directSubjectCaption.Caption = "科目";
  autoIncrementBox.Caption = "考号自动递增";
  directNumberCaption.Caption = "考号";
  directScoreCaption.Caption = "成绩";
  directEnterButton.Caption = "录入";
  directHelp.Lines = withSpecialNote({
      "1、选择录入的科目",
      "2、输入考号。考号有两个输入框可以将考号拆分成两个部分，",
      "前一个输入框中的部分每个学生成绩录入后，内容保留，后",
      "一个输入框每个学生成绩录入后，框内内容自动清除或递增",
      "3、在成绩输入框输入成绩并回车，系统将自动保存成绩并将",
      "光标重新定位到考号输入框，循环录入下一名学生成绩",
  });

  fullMarkCaption.Caption = "满分";
  computedSubjectCaption.Caption = "科目";
  computedNumberCaption.Caption = "考号";
  deductionsCaption.Caption = "扣除成绩";
  computedEnterButton.Caption = "录入";
  computedHelp.Lines = withSpecialNote({
      "操作说明：",
      "1、在满分输入框输入考试的满分分数",
      "2、选择科目",
      "3、输入学生的考号",
      "4、根据试卷情况输入扣分情况,每个扣分一行。",
      "5、点击录入按钮，系统自动计算学生成绩并保存。之后光标定位到",
      "考号输入框，循环录入下一名学生成绩。",
  });

  passwordTitle.Caption = "修改密码";
  oldPasswordCaption.Caption = "原有密码";
  newPasswordCaption.Caption = "新设密码";
  repeatPasswordCaption.Caption = "确认密码";
  for (web::Edit* e : {&oldPasswordEdit, &newPasswordEdit, &repeatPasswordEdit})
    e->PasswordPrompt = true;
  changePasswordButton.Caption = "修改";
  closePasswordLink.Caption = "关闭";

  zeroScoreNote.Caption =
      "特别提示：本系统将0分认为是缺考，如果确有0分情况，请输入一个非零极小数（如0.01）代替";
}

// Enter in a box moves the focus on; Enter in the score box clicks 录入, which submits.
void ScoreEntryPage::buildEnterKeys() {
  directNumberEdit.EnterKey = web::KeyAction::focus(directScoreEdit, true);
  directScoreEdit.EnterKey = web::KeyAction::click(directEnterButton);
  computedNumberEdit.EnterKey = web::KeyAction::focus(deductionsMemo);
}

}  // namespace zeziza::pages
