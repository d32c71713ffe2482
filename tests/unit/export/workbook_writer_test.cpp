#include "export/workbook_writer.h"

#include <gtest/gtest.h>

#include <set>

#include "export/sheet_layout.h"
#include "export/workbook_file.h"
#include "store/connection.h"
#include "store/data_folder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xlsx_reader.h"

namespace zeziza::spreadsheet {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kRosterSelect =
    "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次 from ks order by bh";
constexpr const char* kScoreSelect =
    "select cj.ks as 考试名称,ks.id as 考号,ks.xm as 姓名,ks.xx as 学校,ks.nj as 年级,"
    "ks.bj as 班次 ,cj.k1 as 数学 ,cj.k2 as 语文 ,cj.k3 as 英语 ,cj.zf as 总分, cj.pj as 平均分, "
    "case when cj.k2>0 then '' else '(缺1科)' end as 缺考 "
    "from ks,cj where ks.bh=cj.kh order by cj.id";

class WorkbookWriterTest : public ::testing::Test {
 protected:
  WorkbookWriterTest() { store::prepareDataFolder(folder); }

  void addStudent(const std::string& id, const std::string& name) {
    connection.db().exec(
        "insert into ks (id, xm, xx, nj, bj) values (?, ?, '东校区', '七年级', '一班')",
        {id, name});
  }
  void addScores(const std::string& exam, const std::string& id, double k1, double k2) {
    connection.db().exec(
        "insert into cj (ks, kh, k1, k2, zf, pj, test) select ?, bh, ?, ?, ?, ?, ? || '!&' || bh "
        "from ks where id = ?",
        {exam, k1, k2, k1 + k2, (k1 + k2) / 2, exam, id});
  }

