#include "pages/system/backup.h"

#include "pages/common/rights.h"
#include "web/event_log.h"
#include "web/user_session.h"

namespace zeziza::pages {

BackupPage::BackupPage() : web::Page(kName) {
  Title = "数据备份";
  Content.Css = "card";
  titleLabel.Caption = "数据备份";
  titleLabel.Bold = true;
  helpText.Lines = {
      "服务器每次启动、每天定时以及系统重置前都会自动备份数据，只保留最近的若干份。",
      "点击【立即备份】可随时备份；下载的备份请妥善保存在其他电脑或移动硬盘上。",
      "恢复备份须先停止服务器，再在服务器上用命令 zeziza --restore-backup 完成（见使用说明）。"};
  backupButton.Caption = "立即备份";
  backupButton.OnClick = [this] { onBackupNow(); };
  backupGrid.OnCellClick = [this](int row, int column) { onDownload(row, column); };
  OnCreate = [this] { onCreate(); };
}

void BackupPage::onCreate() {
  if (!requirePageRights(*this, {rights::kSuperAdmin})) return;
  showBackups();
}

void BackupPage::showBackups() {
  shown_ = describeBackups(web::currentSession().context().listBackups());
  countLabel.Caption = "共有" + std::to_string(shown_.size()) + "份备份";
  backupGrid.setColumnCount(4);
  backupGrid.setRowCount(static_cast<int>(shown_.size()) + 1);
  backupGrid.clear();
  const std::array<const char*, 4> header = {"备份时间", "类型", "大小", "下载"};
  for (int c = 0; c < 4; ++c) backupGrid.cell(0, c).Text = header[static_cast<std::size_t>(c)];
  for (std::size_t i = 0; i < shown_.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    backupGrid.cell(r, 0).Text = shown_[i].time;
    backupGrid.cell(r, 1).Text = shown_[i].kind;
    backupGrid.cell(r, 2).Text = shown_[i].size;
    web::GridCell& download = backupGrid.cell(r, kDownloadColumn);
    download.Text = "下载";
    download.Clickable = true;
    download.Download = true;
  }
}

void BackupPage::onBackupNow() {
  if (!requireRights({rights::kSuperAdmin})) return;
  const web::AppContext& context = web::currentSession().context();
  try {
    context.takeBackup();
  } catch (const std::exception& e) {
    // The user is told in words; the administrator's log keeps the cause.
    if (context.eventLog()) context.eventLog()->error(std::string("手动备份失败: ") + e.what());
    web::ShowMessage(kFailedMessage);
    showBackups();
    return;
  }
  showBackups();
  web::ShowMessage(kDoneMessage);
}

void BackupPage::onDownload(int row, int column) {
  if (!requireRights({rights::kSuperAdmin})) return;
  if (column != kDownloadColumn || row < 1 || row > static_cast<int>(shown_.size())) return;
  const BackupEntry& entry = shown_[static_cast<std::size_t>(row - 1)];
  std::error_code ec;
  if (!std::filesystem::is_regular_file(entry.file, ec)) {
    showBackups();
    web::ShowMessage(kGoneMessage);
    return;
  }
  web::currentSession().SendFile(entry.file, entry.file.filename().string());
}

}  // namespace zeziza::pages
