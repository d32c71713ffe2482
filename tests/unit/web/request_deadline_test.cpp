#include "web/request_deadline.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zeziza::testing {
namespace {

using namespace std::chrono_literals;

// A connected socket pair: the server's end is watched, the client's end reads what happens.
struct Pair {
  Pair() { socketpair(AF_UNIX, SOCK_STREAM, 0, fds); }
  ~Pair() {
    close(fds[0]);
    close(fds[1]);
  }
  bool clientSeesEnd() const {
    char c;
    return recv(fds[1], &c, 1, MSG_DONTWAIT) == 0;
  }
  int fds[2] = {-1, -1};
};

TEST(RequestDeadline, ShutsConnectionsWhoseRequestTookTooLongAsAWhole) {
  // The watch's own round never comes during the test: the test names the time.
  web::RequestDeadline deadline(30s, 1h);
  Pair slow, working, closed;
  deadline.opened(slow.fds[0]);
  deadline.opened(working.fds[0])->working = true;  // a page event is being computed
  deadline.closed(deadline.opened(closed.fds[0]));
  const auto now = web::RequestDeadline::Clock::now();
  EXPECT_EQ(deadline.shutOverdue(now + 29s), 0u);
  EXPECT_FALSE(slow.clientSeesEnd());
  EXPECT_EQ(deadline.shutOverdue(now + 31s), 1u);
  EXPECT_TRUE(slow.clientSeesEnd());
  EXPECT_FALSE(working.clientSeesEnd());
  EXPECT_FALSE(closed.clientSeesEnd());
  EXPECT_EQ(deadline.shutOverdue(now + 32s), 0u);  // once is enough
}

TEST(RequestDeadline, ANewRequestStartsItsOwnTime) {
  web::RequestDeadline deadline(30s, 1h);
  Pair pair;
  auto* connection = deadline.opened(pair.fds[0]);
  const auto opened = web::RequestDeadline::Clock::now();
  std::this_thread::sleep_for(5ms);
  connection->restart();
  EXPECT_EQ(deadline.shutOverdue(opened + 30s), 0u);
  EXPECT_EQ(deadline.shutOverdue(web::RequestDeadline::Clock::now() + 31s), 1u);
}

}  // namespace
}  // namespace zeziza::testing
