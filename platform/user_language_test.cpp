#include "platform/user_language.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/scoped_env_test_support.h"

#if !defined(_WIN32)

namespace velmar::platform {
namespace {

using Env = folian::test::ScopedEnv;

TEST(LinuxUserLanguage, FromTheMessagesCategory) {
  const struct {
    const char* locale;
    std::uint16_t language_id;
    const char* name;  // null: none
  } cases[] = {{"de_DE.UTF-8", 0x0407, "de-DE"},
               {"en", 0x0409, "en"},
               {"EN_gb", 0x0809, "en-GB"},
               {"zh_HK.UTF-8", 0x0C04, "zh-HK"},
               {"zh", 0x0804, "zh"},
               {"pt_PT", 0x0816, "pt-PT"},
               {"fil_PH", 0x0464, "fil-PH"},
               {"sr_RS@latin", 0x041A, "sr-Latn-RS"},
               {"sr@cyrillic", 0x041A, "sr-Cyrl"},
               {"es_419.UTF-8", 0x040A, "es-419"},
               {"eu_ES", 0x0000, "eu-ES"},
               {"C.UTF-8", 0x0409, nullptr},
               {"POSIX", 0x0409, nullptr},
               {"d3_DE", 0x0409, nullptr},
               {"de_D3", 0x0409, nullptr},
               {"de_DEU", 0x0409, nullptr},
               {"es_41x", 0x0409, nullptr}};
  for (const auto& c : cases) {
    const Env env({{"LC_ALL", c.locale}, {"LC_MESSAGES", nullptr}, {"LANG", nullptr}});
    EXPECT_EQ(QueryUserLanguageId(), c.language_id) << c.locale;
    std::string name = "before";
    EXPECT_EQ(QueryUserLocaleName(name), c.name != nullptr) << c.locale;
    EXPECT_EQ(name, c.name != nullptr ? c.name : "before") << c.locale;
  }
}

TEST(LinuxUserLanguage, PosixOrderOfPrecedence) {
  const struct {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    std::uint16_t language_id;
  } cases[] = {{"fr_FR.UTF-8", "de_DE.UTF-8", "it_IT", 0x040C},
               {"", "de_DE.UTF-8", "it_IT", 0x0407},
               {nullptr, "", "it_IT", 0x0410},
               {nullptr, nullptr, nullptr, 0x0409}};
  for (const auto& c : cases) {
    const Env env({{"LC_ALL", c.lc_all}, {"LC_MESSAGES", c.lc_messages}, {"LANG", c.lang}});
    EXPECT_EQ(QueryUserLanguageId(), c.language_id) << c.language_id;
  }
}

}  // namespace
}  // namespace velmar::platform

#endif
