#include "tests/support/smoke_page.h"

#include <fstream>

namespace zeziza::testing {

SmokePage::SmokePage() : web::Page("SmokePage") {
  Title = "smoke";
  OnCreate = [this] {
    IWLabel1.Caption = "ready:" + frame.created.Caption;
    IWComboBox1.Items = {"中心校区", "东校区", "西校区"};
    IWListBox1.Items = {"a", "b"};
    IWGrid1.setColumnCount(2);
    IWGrid1.setRowCount(2);
    IWGrid1.cell(0, 0).Text = "head";
    IWGrid1.cell(1, 1).Text = "click me";
    IWGrid1.cell(1, 1).Clickable = true;
    auto& user = web::currentSession();
    user.tem.open("select 7 as n, 'seven' as name union all select 8, '<b>eight</b>'");
    IWDBGrid1.DataSource = &user.tem;
    IWDBGrid1.Columns = {{"name", "名字", "", nullptr, {}},
                         {"n", "操作", "n", [this](const std::string& v) { lastLink = v; }, {}}};
  };
  Disabled.Enabled = false;
  Password.PasswordPrompt = true;
  Panel.Visible = false;
  IWButton1.Caption = "点我";
  IWButton1.OnClick = [this] {
    ++clicks;
    IWLabel1.Caption = "clicked " + std::to_string(clicks) + ":" + IWEdit1.Text;
    web::ShowMessage("你好 " + IWEdit1.Text);
  };
  Thrower.Caption = "throw";
  Thrower.OnClick = [] { throw std::runtime_error("handler failed"); };
  Next.Caption = "next";
  Next.OnClick = [] { web::currentSession().ShowPage<SmokeNextPage>(); };
  Download.Caption = "download";
  Download.OnClick = [] {
    auto file = web::currentSession().cacheFolder() / "report.txt";
    std::ofstream(file) << "report";
    web::currentSession().SendFile(file, "成绩.txt");
  };
  Confirmed.Caption = "删除";
  Confirmed.Confirmation = "您确定要删除这些学生及其成绩吗？";
  Confirmed.OnClick = [this] { IWLabel1.Caption = "confirmed"; };
  IWComboBox1.OnChange = [this] { ++changes; };
  IWGrid1.OnCellClick = [this](int r, int c) {
    lastCell = std::to_string(r) + "," + std::to_string(c);
  };
  IWURL1.Caption = "help";
  IWURL1.URL = "/files/err.html";
  IWTimer1.Interval = 500000;
  IWTimer1.OnTimer = [this] { ++ticks; };
  IWFile1.Enabled = true;
  IWText1.Lines = {"line 1", "line <2>"};
  IWRectangle1.Text = "box";
  IWRectangle1.Color = "#ffeecc";
}

}  // namespace zeziza::testing
