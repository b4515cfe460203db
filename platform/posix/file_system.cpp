#include "platform/file_system.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace velmar::platform {
namespace {

// The UTF-8 form for the system calls; false for a name no call can take.
bool ToSystemPath(const utils::velmar_ustring& path, std::string& out) {
  out = path.ToUTF8();
  return !out.empty() && out.find('\0') == std::string::npos;
}

utils::velmar_ustring FromEnvironment(const char* variable) {
  const char* value = getenv(variable);
  return value != nullptr ? utils::velmar_ustring(value) : utils::velmar_ustring();
}

// The variable, or $HOME followed by `fallback` ("" when neither is set).
utils::velmar_ustring XdgFolder(const char* variable, const char* fallback) {
  utils::velmar_ustring folder = FromEnvironment(variable);
  if (!folder.empty()) return folder;
  const utils::velmar_ustring home = FromEnvironment("HOME");
  return home.empty() ? home : home + fallback;
}

utils::velmar_ustring FirstDataDirectory() {
  const char* value = getenv("XDG_DATA_DIRS");
  std::string first = value != nullptr ? value : "";
  first = first.substr(0, first.find(':'));
  return utils::velmar_ustring(first.empty() ? std::string("/usr/local/share") : first);
}

}  // namespace

utils::velmar_ustring GetDataFolder(DataFolder folder) {
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

utils::velmar_ustring GetExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return utils::velmar_ustring(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool SplitDriveAndDirectory(const utils::velmar_ustring& path, utils::velmar_ustring& drive,
                            utils::velmar_ustring& directory) {
  drive.clear();
  directory.clear();
  const utils::velmar_ustring::string_type& text = path.str();
  std::size_t start = 0;
  if (text.size() >= 2 && text[1] == ':') start = 2;
  const std::size_t last = text.find_last_of(VELMAR_U("/\\"));
  const std::size_t directory_end = last == text.npos || last < start ? start : last + 1;
  // The sizes of the Windows runtime's buffers, terminator excluded.
  if (directory_end - start > 255) return false;
  drive = utils::velmar_ustring(text.substr(0, start));
  directory = utils::velmar_ustring(text.substr(start, directory_end - start));
  return true;
}

bool StatusSucceeds(const utils::velmar_ustring& path) {
  std::string name;
  struct stat status {};
  return ToSystemPath(path, name) && stat(name.c_str(), &status) == 0;
}

PathKind QueryPathKind(const utils::velmar_ustring& path, std::error_code& error) {
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

bool MakeFolder(const utils::velmar_ustring& path) {
  std::string name;
  return ToSystemPath(path, name) && mkdir(name.c_str(), 0777) == 0;
}

bool EntryExists(const utils::velmar_ustring& path) {
  std::string name;
  struct stat status {};
  return ToSystemPath(path, name) && lstat(name.c_str(), &status) == 0;
}

bool ListSubfolders(const utils::velmar_ustring& folder, FolderIdentity& identity,
                    std::vector<utils::velmar_ustring>& names) {
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
    utils::velmar_ustring decoded(entry_name);
    if (!decoded.empty()) names.push_back(std::move(decoded));
  }
  closedir(listing);
  return true;
}

}  // namespace velmar::platform
