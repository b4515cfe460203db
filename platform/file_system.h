// The file-system and folder queries of the environment functions.
//
// Paths are UTF-16; the POSIX side works on their UTF-8 form. Nothing here
// throws or normalises: the environment layer does both.
#pragma once

#include <cstdint>
#include <system_error>
#include <vector>

#include "FolianUtils/utf16.h"

namespace velmar::platform {

enum class DataFolder {
  kRoaming,  // per-user roaming application data
  kLocal,    // per-user local application data
  kCommon,   // all users' application data
};

// The folder as the platform gives it; empty when it cannot be read.
utils::utf16_string GetDataFolder(DataFolder folder);

// The full file name of the process's executable, or empty.
utils::utf16_string GetExecutablePath();

// Splits `path` into its drive ("C:", at most 2 units) and directory part
// (up to and including the last separator, at most 255 units), the way the
// Windows runtime's splitter does. False, with both empty, when a part does
// not fit.
bool SplitDriveAndDirectory(const utils::utf16_string& path, utils::utf16_string& drive,
                            utils::utf16_string& directory);

// A file-status query on the path succeeds.
bool StatusSucceeds(const utils::utf16_string& path);

enum class PathKind { kFolder, kOther, kNotFound, kError };
// The kind of entry (links followed). kNotFound covers a missing entry or
// path and an invalid name; kError any other failure, described by `error`.
PathKind QueryPathKind(const utils::utf16_string& path, std::error_code& error);

// Creates one folder; false when it fails or the folder already exists.
// Run as root, a new folder takes the owner of the folder that holds it.
bool MakeFolder(const utils::utf16_string& path);

// Creates the folder and each missing folder above it, as `MakeFolder`
// does; true when it exists in the end.
bool MakeFolders(const utils::utf16_string& path);

// The entry itself (not what a link points to) exists.
bool EntryExists(const utils::utf16_string& path);

// What identifies a folder whatever path reaches it.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator<(const FolderIdentity& other) const {
    return volume != other.volume ? volume < other.volume : index < other.index;
  }
};

// Lists the sub-folders of `folder` (folder links included, "." and ".."
// not) in the order the file system gives them, and the folder's identity.
// False when the folder cannot be opened or identified.
bool ListSubfolders(const utils::utf16_string& folder, FolderIdentity& identity,
                    std::vector<utils::utf16_string>& names);

}  // namespace velmar::platform
