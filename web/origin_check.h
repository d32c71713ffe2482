#pragma once

#include "web/http_types.h"

namespace zeziza::web {

// True when the request names another origin than the host it was sent to: its Origin (or,
// without one, its Referer) is not an http or https address, carries user information, or
// names another host or port (a scheme's default port is the same as none; letter case and
// blanks around the values do not count). A request naming neither passes: browsers send an
// Origin with every cross-site post. Both programs refuse such posts with it.
bool fromOtherOrigin(const HttpRequest& request);

// A post `fromOtherOrigin`: the school server refuses it.
bool crossOriginPost(const HttpRequest& request);

}  // namespace zeziza::web
