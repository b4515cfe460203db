#include "platform/wide_format.h"

#include "foundation/wide_printf.h"

namespace velmar::platform {

// The MinGW-w64 toolchain links the old msvcrt.dll, whose printf writes
// three exponent digits and ignores "hh"; hosts run on the Universal CRT.
// The library's own engine writes the Universal CRT's text whatever runtime
// the DLL is linked against.
bool FormatWide(const utils::utf16_unit* format, std::va_list args,
                utils::velmar_ustring::string_type& out) {
  return utils::FormatUtf16(format, args, out);
}

}  // namespace velmar::platform
