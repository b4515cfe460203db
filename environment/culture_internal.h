// The culture derived from the operating system's user language.
#pragma once

#include <cstdint>

#include "FolianUtils/ustring.h"

namespace folian {

// The culture of a Windows language identifier: the language code of its
// primary language, with a region for English, Chinese and Portuguese;
// "en-US" for a language the application does not know.
velmar::utils::velmar_ustring CultureFromLanguageId(std::uint16_t language_id);
// CultureFromLanguageId of the user's language.
velmar::utils::velmar_ustring GetOSCulture();

}  // namespace folian
