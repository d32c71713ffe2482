#include "pages/cloud/cloud_upload.h"

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "pages/common/rights.h"
#include "pages/common/site.h"
#include "web/html.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kBrown = "#A52A2A";        // the step to act on
constexpr const char* kFinished = "#B3927B";     // RGB 179, 146, 123
constexpr const char* kSaddleBrown = "#8B4513";  // steps not reached yet

// The results site's address of `path`, escaped for the raw captions; empty when no results
// site is configured, and then its links are left out.
std::string siteLink(std::string_view path) {
  return web::escapeHtml(web::currentSession().context().resultsAddress(path));
}

// Without a site address the caption shows only the text.
std::string newWindowLink(const std::string& address, const std::string& text) {
  if (address.empty()) return text;
  return "<a href=\"" + address + "\" target=\"_blank\" rel=\"noopener\">" + text + "</a>";
}

}  // namespace

CloudUploadPage::CloudUploadPage() : web::Page("CloudUploadPage") {
  Title = "上传成绩";
  OnCreate = [this] { onCreate(); };
  IWButton2.OnClick = [this] { IWButton2Click(); };
  IWButton3.OnClick = [this] { IWButton3Click(); };
  IWButton7.OnClick = [this] { IWButton7Click(); };
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWTimer1.OnTimer = [this] { IWTimer1Timer(); };

  IWText1.Lines = {"此功能提供一个学生成绩发布查询的平台，您需要",
                   "",
                   "先在云端注册一个单位,然后将学生成绩上传至云",
                   "",
                   "端,整个过程非常简便,您只要点击几个按钮就可以",
                   "",
                   "完成.成绩上传后,学生就可以在任意连接互联网的",
                   "",
                   "终端上察看相关的成绩情况了.",
                   ""};
  for (auto* region : {&IWRegion4, &IWRegion6, &IWRegion7, &IWRegion8}) region->Css = "step";
  IWLabel12.Caption = "第一步：验证云端用户[未完成]";
  IWEdit1.Text = "";
  accountCaption.Caption = "注册编号";
  passwordCaption.Caption = "密码";
  IWEdit2.PasswordPrompt = true;
  IWButton2.Caption = "开始验证";
  IWLabel28.Caption = "注册及使用本服务均为永久免费";
  IWLabel8.Caption = "第二步：数据准备[未完成]";
  IWCheckBox1.Caption = "计算总名次";
  IWCheckBox3.Caption = "计算校内名次";
  IWCheckBox4.Caption = "计算班内名次";
  IWButton3.Caption = "准备数据";
  IWLabel7.Caption = "第三步：添加/更新学生花名册";
  IWLabel21.Caption = "注意：仅在首次上传成绩，或学生情况有变化的情况下执行";
  IWLabel21.FontColor = "maroon";
  IWEdit9.Text = "123456";
  IWEdit9.MaxLength = 18;
  IWLabel22.Caption = "新添加学生默认密码，已存在学生密码不会被更新";
  IWButton7.Caption = "更新学生花名册";
  IWLabel4.Caption = "第四步：上传数据到云端";
  subjectLabel.Caption = "上传科目";
  unitLabel.Caption = "上传单位";
  gradeLabel.Caption = "上传年级";
  classLabel.Caption = "上传班次";
  IWCheckBox5.Caption = "上传总排序名次表";
  IWCheckBox7.Caption = "上传校内排序名次表";
  IWCheckBox8.Caption = "上传班内排序名次表";
  IWCheckBox2.Caption = "上传总成绩统计表";
  IWCheckBox9.Caption = "上传校内成绩统计表";
  IWCheckBox10.Caption = "上传班内成绩统计表";
  for (auto* box : {&IWCheckBox1, &IWCheckBox3, &IWCheckBox4, &IWCheckBox5, &IWCheckBox7,
                    &IWCheckBox8, &IWCheckBox2, &IWCheckBox9, &IWCheckBox10}) {
    box->Checked = true;
  }
  IWLabel11.Caption = "查询有效期";
  IWComboBox2.Items = {"15天",  "30天",   "60天",   "120天", "365天",
                       "750天", "1200天", "2400天", "3400天"};
  IWComboBox2.ItemIndex = 0;
  IWLabel29.Caption = "成绩保存的天数。在每个考试项目首次上传时设置";
  IWButton1.Caption = "上传成绩";
  IWLabel6.Caption = "上传详情：";
  IWMemo1.ReadOnly = true;
  IWMemo1.Rows = 16;
  IWTimer1.Interval = 1000;
  IWTimer1.Enabled = false;
}

bool CloudUploadPage::allowed() const {
  return requireRights({rights::kSuperAdmin, rights::kAdmin});
}

void CloudUploadPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const std::string reg = siteLink("/vezav/reg");
  const bool linked = !reg.empty();
  IWLabel13.RawText = true;
  IWLabel13.Caption = "<font size=\"5\">" + newWindowLink(reg, "点此注册云用户") + "</font>";
  IWLabel13.Visible = linked;
  strreg.RawText = true;
  strreg.Caption = "<font color=\"#660000\">验证云端用户的身份" +
                   (linked ? "，未注册用户需 " + newWindowLink(reg, "点击这里去云端注册自己的用户")
                           : std::string()) +
                   "</font>";
  stuweb.RawText = true;
  stuweb.Caption = "学生查询成绩地址：" + siteLink("/vezav/index.dll?dwid=") + "注册编号";
  stuweb.Visible = linked;

  const auto settings = web::currentSession().context().settings().get();
  IWComboBox1.Items = {"全部科目"};
  IWComboBox1.Items.insert(IWComboBox1.Items.end(), settings->subjects.begin(),
                           settings->subjects.end());
  IWComboBox1.Items.insert(IWComboBox1.Items.end(), {cloud::kAverageName, cloud::kTotalName});
  IWComboBox3.Items = {"所有单位"};
  IWComboBox3.Items.insert(IWComboBox3.Items.end(), settings->units.begin(), settings->units.end());
  IWComboBox4.Items = web::currentSession().grades;
  IWComboBox4.Items.insert(IWComboBox4.Items.begin(), "所有年级");
  IWComboBox5.Items = {"所有班"};
  IWComboBox5.Items.insert(IWComboBox5.Items.end(), settings->classes.begin(),
                           settings->classes.end());
  for (auto* combo : {&IWComboBox1, &IWComboBox3, &IWComboBox4, &IWComboBox5}) {
    combo->ItemIndex = 0;
  }
  enableButtons();
  paintSteps();
}

void CloudUploadPage::log(const std::string& message) {
  IWMemo1.Lines.insert(IWMemo1.Lines.begin(),
                       cloud::logStamp(std::chrono::system_clock::now(), 2) + message);
}

std::string CloudUploadPage::cloudConnection() const {
  return web::currentSession().context().cloudConnection();
}

void CloudUploadPage::IWButton2Click() {
  if (!allowed()) return;
  const std::string conninfo = cloudConnection();
  if (conninfo.empty()) return web::ShowMessage(kNoCloudMessage);
  IWMemo1.Lines.clear();
  log(">>开始云端身份验证");
  std::string_view password = IWEdit2.Text;
  if (password.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos) {
    return web::ShowMessage("密码不能为空！！！");
  }
  const auto number = cloud::parseRegistrationNumber(IWEdit1.Text);
  if (!number) return web::ShowMessage("注册编号必须为正整数！");
  cloud::pg::Connection service(conninfo);
  if (!cloud::checkAccount(service, *number, IWEdit2.Text)) {
    return web::ShowMessage("注册编号不存在或密码错误,请查证！！！");
  }
  account_ = *number;
  log(">>完成云端身份验证");
  IWLabel12.Caption = "第一步：验证云端用户[已完成]";
  stage_ = Stage::Verified;
  enableButtons();
  paintSteps();
  const std::string result = siteLink("/vezav/index.dll?dwid=" + std::to_string(account_));
  stuweb.Caption = "学生查询成绩地址:" + newWindowLink(result, result);
}

void CloudUploadPage::enableButtons() {
  const bool idle = !step_.running();
  IWButton2.Enabled = idle && stage_ == Stage::New;
  IWButton3.Enabled = idle && stage_ == Stage::Verified;
  // The roster needs the loop lists of the preparation: its button waits for step 2.
  IWButton7.Enabled = idle && stage_ == Stage::Prepared;
  IWButton1.Enabled = idle && stage_ == Stage::Prepared;
  IWTimer1.Enabled = !idle;
}

void CloudUploadPage::paintSteps() {
  auto paint = [](web::Label& title, web::Region& box, const char* colour, const char* css) {
    title.FontColor = colour;
    box.Css = css;
  };
  const char* waiting = "step";
  const char* current = "step step-current";
  const char* finished = "step step-done";
  switch (stage_) {
    case Stage::New:
      paint(IWLabel12, IWRegion4, kBrown, current);
      paint(IWLabel8, IWRegion6, kSaddleBrown, waiting);
      paint(IWLabel4, IWRegion8, kSaddleBrown, waiting);
      break;
    case Stage::Verified:
      paint(IWLabel12, IWRegion4, kFinished, finished);
      paint(IWLabel8, IWRegion6, kBrown, current);
      break;
    case Stage::Prepared:
      paint(IWLabel8, IWRegion6, kFinished, finished);
      paint(IWLabel4, IWRegion8, kBrown, current);
      break;
  }
  if (stage_ == Stage::New) paint(IWLabel7, IWRegion7, kSaddleBrown, waiting);
}

}  // namespace zeziza::pages
