#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cloud/background_step.h"
#include "cloud/preparation.h"
#include "cloud/publish_lock.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Cloud publishing in four steps: check the cloud account, prepare the default exam in the
// scratch table, send the roster, publish rankings, statistics and scores. Steps 2 to 4 run on
// a background step; the page timer shows their log as it grows.
class CloudUploadPage : public web::Page {
 public:
  static constexpr const char* kName = "CloudUploadPage";
  CloudUploadPage();

  // What the page's checks answer.
  static constexpr const char* kNoCloudMessage =
      "未设置云端成绩服务：请管理员用 --cloud 选项或环境变量 ZEZIZA_CLOUD 给出连接串。";
  static constexpr const char* kBusyMessage = "其他用户正在准备或上传云端数据，请等其完成后再试。";
  static constexpr const char* kNoExamMessage = "没有默认考试，请先在考试设置中设定默认考试！";
  static constexpr const char* kPasswordDigitsMessage = "新添加学生默认密码必须为数字！";
  static constexpr const char* kSharedPasswordWarning =
      "警告：勾选后所有新学生的密码相同，知道考号的人都能查看他人成绩。"
      "不勾选时每名新学生获得自己的随机初始密码，请打印查询密码单发给学生。";
  static constexpr const char* kPrepareFirstMessage =
      "请先完成第二步：数据准备。花名册按所选的单位、年级和班次上传。";

 private:
  enum class Stage { New, Verified, Prepared };

  void onCreate();
  void onVerify();      // step 1
  void onPrepare();     // step 2
  void onSendRoster();  // step 3
  void onPublish();     // step 4
  void onPoll();
  void onPrintSlips();

  // The session may publish (codes 0 and 1); otherwise the no-rights message is shown.
  bool allowed() const;
  void log(const std::string& message);
  std::string cloudConnection() const;
  // Starts a background step holding the publish lease; `finish` runs on a request once the
  // step has succeeded. False (with the message shown) when another session publishes.
  using StepWork = std::function<void(cloud::Progress&, cloud::PublishLease&)>;
  bool startStep(StepWork work, std::function<void()> finish);
  void pollStep();
  void enableButtons();
  void paintSteps();
  std::vector<std::string> chosen(const web::ComboBox& combo) const;
  int chosenDays() const;
  void fillLoopLists(const cloud::LoopLists& loops);
  cloud::LoopLists loopLists() const;

  Stage stage_ = Stage::New;
  std::int64_t account_ = 0;       // the verified account number
  std::int64_t project_ = 0;       // set by step 4
  std::uint64_t preparation_ = 0;  // the scratch table's preparation made by step 2
  std::optional<cloud::PreparationResult> prepared_;  // written by the step, read after it
  std::function<void()> finish_;

  NavigationBar navigationBar{*this};
  web::Text introText{*this, "introText"};
  web::Label registerLabel{*this, "registerLabel"};
  web::Label verifyHint{*this, "verifyHint"};
  web::Label studentAddressLabel{*this, "studentAddressLabel"};

  web::Region verifyStep{*this, "verifyStep"};
  web::Label verifyTitle{verifyStep, "verifyTitle"};
  web::Label accountCaption{verifyStep, "accountCaption"};
  web::Edit accountEdit{verifyStep, "accountEdit"};
  web::Label passwordCaption{verifyStep, "passwordCaption"};
  web::Edit passwordEdit{verifyStep, "passwordEdit"};
  web::Button verifyButton{verifyStep, "verifyButton"};
  web::Label freeNote{verifyStep, "freeNote"};

  web::Region prepareStep{*this, "prepareStep"};
  web::Label prepareTitle{prepareStep, "prepareTitle"};
  web::CheckBox overallRanksBox{prepareStep, "overallRanksBox"};
  web::CheckBox unitRanksBox{prepareStep, "unitRanksBox"};
  web::CheckBox classRanksBox{prepareStep, "classRanksBox"};
  web::Button prepareButton{prepareStep, "prepareButton"};

  web::Region rosterStep{*this, "rosterStep"};
  web::Label rosterTitle{rosterStep, "rosterTitle"};
  web::Label rosterNote{rosterStep, "rosterNote"};
  web::Edit defaultPasswordEdit{rosterStep, "defaultPasswordEdit"};
  web::Label defaultPasswordNote{rosterStep, "defaultPasswordNote"};
  web::CheckBox sharedPasswordBox{rosterStep, "sharedPasswordBox"};
  web::Label sharedPasswordWarning{rosterStep, "sharedPasswordWarning"};
  web::Button rosterButton{rosterStep, "rosterButton"};
  web::Button slipsButton{rosterStep, "slipsButton"};

  web::Region publishStep{*this, "publishStep"};
  web::Label publishTitle{publishStep, "publishTitle"};
  web::Label subjectLabel{publishStep, "subjectLabel"};
  web::ComboBox subjectBox{publishStep, "subjectBox"};
  ScopeSelector scopeBoxes{publishStep,
                           {.unit = ScopeBox{.allItem = "所有单位", .caption = "上传单位"},
                            .grade = ScopeBox{.allItem = "所有年级", .caption = "上传年级"},
                            .cls = ScopeBox{.allItem = "所有班", .caption = "上传班次"}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::CheckBox overallRankingBox{publishStep, "overallRankingBox"};
  web::CheckBox unitRankingBox{publishStep, "unitRankingBox"};
  web::CheckBox classRankingBox{publishStep, "classRankingBox"};
  web::CheckBox overallStatisticsBox{publishStep, "overallStatisticsBox"};
  web::CheckBox unitStatisticsBox{publishStep, "unitStatisticsBox"};
  web::CheckBox classStatisticsBox{publishStep, "classStatisticsBox"};
  web::Label periodLabel{publishStep, "periodLabel"};
  web::ComboBox periodBox{publishStep, "periodBox"};
  web::Label periodNote{publishStep, "periodNote"};
  web::Button publishButton{publishStep, "publishButton"};

  web::Label logLabel{*this, "logLabel"};
  web::Label sentCount{*this, "sentCount"};
  web::Memo logMemo{*this, "logMemo"};
  web::Timer pollTimer{*this, "pollTimer"};

  // The loop lists: names and the service's ids, entry k for entry k.
  web::List unitList{*this, "unitList"};
  web::List unitIdList{*this, "unitIdList"};
  web::List gradeList{*this, "gradeList"};
  web::List gradeIdList{*this, "gradeIdList"};
  web::List classList{*this, "classList"};
  web::List classIdList{*this, "classIdList"};
  web::List subjectList{*this, "subjectList"};
  web::List subjectIdList{*this, "subjectIdList"};

  Footer footer{*this};

  // Last: destroyed first, so a running step stops before the controls go.
  cloud::BackgroundStep step_;
};

}  // namespace zeziza::pages
