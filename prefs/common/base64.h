// Binary preference values are kept as base64 text (RFC 4648, padded).
#pragma once

#include "FolianUtils/ustring.h"
#include "TrelvinCommonPreferences/preferences_interface.h"

namespace velmar::prefs {

utils::velmar_ustring::string_type EncodeBase64(const BinaryData& bytes);
// False for anything but padded base64 of the standard alphabet.
bool DecodeBase64(const utils::velmar_ustring::string_type& text, BinaryData& bytes);

}  // namespace velmar::prefs
