// The per-user local application-data root for the viewer library, which
// lives outside FolianUtils and works with standard paths.
#pragma once

#include <filesystem>

namespace velmar::platform {

// The root as the platform gives it; empty when it cannot be read.
std::filesystem::path LocalDataRoot();

}  // namespace velmar::platform
