// The table behind CHelpURLs, separate from the singleton so that it can be
// loaded from any file and given any way of opening addresses.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "FolianUtils/ustring.h"

namespace folian {

class HelpURLTable {
 public:
  using Opener = std::function<void(const velmar::utils::velmar_ustring& url)>;

  // Larger help tables count as unreadable.
  static constexpr std::size_t kMaxFileSize = 16u << 20;

  // An empty table that opens addresses with the desktop's handler.
  HelpURLTable();
  explicit HelpURLTable(Opener opener);
  ~HelpURLTable();
  HelpURLTable(const HelpURLTable&) = delete;
  HelpURLTable& operator=(const HelpURLTable&) = delete;

  // Reads the file as UTF-8 and parses it; see Parse. An empty path, an
  // unreadable file or bytes that are not UTF-8 count as empty text.
  bool LoadFile(const velmar::utils::velmar_ustring& path);
  // Strict JSON only. On success the parsed value replaces the table (a root
  // that is not an object makes every lookup fail); on failure the table is
  // kept.
  bool Parse(const std::string& utf8);

  // The first member named `key`, byte for byte, when it is a string.
  bool FindTemplate(const velmar::utils::velmar_ustring& key,
                    velmar::utils::velmar_ustring& url_template) const;
  velmar::utils::velmar_ustring GetURL(const velmar::utils::velmar_ustring& key,
                                       bool& isLocalFile) const;
  void OpenURL(const velmar::utils::velmar_ustring& key) const;

 private:
  struct Document;
  std::unique_ptr<Document> m_document;
  Opener m_opener;
};

// Replaces the placeholders of a template in their fixed order; every
// replacement value is computed even when its placeholder is absent. Sets
// `isLocalFile` when a folder placeholder was replaced.
velmar::utils::velmar_ustring FillPlaceholders(velmar::utils::velmar_ustring text,
                                               bool& isLocalFile);

}  // namespace folian
