#include <rapidjson/document.h>

#include <cstring>
#include <utility>

#include "FolianUtils/constants.h"
#include "FolianUtils/culture.h"
#include "FolianUtils/support_folders.h"
#include "environment/help_url_table_internal.h"
#include "environment/support_folders_internal.h"
#include "platform/durable_file.h"
#include "platform/shell_open.h"

namespace folian {

using velmar::utils::velmar_ustring;

struct HelpURLTable::Document {
  rapidjson::Document json;
  // A fresh table is an empty object, so every lookup fails before a load.
  Document() { json.SetObject(); }
};

HelpURLTable::HelpURLTable()
    : HelpURLTable([](const velmar_ustring& url) { velmar::platform::OpenWithShell(url.str()); }) {}

HelpURLTable::HelpURLTable(Opener opener)
    : m_document(std::make_unique<Document>()), m_opener(std::move(opener)) {}

HelpURLTable::~HelpURLTable() = default;

bool HelpURLTable::LoadFile(const velmar_ustring& path) {
  std::string bytes;
  // A missing, unreadable or oversized file leaves no bytes: an empty table.
  velmar::platform::DefaultFileEnv().ReadFile(path.str(), kMaxFileSize, bytes);
  // Decoding drops text that is not UTF-8; the parser gets the encoded form
  // of what was decoded.
  return Parse(velmar_ustring(bytes).ToUTF8());
}

bool HelpURLTable::Parse(const std::string& utf8) {
  // The text is parsed in its zero-terminated form, which unlike the sized
  // form does not skip a byte-order mark; a NUL would end it early, and no
  // strict JSON text holds one.
  if (utf8.find('\0') != std::string::npos) return false;
  // Iterative parsing keeps deep nesting off the call stack.
  rapidjson::Document parsed;
  parsed.Parse<rapidjson::kParseIterativeFlag>(utf8.c_str());
  if (parsed.HasParseError()) return false;
  m_document->json.Swap(parsed);
  return true;
}

bool HelpURLTable::FindTemplate(const velmar_ustring& key, velmar_ustring& url_template) const {
  const rapidjson::Value& root = m_document->json;
  if (!root.IsObject()) return false;
  const std::string name = key.ToUTF8();
  // The first of several equal names wins.
  for (auto member = root.MemberBegin(); member != root.MemberEnd(); ++member) {
    const rapidjson::Value& member_name = member->name;
    if (member_name.GetStringLength() != name.size() ||
        std::memcmp(member_name.GetString(), name.data(), name.size()) != 0) {
      continue;
    }
    if (!member->value.IsString()) return false;
    url_template =
        velmar_ustring(std::string(member->value.GetString(), member->value.GetStringLength()));
    return true;
  }
  return false;
}

velmar_ustring HelpURLTable::GetURL(const velmar_ustring& key, bool& isLocalFile) const {
  velmar_ustring url_template;
  if (!FindTemplate(key, url_template)) return velmar_ustring();
  return FillPlaceholders(std::move(url_template), isLocalFile);
}

void HelpURLTable::OpenURL(const velmar_ustring& key) const {
  bool isLocalFile = false;
  const velmar_ustring url = GetURL(key, isLocalFile);
  if (!url.empty() && m_opener) m_opener(url);
}

velmar_ustring FillPlaceholders(velmar_ustring text, bool& isLocalFile) {
  text.Replace(velmar_ustring("{KWS_CULTURE}"), GetFolianWebCode());
  text.Replace(velmar_ustring("{PLATFORM}"), velmar_ustring("win"));
  const velmar_ustring all_users = GetInstallSupportFolder();
  isLocalFile = (text.Replace(velmar_ustring("{ALL_USERS}"), all_users) > 0) || isLocalFile;
  const velmar_ustring install_dir = GetApplicationFolder();
  isLocalFile = (text.Replace(velmar_ustring("{INSTALL_DIR}"), install_dir) > 0) || isLocalFile;
  velmar_ustring version;
  version.Format(VELMAR_U("%d"), velmar::kCurrentMajorVersion);
  text.Replace(velmar_ustring("{VERSION}"), version);
  return text;
}

}  // namespace folian
