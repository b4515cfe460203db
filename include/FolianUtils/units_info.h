// Units settings: how a length or an angle is shown and read.
//
// Lengths are doubles in inches and angles doubles in radians everywhere;
// these objects hold the display unit, format, precision and flags and the
// factors between base and display units.
#pragma once

#include <cstdint>

#include "FolianUtils/export.h"

namespace velmar::units {

class FOLIAN_API UnitsInfo {
 public:
  enum Units : std::int32_t {
    kInches = 0,
    kFeet = 1,
    kMillimeters = 2,
    kCentimeters = 3,
    kMeters = 4,
    kPoints = 5,
    kNone = 6,
    kMixed = 7,
    kRadians = 8,
    kDegrees = 9,
    kGradians = 10,
    kYards = 11,
    // End marker of the unit table; behaves like kNone in the factor tables.
    kUnitsCount = 12,
  };

  enum Format : std::int32_t {
    kDecimal = 0,
    kArchitectural = 1,
    kEngineering = 2,
    kFractional = 3,
  };

  // Notification names, posted with the settings object as sender.
  static constexpr const char* kFormatChanged = "velmar::units::UnitsInfo::kFormatChanged";
  static constexpr const char* kUnitsChanged = "velmar::units::UnitsInfo::kUnitsChanged";
  static constexpr const char* kPrecisionChanged = "velmar::units::UnitsInfo::kPrecisionChanged";

  virtual ~UnitsInfo() = 0;
  virtual UnitsInfo* Clone() const = 0;
  // 0 for lengths, 1 for angles.
  virtual int GetInfoKind() const = 0;

  virtual Format GetFormat() const;
  virtual void SetFormat(Format format, bool notify);
  virtual void SetFormat(Format format);
  virtual Units GetUnits() const;
  virtual void SetUnits(Units units, bool notify);
  virtual void SetUnits(Units units);
  virtual double GetConversionFactor(Units units) const = 0;
  virtual double GetConversionFactor() const = 0;
  // The precision whose step is nearest to `step` (base units), 0 to 7.
  virtual int GetPrecisionForValue(double step) const = 0;
  virtual int GetMaxPrecision() const = 0;
  virtual double RoundToPrecision(double value) const;
  virtual double GetPrecisionAsValue(Format format, int precision, Units units) const = 0;
  virtual double GetPrecisionAsValue() const = 0;

  int GetPrecision() const { return m_precision; }
  void SetPrecision(int precision);
  void SetPrecision(int precision, bool notify);
  // The smaller of the stored and the maximum precision.
  int GetEffectivePrecision() const;

  bool GetSuppressUnits() const { return m_suppressUnits; }
  void SetSuppressUnits(bool value) { m_suppressUnits = value; }
  bool GetSpaceSeparator() const { return m_spaceSeparator; }
  void SetSpaceSeparator(bool value) { m_spaceSeparator = value; }
  bool GetExtraFlag() const { return m_extraFlag; }
  void SetExtraFlag(bool value) { m_extraFlag = value; }
  bool GetForceFraction() const { return m_forceFraction; }
  void SetForceFraction(bool value) { m_forceFraction = value; }
  bool GetSuppressApproximation() const { return m_suppressApproximation; }
  void SetSuppressApproximation(bool value) { m_suppressApproximation = value; }

 protected:
  UnitsInfo() = default;
  UnitsInfo(const UnitsInfo&) = default;
  UnitsInfo& operator=(const UnitsInfo&) = default;

  // Shared by the subclasses: the precision whose step (1, 1/base,
  // 1/base^2 ...) is nearest to `value_in_display_units`; ties go finer.
  static int NearestPrecision(double value_in_display_units, double base);
  // floor(value / step + 0.5) * step with step = GetPrecisionAsValue().
  double RoundToStep(double value) const;

  Format m_format = kDecimal;
  Units m_units = kNone;
  std::int32_t m_precision = -1;
  bool m_suppressUnits = false;
  bool m_spaceSeparator = false;
  // Stored and copied for the host; nothing in the library reads it.
  bool m_extraFlag = false;
  bool m_forceFraction = false;
  bool m_suppressApproximation = false;
};

// Factors between inches and a unit; every value 0 to 12 is accepted, and
// any other value behaves like kNone (1.0).
FOLIAN_API double GetFactorToInches(UnitsInfo::Units units);
FOLIAN_API double GetFactorFromInches(UnitsInfo::Units units);

class FOLIAN_API LengthInfo : public UnitsInfo {
 public:
  // Decimal inches, precision 2, no flags; nothing is posted.
  LengthInfo();
  // Copies take the format-dependent units and the effective precision.
  LengthInfo(const LengthInfo& other);
  LengthInfo& operator=(const LengthInfo& other);
  ~LengthInfo() override;

  LengthInfo* Clone() const override;
  int GetInfoKind() const override;
  // kInches for architectural and fractional, kFeet for engineering.
  Units GetUnits() const override;
  double GetConversionFactor(Units units) const override;
  double GetConversionFactor() const override;
  int GetPrecisionForValue(double step) const override;
  int GetMaxPrecision() const override;
  double RoundToPrecision(double value) const override;
  double GetPrecisionAsValue(Format format, int precision, Units units) const override;
  double GetPrecisionAsValue() const override;
};

class FOLIAN_API AngleInfo : public UnitsInfo {
 public:
  // Radians, precision 4, no flags; nothing is posted.
  AngleInfo();
  // Copies keep the copy's own space-separator flag (false by default).
  AngleInfo(const AngleInfo& other);
  AngleInfo& operator=(const AngleInfo& other);
  ~AngleInfo() override;

  AngleInfo* Clone() const override;
  int GetInfoKind() const override;
  double GetConversionFactor(Units units) const override;
  double GetConversionFactor() const override;
  int GetPrecisionForValue(double step) const override;
  int GetMaxPrecision() const override;
  double RoundToPrecision(double value) const override;
  double GetPrecisionAsValue(Format format, int precision, Units units) const override;
  double GetPrecisionAsValue() const override;
};

}  // namespace velmar::units
