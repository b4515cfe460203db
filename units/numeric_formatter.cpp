#include "FolianUtils/numeric_formatter.h"

#include "foundation/number_reader.h"

namespace velmar::utils {

CNumericFormatter::~CNumericFormatter() = default;

utf16_unit CNumericFormatter::GetDecimalPointChar() {
  // Fixed for the life of the process: formatted text and the separator
  // derived from it must not change under a running document.
  static const utf16_unit point = QueryUserDecimalPoint();
  return point;
}

utf16_unit CNumericFormatter::GetSeparatorChar() {
  static const utf16_unit separator = GetDecimalPointChar() == ',' ? ';' : ',';
  return separator;
}

unsigned int CNumericFormatter::NumberOfValues(const velmar_ustring& text) {
  if (text.empty()) return 0;
  const utf16_unit separator = GetSeparatorChar();
  unsigned int count = 1;
  for (const utf16_unit u : text) count += u == separator ? 1 : 0;
  return count;
}

double CNumericFormatter::TTOF(const velmar_ustring& text) {
  double value = 0.0;
  // Nothing read leaves 0.0, which is this function's answer then.
  (void)StringToDouble(text.c_str(), value);
  return value;
}

}  // namespace velmar::utils
