// UTF-8 <-> UTF-16 conversion shared by the string and its callers.
#pragma once

#include <cstddef>
#include <string>

#include "FolianUtils/ustring.h"

namespace velmar::utils::utf8 {

// Decodes `size` bytes of UTF-8 into `out`. Returns false, leaving `out`
// empty, for truncated or ill-formed input; surrogate code points (lead
// byte 0xED) are accepted as single units.
bool Decode(const char* bytes, std::size_t size, velmar_ustring::string_type& out);

// Appends the UTF-8 form of `count` units to `out`; a high surrogate
// followed by a low one is one code point, any other unit is its own value.
void Encode(const utf16_unit* units, std::size_t count, std::string& out);

}  // namespace velmar::utils::utf8
