#include "platform/user_language.h"

#include <windows.h>

namespace velmar::platform {

std::uint16_t QueryUserLanguageId() { return GetUserDefaultLangID(); }

bool QueryUserLocaleName(utils::velmar_ustring& name) {
  wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
  if (GetUserDefaultLocaleName(buffer, LOCALE_NAME_MAX_LENGTH) == 0) return false;
  name = utils::velmar_ustring(buffer);
  return true;
}

}  // namespace velmar::platform
