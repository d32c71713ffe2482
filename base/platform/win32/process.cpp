#include <windows.h>
// after windows.h
#include <io.h>
#include <malloc.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <streambuf>

#include "base/platform/process.h"
#include "base/platform/text.h"
#include "wide.h"

namespace zeziza::platform {

namespace {

PROCESS_MEMORY_COUNTERS memoryCounters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

// Writes each line to the log file and to standard error; the file is flushed with the stream.
class TeeBuffer : public std::streambuf {
 public:
  TeeBuffer(const std::filesystem::path& file, std::ostream& other)
      : file_(file, std::ios::binary | std::ios::app), other_(other) {}
  bool fileOpen() const { return file_.is_open(); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    file_.put(ch);
    other_.put(ch);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    file_.write(s, n);
    other_.write(s, n);
    return n;
  }
  int sync() override {
    file_.flush();
    other_.flush();
    return file_ ? 0 : -1;
  }

 private:
  std::ofstream file_;
  std::ostream& other_;
};

class TeeStream : public std::ostream {
 public:
  TeeStream(const std::filesystem::path& file, std::ostream& other)
      : std::ostream(nullptr), buffer_(file, other) {
    rdbuf(&buffer_);
  }
  bool fileOpen() const { return buffer_.fileOpen(); }

 private:
  TeeBuffer buffer_;
};

}  // namespace

// Sockets are not files on Windows and have no such limit; the C library's table of open
// files (512 by default) is raised to its most.
long raiseOpenFileLimit() {
  _setmaxstdio(8192);
  return -1;
}

long openFileLimit() {
  return -1;
}

// The Windows heap keeps no per-thread pools to bound.
void boundAllocatorPools() {}

void returnFreedMemory() {
  _heapmin();
  HeapCompact(GetProcessHeap(), 0);
}

std::size_t residentBytes() {
  return memoryCounters().WorkingSetSize;
}

std::size_t peakResidentBytes() {
  return memoryCounters().PeakWorkingSetSize;
}

bool resetPeakResident() {
  return false;
}

std::tm localParts(std::time_t time) {
  std::tm parts{};
  localtime_s(&parts, &time);
  return parts;
}

std::tm utcParts(std::time_t time) {
  std::tm parts{};
  gmtime_s(&parts, &time);
  return parts;
}

bool interactiveInput() {
  return _isatty(_fileno(stdin));
}

// A console signals its input handle for any event (a key, the mouse, focus); only a pressed
// Enter means a whole line is there to read. A pipe is ready when it holds bytes.
bool waitForInputLine(std::chrono::milliseconds timeout) {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(in, &mode)) {
    DWORD available = 0;
    if (PeekNamedPipe(in, nullptr, 0, nullptr, &available, nullptr)) {
      if (available > 0) return true;
      Sleep(static_cast<DWORD>(timeout.count()));
      return false;
    }
    return true;  // a file: reading never waits
  }
  if (WaitForSingleObject(in, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
  INPUT_RECORD records[256];
  DWORD count = 0;
  PeekConsoleInputW(in, records, 256, &count);
  for (DWORD i = 0; i < count; ++i) {
    const auto& r = records[i];
    if (r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown &&
        r.Event.KeyEvent.uChar.UnicodeChar == L'\r') {
      return true;
    }
  }
  Sleep(static_cast<DWORD>(timeout.count()));
  return false;
}

bool openInBrowser(const std::string& address) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", wideFromUtf8(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

std::unique_ptr<std::ostream> openEventLog(const std::filesystem::path& dataFolder,
                                           std::ostream& standardError) {
  std::error_code ignored;
  std::filesystem::create_directories(dataFolder, ignored);
  auto log = std::make_unique<TeeStream>(dataFolder / "zeziza.log", standardError);
  if (!log->fileOpen()) return nullptr;
  return log;
}

// %ProgramData%\Zeziza: every user of the office PC sees the same data.
std::filesystem::path defaultDataFolder() {
  wchar_t* folder = nullptr;
  if (SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder) != S_OK) {
    CoTaskMemFree(folder);
    return ".";
  }
  std::filesystem::path path(folder);
  CoTaskMemFree(folder);
  return path / L"Zeziza";
}

}  // namespace zeziza::platform
