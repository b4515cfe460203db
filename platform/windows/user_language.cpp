#include "platform/user_language.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace velmar::platform {

std::uint16_t QueryUserLanguageId() { return GetUserDefaultLangID(); }

bool QueryUserLocaleName(std::string& name) {
  wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
  if (GetUserDefaultLocaleName(buffer, LOCALE_NAME_MAX_LENGTH) == 0) return false;
  char utf8[4 * LOCALE_NAME_MAX_LENGTH] = {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, -1, utf8, sizeof utf8, nullptr, nullptr);
  if (size == 0) return false;
  name.assign(utf8, static_cast<std::size_t>(size - 1));
  return true;
}

}  // namespace velmar::platform
