// Path operations of the environment functions and the preference store.
//
// Paths are velmar_ustring values with forward slashes. None of these
// functions throws except IsDirectory (and CreateDirectories, which uses it).
#pragma once

#include "FolianUtils/ustring.h"

namespace folian {

// Forward slashes, no doubled separator after the protected prefix (a URL
// scheme, a drive or the first character), no trailing separator except
// after a drive ("C:/"), and each character Windows forbids in names after
// the prefix replaced by "_".
velmar::utils::velmar_ustring NormalizePath(const velmar::utils::velmar_ustring& path);
// `base` and `relative` joined with one separator, normalised; `relative`
// alone when `base` is empty.
velmar::utils::velmar_ustring AppendPath(const velmar::utils::velmar_ustring& base,
                                         const velmar::utils::velmar_ustring& relative);
// Drive and directory part, normalised: the folder above a normalised path.
// Empty when the directory part exceeds 255 code units.
velmar::utils::velmar_ustring GetParentFolder(const velmar::utils::velmar_ustring& path);
// A status query on the path succeeds (a file or a folder).
bool FileExists(const velmar::utils::velmar_ustring& path);
// The path names an existing folder (links followed). Throws
// std::filesystem::filesystem_error ("status") when the query fails for a
// reason other than a missing entry or an invalid name.
bool IsDirectory(const velmar::utils::velmar_ustring& path);
// The folder exists afterwards because it was there or was created with its
// missing ancestors; a folder that appears meanwhile counts as a failure.
bool CreateDirectories(const velmar::utils::velmar_ustring& path);
// Depth-first search below `folder` for the entry `name` (which may hold
// sub-folders); on success `found` is the entry's path. Each real folder is
// listed once, so folder links that form a cycle end the search; unreadable
// folders are skipped. Never throws.
bool FindFileRecursive(const velmar::utils::velmar_ustring& folder,
                       const velmar::utils::velmar_ustring& name,
                       velmar::utils::velmar_ustring& found);

}  // namespace folian
