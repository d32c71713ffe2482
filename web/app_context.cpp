#include "web/app_context.h"

#include <stdexcept>
#include <utility>

namespace zeziza::web {

AppContext::AppContext(std::string site, std::string cloudConnection, std::string resultsSite)
    : site_(std::move(site)),
      cloudConnection_(std::move(cloudConnection)),
      resultsSite_(std::move(resultsSite)) {
  while (!site_.empty() && site_.back() == '/') site_.pop_back();
  while (!resultsSite_.empty() && resultsSite_.back() == '/') resultsSite_.pop_back();
}

std::string AppContext::resultsAddress(std::string_view path) const {
  if (resultsSite_.empty()) return {};
  return resultsSite_ + std::string(path);
}

std::string AppContext::siteAddress(std::string_view path) const {
  if (site_.empty()) return {};
  return site_ + std::string(path);
}

void AppContext::runSystemReset() {
  if (!systemReset_) throw std::logic_error("no system reset is installed");
  systemReset_();
  accountsChanged();
  officeSettingsChanged();
}

std::vector<std::filesystem::path> AppContext::listBackups() const {
  if (!backups_.list) throw std::logic_error("no backups are installed");
  return backups_.list();
}

std::filesystem::path AppContext::takeBackup() const {
  if (!backups_.take) throw std::logic_error("no backups are installed");
  return backups_.take();
}

cloud::PublishLock& AppContext::publishLock() const {
  if (!publishLock_) throw std::logic_error("no publish lock is installed");
  return *publishLock_;
}

}  // namespace zeziza::web
