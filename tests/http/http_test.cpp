#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "tests/support/page_driver.h"
#include "tests/support/smoke_page.h"

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
  auto answer = post(page, "iwbutton1", {{"iwedit1", "李四", "", ""}});
  EXPECT_EQ(answer->status, 200);
  EXPECT_NE(answer->body.find("你好 李四"), std::string::npos);
}

// A reload or the history asks for the page address afresh: the tab posts its session back
// and gets the current page unchanged; an ended session gets a new start instead.
TEST_F(HttpTest, ThePageAddressAskedAfreshGivesTheCurrentPage) {
  const auto resume = client.Get("/EXEC");
  EXPECT_EQ(resume->status, 200);
  EXPECT_NE(resume->body.find("\"resume\":true"), std::string::npos);
  EXPECT_EQ(server.controller().sessionCount(), 0u);

  const std::string page = start();
  auto clicked = post(page, "iwbutton1", {{"iwedit1", "李四", "", ""}});
  ASSERT_EQ(clicked->status, 200);
  httplib::MultipartFormDataItems again = {{"IW_SessionID_", sessionId, "", ""},
                                           {"IW_TrackID_", "", "", ""},
                                           {"IW_Resync", "1", "", ""},
                                           {"iwedit1", "王五", "", ""},
                                           {"IW_Action", "iwbutton1", "", ""}};
  auto current = client.Post("/EXEC", again);
  EXPECT_EQ(current->status, 200);
  EXPECT_NE(current->body.find("clicked 1:李四"), std::string::npos);  // nothing applied
  EXPECT_EQ(current->body.find("王五"), std::string::npos);
  EXPECT_EQ(current->body.find("页面已过期"), std::string::npos);

  again[0] = {"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""};
  auto fresh = client.Post("/EXEC", again);
  EXPECT_EQ(fresh->status, 200);
  EXPECT_NE(fresh->body.find("\"start\":true"), std::string::npos);
  EXPECT_EQ(server.controller().sessionCount(), 2u);
}

TEST_F(HttpTest, KeepAliveTouchesTheSessionWithoutAPage) {
  const std::string page = start();
  auto alive =
      client.Post("/EXEC", httplib::MultipartFormDataItems{{"IW_SessionID_", sessionId, "", ""},
                                                           {"IW_KeepAlive", "1", "", ""},
                                                           {"IW_Action", "iwbutton1", "", ""}});
  EXPECT_EQ(alive->status, 204);
  EXPECT_TRUE(alive->body.empty());
  auto ended = client.Post(
      "/EXEC",
      httplib::MultipartFormDataItems{{"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""},
                                      {"IW_KeepAlive", "1", "", ""}});
  EXPECT_EQ(ended->status, 410);
  EXPECT_EQ(server.controller().sessionCount(), 1u);
  // The click posted with the keep-alive was not run: the page is as it was.
  EXPECT_EQ(post(page, "")->body.find("clicked"), std::string::npos);
}

TEST_F(HttpTest, AnUnknownSessionIsSentToTheTimeoutPage) {
  httplib::MultipartFormDataItems items = {
      {"IW_SessionID_", "0123456789abcdef0123456789abcdef", "", ""}, {"IW_TrackID_", "1", "", ""}};
  auto r = client.Post("/EXEC", items);
  EXPECT_EQ(r->status, 302);
  EXPECT_EQ(r->get_header_value("Location"), "/files/err.html");
  EXPECT_EQ(server.controller().sessionCount(), 0u);  // and no session was made for it
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
  auto cached = client.Get("/cache/user/" + sessionId + "/report.txt");
  EXPECT_EQ(cached->status, 200);
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
            "HTTP/1.1 413 Payload Too Large");
  // A chunked body would bypass the length limit.
  EXPECT_EQ(rawExchange(port,
                        "POST /EXEC HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n"
                        "\r\n5\r\nhello\r\n0\r\n\r\n"),
            "HTTP/1.1 411 Length Required");
  EXPECT_EQ(client.Get("/files/mjy.css")->status, 200);
}

TEST_F(HttpTest, TheClientAddressIsThePeerUnlessALocalProxyForwards) {
  web::HttpRequest request;
  request.remoteAddr = "10.1.2.3";
  request.headers.emplace("x-forwarded-for", "1.2.3.4");
  EXPECT_EQ(web::clientAddress(request), "10.1.2.3");
  request.remoteAddr = "127.0.0.1";
  EXPECT_EQ(web::clientAddress(request), "1.2.3.4");
  request.headers.clear();
  request.headers.emplace("client-ip", "5.6.7.8");
  EXPECT_EQ(web::clientAddress(request), "5.6.7.8");
}

}  // namespace
}  // namespace zeziza::testing
