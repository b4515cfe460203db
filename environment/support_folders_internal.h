// Support folders for any application word and version, for the preference
// store and the other environment functions.
#pragma once

#include "FolianUtils/ustring.h"

namespace folian {

// "Trelvin/Trelvin 20<version>/<appName>" below `base`, or "Trelvin/Viewer"
// for version 0 (without the application word).
velmar::utils::velmar_ustring ComposeSupportPath(const velmar::utils::velmar_ustring& base,
                                                 const velmar::utils::velmar_ustring& appName,
                                                 int version);
// The per-user folder in roaming (true) or local (false) application data,
// named only: nothing is created or read.
velmar::utils::velmar_ustring UserAppFolderPath(const velmar::utils::velmar_ustring& appName,
                                                int version, bool roaming);
// The same folder, created when missing (a failure is ignored). May throw
// like IsDirectory.
velmar::utils::velmar_ustring GetUserAppFolder(const velmar::utils::velmar_ustring& appName,
                                               int version, bool roaming);
// The all-users folder of the current version, created when missing.
velmar::utils::velmar_ustring GetCommonAppFolder(const velmar::utils::velmar_ustring& appName);
// The per-user folder exists; creates nothing.
bool UserAppFolderExists(const velmar::utils::velmar_ustring& appName, int version, bool roaming);
// The folder of the running executable (not of this library).
velmar::utils::velmar_ustring GetApplicationFolder();

}  // namespace folian
