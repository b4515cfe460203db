// The inotify calls that fail on the per-user limits, replaceable so that a
// test reaches those failures without changing the system's settings.
#pragma once

#include <cstdint>

namespace velmar::platform {

struct InotifyCalls {
  int (*init)(int flags);
  int (*add_watch)(int fd, const char* path, std::uint32_t mask);
};

// The calls in use. The instance is opened with the first watch alive and
// closed with the last, so a test replaces `init` while none is alive.
InotifyCalls& InotifyCallsInUse();

}  // namespace velmar::platform
