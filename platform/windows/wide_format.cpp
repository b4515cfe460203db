#include "platform/wide_format.h"

#include <stdio.h>
#include <wchar.h>

namespace velmar::platform {

bool FormatWide(const utils::utf16_unit* format, std::va_list args,
                utils::velmar_ustring::string_type& out) {
  std::va_list counting;
  va_copy(counting, args);
  const int count = _vscwprintf_p(format, counting);
  va_end(counting);
  if (count < 0) return false;
  utils::velmar_ustring::string_type buffer(static_cast<std::size_t>(count) + 1, L'\0');
  const int written = _vswprintf_p(buffer.data(), buffer.size(), format, args);
  if (written < 0) return false;
  buffer.resize(static_cast<std::size_t>(written));
  out = std::move(buffer);
  return true;
}

}  // namespace velmar::platform
