#include "FolianUtils/help_urls.h"

#include "FolianUtils/support_folders.h"
#include "environment/help_url_table_internal.h"

namespace folian {

using velmar::utils::velmar_ustring;

CHelpURLs& CHelpURLs::Default() {
  static CHelpURLs instance;
  return instance;
}

CHelpURLs::CHelpURLs() : m_table(std::make_unique<HelpURLTable>()) { Load(); }

CHelpURLs::~CHelpURLs() = default;

void CHelpURLs::Load() { m_table->LoadFile(FindSupportFile(velmar_ustring("helpurls.json"))); }

velmar_ustring CHelpURLs::GetURL(const velmar_ustring& key, bool& isLocalFile) const {
  return m_table->GetURL(key, isLocalFile);
}

velmar_ustring CHelpURLs::GetURL(const velmar_ustring& key) const {
  bool isLocalFile = false;
  return GetURL(key, isLocalFile);
}

void CHelpURLs::OpenURL(const velmar_ustring& key) const { m_table->OpenURL(key); }

}  // namespace folian
