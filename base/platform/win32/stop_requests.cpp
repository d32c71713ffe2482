#include "base/platform/stop_requests.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace zeziza::platform {

namespace {

// Windows calls the console handler and the window procedure without a context pointer, so
// the state they share is one per process, as the requests are.
struct StopState {
  std::atomic<bool> requested{false};
  HANDLE requestedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE finishedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

StopState& state() {
  static StopState s;
  return s;
}

// Windows allows about five seconds after closing the console, twenty at shutdown.
constexpr DWORD kStopAllowance = 4500;

void requestAndWait() {
  state().requested = true;
  SetEvent(state().requestedEvent);
  WaitForSingleObject(state().finishedEvent, kStopAllowance);
}

BOOL WINAPI consoleHandler(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      state().requested = true;
      SetEvent(state().requestedEvent);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      requestAndWait();  // the process ends when this returns
      return TRUE;
    default:
      return FALSE;
  }
}

// A program with a window gets no console event at log-off or shutdown but these messages.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) requestAndWait();
      return 0;
    case WM_CLOSE:
      state().requested = true;
      SetEvent(state().requestedEvent);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A hidden top-level window (message-only windows get no session messages) and its loop.
void runSessionWindow() {
  WNDCLASSW type{};
  type.lpfnWndProc = windowProcedure;
  type.hInstance = GetModuleHandleW(nullptr);
  type.lpszClassName = L"ZezizaStopRequests";
  RegisterClassW(&type);
  const HWND window = CreateWindowExW(0, type.lpszClassName, L"Zeziza", WS_OVERLAPPED, 0, 0, 0, 0,
                                      nullptr, nullptr, type.hInstance, nullptr);
  if (!window) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

StopRequests::StopRequests() {
  state();
  SetConsoleCtrlHandler(consoleHandler, TRUE);
  std::thread(runSessionWindow).detach();
}

StopRequests::~StopRequests() {
  SetConsoleCtrlHandler(consoleHandler, FALSE);
}

bool StopRequests::requested() const {
  return state().requested;
}

void StopRequests::wait() const {
  WaitForSingleObject(state().requestedEvent, INFINITE);
}

void StopRequests::finished() {
  SetEvent(state().finishedEvent);
}

}  // namespace zeziza::platform
