#pragma once

#include <string>
#include <vector>

namespace zeziza::web {

class Page;

// What one answer carries besides the page's controls.
struct AnswerState {
  std::string sessionId;
  unsigned trackId = 0;
  std::vector<std::string> messages;
  std::string focus;  // element id
};

// The whole HTML document of a page.
std::string renderPage(const Page& page, const AnswerState& state);
// The start exchange: measures the window and posts it back to open the first page.
std::string renderStartPage(const AnswerState& state);

// A plain page with the messages, when the active page cannot be rendered.
std::string renderErrorPage(const AnswerState& state);

// The version text in script and style addresses.
inline constexpr const char* kResourceVersion = "8.0.3";

}  // namespace zeziza::web
