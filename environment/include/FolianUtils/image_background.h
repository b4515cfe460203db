/// @file
/// The background colour that an image file declares.
///
/// It keeps no state: calls on several threads at once share only the
/// files they read.
///
/// @stable
#pragma once

#include "FolianUtils/color.h"
#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// True when `path` ends in ".png" (any case) and the file holds a background
/// chunk in grey or colour form; only then is `*color` written (opaque).
/// Palette backgrounds, missing or malformed files give false. `color` must
/// not be null.
[[nodiscard]] FOLIAN_API bool GetImageBackgroundColor(const velmar::utils::velmar_ustring& path,
                                                      velmar::utils::CColor* color);

}  // namespace folian
