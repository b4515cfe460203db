#include "FolianUtils/units_info.h"

#include <cmath>

#include "FolianUtils/notification_center.h"

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

bool IsBinaryFormat(UnitsInfo::Format format) {
  return format == UnitsInfo::kArchitectural || format == UnitsInfo::kFractional;
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

LengthInfo::LengthInfo(const LengthInfo& other) : UnitsInfo() { CopyFrom(other); }

LengthInfo& LengthInfo::operator=(const LengthInfo& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

LengthInfo::~LengthInfo() = default;

void LengthInfo::CopyFrom(const LengthInfo& other) {
  SetFormat(other.GetFormat(), false);
  SetUnits(other.GetUnits(), false);
  SetPrecision(other.GetEffectivePrecision(), false);
  m_suppressUnits = other.m_suppressUnits;
  m_spaceSeparator = other.m_spaceSeparator;
  m_extraFlag = other.m_extraFlag;
  m_forceFraction = other.m_forceFraction;
  m_suppressApproximation = other.m_suppressApproximation;
}

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

AngleInfo::AngleInfo(const AngleInfo& other) : UnitsInfo() { CopyFrom(other); }

AngleInfo& AngleInfo::operator=(const AngleInfo& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

AngleInfo::~AngleInfo() = default;

void AngleInfo::CopyFrom(const AngleInfo& other) {
  SetFormat(other.GetFormat(), false);
  SetUnits(other.GetUnits(), false);
  SetPrecision(other.GetEffectivePrecision(), false);
  m_suppressUnits = other.m_suppressUnits;
  m_extraFlag = other.m_extraFlag;
  m_forceFraction = other.m_forceFraction;
  m_suppressApproximation = other.m_suppressApproximation;
}

AngleInfo* AngleInfo::Clone() const { return new AngleInfo(*this); }

int AngleInfo::GetInfoKind() const { return 1; }

double AngleInfo::GetConversionFactor(Units units) const {
  switch (units) {
    case kRadians:
      return 1.0;
    case kDegrees:
      return 0.017453292519943295;
    case kGradians:
      return 0.015707963267948967;
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
