// Feeds arbitrary text to the length evaluator, and checks it against the
// length parser and the formatter: a text the parser reads (but for the
// shapes it reads otherwise) gives the same inches, and formatted text reads back
// within half a step.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FolianUtils/length_evaluator.h"
#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"

namespace {

using velmar::units::EvaluateLength;
using velmar::units::EvaluateLengthRatio;
using velmar::units::LengthExpressionError;
using velmar::units::LengthExpressionStatus;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CLengthFormatter;
using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;

LengthInfo Settings(std::uint8_t choice) {
  LengthInfo info;
  info.SetFormat(static_cast<UnitsInfo::Format>(choice % 4), false);
  info.SetUnits(static_cast<UnitsInfo::Units>((choice >> 2) % 13), false);
  info.SetPrecision((choice >> 5) % 7, false);
  return info;
}

void CheckStatus(bool ok, const LengthExpressionStatus& status, const velmar_ustring& text) {
  if (ok != (status.error == LengthExpressionError::kNone)) __builtin_trap();
  if (status.position > text.length()) __builtin_trap();
}

void EvaluateEveryWay(const velmar_ustring& text, const LengthInfo& info) {
  double inches = 0.0;
  LengthExpressionStatus status;
  const bool ok = EvaluateLength(text, info, inches, &status);
  CheckStatus(ok, status, text);
  if (ok && !std::isfinite(inches)) __builtin_trap();

  double single = 0.0;
  const velmar::utils::LengthRead whole = velmar::utils::ReadLength(
      text.data(), text.data() + text.length(), info.GetUnits(), velmar::utils::MatchLengthUnitText,
      velmar::utils::LengthReading::kWholeText);
  if (CLengthFormatter(info).Parse(text, single) && !whole.passesOver) {
    if (!ok || std::memcmp(&inches, &single, sizeof inches) != 0) __builtin_trap();
    // In parentheses the text is split into operands: it is refused or
    // gives the same length.
    double again = 0.0;
    const velmar_ustring wrapped = velmar_ustring("(") + text + velmar_ustring(")");
    if (EvaluateLength(wrapped, info, again) &&
        !(std::fabs(again - single) <= 1e-12 * std::fabs(single))) {
      __builtin_trap();
    }
  }

  double ratio = 0.0;
  const bool ratioOk = EvaluateLengthRatio(text, info, ratio, &status);
  CheckStatus(ratioOk, status, text);
  if (ratioOk && !std::isfinite(ratio)) __builtin_trap();
}

void FormatAndReadBack(double inches, std::uint8_t choice, std::uint8_t flags) {
  const LengthInfo base = Settings(choice);
  LengthInfo info = base;
  info.SetSpaceSeparator((flags & 1) != 0);
  info.SetSuppressUnits((flags & 2) != 0);
  info.SetForceFraction((flags & 4) != 0);
  info.SetSuppressApproximation((flags & 8) != 0);
  const UnitsInfo::Format format = info.GetFormat();
  const int precision = info.GetEffectivePrecision();
  // Engineering text at precision 0 drops the inches of a foot, and decimal
  // yards carry the inch mark: neither reads back.
  if (format == UnitsInfo::kEngineering && precision == 0) return;
  if (format == UnitsInfo::kDecimal && info.GetUnits() == UnitsInfo::kYards) return;
  if (!std::isfinite(inches) || std::fabs(inches) > 1e9) return;
  const velmar_ustring text = CLengthFormatter(info).Format(inches);
  if (text.empty()) return;
  double half = CLengthFormatter::GetLengthPrecisionAsLength(format, precision) / 2;
  if (format == UnitsInfo::kDecimal) half *= velmar::units::GetFactorToInches(info.GetUnits());
  const velmar_ustring texts[] = {text, velmar_ustring("(") + text + velmar_ustring(")"),
                                  text + velmar_ustring(" * 1")};
  for (const velmar_ustring& typed : texts) {
    double back = 0.0;
    if (!EvaluateLength(typed, info, back)) __builtin_trap();
    if (!(std::fabs(back - inches) <= half * (1 + 1e-9) + 1e-9 * std::fabs(inches))) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const LengthInfo info = Settings(data[0]);
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  EvaluateEveryWay(velmar_ustring(bytes), info);
  velmar_ustring::string_type units((size - 1) / 2, 0);
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    units[i / 2] = static_cast<utf16_unit>(data[i] | (data[i + 1] << 8));
  }
  EvaluateEveryWay(velmar_ustring(std::move(units)), info);

  if (size >= sizeof(double) + 3) {
    double inches = 0.0;
    std::memcpy(&inches, data + 1, sizeof inches);
    FormatAndReadBack(inches, data[0], data[sizeof inches + 1]);
    // What the text evaluates to, formatted back.
    double typed = 0.0;
    if (EvaluateLength(velmar_ustring(bytes), info, typed)) {
      FormatAndReadBack(typed, data[0], data[sizeof inches + 1]);
    }
  }
  return 0;
}
