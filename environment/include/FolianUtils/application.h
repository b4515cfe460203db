/// @file
/// The application's identity strings.
///
/// Any thread may call these, also at once: each string is made once, on
/// the first call, and never changed.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// "Folian"; the same object on every call, alive until the library unloads.
FOLIAN_API const velmar::utils::velmar_ustring& ApplicationName();
/// The document extension without the dot: "folian".
FOLIAN_API const velmar::utils::velmar_ustring& FileExtensionOnly();
/// The document extension with the dot: ".folian".
FOLIAN_API const velmar::utils::velmar_ustring& FileExtension();

}  // namespace folian
