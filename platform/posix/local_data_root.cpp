#include "platform/local_data_root.h"

#include <stdlib.h>

namespace velmar::platform {

// The same XDG rule as the preference store's local folder.
std::filesystem::path LocalDataRoot() {
  const char* data_home = getenv("XDG_DATA_HOME");
  if (data_home != nullptr && *data_home != '\0') return data_home;
  const char* home = getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / ".local/share";
}

}  // namespace velmar::platform
