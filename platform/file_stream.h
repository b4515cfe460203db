// Reading files named by UTF-16 paths through the runtime's streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FolianUtils/utf16.h"

namespace velmar::platform {

// Opens `path` with the runtime's stdio in `mode` (for example "rb"); null
// when either is empty or the open fails. The caller closes the stream.
std::FILE* OpenFileStream(const utils::utf16_string& path, const utils::utf16_string& mode);

// Moves `distance` bytes forward from the current position; moving past the
// end is allowed (the next read comes up short). False when the stream
// cannot seek.
bool SeekForward(std::FILE* stream, std::uint64_t distance);

}  // namespace velmar::platform
