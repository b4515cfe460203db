// Angles as display text in the unit of an AngleInfo, and angles typed by
// the user.
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

class FOLIAN_API AngleFormatter : public CNumericFormatter {
 public:
  explicit AngleFormatter(const units::AngleInfo& info);
  AngleFormatter(const AngleFormatter& other);
  AngleFormatter& operator=(const AngleFormatter& other);
  ~AngleFormatter() override;

  // `radians` in the display unit with the effective precision, the
  // locale's decimal point and the unit text ("°" for degrees, the
  // translated short radian text for every other unit).
  velmar_ustring Format(double radians) override;

  // Degrees with one decimal for the measurement box; angles within the
  // zero tolerance show as 0.
  static velmar_ustring FormatAngleForVCB(double radians);

  // Reads the number the user typed, in the unit it was typed in: a leading
  // "~" and a trailing degree or (one-character) radian mark are skipped,
  // and a "%" makes it a percentage of a full turn, in degrees. False, with
  // `out` = 0, when there is no number.
  static bool Parse(const velmar_ustring& text, double& out);

  const units::AngleInfo& GetAngleInfo() const { return m_angleInfo; }

 private:
  units::AngleInfo m_angleInfo;
};

}  // namespace velmar::utils