  testing::TempFolder temp;
  store::DataFolder folder{temp.path()};
  store::Connection connection{folder.data()};
  store::Query query{connection};
};

TEST_F(WorkbookWriterTest, RosterOfFortyFiveStudentsGivesFortySixRows) {
  for (int i = 1; i <= 45; ++i)
    addStudent("2024" + std::to_string(1000 + i), "学生" + std::to_string(i));
  addStudent("007", "王\"小%二");
  query.open(kRosterSelect);
  query.moveBy(40);  // the grid shows the last page; the sheet still holds every row
  const auto file = freshWorkbookFile(folder.cache());
  exportRoster(query, file);
  EXPECT_EQ(query.recNo(), 40u);

  const auto sheet = testing::readWorkbook(file);
  ASSERT_EQ(sheet.rows.size(), 47u);
  EXPECT_EQ(sheet.rows[0], (std::vector<std::string>{"考号", "学校", "姓名", "年级", "班次"}));
  EXPECT_EQ(sheet.rows[1],
            (std::vector<std::string>{"20241001", "东校区", "学生1", "七年级", "一班"}));
  // Student numbers are texts: leading zeros stay; quotes and percent signs are just text.
  EXPECT_EQ(sheet.rows[46],
            (std::vector<std::string>{"007", "东校区", "王\"小%二", "七年级", "一班"}));
}

TEST_F(WorkbookWriterTest, ScoreQuerySheetHasScopeRowCaptionsAndNumbersAsNumbers) {
  addStudent("1001", "张三");
  addStudent("1002", "李四");
  addScores("期中", "1001", 85.5, 0);
  addScores("期中", "1002", 90, 77);
  query.open(kScoreSelect);
  const auto file = freshWorkbookFile(folder.cache());
  writeWorkbook(
      query,
      scoreQueryLayout({"全部考试", "所有学校", "所有年级", "所有班"}, {"数学", "语文", "英语"}),
      file);

  const Rows expected = {
      {"查询范围:", "全部考试", "所有学校", "所有年级", "所有班"},
      {"考试名称", "考号", "姓名", "学校", "年级", "班次", "数学", "语文", "英语", "总分", "平均分",
       "缺考"},
      {"期中", "1001", "张三", "东校区", "七年级", "一班", "#85.5", "#0", "#0", "#85.5", "#42.75",
       "(缺1科)"},
      {"期中", "1002", "李四", "东校区", "七年级", "一班", "#90", "#77", "#0", "#167", "#83.5"},
  };
  const auto sheet = testing::readWorkbook(file);
  EXPECT_EQ(sheet.rows, expected);  // the reader drops a row's empty last cells
  EXPECT_EQ(sheet.sheetNames.size(), 1u);
}

TEST_F(WorkbookWriterTest, EmptyResultGivesHeadingRowsOnlyAndNullsGiveEmptyCells) {
  query.open(kRosterSelect);
  const auto empty = freshWorkbookFile(folder.cache());
  exportRoster(query, empty);
  EXPECT_EQ(testing::readWorkbook(empty).rows, (Rows{{"考号", "学校", "姓名", "年级", "班次"}}));

  query.open("select '1001' as 学生编号, null as 学校, '' as 姓名, 3 as 年级, 2.5 as 班次");
  const auto nulls = freshWorkbookFile(folder.cache());
  exportRoster(query, nulls);
  EXPECT_EQ(testing::readWorkbook(nulls).rows[1],
            (std::vector<std::string>{"1001", "", "", "#3", "#2.5"}));
}

// A result without a column of the layout (a subject added after sign-in) is refused before
// anything is written.
TEST_F(WorkbookWriterTest, MissingColumnIsFoundBeforeAnythingIsWritten) {
  addStudent("1001", "张三");
  addScores("期中", "1001", 85, 70);
  query.open(kScoreSelect);
  const auto layout = scoreQueryLayout({"期中", "所有学校", "所有年级", "所有班"},
                                       {"数学", "语文", "英语", "物理"});
  EXPECT_EQ(missingColumns(query, layout), (std::vector<std::string>{"物理"}));
  const auto file = freshWorkbookFile(folder.cache());
  EXPECT_THROW(writeWorkbook(query, layout, file), ExportError);
  EXPECT_EQ(std::filesystem::file_size(file), 0u);

  query.close();
  EXPECT_THROW(exportRoster(query, file), ExportError);
}

// A result read in pieces gives the sheet the whole result gives, piece boundaries unseen.
TEST_F(WorkbookWriterTest, PiecesInOrderGiveTheSheetOfTheWholeResult) {
  for (int i = 1; i <= 7; ++i) addStudent(std::to_string(1000 + i), "学生" + std::to_string(i));
  const auto whole = freshWorkbookFile(folder.cache());
  query.open(kRosterSelect);
  exportRoster(query, whole);

  // Pieces of three rows by bh, and a last empty one.
  const ResultPieces pieces = [&](const auto& onPiece) {
    for (int from = 0; from <= 9; from += 3) {
      query.open(
          "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次 from ks "
          "where bh>? and bh<=? order by bh",
          {from, from + 3});
      onPiece(query);
    }
  };
  const auto pieced = freshWorkbookFile(folder.cache());
  writeWorkbook(pieces, rosterLayout(), pieced);
  const auto sheet = testing::readWorkbook(pieced);
  EXPECT_EQ(sheet.rows.size(), 8u);
  EXPECT_EQ(sheet.rows, testing::readWorkbook(whole).rows);
}

TEST_F(WorkbookWriterTest, PiecesAreRefusedWithoutAnyOrWithAMissingColumn) {
  const auto layout = scoreQueryLayout({"期中", "所有学校", "所有年级", "所有班"}, {"数学"});
  struct Case {
    std::string name;
    ResultPieces pieces;
  };
  const std::vector<Case> cases = {
      {"no piece", [](const auto&) {}},
      {"a closed piece", [&](const auto& onPiece) { onPiece(query); }},
      {"a column missing",
       [&](const auto& onPiece) {
         query.open(kRosterSelect);
         onPiece(query);
       }},
      {"a later piece with other columns",
       [&](const auto& onPiece) {
         query.open(kScoreSelect);
         onPiece(query);
         query.open(
             "select 1 as 数学, 2 as 考号, '' as 考试名称, '' as 姓名, '' as 学校, "
             "'' as 年级, '' as 班次, 3 as 总分, 4 as 平均分");
         onPiece(query);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    query.close();
    const auto file = freshWorkbookFile(folder.cache());
    EXPECT_THROW(writeWorkbook(c.pieces, layout, file), ExportError);
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
  }
}

// /dev/full answers every write as a full disk does.
TEST_F(WorkbookWriterTest, UnwritableFileIsAnExportErrorThatSaysWhetherTheDiskWasFull) {
  struct Case {
    std::filesystem::path file;
    bool diskFull;
  };
  const std::vector<Case> cases = {
      {folder.cache() / "no-such-folder" / "a.xlsx", false},
      {"/dev/full", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.string());
    query.open(kRosterSelect);
    try {
      exportRoster(query, c.file);
      ADD_FAILURE() << "written";
    } catch (const ExportError& e) {
      EXPECT_EQ(e.diskFull(), c.diskFull) << e.what();
    }
  }
}

TEST(FreshWorkbookFile, EveryCallCreatesANewXlsxFile) {
  testing::TempFolder temp;
  std::set<std::filesystem::path> files;
  for (int i = 0; i < 20; ++i) {
    const auto file = freshWorkbookFile(temp.path());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(file.parent_path(), temp.path());
    EXPECT_TRUE(file.filename().string().starts_with("excel"));
    EXPECT_EQ(file.extension(), ".xlsx");
    files.insert(file);
  }
  EXPECT_EQ(files.size(), 20u);
  EXPECT_THROW(freshWorkbookFile(temp.path() / "missing"), ExportError);
}

TEST(WorkbookDownloadName, SaysWhatTheSheetHolds) {
  struct Case {
    std::string title;
    std::vector<std::string> parts;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"成绩查询", {"2024秋期中", "所有学校", "所有年级", "所有班"}, "成绩查询_2024秋期中.xlsx"},
      {"成绩查询", {"全部考试", "东校区", "", "一班"}, "成绩查询_东校区_一班.xlsx"},
      {"学生名单", {}, "学生名单.xlsx"},
      // A name must not leave the download folder or carry what file systems refuse.
      {"成绩查询",
       {"../期中", "a:b*c?\"d<e>|f", "x\ny"},
       "成绩查询_.._期中_a_b_c__d_e__f_x_y.xlsx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(workbookDownloadName(c.title, c.parts), c.expected);
  }
}

}  // namespace
}  // namespace zeziza::spreadsheet
