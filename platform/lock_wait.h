// How both platforms wait for the lock of a preference file: short pauses
// that grow, up to the caller's deadline, after which the holder is reported.
#pragma once

#include <chrono>
#include <string>
#include <thread>

#include "platform/durable_file.h"

namespace velmar::platform {

enum class LockAttempt { kTaken, kBusy, kFailed };

// Calls `attempt(error)` until it takes the lock or fails for good; false
// with `error` set when it fails, when another process keeps the lock past
// `deadline`, or when `keep_waiting` (if set) says no.
template <typename Attempt>
bool WaitForLock(LockDeadline deadline, const KeepWaiting& keep_waiting, Attempt attempt,
                 std::string& error) {
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    switch (attempt(error)) {
      case LockAttempt::kTaken:
        return true;
      case LockAttempt::kFailed:
        return false;
      case LockAttempt::kBusy:
        break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      error = "another process holds the lock";
      return false;
    }
    if (keep_waiting && !keep_waiting()) {
      error = "what the lock guards moved while it was awaited";
      return false;
    }
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(10)) pause *= 2;
  }
}

}  // namespace velmar::platform
