// The PNG background reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "environment/image_background_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmar::utils::CColor color;
  if (folian::ReadPNGBackgroundColor(data, size, &color) && color.Alpha() != 255) {
    __builtin_trap();
  }
  return 0;
}
