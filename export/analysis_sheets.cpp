#include "export/analysis_sheets.h"

#include <charconv>
#include <optional>

#include "base/text.h"
#include "export/workbook_file.h"

namespace zeziza::spreadsheet {

namespace {

std::optional<double> numberOf(std::string_view typed) {
  const std::string_view text = base::trimmedView(typed);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

store::Value numberCell(std::string_view text) {
  if (const auto value = numberOf(text)) return store::Value(*value);
  return text.empty() ? store::Value() : store::Value(std::string(text));
}

// "[ 3 ] 255.50" -> {3, 255.5}; anything else (an empty cell) -> two empty cells. A value with
// a mark ("65(缺1科)") stays the text shown.
std::pair<store::Value, store::Value> rankedCells(std::string_view text) {
  const auto close = text.find(']');
  if (!text.starts_with('[') || close == std::string_view::npos) return {numberCell(text), {}};
  return {numberCell(text.substr(1, close - 1)),
          numberCell(base::trimmedView(text.substr(close + 1)))};
}

// "40.00% [ 2 ]" -> {40, 2}.
std::pair<store::Value, store::Value> rateCells(std::string_view text) {
  const auto percent = text.find('%');
  const auto open = text.find('[');
  const auto close = text.find(']');
  if (percent == std::string_view::npos || open == std::string_view::npos ||
      close == std::string_view::npos || close < open) {
    return {numberCell(text), {}};
  }
  return {numberCell(text.substr(0, percent)), numberCell(text.substr(open + 1, close - open - 1))};
}

// "优秀率 [人数]" -> "优秀率"; a caption without brackets stays as it is.
std::string baseCaption(const std::string& caption) {
  const auto bracket = caption.find(" [");
  return bracket == std::string::npos ? caption : caption.substr(0, bracket);
}

// "及格率" -> "及格人数"; a qualifier in brackets stays at the end: "及格率(累计)" ->
// "及格人数(累计)".
std::string countCaption(std::string base) {
  std::string qualifier;
  if (const auto open = base.find('('); open != std::string::npos && base.ends_with(")")) {
    qualifier = base.substr(open);
    base.resize(open);
  }
  const std::string rate = "率";
  if (base.ends_with(rate)) base.resize(base.size() - rate.size());
  return base + "人数" + qualifier;
}

void addHeader(std::vector<store::Value>& out, const std::string& caption, CellKind kind) {
  switch (kind) {
    case CellKind::Skip:
      return;
    case CellKind::Ranked:
      out.emplace_back(caption + "名次");
      out.emplace_back(caption);
      return;
    case CellKind::Rate:
      out.emplace_back(baseCaption(caption) + "%");
      out.emplace_back(countCaption(baseCaption(caption)));
      return;
    default:
      out.emplace_back(caption);
  }
}

void addCell(std::vector<store::Value>& out, const std::string& text, CellKind kind) {
  switch (kind) {
    case CellKind::Skip:
      return;
    case CellKind::Text:
      out.push_back(text.empty() ? store::Value() : store::Value(text));
      return;
    case CellKind::Number:
      out.push_back(numberCell(text));
      return;
    case CellKind::Ranked:
    case CellKind::Rate: {
      auto [a, b] = kind == CellKind::Ranked ? rankedCells(text) : rateCells(text);
      out.push_back(std::move(a));
      out.push_back(std::move(b));
      return;
    }
  }
}

CellKind kindOf(const std::vector<CellKind>& kinds, std::size_t c) {
  return c < kinds.size() ? kinds[c] : CellKind::Number;
}

std::vector<store::Value> sheetRow(const std::vector<std::string>& texts,
                                   const std::vector<CellKind>& kinds, bool header) {
  std::vector<store::Value> row;
  for (std::size_t c = 0; c < texts.size(); ++c) {
    if (header) {
      addHeader(row, texts[c], kindOf(kinds, c));
    } else {
      addCell(row, texts[c], kindOf(kinds, c));
    }
  }
  return row;
}

std::vector<store::Value> scopeRow(const std::vector<std::string>& scope) {
  std::vector<store::Value> first;
  for (const auto& text : scope) first.emplace_back(text);
  return first;
}

}  // namespace

SheetRows tableSheet(const std::vector<std::string>& scope,
                     const std::vector<std::vector<std::string>>& table,
                     const std::vector<CellKind>& kinds) {
  SheetRows rows;
  rows.reserve(table.size() + 1);
  rows.push_back(scopeRow(scope));
  for (std::size_t r = 0; r < table.size(); ++r) rows.push_back(sheetRow(table[r], kinds, r == 0));
  return rows;
}

TableSheetStream::TableSheetStream(const std::filesystem::path& file,
                                   const std::vector<std::string>& scope,
                                   const std::vector<std::string>& header,
                                   std::vector<CellKind> kinds)
    : sheet_(file), kinds_(std::move(kinds)) {
  sheet_.add(scopeRow(scope));
  sheet_.add(sheetRow(header, kinds_, true));
}

void TableSheetStream::add(const std::vector<std::string>& texts) {
  sheet_.add(sheetRow(texts, kinds_, false));
}

std::string workbookName(std::string_view what, std::initializer_list<std::string> parts) {
  return workbookDownloadName(what, std::vector<std::string>(parts));
}

}  // namespace zeziza::spreadsheet
