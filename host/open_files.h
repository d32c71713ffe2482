#pragma once

namespace zeziza::host {

// Raises the process's open-file soft limit to its hard limit: every connection and every
// open database is a file. Returns the soft limit in force afterwards.
long raiseOpenFileLimit();

}  // namespace zeziza::host
