#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "base/match.h"
#include "environment/paths_internal.h"
#include "platform/file_system.h"

namespace folian {

using velmar::base::StartsWith;
using velmar::utils::utf16_unit;
using velmar::utils::velmar_ustring;

namespace {

// The leading part that normalisation leaves alone: a URL scheme, a drive,
// or the first character (so that a network path keeps its "//").
std::size_t ProtectedPrefixLength(const velmar_ustring::string_type& text) {
  if (StartsWith(text, VELMAR_U("http://"))) return 7;
  if (StartsWith(text, VELMAR_U("file://"))) return 7;
  if (StartsWith(text, VELMAR_U("smb://"))) return 6;
  if (text.find(VELMAR_U(":/")) == 1) return 3;
  if (text.find(VELMAR_U(':')) == 1) return 2;
  if (StartsWith(text, VELMAR_U("ms-appx:///"))) return 11;
  return 1;
}

bool IsForbiddenInName(utf16_unit unit) {
  switch (unit) {
    case '"':
    case '*':
    case ':':
    case '<':
    case '>':
    case '?':
    case '|':
      return true;
    default:
      return unit < 0x20;
  }
}

std::filesystem::path ErrorPath(const velmar_ustring& path) {
  try {
    return std::filesystem::u8path(path.ToUTF8());
  } catch (...) {
    return {};
  }
}

bool Search(const velmar_ustring& folder, const velmar_ustring& name, velmar_ustring& found,
            std::set<velmar::platform::FolderIdentity>& listed) {
  const velmar_ustring candidate = AppendPath(folder, name);
  if (velmar::platform::EntryExists(candidate.str())) {
    found = candidate;
    return true;
  }
  velmar::platform::FolderIdentity identity;
  std::vector<velmar::utils::utf16_string> subfolders;
  if (!velmar::platform::ListSubfolders(NormalizePath(folder).str(), identity, subfolders)) {
    return false;
  }
  // A folder reached again through a link has been searched already.
  if (!listed.insert(identity).second) return false;
  for (auto& subfolder : subfolders) {
    if (Search(AppendPath(folder, velmar_ustring(std::move(subfolder))), name, found, listed)) {
      return true;
    }
  }
  return false;
}

}  // namespace

velmar_ustring NormalizePath(const velmar_ustring& path) {
  if (path.empty()) return path;
  velmar_ustring::string_type text = path.str();
  for (utf16_unit& unit : text) {
    if (unit == '\\') unit = '/';
  }
  const std::size_t prefix_length = std::min(ProtectedPrefixLength(text), text.size());
  velmar_ustring rest(text.substr(prefix_length));
  rest.Replace(VELMAR_U("//"), VELMAR_U("/"));
  text.replace(prefix_length, velmar_ustring::npos, rest.str());

  const std::size_t length = text.size();
  if (text[length - 1] == '/' && (length == 1 || text[length - 2] != ':')) text.pop_back();

  for (std::size_t i = text.size(); i > prefix_length; --i) {
    if (IsForbiddenInName(text[i - 1])) text[i - 1] = '_';
  }
  return velmar_ustring(std::move(text));
}

velmar_ustring AppendPath(const velmar_ustring& base, const velmar_ustring& relative) {
  if (base.empty()) return NormalizePath(relative);
  velmar_ustring::string_type joined = base.str();
  if (joined.back() != '/' && joined.back() != '\\') joined += '/';
  const bool leading_separator =
      !relative.empty() && (relative.str().front() == '/' || relative.str().front() == '\\');
  joined.append(relative.str(), leading_separator ? 1 : 0, velmar_ustring::npos);
  return NormalizePath(velmar_ustring(std::move(joined)));
}

velmar_ustring GetParentFolder(const velmar_ustring& path) {
  velmar::utils::utf16_string drive;
  velmar::utils::utf16_string directory;
  if (!velmar::platform::SplitDriveAndDirectory(path.str(), drive, directory)) return {};
  return NormalizePath(velmar_ustring(drive + directory));
}

bool FileExists(const velmar_ustring& path) {
  return !path.empty() && velmar::platform::StatusSucceeds(path.str());
}

bool IsDirectory(const velmar_ustring& path) {
  if (path.empty()) return false;
  std::error_code error;
  switch (velmar::platform::QueryPathKind(path.str(), error)) {
    case velmar::platform::PathKind::kFolder:
      return true;
    case velmar::platform::PathKind::kError:
      throw std::filesystem::filesystem_error("status", ErrorPath(path), error);
    default:
      return false;
  }
}

bool CreateDirectories(const velmar_ustring& path) {
  if (path.empty()) return false;
  if (IsDirectory(path)) return true;
  const velmar_ustring normalized = NormalizePath(path);
  const velmar_ustring parent = GetParentFolder(normalized);
  // An empty parent is the current folder (or the POSIX root, which
  // normalises to nothing); a parent no shorter than the path is a root.
  if (!parent.empty() && !IsDirectory(parent)) {
    if (parent.length() >= normalized.length()) return false;
    if (!CreateDirectories(parent)) return false;
  }
  return velmar::platform::MakeFolder(normalized.str());
}

bool FindFileRecursive(const velmar_ustring& folder, const velmar_ustring& name,
                       velmar_ustring& found) {
  try {
    std::set<velmar::platform::FolderIdentity> listed;
    velmar_ustring result;
    if (!Search(folder, name, result, listed)) return false;
    found = std::move(result);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace folian
