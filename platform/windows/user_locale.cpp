#include "platform/user_locale.h"

#include <locale.h>
#include <stdlib.h>
#include <windows.h>

#include <cstddef>
#include <string>

namespace velmar::platform {

std::string QueryUserDecimalSeparator() {
  wchar_t point[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, point, 8) <= 1) return {};
  char utf8[32] = {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, point, -1, utf8, sizeof utf8, nullptr, nullptr);
  return size > 1 ? std::string(utf8, static_cast<std::size_t>(size - 1)) : std::string();
}

std::int64_t MonotonicMilliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

double StrtodC(const char* text, char** end) {
  static const _locale_t c_locale = _create_locale(LC_ALL, "C");
  return _strtod_l(text, end, c_locale);
}

}  // namespace velmar::platform
