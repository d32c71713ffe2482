#include "pages/cloud/password_slip_sheet.h"

#include "web/page_renderer.h"

namespace zeziza::pages {

namespace {

void line(web::HtmlWriter& out, const char* caption, const std::string& text,
          const char* css = nullptr) {
  out.raw("<p");
  if (css) out.attr("class", css);
  out.raw("><span class=\"caption\">").text(caption).raw("</span>").text(text).raw("</p>");
}

// The address may break after a "/" of its path or before its "?", never inside a name or
// between "?" and "dwid" ("index.dll?/dwid=1").
void addressLine(web::HtmlWriter& out, const std::string& address) {
  out.raw("<p class=\"address\"><span class=\"caption\">").text("查询地址：").raw("</span>");
  std::size_t from = 0;
  for (std::size_t i = 0; i < address.size(); ++i) {
    const bool slash = address[i] == '/' && (i == 0 || address[i - 1] != '/') &&
                       (i + 1 == address.size() || address[i + 1] != '/');
    if (address[i] == '?' && i > from) {
      out.text(address.substr(from, i - from)).raw("<wbr>");
      from = i;
    } else if (slash) {
      out.text(address.substr(from, i + 1 - from)).raw("<wbr>");
      from = i + 1;
    }
  }
  out.text(address.substr(from)).raw("</p>");
}

void renderSlip(web::HtmlWriter& out, const SlipView& slip) {
  out.raw("<article class=\"password-slip\"><h2>").text("成绩查询密码单").raw("</h2>");
  line(out, "学校：", slip.school);
  line(out, "班级：", slip.cls);
  line(out, "姓名：", slip.name);
  line(out, "考号：", slip.student);
  addressLine(out, slip.address);
  line(out, "初始密码：", slip.password, "password");
  out.raw("<p class=\"hint\">")
      .text("首次登录后须设置自己的密码（至少6个字符）。请妥善保管本单。")
      .raw("</p></article>");
}

}  // namespace

void PasswordSlipSheet::render(web::HtmlWriter& out) const {
  out.raw("<link rel=\"stylesheet\" href=\"/css/password_slips.css?v=")
      .raw(web::resourceVersion())
      .raw("\">");
  out.raw("<div");
  writeIdentity(out, false);
  out.attr("class", "password-slips");
  out.raw(">");
  for (const auto& slips : Classes) {
    out.raw("<section class=\"slip-class\">");
    for (const SlipView& slip : slips) renderSlip(out, slip);
    out.raw("</section>");
  }
  out.raw("</div>");
}

}  // namespace zeziza::pages
