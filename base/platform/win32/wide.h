#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zeziza::platform {

// UTF-8 and the UTF-16 the wide Windows functions take.
inline std::wstring wideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

inline std::string utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

// The system's message for the last error, in UTF-8.
inline std::string lastErrorText() {
  const DWORD code = GetLastError();
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text =
      n ? utf8FromWide(std::wstring_view(buffer, n)) : "error " + std::to_string(code);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// An owned handle.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE h) : h_(h) {}
  ~OwnedHandle() { close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return h_; }
  void close() {
    if (valid()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }

 private:
  HANDLE h_;
};

}  // namespace zeziza::platform
