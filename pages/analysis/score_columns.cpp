#include "pages/analysis/score_columns.h"

#include <charconv>
#include <stdexcept>

namespace zeziza::pages {

namespace {

constexpr std::string_view kItemStart = ",cj.k";
constexpr std::string_view kAs = " as ";

// Reads a column number at the front of `text`; returns the characters used (0: none).
std::size_t readNumber(std::string_view text, int& number) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (ec != std::errc() || number < 1 || number > kMaxSubjects) return 0;
  return static_cast<std::size_t>(end - text.data());
}

// Where the next item starts: ",cj.k" followed by a column number and " as ".
std::size_t nextItem(std::string_view fragment, std::size_t from) {
  for (auto at = fragment.find(kItemStart, from); at != std::string_view::npos;
       at = fragment.find(kItemStart, at + 1)) {
    int number = 0;
    const std::size_t digits = readNumber(fragment.substr(at + kItemStart.size()), number);
    if (digits > 0 && fragment.substr(at + kItemStart.size() + digits).starts_with(kAs)) {
      return at;
    }
  }
  return std::string_view::npos;
}

std::runtime_error malformed() {
  return std::runtime_error("科目列表格式错误，请重新登录");
}

// A name from `at` on: a quoted identifier ("a""b" reads a"b), or the text up to the blank
// before the next item or the end. `at` moves past the name.
std::string readName(std::string_view fragment, std::size_t& at) {
  if (at < fragment.size() && fragment[at] == '"') {
    std::string name;
    for (std::size_t i = at + 1; i < fragment.size(); ++i) {
      if (fragment[i] != '"') {
        name += fragment[i];
      } else if (i + 1 < fragment.size() && fragment[i + 1] == '"') {
        name += '"';
        ++i;
      } else {
        at = i + 1;
        return name;
      }
    }
    throw malformed();
  }
  const std::size_t next = nextItem(fragment, at);
  const std::size_t end = next == std::string_view::npos ? fragment.size() : next;
  if (end == at || fragment[end - 1] != ' ') throw malformed();
  std::string name(fragment.substr(at, end - 1 - at));
  at = end - 1;
  return name;
}

}  // namespace

std::string subjectKey(int number) {
  if (number < 1 || number > kMaxSubjects) {
    throw std::out_of_range("科目位置 " + std::to_string(number) + " 没有对应的成绩列");
  }
  std::string key = "k";  // appended: GCC 12 warns falsely on "k" + std::to_string(...)
  key += std::to_string(number);
  return key;
}

std::string subjectColumn(int number) {
  std::string column = "cj.";
  column += subjectKey(number);
  return column;
}

SessionSubjects::SessionSubjects(std::string_view fragment) {
  std::size_t at = nextItem(fragment, 0);
  if (at != 0 && !fragment.empty()) throw malformed();
  while (at != std::string_view::npos) {
    SubjectColumn column;
    const std::size_t numberAt = at + kItemStart.size();
    const std::size_t digits = readNumber(fragment.substr(numberAt), column.number);
    std::size_t end = numberAt + digits + kAs.size();
    column.name = readName(fragment, end);
    // Every name is followed by one blank, then the next item or the end.
    if (end >= fragment.size() || fragment[end] != ' ') throw malformed();
    at = end + 1 == fragment.size() ? std::string_view::npos : end + 1;
    if (at != std::string_view::npos && nextItem(fragment, at) != at) throw malformed();
    columns_.push_back(std::move(column));
  }
}

std::optional<int> SessionSubjects::find(std::string_view name) const {
  for (const auto& column : columns_) {
    if (column.name == name) return column.number;
  }
  return std::nullopt;
}

int SessionSubjects::numberOf(std::string_view name) const {
  if (const auto number = find(name)) return *number;
  throw std::runtime_error("科目“" + std::string(name) +
                           "”是登录之后才设置的，没有成绩列，请重新登录后再操作");
}

std::string SessionSubjects::selectList() const {
  std::string list;
  for (const auto& column : columns_) {
    list += ", " + subjectColumn(column.number) + " as " + subjectKey(column.number);
  }
  return list;
}

int subjectNumberOfKey(std::string_view key) {
  int number = 0;
  if (key.size() > 1 && key.starts_with('k') &&
      readNumber(key.substr(1), number) == key.size() - 1) {
    return number;
  }
  throw std::runtime_error("成绩列 " + std::string(key) + " 无效，请重新登录");
}

}  // namespace zeziza::pages
