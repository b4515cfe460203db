// The PNG background reader behind GetImageBackgroundColor.
#pragma once

#include <cstddef>
#include <cstdio>

#include "FolianUtils/color.h"
#include "FolianUtils/ustring.h"

namespace folian {

// GetImageBackgroundColor without the extension test.
bool GetPNGBackgroundColor(const velmar::utils::velmar_ustring& path, velmar::utils::CColor* color);

// The same reading over bytes in memory.
bool ReadPNGBackgroundColor(const unsigned char* data, std::size_t size,
                            velmar::utils::CColor* color);

// The text after the last "." of the normalised path when that dot follows
// the last "/"; otherwise empty.
velmar::utils::velmar_ustring GetFileExtension(const velmar::utils::velmar_ustring& path);

// A stdio stream, or null when `path` or `mode` is empty or the open fails.
std::FILE* OpenFile(const velmar::utils::velmar_ustring& path,
                    const velmar::utils::velmar_ustring& mode);

}  // namespace folian
