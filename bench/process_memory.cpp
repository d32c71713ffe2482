#include "bench/process_memory.h"

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <stdexcept>

extern char** environ;

namespace zeziza::bench {

namespace {

double statusField(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(name + ":")) return std::stod(line.substr(name.size() + 1)) / 1024;
  }
  return 0;
}

}  // namespace

bool resetPeakResident() {
  std::ofstream refs("/proc/self/clear_refs");
  refs << "5";
  return static_cast<bool>(refs.flush());
}

double residentMiB() {
  return statusField("VmRSS");
}

double peakResidentMiB() {
  return statusField("VmHWM");
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
