#include "platform/user_locale.h"

#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <time.h>

#include <cstring>
#include <string>

namespace velmar::platform {
namespace {

// The POSIX precedence for the numeric category.
const char* UserNumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return nullptr;
}

}  // namespace

std::string QueryUserDecimalSeparator() {
  const char* name = UserNumericLocaleName();
  if (name == nullptr) return {};
  const locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return {};
  std::string point = nl_langinfo_l(RADIXCHAR, locale);
  freelocale(locale);
  return point;
}

std::int64_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

double StrtodC(const char* text, char** end) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text, end, c_locale);
}

}  // namespace velmar::platform
