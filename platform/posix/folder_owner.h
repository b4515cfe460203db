// Root gives what it creates in a user's folder to the folder's owner, so a
// run as root (sudo) never leaves a file or folder the user cannot use.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/path_split.h"

namespace velmar::platform {

inline std::string FolderOf(const std::string& path) {
  return std::string(base::SplitPath(path, base::kPosixPathSeparators).folder);
}

// The owner of the folder holding `path` when this process may give files
// away (root) and the folder can be read; false otherwise.
inline bool OwnerToGiveTo(const std::string& path, struct stat& folder) {
  return ::geteuid() == 0 && ::stat(FolderOf(path).c_str(), &folder) == 0;
}

}  // namespace velmar::platform
