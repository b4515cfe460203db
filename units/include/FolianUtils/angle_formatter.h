/// @file
/// Angles as display text in the unit of an AngleInfo, and angles typed by
/// the user.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

/// Formats angles given in radians in the unit and precision of an AngleInfo,
/// and reads typed angles.
///
/// Formatting and parsing may run on several threads at once, each with its
/// own formatter (after the first call has filled the unit texts).
/// @stable
class FOLIAN_API AngleFormatter : public CNumericFormatter {
 public:
  /// A formatter with a copy of `info`.
  explicit AngleFormatter(const units::AngleInfo& info);
  /// Copies the settings.
  AngleFormatter(const AngleFormatter& other);
  /// Copies the settings.
  AngleFormatter& operator=(const AngleFormatter& other);
  /// Releases the copied settings.
  ~AngleFormatter() override;

  /// `radians` in the display unit with the effective precision, the
  /// locale's decimal point and the unit text ("°" for degrees, the
  /// translated short radian text for every other unit).
  velmar_ustring Format(double radians) override;

  /// Degrees with one decimal for the measurement box; angles within the
  /// zero tolerance show as 0.
  static velmar_ustring FormatAngleForVCB(double radians);

  /// Reads the number the user typed, in the unit it was typed in: a leading
  /// "~" and a trailing degree or (one-character) radian mark are skipped,
  /// and a "%" makes it a percentage of a full turn, in degrees. False, with
  /// `out` = 0, when there is no number.
  [[nodiscard]] static bool Parse(const velmar_ustring& text, double& out);

  /// The settings this formatter formats with.
  const units::AngleInfo& GetAngleInfo() const { return m_angleInfo; }

 private:
  units::AngleInfo m_angleInfo;
};

}  // namespace velmar::utils
