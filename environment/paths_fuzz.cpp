// Path operations on arbitrary UTF-16 text: no crash, separators and
// forbidden characters handled, results never longer than their input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "environment/paths_internal.h"

using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmar_ustring::string_type units(size / 2, utf16_unit(0));
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<utf16_unit>(data[2 * i] | data[2 * i + 1] << 8);
  }
  const velmar_ustring path(units);
  const velmar_ustring normalized = folian::NormalizePath(path);
  if (normalized.length() > path.length()) std::abort();
  if (normalized.Find(utf16_unit('\\')) != velmar_ustring::npos) std::abort();

  const std::size_t half = units.size() / 2;
  const velmar_ustring base(units.substr(0, half));
  const velmar_ustring relative(units.substr(half));
  const velmar_ustring joined = folian::AppendPath(base, relative);
  if (joined.length() > base.length() + relative.length() + 1) std::abort();

  const velmar_ustring parent = folian::GetParentFolder(path);
  if (parent.length() > path.length()) std::abort();
  return 0;
}
