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
  CloudUploadPage();

  // What the page's checks answer.
  static constexpr const char* kNoCloudMessage =
      "未设置云端成绩服务：请管理员用 --cloud 选项或环境变量 ZEZIZA_CLOUD 给出连接串。";
  static constexpr const char* kBusyMessage = "其他用户正在准备或上传云端数据，请等其完成后再试。";
  static constexpr const char* kNoExamMessage = "没有默认考试，请先在考试设置中设定默认考试！";
  static constexpr const char* kPasswordDigitsMessage = "新添加学生默认密码必须为数字！";
  static constexpr const char* kPrepareFirstMessage =
      "请先完成第二步：数据准备。花名册按所选的单位、年级和班次上传。";

 private:
  enum class Stage { New, Verified, Prepared };

  void onCreate();
  void IWButton2Click();  // step 1
  void IWButton3Click();  // step 2
  void IWButton7Click();  // step 3
  void IWButton1Click();  // step 4
  void IWTimer1Timer();

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
  web::Text IWText1{*this, "IWText1"};
  web::Label IWLabel13{*this, "IWLabel13"};
  web::Label strreg{*this, "strreg"};
  web::Label stuweb{*this, "stuweb"};

  web::Region IWRegion4{*this, "IWRegion4"};
  web::Label IWLabel12{IWRegion4, "IWLabel12"};
  web::Label accountCaption{IWRegion4, "accountCaption"};
  web::Edit IWEdit1{IWRegion4, "IWEdit1"};
  web::Label passwordCaption{IWRegion4, "passwordCaption"};
  web::Edit IWEdit2{IWRegion4, "IWEdit2"};
  web::Button IWButton2{IWRegion4, "IWButton2"};
  web::Label IWLabel28{IWRegion4, "IWLabel28"};

  web::Region IWRegion6{*this, "IWRegion6"};
  web::Label IWLabel8{IWRegion6, "IWLabel8"};
  web::CheckBox IWCheckBox1{IWRegion6, "IWCheckBox1"};
  web::CheckBox IWCheckBox3{IWRegion6, "IWCheckBox3"};
  web::CheckBox IWCheckBox4{IWRegion6, "IWCheckBox4"};
  web::Button IWButton3{IWRegion6, "IWButton3"};

  web::Region IWRegion7{*this, "IWRegion7"};
  web::Label IWLabel7{IWRegion7, "IWLabel7"};
  web::Label IWLabel21{IWRegion7, "IWLabel21"};
  web::Edit IWEdit9{IWRegion7, "IWEdit9"};
  web::Label IWLabel22{IWRegion7, "IWLabel22"};
  web::Button IWButton7{IWRegion7, "IWButton7"};

  web::Region IWRegion8{*this, "IWRegion8"};
  web::Label IWLabel4{IWRegion8, "IWLabel4"};
  web::Label subjectLabel{IWRegion8, "subjectLabel"};
  web::ComboBox IWComboBox1{IWRegion8, "IWComboBox1"};
  web::Label unitLabel{IWRegion8, "unitLabel"};
  web::ComboBox IWComboBox3{IWRegion8, "IWComboBox3"};
  web::Label gradeLabel{IWRegion8, "gradeLabel"};
  web::ComboBox IWComboBox4{IWRegion8, "IWComboBox4"};
  web::Label classLabel{IWRegion8, "classLabel"};
  web::ComboBox IWComboBox5{IWRegion8, "IWComboBox5"};
  web::CheckBox IWCheckBox5{IWRegion8, "IWCheckBox5"};
  web::CheckBox IWCheckBox7{IWRegion8, "IWCheckBox7"};
  web::CheckBox IWCheckBox8{IWRegion8, "IWCheckBox8"};
  web::CheckBox IWCheckBox2{IWRegion8, "IWCheckBox2"};
  web::CheckBox IWCheckBox9{IWRegion8, "IWCheckBox9"};
  web::CheckBox IWCheckBox10{IWRegion8, "IWCheckBox10"};
  web::Label IWLabel11{IWRegion8, "IWLabel11"};
  web::ComboBox IWComboBox2{IWRegion8, "IWComboBox2"};
  web::Label IWLabel29{IWRegion8, "IWLabel29"};
  web::Button IWButton1{IWRegion8, "IWButton1"};

  web::Label IWLabel6{*this, "IWLabel6"};
  web::Label sentCount{*this, "sentCount"};
  web::Memo IWMemo1{*this, "IWMemo1"};
  web::Timer IWTimer1{*this, "IWTimer1"};

  // The loop lists: names and the service's ids, entry k for entry k.
  web::List dwlist{*this, "dwlist"};
  web::List dwidlist{*this, "dwidlist"};
  web::List njlist{*this, "njlist"};
  web::List njidlist{*this, "njidlist"};
  web::List bclist{*this, "bclist"};
  web::List bcidlist{*this, "bcidlist"};
  web::List kmlist{*this, "kmlist"};
  web::List kmidlist{*this, "kmidlist"};

  Footer footer{*this};

  // Last: destroyed first, so a running step stops before the controls go.
  cloud::BackgroundStep step_;
};

}  // namespace zeziza::pages
