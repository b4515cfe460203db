// Waits that an interrupt ends: the signal handler writes to a pipe that
// every wait also polls, so a signal that arrives just before the wait
// begins still ends it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>

#include "platform/folder_watch.h"

namespace velmar::platform {
namespace {

int g_interrupts[2] = {-1, -1};

void OnInterrupt(int) {
  const int saved = errno;
  [[maybe_unused]] const ssize_t written = ::write(g_interrupts[1], "i", 1);
  errno = saved;
}

}  // namespace

void CatchInterrupts() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (::pipe2(g_interrupts, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
  });
}

WaitResult WaitForWatch(WatchHandle handle, std::chrono::milliseconds timeout) {
  pollfd ready[2] = {{handle, POLLIN, 0}, {g_interrupts[0], POLLIN, 0}};
  const int milliseconds =
      timeout.count() < 0 ? -1 : static_cast<int>(std::min<std::int64_t>(timeout.count(), INT_MAX));
  const int result = ::poll(ready, g_interrupts[0] < 0 ? 1 : 2, milliseconds);
  // The pipe stays full: every later wait ends at once too.
  if ((result > 0 && (ready[1].revents & POLLIN) != 0) || (result < 0 && errno == EINTR)) {
    return WaitResult::kInterrupted;
  }
  return result > 0 ? WaitResult::kReady : WaitResult::kTimedOut;
}

}  // namespace velmar::platform
