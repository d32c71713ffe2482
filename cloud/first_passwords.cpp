#include "cloud/first_passwords.h"

#include <sodium.h>

#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "auth/password_hasher.h"
#include "auth/random_password.h"
#include "cloud/progress.h"

namespace zeziza::cloud {

namespace {

// Progress lines at about every tenth of the work.
std::size_t logEvery(std::size_t total) {
  return std::max<std::size_t>(1, total / 10);
}

}  // namespace

std::string randomFirstPassword() {
  return auth::randomPassword(kFirstPasswordLength);
}

std::vector<std::string> hashEach(const std::vector<std::string>& passwords, Progress& progress) {
  std::vector<std::string> hashes(passwords.size());
  if (passwords.empty()) return hashes;
  auth::PasswordHasher hasher;
  const std::string total = std::to_string(passwords.size());
  progress.log(">>生成初始密码（共" + total + "名新学生）");
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> done{0};
  std::mutex failureMutex;
  std::exception_ptr failure;
  auto work = [&] {
    try {
      for (std::size_t i = next++; i < passwords.size(); i = next++) {
        progress.checkpoint();
        hashes[i] = hasher.hash(passwords[i]);
        const std::size_t finished = ++done;
        if (finished % logEvery(passwords.size()) == 0 && finished < passwords.size()) {
          progress.log(">>已生成初始密码" + std::to_string(finished) + "/" + total);
        }
      }
    } catch (...) {
      const std::lock_guard lock(failureMutex);
      if (!failure) failure = std::current_exception();
      next = passwords.size();  // the others stop at their next password
    }
  };
  {
    std::vector<std::jthread> threads;
    const unsigned count =
        static_cast<unsigned>(std::min<std::size_t>(hasher.slots(), passwords.size()));
    for (unsigned t = 0; t < count; ++t) threads.emplace_back(work);
  }
  if (failure) std::rethrow_exception(failure);
  progress.log(">>已生成初始密码" + total + "/" + total);
  return hashes;
}

}  // namespace zeziza::cloud
