#include "base/platform/files.h"

#include <windows.h>

#include <cerrno>
#include <random>
#include <stdexcept>

#include "base/platform/text.h"
#include "wide.h"

namespace zeziza::platform {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
  throw std::runtime_error(what + " " + utf8Path(path) + ": " + lastErrorText());
}

std::wstring randomLetters(std::size_t count) {
  static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::uniform_int_distribution<std::size_t> pick(0, 35);
  std::wstring out;
  for (std::size_t i = 0; i < count; ++i) out += kLetters[pick(device)];
  return out;
}

// A new file that did not exist (CREATE_NEW), under a unique name.
HANDLE createNew(const std::filesystem::path& folder, const std::wstring& stem,
                 const std::wstring& suffix, std::filesystem::path& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder / (stem + randomLetters(6) + suffix);
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

// Removes the side file unless it was moved into place.
class SideFile {
 public:
  explicit SideFile(const std::filesystem::path& target)
      : handle_(createNew(target.parent_path(), target.filename().wstring() + L".", L"", path_)) {
    if (!handle_.valid()) fail("cannot create", target);
  }
  ~SideFile() {
    if (!kept_) DeleteFileW(path_.c_str());
  }
  SideFile(const SideFile&) = delete;
  SideFile& operator=(const SideFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
      if (!WriteFile(handle_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
        fail("cannot write", path_);
      }
      bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(handle_.get())) fail("cannot flush", path_);
  }
  // The handle is closed first: a file open without sharing cannot be moved.
  void moveTo(const std::filesystem::path& target) {
    handle_.close();
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      fail("cannot replace", target);
    }
    kept_ = true;
  }

 private:
  std::filesystem::path path_;
  OwnedHandle handle_;
  bool kept_ = false;
};

std::optional<std::string> readAll(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    return std::nullopt;
  }
  const auto size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  std::string content(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD n = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1 << 30));
    if (!ReadFile(file, content.data() + done, want, &n, nullptr) || n == 0) break;
    done += n;
  }
  content.resize(done);
  return content;
}

}  // namespace

struct FileLock::Handle {
  explicit Handle(HANDLE h) : file(h) {}
  OwnedHandle file;  // closing releases the lock
};

FileLock::FileLock(const std::filesystem::path& file)
    : handle_(std::make_unique<Handle>(CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))) {
  if (!handle_->file.valid()) return;
  OVERLAPPED whole{};
  held_ = LockFileEx(handle_->file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                     MAXDWORD, MAXDWORD, &whole);
}

FileLock::~FileLock() = default;

void replaceFileDurably(const std::filesystem::path& target, std::string_view bytes) {
  SideFile side(target);
  side.write(bytes);
  side.moveTo(target);
}

std::filesystem::path createUniqueFile(const std::filesystem::path& folder, std::string_view stem,
                                       std::string_view suffix) {
  std::filesystem::path name;
  const OwnedHandle file(
      createNew(folder, pathFromUtf8(stem).wstring(), pathFromUtf8(suffix).wstring(), name));
  if (!file.valid()) fail("cannot create a file in", folder);
  return name;
}

// Every segment is opened without following a reparse point (a link or junction), so what is
// read lies inside the root.
std::optional<std::string> readFileBeneath(const std::filesystem::path& root,
                                           const std::string& relative) {
  std::filesystem::path at = root;
  for (const auto& part : pathFromUtf8(relative)) {
    at /= part;
    const DWORD attributes = GetFileAttributesW(at.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return std::nullopt;
    }
  }
  const OwnedHandle file(CreateFileW(at.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return std::nullopt;
  return readAll(file.get());
}

// Windows has no quotas as errors of their own: a full quota is a full disk.
bool meansDiskFull(int error) {
  return error == ENOSPC;
}

}  // namespace zeziza::platform
