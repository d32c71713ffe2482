#include "web/user_session.h"

#include <stdexcept>

#include "store/settings.h"
#include "store/users.h"

namespace zeziza::web {

namespace {
thread_local Session* current = nullptr;
}  // namespace

Session::Session(const store::DataFolder& folder, store::SharedStore& store, std::string id,
                 AppContext& context)
    : dataConnection(store.data()),
      tempConnection(store.temp()),
      folder_(folder),
      id_(std::move(id)),
      context_(&context) {}

// Pages go first: their controls may refer to the session's queries.
Session::~Session() {
  active_.reset();
  retired_.clear();
}

void Session::showPage(const PageMaker& make) {
  // A page opened after the office changed its exams or subjects shows them as they are now.
  if (signedIn() && login.officeRead != context_->officeSettingsVersion()) readOfficeSettings();
  remake_ = nullptr;
  if (active_) retired_.push_back(std::move(active_));
  active_ = make();
  active_->create();
}

void Session::showRemakablePage(PageMaker make) {
  showPage(make);
  remake_ = std::move(make);
}

Page* Session::activePage() {
  if (!active_ && remake_) {
    active_ = remake_();
    active_->create();
  }
  return active_.get();
}

bool Session::setAsideIdlePage() {
  if (!active_ || !remake_ || !active_->SetAsideWhenIdle) return false;
  active_.reset();
  return true;
}

bool Session::accountWithdrawn() {
  if (!signedIn()) return false;
  // Read before the store: a change made meanwhile is looked at again next time.
  const std::uint64_t version = context_->accountsVersion();
  if (version == login.accountsChecked) return false;
  const auto stamp = store::rightsStamp(dataConnection.db(), login.userName);
  if (!stamp || *stamp != login.rightsStamp) return true;
  login.accountsChecked = version;
  return false;
}

void Session::readOfficeSettings() {
  // The version first: a change made while reading is read again for the next page.
  login.officeRead = context_->officeSettingsVersion();
  store::Database& db = dataConnection.db();
  login.exams = store::readListSetting(db, store::key::kExams);
  login.defaultExam = store::readSetting(db, store::key::kDefaultExam);
  login.workMode = store::readSetting(db, store::key::kWorkMode);
  login.subjects = store::numberSubjects(context_->settings().get()->subjects);
}

void Session::signOut() {
  LoginState signedOut;
  signedOut.footerText = std::move(login.footerText);
  login = std::move(signedOut);
  navigationEntry.clear();
}

void Session::SendFile(std::filesystem::path path, std::string downloadName, bool removeOnceRead) {
  file_ = FileResponse{std::move(path), std::move(downloadName), removeOnceRead};
}

std::filesystem::path Session::cacheFolder() {
  auto folder = folder_.cache() / "user" / id_;
  std::filesystem::create_directories(folder);
  return folder;
}

Session& currentSession() {
  if (!current) throw std::logic_error("no session on this thread");
  return *current;
}

bool hasCurrentSession() {
  return current != nullptr;
}

void ShowMessage(std::string text) {
  currentSession().ShowMessage(std::move(text));
}

CurrentSessionGuard::CurrentSessionGuard(Session& session) : previous_(current) {
  current = &session;
}

CurrentSessionGuard::~CurrentSessionGuard() {
  current = previous_;
}

}  // namespace zeziza::web
