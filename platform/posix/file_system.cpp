#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/path_split.h"
#include "platform/posix/folder_owner.h"
#include "platform/posix/utf8_text.h"

namespace velmar::platform {
namespace {

// The UTF-8 form for the system calls; false for a name no call can take.
bool ToSystemPath(const utils::utf16_string& path, std::string& out) {
  out = ToUtf8(path);
  return !out.empty() && out.find('\0') == std::string::npos;
}

bool MakeOneFolder(const std::string& name) {
  if (mkdir(name.c_str(), 0777) != 0) return false;
  struct stat parent {};
  if (OwnerToGiveTo(name, parent)) (void)lchown(name.c_str(), parent.st_uid, parent.st_gid);
  return true;
}

utils::utf16_string FromEnvironment(const char* variable) {
  const char* value = getenv(variable);
  return value != nullptr ? FromUtf8(value) : utils::utf16_string();
}

// The variable, or $HOME followed by `fallback` ("" when neither is set).
utils::utf16_string XdgFolder(const char* variable, const char* fallback) {
  utils::utf16_string folder = FromEnvironment(variable);
  if (!folder.empty()) return folder;
  const utils::utf16_string home = FromEnvironment("HOME");
  return home.empty() ? home : home + FromUtf8(fallback);
}

utils::utf16_string FirstDataDirectory() {
  const char* value = getenv("XDG_DATA_DIRS");
  std::string first = value != nullptr ? value : "";
  first = first.substr(0, first.find(':'));
  return FromUtf8(first.empty() ? std::string("/usr/local/share") : first);
}

}  // namespace

utils::utf16_string GetDataFolder(DataFolder folder) {
  switch (folder) {
    case DataFolder::kRoaming:
      return XdgFolder("XDG_CONFIG_HOME", "/.config");
    case DataFolder::kLocal:
      return XdgFolder("XDG_DATA_HOME", "/.local/share");
    case DataFolder::kCommon:
      return FirstDataDirectory();
  }
  return {};
}

utils::utf16_string GetExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return FromUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool SplitDriveAndDirectory(const utils::utf16_string& path, utils::utf16_string& drive,
                            utils::utf16_string& directory) {
  drive.clear();
  directory.clear();
  std::size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') start = 2;
  const std::size_t last = base::LastPathSeparator(path);
  const std::size_t directory_end = last == path.npos || last < start ? start : last + 1;
  // The sizes of the Windows runtime's buffers, terminator excluded.
  if (directory_end - start > 255) return false;
  drive = path.substr(0, start);
  directory = path.substr(start, directory_end - start);
  return true;
}

bool StatusSucceeds(const utils::utf16_string& path) {
  std::string name;
  struct stat status {};
  return ToSystemPath(path, name) && stat(name.c_str(), &status) == 0;
}

PathKind QueryPathKind(const utils::utf16_string& path, std::error_code& error) {
  error.clear();
  std::string name;
  if (!ToSystemPath(path, name)) return PathKind::kNotFound;
  struct stat status {};
  if (stat(name.c_str(), &status) == 0) {
    return S_ISDIR(status.st_mode) ? PathKind::kFolder : PathKind::kOther;
  }
  const int code = errno;
  if (code == ENOENT || code == ENOTDIR || code == ENAMETOOLONG) return PathKind::kNotFound;
  error.assign(code, std::generic_category());
  return PathKind::kError;
}

bool MakeFolder(const utils::utf16_string& path) {
  std::string name;
  return ToSystemPath(path, name) && MakeOneFolder(name);
}

bool MakeFolders(const utils::utf16_string& path) {
  std::string name;
  if (!ToSystemPath(path, name)) return false;
  // From the top down, so that each new folder takes its parent's owner.
  for (std::size_t end = name.find('/', 1);; end = name.find('/', end + 1)) {
    const std::string folder = name.substr(0, end);
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0 && !MakeOneFolder(folder) && errno != EEXIST) {
      return false;
    }
    if (end == std::string::npos) {
      return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }
  }
}

bool EntryExists(const utils::utf16_string& path) {
  std::string name;
  struct stat status {};
  return ToSystemPath(path, name) && lstat(name.c_str(), &status) == 0;
}

bool ListSubfolders(const utils::utf16_string& folder, FolderIdentity& identity,
                    std::vector<utils::utf16_string>& names) {
  names.clear();
  std::string name;
  if (!ToSystemPath(folder, name)) return false;
  DIR* const listing = opendir(name.c_str());
  if (listing == nullptr) return false;
  const int descriptor = dirfd(listing);
  struct stat status {};
  if (fstat(descriptor, &status) != 0) {
    closedir(listing);
    return false;
  }
  identity.volume = static_cast<std::uint64_t>(status.st_dev);
  identity.index = static_cast<std::uint64_t>(status.st_ino);
  while (const dirent* entry = readdir(listing)) {
    const std::string entry_name = entry->d_name;
    if (entry_name == "." || entry_name == "..") continue;
    bool is_folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat target {};
      is_folder = fstatat(descriptor, entry->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
    }
    if (!is_folder) continue;
    // A name that is not UTF-8 cannot be handed out as a path.
    utils::utf16_string decoded = FromUtf8(entry_name);
    if (!decoded.empty()) names.push_back(std::move(decoded));
  }
  closedir(listing);
  return true;
}

}  // namespace velmar::platform
