#include "web/controls/grid.h"

#include <algorithm>
#include <charconv>

#include "web/controls/cell_fit.h"
#include "web/controls/display.h"

namespace zeziza::web {

int Grid::rowCount() const {
  return source_ ? 1 + sourceRows_ : static_cast<int>(cells_.size());
}

void Grid::setRowCount(int rows) {
  const int before = rowCount();
  source_ = nullptr;
  sourceRows_ = 0;
  cells_.resize(static_cast<std::size_t>(std::max(rows, 0)),
                std::vector<GridCell>(static_cast<std::size_t>(columns_)));
  if (rowCount() != before) page_ = 0;
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

void Grid::setRowSource(int bodyRows, GridRowSource source) {
  cells_.resize(1, std::vector<GridCell>(static_cast<std::size_t>(columns_)));
  source_ = std::move(source);
  sourceRows_ = std::max(bodyRows, 0);
  page_ = 0;
}

std::vector<std::string> Grid::rowTexts(int row) const {
  if (source_ && row >= 1) {
    if (row > sourceRows_) throw std::out_of_range("no grid row " + std::to_string(row));
    GridRowTexts texts = source_(row - 1, 1);
    if (texts.size() != 1) throw std::logic_error("the row source gave no row");
    return std::move(texts.front());
  }
  std::vector<std::string> texts;
  for (int c = 0; c < columns_; ++c) texts.push_back(cell(row, c).Text);
  return texts;
}

void Grid::renderCell(HtmlWriter& out, int row, int column) const {
  const GridCell& c = cell(row, column);
  out.raw(row == 0 ? "<th" : "<td");
  if (!c.Content) writeCellFit(out, c.Text);
  writeFontStyle(out, c.FontColor, 0, false, c.Color);
  out.raw(">");
  if (c.Content && c.Content->Visible) {
    c.Content->render(out);
  } else if (c.Clickable && OnCellClick) {
    out.raw("<a href=\"#\"").attr("data-iw-action", elementId());
    out.attr("data-iw-param", std::to_string(row) + "_" + std::to_string(column));
    if (!c.Confirmation.empty()) out.attr("data-iw-confirm", c.Confirmation);
    if (c.Download) out.attr("data-iw-download", "1");
    out.raw(">").text(c.Text).raw("</a>");
  } else {
    out.text(c.Text);
  }
  out.raw(row == 0 ? "</th>" : "</td>");
}

// Sourced rows are plain texts: one read of the source for the rows shown.
void Grid::renderSourced(HtmlWriter& out, int first, int last) const {
  if (first >= last) return;
  const GridRowTexts texts = source_(first - 1, last - first);
  if (texts.size() != static_cast<std::size_t>(last - first)) {
    throw std::logic_error("the row source gave a wrong number of rows");
  }
  for (const auto& row : texts) {
    out.raw("<tr>");
    for (int c = 0; c < columns_; ++c) {
      std::string_view text;
      if (static_cast<std::size_t>(c) < row.size()) text = row[static_cast<std::size_t>(c)];
      out.raw("<td");
      writeCellFit(out, text);
      out.raw(">").text(text).raw("</td>");
    }
    out.raw("</tr>");
  }
}

void Grid::render(HtmlWriter& out) const {
  if (paged()) renderPager(out);
  out.raw("<table");
  writeIdentity(out, false);
  out.attr("class", Css).raw(">");
  const auto [first, last] = shownRows();
  const int stored = static_cast<int>(cells_.size());
  auto storedRow = [&](int r) {
    out.raw("<tr>");
    for (int c = 0; c < columns_; ++c) renderCell(out, r, c);
    out.raw("</tr>");
  };
  if (stored > 0) storedRow(0);
  for (int r = first; r < std::min(last, stored); ++r) storedRow(r);
  if (source_) renderSourced(out, first, last);
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
  const auto [first, last] = shownRows();
  const bool onPage = row == 0 || (row >= first && row < last);
  if (!parsed || row < 0 || row >= static_cast<int>(cells_.size()) || !onPage || column < 0 ||
      column >= columns_ || !cell(row, column).Clickable || !OnCellClick) {
    throw BadPost("no such clickable cell in " + fullName());
  }
  return {row, column};
}

}  // namespace zeziza::web
