// Lookup of the library's user-visible words in the host's string table.
// Internal: a host sees the words only in the text of the formatters.
#pragma once

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// True when the host translated `key` (English text, UTF-8); `text` then
// holds the translation, otherwise the key text or whatever the host wrote.
bool LookUpLocalizedString(const char* key, velmar_ustring& text);
// The translation, or the key text.
velmar_ustring GetLocalizedString(const char* key);
// The translation, or `fallback` (UTF-8).
velmar_ustring GetLocalizedString(const char* key, const char* fallback);

}  // namespace velmar::utils
