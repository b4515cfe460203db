// Lookup of the library's user-visible words in the host's string table.
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

// True when the host translated `key` (English text, UTF-8); `text` then
// holds the translation, otherwise the key text or whatever the host wrote.
FOLIAN_API bool LookUpLocalizedString(const char* key, velmar_ustring& text);
// The translation, or the key text.
FOLIAN_API velmar_ustring GetLocalizedString(const char* key);
// The translation, or `fallback` (UTF-8).
FOLIAN_API velmar_ustring GetLocalizedString(const char* key, const char* fallback);

}  // namespace velmar::utils
