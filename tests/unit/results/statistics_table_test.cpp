// The published statistics as the results site shows them: rates with their percent sign, and
// the good and pass rates headed by the basis the school set (分段 counts one band only).
#include <gtest/gtest.h>

#include "results/student_pages.h"

namespace zeziza::results {
namespace {

cloud::StatisticsLine line(std::string rateBasis) {
  cloud::StatisticsLine l;
  l.subject = "数学";
  l.grade = "初一";
  l.enrolled = "40";
  l.participants = "38";
  l.mean = "80";
  l.excellentRate = "10";
  l.goodRate = "20";
  l.passRate = "47.44";
  l.rateBasis = std::move(rateBasis);
  return l;
}

std::string table(const std::vector<cloud::StatisticsLine>& lines) {
  web::HtmlWriter out;
  statisticsTable(out, lines);
  return out.str();
}

bool has(const std::string& html, const std::string& piece) {
  return html.find(piece) != std::string::npos;
}

TEST(StatisticsTable, RatesCarryPercentAndTheBasisTheSchoolSet) {
  const struct {
    const char* what;
    std::vector<cloud::StatisticsLine> lines;
    std::vector<std::string> shown;
    std::vector<std::string> absent;
  } cases[] = {
      {"bands",
       {line("分段"), line("分段")},
       {"<th>良好率(分段)</th><th>及格率(分段)</th>", ">10%<", ">20%<", ">47.44%<",
        "及格率只计及格的一段"},
       {"累计", ">47.44<"}},
      {"cumulative",
       {line("累计")},
       {"<th>良好率(累计)</th><th>及格率(累计)</th>", ">47.44%<", "及格率含良好和优秀"},
       {"分段"}},
      {"rows of both: each rate names its own",
       {line("分段"), line("累计")},
       {"<th>良好率</th><th>及格率</th>", ">47.44%(分段)<", ">47.44%(累计)<"},
       {"ratenote"}},
      {"published before the basis was kept",
       {line("")},
       {"<th>良好率</th><th>及格率</th>", ">47.44%<"},
       {"分段", "累计", "ratenote"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string html = table(c.lines);
    for (const auto& piece : c.shown) EXPECT_TRUE(has(html, piece)) << piece << "\n" << html;
    for (const auto& piece : c.absent) EXPECT_FALSE(has(html, piece)) << piece << "\n" << html;
  }
}

TEST(StatisticsTable, AMissingRateStaysADash) {
  auto l = line("分段");
  l.passRate.clear();
  const std::string html = table({l});
  EXPECT_TRUE(has(html, "data-label=\"及格率(分段)\">—<")) << html;
}

}  // namespace
}  // namespace zeziza::results
