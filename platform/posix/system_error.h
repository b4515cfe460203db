// A failed system call's errno as a Status in the system's words.
#pragma once

#include <cstring>

#include "platform/status.h"

namespace velmar::platform {

inline Status SystemError(int code) { return Status::Error(std::strerror(code)); }

}  // namespace velmar::platform
