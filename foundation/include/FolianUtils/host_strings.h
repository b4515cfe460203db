/// @file
/// Localised strings supplied by the host application.
///
/// The library asks the host for its few user-visible words (unit names and
/// abbreviations) by an English key. A host executable that exports
/// @code
/// extern "C" bool TRMainStringTableLookUp(const velmar_ustring& key,
///                                         velmar_ustring& result);
/// @endcode
/// is found automatically at the first lookup. A host that cannot export
/// symbols registers the same function here instead. Without a function, or
/// when the library is linked into the executable itself, text stays
/// untranslated.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

/// The host's string-table function: writes the translation of the English
/// `key` into `result` and returns true, or returns false when it has none.
/// @stable
using HostStringLookup = bool (*)(const velmar_ustring& key, velmar_ustring& result);

/// Binds `lookup` as the host's string table, replacing any exported one;
/// nullptr unbinds it (text untranslated from then on). Call it before the
/// first lookup on another thread.
FOLIAN_API void RegisterHostStringLookup(HostStringLookup lookup);

}  // namespace velmar::utils
