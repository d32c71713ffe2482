#include "web/html_sanitizer.h"

#include <gtest/gtest.h>

namespace zeziza::testing {
namespace {

TEST(HtmlSanitizer, KeepsTheFormattingAFooterNeeds) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"第一中学 备案号 123", "第一中学 备案号 123"},
      {"<b>第一中学</b><br>备案号 123", "<b>第一中学</b><br>备案号 123"},
      {"<strong>a</strong> <i>b</i> <em>c</em> <u>d</u> <small>e</small>",
       "<strong>a</strong> <i>b</i> <em>c</em> <u>d</u> <small>e</small>"},
      {"<a href=\"https://school.example/x?a=1&amp;b=2\">主页</a>",
       "<a href=\"https://school.example/x?a=1&amp;b=2\">主页</a>"},
      {"<a href='http://school.example' title='主页'>x</a>",
       "<a href=\"http://school.example\" title=\"主页\">x</a>"},
      {"<font color=\"#ff0000\" size=\"2\">红</font>",
       "<font color=\"#ff0000\" size=\"2\">红</font>"},
      {"a &lt; b &amp; c", "a &lt; b &amp; c"},
      {"<b>unclosed", "<b>unclosed</b>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(web::sanitizeHtml(c.in), c.out);
  }
}

TEST(HtmlSanitizer, HostileMarkupLeavesNothingThatRuns) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"<script>alert(1)</script>学校", "学校"},
      {"<SCRIPT SRC=//evil.example/x.js></SCRIPT>", ""},
      {"<scr<script>ipt>alert(1)</script>", "ipt&gt;alert(1)"},
      {"<img src=x onerror=alert(1)>", ""},
      {"<b onclick=\"alert(1)\" onmouseover=alert(2)>b</b>", "<b>b</b>"},
      {"<a href=\"javascript:alert(1)\">x</a>", "x"},
      {"<a href=\" JaVaScRiPt:alert(1)\">x</a>", "x"},
      {"<a href=\"java&#x09;script:alert(1)\">x</a>", "x"},
      {"<a href=\"&#106;avascript:alert(1)\">x</a>", "x"},
      {"<a href=\"data:text/html,<script>alert(1)</script>\">x</a>", "x"},
      {"<a href=\"//evil.example\">x</a>", "x"},
      {"<a href=\"http://\">x</a>", "x"},
      {"<a href=\"https://ok.example\" onclick=\"alert(1)\" target=\"_top\">x</a>",
       "<a href=\"https://ok.example\">x</a>"},
      {"<a href='https://ok.example/\"onmouseover=\"alert(1)'>x</a>",
       "<a href=\"https://ok.example/&quot;onmouseover=&quot;alert(1)\">x</a>"},
      {"<iframe src=\"https://evil.example\"></iframe>", ""},
      {"<style>body{display:none}</style>", ""},
      {"<span style=\"position:fixed;top:0\">x</span>", "<span>x</span>"},
      {"<svg onload=alert(1)><circle/></svg>", ""},
      {"<font color=\"red;background:url(javascript:alert(1))\">x</font>", "<font>x</font>"},
      {"<!-- <script>alert(1)</script> -->", ""},
      {"</div><script>alert(1)</script>", ""},
      {"<form action=\"https://evil.example\"><input name=p></form>", ""},
      {"<meta http-equiv=\"refresh\" content=\"0;url=https://evil.example\">", ""},
      {"<base href=\"https://evil.example/\">x", "x"},
      {"<textarea><script>alert(1)</script></textarea>", ""},
      {"\"><script>alert(1)</script>", "\"&gt;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    const std::string out = web::sanitizeHtml(c.in);
    EXPECT_EQ(out, c.out);
    // Whatever the exact text, nothing of it may run.
    EXPECT_EQ(out.find("<script"), std::string::npos);
    EXPECT_EQ(out.find(" on"), std::string::npos);
    EXPECT_EQ(out.find("javascript:"), std::string::npos);
  }
}

TEST(HtmlSanitizer, AlreadySanitizedMarkupStaysAsItIs) {
  for (const std::string in :
       {"<b>第一中学</b><br>备案号 123", "<a href=\"https://x.cn/\">第一中学</a>; --\"",
        "<scr<script>ipt>alert(1)</script>"}) {
    SCOPED_TRACE(in);
    const std::string once = web::sanitizeHtml(in);
    EXPECT_EQ(web::sanitizeHtml(once), once);
  }
}

}  // namespace
}  // namespace zeziza::testing
