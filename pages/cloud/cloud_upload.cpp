#include "pages/cloud/cloud_upload.h"

#include "base/text.h"
#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "pages/cloud/password_slips.h"
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

CloudUploadPage::CloudUploadPage() : web::Page(kName) {
  Title = "上传成绩";
  OnCreate = [this] { onCreate(); };
  verifyButton.OnClick = [this] { onVerify(); };
  prepareButton.OnClick = [this] { onPrepare(); };
  rosterButton.OnClick = [this] { onSendRoster(); };
  publishButton.OnClick = [this] { onPublish(); };
  pollTimer.OnTimer = [this] { onPoll(); };
  slipsButton.OnClick = [this] { onPrintSlips(); };

  introText.Lines = {"此功能提供一个学生成绩发布查询的平台，您需要",
                     "",
                     "先在云端注册一个单位,然后将学生成绩上传至云",
                     "",
                     "端,整个过程非常简便,您只要点击几个按钮就可以",
                     "",
                     "完成.成绩上传后,学生就可以在任意连接互联网的",
                     "",
                     "终端上察看相关的成绩情况了.",
                     ""};
  for (auto* region : {&verifyStep, &prepareStep, &rosterStep, &publishStep}) region->Css = "step";
  verifyTitle.Caption = "第一步：验证云端用户[未完成]";
  accountEdit.Text = "";
  accountCaption.Caption = "注册编号";
  passwordCaption.Caption = "密码";
  passwordEdit.PasswordPrompt = true;
  verifyButton.Caption = "开始验证";
  freeNote.Caption = "注册及使用本服务均为永久免费";
  prepareTitle.Caption = "第二步：数据准备[未完成]";
  overallRanksBox.Caption = "计算总名次";
  unitRanksBox.Caption = "计算校内名次";
  classRanksBox.Caption = "计算班内名次";
  prepareButton.Caption = "准备数据";
  rosterTitle.Caption = "第三步：添加/更新学生花名册";
  rosterNote.Caption = "注意：仅在首次上传成绩，或学生情况有变化的情况下执行";
  rosterNote.FontColor = "maroon";
  defaultPasswordEdit.Text = "123456";
  defaultPasswordEdit.MaxLength = 18;
  defaultPasswordNote.Caption = "新添加学生默认密码，已存在学生密码不会被更新";
  // The one password for all stays a choice the school makes knowingly.
  sharedPasswordBox.Caption = "新添加学生统一使用上面的默认密码";
  sharedPasswordBox.Checked = false;
  sharedPasswordWarning.Caption = kSharedPasswordWarning;
  sharedPasswordWarning.FontColor = "red";
  rosterButton.Caption = "更新学生花名册";
  slipsButton.Caption = "打印查询密码单";
  publishTitle.Caption = "第四步：上传数据到云端";
  subjectLabel.Caption = "上传科目";
  overallRankingBox.Caption = "上传总排序名次表";
  unitRankingBox.Caption = "上传校内排序名次表";
  classRankingBox.Caption = "上传班内排序名次表";
  overallStatisticsBox.Caption = "上传总成绩统计表";
  unitStatisticsBox.Caption = "上传校内成绩统计表";
  classStatisticsBox.Caption = "上传班内成绩统计表";
  for (auto* box :
       {&overallRanksBox, &unitRanksBox, &classRanksBox, &overallRankingBox, &unitRankingBox,
        &classRankingBox, &overallStatisticsBox, &unitStatisticsBox, &classStatisticsBox}) {
    box->Checked = true;
  }
  periodLabel.Caption = "查询有效期";
  periodBox.Items = {"15天",  "30天",   "60天",   "120天", "365天",
                     "750天", "1200天", "2400天", "3400天"};
  periodBox.ItemIndex = 0;
  periodNote.Caption = "成绩保存的天数。在每个考试项目首次上传时设置";
  publishButton.Caption = "上传成绩";
  logLabel.Caption = "上传详情：";
  logMemo.ReadOnly = true;
  logMemo.Rows = 16;
  logMemo.ShowsEnd = true;
  pollTimer.Interval = 1000;
  pollTimer.Enabled = false;
}

bool CloudUploadPage::allowed() const {
  return requireRights({rights::kSuperAdmin, rights::kAdmin});
}

void CloudUploadPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin, rights::kAdmin})) return;
  const std::string reg = siteLink("/vezav/reg");
  const bool linked = !reg.empty();
  registerLabel.RawText = true;
  registerLabel.Caption = "<font size=\"5\">" + newWindowLink(reg, "点此注册云用户") + "</font>";
  registerLabel.Visible = linked;
  verifyHint.RawText = true;
  verifyHint.Caption =
      "<font color=\"#660000\">验证云端用户的身份" +
      (linked ? "，未注册用户需 " + newWindowLink(reg, "点击这里去云端注册自己的用户")
              : std::string()) +
      "</font>";
  studentAddressLabel.RawText = true;
  studentAddressLabel.Caption =
      "学生查询成绩地址：" + siteLink("/vezav/index.dll?dwid=") + "注册编号";
  studentAddressLabel.Visible = linked;

  const auto settings = web::currentSession().context().settings().get();
  subjectBox.Items = {"全部科目"};
  subjectBox.Items.insert(subjectBox.Items.end(), settings->subjects.begin(),
                          settings->subjects.end());
  subjectBox.Items.insert(subjectBox.Items.end(), {cloud::kAverageName, cloud::kTotalName});
  subjectBox.ItemIndex = 0;
  scopeBoxes.fill();
  enableButtons();
  paintSteps();
}

void CloudUploadPage::log(const std::string& message) {
  logMemo.Lines.push_back(cloud::logStamp(std::chrono::system_clock::now()) + message);
}

std::string CloudUploadPage::cloudConnection() const {
  return web::currentSession().context().cloudConnection();
}

void CloudUploadPage::onVerify() {
  if (!allowed()) return;
  const std::string conninfo = cloudConnection();
  if (conninfo.empty()) return web::ShowMessage(kNoCloudMessage);
  logMemo.Lines.clear();
  log(">>开始云端身份验证");
  if (base::trimmedView(passwordEdit.Text).empty()) {
    return web::ShowMessage("密码不能为空！！！");
  }
  const auto number = cloud::parseRegistrationNumber(accountEdit.Text);
  if (!number) return web::ShowMessage("注册编号必须为正整数！");
  cloud::pg::Connection service(conninfo);
  if (!cloud::checkAccount(service, *number, passwordEdit.Text)) {
    return web::ShowMessage("注册编号不存在或密码错误,请查证！！！");
  }
  account_ = *number;
  log(">>完成云端身份验证");
  verifyTitle.Caption = "第一步：验证云端用户[已完成]";
  stage_ = Stage::Verified;
  enableButtons();
  paintSteps();
  const std::string result = siteLink("/vezav/index.dll?dwid=" + std::to_string(account_));
  studentAddressLabel.Caption = "学生查询成绩地址:" + newWindowLink(result, result);
}

void CloudUploadPage::onPrintSlips() {
  if (!allowed()) return;
  web::currentSession().ShowPage<PasswordSlipsPage>();
}

void CloudUploadPage::enableButtons() {
  const bool idle = !step_.running();
  verifyButton.Enabled = idle && stage_ == Stage::New;
  prepareButton.Enabled = idle && stage_ == Stage::Verified;
  // The roster needs the loop lists of the preparation: its button waits for step 2.
  rosterButton.Enabled = idle && stage_ == Stage::Prepared;
  publishButton.Enabled = idle && stage_ == Stage::Prepared;
  // Leaving the page stops a running step.
  slipsButton.Enabled = idle;
  pollTimer.Enabled = !idle;
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
      paint(verifyTitle, verifyStep, kBrown, current);
      paint(prepareTitle, prepareStep, kSaddleBrown, waiting);
      paint(publishTitle, publishStep, kSaddleBrown, waiting);
      break;
    case Stage::Verified:
      paint(verifyTitle, verifyStep, kFinished, finished);
      paint(prepareTitle, prepareStep, kBrown, current);
      break;
    case Stage::Prepared:
      paint(prepareTitle, prepareStep, kFinished, finished);
      paint(publishTitle, publishStep, kBrown, current);
      break;
  }
  if (stage_ == Stage::New) paint(rosterTitle, rosterStep, kSaddleBrown, waiting);
}

}  // namespace zeziza::pages
