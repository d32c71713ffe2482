#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "web/controls/chart.h"
#include "web/page.h"

namespace zeziza::web {
namespace {

// The JSON a control sends, read back as the browser's JSON.parse would.
nlohmann::json sentData(const Control& control) {
  HtmlWriter out;
  control.render(out);
  const std::string html = out.take();
  const std::string open = "<script type=\"application/json\" class=\"iw-data\">";
  const auto start = html.find(open) + open.size();
  const auto end = html.find("</script>", start);
  EXPECT_EQ(html.find("</script>", end + 1), std::string::npos);  // no data closed it early
  EXPECT_EQ(html.find("<!--"), std::string::npos);
  return nlohmann::json::parse(html.substr(start, end - start));
}

TEST(ChartControls, SendTheDataSetAsJsonThatNoTextCanBreak) {
  Page page("TestPage");
  ClientDataSet data;
  data.Columns = {"单位", "</script>"};
  data.Rows = {{"'一班'", "85.500"}, {}, {"<!--x", "1"}};
  DynamicChart chart(page, "chart");
  chart.DataSet = &data;
  chart.CategoryColumn = "单位";
  chart.ValueColumn = "</script>";
  chart.Colors = {"#B47D4B", "red;background:url(x)"};
  DynamicGrid grid(page, "grid");
  grid.DataSet = &data;

  const auto sent = sentData(chart);
  EXPECT_EQ(sent["columns"], nlohmann::json({"单位", "</script>"}));
  EXPECT_EQ(sent["rows"],
            nlohmann::json::array({{"'一班'", "85.500"}, {"<!--x", "1"}}));  // empty skipped
  EXPECT_EQ(sent["value"], "</script>");
  EXPECT_EQ(sent["colors"], nlohmann::json({"#B47D4B", "redbackgroundurlx"}));
  EXPECT_EQ(sent["showValues"], true);
  EXPECT_EQ(sentData(grid)["rows"], sent["rows"]);

  ClientScriptState scripts;
  chart.collectScript(scripts);
  grid.collectScript(scripts);
  EXPECT_EQ(scripts.scripts, (std::vector<std::string>{"chart.js", "chart.js"}));
}

TEST(ChartControls, WithoutADataSetNothingIsDrawn) {
  Page page("TestPage");
  DynamicGrid grid(page, "grid");
  EXPECT_EQ(sentData(grid), nlohmann::json::parse(R"({"columns":[],"rows":[]})"));
}

}  // namespace
}  // namespace zeziza::web
