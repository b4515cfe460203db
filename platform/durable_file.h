// Files of the common preference library that survive a crash: whole-file
// reads that tell a missing file from an unreadable one, and writes that
// replace a file in one step after its content reached the disk.
//
// Compiled into TrelvinCommonPreferences, which cannot use FolianUtils, so
// it converts paths itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FolianUtils/ustring.h"

namespace velmar::platform {

enum class FileReadResult {
  kRead,
  kMissing,   // neither the file nor its folder exists
  kTooLarge,  // larger than the limit; nothing read
  kFailed,    // exists but cannot be opened or read (permissions, a lock)
};

FileReadResult ReadFileBytes(const utils::velmar_ustring& path, std::size_t max_size,
                             std::string& bytes);

// Creates `path` (failing when it exists), writes `bytes` and flushes them
// to the disk. A failure removes what was created.
bool WriteNewFileDurably(const utils::velmar_ustring& path, const std::string& bytes);

// Puts `source` in the place of `target` in one step, replacing it, and
// flushes the folder entry.
bool ReplaceFileAtomically(const utils::velmar_ustring& source,
                           const utils::velmar_ustring& target);

// Renames `source` to `target` unless `target` exists.
bool RenameWithoutReplacing(const utils::velmar_ustring& source,
                            const utils::velmar_ustring& target);

bool RemoveFile(const utils::velmar_ustring& path);

// Names of the entries of `folder`; false when it cannot be listed.
bool ListFolderEntries(const utils::velmar_ustring& folder,
                       std::vector<utils::velmar_ustring::string_type>& names);

std::uint32_t CurrentProcessId();

}  // namespace velmar::platform
