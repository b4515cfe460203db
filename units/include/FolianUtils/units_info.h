/// @file
/// Units settings: how a length or an angle is shown and read.
///
/// Lengths are doubles in inches and angles doubles in radians everywhere;
/// these objects hold the display unit, format, precision and flags and the
/// factors between base and display units.
///
/// @stable
#pragma once

#include <cstdint>

#include "FolianUtils/export.h"

namespace velmar::units {

/// The settings shared by lengths and angles: unit, display format, precision
/// and five display flags, and the factors between the base unit (inches,
/// radians) and the display unit.
///
/// A value object confined to one thread by its caller; the notifying setters
/// post on NotificationCenter::Default() with the object as sender.
/// @stable
class FOLIAN_API UnitsInfo {
 public:
  /// Units of measure; lengths use kInches to kPoints and kYards, angles kRadians to kGradians.
  enum Units : std::int32_t {
    kInches = 0,       ///< inches, the base unit of lengths
    kFeet = 1,         ///< feet (12 inches)
    kMillimeters = 2,  ///< millimetres
    kCentimeters = 3,  ///< centimetres
    kMeters = 4,       ///< metres
    kPoints = 5,       ///< points (1/72 inch)
    kNone = 6,         ///< no unit recognised (factor 1)
    kMixed = 7,        ///< several different units found in a list (factor 1)
    kRadians = 8,      ///< radians, the base unit of angles
    kDegrees = 9,      ///< degrees
    kGradians = 10,    ///< gradians (400 to a turn)
    kYards = 11,       ///< yards (36 inches)
    /// End marker of the unit table; behaves like kNone in the factor tables.
    kUnitsCount = 12,  ///< end marker of the unit table; behaves like kNone in the factor tables
  };

  /// How a length is written (angles store but ignore it).
  enum Format : std::int32_t {
    kDecimal = 0,        ///< a decimal number in the chosen unit, with its suffix
    kArchitectural = 1,  ///< feet and inches with binary fractions of an inch
    kEngineering = 2,    ///< decimal feet
    kFractional = 3,     ///< inches with binary fractions
  };

  /// Notification names, posted with the settings object as sender.
  /// Posted by SetFormat() with notify true.
  static constexpr const char* kFormatChanged = "velmar::units::UnitsInfo::kFormatChanged";
  /// Posted by SetUnits() with notify true.
  static constexpr const char* kUnitsChanged = "velmar::units::UnitsInfo::kUnitsChanged";
  /// Posted by SetPrecision(), unless told not to.
  static constexpr const char* kPrecisionChanged = "velmar::units::UnitsInfo::kPrecisionChanged";

  /// Polymorphic root; LengthInfo and AngleInfo are the concrete settings.
  virtual ~UnitsInfo() = 0;
  /// A new heap copy made by the copy rules of the concrete class; the caller deletes it.
  virtual UnitsInfo* Clone() const = 0;
  /// 0 for lengths, 1 for angles.
  virtual int GetInfoKind() const = 0;

  /// The display format.
  virtual Format GetFormat() const;
  /// Stores `format`; posts kFormatChanged when `notify` is true (also when unchanged).
  virtual void SetFormat(Format format, bool notify);
  /// SetFormat(format, true).
  virtual void SetFormat(Format format);
  /// The unit of measure as stored.
  virtual Units GetUnits() const;
  /// Stores `units`; posts kUnitsChanged when `notify` is true (also when unchanged).
  virtual void SetUnits(Units units, bool notify);
  /// SetUnits(units, true).
  virtual void SetUnits(Units units);
  /// The factor from `units` to the base unit (inches or radians).
  virtual double GetConversionFactor(Units units) const = 0;
  /// GetConversionFactor() of GetUnits().
  virtual double GetConversionFactor() const = 0;
  /// The precision whose step is nearest to `step` (base units), 0 to 7.
  virtual int GetPrecisionForValue(double step) const = 0;
  /// The largest precision that means something for the format and units.
  virtual int GetMaxPrecision() const = 0;
  /// `value` (base units) rounded to the nearest multiple of
  /// GetPrecisionAsValue(); 0.0 in this base class.
  virtual double RoundToPrecision(double value) const;
  /// One precision step of `format`, `precision` and `units`, in base units.
  virtual double GetPrecisionAsValue(Format format, int precision, Units units) const = 0;
  /// One step of the own format, effective precision and units, in base units.
  virtual double GetPrecisionAsValue() const = 0;

