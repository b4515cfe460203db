// Angle and scale text: parsers never fail loudly, scales are never
// negative or infinite, and formatted text reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FolianUtils/angle_formatter.h"
#include "FolianUtils/scale_formatter.h"

namespace {

using velmar::units::AngleInfo;
using velmar::units::UnitsInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;
namespace ScaleFormatter = velmar::utils::ScaleFormatter;

void Check(bool condition) {
  if (!condition) std::abort();
}

void ParseBoth(const velmar_ustring& text) {
  double angle = 0.0;
  if (!AngleFormatter::Parse(text, angle)) Check(angle == 0.0);
  const double scale = ScaleFormatter::Parse(text);
  Check(std::isfinite(scale) && scale >= 0.0);
}

double ReadDouble(const std::uint8_t* data, std::size_t size) {
  double value = 0.0;
  std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
  return value;
}

void FormatAngle(std::uint8_t settings, std::uint8_t precision, double radians) {
  static const UnitsInfo::Units kUnits[] = {UnitsInfo::kRadians, UnitsInfo::kDegrees,
                                            UnitsInfo::kGradians, UnitsInfo::kInches};
  AngleInfo info;
  info.SetUnits(kUnits[settings & 3], false);
  info.SetPrecision(static_cast<int>(precision % 10) - 2, false);
  info.SetSuppressUnits((settings & 4) != 0);
  info.SetSuppressApproximation((settings & 8) != 0);
  AngleFormatter formatter(info);
  const velmar_ustring text = formatter.Format(radians);
  Check(!text.empty());
  AngleFormatter::FormatAngleForVCB(radians);

  const double factor = info.GetConversionFactor();
  if (factor == 0.0 || !(std::fabs(radians / factor) < 1e12)) return;
  double typed = 0.0;
  Check(AngleFormatter::Parse(text, typed));
  // Whole units at worst: the step is at most one display unit.
  Check(std::fabs(typed - radians / factor) <= 1.0 + 1e-9 * std::fabs(typed));
}

void FormatScale(double scale) {
  const velmar_ustring text = ScaleFormatter::Format(scale);
  Check(!text.empty());
  if (!(scale >= 1e-200 && scale <= 1e200)) return;
  const double read = ScaleFormatter::Parse(text);
  Check(read > 0.0);
  if (scale > 1.0) {
    Check(std::fabs(read - scale) <= 0.005 + 1e-12 * scale);
  } else {
    Check(std::fabs(1.0 / read - 1.0 / scale) <= 0.005 + 1e-12 / scale);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t op = data[0] % 4;
  ++data;
  --size;
  switch (op) {
    case 0:
      // UTF-8 text, as typed.
      ParseBoth(velmar_ustring(std::string(reinterpret_cast<const char*>(data), size)));
      break;
    case 1: {
      // Raw UTF-16 code units, lone surrogates included.
      velmar_ustring text;
      for (std::size_t i = 0; i + 1 < size; i += 2) {
        text += static_cast<utf16_unit>(data[i] | (data[i + 1] << 8));
      }
      ParseBoth(text);
      break;
    }
    case 2:
      if (size < 2) return 0;
      FormatAngle(data[0], data[1], ReadDouble(data + 2, size - 2));
      break;
    default:
      FormatScale(ReadDouble(data, size));
      break;
  }
  return 0;
}
