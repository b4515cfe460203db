#include <cstdio>

#include "FolianUtils/assert.h"

namespace velmar::utils {

void AssertFailed(const char* expression, const char* file, int line) {
  std::fprintf(stderr, "%s:%d failed assert \"%s\"\n", file != nullptr ? file : "", line,
               expression != nullptr ? expression : "");
}

}  // namespace velmar::utils
