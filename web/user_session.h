#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/shared_store.h"
#include "store/subject_columns.h"
#include "web/app_context.h"
#include "web/login_state.h"
#include "web/page.h"

namespace zeziza::web {

// A file to answer the current request with, instead of the page.
struct FileResponse {
  std::filesystem::path path;
  std::string downloadName;
  bool removeOnceRead = false;  // a file made for this answer alone (an export)
};

// One browser's session object: its connections, its login state, the page it is on, and the
// application context it was handed. Only its own requests touch it, one at a time.
class Session {
 public:
  Session(const store::DataFolder& folder, store::SharedStore& store, std::string id,
          AppContext& context);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Borrowed from the server's pools with their first statement, given back after each
  // request by releaseConnections(). The session holds no query: each page owns what it
  // shows.
  store::Connection dataConnection;  // data
  store::Connection tempConnection;  // temp

  LoginState login;
  // The navigation bar entry the pages shown belong to: its page's name; empty for none.
  std::string navigationEntry;
  bool signedIn() const { return login.signedIn(); }
  // True when the signed-in account was deleted or its rights or class changed since the
  // sign-in: the session must sign in again. Reads the store only after accounts changed.
  bool accountWithdrawn();
  // Reads the exam list, default exam, work mode and subjects as the office has them now.
  void readOfficeSettings();
  // Forgets the signed-in user (the footer text stays for the login page).
  void signOut();

  // The browser window measured by the start exchange.
  int windowWidth = 0;
  int windowHeight = 0;
  std::string clientAddress;

  // Hands the browser to a new page of class P: the current page is released and the new
  // one created (frames' handlers first, then its own OnCreate).
  template <class P, class... Args>
  void ShowPage(Args&&... args) {
    if constexpr (sizeof...(Args) == 0) {
      showRemakablePage([] { return std::make_unique<P>(); });
    } else {
      showPage([&] { return std::make_unique<P>(std::forward<Args>(args)...); });
    }
  }
  using PageMaker = std::function<std::unique_ptr<Page>()>;
  void showPage(const PageMaker& make);
  // The same for a page made from nothing, which can be made again: while the session idles,
  // such a page may be set aside (see setAsideIdlePage).
  void showRemakablePage(PageMaker make);
  // The page shown; one set aside is made again first.
  Page* activePage();
  // Frees the page shown when it asks for it (Page::SetAsideWhenIdle) and can be made again:
  // an idle browser at the login page then costs the session alone. True when it did.
  bool setAsideIdlePage();
  void releaseConnections() {
    dataConnection.close();
    tempConnection.close();
  }
  // Pages released during the current request, freed once it is answered.
  void releaseRetiredPages() { retired_.clear(); }

  // A message shown as an alert after the answer has loaded.
  void ShowMessage(std::string text) { messages_.push_back(std::move(text)); }
  std::vector<std::string> takeMessages() { return std::exchange(messages_, {}); }

  // Answers the current request with a file; the page stays active. A file made for this
  // answer alone (`removeOnceRead`) is deleted once read: no other request can fetch it.
  void SendFile(std::filesystem::path path, std::string downloadName, bool removeOnceRead = false);
  std::optional<FileResponse> takeFileResponse() { return std::exchange(file_, std::nullopt); }

  const std::string& id() const { return id_; }
  // The session's own folder under cache/ (never served), created on first use.
  std::filesystem::path cacheFolder();
  const store::DataFolder& dataFolder() const { return folder_; }
  // The process-wide services: hasher, throttle, settings, site address, reset.
  AppContext& context() const { return *context_; }

 private:
  store::DataFolder folder_;
  std::string id_;
  AppContext* context_;
  std::unique_ptr<Page> active_;
  std::vector<std::unique_ptr<Page>> retired_;
  PageMaker remake_;  // makes the page shown again; empty for a page made with arguments
  std::vector<std::string> messages_;
  std::optional<FileResponse> file_;
};

// What a session whose account was withdrawn (deleted, or its rights, place or password
// changed) is told on the login page.
inline constexpr const char* kAccountWithdrawnMessage =
    "您的账号已被删除，或权限、密码已变更，请重新登录。";

// The session whose request the calling thread serves.
Session& currentSession();
bool hasCurrentSession();
// Queues a message for the current request's answer.
void ShowMessage(std::string text);

// Sets the calling thread's current session for the lifetime of the guard.
class CurrentSessionGuard {
 public:
  explicit CurrentSessionGuard(Session& session);
  ~CurrentSessionGuard();
  CurrentSessionGuard(const CurrentSessionGuard&) = delete;
  CurrentSessionGuard& operator=(const CurrentSessionGuard&) = delete;

 private:
  Session* previous_;
};

}  // namespace zeziza::web
