#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zeziza::platform {

// An exclusive lock on a file, created if missing, held until destruction; held() is false
// when another process holds it. The lock ends with the process, however it ends.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return held_; }

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
  bool held_ = false;
};

// Writes `bytes` to a new side file in the target's folder, flushes it to the disk and puts it
// in the target's place in one step: a reader, or the next start after a power cut, finds the
// old file or the new one, never half of either. Throws with the cause, leaving no side file.
void replaceFileDurably(const std::filesystem::path& target, std::string_view bytes);

// Creates a new empty file with a unique name "<stem>XXXXXX<suffix>" in `folder`; returns it.
std::filesystem::path createUniqueFile(const std::filesystem::path& folder, std::string_view stem,
                                       std::string_view suffix);

// Reads the regular file `relative` (plain segments, checked by the caller) below `root`
// without following links out of it; nothing when it is missing, not a regular file or leaves
// the root.
std::optional<std::string> readFileBeneath(const std::filesystem::path& root,
                                           const std::string& relative);

// Whether a C library error number says the disk (or the user's quota on it) is full.
bool meansDiskFull(int error);

}  // namespace zeziza::platform
