#include "pages/analysis/report_card_sheet.h"

#include "web/page_renderer.h"

namespace zeziza::pages {

namespace {

void cell(web::HtmlWriter& out, const char* tag, const std::string& text) {
  out.raw("<").raw(tag).raw(">").text(text).raw("</").raw(tag).raw(">");
}

void renderCard(web::HtmlWriter& out, const CardView& card) {
  out.raw("<article class=\"report-card\">");
  cell(out, "h2", card.title);
  out.raw("<p class=\"who\">");
  cell(out, "span", "班级：" + card.cls);
  cell(out, "span", "姓名：" + card.name);
  cell(out, "span", "考号：" + card.id);
  out.raw("</p><table><thead><tr>");
  for (const char* title : {"科目", "成绩", "等级", "班级平均分"}) cell(out, "th", title);
  out.raw("</tr></thead><tbody>");
  for (const CardLine& line : card.lines) {
    out.raw("<tr>");
    for (const std::string* text : {&line.subject, &line.score, &line.level, &line.classAverage})
      cell(out, "td", *text);
    out.raw("</tr>");
  }
  out.raw("</tbody></table><p class=\"ranks\">");
  cell(out, "span", "班级名次：" + card.classRank);
  cell(out, "span", "校内名次：" + card.unitRank);
  cell(out, "span", "年级名次：" + card.gradeRank);
  out.raw("</p></article>");
}

}  // namespace

void ReportCardSheet::render(web::HtmlWriter& out) const {
  out.raw("<link rel=\"stylesheet\" href=\"/css/report_cards.css?v=")
      .raw(web::resourceVersion())
      .raw("\">");
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "report-cards");
  out.raw(">");
  for (const auto& cards : Classes) {
    out.raw("<section class=\"report-class\">");
    for (const CardView& card : cards) renderCard(out, card);
    out.raw("</section>");
  }
  out.raw("</div>");
}

}  // namespace zeziza::pages
