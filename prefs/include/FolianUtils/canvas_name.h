/// @file
/// The name of the drawing back end the user has chosen.
///
/// It reads the preferences singleton, which is not locked: call it on the
/// thread that uses the preferences.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// "skia" when the preferences singleton's UseSkia() is true (creating the
/// singleton if needed), else "gdiplus". Reads the preference on every call.
FOLIAN_API velmar::utils::velmar_ustring GetCanvasName();

}  // namespace folian
