/// @file
/// Assertion reporting that never aborts the host.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"

namespace velmar::utils {

/// Writes "<file>:<line> failed assert \"<expression>\"" and a line feed to
/// standard error, then returns. Any thread may call it.
FOLIAN_API void AssertFailed(const char* expression, const char* file, int line);

}  // namespace velmar::utils
