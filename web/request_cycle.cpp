#include "web/request_cycle.h"

#include <charconv>

#include "base/whole_number.h"
#include "store/database.h"
#include "store/failure_message.h"
#include "web/compression.h"
#include "web/event_log.h"
#include "web/hidden_fields.h"
#include "web/html.h"
#include "web/page_renderer.h"

namespace zeziza::web {

namespace {

int postedNumber(const PostedForm& form, std::string_view name) {
  return base::exactInteger<int>(form.value(name)).value_or(0);
}

void logFailure(Session& user, const std::exception& e) {
  if (auto* log = user.context().eventLog()) {
    log->record("error", e.what(), {{"user", user.login.userName}});
  }
}

// Runs a handler; whatever escapes it becomes an alert and the page is rendered again.
void runHandler(Session& user, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const BadPost& e) {
    user.ShowMessage(e.userMessage());
  } catch (const store::DatabaseError& e) {
    // The statement and SQLite's own words are for the administrator's log only.
    logFailure(user, e);
    user.ShowMessage(store::failureMessage(e));
  } catch (const std::exception& e) {
    // Unexpected: the user sees an alert, the administrator a line of the log.
    logFailure(user, e);
    user.ShowMessage(e.what());
  }
}

enum class AccountCheck { Holds, Withdrawn, Unknown };

// Whether the signed-in account still allows what the session does; a failure to read it is
// an alert, and the post is not applied either.
AccountCheck checkAccount(Session& user) {
  auto result = AccountCheck::Unknown;
  runHandler(user, [&] {
    result = user.accountWithdrawn() ? AccountCheck::Withdrawn : AccountCheck::Holds;
  });
  return result;
}

std::vector<Control*> postTargets(const Page& page) {
  std::vector<Control*> targets;
  for (Control* c : page.controls()) {
    if (c->takesPost() && c->Enabled && c->effectivelyVisible()) targets.push_back(c);
  }
  return targets;
}

// The control named by IW_Action, when it may act now; nullptr for none.
Control* actingControl(const Page& page, const PostedForm& form, bool& forged) {
  const std::string action = form.value(field::kAction);
  forged = false;
  if (action.empty()) return nullptr;
  Control* control = page.find(action);
  if (!control || !control->hasEvent() || !control->Enabled || !control->effectivelyVisible()) {
    forged = true;
    return nullptr;
  }
  return control;
}

void applyAndFire(Session& user, Page& page, const PostedForm& form) {
  bool forged = false;
  Control* acting = actingControl(page, form, forged);
  if (forged) return;  // a post for no control that can act: nothing of it is applied
  const auto targets = postTargets(page);
  const std::string param = form.value(field::kActionParam);
  try {
    if (acting) acting->checkEvent(param);
    for (const Control* c : targets) c->checkPost(form);
  } catch (const BadPost& e) {
    user.ShowMessage(e.userMessage());
    return;
  }
  for (Control* c : targets) c->applyPost(form);
  if (acting) {
    runHandler(user, [&] { acting->fire(param); });
  }
  for (Control* c : page.controls()) c->endRequest();
}

// The page rendered straight into a gzip stream, piece by piece.
std::string renderGzipped(const Page& page, const AnswerState& state) {
  GzipStream zipped;
  HtmlWriter out([&](std::string_view piece) { zipped.write(piece); });
  renderPage(page, state, out);
  return zipped.finish();
}

// Renders the active page; a failure while rendering is reported on a plain page so the
// session can go on.
std::string renderAnswer(Session& user, Page& page, AnswerState& state, bool zipped) {
  runHandler(user, [&] { page.beforeRender(); });
  auto late = user.takeMessages();
  state.messages.insert(state.messages.end(), late.begin(), late.end());
  state.focus = page.takeFocus();
  try {
    return zipped ? renderGzipped(page, state) : renderPage(page, state);
  } catch (const std::exception& e) {
    state.messages.push_back(e.what());
    return zipped ? gzip(renderErrorPage(state)) : renderErrorPage(state);
  }
}

// Gives the session's borrowed connections back however its request ended: a session holds
// no connection between requests.
class ConnectionsReturned {
 public:
  explicit ConnectionsReturned(Session& user) : user_(user) {}
  ~ConnectionsReturned() { user_.releaseConnections(); }
  ConnectionsReturned(const ConnectionsReturned&) = delete;
  ConnectionsReturned& operator=(const ConnectionsReturned&) = delete;

 private:
  Session& user_;
};

EventOutcome answer(LiveSession& session, bool zipped = false) {
  Session& user = *session.user;
  EventOutcome outcome;
  if (auto file = user.takeFileResponse()) {
    outcome.kind = EventOutcome::Kind::File;
    outcome.file = std::move(file);
    return outcome;
  }
  AnswerState state{session.id, ++session.trackId, user.takeMessages(), {}, session.keepAlive};
  Page* page = user.activePage();
  if (page) {
    outcome.html = renderAnswer(user, *page, state, zipped);
  } else {
    outcome.html = zipped ? gzip(renderStartPage(state)) : renderStartPage(state);
  }
  outcome.gzipped = zipped;
  outcome.messages = state.messages;
  return outcome;
}

}  // namespace

EventOutcome serveEvent(LiveSession& session, const PostedForm& form, const PageFactory& startPage,
                        bool gzip) {
  Session& user = *session.user;
  CurrentSessionGuard guard(user);
  const ConnectionsReturned returned(user);
  const bool first = !session.started;
  if (first) {
    user.windowWidth = postedNumber(form, field::kWidth);
    user.windowHeight = postedNumber(form, field::kHeight);
    session.started = true;
    runHandler(user, [&] { user.showRemakablePage(startPage); });
  } else if (const auto account = checkAccount(user); account != AccountCheck::Holds) {
    // Nothing of the post is applied: the account may no longer allow it.
    if (account == AccountCheck::Withdrawn) {
      user.signOut();
      runHandler(user, [&] { user.showRemakablePage(startPage); });
      user.ShowMessage(kAccountWithdrawnMessage);
    }
  } else if (form.value(field::kResync) == "1") {
    // Reloaded or shown again from the history: the current page, nothing applied.
  } else if (form.value(field::kTrack) != std::to_string(session.trackId)) {
    user.ShowMessage(kResyncMessage);
  } else if (Page* page = user.activePage()) {
    applyAndFire(user, *page, form);
  }
  user.releaseConnections();  // the answer renders from materialised rows
  EventOutcome outcome = answer(session, gzip);
  // A fresh start page holds nothing yet: many browsers that only opened the site cost their
  // sessions alone, and its memory is free again before the next session is made.
  if (first) user.setAsideIdlePage();
  user.releaseRetiredPages();
  return outcome;
}

EventOutcome serveAction(LiveSession& session, const std::function<void()>& action) {
  Session& user = *session.user;
  CurrentSessionGuard guard(user);
  const ConnectionsReturned returned(user);
  runHandler(user, action);
  user.releaseConnections();  // the answer renders from materialised rows
  EventOutcome outcome = answer(session);
  user.releaseRetiredPages();
  return outcome;
}

}  // namespace zeziza::web
