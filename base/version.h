// The application's identity and the versions it knows, in one place.
#pragma once

#include "FolianUtils/constants.h"

namespace velmar::base {

using velmar::kCurrentMajorVersion;

// The name of the application's support folders and preference files.
inline constexpr char kApplicationName[] = "Folian";

// The earliest major version whose settings can be imported.
inline constexpr int kOldestUpgradeVersion = 18;

}  // namespace velmar::base
