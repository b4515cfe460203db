#include "TrelvinViewerAPI/viewer_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "environment/support_folders_test_roots.h"

namespace {

TEST(ViewerApi, ColorsAreTheBuiltInOnes) {
  const struct {
    TRResult (*query)(TRColor*);
    TRColor expected;
  } cases[] = {
      {TRPreferencesGetXAxisColor, {255, 0, 0, 255}},
      {TRPreferencesGetYAxisColor, {0, 255, 0, 255}},
      {TRPreferencesGetParallelPerpendicularColor, {255, 0, 255, 255}},
  };
  for (const auto& c : cases) {
    TRColor color{1, 2, 3, 4};
    EXPECT_EQ(c.query(&color), TRResultSuccess);
    EXPECT_EQ(std::memcmp(&color, &c.expected, sizeof color), 0);
    EXPECT_EQ(c.query(nullptr), TRResultNullArgument);
  }
}

TEST(ViewerApi, StringLifecycleAndArguments) {
  TRStringRef string = nullptr;
  ASSERT_EQ(TRStringCreate(&string), TRResultSuccess);
  ASSERT_NE(string, nullptr);
  EXPECT_EQ(TRStringCreate(&string), TRResultInvalidInput);
  EXPECT_EQ(TRStringCreate(nullptr), TRResultNullArgument);

  size_t length = 99;
  EXPECT_EQ(TRStringGetUTF8Length(string, &length), TRResultSuccess);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(TRStringGetUTF8Length(string, nullptr), TRResultNullArgument);
  char buffer[4] = {'x', 'x', 'x', 'x'};
  size_t copied = 99;
  EXPECT_EQ(TRStringGetUTF8(string, 3, buffer, &copied), TRResultSuccess);
  EXPECT_EQ(copied, 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(TRStringGetUTF8(nullptr, 3, buffer, &copied), TRResultNullArgument);
  EXPECT_EQ(TRPreferencesGetOrCreateCID(nullptr), TRResultNullArgument);

  EXPECT_EQ(TRStringRelease(&string), TRResultSuccess);
  EXPECT_EQ(string, nullptr);
  EXPECT_EQ(TRStringRelease(&string), TRResultSuccess);
  EXPECT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultNullArgument);
}

TEST(ViewerApi, IdentifierCopiesAreCutToTheBufferLength) {
  folian::test::ScopedSupportRoots roots;
  if (!roots.usable()) GTEST_SKIP() << "the data folders cannot be redirected here";
  TRStringRef string = nullptr;
  ASSERT_EQ(TRStringCreate(&string), TRResultSuccess);
  ASSERT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultSuccess);
  size_t length = 0;
  TRStringGetUTF8Length(string, &length);
  ASSERT_EQ(length, 36u);

  std::string whole(length + 1, 'x');
  size_t copied = 0;
  EXPECT_EQ(TRStringGetUTF8(string, length, &whole[0], &copied), TRResultSuccess);
  EXPECT_EQ(copied, length);
  EXPECT_EQ(whole[length], '\0');
  std::string cut(9, 'x');
  EXPECT_EQ(TRStringGetUTF8(string, 8, &cut[0], &copied), TRResultSuccess);
  EXPECT_EQ(copied, 8u);
  EXPECT_EQ(cut.substr(0, 8), whole.substr(0, 8));
  EXPECT_EQ(cut[8], '\0');

  // A second string gets the same identifier.
  TRStringRef again = nullptr;
  TRStringCreate(&again);
  TRPreferencesGetOrCreateCID(&again);
  std::string other(length + 1, 'y');
  TRStringGetUTF8(again, length, &other[0], nullptr);
  EXPECT_EQ(other, whole);
  TRStringRelease(&again);
  TRStringRelease(&string);
}

}  // namespace
