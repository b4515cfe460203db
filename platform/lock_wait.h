// How both platforms wait for the lock of a preference file: short pauses
// that grow, up to the caller's deadline, after which the holder is reported.
#pragma once

#include <chrono>
#include <thread>
#include <utility>

#include "platform/durable_file.h"

namespace velmar::platform {

// One try at a lock: taken, held by another for now, or failed for good
// with `failure` saying why.
struct LockAttempt {
  enum Kind { kTaken, kBusy, kFailed };
  LockAttempt(Kind outcome, Status reason = Status()) : kind(outcome), failure(std::move(reason)) {}
  Kind kind;
  Status failure;
};

// Calls `attempt()` until it takes the lock or fails for good; a failure
// when it fails, when another process keeps the lock past `deadline`, or
// when `keep_waiting` (if set) says no.
template <typename Attempt>
Status WaitForLock(LockDeadline deadline, const KeepWaiting& keep_waiting, Attempt attempt) {
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    LockAttempt tried = attempt();
    switch (tried.kind) {
      case LockAttempt::kTaken:
        return Status();
      case LockAttempt::kFailed:
        return tried.failure;
      case LockAttempt::kBusy:
        break;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      return Status::Error("another process holds the lock");
    }
    if (keep_waiting && !keep_waiting()) {
      return Status::Error("what the lock guards moved while it was awaited");
    }
    std::this_thread::sleep_for(pause);
    if (pause < std::chrono::milliseconds(10)) pause *= 2;
  }
}

}  // namespace velmar::platform
