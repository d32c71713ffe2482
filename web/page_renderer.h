#pragma once

#include "base/embedded_file.h"

#include <chrono>
#include <string>
#include <vector>

namespace zeziza::web {

class HtmlWriter;
class Page;

// What one answer carries besides the page's controls.

struct AnswerState {
  std::string sessionId;
  unsigned trackId = 0;
  std::vector<std::string> messages;
  std::string focus;                       // element id
  std::chrono::milliseconds keepAlive{0};  // 0: none
};

// The whole HTML document of a page.
std::string renderPage(const Page& page, const AnswerState& state);
// The same into `out`, which may spill it as it goes.
void renderPage(const Page& page, const AnswerState& state, HtmlWriter& out);
// The start exchange: measures the window and posts it back to open the first page.
std::string renderStartPage(const AnswerState& state);
// Answers a page address asked for afresh (reload, or back and forward through the history):
// the browser posts the session it kept for its tab and gets that session's current page,
// or a new session when it kept none or the session has ended.
std::string renderResumePage();

// A plain page with the messages, when the active page cannot be rendered.
std::string renderErrorPage(const AnswerState& state);

// The version text in script and style addresses and their ETag: a digest of the files, so a
// browser never keeps a script or style sheet older than the program serving it.
inline std::string_view resourceVersion() {
  return embeddedVersion_resources();
}

}  // namespace zeziza::web
