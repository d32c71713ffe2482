#include "results/page_frame.h"

#include "results/form_fields.h"

namespace zeziza::results {

std::string resultAddress(std::int64_t school) {
  return std::string(kResultPath) + "?" + std::string(field::kSchool) + "=" +
         std::to_string(school);
}

std::string framePage(std::string_view title, const Notice& notice, std::string_view body,
                      std::string_view head) {
  web::HtmlWriter out;
  out.raw("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">")
      .raw("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")
      .raw("<title>")
      .text(title)
      .raw("</title><link rel=\"stylesheet\" href=\"/vezav/mjy.css\">")
      .raw("<link rel=\"stylesheet\" href=\"/vezav/results.css\">")
      .raw(head)
      .raw("</head>")
      .raw("<body class=\"rs\"><div class=\"rs-page\"><h1 class=\"rs-title\">")
      .text(title)
      .raw("</h1>");
  if (notice.kind != Notice::Kind::None) {
    out.raw(notice.kind == Notice::Kind::Refusal ? "<p class=\"rs-msg rs-refusal\" role=\"alert\">"
                                                 : "<p class=\"rs-msg rs-done\" role=\"status\">")
        .text(notice.text)
        .raw("</p>");
  }
  out.raw(body).raw("<p class=\"rs-foot\">注册及使用本服务均为永久免费</p></div></body></html>\n");
  return out.take();
}

void labelledInput(web::HtmlWriter& out, std::string_view label, std::string_view name,
                   std::string_view type, std::string_view value) {
  out.raw("<label class=\"rs-field\"><span>")
      .text(label)
      .raw("</span><input class=\"srk\"")
      .attr("type", type)
      .attr("name", name)
      .attr("id", name);
  if (!value.empty()) out.attr("value", value);
  if (type == "password") {
    out.attr("autocomplete", field::choosesPassword(name) ? "new-password" : "current-password");
  }
  out.raw(" maxlength=\"200\"></label>");
}

void hiddenInput(web::HtmlWriter& out, std::string_view name, std::string_view value) {
  out.raw("<input type=\"hidden\"").attr("name", name).attr("value", value).raw(">");
}

void submitButton(web::HtmlWriter& out, std::string_view caption) {
  out.raw("<button class=\"btn\" type=\"submit\">").text(caption).raw("</button>");
}

void headCell(web::HtmlWriter& out, std::string_view heading) {
  out.raw("<th>").text(heading).raw("</th>");
}

void cell(web::HtmlWriter& out, std::string_view value, std::string_view heading) {
  out.raw("<td")
      .attr("data-label", heading)
      .raw(">")
      .text(value.empty() ? "—" : value)
      .raw("</td>");
}

}  // namespace zeziza::results