  /// The precision as stored: decimal places for kDecimal, kEngineering and
  /// angles; the exponent of the finest binary fraction (1/2^precision inch) for
  /// kArchitectural and kFractional.
  int GetPrecision() const { return m_precision; }
  /// Stores `precision` and posts kPrecisionChanged.
  void SetPrecision(int precision);
  /// Stores `precision`; posts kPrecisionChanged when `notify` is true.
  void SetPrecision(int precision, bool notify);
  /// The smaller of the stored and the maximum precision.
  int GetEffectivePrecision() const;

  /// No unit suffix; feet-and-inch output writes whole feet without the zero inches.
  bool GetSuppressUnits() const { return m_suppressUnits; }
  /// Sets GetSuppressUnits(); never posts.
  void SetSuppressUnits(bool value) { m_suppressUnits = value; }
  /// A blank (true) or a hyphen (false) between feet and inches and before a fraction.
  bool GetSpaceSeparator() const { return m_spaceSeparator; }
  /// Sets GetSpaceSeparator(); never posts.
  void SetSpaceSeparator(bool value) { m_spaceSeparator = value; }
  /// Stored and copied for the host; nothing in the library reads it.
  bool GetExtraFlag() const { return m_extraFlag; }
  /// Sets GetExtraFlag(); never posts.
  void SetExtraFlag(bool value) { m_extraFlag = value; }
  /// Architectural and engineering output keep a zero fractional part.
  bool GetForceFraction() const { return m_forceFraction; }
  /// Sets GetForceFraction(); never posts.
  void SetForceFraction(bool value) { m_forceFraction = value; }
  /// Never prefix "~ " to an approximate value.
  bool GetSuppressApproximation() const { return m_suppressApproximation; }
  /// Sets GetSuppressApproximation(); never posts.
  void SetSuppressApproximation(bool value) { m_suppressApproximation = value; }

 protected:
  /// Decimal format, kNone, precision -1, every flag false.
  UnitsInfo() = default;
  /// Copies every field.
  UnitsInfo(const UnitsInfo&) = default;
  /// Copies every field.
  UnitsInfo& operator=(const UnitsInfo&) = default;

  /// Shared by the subclasses: the precision whose step (1, 1/base,
  /// 1/base^2 ...) is nearest to `value_in_display_units`; ties go finer.
  static int NearestPrecision(double value_in_display_units, double base);
  /// floor(value / step + 0.5) * step with step = GetPrecisionAsValue().
  double RoundToStep(double value) const;

  Format m_format = kDecimal;     ///< The display format.
  Units m_units = kNone;          ///< The unit as stored.
  std::int32_t m_precision = -1;  ///< The precision as stored.
  bool m_suppressUnits = false;   ///< See GetSuppressUnits().
  bool m_spaceSeparator = false;  ///< See GetSpaceSeparator().
  /// Stored and copied for the host; nothing in the library reads it.
  bool m_extraFlag = false;
  bool m_forceFraction = false;          ///< See GetForceFraction().
  bool m_suppressApproximation = false;  ///< See GetSuppressApproximation().
};

/// The factor from `units` to inches (millimetres: 1/25.4); every value 0 to
/// 12 is accepted, and any other value behaves like kNone (1.0).
FOLIAN_API double GetFactorToInches(UnitsInfo::Units units);
/// The reciprocal of GetFactorToInches(): inches times it give `units`.
FOLIAN_API double GetFactorFromInches(UnitsInfo::Units units);

/// The settings of lengths: all four formats; the unit matters in kDecimal only.
/// @stable
class FOLIAN_API LengthInfo : public UnitsInfo {
 public:
  /// Decimal inches, precision 2, no flags; nothing is posted.
  LengthInfo();
  /// Copies take the format-dependent units and the effective precision.
  LengthInfo(const LengthInfo& other);
  /// As the copy constructor, without posting.
  LengthInfo& operator=(const LengthInfo& other);
  /// Nothing to release.
  ~LengthInfo() override;

  LengthInfo* Clone() const override;
  int GetInfoKind() const override;
  /// kInches for architectural and fractional, kFeet for engineering.
  Units GetUnits() const override;
  double GetConversionFactor(Units units) const override;
  double GetConversionFactor() const override;
  int GetPrecisionForValue(double step) const override;
  int GetMaxPrecision() const override;
  double RoundToPrecision(double value) const override;
  double GetPrecisionAsValue(Format format, int precision, Units units) const override;
  double GetPrecisionAsValue() const override;
};

/// The settings of angles: radians, degrees or gradians; the format is ignored.
/// @stable
class FOLIAN_API AngleInfo : public UnitsInfo {
 public:
  /// Radians, precision 4, no flags; nothing is posted.
  AngleInfo();
  /// Copies keep the copy's own space-separator flag (false by default).
  AngleInfo(const AngleInfo& other);
  /// As the copy constructor, without posting.
  AngleInfo& operator=(const AngleInfo& other);
  /// Nothing to release.
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
