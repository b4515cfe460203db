#pragma once

#include "FolianUtils/length_formatter.h"
#include "FolianUtils/units_info.h"
#include "units/user_notation_test_support.h"

namespace velmar::utils::testing {

using units::LengthInfo;
using units::UnitsInfo;

struct LengthSettings {
  UnitsInfo::Format format = UnitsInfo::kDecimal;
  UnitsInfo::Units units = UnitsInfo::kInches;
  int precision = 2;
  bool spaceSeparator = false;
  bool suppressUnits = false;
  bool forceFraction = false;
  bool suppressApproximation = false;
};

inline LengthInfo MakeLengthInfo(const LengthSettings& settings) {
  LengthInfo info;
  info.SetFormat(settings.format, false);
  info.SetUnits(settings.units, false);
  info.SetPrecision(settings.precision, false);
  info.SetSpaceSeparator(settings.spaceSeparator);
  info.SetSuppressUnits(settings.suppressUnits);
  info.SetForceFraction(settings.forceFraction);
  info.SetSuppressApproximation(settings.suppressApproximation);
  return info;
}

}  // namespace velmar::utils::testing
