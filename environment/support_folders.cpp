#include "FolianUtils/support_folders.h"

#include "FolianUtils/application.h"
#include "FolianUtils/constants.h"
#include "base/version.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_internal.h"
#include "platform/file_system.h"

namespace folian {

using velmar::utils::velmar_ustring;

namespace {

using velmar::base::kOldestUpgradeVersion;

velmar_ustring UserDataBase(bool roaming) {
  return NormalizePath(velmar_ustring(velmar::platform::GetDataFolder(
      roaming ? velmar::platform::DataFolder::kRoaming : velmar::platform::DataFolder::kLocal)));
}

velmar_ustring SearchSupportFolders(const velmar_ustring& name) {
  velmar_ustring found;
  if (FindFileRecursive(GetUserAppFolder(ApplicationName(), velmar::kCurrentMajorVersion, true),
                        name, found) ||
      FindFileRecursive(GetCommonAppFolder(ApplicationName()), name, found) ||
      FindFileRecursive(GetApplicationFolder(), name, found)) {
    return NormalizePath(found);
  }
  return {};
}

}  // namespace

velmar_ustring ComposeSupportPath(const velmar_ustring& base, const velmar_ustring& appName,
                                  int version) {
  if (version == 0) return AppendPath(base, "Trelvin/Viewer");
  velmar_ustring sub_path;
  sub_path.Format(VELMAR_U("Trelvin/Trelvin 20%d"), version);
  return AppendPath(AppendPath(base, sub_path), appName);
}

velmar_ustring UserAppFolderPath(const velmar_ustring& appName, int version, bool roaming) {
  return NormalizePath(ComposeSupportPath(UserDataBase(roaming), appName, version));
}

velmar_ustring GetUserAppFolder(const velmar_ustring& appName, int version, bool roaming) {
  const velmar_ustring folder = UserAppFolderPath(appName, version, roaming);
  if (!IsDirectory(folder)) CreateDirectories(folder);
  return folder;
}

velmar_ustring GetCommonAppFolder(const velmar_ustring& appName) {
  const velmar_ustring base = NormalizePath(
      velmar_ustring(velmar::platform::GetDataFolder(velmar::platform::DataFolder::kCommon)));
  const velmar_ustring folder = ComposeSupportPath(base, appName, velmar::kCurrentMajorVersion);
  if (!IsDirectory(folder)) CreateDirectories(folder);
  return NormalizePath(folder);
}

bool UserAppFolderExists(const velmar_ustring& appName, int version, bool roaming) {
  const velmar_ustring folder = ComposeSupportPath(UserDataBase(roaming), appName, version);
  return !folder.empty() && FileExists(folder);
}

velmar_ustring GetApplicationFolder() {
  return GetParentFolder(velmar_ustring(velmar::platform::GetExecutablePath()));
}

velmar_ustring GetUserSupportFolder(int version) {
  return GetUserAppFolder(ApplicationName(), version, true);
}

velmar_ustring GetUserSupportFolder() { return GetUserSupportFolder(velmar::kCurrentMajorVersion); }

velmar_ustring GetInstallSupportFolder() { return GetCommonAppFolder(ApplicationName()); }

velmar_ustring FindSupportFile(const velmar_ustring& name) { return SearchSupportFolders(name); }

velmar_ustring FindSupportFile(const velmar_ustring& name, const velmar_ustring& folder) {
  return SearchSupportFolders(AppendPath(folder, name));
}

// The exported signature takes the name by value.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
int FindSupportFolders(const velmar_ustring name, std::vector<velmar_ustring>& folders) {
  velmar_ustring found = FindSupportFile(name);
  if (found.empty()) return 0;
  folders.push_back(std::move(found));
  return 1;
}

int GetVersionForUpgrade() {
  for (int version = velmar::kCurrentMajorVersion - 1; version >= kOldestUpgradeVersion;
       --version) {
    if (UserAppFolderExists(ApplicationName(), version, true)) return version;
  }
  return -1;
}

velmar_ustring PathToTrelvin() {
  const velmar_ustring application_folder = GetApplicationFolder();
  if (application_folder.empty()) return {};
  const velmar_ustring candidate =
      AppendPath(GetParentFolder(application_folder), "Trelvin/Trelvin.exe");
  return FileExists(candidate) ? candidate : velmar_ustring();
}

}  // namespace folian
