#include "results/registration_page.h"

#include "results/form_fields.h"

namespace zeziza::results {

namespace {

void createdAccount(web::HtmlWriter& out, std::int64_t number, const std::string& role,
                    const std::string& origin) {
  const std::string address = origin + resultAddress(number);
  out.raw("<div class=\"panel\"><p>您的注册编号是：<strong id=\"regno\">")
      .text(std::to_string(number))
      .raw("</strong></p><p>请牢记注册编号和密码：在学校成绩系统的【上传成绩】页面第一步")
      .raw(
          "输入它们，即可上传成绩。</p><p>学校成绩系统连接云端数据库的用户名是：<strong "
          "id=\"dbrole\">")
      .text(role)
      .raw("</strong>，密码即注册密码。该用户只能读写本单位的数据。</p><p>学生查询成绩地址：<a")
      .attr("href", address)
      .raw(">")
      .text(address)
      .raw("</a></p></div>");
}

}  // namespace

std::string registrationPage(const RegistrationView& view) {
  web::HtmlWriter out;
  if (view.created) {
    createdAccount(out, *view.created, view.role, view.siteOrigin);
  } else {
    out.raw("<p class=\"help\">注册一个单位后，即可从学校成绩系统上传成绩，")
        .raw("学生凭考号和密码在本站查询自己的成绩。</p>");
    out.raw("<form class=\"panel rs-form\" method=\"post\"")
        .attr("action", kRegistrationPath)
        .raw(">");
    labelledInput(out, "学校名称", field::kSchoolName, "text", view.schoolName);
    labelledInput(out, "密码", field::kPassword, "password");
    labelledInput(out, "确认密码", field::kPasswordAgain, "password");
    submitButton(out, "注册");
    out.raw("</form>");
  }
  return framePage("注册云用户", view.notice, out.str());
}

}  // namespace zeziza::results
