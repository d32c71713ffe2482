#include "cloud/scratch_index.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "store/database.h"
#include "store/statement.h"

namespace zeziza::cloud {

namespace {

constexpr char kSeparator = '\x1f';

std::string keyOf(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (auto part : parts) key += scopeKey(part) + kSeparator;
  return key;
}

std::optional<std::int64_t> optionalInt(const store::Value& v) {
  if (v.isNull()) return std::nullopt;
  return v.asInt();
}

}  // namespace

std::string scopeKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

ScratchIndex::ScratchIndex(const std::filesystem::path& tempFile,
                           const std::filesystem::path& dataFile) {
  store::Database temp(tempFile);
  store::Statement rows(temp,
                        "select id, stuid, name, dw, nj, bc, km, cj, 总排名, 校内排名, 班内排名 "
                        "from tem order by cj desc, id");
  while (rows.step()) {
    // The names are TEXT columns, read as stored; the number goes through Value as elsewhere.
    rows_.push_back({rows.columnInt(0), rows.column(1).asText(), std::string(rows.columnText(2)),
                     std::string(rows.columnText(3)), std::string(rows.columnText(4)),
                     std::string(rows.columnText(5)), std::string(rows.columnText(6)),
                     rows.columnDouble(7), optionalInt(rows.column(8)), optionalInt(rows.column(9)),
                     optionalInt(rows.column(10))});
  }
  groupByScope();
  countEnrolled(dataFile);
}

// Every row into its grade's, unit's and class's list. A class's three lists are looked up
// once, by its names as written; most rows find them in that cache.
void ScratchIndex::groupByScope() {
  std::unordered_map<std::string, std::array<Rows*, 3>> byNames;
  std::string names;
  for (const auto& r : rows_) {
    names.assign(r.subject).append(1, kSeparator).append(r.grade).append(1, kSeparator);
    names.append(r.unit).append(1, kSeparator).append(r.inClass);
    auto found = byNames.find(names);
    if (found == byNames.end()) {
      found = byNames
                  .emplace(names,
                           std::array<Rows*, 3>{
                               &scopes_[keyOf({r.subject, r.grade})],
                               &scopes_[keyOf({r.subject, r.grade, r.unit})],
                               &scopes_[keyOf({r.subject, r.grade, r.unit, r.inClass})]})
                  .first;
    }
    for (Rows* scope : found->second) scope->push_back(&r);
  }
}

void ScratchIndex::countEnrolled(const std::filesystem::path& dataFile) {
  store::Database data(dataFile);
  store::Statement counts(data, "select nj, xx, bj, count(*) from ks group by nj, xx, bj");
  while (counts.step()) {
    const std::string g = counts.column(0).asText();
    const std::string d = counts.column(1).asText();
    const std::string c = counts.column(2).asText();
    const int n = static_cast<int>(counts.column(3).asInt());
    enrolled_[keyOf({g})] += n;
    enrolled_[keyOf({g, d})] += n;
    enrolled_[keyOf({g, d, c})] += n;
  }
}

const ScratchIndex::Rows& ScratchIndex::find(const std::string& key) const {
  static const Rows none;
  const auto it = scopes_.find(key);
  return it == scopes_.end() ? none : it->second;
}

const ScratchIndex::Rows& ScratchIndex::grade(const std::string& subject,
                                              const std::string& grade) const {
  return find(keyOf({subject, grade}));
}

const ScratchIndex::Rows& ScratchIndex::unit(const std::string& subject, const std::string& grade,
                                             const std::string& unit) const {
  return find(keyOf({subject, grade, unit}));
}

const ScratchIndex::Rows& ScratchIndex::inClass(const std::string& subject,
                                                const std::string& grade, const std::string& unit,
                                                const std::string& inClass) const {
  return find(keyOf({subject, grade, unit, inClass}));
}

int ScratchIndex::enrolled(const std::string& grade, const std::string& unit,
                           const std::string& inClass) const {
  const std::string key = unit.empty()      ? keyOf({grade})
                          : inClass.empty() ? keyOf({grade, unit})
                                            : keyOf({grade, unit, inClass});
  const auto it = enrolled_.find(key);
  return it == enrolled_.end() ? 0 : it->second;
}

}  // namespace zeziza::cloud
