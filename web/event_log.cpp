#include "web/event_log.h"

#include <ctime>
#include <nlohmann/json.hpp>
#include <ostream>

#include "base/platform/process.h"
#include "web/log_text.h"

namespace zeziza::web {

namespace {

std::string utcTime(std::chrono::system_clock::time_point time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
  const std::tm parts = platform::utcParts(seconds);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

bool needsQuotes(std::string_view value) {
  if (value.empty() || needsLogEscape(value)) return true;
  for (const unsigned char c : value) {
    if (c == ' ' || c == '"' || c == '\\' || c == '=') return true;
  }
  return false;
}

std::string escapedValue(std::string_view value) {
  if (!needsQuotes(value)) return std::string(value);
  return "\"" + escapeLogText(value, true) + "\"";
}

std::string textLine(const std::string& time, std::string_view event, std::string_view message,
                     const std::vector<LogField>& fields) {
  std::string line = time + " " + std::string(event) + " " + escapedValue(message);
  for (const auto& field : fields) line += " " + field.name + "=" + escapedValue(field.value);
  return line;
}

std::string jsonLine(const std::string& time, std::string_view event, std::string_view message,
                     const std::vector<LogField>& fields) {
  nlohmann::ordered_json line;
  line["time"] = time;
  line["event"] = event;
  line["message"] = message;
  for (const auto& field : fields) line[field.name] = field.value;
  // A name typed by a client need not be UTF-8; such bytes become U+FFFD.
  return escapeJsonLine(
      line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

}  // namespace

std::string formatLogLine(LogFormat format, std::chrono::system_clock::time_point time,
                          std::string_view event, std::string_view message,
                          const std::vector<LogField>& fields) {
  const std::string stamp = utcTime(time);
  return format == LogFormat::Json ? jsonLine(stamp, event, message, fields)
                                   : textLine(stamp, event, message, fields);
}

void EventLog::record(std::string_view event, std::string_view message,
                      const std::vector<LogField>& fields) {
  const std::string line =
      formatLogLine(format_, std::chrono::system_clock::now(), event, message, fields);
  std::lock_guard lock(mutex_);
  out_ << line << '\n' << std::flush;
}

}  // namespace zeziza::web
