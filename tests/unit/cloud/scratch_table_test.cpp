// The scratch table of a publication: which rows an exam gives, and the three ranks.
#include "cloud/scratch_table.h"

#include <gtest/gtest.h>

#include "cloud/progress.h"
#include "cloud/scratch_index.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/query.h"
#include "store/schema.h"
#include "store/statement.h"
#include "tests/support/score_rows.h"
#include "tests/support/temp_folder.h"

namespace zeziza::cloud {
namespace {

const std::vector<std::string> kSubjects = {"数学", "语文", "英语"};

class ScratchTableTest : public ::testing::Test {
 protected:
  ScratchTableTest() {
    store::createDataSchema(folder_.path() / "data");
    store::createTempSchema(folder_.path() / "temp");
    data_ = std::make_unique<store::Database>(folder_.path() / "data");
    temp_ = std::make_unique<store::Database>(folder_.path() / "temp");
  }

  void addStudent(const std::string& number, const std::string& unit, const std::string& grade,
                  const std::string& inClass, const std::vector<double>& scores,
                  const std::string& exam = "期中") {
    const auto bh = testing::addStudent(*data_, {number, "生" + number, unit, grade, inClass});
    testing::addScores(*data_, bh, exam, scores);
  }

  std::size_t fill(const std::string& exam = "期中") {
    return fillScratchTable(*data_, *temp_, exam, kSubjects, progress_);
  }

  // "km:cj:总排名/校内排名/班内排名" of a student's rows, in row order.
  std::vector<std::string> rowsOf(const std::string& number) {
    store::Connection connection(folder_.path() / "temp");
    store::Query q(connection);
    q.open("select km, cj, 总排名, 校内排名, 班内排名 from tem where stuid = ? order by id",
           {number});
    std::vector<std::string> out;
    for (; !q.eof(); q.next()) {
      out.push_back(q.field("km").asText() + ":" + q.field("cj").asText() + ":" +
                    q.field("总排名").asText() + "/" + q.field("校内排名").asText() + "/" +
                    q.field("班内排名").asText());
    }
    return out;
  }

