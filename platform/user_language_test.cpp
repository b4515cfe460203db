#include "platform/user_language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#if !defined(_WIN32)

namespace velmar::platform {
namespace {

// Sets the messages-locale variables for one case and restores them after.
class ScopedMessagesLocale {
 public:
  ScopedMessagesLocale(const char* lc_all, const char* lc_messages, const char* lang) {
    Apply("LC_ALL", lc_all);
    Apply("LC_MESSAGES", lc_messages);
    Apply("LANG", lang);
  }
  ~ScopedMessagesLocale() {
    for (const auto& [name, value] : m_saved) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  void Apply(const char* name, const char* value) {
    const char* old = getenv(name);
    m_saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

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
    const ScopedMessagesLocale locale(c.locale, nullptr, nullptr);
    EXPECT_EQ(QueryUserLanguageId(), c.language_id) << c.locale;
    std::string name = "before";
    EXPECT_EQ(QueryUserLocaleName(name), c.name != nullptr) << c.locale;
    EXPECT_EQ(name, c.name != nullptr ? c.name : "before") << c.locale;
  }
}

TEST(LinuxUserLanguage, PosixOrderOfPrecedence) {
  {
    const ScopedMessagesLocale locale("fr_FR.UTF-8", "de_DE.UTF-8", "it_IT.UTF-8");
    EXPECT_EQ(QueryUserLanguageId(), 0x040C);
  }
  {
    const ScopedMessagesLocale locale("", "de_DE.UTF-8", "it_IT.UTF-8");
    EXPECT_EQ(QueryUserLanguageId(), 0x0407);
  }
  {
    const ScopedMessagesLocale locale(nullptr, nullptr, "it_IT.UTF-8");
    EXPECT_EQ(QueryUserLanguageId(), 0x0410);
  }
  {
    const ScopedMessagesLocale locale(nullptr, nullptr, nullptr);
    EXPECT_EQ(QueryUserLanguageId(), 0x0409);
  }
}

}  // namespace
}  // namespace velmar::platform

#endif
