#include "cloud/scratch_index.h"

#include <algorithm>

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
    rows_.push_back({rows.column(0).asInt(), rows.column(1).asText(), rows.column(2).asText(),
                     rows.column(3).asText(), rows.column(4).asText(), rows.column(5).asText(),
                     rows.column(6).asText(), rows.column(7).asDouble(),
                     optionalInt(rows.column(8)), optionalInt(rows.column(9)),
                     optionalInt(rows.column(10))});
  }
  for (const auto& r : rows_) {
    scopes_[keyOf({r.subject, r.grade})].push_back(&r);
    scopes_[keyOf({r.subject, r.grade, r.unit})].push_back(&r);
    scopes_[keyOf({r.subject, r.grade, r.unit, r.inClass})].push_back(&r);
  }
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
