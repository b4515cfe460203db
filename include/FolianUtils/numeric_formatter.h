// The locale-dependent characters of measurement text and number reading.
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

class FOLIAN_API CNumericFormatter {
 public:
  CNumericFormatter() = default;
  CNumericFormatter(const CNumericFormatter&) = default;
  CNumericFormatter& operator=(const CNumericFormatter&) = default;
  virtual ~CNumericFormatter();

  virtual velmar_ustring Format(double value) = 0;

  // The first unit of the user's decimal separator ("." when it has none),
  // read once and kept for the life of the process.
  static utf16_unit GetDecimalPointChar();
  // ";" when the decimal point is ",", otherwise ","; kept like the above.
  static utf16_unit GetSeparatorChar();
  // 0 for an empty text, else 1 + the number of separator characters.
  static unsigned int NumberOfValues(const velmar_ustring& text);
  // StringToDouble without the success flag: 0.0 when there is no number.
  static double TTOF(const velmar_ustring& text);
};

}  // namespace velmar::utils
