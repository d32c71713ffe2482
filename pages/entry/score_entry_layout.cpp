// The fixed captions, help texts and Enter keys of the score entry page.
#include "pages/entry/score_entry.h"

namespace zeziza::pages {

namespace {

const std::vector<std::string> kSpecialNote = {
    "特别说明：",       "如果对成绩限定做出设置，则不符合条件的班级的学生的成绩将不能",
    "录入并给出提示。", "本系统将0分认为是缺考，如果确有0分情况，请输入一个非零极小数",
    "（如0.01）代替，",
};

std::vector<std::string> withSpecialNote(std::vector<std::string> lines) {
  lines.emplace_back();
  lines.insert(lines.end(), kSpecialNote.begin(), kSpecialNote.end());
  return lines;
}

}  // namespace

void ScoreEntryPage::buildCaptions() {
  IWLabel15.Caption = "当前位置：成绩录入";
  IWLabel16.Caption = "当前测试：";
  IWLabel19.Caption = "用户名";
  IWLink3.Caption = "修改密码";
  IWLink2.Caption = "退出";
  IWLink5.Caption = "直接录入模式 |";
  IWLink6.Caption = "计算录入模式 |";
  IWLink7.Caption = "列表录入模式 |";
  IWLink8.Caption = "导入录入模式";
  IWLabel25.Caption = "成绩限定";

  lastScoreTitle.Lines = {"上", "一", "学", "生", "成", "绩"};
  rowIdCaption.Caption = "流水号";
  lastNumberCaption.Caption = "考    号";
  lastNameCaption.Caption = "姓    名";
  lastSubjectCaption.Caption = "科    目";
  lastScoreCaption.Caption = "成    绩";
  for (web::Edit* e : {&IWEdit3, &IWEdit4, &IWEdit5, &IWEdit7}) e->ReadOnly = true;
  IWLink1.Caption = "[删除该成绩]";

  directSubjectCaption.Caption = "科目";
  IWCheckBox1.Caption = "考号自动递增";
  directNumberCaption.Caption = "考号";
  directScoreCaption.Caption = "成绩";
  IWButton1.Caption = "录入";
  IWText3.Lines = withSpecialNote({
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
  IWButton2.Caption = "录入";
  IWText2.Lines = withSpecialNote({
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
  for (web::Edit* e : {&IWEdit10, &IWEdit11, &IWEdit12}) e->PasswordPrompt = true;
  IWButton3.Caption = "修改";
  IWLink4.Caption = "关闭";

  IWLabel14.Caption =
      "特别提示：本系统将0分认为是缺考，如果确有0分情况，请输入一个非零极小数（如0.01）代替";
}

// Enter in a box moves the focus on; Enter in the score box clicks 录入, which submits.
void ScoreEntryPage::buildEnterKeys() {
  IWEdit1.EnterKey = web::KeyAction::focus(IWEdit2, true);
  IWEdit2.EnterKey = web::KeyAction::click(IWButton1);
  IWEdit9.EnterKey = web::KeyAction::focus(IWMemo1);
}

}  // namespace zeziza::pages
