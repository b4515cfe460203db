#include "platform/file_system.h"

#include <direct.h>
#include <shlobj.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

namespace velmar::platform {
namespace {

// A name with an embedded null would be cut short by every call.
bool IsCallable(const utils::utf16_string& path) {
  return !path.empty() && path.find(L'\0') == utils::utf16_string::npos;
}

bool IsNotFoundError(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NOT_READY:
    case ERROR_INVALID_PARAMETER:
      return true;
    default:
      return false;
  }
}

// Opens the entry a path reaches, links followed; folders included.
HANDLE OpenForQuery(const utils::utf16_string& path) {
  return CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

utils::utf16_string GetDataFolder(DataFolder folder) {
  int csidl = CSIDL_APPDATA;
  if (folder == DataFolder::kLocal) csidl = CSIDL_LOCAL_APPDATA;
  if (folder == DataFolder::kCommon) csidl = CSIDL_COMMON_APPDATA;
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
  return utils::utf16_string(buffer);
}

utils::utf16_string GetExecutablePath() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return utils::utf16_string(buffer, length);
}

bool SplitDriveAndDirectory(const utils::utf16_string& path, utils::utf16_string& drive,
                            utils::utf16_string& directory) {
  wchar_t drive_part[3] = {};
  wchar_t directory_part[256] = {};
  drive.clear();
  directory.clear();
  if (!IsCallable(path)) return path.empty();
  if (_wsplitpath_s(path.c_str(), drive_part, 3, directory_part, 256, nullptr, 0, nullptr, 0) !=
      0) {
    return false;
  }
  drive = utils::utf16_string(drive_part);
  directory = utils::utf16_string(directory_part);
  return true;
}

bool StatusSucceeds(const utils::utf16_string& path) {
  struct _stat64 status {};
  return IsCallable(path) && _wstat64(path.c_str(), &status) == 0;
}

PathKind QueryPathKind(const utils::utf16_string& path, std::error_code& error) {
  error.clear();
  if (!IsCallable(path)) return PathKind::kNotFound;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A link: what it points to decides.
    const HANDLE target = OpenForQuery(path);
    BY_HANDLE_FILE_INFORMATION information{};
    attributes = INVALID_FILE_ATTRIBUTES;
    if (target != INVALID_HANDLE_VALUE) {
      if (GetFileInformationByHandle(target, &information)) {
        attributes = information.dwFileAttributes;
      }
      CloseHandle(target);
    }
  }
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kOther;
  }
  const DWORD code = GetLastError();
  if (IsNotFoundError(code)) return PathKind::kNotFound;
  error.assign(static_cast<int>(code), std::system_category());
  return PathKind::kError;
}

bool MakeFolder(const utils::utf16_string& path) {
  return IsCallable(path) && _wmkdir(path.c_str()) == 0;
}

// A new folder inherits its parent's permissions here; no owner to pass on.
bool MakeFolders(const utils::utf16_string& path) {
  if (!IsCallable(path)) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  return std::filesystem::is_directory(std::filesystem::path(path), error);
}

bool EntryExists(const utils::utf16_string& path) {
  if (!IsCallable(path)) return false;
  WIN32_FIND_DATAW data{};
  const HANDLE search = FindFirstFileW(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

bool ListSubfolders(const utils::utf16_string& folder, FolderIdentity& identity,
                    std::vector<utils::utf16_string>& names) {
  names.clear();
  if (!IsCallable(folder)) return false;
  const HANDLE handle = OpenForQuery(folder);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool identified = GetFileInformationByHandle(handle, &information) != 0;
  CloseHandle(handle);
  if (!identified) return false;
  identity.volume = information.dwVolumeSerialNumber;
  identity.index =
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;

  utils::utf16_string pattern = folder;
  if (pattern.back() != L'/' && pattern.back() != L'\\') pattern += L'/';
  pattern += L'*';
  WIN32_FIND_DATAW data{};
  const HANDLE search = FindFirstFileW(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    const utils::utf16_string name(data.cFileName);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == L"." || name == L"..") {
      continue;
    }
    names.push_back(name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return true;
}

}  // namespace velmar::platform