  testing::TempFolder folder_;
  std::unique_ptr<store::Database> data_;
  std::unique_ptr<store::Database> temp_;
  Progress progress_;
};

TEST_F(ScratchTableTest, OneRowPerScoreAboveZeroThenTotalAndAverage) {
  addStudent("807", "东校区", "初一", "一班", {85.5, 0, 90});
  addStudent("808", "东校区", "初一", "一班", {70, 60, 50}, "期末");  // another exam
  EXPECT_EQ(fill(), 4u);
  EXPECT_EQ(rowsOf("807"), (std::vector<std::string>{"数学:85.5://", "英语:90://", "总分:175.5://",
                                                     "平均分:87.75://"}));
  EXPECT_TRUE(rowsOf("808").empty());
}

TEST_F(ScratchTableTest, RanksHighestFirstTiesInWrittenOrder) {
  addStudent("1", "东校区", "初一", "一班", {85});
  addStudent("2", "东校区", "初一", "二班", {90});
  addStudent("3", "西校区", "初一", "一班", {70});
  addStudent("4", "东校区", "初一", "一班", {85});
  addStudent("5", "东校区", "初二", "一班", {60});  // another grade ranks on its own
  fill();
  rankScratchTable(*temp_, {}, progress_);
  EXPECT_EQ(rowsOf("2").front(), "数学:90:1/1/1");
  EXPECT_EQ(rowsOf("1").front(), "数学:85:2/2/1");
  EXPECT_EQ(rowsOf("4").front(), "数学:85:3/3/2");
  EXPECT_EQ(rowsOf("3").front(), "数学:70:4/1/1");
  EXPECT_EQ(rowsOf("5").front(), "数学:60:1/1/1");
  EXPECT_EQ(progress_.takeLines().size(), 3u);
}

TEST_F(ScratchTableTest, RankLeftOutStaysEmpty) {
  addStudent("1", "东校区", "初一", "一班", {85});
  fill();
  rankScratchTable(*temp_, {.overall = true, .unit = false, .inClass = false}, progress_);
  EXPECT_EQ(rowsOf("1").front(), "数学:85:1//");
}

// Student numbers are kept as the roster has them: with leading zeros, letters or not.
TEST_F(ScratchTableTest, StudentNumbersStayAsWritten) {
  addStudent("0101", "东校区", "初一", "一班", {85});
  addStudent("101", "东校区", "初一", "一班", {60});
  addStudent("A13", "东校区", "初一", "一班", {70});
  fill();
  EXPECT_EQ(rowsOf("0101").front(), "数学:85://");
  EXPECT_EQ(rowsOf("101").front(), "数学:60://");
  EXPECT_EQ(rowsOf("A13").front(), "数学:70://");
  const ScratchIndex index(folder_.path() / "temp", folder_.path() / "data");
  std::vector<std::string> numbers;
  for (const ScratchScore* r : index.grade("数学", "初一")) numbers.push_back(r->stuid);
  EXPECT_EQ(numbers, (std::vector<std::string>{"0101", "A13", "101"}));
}

TEST_F(ScratchTableTest, StudentWithoutNumberRefusedAndTableKept) {
  addStudent("12", "东校区", "初一", "一班", {85});
  fill();
  addStudent("", "东校区", "初一", "一班", {70}, "期中");
  try {
    fill();
    FAIL() << "not refused";
  } catch (const Refusal& e) {
    EXPECT_NE(std::string(e.what()).find("没有学生编号"), std::string::npos);
  }
  EXPECT_EQ(rowsOf("12").size(), 3u);  // the previous preparation is untouched
}

// A scratch file of an older version keyed numbers as numbers; it is remade with text keys.
TEST_F(ScratchTableTest, OlderScratchFileIsRemadeWithTextNumbers) {
  temp_.reset();
  const auto file = folder_.path() / "old-temp";
  {
    store::Database old(file);
    old.execScript("CREATE TABLE tem (id INTEGER PRIMARY KEY, stuid NUMERIC, km TEXT)");
  }
  store::migrateTempSchema(file);
  store::migrateTempSchema(file);  // a second start finds nothing to do
  store::Database temp(file);
  temp.exec("insert into tem (stuid, km) values ('0101', '数学')");
  store::Statement read(temp, "select stuid, typeof(总排名) from tem");
  ASSERT_TRUE(read.step());
  EXPECT_EQ(read.columnText(0), "0101");
}

TEST_F(ScratchTableTest, NamesWithQuotesAreData) {
  data_->exec(
      "insert into ks (id, xm, xx, nj, bj) values ('9', 'O''Neil', 'x''y', '初一', '一班')");
  data_->exec(
      "insert into cj (ks, kh, k1, zf, pj, test) values ('期中', 1, 80, 80, 80, '期中!&1')");
  EXPECT_EQ(fill(), 3u);
}

// The index groups rows by scope as the store compares names (ASCII letters without case),
// highest score first and ties in written order, and counts the roster of each scope.
TEST_F(ScratchTableTest, TheIndexGroupsRowsByScopeWhateverTheLetterCase) {
  addStudent("801", "中心校区", "七年级", "A班", {70});
  addStudent("802", "中心校区", "七年级", "a班", {90});
  addStudent("803", "东校区", "七年级", "A班", {80});
  addStudent("804", "中心校区", "七年级", "B班", {90});
  addStudent("805", "中心校区", "八年级", "A班", {60});
  addStudent("806", "中心校区", "七年级", "A班", {});
  fill();
  const ScratchIndex index(folder_.path() / "temp", folder_.path() / "data");
  const auto numbers = [](const ScratchIndex::Rows& rows) {
    std::vector<std::string> out;
    for (const ScratchScore* r : rows) out.push_back(r->stuid);
    return out;
  };
  using Numbers = std::vector<std::string>;
  EXPECT_EQ(numbers(index.grade("数学", "七年级")), (Numbers{"802", "804", "803", "801"}));
  EXPECT_EQ(numbers(index.unit("数学", "七年级", "中心校区")), (Numbers{"802", "804", "801"}));
  EXPECT_EQ(numbers(index.inClass("数学", "七年级", "中心校区", "a班")), (Numbers{"802", "801"}));
  EXPECT_EQ(numbers(index.inClass("数学", "七年级", "中心校区", "A班")), (Numbers{"802", "801"}));
  EXPECT_EQ(numbers(index.inClass("数学", "八年级", "中心校区", "A班")), (Numbers{"805"}));
  EXPECT_EQ(numbers(index.inClass("语文", "七年级", "中心校区", "A班")), Numbers{});
  EXPECT_EQ(numbers(index.inClass("数学", "七年级", "西校区", "A班")), Numbers{});
  EXPECT_EQ(index.enrolled("七年级"), 5);
  EXPECT_EQ(index.enrolled("七年级", "中心校区"), 4);
  EXPECT_EQ(index.enrolled("七年级", "中心校区", "A班"), 3);
}

}  // namespace
}  // namespace zeziza::cloud
