// Which length formats count in binary fractions of an inch.
#pragma once

#include "FolianUtils/units_info.h"

namespace velmar::units {

// Architectural and fractional lengths use 1/2^n steps; the others decimal.
inline bool IsBinaryFormat(UnitsInfo::Format format) {
  return format == UnitsInfo::kArchitectural || format == UnitsInfo::kFractional;
}

}  // namespace velmar::units
