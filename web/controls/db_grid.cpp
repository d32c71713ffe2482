#include "web/controls/db_grid.h"

#include <charconv>

#include "web/controls/cell_fit.h"

namespace zeziza::web {

void DBGrid::renderRow(HtmlWriter& out, std::size_t row) const {
  const store::Query& q = *DataSource;
  out.raw("<tr>");
  for (std::size_t c = 0; c < Columns.size(); ++c) {
    const DBGridColumn& column = Columns[c];
    const std::string text =
        q.hasField(column.DataField) ? q.fieldAt(row, q.fieldIndex(column.DataField)).asText() : "";
    out.raw("<td");
    writeCellFit(out, text);
    out.raw(">");
    if (column.OnClick && !column.LinkField.empty()) {
      const std::string link = q.fieldAt(row, q.fieldIndex(column.LinkField)).asText();
      const std::string param = std::to_string(c) + ":" + link;
      shownLinks_.insert(param);
      out.raw("<a href=\"#\"").attr("data-iw-action", elementId()).attr("data-iw-param", param);
      if (column.Confirmation) out.attr("data-iw-confirm", column.Confirmation(q, row));
      out.raw(">").text(text).raw("</a>");
    } else {
      out.text(text);
    }
    out.raw("</td>");
  }
  out.raw("</tr>");
}

void DBGrid::render(HtmlWriter& out) const {
  shownLinks_.clear();
  out.raw("<table");
  writeIdentity(out, false);
  out.attr("class", Css).raw("><tr>");
  for (const auto& column : Columns) {
    out.raw("<th");
    writeCellFit(out, column.Title);
    out.raw(">").text(column.Title).raw("</th>");
  }
  out.raw("</tr>");
  if (DataSource && DataSource->isOpen()) {
    const std::size_t total = DataSource->recordCount();
    const std::size_t start = FromStart ? 0 : DataSource->recNo();
    const std::size_t end = RowLimit == 0 ? total : std::min(total, start + RowLimit);
    for (std::size_t row = start; row < end; ++row) renderRow(out, row);
  }
  out.raw("</table>");
}

bool DBGrid::hasEvent() const {
  for (const auto& column : Columns) {
    if (column.OnClick) return true;
  }
  return false;
}

void DBGrid::checkEvent(std::string_view param) const {
  if (!shownLinks_.contains(std::string(param))) {
    throw BadPost("no such link in " + fullName());
  }
}

void DBGrid::fire(std::string_view param) {
  checkEvent(param);
  const auto sep = param.find(':');
  std::size_t column = 0;
  std::from_chars(param.data(), param.data() + sep, column);
  Columns.at(column).OnClick(std::string(param.substr(sep + 1)));
}

}  // namespace zeziza::web
