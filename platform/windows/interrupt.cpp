// Waits that an interrupt ends: the console's handler, which the system
// runs on a thread of its own, sets an event every wait also waits for.
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "platform/folder_watch.h"

namespace velmar::platform {
namespace {

HANDLE g_interrupted = nullptr;

BOOL WINAPI OnInterrupt(DWORD) {
  SetEvent(g_interrupted);
  return TRUE;
}

}  // namespace

void CatchInterrupts() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_interrupted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_interrupted != nullptr) SetConsoleCtrlHandler(OnInterrupt, TRUE);
  });
}

WaitResult WaitForWatch(WatchHandle handle, std::chrono::milliseconds timeout) {
  const DWORD milliseconds =
      timeout.count() < 0 ? INFINITE
                          : static_cast<DWORD>(std::min<long long>(timeout.count(), INFINITE - 1));
  const HANDLE handles[2] = {handle, g_interrupted};
  switch (WaitForMultipleObjects(g_interrupted == nullptr ? 1 : 2, handles, FALSE, milliseconds)) {
    case WAIT_OBJECT_0:
      return WaitResult::kReady;
    case WAIT_TIMEOUT:
      return WaitResult::kTimedOut;
    default:
      return WaitResult::kInterrupted;
  }
}

}  // namespace velmar::platform
