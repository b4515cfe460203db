// Handing a URL or file to the desktop's default handler.
#pragma once

#include "FolianUtils/utf16.h"

namespace velmar::platform {

// Opens `target` the way the desktop's "open" action does, without waiting
// for the handler. False when the handler could not be started.
bool OpenWithShell(const utils::utf16_string& target);

}  // namespace velmar::platform
