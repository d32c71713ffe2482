#include "web/user_session.h"

#include <stdexcept>

namespace zeziza::web {

namespace {
thread_local TIWUserSession* current = nullptr;
}  // namespace

TIWUserSession::TIWUserSession(const store::DataFolder& folder, store::SharedStore& store,
                               std::string id, AppContext& context)
    : ADOConnection1(store.data()),
      bendiADOCon(store.temp()),
      folder_(folder),
      id_(std::move(id)),
      context_(&context) {}

// Pages go first: their controls may refer to the session's queries.
TIWUserSession::~TIWUserSession() {
  active_.reset();
  retired_.clear();
}

void TIWUserSession::showPage(const PageMaker& make) {
  remake_ = nullptr;
  if (active_) retired_.push_back(std::move(active_));
  active_ = make();
  active_->create();
}

void TIWUserSession::showRemakablePage(PageMaker make) {
  showPage(make);
  remake_ = std::move(make);
}

Page* TIWUserSession::activePage() {
  if (!active_ && remake_) {
    active_ = remake_();
    active_->create();
  }
  return active_.get();
}

bool TIWUserSession::setAsideIdlePage() {
  if (!active_ || !remake_ || !active_->SetAsideWhenIdle) return false;
  active_.reset();
  return true;
}

void TIWUserSession::SendFile(std::filesystem::path path, std::string downloadName) {
  file_ = FileResponse{std::move(path), std::move(downloadName)};
}

std::filesystem::path TIWUserSession::cacheFolder() {
  auto folder = folder_.cache() / "user" / id_;
  std::filesystem::create_directories(folder);
  return folder;
}

TIWUserSession& UserSession() {
  if (!current) throw std::logic_error("no session on this thread");
  return *current;
}

bool hasUserSession() {
  return current != nullptr;
}

void ShowMessage(std::string text) {
  UserSession().ShowMessage(std::move(text));
}

CurrentSessionGuard::CurrentSessionGuard(TIWUserSession& session) : previous_(current) {
  current = &session;
}

CurrentSessionGuard::~CurrentSessionGuard() {
  current = previous_;
}

}  // namespace zeziza::web
