#pragma once

#include <iosfwd>

#include "host/options.h"

namespace zeziza::host {

// Runs the cloud maintenance command of `options` (it stands in for the service provider's own
// site): creates the service's tables, or creates an account with the password on the first
// line of `in` and prints its registration number. Returns the process exit code.
int runCloudCommand(const Options& options, std::istream& in, std::ostream& out, std::ostream& err);

inline constexpr const char* kNoCloudMessage =
    "未设置云端成绩服务：请用 --cloud 或环境变量 ZEZIZA_CLOUD 给出 libpq 连接串。";

}  // namespace zeziza::host
