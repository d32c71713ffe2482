#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "tests/support/page_driver.h"
#include "tests/support/smoke_page.h"
#include "web/client_address.h"
#include "web/security_headers.h"

namespace zeziza::testing {
namespace {

// The real server on an ephemeral port of 127.0.0.1.
class HttpTest : public ::testing::Test {
 protected:
  HttpTest() : port(server.host().listen()), client("127.0.0.1", port) {
    client.set_read_timeout(10, 0);
  }

  static std::string hidden(const std::string& html, const std::string& name) {
    const std::regex re("name=\"" + name + "\" id=\"" + name + "\" value=\"([^\"]*)\"");
    std::smatch m;
    return std::regex_search(html, m, re) ? m[1].str() : "";
  }

  // Runs the start exchange; returns the first page.
  std::string start() {
    auto first = client.Get("/");
    EXPECT_EQ(first->status, 200);
    sessionId = hidden(first->body, "IW_SessionID_");
    httplib::MultipartFormDataItems items = {
        {"IW_SessionID_", sessionId, "", ""},
        {"IW_TrackID_", hidden(first->body, "IW_TrackID_"), "", ""},
        {"IW_width", "1000", "", ""},
        {"IW_height", "700", "", ""}};
    auto page = client.Post("/", items);
    EXPECT_EQ(page->status, 200);
    return page->body;
  }

  httplib::Result post(const std::string& page, const std::string& action,
                       httplib::MultipartFormDataItems extra = {}) {
    extra.push_back({"IW_SessionID_", sessionId, "", ""});
    extra.push_back({"IW_TrackID_", hidden(page, "IW_TrackID_"), "", ""});
    extra.push_back({"IW_Action", action, "", ""});
    return client.Post("/EXEC", extra);
  }

