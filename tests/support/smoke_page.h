#pragma once

#include <memory>
#include <string>

#include "store/query.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"
#include "web/user_session.h"

namespace zeziza::testing {

// A page that exists only in the tests: one control of every kind and handlers that leave
// a trace, so the request cycle and the browser journey can be checked.
class SmokeFrame : public web::Frame {
 public:
  explicit SmokeFrame(web::Container& parent) : web::Frame(parent, "Frame1") {
    OnCreate = [this] { created.Caption = "frame created"; };
    Clicks.OnClick = [this] { created.Caption = "frame clicked"; };
  }
  web::Label created{*this, "created"};
  web::Link Clicks{*this, "Clicks"};
};

class SmokePage : public web::Page {
 public:
  SmokePage();

  SmokeFrame frame{*this};
  web::Label traceLabel{*this, "traceLabel"};
  web::Label RawLabel{*this, "RawLabel"};
  web::Edit textEdit{*this, "textEdit"};
  web::Edit Password{*this, "Password"};
  web::Edit Disabled{*this, "Disabled"};
  web::Memo textMemo{*this, "textMemo"};
  web::ComboBox choiceBox{*this, "choiceBox"};
  web::ListBox choiceListBox{*this, "choiceListBox"};
  web::List choiceList{*this, "choiceList"};
  web::CheckBox tickBox{*this, "tickBox"};
  web::Button clickButton{*this, "clickButton"};
  web::Button Thrower{*this, "Thrower"};
  web::Button Next{*this, "Next"};
  web::Button Download{*this, "Download"};
  web::Link Confirmed{*this, "Confirmed"};
  web::Url siteUrl{*this, "siteUrl"};
  web::Region Panel{*this, "Panel"};
  web::Edit Hidden{Panel, "Hidden"};
  web::Grid cellGrid{*this, "cellGrid"};
  web::DBGrid rowGrid{*this, "rowGrid"};
  store::Query rows_{web::currentSession().dataConnection};
  web::FileUpload fileUpload{*this, "fileUpload"};
  web::Timer tickTimer{*this, "tickTimer"};
  web::Text helpText{*this, "helpText"};
  web::HRule rule{*this, "rule"};
  web::Rectangle rectangle{*this, "rectangle"};

  int clicks = 0;
  int ticks = 0;
  int changes = 0;
  std::string lastCell;
  std::string lastLink;
  std::string lastUpload;
};

// The second page the smoke page switches to.
class SmokeNextPage : public web::Page {
 public:
  SmokeNextPage() : web::Page("SmokeNextPage") {
    Title = "next";
    Back.Caption = "back";
    Back.OnClick = [] { web::currentSession().ShowPage<SmokePage>(); };
  }
  web::Button Back{*this, "Back"};
};

}  // namespace zeziza::testing
