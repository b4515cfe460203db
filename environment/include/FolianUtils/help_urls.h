/// @file
/// The help-URL table: help-topic keys to the addresses of their pages.
///
/// The table is the support file "helpurls.json", one JSON object whose
/// string members are URL templates. The placeholders "{KWS_CULTURE}",
/// "{PLATFORM}", "{ALL_USERS}", "{INSTALL_DIR}" and "{VERSION}" are filled at
/// lookup time.
///
/// @stable
#pragma once

#include <memory>

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace folian {

class HelpURLTable;

/// The help-URL table of "helpurls.json": help-topic keys to the addresses of
/// their pages.
///
/// Default() may be called from any thread. The table takes no lock: Load()
/// must not run while another thread calls GetURL() or OpenURL().
///
/// @code{.cpp}
/// #include <iostream>
///
/// #include "FolianUtils/help_urls.h"
/// #include "FolianUtils/support_folders.h"
///
/// // The per-user support folder, where a host installs helpurls.json.
/// std::cout << folian::GetUserSupportFolder() << "\n";
/// const auto url = folian::CHelpURLs::Default().GetURL(VELMAR_U("welcome"));
/// std::cout << (url.empty() ? "no help address" : url.ToUTF8()) << "\n";
/// @endcode
/// @stable
class FOLIAN_API CHelpURLs {
 public:
  /// The process's instance, made and loaded on the first call (thread-safe).
  static CHelpURLs& Default();

  /// Finds and reads "helpurls.json" again. A file that is missing, unreadable,
  /// not UTF-8 or not strict JSON keeps the table of the last successful load
  /// (empty at first).
  void Load();

  /// The filled-in address of `key`, or empty when the table has no string
  /// member of that name. Sets `isLocalFile` when a folder placeholder was
  /// filled; never clears it. Computes, and so creates, the all-users support
  /// folder when a template is found.
  velmar::utils::velmar_ustring GetURL(const velmar::utils::velmar_ustring& key,
                                       bool& isLocalFile) const;
  /// GetURL(key, isLocalFile) without the local-file flag.
  velmar::utils::velmar_ustring GetURL(const velmar::utils::velmar_ustring& key) const;

  /// Opens the address of `key` with the desktop's default handler, without
  /// waiting for it; does nothing when there is none. Failures are silent.
  void OpenURL(const velmar::utils::velmar_ustring& key) const;

  CHelpURLs(const CHelpURLs&) = delete;
  CHelpURLs& operator=(const CHelpURLs&) = delete;

 private:
  CHelpURLs();
  ~CHelpURLs();

  std::unique_ptr<HelpURLTable> m_table;
};

}  // namespace folian
