#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "web/control.h"
#include "web/controls/paging.h"

namespace zeziza::web {

struct GridCell {
  std::string Text;
  bool Clickable = false;
  std::string Confirmation;    // asked before a click of a clickable cell is sent
  bool Download = false;       // a click may be answered with a file (see Link::Download)
  Control* Content = nullptr;  // a control shown in place of the text (owned by the page)
  std::string FontColor;
  std::string Color;
};

// The texts of consecutive body rows, each row's cells in column order.
using GridRowTexts = std::vector<std::vector<std::string>>;
// Yields the texts of body rows [first, first + count); body row 0 is grid row 1.
using GridRowSource = std::function<GridRowTexts(int first, int count)>;

// A table of text cells; row 0 is the header by convention. Controls shown in cells are
// created with the grid as their parent and placed with cell().Content.
//
// Past PageRows body rows the grid shows one page of them under a pager line; the page
// changes are the grid's own events. Body rows may come from a source instead of stored
// cells: then only the texts of the page being rendered exist, and only while rendering.
class Grid : public Control, public Container {
 public:
  Grid(Container& parent, std::string name) : Control(parent, std::move(name)) {}

  std::string Css = "grid";
  std::function<void(int row, int column)> OnCellClick;
  // Body rows shown at a time once there are more; 0 shows every row.
  int PageRows = 1000;

  int rowCount() const;
  int columnCount() const { return columns_; }
  // Stored cells again: a row source is dropped. A changed row count returns to page 1.
  void setRowCount(int rows);
  void setColumnCount(int columns);
  void clear();
  GridCell& cell(int row, int column);
  const GridCell& cell(int row, int column) const;

  // `bodyRows` rows after the stored header row come from `source`; back to page 1.
  void setRowSource(int bodyRows, GridRowSource source);
  bool hasRowSource() const { return static_cast<bool>(source_); }
  // A row's texts, stored or from the source.
  std::vector<std::string> rowTexts(int row) const;

  bool paged() const;
  int pageCount() const;
  int pageIndex() const;  // 0-based, the page shown
  // The grid rows [first, last) of the body shown now.
  std::pair<int, int> shownRows() const;

  Page& page() override { return Control::page(); }
  std::string qualify(std::string_view name) const override {
    return Control::parent().qualify(name);
  }
  bool shown() const override { return effectivelyVisible(); }
  bool rendersChildren() const override { return false; }

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override { return static_cast<bool>(OnCellClick) || paged(); }
  void fire(std::string_view param) override;
  void checkEvent(std::string_view param) const override;
  // The page chooser's value: taken only while the grid pages.
  bool takesPost() const override { return paged(); }
  void checkPost(const PostedForm& form) const override;
  void applyPost(const PostedForm& form) override;
  void browserPost(PostedForm& form) const override;
  void endRequest() override { chosenPage_.reset(); }

  // The form field of the page chooser.
  std::string pageField() const { return elementId() + "_page"; }

 private:
  // The clickable cell a parameter "row_column" names; throws BadPost for any other.
  std::pair<int, int> clickedCell(std::string_view param) const;
  void renderCell(HtmlWriter& out, int row, int column) const;
  void renderSourced(HtmlWriter& out, int first, int last) const;
  // The pager line, shared with web::Pager, under the grid's own status text.
  void renderPager(HtmlWriter& out) const;
  PageSpan span() const;

  int columns_ = 0;
  std::vector<std::vector<GridCell>> cells_;
  GridRowSource source_;
  int sourceRows_ = 0;
  int page_ = 0;
  std::optional<int> chosenPage_;  // posted by the chooser for this request
};

}  // namespace zeziza::web
