// UTF-8 <-> UTF-16 for the common preference library, which cannot use the
// conversions of FolianUtils.
#pragma once

#include <string>

#include "FolianUtils/ustring.h"

namespace velmar::prefs {

// Lone surrogates become U+FFFD, so the result is always valid UTF-8.
std::string EncodeUtf8(const utils::velmar_ustring::string_type& text);
// False for invalid UTF-8 (then `text` is unspecified).
bool DecodeUtf8(const std::string& bytes, utils::velmar_ustring::string_type& text);
bool DecodeUtf8(const char* bytes, std::size_t size, utils::velmar_ustring::string_type& text);
// A copy of `text` with lone surrogates replaced by U+FFFD.
utils::velmar_ustring::string_type WithoutLoneSurrogates(
    const utils::velmar_ustring::string_type& text);

}  // namespace velmar::prefs
