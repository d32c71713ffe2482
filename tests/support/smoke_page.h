#pragma once

#include <memory>
#include <string>

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
  web::Label IWLabel1{*this, "IWLabel1"};
  web::Label RawLabel{*this, "RawLabel"};
  web::Edit IWEdit1{*this, "IWEdit1"};
  web::Edit Password{*this, "Password"};
  web::Edit Disabled{*this, "Disabled"};
  web::Memo IWMemo1{*this, "IWMemo1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};
  web::ListBox IWListBox1{*this, "IWListBox1"};
  web::List IWList1{*this, "IWList1"};
  web::CheckBox IWCheckBox1{*this, "IWCheckBox1"};
  web::Button IWButton1{*this, "IWButton1"};
  web::Button Thrower{*this, "Thrower"};
  web::Button Next{*this, "Next"};
  web::Button Download{*this, "Download"};
  web::Link Confirmed{*this, "Confirmed"};
  web::Url IWURL1{*this, "IWURL1"};
  web::Region Panel{*this, "Panel"};
  web::Edit Hidden{Panel, "Hidden"};
  web::Grid IWGrid1{*this, "IWGrid1"};
  web::DBGrid IWDBGrid1{*this, "IWDBGrid1"};
  web::FileUpload IWFile1{*this, "IWFile1"};
  web::Timer IWTimer1{*this, "IWTimer1"};
  web::Text IWText1{*this, "IWText1"};
  web::HRule IWHRule1{*this, "IWHRule1"};
  web::Rectangle IWRectangle1{*this, "IWRectangle1"};

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
