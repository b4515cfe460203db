// The platform's positional wide printf over UTF-16 code units.
#pragma once

#include <cstdarg>

#include "FolianUtils/ustring.h"

namespace velmar::platform {

// Formats `format` (positional printf form, "%s" = UTF-16 string) into
// `out`; false on a format error, leaving `out` untouched.
bool FormatWide(const utils::utf16_unit* format, std::va_list args,
                utils::velmar_ustring::string_type& out);

}  // namespace velmar::platform
