#include "platform/user_language.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/scoped_env_test_support.h"

#if !defined(_WIN32)

namespace velmar::platform {
namespace {

// The language comes from LC_ALL, LC_MESSAGES or LANG, the first one set
// and not empty. Whole languages are checked through the culture's tests.
TEST(LinuxUserLanguage, FromTheMessagesCategory) {
  struct Case {
    const char* lc_all;
    const char* lc_messages;
    std::uint16_t language_id;
    const char* name;  // null: none
  };
  for (const Case& c :
       {Case{"EN_gb.UTF-8", "de_DE", 0x0809, "en-GB"}, Case{"", "zh", 0x0804, "zh"},
        Case{nullptr, "", 0x0410, "it-IT"}, Case{"fil_PH", nullptr, 0x0464, "fil-PH"},
        Case{"sr_RS@latin", nullptr, 0x041A, "sr-Latn-RS"},
        Case{"sr@cyrillic", nullptr, 0x041A, "sr-Cyrl"},
        Case{"es_419.UTF-8", nullptr, 0x040A, "es-419"}, Case{"eu_ES", nullptr, 0x0000, "eu-ES"},
        Case{"C.UTF-8", nullptr, 0x0409, nullptr}, Case{"POSIX", nullptr, 0x0409, nullptr},
        Case{"d3_DE", nullptr, 0x0409, nullptr}, Case{"de_D3", nullptr, 0x0409, nullptr},
        Case{"de_DEU", nullptr, 0x0409, nullptr}, Case{"es_41x", nullptr, 0x0409, nullptr}}) {
    const folian::test::ScopedEnv env(
        {{"LC_ALL", c.lc_all}, {"LC_MESSAGES", c.lc_messages}, {"LANG", "it_IT.UTF-8"}});
    EXPECT_EQ(QueryUserLanguageId(), c.language_id) << c.lc_all;
    std::string name = "before";
    EXPECT_EQ(QueryUserLocaleName(name), c.name != nullptr) << c.lc_all;
    EXPECT_EQ(name, c.name != nullptr ? c.name : "before") << c.lc_all;
  }
  const folian::test::ScopedEnv none(
      {{"LC_ALL", nullptr}, {"LC_MESSAGES", nullptr}, {"LANG", nullptr}});
  EXPECT_EQ(QueryUserLanguageId(), 0x0409);
}

}  // namespace
}  // namespace velmar::platform

#endif
