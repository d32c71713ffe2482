#include "tests/support/smoke_page.h"

#include <fstream>

namespace zeziza::testing {

SmokePage::SmokePage() : web::Page("SmokePage") {
  Title = "smoke";
  OnCreate = [this] {
    traceLabel.Caption = "ready:" + frame.created.Caption;
    choiceBox.Items = {"中心校区", "东校区", "西校区"};
    choiceListBox.Items = {"a", "b"};
    cellGrid.setColumnCount(2);
    cellGrid.setRowCount(2);
    cellGrid.cell(0, 0).Text = "head";
    cellGrid.cell(1, 1).Text = "click me";
    cellGrid.cell(1, 1).Clickable = true;
    rows_.open("select 7 as n, 'seven' as name union all select 8, '<b>eight</b>'");
    rowGrid.DataSource = &rows_;
    rowGrid.Columns = {{"name", "名字", "", nullptr, {}},
                       {"n", "操作", "n", [this](const std::string& v) { lastLink = v; }, {}}};
  };
  Disabled.Enabled = false;
  Password.PasswordPrompt = true;
  Panel.Visible = false;
  clickButton.Caption = "点我";
  clickButton.OnClick = [this] {
    ++clicks;
    traceLabel.Caption = "clicked " + std::to_string(clicks) + ":" + textEdit.Text;
    web::ShowMessage("你好 " + textEdit.Text);
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
  Confirmed.OnClick = [this] { traceLabel.Caption = "confirmed"; };
  choiceBox.OnChange = [this] { ++changes; };
  cellGrid.OnCellClick = [this](int r, int c) {
    lastCell = std::to_string(r) + "," + std::to_string(c);
  };
  siteUrl.Caption = "help";
  siteUrl.URL = "/files/err.html";
  tickTimer.Interval = 500000;
  tickTimer.OnTimer = [this] { ++ticks; };
  fileUpload.Enabled = true;
  helpText.Lines = {"line 1", "line <2>"};
  rectangle.Text = "box";
  rectangle.Color = "#ffeecc";
}

}  // namespace zeziza::testing
