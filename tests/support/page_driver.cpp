#include "tests/support/page_driver.h"

#include "pages/common/start_page.h"
#include "web/controls/lists.h"
#include "web/html.h"

namespace zeziza::testing {

TestServer::TestServer(web::PageFactory startPage, web::ServerSettings settings) {
  host::Options options;
  options.dataDir = temp_.path();
  options.port = 0;
  host_ = std::make_unique<host::ServerHost>(
      options, startPage ? std::move(startPage) : pages::startPage(), settings);
  host_->prepareFolder();
  host_->loadState();
}

TestServer::~TestServer() {
  db_.reset();
  host_.reset();
}

store::Database& TestServer::db() {
  if (!db_) db_ = std::make_unique<store::Database>(temp_.path() / "data");
  return *db_;
}

BrowserSession TestServer::browser() {
  auto session = controller().sessions().startSession();
  if (!session) throw std::runtime_error("no session could be started");
  ++session->trackId;  // the start exchange page
  BrowserSession browser(controller(), session);
  web::PostedForm form;
  form.fields.emplace("IW_width", "1000");
  form.fields.emplace("IW_height", "700");
  browser.post(form);
  return browser;
}

BrowserSession::BrowserSession(web::ServerController& controller,
                               std::shared_ptr<web::LiveSession> session)
    : controller_(controller), session_(std::move(session)) {}

web::Page& BrowserSession::page() const {
  if (!session_->user) throw std::logic_error("the session has ended");
  // A page set aside while the session idled is made again, as the next request would.
  web::CurrentSessionGuard guard(*session_->user);
  web::Page* p = session_->user->activePage();
  if (!p) throw std::logic_error("the session shows no page");
  return *p;
}

web::Control* BrowserSession::findControl(const std::string& name) const {
  web::Control* c = page().find(name);
  if (!c) throw std::logic_error("no control named " + name + " on " + page().className());
  return c;
}

void BrowserSession::type(const std::string& name, const std::string& value) {
  typed_[findControl(name)->elementId()] = value;
}

void BrowserSession::choose(const std::string& name, const std::string& item) {
  auto& combo = control<web::ComboBox>(name);
  for (std::size_t i = 0; i < combo.Items.size(); ++i) {
    if (combo.Items[i] == item) {
      typed_[combo.elementId()] = std::to_string(i);
      return;
    }
  }
  throw std::logic_error("combo box " + name + " has no item " + item);
}

void BrowserSession::attach(const std::string& name, web::UploadedFile file) {
  file.field = findControl(name)->elementId();
  attached_.push_back(std::move(file));
}

web::PostedForm BrowserSession::formFor(const std::string& name, const std::string& param) const {
  web::PostedForm form;
  for (const web::Control* c : page().controls()) {
    if (c->takesPost() && c->Enabled && c->effectivelyVisible()) c->browserPost(form);
  }
  for (const auto& [field, value] : typed_) {
    form.fields.erase(field);
    form.fields.emplace(field, value);
  }
  for (const auto& file : attached_) form.files.push_back(file);
  form.fields.emplace("IW_Action", name.empty() ? "" : findControl(name)->elementId());
  form.fields.emplace("IW_ActionParam", param);
  // The hidden fields of the page as it was last rendered.
  form.fields.emplace("IW_SessionID_", session_->id);
  form.fields.emplace("IW_TrackID_", std::to_string(session_->trackId));
  return form;
}

const web::EventOutcome& BrowserSession::choosePage(const std::string& name,
                                                    const std::string& page) {
  typed_[findControl(name)->elementId() + "_page"] = page;
  return click(name);
}

const web::EventOutcome& BrowserSession::click(const std::string& name, const std::string& param) {
  web::PostedForm form = formFor(name, param);
  typed_.clear();
  attached_.clear();
  return post(std::move(form));
}

const web::EventOutcome& BrowserSession::post(web::PostedForm form) {
  if (!form.get("IW_SessionID_")) form.fields.emplace("IW_SessionID_", session_->id);
  if (!form.get("IW_TrackID_")) {
    form.fields.emplace("IW_TrackID_", std::to_string(session_->trackId));
  }
  auto outcome = controller_.sessions().postEvent(form, form.value("IW_SessionID_"), "127.0.0.1");
  if (!outcome) throw std::runtime_error("the session has ended");
  last_ = std::move(*outcome);
  return last_;
}

void BrowserSession::run(const std::function<void()>& action) {
  std::lock_guard lock(session_->serving);
  last_ = web::serveAction(*session_, action);
}

std::string BrowserSession::message() const {
  if (last_.messages.size() > 1) throw std::logic_error("more than one message");
  return last_.messages.empty() ? "" : last_.messages.front();
}

bool BrowserSession::alive() const {
  return session_->user != nullptr;
}

}  // namespace zeziza::testing
