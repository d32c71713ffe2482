#include "web/controls/chart.h"

#include <nlohmann/json.hpp>

#include "web/controls/display.h"

namespace zeziza::web {

namespace {

nlohmann::json dataSetJson(const ClientDataSet* data) {
  nlohmann::json columns = nlohmann::json::array();
  nlohmann::json rows = nlohmann::json::array();
  if (data) {
    columns = data->Columns;
    for (const auto& row : data->Rows) {
      if (!row.empty()) rows.push_back(row);
    }
  }
  return {{"columns", std::move(columns)}, {"rows", std::move(rows)}};
}

void writeData(HtmlWriter& out, const nlohmann::json& data) {
  const std::string json = data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  out.raw("<script type=\"application/json\" class=\"iw-data\">");
  out.raw(jsonForScriptElement(json)).raw("</script>");
}

}  // namespace

void DynamicChart::render(HtmlWriter& out) const {
  nlohmann::json data = dataSetJson(DataSet);
  data["category"] = CategoryColumn;
  data["value"] = ValueColumn;
  nlohmann::json colors = nlohmann::json::array();
  for (const auto& color : Colors) colors.push_back(safeColor(color));
  data["colors"] = std::move(colors);
  data["showValues"] = ShowValues;
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "iw-chart-box").raw(">");
  if (ShowLegend) {
    out.raw("<div class=\"iw-chart-legend\"")
        .attr("style", "width:" + std::to_string(LegendWidth) + "px")
        .raw("></div>");
  }
  out.raw("<div class=\"iw-chart\"></div>");
  writeData(out, data);
  out.raw("</div>");
}

void DynamicChart::collectScript(ClientScriptState& state) const {
  state.scripts.emplace_back(kChartScript);
}

void DynamicGrid::render(HtmlWriter& out) const {
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "iw-dyngrid").raw(">");
  writeData(out, dataSetJson(DataSet));
  out.raw("</div>");
}

void DynamicGrid::collectScript(ClientScriptState& state) const {
  state.scripts.emplace_back(kChartScript);
}

}  // namespace zeziza::web
