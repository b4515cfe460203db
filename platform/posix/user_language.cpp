#include "platform/user_language.h"

#include <stdlib.h>

#include <cctype>
#include <string>

namespace velmar::platform {
namespace {

// The parts of a POSIX locale name "language_REGION.codeset@modifier".
struct LocaleParts {
  std::string language;  // lower case, 2 or 3 letters
  std::string region;    // upper case, 2 letters or 3 digits; may be empty
  std::string modifier;
};

// The messages locale in the POSIX order of precedence.
const char* MessagesLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return nullptr;
}

bool AllLetters(const std::string& text) {
  for (const char c : text) {
    if (!std::isalpha(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool AllDigits(const std::string& text) {
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// False for the C and POSIX locales and for names of another form.
bool ReadUserLocale(LocaleParts& parts) {
  const char* name = MessagesLocaleName();
  if (name == nullptr) return false;
  std::string text = name;
  const std::size_t at = text.find('@');
  if (at != std::string::npos) {
    parts.modifier = text.substr(at + 1);
    text.erase(at);
  }
  text = text.substr(0, text.find('.'));
  const std::size_t underscore = text.find('_');
  parts.language = text.substr(0, underscore);
  if (underscore != std::string::npos) parts.region = text.substr(underscore + 1);
  if (parts.language.size() < 2 || parts.language.size() > 3 || !AllLetters(parts.language)) {
    return false;
  }
  const bool region_ok = parts.region.empty() ||
                         (parts.region.size() == 2 && AllLetters(parts.region)) ||
                         (parts.region.size() == 3 && AllDigits(parts.region));
  if (!region_ok) return false;
  for (char& c : parts.language) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : parts.region) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return true;
}

struct LanguageRow {
  const char* language;
  std::uint16_t primary;
};

// Windows primary language identifiers of the languages the application
// knows, with their older and alternative names.
constexpr LanguageRow kLanguages[] = {
    {"ar", 0x01},  {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07},  {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D},  {"iw", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11},
    {"ko", 0x12},  {"nl", 0x13}, {"nb", 0x14}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15},
    {"pt", 0x16},  {"ro", 0x18}, {"ru", 0x19}, {"hr", 0x1A}, {"sr", 0x1A}, {"bs", 0x1A},
    {"sk", 0x1B},  {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E}, {"tr", 0x1F}, {"ur", 0x20},
    {"id", 0x21},  {"in", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25},
    {"lv", 0x26},  {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A}, {"hi", 0x39}, {"tl", 0x64},
    {"fil", 0x64},
};

struct RegionRow {
  std::uint16_t primary;
  const char* region;  // "" for the language alone
  std::uint16_t sub_language;
};

// Sub-languages where the application tells regions apart; every other
// region is the default sub-language 1.
constexpr RegionRow kRegions[] = {
    {0x09, "", 1},    {0x09, "US", 1},  {0x09, "GB", 2},  {0x09, "AU", 3},  {0x09, "CA", 4},
    {0x09, "NZ", 5},  {0x09, "IE", 6},  {0x09, "ZA", 7},  {0x09, "JM", 8},  {0x09, "BZ", 10},
    {0x09, "TT", 11}, {0x09, "ZW", 12}, {0x09, "PH", 13}, {0x09, "IN", 16}, {0x09, "MY", 17},
    {0x09, "SG", 18}, {0x04, "", 2},    {0x04, "TW", 1},  {0x04, "CN", 2},  {0x04, "HK", 3},
    {0x04, "SG", 4},  {0x04, "MO", 5},  {0x16, "", 1},    {0x16, "BR", 1},  {0x16, "PT", 2},
};

}  // namespace

std::uint16_t QueryUserLanguageId() {
  LocaleParts parts;
  if (!ReadUserLocale(parts)) return 0x0409;
  std::uint16_t primary = 0;
  for (const LanguageRow& row : kLanguages) {
    if (parts.language == row.language) {
      primary = row.primary;
      break;
    }
  }
  // A language without a Windows identifier here: neutral.
  if (primary == 0) return 0;
  std::uint16_t sub_language = 1;
  for (const RegionRow& row : kRegions) {
    if (row.primary == primary && parts.region == row.region) {
      sub_language = row.sub_language;
      break;
    }
  }
  return static_cast<std::uint16_t>(sub_language << 10 | primary);
}

bool QueryUserLocaleName(std::string& name) {
  LocaleParts parts;
  if (!ReadUserLocale(parts)) return false;
  std::string tag = parts.language;
  if (parts.modifier == "latin") tag += "-Latn";
  if (parts.modifier == "cyrillic") tag += "-Cyrl";
  if (!parts.region.empty()) tag += "-" + parts.region;
  name = tag;
  return true;
}

}  // namespace velmar::platform
