#include "base/platform/files.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zeziza::platform {

namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// An owned descriptor.
struct Descriptor {
  explicit Descriptor(int f) : fd(f) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int fd;
};

// Closes the descriptor and removes the side file unless it was renamed into place.
class SideFile {
 public:
  explicit SideFile(const std::filesystem::path& target) : path_(target.string() + ".XXXXXX") {
    fd_ = mkstemp(path_.data());
    if (fd_ < 0) fail("cannot create " + path_);
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
      if (n <= 0) fail("cannot write " + path_);
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // Readable for the static file server like the other files.
    if (fchmod(fd_, 0644) != 0 || fsync(fd_) != 0) fail("cannot flush " + path_);
  }
  void renameTo(const std::filesystem::path& target) {
    std::filesystem::rename(path_, target);
    kept_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

std::optional<std::string> readAll(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string content(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    const auto n = ::read(fd, content.data() + done, content.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  content.resize(done);
  return content;
}

}  // namespace

struct FileLock::Handle {
  explicit Handle(int f) : fd(f) {}
  Descriptor fd;  // closing releases the lock
};

FileLock::FileLock(const std::filesystem::path& file)
    : handle_(std::make_unique<Handle>(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))) {
  held_ = handle_->fd.fd >= 0 && ::flock(handle_->fd.fd, LOCK_EX | LOCK_NB) == 0;
}

FileLock::~FileLock() = default;

void replaceFileDurably(const std::filesystem::path& target, std::string_view bytes) {
  SideFile side(target);
  side.write(bytes);
  side.renameTo(target);
}

std::filesystem::path createUniqueFile(const std::filesystem::path& folder, std::string_view stem,
                                       std::string_view suffix) {
  std::string name = (folder / stem).string() + "XXXXXX" + std::string(suffix);
  // mkstemps fills the Xs and creates the file with O_EXCL, retrying on a clash.
  const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) fail("cannot create a file in " + folder.string());
  ::close(fd);
  return name;
}

std::optional<std::string> readFileBeneath(const std::filesystem::path& root,
                                           const std::string& relative) {
  const Descriptor dir(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd < 0) return std::nullopt;
  open_how how{};
  how.flags = O_RDONLY | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  const Descriptor file(
      static_cast<int>(::syscall(SYS_openat2, dir.fd, relative.c_str(), &how, sizeof how)));
  if (file.fd >= 0) return readAll(file.fd);
  if (errno != ENOSYS) return std::nullopt;
  // A kernel without openat2: resolve the links by hand and stay inside.
  std::error_code error;
  const auto base = std::filesystem::canonical(root, error);
  if (error) return std::nullopt;
  const auto resolved = std::filesystem::canonical(base / relative, error);
  if (error) return std::nullopt;
  const auto inside = resolved.lexically_relative(base);
  if (inside.empty() || *inside.begin() == "..") return std::nullopt;
  const Descriptor opened(::open(resolved.c_str(), O_RDONLY | O_CLOEXEC));
  return opened.fd >= 0 ? readAll(opened.fd) : std::nullopt;
}

bool meansDiskFull(int error) {
  return error == ENOSPC || error == EDQUOT;
}

}  // namespace zeziza::platform
