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
  } cases[] = {
      {"de_DE.UTF-8", 0x0407, "de-DE"}, {"de_AT", 0x0407, "de-AT"},
      {"en_US.UTF-8", 0x0409, "en-US"}, {"en_GB.UTF-8", 0x0809, "en-GB"},
      {"en_AU", 0x0C09, "en-AU"},       {"en", 0x0409, "en"},
      {"zh_CN.UTF-8", 0x0804, "zh-CN"}, {"zh_SG", 0x1004, "zh-SG"},
      {"zh_HK.UTF-8", 0x0C04, "zh-HK"}, {"zh_TW", 0x0404, "zh-TW"},
      {"pt_PT.UTF-8", 0x0816, "pt-PT"}, {"pt_BR", 0x0416, "pt-BR"},
      {"he_IL.UTF-8", 0x040D, "he-IL"}, {"nb_NO.UTF-8", 0x0414, "nb-NO"},
      {"fil_PH", 0x0464, "fil-PH"},     {"sr_RS@latin", 0x041A, "sr-Latn-RS"},
      {"ja_JP.eucJP", 0x0411, "ja-JP"}, {"es_419.UTF-8", 0x040A, "es-419"},
      {"et_EE.UTF-8", 0x0425, "et-EE"}, {"eu_ES", 0x0000, "eu-ES"},
      {"C", 0x0409, nullptr},           {"C.UTF-8", 0x0409, nullptr},
      {"POSIX", 0x0409, nullptr},       {"", 0x0409, nullptr},
      {"de_DEU", 0x0409, nullptr},      {"x", 0x0409, nullptr},
  };
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
    std::uint16_t language_id;
  } cases[] = {
      {"fr_FR.UTF-8", "de_DE.UTF-8", 0x040C},
      {"", "de_DE.UTF-8", 0x0407},
      {nullptr, nullptr, 0x0410},
  };
  for (const auto& c : cases) {
    const Env env({{"LC_ALL", c.lc_all}, {"LC_MESSAGES", c.lc_messages}, {"LANG", "it_IT.UTF-8"}});
    EXPECT_EQ(QueryUserLanguageId(), c.language_id) << (c.lc_all != nullptr ? c.lc_all : "unset");
  }
  const Env none({{"LC_ALL", nullptr}, {"LC_MESSAGES", nullptr}, {"LANG", nullptr}});
  EXPECT_EQ(QueryUserLanguageId(), 0x0409);
}

}  // namespace
}  // namespace velmar::platform

#endif
