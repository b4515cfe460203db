#include "platform/wide_format.h"

#include "foundation/wide_printf.h"

namespace velmar::platform {

// glibc's wide printf works on 32-bit wchar_t and reads "%s" as narrow, so
// the library's own engine gives the Windows meaning here.
bool FormatWide(const utils::utf16_unit* format, std::va_list args,
                utils::velmar_ustring::string_type& out) {
  return utils::FormatUtf16(format, args, out);
}

}  // namespace velmar::platform
