#include "web/controls/grid.h"

#include <charconv>

#include "web/controls/display.h"

namespace zeziza::web {

void Grid::setRowCount(int rows) {
  cells_.resize(static_cast<std::size_t>(std::max(rows, 0)),
                std::vector<GridCell>(static_cast<std::size_t>(columns_)));
}

void Grid::setColumnCount(int columns) {
  columns_ = std::max(columns, 0);
  for (auto& row : cells_) row.resize(static_cast<std::size_t>(columns_));
}

void Grid::clear() {
  for (auto& row : cells_) {
    for (auto& c : row) c = GridCell{};
  }
}

GridCell& Grid::cell(int row, int column) {
  return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

const GridCell& Grid::cell(int row, int column) const {
  return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void Grid::renderCell(HtmlWriter& out, int row, int column) const {
  const GridCell& c = cell(row, column);
  out.raw(row == 0 ? "<th" : "<td");
  writeFontStyle(out, c.FontColor, 0, false, c.Color);
  out.raw(">");
  if (c.Content && c.Content->Visible) {
    c.Content->render(out);
  } else if (c.Clickable && OnCellClick) {
    out.raw("<a href=\"#\"").attr("data-iw-action", elementId());
    out.attr("data-iw-param", std::to_string(row) + "_" + std::to_string(column));
    if (!c.Confirmation.empty()) out.attr("data-iw-confirm", c.Confirmation);
    out.raw(">").text(c.Text).raw("</a>");
  } else {
    out.text(c.Text);
  }
  out.raw(row == 0 ? "</th>" : "</td>");
}

void Grid::render(HtmlWriter& out) const {
  out.raw("<table");
  writeIdentity(out, false);
  out.attr("class", Css).raw(">");
  for (int r = 0; r < rowCount(); ++r) {
    out.raw("<tr>");
    for (int c = 0; c < columns_; ++c) renderCell(out, r, c);
    out.raw("</tr>");
  }
  out.raw("</table>");
}

std::pair<int, int> Grid::clickedCell(std::string_view param) const {
  const auto sep = param.find('_');
  int row = -1;
  int column = -1;
  if (sep == std::string_view::npos) throw BadPost("malformed cell for " + fullName());
  const auto r = std::from_chars(param.data(), param.data() + sep, row);
  const auto c = std::from_chars(param.data() + sep + 1, param.data() + param.size(), column);
  const bool parsed = r.ec == std::errc() && r.ptr == param.data() + sep && c.ec == std::errc() &&
                      c.ptr == param.data() + param.size();
  if (!parsed || row < 0 || row >= rowCount() || column < 0 || column >= columns_ ||
      !cell(row, column).Clickable || !OnCellClick) {
    throw BadPost("no such clickable cell in " + fullName());
  }
  return {row, column};
}

void Grid::fire(std::string_view param) {
  const auto [row, column] = clickedCell(param);
  OnCellClick(row, column);
}

}  // namespace zeziza::web
