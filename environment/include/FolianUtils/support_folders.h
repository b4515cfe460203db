/// @file
/// The application's support folders and the search for support files.
///
/// Support data lives below the companion modeller's folder tree,
/// "Trelvin/Trelvin 20<version>/Folian", once per user (roaming application
/// data) and once for all users. Every path handed out is normalised: forward
/// slashes, no doubled or trailing separator. Nothing is cached; each call
/// looks at the disk again, so calls on several threads at once share only
/// the file system.
///
/// @stable
#pragma once

#include <vector>

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// The per-user roaming folder of `version` ("Trelvin/Viewer" for 0, without
/// the application word), created when missing; a failed creation is ignored.
/// Throws std::filesystem::filesystem_error ("status") when the folder's
/// status cannot be read for a reason other than its absence.
FOLIAN_API velmar::utils::velmar_ustring GetUserSupportFolder(int version);
/// The same for the current version.
FOLIAN_API velmar::utils::velmar_ustring GetUserSupportFolder();
/// The all-users folder of the current version, created when missing.
FOLIAN_API velmar::utils::velmar_ustring GetInstallSupportFolder();

/// Searches the per-user folder, then the all-users folder (both created when
/// missing), then the executable's folder, each at any depth, and returns the
/// full path of the first match, or an empty string.
FOLIAN_API velmar::utils::velmar_ustring FindSupportFile(const velmar::utils::velmar_ustring& name);
/// The same search for `folder` joined with `name` ("fr" and "strings.json"
/// look for "fr/strings.json").
FOLIAN_API velmar::utils::velmar_ustring FindSupportFile(
    const velmar::utils::velmar_ustring& name, const velmar::utils::velmar_ustring& folder);
/// Appends the path FindSupportFile(name) finds to `folders` and returns 1;
/// returns 0 and leaves `folders` untouched when there is none.
[[nodiscard]] FOLIAN_API int FindSupportFolders(
    const velmar::utils::velmar_ustring name, std::vector<velmar::utils::velmar_ustring>& folders);

/// The newest earlier version (25 down to 18) whose per-user roaming folder
/// exists, or -1. Creates nothing.
FOLIAN_API int GetVersionForUpgrade();
/// The companion modeller's executable, expected at "Trelvin/Trelvin.exe"
/// beside the application's folder; empty when that file does not exist.
FOLIAN_API velmar::utils::velmar_ustring PathToTrelvin();

}  // namespace folian
