// Random bytes from the operating system's cryptographic generator.
#pragma once

#include <cstddef>

namespace velmar::platform {

// Fills `size` bytes at `buffer`; false when the generator fails, in which
// case the buffer's content is unspecified.
bool FillRandomBytes(void* buffer, std::size_t size);

}  // namespace velmar::platform
