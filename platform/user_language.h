// The user's interface language and locale name.
#pragma once

#include <cstdint>
#include <string>

namespace velmar::platform {

// The user's language as a Windows language identifier (primary language
// in bits 0-9, sub-language above); 0x0409 (English, United States) when
// the user has none.
std::uint16_t QueryUserLanguageId();

// The user's locale name in BCP 47 form ("de-DE"), in UTF-8; false, leaving
// `name` alone, when there is none.
bool QueryUserLocaleName(std::string& name);

}  // namespace velmar::platform
