// Feeds arbitrary bytes to the UTF-8 decoder, the number reader and Format.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FolianUtils/ustring.h"
#include "foundation/number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmar::utils::utf16_unit;
  using velmar::utils::velmar_ustring;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const velmar_ustring decoded(bytes);
  // Well-formed input must survive the round trip unchanged.
  if (!decoded.empty() && decoded.ToUTF8() != bytes) __builtin_trap();

  // The same bytes as raw UTF-16 units, lone surrogates and all.
  velmar_ustring::string_type units(size / 2, 0);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    units[i / 2] = static_cast<utf16_unit>(data[i] | (data[i + 1] << 8));
  }
  const velmar_ustring raw(units.c_str());
  double value = 0.0;
  velmar::utils::ReadDouble(raw.c_str(), ',', value);
  velmar::utils::ReadDouble(raw.c_str(), '.', value);
  velmar_ustring copy(raw);
  copy.MakeLower();
  copy.Trim();
  (void)raw.CompareNoCase(decoded);
  (void)raw.ToUTF8();

  // A format string from the input, given safe arguments for any reading:
  // conversions that take strings get a valid string, numbers get numbers.
  // Widths from "*" or long digit runs would only measure the allocator.
  std::size_t digits = 0;
  for (const utf16_unit u : units) {
    if (u == '*') return 0;
    digits = (u >= '0' && u <= '9') ? digits + 1 : 0;
    if (digits > 4) return 0;
  }
  static const utf16_unit kText[] = {'x', 0};
  velmar_ustring formatted;
  formatted.Format(raw, kText, kText, kText, kText);
  return 0;
}
