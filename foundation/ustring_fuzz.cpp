// Feeds arbitrary bytes to the UTF-8 decoder, the number reader and Format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "FolianUtils/ustring.h"
#include "foundation/number_reader.h"

namespace {

const velmar::utils::utf16_unit kText[] = {'x', 0};

template <std::size_t... I>
void FormatWithTexts(velmar::utils::velmar_ustring& out,
                     const velmar::utils::velmar_ustring& format,
                     std::index_sequence<I...> /*indexes*/) {
  out.Format(format, ((void)I, kText)...);
}

}  // namespace

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

  // A format string from the input. printf trusts its format, so the
  // arguments must cover whatever it asks for: as many zero-terminated
  // strings as the engine accepts arguments, readable as any kind of
  // argument. "*" widths would only measure the allocator, and "L" reads
  // 16-byte arguments, past what was passed.
  std::size_t digits = 0;
  for (const utf16_unit u : units) {
    if (u == '*' || u == 'L') return 0;
    digits = (u >= '0' && u <= '9') ? digits + 1 : 0;
    if (digits > 4) return 0;
  }
  velmar_ustring formatted;
  FormatWithTexts(formatted, raw, std::make_index_sequence<100>());
  return 0;
}
