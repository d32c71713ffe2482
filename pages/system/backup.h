#pragma once

#include <array>
#include <vector>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/system/backup_list.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The backups of the data folder, for super administrators only: their time, kind and size,
// a backup made now, and each one downloaded through the session (never as a public file).
// Restoring stays a console command on the server, which has to be stopped for it.
class BackupPage : public web::Page {
 public:
  static constexpr const char* kName = "BackupPage";
  static constexpr const char* kDoneMessage = "已完成备份。";
  static constexpr const char* kFailedMessage =
      "备份失败（磁盘空间不足或备份目录无法写入），未生成新的备份。";
  static constexpr const char* kGoneMessage = "该备份已不存在（已被较新的备份替换），列表已刷新。";
  static constexpr int kDownloadColumn = 3;
  BackupPage();

 private:
  void onCreate();
  void onBackupNow();
  void onDownload(int row, int column);
  void showBackups();

  NavigationBar navigationBar{*this};
  web::Region Content{*this, "Content"};
  web::Label titleLabel{Content, "titleLabel"};
  web::Text helpText{Content, "helpText"};
  web::Button backupButton{Content, "backupButton"};
  web::Label countLabel{Content, "countLabel"};
  web::Grid backupGrid{Content, "backupGrid"};
  Footer footer{*this};

  std::vector<BackupEntry> shown_;  // the grid's body rows, newest first
};

}  // namespace zeziza::pages
