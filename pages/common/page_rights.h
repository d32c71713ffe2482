#pragma once

#include <initializer_list>

#include "pages/common/rights.h"

// Who sees which page, as README's table says: the pages check it when they are made and in
// their handlers, and the navigation bar offers the links by it.
namespace zeziza::pages::page_rights {

// 成绩查询, 图表统计, 班级对比, 成绩排序, 进步统计, 分布情况, 打印成绩单; a class teacher
// sees the own class alone.
inline constexpr std::initializer_list<int> kAnalysis = {rights::kSuperAdmin, rights::kAdmin,
                                                         rights::kViewer, rights::kClassTeacher};
// 学生管理: administrators add, change and remove students, supervisors change them, viewers
// and class teachers (the own class) look them up.
inline constexpr std::initializer_list<int> kRoster = {rights::kSuperAdmin, rights::kAdmin,
                                                       rights::kSupervisor, rights::kViewer,
                                                       rights::kClassTeacher};
// 单位设置, 考试设置, 上传成绩, 打印查询密码单.
inline constexpr std::initializer_list<int> kMasterData = {rights::kSuperAdmin, rights::kAdmin};
// 系统设置, 数据备份.
inline constexpr std::initializer_list<int> kSystem = {rights::kSuperAdmin};
// 成绩录入, 表格录入; a class teacher enters the own class alone.
inline constexpr std::initializer_list<int> kEntry = {rights::kSupervisor, rights::kClerk,
                                                      rights::kClassTeacher};
// 批量导入成绩.
inline constexpr std::initializer_list<int> kImport = {rights::kSupervisor};

}  // namespace zeziza::pages::page_rights
