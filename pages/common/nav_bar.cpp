#include "pages/common/nav_bar.h"

#include "pages/common/exam_label.h"
#include "pages/common/navigation.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/common/site.h"
#include "pages/signin/login.h"
#include "pages/signin/password.h"
#include "pages/signin/setup_guide.h"
#include "store/banner_file.h"
#include "store/score_presence.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kBarColor = "tan";
constexpr const char* kCurrentBarColor = "#A52A2A";
constexpr const char* kCellCss = "nav-cell";

// "·name · role · default exam · work mode ·" for the codes that work with the bar.
std::string userLabel(const web::Session& session, int code) {
  return "·" + session.login.userName + " · " + std::string(roleName(code)) + " · " +
         headerExamLabel(session.login.defaultExam, code) + " · " + session.login.workMode + " ·";
}

}  // namespace

NavigationBar::EntryCell::EntryCell(web::Container& row, const NavEntry& entry)
    : entry(entry),
      cell(row, std::string(entry.name) + "Cell"),
      link(cell, std::string(entry.name) + "Link"),
      bar(cell, std::string(entry.name) + "Bar") {
  cell.Css = kCellCss;
  link.Caption = entry.caption;
  link.Enabled = false;  // until the session's rights open it
  cell.Visible = !entry.hiddenUnreached;
  bar.Color = kBarColor;
}

std::vector<std::unique_ptr<NavigationBar::EntryCell>> NavigationBar::makeEntryCells(
    web::Container& row) {
  std::vector<std::unique_ptr<EntryCell>> cells;
  for (const NavEntry& entry : navigationEntries()) {
    cells.push_back(std::make_unique<EntryCell>(row, entry));
  }
  return cells;
}

NavigationBar::NavigationBar(web::Container& parent) : web::Frame(parent, "navigationBar") {
  Css = "navbar";
  TopRow.Css = "nav-top";
  LinkRow.Css = "nav-row";
  passwordLink.Caption = "【修改密码】";
  signOutLink.Caption = "【退出】";
  for (const auto& made : entryCells_) {
    made->link.OnClick = [this, &entry = made->entry] { follow(entry); };
  }
  helpCell.Css = kCellCss;
  helpLink.Caption = "【 帮  助 】";
  helpBar.Color = kBarColor;
  fillCell.Css = std::string(kCellCss) + " nav-fill";
  fillBar.Color = kBarColor;

  OnCreate = [this] { onCreate(); };
  OnRender = [this] { onRender(); };
  passwordLink.OnClick = [this] { onChangePassword(); };
  signOutLink.OnClick = [this] { onSignOut(); };
}

void NavigationBar::onCreate() {
  web::Session& session = web::currentSession();
  enableByRights();
  markCurrentEntry();
  helpLink.URL = siteAddress("/vezav/help");
  helpLink.Visible = !helpLink.URL.empty();
  scoresExist_ = store::scoresExist(session.dataConnection.db());
}

void NavigationBar::follow(const NavEntry& entry) const {
  if (entry.needsScores && !scoresExist_) {
    showOutsideEntries<SetupGuidePage>();
  } else {
    entry.show();
  }
}

void NavigationBar::enableByRights() {
  const auto code = sessionRights();
  for (const auto& made : entryCells_) {
    const bool reached = reaches(made->entry.reach, code);
    made->link.Enabled = reached;
    if (made->entry.hiddenUnreached) made->cell.Visible = reached;
  }
}

void NavigationBar::markCurrentEntry() {
  const std::string& current = web::currentSession().navigationEntry;
  for (const auto& made : entryCells_) {
    made->bar.Color = current == made->entry.page ? kCurrentBarColor : kBarColor;
  }
}

void NavigationBar::onRender() {
  web::Session& session = web::currentSession();
  // The banner may have been replaced since the page was built.
  bannerImage.Source = store::bannerAddress(session.dataFolder().files());
  const auto code = sessionRights();
  if (code && !roleName(*code).empty()) {
    userCaption.Caption = userLabel(session, *code);
  }
}

void NavigationBar::onChangePassword() {
  showEntry<PasswordPage>();
}

// Signing out keeps the session and its login state; the login page offers no navigation.
void NavigationBar::onSignOut() {
  web::currentSession().ShowPage<LoginPage>();
}

}  // namespace zeziza::pages
