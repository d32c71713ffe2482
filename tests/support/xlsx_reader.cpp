#include "tests/support/xlsx_reader.h"

#include <array>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "analysis/number_format.h"

namespace zeziza::testing {

namespace {

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string runReader(const std::filesystem::path& file) {
  const std::string command = "/usr/bin/python3 " + shellQuoted(ZEZIZA_XLSX_READER) + " " +
                              shellQuoted(file.string()) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string output;
  std::array<char, 4096> buffer{};
  while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
    output.append(buffer.data(), n);
  }
  if (::pclose(pipe.release()) != 0) throw std::runtime_error("workbook reader failed: " + output);
  return output;
}

std::string cellText(const nlohmann::json& cell) {
  if (cell.is_null()) return "";
  if (cell[0] == "n") return "#" + analysis::formatGeneral(cell[1].get<double>());
  return cell[1].get<std::string>();
}

}  // namespace

SheetContent readWorkbook(const std::filesystem::path& file) {
  const auto json = nlohmann::json::parse(runReader(file));
  SheetContent content;
  content.sheetNames = json["sheets"].get<std::vector<std::string>>();
  for (const auto& row : json["rows"]) {
    auto& cells = content.rows.emplace_back();
    for (const auto& cell : row) cells.push_back(cellText(cell));
  }
  return content;
}

}  // namespace zeziza::testing
