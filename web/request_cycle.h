#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "web/http_types.h"
#include "web/session_registry.h"

namespace zeziza::web {

using PageFactory = std::function<std::unique_ptr<Page>()>;

// The answer to one post of a session.
struct EventOutcome {
  enum class Kind { Page, File };
  Kind kind = Kind::Page;
  std::string html;
  bool gzipped = false;  // html is a gzip stream
  std::optional<FileResponse> file;
  std::vector<std::string> messages;  // the alerts the answer carries
};

inline constexpr const char* kResyncMessage = "页面已过期，您的输入未保存，请在当前页面重新操作。";

// One post of a session, written once: check the track id, apply the posted values, run the
// acting control's handler, and answer with a file or the active page. The caller holds the
// session's lock.
// With `gzip` the page is compressed as it is rendered.
EventOutcome serveEvent(LiveSession& session, const PostedForm& form, const PageFactory& startPage,
                        bool gzip = false);

// Runs `action` inside the session as a handler runs, then answers as after an event. The
// caller holds the session's lock.
EventOutcome serveAction(LiveSession& session, const std::function<void()>& action);

}  // namespace zeziza::web
