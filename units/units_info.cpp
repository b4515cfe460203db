#include "FolianUtils/units_info.h"

#include <cmath>

#include "FolianUtils/notification_center.h"
#include "base/math_constants.h"
#include "units/binary_format.h"

namespace velmar::units {

// Definitions of the inline constants give the DLL an instance to export, so
// a program that takes their address links against the import library.
constexpr const char* UnitsInfo::kFormatChanged;
constexpr const char* UnitsInfo::kUnitsChanged;
constexpr const char* UnitsInfo::kPrecisionChanged;

namespace {

constexpr double kFactorsToInches[] = {
    1.0,                               // kInches
    12.0,                              // kFeet
    1.0 / 25.4,                        // kMillimeters
    1.0 / 2.54,                        // kCentimeters
    1.0 / 0.0254,                      // kMeters
    1.0 / 72.0,                        // kPoints
    1.0,          1.0, 1.0, 1.0, 1.0,  // kNone, kMixed, kRadians, kDegrees, kGradians
    36.0,                              // kYards
    1.0,                               // kUnitsCount
};
constexpr double kFactorsFromInches[] = {
    1.0, 1.0 / 12.0, 25.4, 2.54, 0.0254, 72.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0 / 36.0, 1.0,
};

bool InTable(UnitsInfo::Units units) { return units >= 0 && units <= UnitsInfo::kUnitsCount; }

void Post(const char* name, const UnitsInfo* sender) {
  utils::NotificationCenter::Default().Post(name, sender);
}

// What a copy of either kind takes: the format-dependent units and the
// effective precision without notification, and the flags; the space
// separator is the length's own business.
void CopySettings(const UnitsInfo& from, UnitsInfo& to) {
  to.SetFormat(from.GetFormat(), false);
  to.SetUnits(from.GetUnits(), false);
  to.SetPrecision(from.GetEffectivePrecision(), false);
  to.SetSuppressUnits(from.GetSuppressUnits());
  to.SetExtraFlag(from.GetExtraFlag());
  to.SetForceFraction(from.GetForceFraction());
  to.SetSuppressApproximation(from.GetSuppressApproximation());
}

}  // namespace

double GetFactorToInches(UnitsInfo::Units units) {
  return InTable(units) ? kFactorsToInches[units] : 1.0;
}

double GetFactorFromInches(UnitsInfo::Units units) {
  return InTable(units) ? kFactorsFromInches[units] : 1.0;
}

// ---- UnitsInfo ----

UnitsInfo::~UnitsInfo() = default;

UnitsInfo::Format UnitsInfo::GetFormat() const { return m_format; }

void UnitsInfo::SetFormat(Format format, bool notify) {
  m_format = format;
  if (notify) Post(kFormatChanged, this);
}

void UnitsInfo::SetFormat(Format format) { SetFormat(format, true); }

UnitsInfo::Units UnitsInfo::GetUnits() const { return m_units; }

void UnitsInfo::SetUnits(Units units, bool notify) {
  m_units = units;
  if (notify) Post(kUnitsChanged, this);
}

void UnitsInfo::SetUnits(Units units) { SetUnits(units, true); }

double UnitsInfo::RoundToPrecision(double /*value*/) const { return 0.0; }

void UnitsInfo::SetPrecision(int precision) { SetPrecision(precision, true); }

void UnitsInfo::SetPrecision(int precision, bool notify) {
  m_precision = precision;
  if (notify) Post(kPrecisionChanged, this);
}

int UnitsInfo::GetEffectivePrecision() const {
  const int max = GetMaxPrecision();
  return m_precision < max ? m_precision : max;
}

int UnitsInfo::NearestPrecision(double value, double base) {
  double best = std::fabs(value - 1.0);
  double step = 1.0;
  int precision = 0;
  while (precision < 7) {
    step /= base;
    const double distance = std::fabs(value - step);
    if (distance > best) break;
    ++precision;
    best = distance;
  }
  return precision;
}

double UnitsInfo::RoundToStep(double value) const {
  const double step = GetPrecisionAsValue();
  return std::floor(value / step + 0.5) * step;
}

// ---- LengthInfo ----

LengthInfo::LengthInfo() {
  SetFormat(kDecimal, false);
  SetUnits(kInches, false);
  SetPrecision(2, false);
}

LengthInfo::LengthInfo(const LengthInfo& other) : UnitsInfo(other) { *this = other; }

LengthInfo& LengthInfo::operator=(const LengthInfo& other) {
  if (this != &other) {
    CopySettings(other, *this);
    m_spaceSeparator = other.m_spaceSeparator;
  }
  return *this;
}

LengthInfo::~LengthInfo() = default;

LengthInfo* LengthInfo::Clone() const { return new LengthInfo(*this); }

int LengthInfo::GetInfoKind() const { return 0; }

UnitsInfo::Units LengthInfo::GetUnits() const {
  if (IsBinaryFormat(GetFormat())) return kInches;
  if (GetFormat() == kEngineering) return kFeet;
  return m_units;
}

double LengthInfo::GetConversionFactor(Units units) const { return GetFactorToInches(units); }

double LengthInfo::GetConversionFactor() const { return GetConversionFactor(GetUnits()); }

int LengthInfo::GetPrecisionForValue(double step) const {
  return NearestPrecision(step / GetConversionFactor(), IsBinaryFormat(GetFormat()) ? 2.0 : 10.0);
}

int LengthInfo::GetMaxPrecision() const {
  if (IsBinaryFormat(GetFormat())) return 6;
  switch (GetUnits()) {
    case kInches:
    case kFeet:
    case kMillimeters:
    case kCentimeters:
    case kMeters:
      return 6;
    case kPoints:
      return 1;
    default:
      return 4;
  }
}

double LengthInfo::RoundToPrecision(double value) const { return RoundToStep(value); }

double LengthInfo::GetPrecisionAsValue(Format format, int precision, Units units) const {
  if (IsBinaryFormat(format)) {
    // Shifts beyond the width of int would be undefined; such steps are 0.
    if (precision <= 0) return 1.0;
    return precision < 31 ? 1.0 / static_cast<double>(1 << precision) : 0.0;
  }
  return std::pow(10.0, -precision) * GetFactorToInches(units);
}

double LengthInfo::GetPrecisionAsValue() const {
  return GetPrecisionAsValue(GetFormat(), GetEffectivePrecision(), GetUnits());
}

// ---- AngleInfo ----

AngleInfo::AngleInfo() {
  SetFormat(kDecimal, false);
  SetUnits(kRadians, false);
  SetPrecision(4, false);
}

// A copy keeps its own space-separator flag, so the base is not copied.
// NOLINTNEXTLINE(bugprone-copy-constructor-init)
AngleInfo::AngleInfo(const AngleInfo& other) : UnitsInfo() { *this = other; }

AngleInfo& AngleInfo::operator=(const AngleInfo& other) {
  if (this != &other) CopySettings(other, *this);
  return *this;
}

AngleInfo::~AngleInfo() = default;

AngleInfo* AngleInfo::Clone() const { return new AngleInfo(*this); }

int AngleInfo::GetInfoKind() const { return 1; }

double AngleInfo::GetConversionFactor(Units units) const {
  switch (units) {
    case kRadians:
      return 1.0;
    case kDegrees:
      return base::kRadiansPerDegree;
    case kGradians:
      return base::kRadiansPerGradian;
    default:
      return 0.0;
  }
}

double AngleInfo::GetConversionFactor() const { return GetConversionFactor(GetUnits()); }

int AngleInfo::GetPrecisionForValue(double step) const {
  return NearestPrecision(step / GetConversionFactor(), 10.0);
}

int AngleInfo::GetMaxPrecision() const {
  switch (GetUnits()) {
    case kDegrees:
    case kGradians:
      return 2;
    default:
      return 4;
  }
}

double AngleInfo::RoundToPrecision(double value) const { return RoundToStep(value); }

double AngleInfo::GetPrecisionAsValue(Format /*format*/, int precision, Units units) const {
  const double step = precision == 0 ? 1.0 : std::pow(10.0, -precision);
  return step * GetConversionFactor(units);
}

double AngleInfo::GetPrecisionAsValue() const {
  return GetPrecisionAsValue(GetFormat(), GetEffectivePrecision(), GetUnits());
}

}  // namespace velmar::units
