// The viewer library's persistent client identifier.
#pragma once

#include <string>

#include "FolianUtils/utf16.h"

namespace trelvin::viewer {

// Where the identifier is kept: beside Folian's private preference file of
// the current version. Empty when the data root is unknown.
velmar::utils::utf16_string ClientIdFile();

// A random version 4 UUID in lower-case text, or empty when the system's
// generator fails.
std::string MakeRandomUuid();

// Whether `text` is a UUID in the canonical 8-4-4-4-12 hexadecimal form.
bool IsUuidText(const std::string& text);

// The identifier in the file, made and stored first when the file is
// missing or does not hold one. Empty when none can be read or stored.
std::string GetOrCreateClientId();

}  // namespace trelvin::viewer
