#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zeziza::base {

namespace {

// Closes the descriptor and removes the side file unless it was renamed into place.
class SideFile {
 public:
  explicit SideFile(const std::filesystem::path& target) : path_(target.string() + ".XXXXXX") {
    fd_ = mkstemp(path_.data());
    if (fd_ < 0) fail("cannot create");
  }
  ~SideFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  SideFile(const SideFile&) = delete;
  SideFile& operator=(const SideFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail("cannot write");
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // Readable for the static file server like the other files.
    if (fchmod(fd_, 0644) != 0 || fsync(fd_) != 0) fail("cannot flush");
  }
  void renameTo(const std::filesystem::path& target) {
    std::filesystem::rename(path_, target);
    kept_ = true;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::runtime_error(std::string(what) + " " + path_ + ": " + std::strerror(errno));
  }

  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  SideFile side(target);
  side.write(bytes);
  side.renameTo(target);
}

}  // namespace zeziza::base