  TestServer server{[] { return std::make_unique<SmokePage>(); }};
  int port;
  httplib::Client client;
  std::string sessionId;
};

TEST_F(HttpTest, StartExchangeThenEventsWithHiddenFields) {
  auto first = client.Get("/");
  EXPECT_EQ(first->get_header_value("Cache-Control"), "no-store");
  EXPECT_NE(first->body.find("\"start\":true"), std::string::npos);
  const std::string page = start();
  EXPECT_NE(page.find("<title>smoke</title>"), std::string::npos);
  EXPECT_EQ(sessionId.size(), 32u);
  auto answer = post(page, "clickbutton", {{"textedit", "李四", "", ""}});
  EXPECT_EQ(answer->status, 200);
  EXPECT_NE(answer->body.find("你好 李四"), std::string::npos);
}

// A reload or the history asks for the page address afresh: the tab posts its session back
// and gets the current page unchanged; an ended session gets a new start instead.
TEST_F(HttpTest, ThePageAddressAskedAfreshGivesTheCurrentPage) {
  const auto resume = client.Get("/EXEC");
  EXPECT_EQ(resume->status, 200);
  EXPECT_NE(resume->body.find("\"resume\":true"), std::string::npos);
  EXPECT_EQ(server.controller().sessions().sessionCount(), 0u);

  const std::string page = start();
  auto clicked = post(page, "clickbutton", {{"textedit", "李四", "", ""}});
  ASSERT_EQ(clicked->status, 200);
  httplib::MultipartFormDataItems again = {{"IW_SessionID_", sessionId, "", ""},
                                           {"IW_TrackID_", "", "", ""},
                                           {"IW_Resync", "1", "", ""},
                                           {"textedit", "王五", "", ""},
                                           {"IW_Action", "clickbutton", "", ""}};
  auto current = client.Post("/EXEC", again);
  EXPECT_EQ(current->status, 200);
  EXPECT_NE(current->body.find("clicked 1:李四"), std::string::npos);  // nothing applied
  EXPECT_EQ(current->body.find("王五"), std::string::npos);
  EXPECT_EQ(current->body.find("页面已过期"), std::string::npos);

  again[0] = {"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""};
  auto fresh = client.Post("/EXEC", again);
  EXPECT_EQ(fresh->status, 200);
  EXPECT_NE(fresh->body.find("\"start\":true"), std::string::npos);
  EXPECT_EQ(server.controller().sessions().sessionCount(), 2u);
}

TEST_F(HttpTest, KeepAliveTouchesTheSessionWithoutAPage) {
  const std::string page = start();
  auto alive =
      client.Post("/EXEC", httplib::MultipartFormDataItems{{"IW_SessionID_", sessionId, "", ""},
                                                           {"IW_KeepAlive", "1", "", ""},
                                                           {"IW_Action", "clickbutton", "", ""}});
  EXPECT_EQ(alive->status, 204);
  EXPECT_TRUE(alive->body.empty());
  auto ended = client.Post(
      "/EXEC",
      httplib::MultipartFormDataItems{{"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""},
                                      {"IW_KeepAlive", "1", "", ""}});
  EXPECT_EQ(ended->status, 410);
  EXPECT_EQ(server.controller().sessions().sessionCount(), 1u);
  // The click posted with the keep-alive was not run: the page is as it was.
  EXPECT_EQ(post(page, "")->body.find("clicked"), std::string::npos);
}

TEST_F(HttpTest, AnUnknownSessionIsSentToTheTimeoutPage) {
  httplib::MultipartFormDataItems items = {
      {"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""}, {"IW_TrackID_", "1", "", ""}};
  auto r = client.Post("/EXEC", items);
  EXPECT_EQ(r->status, 302);
  EXPECT_EQ(r->get_header_value("Location"), "/files/err.html");
  EXPECT_EQ(server.controller().sessions().sessionCount(), 0u);  // and no session was made for it
  EXPECT_EQ(client.Get("/files/err.html")->status, 200);
}

TEST_F(HttpTest, RoutingTable) {
  const struct {
    std::string path;
    int status;
  } cases[] = {
      {"/files/mjy.css", 200},   {"/FILES/mjy.css", 200}, {"/Files/err.html", 200},
      {"/filesnc/mjy.css", 200}, {"/js/zeziza.js", 200},  {"/JS/zeziza.js", 200},
      {"/css/zeziza.css", 200},  {"/favicon.ico", 200},   {"/files/missing.css", 404},
      {"/nosuch", 404},          {"/js/nosuch.js", 404},  {"/exec", 200},
      {"/stop/abc", 302},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto r = client.Get(c.path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, c.status);
    EXPECT_EQ(r->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(r->get_header_value_count("X-Content-Type-Options"), 1u);
  }
  EXPECT_EQ(client.Get("/filesnc/mjy.css")->get_header_value("Cache-Control"), "no-store");
  auto js = client.Get("/js/zeziza.js");
  httplib::Headers again = {{"If-None-Match", js->get_header_value("ETag")}};
  EXPECT_EQ(client.Get("/js/zeziza.js", again)->status, 304);
}

TEST_F(HttpTest, FilesNeverLeaveTheirFolder) {
  std::ofstream(server.folder() / "secret.txt") << "secret";
  std::filesystem::create_symlink(server.folder() / "secret.txt",
                                  server.folder() / "files" / "leak.txt");
  for (const char* path : {"/files/../secret.txt", "/files/%2e%2e/secret.txt",
                           "/files/%2E%2E%2Fsecret.txt", "/files//etc/passwd", "/files/leak.txt",
                           "/cache/../data", "/cache/%2e%2e/data", "/files/..%5csecret.txt"}) {
    SCOPED_TRACE(path);
    auto r = client.Get(path);
    ASSERT_TRUE(r);
    EXPECT_NE(r->status, 200);
    EXPECT_EQ(r->body.find("secret"), std::string::npos);
  }
}

TEST_F(HttpTest, AFileAnswerAndTheSessionCacheFolder) {
  const std::string page = start();
  auto r = post(page, "download");
  EXPECT_EQ(r->status, 200);
  EXPECT_EQ(r->body, "report");
  // The client library percent-decodes header values: on the wire this is %E6%88%90...
  EXPECT_EQ(r->get_header_value("Content-Disposition"),
            "inline; filename=\"______.txt\"; filename*=UTF-8''成绩.txt");
  // The file is the click's answer; no address serves it.
  auto cached = client.Get("/cache/user/" + sessionId + "/report.txt");
  EXPECT_EQ(cached->status, 404);
}

// Sends a raw request and returns the status line of the answer.
std::string rawExchange(int port, const std::string& request) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return "no connection";
  if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
    close(fd);
    return "write failed";
  }
  char buffer[256] = {};
  const auto n = read(fd, buffer, sizeof buffer - 1);
  close(fd);
  const std::string answer(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
  return answer.substr(0, answer.find("\r\n"));
}

TEST_F(HttpTest, OversizedAndChunkedPostsAreRefusedAndTheServerGoesOn) {
  // Refused from the headers alone, before any of the body is read.
  EXPECT_EQ(rawExchange(port,
                        "POST /EXEC HTTP/1.1\r\nHost: x\r\nContent-Length: 999999999\r\n"
                        "Content-Type: multipart/form-data; boundary=b\r\n\r\n"),
            "HTTP/1.1 413 Content Too Large");
  // A chunked body would bypass the length limit.
  EXPECT_EQ(rawExchange(port,
                        "POST /EXEC HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n"
                        "\r\n5\r\nhello\r\n0\r\n\r\n"),
            "HTTP/1.1 411 Length Required");
  EXPECT_EQ(client.Get("/files/mjy.css")->status, 200);
}

TEST(ClientAddress, ForwardedHeadersCountOnlyFromTheTrustedProxy) {
  const struct {
    std::string peer;
    std::string proxy;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string address;
  } cases[] = {
      {"10.1.2.3", "", {{"x-forwarded-for", "1.2.3.4"}}, "10.1.2.3"},
      {"127.0.0.1", "", {{"x-forwarded-for", "1.2.3.4"}}, "127.0.0.1"},  // a local peer too
      {"127.0.0.1", "", {{"client-ip", "5.6.7.8"}}, "127.0.0.1"},
      {"10.1.2.3", "127.0.0.1", {{"x-forwarded-for", "1.2.3.4"}}, "10.1.2.3"},
      {"127.0.0.1", "127.0.0.1", {{"x-forwarded-for", "1.2.3.4"}}, "1.2.3.4"},
      // The client's own entries come first; the proxy appends the peer it saw.
      {"127.0.0.1", "127.0.0.1", {{"x-forwarded-for", "6.6.6.6, 10.0.0.9"}}, "10.0.0.9"},
      {"127.0.0.1",
       "127.0.0.1",
       {{"x-forwarded-for", "6.6.6.6"}, {"x-forwarded-for", "7.7.7.7,10.0.0.9 "}},
       "10.0.0.9"},
      {"127.0.0.1", "127.0.0.1", {{"client-ip", "5.6.7.8"}}, "5.6.7.8"},
      {"127.0.0.1", "127.0.0.1", {}, "127.0.0.1"},
      {"127.0.0.1", "127.0.0.1", {{"x-forwarded-for", " , "}}, "127.0.0.1"},
  };
  for (const auto& c : cases) {
    web::HttpRequest request;
    request.remoteAddr = c.peer;
    for (const auto& h : c.headers) request.headers.insert(h);
    SCOPED_TRACE(c.peer + " via " + c.proxy + " -> " + c.address);
    EXPECT_EQ(web::clientAddress(request, c.proxy), c.address);
  }
}

TEST_F(HttpTest, ACrossOriginPostIsRefusedAndChangesNothing) {
  const std::string page = start();
  client.set_default_headers({{"Origin", "http://evil.example"}});
  auto refused = post(page, "clickbutton", {{"textedit", "李四", "", ""}});
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 403);
  EXPECT_EQ(refused->body.find("李四"), std::string::npos);
  // The same post from the page's own origin is applied: the refused one left no trace.
  client.set_default_headers({{"Origin", "http://127.0.0.1:" + std::to_string(port)}});
  auto applied = post(page, "clickbutton", {{"textedit", "王五", "", ""}});
  ASSERT_TRUE(applied);
  EXPECT_EQ(applied->status, 200);
  EXPECT_NE(applied->body.find("你好 王五"), std::string::npos);
  EXPECT_EQ(applied->body.find("You have attempted"), std::string::npos);
}

// Every answer carries the page headers: pages, the error page and other files, refusals.
TEST_F(HttpTest, SafetyHeadersOnEveryAnswer) {
  const struct {
    std::string path;
    bool crossOriginPost;
    int status;
  } cases[] = {
      {"/", false, 200},
      {"/files/err.html", false, 200},
      {"/files/mjy.css", false, 200},
      {"/js/zeziza.js", false, 200},
      {"/favicon.ico", false, 200},
      {"/files/no-such-file.html", false, 404},
      {"/", true, 403},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto r = c.crossOriginPost ? client.Post(c.path, {{"Origin", "http://evil.example"}},
                                                   "a=1", "application/x-www-form-urlencoded")
                                     : client.Get(c.path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, c.status);
    EXPECT_EQ(r->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(r->get_header_value_count("X-Content-Type-Options"), 1u);
    EXPECT_EQ(r->get_header_value("X-Frame-Options"), "SAMEORIGIN");
    EXPECT_EQ(r->has_header("Content-Security-Policy"), web::kContentSecurityPolicyOn);
  }
}

TEST_F(HttpTest, PagesAndScriptsAreCompressedForClientsThatTakeGzip) {
  for (const char* path : {"/js/zeziza.js", "/"}) {
    SCOPED_TRACE(path);
    httplib::Headers gzip = {{"Accept-Encoding", "gzip"}};
    auto packed = client.Get(path, gzip);
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->status, 200);
    EXPECT_EQ(packed->get_header_value("Content-Encoding"), "gzip");
    EXPECT_EQ(packed->get_header_value("Vary"), "Accept-Encoding");
    httplib::Headers none = {{"Accept-Encoding", "identity"}};
    auto plain = client.Get(path, none);
    EXPECT_FALSE(plain->has_header("Content-Encoding"));
    if (std::string(path) != "/") {
      EXPECT_EQ(packed->body, plain->body);  // the client unpacks
    }
  }
}

// A page event is rendered straight into gzip: encoded once, and it unpacks to the page.
TEST_F(HttpTest, EventAnswersAreGzippedOnceForClientsThatTakeIt) {
  const std::string page = start();
  client.set_default_headers({{"Accept-Encoding", "gzip"}});
  auto packed = post(page, "clickbutton", {{"textedit", "李四", "", ""}});
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->status, 200);
  EXPECT_EQ(packed->get_header_value_count("Content-Encoding"), 1u);
  EXPECT_EQ(packed->get_header_value("Content-Encoding"), "gzip");
  EXPECT_NE(packed->body.find("你好 李四"), std::string::npos);  // the client unpacks
  EXPECT_TRUE(packed->body.ends_with("</html>"));
  client.set_default_headers({{"Accept-Encoding", "identity"}});
  auto plain = post(packed->body, "clickbutton", {{"textedit", "王五", "", ""}});
  EXPECT_FALSE(plain->has_header("Content-Encoding"));
  EXPECT_NE(plain->body.find("你好 王五"), std::string::npos);
}

// Files are answers to clicks: nothing under cache/ is served, not even to the live session
// whose folder holds it.
TEST_F(HttpTest, NothingUnderTheCacheFolderIsServed) {
  const std::string page = start();
  ASSERT_EQ(post(page, "download")->status, 200);
  const auto cache = server.folder() / "cache";
  ASSERT_TRUE(std::filesystem::exists(cache / "user" / sessionId / "report.txt"));
  std::ofstream(cache / "loose.txt") << "loose";
  for (const std::string& path : std::vector<std::string>{
           "/cache/user/" + sessionId + "/report.txt", "/CACHE/USER/" + sessionId + "/report.txt",
           "/cache/loose.txt", "/cache/user/" + sessionId,
           "/cache/user/" + sessionId + "/../" + sessionId + "/report.txt"}) {
    SCOPED_TRACE(path);
    auto r = client.Get(path);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 404);
  }
}

}  // namespace
}  // namespace zeziza::testing
