/// @file
/// The locale-dependent characters of measurement text and number reading.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

/// The base of the formatters, with the locale-dependent characters of
/// measurement text.
///
/// The static members may be called from any thread once the first call
/// has filled their cache.
/// @stable
class FOLIAN_API CNumericFormatter {
 public:
  /// An empty base; formatters are made through their own constructors.
  CNumericFormatter() = default;
  /// Copies nothing: the base has no state.
  CNumericFormatter(const CNumericFormatter&) = default;
  /// Copies nothing: the base has no state.
  CNumericFormatter& operator=(const CNumericFormatter&) = default;
  /// Polymorphic base.
  virtual ~CNumericFormatter();

  /// The display text of `value` (inches for lengths, radians for angles).
  virtual velmar_ustring Format(double value) = 0;

  /// The first unit of the user's decimal separator ("." when it has none),
  /// read once and kept for the life of the process.
  static utf16_unit GetDecimalPointChar();
  /// ";" when the decimal point is ",", otherwise ","; kept like the above.
  static utf16_unit GetSeparatorChar();
  /// 0 for an empty text, else 1 + the number of separator characters.
  static unsigned int NumberOfValues(const velmar_ustring& text);
  /// StringToDouble without the success flag: 0.0 when there is no number.
  static double TTOF(const velmar_ustring& text);
};

}  // namespace velmar::utils
