#include "FolianUtils/culture.h"

#include <string>

#include "FolianUtils/application.h"
#include "environment/culture_internal.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_internal.h"
#include "platform/user_language.h"

namespace folian {

using velmar::utils::velmar_ustring;

namespace {

struct LanguageCode {
  std::uint16_t primary;
  const char* code;
};

// Searched from the top. Hebrew keeps its older code, and the primary
// language that Croatian and Serbian share is always Croatian.
constexpr LanguageCode kLanguageCodes[] = {
    {0x01, "ar"}, {0x02, "bg"}, {0x03, "ca"}, {0x04, "zh"}, {0x1A, "hr"}, {0x05, "cs"},
    {0x06, "da"}, {0x13, "nl"}, {0x09, "en"}, {0x0B, "fi"}, {0x0C, "fr"}, {0x07, "de"},
    {0x08, "el"}, {0x0D, "iw"}, {0x39, "hi"}, {0x0E, "hu"}, {0x21, "id"}, {0x10, "it"},
    {0x11, "ja"}, {0x12, "ko"}, {0x26, "lv"}, {0x27, "lt"}, {0x14, "no"}, {0x15, "pl"},
    {0x16, "pt"}, {0x18, "ro"}, {0x19, "ru"}, {0x1B, "sk"}, {0x24, "sl"}, {0x0A, "es"},
    {0x1D, "sv"}, {0x1E, "th"}, {0x1F, "tr"}, {0x22, "uk"}, {0x2A, "vi"}, {0x64, "tl"},
};

constexpr std::uint16_t kEnglish = 0x09;
constexpr std::uint16_t kChinese = 0x04;
constexpr std::uint16_t kPortuguese = 0x16;

const char* RegionOf(std::uint16_t primary, int sub_language) {
  switch (primary) {
    case kEnglish:
      return sub_language == 1 ? "US" : "GB";
    case kChinese:
      return sub_language == 2 || sub_language == 4 ? "CN" : "TW";
    case kPortuguese:
      return sub_language == 2 ? "PT" : "BR";
    default:
      return nullptr;
  }
}

const velmar_ustring& DefaultCulture() {
  static const velmar_ustring culture("en-US");
  return culture;
}

// Decided once per process; written without a lock (see the header).
velmar_ustring g_culture;
velmar_ustring g_culture_override;
velmar_ustring g_web_code;

}  // namespace

velmar_ustring CultureFromLanguageId(std::uint16_t language_id) {
  const std::uint16_t primary = language_id & 0x3FF;
  for (const LanguageCode& row : kLanguageCodes) {
    if (row.primary != primary) continue;
    velmar_ustring culture(row.code);
    if (const char* region = RegionOf(primary, language_id >> 10)) {
      culture = culture + "-" + region;
    }
    return culture;
  }
  return DefaultCulture();
}

velmar_ustring GetOSCulture() {
  return CultureFromLanguageId(velmar::platform::QueryUserLanguageId());
}

velmar_ustring GetCulture() {
  if (!g_culture.empty()) return g_culture;
  velmar_ustring culture = g_culture_override.empty() ? GetOSCulture() : g_culture_override;
  // Only a culture whose resources are installed can be shown.
  if (!IsDirectory(AppendPath(GetCommonAppFolder(ApplicationName()), culture))) {
    culture = DefaultCulture();
  }
  g_culture = culture;
  return g_culture;
}

void SetCulture(const velmar_ustring& culture) { g_culture_override = culture; }

velmar_ustring GetLanguageCode() { return GetCulture().Left(2); }

velmar_ustring GetFolianWebCode() {
  if (g_web_code.empty()) {
    const velmar_ustring culture = GetCulture();
    g_web_code = culture == "en-US" || culture == "en-GB" ? velmar_ustring("en") : culture;
  }
  return g_web_code;
}

velmar_ustring GetOSLocale() {
  std::string name;
  if (!velmar::platform::QueryUserLocaleName(name) || name.empty()) return DefaultCulture();
  return velmar_ustring(name);
}

}  // namespace folian
