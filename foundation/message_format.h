// Rewrites message-style format arguments into positional printf form.
#pragma once

#include "FolianUtils/ustring.h"

namespace velmar::utils {

// "%1!d!" becomes "%1$d", "%2 " becomes "%2$s ", a trailing "%3" becomes
// "%3$s"; "%2.3f"-style widths and ordinary printf formats pass unchanged.
// Only argument numbers 1 to 9 are recognised.
velmar_ustring::string_type RewriteMessageFormat(const velmar_ustring::string_type& format);

}  // namespace velmar::utils
