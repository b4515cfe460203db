/// @file
/// Length text: formatting lengths given in inches for display, and reading
/// what a user typed for a length back into inches.
///
/// @stable
#pragma once

#include <system_error>

#include "FolianUtils/export.h"
#include "FolianUtils/numeric_formatter.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

/// Where CLengthFormatter::ReadLength stopped and why, as
/// std::from_chars_result.
/// @maychange
struct LengthReadResult {
  /// Past the length read; `first` when none was read.
  const utf16_unit* ptr;
  /// std::errc() on success, otherwise why nothing was read.
  std::errc ec;
};

/// Formats lengths given in inches as the document shows them, and reads
/// typed lengths back into inches.
///
/// Formatting and parsing may run on several threads at once, each with its
/// own formatter (after the first call has filled the unit texts).
///
/// @code{.cpp}
/// #include <iostream>
///
/// #include "FolianUtils/length_formatter.h"
///
/// velmar::units::LengthInfo info;  // the document's settings
/// info.SetFormat(velmar::units::UnitsInfo::kArchitectural);
/// info.SetPrecision(4);  // to 1/16"
/// velmar::utils::CLengthFormatter lengths(info);
/// std::cout << lengths.Format(66.5) << "\n";  // 5'-6 1/2"
/// double inches = 0.0;
/// if (lengths.Parse(VELMAR_U("2.5 m"), inches)) std::cout << inches << "\n";  // 98.4252
/// @endcode
/// @stable
class FOLIAN_API CLengthFormatter : public CNumericFormatter {
 public:
  /// The units of UnitsInfo.
  using Units = units::UnitsInfo::Units;
  /// The length formats of UnitsInfo.
  using UnitsFormat = units::UnitsInfo::Format;

  /// Copies the settings with the LengthInfo copy rules; adaptive precision
  /// starts off.
  explicit CLengthFormatter(const units::LengthInfo& info);
  /// Copies the settings and the adaptive-precision flag.
  CLengthFormatter(const CLengthFormatter& other);
  /// Copies the settings and the adaptive-precision flag.
  CLengthFormatter& operator=(const CLengthFormatter& other);
  /// Releases the copied settings.
  ~CLengthFormatter() override;

  /// When on, large values are written with fewer decimals or coarser
  /// fractions (never finer than the settings' precision).
  void SetUseAdaptivePrecision(bool use);

  /// The display text of a length in inches, rounded to the precision; a
  /// value the rounding moved noticeably starts with "~ ". Not-a-number and
  /// infinite lengths give an empty text.
  velmar_ustring Format(double inches) override;
  /// Format without the leading "~" and without trailing zero decimals;
  /// without the unit suffix when units are suppressed.
  velmar_ustring FormatAndStrip(double inches);
  /// Area text in square inches, square feet or the square of the decimal
  /// unit, followed by the unit name and "²".
  velmar_ustring FormatArea(double squareInches);

  /// The unit suffix: "\"", "'", or a blank and the (translated) metric or
  /// point abbreviation; "\"" for every other value.
  static velmar_ustring GetUnitsString(Units units);
  /// One precision step: in the display unit for kDecimal, in inches for the
  /// other formats; 0.0 for an unknown format. Negative precisions count as 0.
  static double GetLengthPrecisionAsLength(UnitsFormat format, int precision);

  /// Reads a length ("5'-6 1/2\"", "3/4", "2.5 m", "~ 3.5 mm" ...) into
  /// inches; a bare number is in `units`, a feet part always in feet. On
  /// failure returns false and `out` holds what was read so far.
  [[nodiscard]] static bool Parse(const velmar_ustring& text, double& out, Units units);
  /// Reads up to `count` values separated by GetSeparatorChar() into out[0]
  /// on; an empty value reads as 0. Returns the number of values stored and
  /// stops at the first that fails. A null `out` stores nothing.
  [[nodiscard]] static int Parse(const velmar_ustring& text, int count, double* out, Units units);
  /// The single-length form above with the units of the formatter's settings.
  [[nodiscard]] bool Parse(const velmar_ustring& text, double& out) const;
  /// The list form above with the units of the formatter's settings.
  [[nodiscard]] int Parse(const velmar_ustring& text, int count, double* out) const;

  /// Reads one length at the start of [first, last), in the manner of
  /// std::from_chars: an optional "-", a number, fraction or mixed number,
  /// feet before a foot mark and inches after it, and a unit suffix
  /// ("5'-6 1/2\"", "3/4 mm"); a bare number is in `units`. It stops before
  /// the first unit that does not continue the length ("5'-6\" x 3'" stops at
  /// the blank, "2 * 3'" after the 2). On success ec is std::errc() and ptr
  /// points past the length; otherwise ptr is `first`, `inches` is left
  /// unchanged, and ec is invalid_argument (no number at `first`, or a
  /// fraction over zero) or result_out_of_range (not a finite number). A whole
  /// text that it reads to its end Parse reads the same.
  /// @maychange
  [[nodiscard]] static LengthReadResult ReadLength(const utf16_unit* first, const utf16_unit* last,
                                                   double& inches, Units units);

  /// Whether the whole of `text` is a unit text (ignoring case): the metric
  /// and point abbreviations (translated), "\"" or "'". Stores the unit in
  /// *units on a match; a null `units` gives false.
  [[nodiscard]] static bool GetLengthUnitFromString(const velmar_ustring& text, Units* units);
  /// The units named at the ends of the values of a list: kNone when none,
  /// kMixed when they differ. True when at least one value names a unit; a
  /// null `units` gives false.
  [[nodiscard]] static bool GetLengthUnitFromRawString(const velmar_ustring& text, Units* units);

  /// The measurement box's pair of plain numbers with three decimals, joined
  /// by the separator and a blank ("1.000, 48.000").
  static velmar_ustring FormatScaleForVCB(double first, double second);

 private:
  int GetPrecision(double value) const;
  double Round(double value) const;
  /// Appends the number part with its marks (no sign) to `text`.
  void FormatInches(double value, int precision, velmar_ustring::string_type& text) const;

  bool m_useAdaptivePrecision = false;
  units::LengthInfo m_lengthInfo;
};

/// Replaces the metric and point abbreviations by the host's translations.
/// Only the first call in the process (or the first GetUnitsString or
/// GetLengthUnitFromString) does anything; the texts are fixed from then on.
FOLIAN_API void SetLengthFormatterStrings();

}  // namespace velmar::utils
