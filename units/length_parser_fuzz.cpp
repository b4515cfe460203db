// Feeds arbitrary text to the length parser and arbitrary doubles and
// settings to the length formatter.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FolianUtils/length_formatter.h"

namespace {

using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CLengthFormatter;
using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;

void ParseEveryWay(const velmar_ustring& text, UnitsInfo::Units units) {
  double value = 0.0;
  if (CLengthFormatter::Parse(text, value, units) && !std::isfinite(value)) __builtin_trap();
  double values[4];
  const int stored = CLengthFormatter::Parse(text, 4, values, units);
  if (stored < 0 || stored > 4) __builtin_trap();
  UnitsInfo::Units found = UnitsInfo::kNone;
  // Only that they end without a fault: any answer is allowed.
  (void)CLengthFormatter::GetLengthUnitFromString(text, &found);
  (void)CLengthFormatter::GetLengthUnitFromRawString(text, &found);
}

void FormatEveryWay(double inches, std::uint8_t flags, std::uint8_t precision) {
  LengthInfo info;
  info.SetFormat(static_cast<UnitsInfo::Format>(flags % 5), false);
  info.SetUnits(static_cast<UnitsInfo::Units>((flags >> 3) % 13), false);
  info.SetPrecision(precision % 9 - 1, false);
  info.SetSpaceSeparator((flags & 0x80) != 0);
  info.SetSuppressUnits((precision & 0x10) != 0);
  info.SetForceFraction((precision & 0x20) != 0);
  CLengthFormatter formatter(info);
  formatter.SetUseAdaptivePrecision((precision & 0x40) != 0);
  const velmar_ustring text = formatter.Format(inches);
  const UnitsInfo::Format format = info.GetFormat();
  const bool binary = format == UnitsInfo::kArchitectural || format == UnitsInfo::kFractional;
  // Rounding to a binary fraction never moves a value by more than the
  // half step that the approximation mark allows.
  if (binary && !text.empty() && text[0] == '~') __builtin_trap();
  // Only a length that is not finite in the display unit has no text.
  const double shown = format == UnitsInfo::kDecimal
                           ? inches * velmar::units::GetFactorFromInches(info.GetUnits())
                           : inches;
  if (std::isfinite(shown) == text.empty()) __builtin_trap();
  const velmar_ustring stripped = formatter.FormatAndStrip(inches);
  double back = 0.0;
  (void)formatter.Parse(stripped, back);
  if (binary && !info.GetSuppressUnits() && std::fabs(inches) < 1e9) {
    const double half =
        CLengthFormatter::GetLengthPrecisionAsLength(
            format, info.GetEffectivePrecision() < 0 ? 0 : info.GetEffectivePrecision()) /
        2;
    const bool adaptive = (precision & 0x40) != 0;
    if (!adaptive && !(std::fabs(back - inches) <= half * (1 + 1e-9) + 1e-9)) __builtin_trap();
  }
  formatter.FormatArea(inches);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const velmar_ustring decoded(bytes);
  velmar_ustring::string_type units(size / 2, 0);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    units[i / 2] = static_cast<utf16_unit>(data[i] | (data[i + 1] << 8));
  }
  const velmar_ustring raw(std::move(units));
  const auto unitsChoice = static_cast<UnitsInfo::Units>(size > 0 ? data[0] % 13 : 0);
  ParseEveryWay(decoded, unitsChoice);
  ParseEveryWay(raw, unitsChoice);

  if (size >= sizeof(double) + 2) {
    double inches = 0.0;
    std::memcpy(&inches, data, sizeof inches);
    FormatEveryWay(inches, data[sizeof inches], data[sizeof inches + 1]);
    // The value the text reads as, formatted back.
    double typed = 0.0;
    (void)CLengthFormatter::Parse(decoded, typed, UnitsInfo::kInches);
    FormatEveryWay(typed, data[sizeof inches], data[sizeof inches + 1]);
  }
  return 0;
}
