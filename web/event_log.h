#pragma once

#include <chrono>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace zeziza::web {

// How a line is written: readable text, or one JSON object for log collectors.
enum class LogFormat { Text, Json };

struct LogField {
  std::string name;
  std::string value;
};

// One line per event on a stream (standard error, which journald keeps). `event` is a
// short name for machines ("signin"), `message` the text for people. Callers pass only what
// may be kept: never a password or a session id.
class EventLog {
 public:
  EventLog(std::ostream& out, LogFormat format) : out_(out), format_(format) {}

  void record(std::string_view event, std::string_view message,
              const std::vector<LogField>& fields = {});
  void error(std::string_view message) { record("error", message); }

 private:
  std::mutex mutex_;
  std::ostream& out_;
  const LogFormat format_;
};

// The line for one event, without its line break. Text values with blanks, quotes, control,
// separator or direction characters are quoted and escaped (`web/log_text.h`), so a user name
// can neither forge a second line nor turn what a terminal shows around.
std::string formatLogLine(LogFormat format, std::chrono::system_clock::time_point time,
                          std::string_view event, std::string_view message,
                          const std::vector<LogField>& fields);

}  // namespace zeziza::web
