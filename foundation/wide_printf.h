// A printf engine over UTF-16 code units with the meaning of the Windows
// wide printf: "%s" is a utf16_unit string, "%c" a code unit, "%S"/"%hs" a
// narrow (UTF-8) string, positional arguments ("%2$d", "%1$*2$d") allowed
// but not mixed with sequential ones. Numeric conversions are done by the C
// library's snprintf, so digits match printf exactly. Used where the C
// runtime has no such printf of its own.
#pragma once

#include <cstdarg>

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// Formats into `out`; false (and `out` untouched) on a format error: an
// unknown conversion, "%n", mixed positional and sequential arguments, or
// a positional argument that is never referenced.
bool FormatUtf16(const utf16_unit* format, std::va_list args, velmar_ustring::string_type& out);

}  // namespace velmar::utils
