#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

struct GridCell {
  std::string Text;
  bool Clickable = false;
  std::string Confirmation;    // asked before a click of a clickable cell is sent
  Control* Content = nullptr;  // a control shown in place of the text (owned by the page)
  std::string FontColor;
  std::string Color;
};

// A table of text cells; row 0 is the header by convention. Controls shown in cells are
// created with the grid as their parent and placed with cell().Content.
class Grid : public Control, public Container {
 public:
  Grid(Container& parent, std::string name) : Control(parent, std::move(name)) {}

  std::string Css = "grid";
  std::function<void(int row, int column)> OnCellClick;

  int rowCount() const { return static_cast<int>(cells_.size()); }
  int columnCount() const { return columns_; }
  void setRowCount(int rows);
  void setColumnCount(int columns);
  void clear();
  GridCell& cell(int row, int column);
  const GridCell& cell(int row, int column) const;

  Page& page() override { return Control::page(); }
  std::string qualify(std::string_view name) const override {
    return Control::parent().qualify(name);
  }
  bool shown() const override { return effectivelyVisible(); }
  bool rendersChildren() const override { return false; }

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return static_cast<bool>(OnCellClick); }
  void fire(std::string_view param) override;
  void checkEvent(std::string_view param) const override { clickedCell(param); }

 private:
  // The clickable cell a parameter "row_column" names; throws BadPost for any other.
  std::pair<int, int> clickedCell(std::string_view param) const;
  void renderCell(HtmlWriter& out, int row, int column) const;

  int columns_ = 0;
  std::vector<std::vector<GridCell>> cells_;
};

}  // namespace zeziza::web
