#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/server_host.h"
#include "store/database.h"
#include "tests/support/temp_folder.h"
#include "web/request_cycle.h"

namespace zeziza::testing {

class BrowserSession;

// The real server objects on a temporary data folder, driven without HTTP.
class TestServer {
 public:
  // `startPage` defaults to the login page.
  explicit TestServer(web::PageFactory startPage = nullptr, web::ServerSettings settings = {});
  ~TestServer();

  host::ServerHost& host() { return *host_; }
  web::ServerController& controller() { return host_->controller(); }
  web::AppContext& context() { return host_->context(); }
  const std::filesystem::path& folder() const { return temp_.path(); }
  // A connection of the test's own to `data`, for arranging and checking rows.
  store::Database& db();
  // A new browser: its session is started and shows the start page.
  BrowserSession browser();

 private:
  TempFolder temp_;
  std::unique_ptr<host::ServerHost> host_;
  std::unique_ptr<store::Database> db_;
};

// One browser's session, posting exactly as the page's form would.
class BrowserSession {
 public:
  BrowserSession(web::ServerController& controller, std::shared_ptr<web::LiveSession> session);

  web::Page& page() const;
  template <class P>
  P& page() const {
    auto* p = dynamic_cast<P*>(&page());
    if (!p) throw std::logic_error("the active page is " + page().className());
    return *p;
  }
  std::string pageClass() const { return page().className(); }
  template <class C>
  C& control(const std::string& name) const {
    auto* c = dynamic_cast<C*>(findControl(name));
    if (!c) throw std::logic_error("no control " + name + " of that kind");
    return *c;
  }
  web::Session& user() const { return *session_->user; }

  // Shows a page of class P as a handler's ShowPage would, and renders it; messages of its
  // creation are in messages(). For arranging a test without walking the navigation.
  template <class P>
  P& showPage() {
    run([this] { user().ShowPage<P>(); });
    return page<P>();
  }
  // Runs `action` inside the session as a handler would, then renders the active page.
  void run(const std::function<void()>& action);

  // What the browser would post for a control, replacing what the control holds.
  void type(const std::string& name, const std::string& value);
  // Chooses a combo box item by its text.
  void choose(const std::string& name, const std::string& item);
  void attach(const std::string& name, web::UploadedFile file);

  // Chooses page `page` (from 1) in the chooser of pager or grid `name` and posts its event,
  // as the browser does on a change.
  const web::EventOutcome& choosePage(const std::string& name, const std::string& page);
  // Posts the page as the event of `name` (button, link, combo, grid with "row_col", ...).
  const web::EventOutcome& click(const std::string& name, const std::string& param = "");
  // Posts the page with no acting control.
  const web::EventOutcome& submit() { return click(""); }
  // Posts a form as it stands, for forged and outdated posts; hidden fields are filled in
  // where the form does not carry them.
  const web::EventOutcome& post(web::PostedForm form);
  // The form the browser would post now for acting control `name`.
  web::PostedForm formFor(const std::string& name, const std::string& param = "") const;

  const web::EventOutcome& last() const { return last_; }
  const std::vector<std::string>& messages() const { return last_.messages; }
  std::string message() const;  // the only message of the last answer; "" for none
  bool alive() const;
  unsigned trackId() const { return session_->trackId; }
  const std::string& id() const { return session_->id; }

 private:
  web::Control* findControl(const std::string& name) const;

  web::ServerController& controller_;
  std::shared_ptr<web::LiveSession> session_;
  std::map<std::string, std::string> typed_;
  std::vector<web::UploadedFile> attached_;
  web::EventOutcome last_;
};

}  // namespace zeziza::testing
