// Watching folders for changes to their entries, without a thread of our
// own and without polling: the system queues what happens, a handle the
// host adds to its event loop becomes ready, and the host's thread takes
// the events. A file replaced in one step is a new file under the old name,
// so a watch on the file itself would die at the first replace; watching
// its folder and filtering by name does not.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "FolianUtils/utf16.h"
#include "platform/status.h"

namespace velmar::platform {

#ifdef _WIN32
// A waitable event handle, signalled while events wait.
using WatchHandle = void*;
constexpr WatchHandle kNoWatchHandle = nullptr;
#else
// A descriptor, readable while events wait.
using WatchHandle = int;
constexpr WatchHandle kNoWatchHandle = -1;
#endif

struct FolderEvent {
  enum Kind {
    kEntry,       // `name` in `folder` was created, removed, renamed or written
    kFolderGone,  // `folder` was removed or renamed; its watch has ended
    kOverflow,    // the system dropped events: anything may have changed
  };
  Kind kind = kEntry;
  utils::utf16_string folder;  // as passed to Add; empty for kOverflow
  utils::utf16_string name;    // the entry's name, for kEntry
};

// One set of watched folders. Several may exist in a process; on Linux they
// share one inotify instance.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // Watches the existing folder `folder` for entries created, removed,
  // renamed into or out of it, and files closed after writing. Adding a
  // folder twice is one watch. Fails with the system's reason, among them
  // the per-user limit of watches.
  virtual Status Add(const utils::utf16_string& folder) = 0;
  // Ends the watch of `folder`; nothing when it is not watched.
  virtual void Remove(const utils::utf16_string& folder) = 0;
  virtual WatchHandle handle() const = 0;
  // Appends, without blocking, what happened since the last call. The
  // handle stays ready until this has taken everything queued.
  virtual void TakeEvents(std::vector<FolderEvent>& events) = 0;
};

// A new, empty watch on the operating system's file system; fails with the
// system's reason, such as the per-user limit of inotify instances.
Status OpenFolderWatch(std::unique_ptr<FolderWatch>& watch);

enum class WaitResult { kReady, kTimedOut, kInterrupted };

// Blocks until `handle` is ready, `timeout` passes (a negative timeout
// waits for ever) or, once CatchInterrupts() was called, the user
// interrupts (Ctrl+C, SIGINT or SIGTERM).
WaitResult WaitForWatch(WatchHandle handle, std::chrono::milliseconds timeout);

// From now on an interrupt ends a WaitForWatch instead of the process, so a
// program that waits can end cleanly.
void CatchInterrupts();

}  // namespace velmar::platform
