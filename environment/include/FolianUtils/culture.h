/// @file
/// The user-interface culture and the codes derived from it.
///
/// The culture ("en-US", "de", "zh-TW") is decided once per process, on the
/// first GetCulture(): the user's language, replaced by a SetCulture override,
/// falls back to "en-US" unless a resource folder of that name exists below
/// the all-users support folder. The first calls of this family must come
/// from one thread.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// The process's culture; never empty. May throw the folder query's
/// std::filesystem::filesystem_error on the first call.
FOLIAN_API velmar::utils::velmar_ustring GetCulture();
/// Overrides the user's language; only effective before the first
/// GetCulture(). An empty override counts as none.
FOLIAN_API void SetCulture(const velmar::utils::velmar_ustring& culture);
/// The first two code units of the culture ("en").
FOLIAN_API velmar::utils::velmar_ustring GetLanguageCode();
/// The culture for web addresses: "en" for "en-US" and "en-GB", otherwise
/// the culture itself. Decided once.
FOLIAN_API velmar::utils::velmar_ustring GetFolianWebCode();
/// The operating system's user locale name as it gives it ("de-DE"), or
/// "en-US" when there is none. Not cached; not used for the culture.
FOLIAN_API velmar::utils::velmar_ustring GetOSLocale();

}  // namespace folian
