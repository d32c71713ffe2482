#include "web/static_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_folder.h"
#include "web/html.h"

namespace zeziza::web {
namespace {

TEST(ResolveInside, OnlyFilesInsideTheRoot) {
  testing::TempFolder temp;
  const auto root = temp.path() / "files";
  std::filesystem::create_directories(root / "sub");
  std::ofstream(root / "mjy.css") << "css";
  std::ofstream(root / "sub" / "a.txt") << "a";
  std::ofstream(temp.path() / "secret") << "secret";
  std::filesystem::create_symlink(temp.path() / "secret", root / "leak");
  std::filesystem::create_symlink(root / "mjy.css", root / "alias.css");

  EXPECT_TRUE(resolveInside(root, "mjy.css"));
  EXPECT_TRUE(resolveInside(root, "sub/a.txt"));
  EXPECT_TRUE(resolveInside(root, "alias.css"));  // a link that stays inside is fine
  for (const char* bad : {"../secret", "sub/../../secret", "/etc/passwd", "leak", "sub", "",
                          "missing.css", "sub\\..\\..\\secret", "./mjy.css"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(resolveInside(root, bad));
  }
}

TEST(ContentType, ByExtensionIgnoringCase) {
  EXPECT_EQ(contentTypeFor("a.CSS"), "text/css; charset=utf-8");
  EXPECT_EQ(contentTypeFor("a.xlsx"),
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  EXPECT_EQ(contentTypeFor("a.unknown"), "application/octet-stream");
}

TEST(Html, EscapesEveryMarkupCharacter) {
  EXPECT_EQ(escapeHtml("<script>alert('x&y')</script>\""),
            "&lt;script&gt;alert(&#39;x&amp;y&#39;)&lt;/script&gt;&quot;");
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"成绩 98.5", "成绩 98.5"},
      {"&", "&amp;"},
      {"<<>>", "&lt;&lt;&gt;&gt;"},
      {"a\"b'c", "a&quot;b&#39;c"},
      {"三班&amp;", "三班&amp;amp;"},
      {"末尾<", "末尾&lt;"},
  };
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(escapeHtml(text), escaped) << text;
    std::string out = "前";
    appendEscapedHtml(out, text);
    EXPECT_EQ(out, "前" + escaped) << text;
  }
}

TEST(Html, Utf8Validity) {
  EXPECT_TRUE(isValidUtf8("成绩 abc"));
  EXPECT_TRUE(isValidUtf8(""));
  for (const std::string& bad :
       {std::string("\xff"), std::string("a\0b", 3), std::string("\xe6\x88"),
        std::string("\xc0\xaf"), std::string("\xed\xa0\x80")}) {
    EXPECT_FALSE(isValidUtf8(bad));
  }
}

}  // namespace
}  // namespace zeziza::web
