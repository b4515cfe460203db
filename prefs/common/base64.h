// Binary preference values are kept as base64 text (RFC 4648, padded).
#pragma once

#include "FolianUtils/utf16.h"
#include "TrelvinCommonPreferences/preferences_interface.h"

namespace velmar::prefs {

utils::utf16_string EncodeBase64(const BinaryData& bytes);
// False for anything but padded base64 of the standard alphabet.
bool DecodeBase64(const utils::utf16_string& text, BinaryData& bytes);

}  // namespace velmar::prefs
