// A printf engine over UTF-16 code units with the meaning of the Windows
// wide printf: "%s" is a utf16_unit string, "%c" a code unit, "%S"/"%hs" a
// narrow (UTF-8) string, positional arguments ("%2$d", "%1$*2$d") allowed
// but not mixed with sequential ones. Numbers are written as the Universal
// C runtime writes them (at least two exponent digits, exact ties to even,
// "hh" honoured, "%a" with 13 digits), with std::to_chars for the digits, so
// every platform and every C runtime gives the same text.
#pragma once

#include <cstdarg>

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// Formats into `out`; false (and `out` untouched) on a format error: an
// unknown conversion, "%n", mixed positional and sequential arguments, or
// a positional argument that is never referenced.
bool FormatUtf16(const utf16_unit* format, std::va_list args, velmar_ustring::string_type& out);

}  // namespace velmar::utils
