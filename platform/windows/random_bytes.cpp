// rand_s draws from the system's cryptographic generator (RtlGenRandom).
#define _CRT_RAND_S
#include "platform/random_bytes.h"

#include <stdlib.h>

#include <cstring>

namespace velmar::platform {

bool FillRandomBytes(void* buffer, std::size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    unsigned int word = 0;
    if (rand_s(&word) != 0) return false;
    const std::size_t take = size < sizeof word ? size : sizeof word;
    std::memcpy(out, &word, take);
    out += take;
    size -= take;
  }
  return true;
}

}  // namespace velmar::platform
