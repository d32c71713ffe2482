#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/bound_statement.h"
#include "store/subject_columns.h"

// The score query's rows read back by key: a search keeps only its rows' keys (`cj.id`, in the
// search's order) and reads the rows it shows or exports again, a few hundred at a time.
namespace zeziza::store {

// The score query's columns as a select list: 考试名称, 考号, 姓名, 学校, 年级, 班次, k<n> for
// each subject, 总分, 平均分.
// 平均分 by `basis`.
std::string scoreQuerySelectList(
    const std::vector<SubjectColumn>& subjects,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

// The score rows whose `cj.id` is in `keys`, in the order of `keys`, with the columns of
// scoreQuerySelectList. A key whose row is gone gives no row; no keys give no rows but the
// columns, and last 缺考: "(缺N科)" for a student who missed N subjects the class sat. Throws
// std::invalid_argument for more than kMaxKeysPerRead keys.
BoundStatement scoreRowsByKeyStatement(
    const std::vector<SubjectColumn>& subjects, std::span<const std::int64_t> keys,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

}  // namespace zeziza::store
