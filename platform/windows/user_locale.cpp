#include "platform/user_locale.h"

#include <locale.h>
#include <stdlib.h>
#include <windows.h>

namespace velmar::platform {

utils::utf16_unit QueryUserDecimalPoint() {
  wchar_t point[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, point, 8) <= 1) return L'.';
  return point[0];
}

std::int64_t MonotonicMilliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

double StrtodC(const char* text, char** end) {
  static const _locale_t c_locale = _create_locale(LC_ALL, "C");
  return _strtod_l(text, end, c_locale);
}

}  // namespace velmar::platform
