#include "host/open_files.h"

#include <sys/resource.h>

namespace zeziza::host {

long raiseOpenFileLimit() {
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) != 0) return -1;
  if (files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);  // a refusal leaves the old limit, which still works
    getrlimit(RLIMIT_NOFILE, &files);
  }
  return files.rlim_cur == RLIM_INFINITY ? -1 : static_cast<long>(files.rlim_cur);
}

}  // namespace zeziza::host
