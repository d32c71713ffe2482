#include "bench/process_memory.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "base/platform/process.h"

extern char** environ;

namespace zeziza::bench {

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

}  // namespace

bool resetPeakResident() {
  return platform::resetPeakResident();
}

double residentMiB() {
  return static_cast<double>(platform::residentBytes()) / kMiB;
}

double peakResidentMiB() {
  return static_cast<double>(platform::peakResidentBytes()) / kMiB;
}

double heapInUseMiB() {
  return static_cast<double>(mallinfo2().uordblks) / (1024 * 1024);
}

void runProgram(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(argv[0] + " failed");
}

}  // namespace zeziza::bench
